#include "spectrum/XafsSpectrum.h"

#include "app/Tokenizer.h"
#include "spectrum/Constants.h"
#include "spectrum/LinearSolver.h"

#include <QDebug>
#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Spectrum files hold a few thousand lines at most; anything far larger is
// not a spectrum and is refused before it is read.
constexpr qint64 MaxSpectrumFileBytes = 64ll * 1024 * 1024;

bool openSpectrumFile(TextLineReader &in, const QString &fileName)
{
    switch (in.open(fileName, MaxSpectrumFileBytes)) {
    case TextLineReader::Opened:
        return true;
    case TextLineReader::CannotOpen:
        qDebug().noquote() << "Can not open spectrum file" << fileName;
        return false;
    case TextLineReader::TooLarge:
        qDebug().noquote() << "Spectrum file too large" << fileName;
        return false;
    case TextLineReader::NotRegular:
        break;
    }
    return false;
}

// Every energy of a loaded spectrum must be a finite number: one infinite
// energy leaves the normalization with e0 0 and a jump that is no number.
bool energiesFinite(const SpectrumPoints &points, const QString &fileName)
{
    for (int i = 0; i < points.size(); ++i) {
        if (!std::isfinite(points.storedX(i))) {
            qDebug().noquote() << "Energy not finite at point" << i << "of spectrum file"
                               << fileName;
            return false;
        }
    }
    return true;
}

} // namespace

void fitBackground(EdgeBaseline &baseline, const SpectrumPoints &spectrum, double from, double to,
                   bool isVictoreen)
{
    baseline.isVictoreen = isVictoreen;
    const int n = spectrum.size();
    if (n < (isVictoreen ? 4 : 3))
        return;

    if (!isVictoreen) {
        int count = 0;
        double sx = 0.0, sxx = 0.0, sy = 0.0, sxy = 0.0;
        for (int i = 0; i < n; ++i) {
            const double x = spectrum.x(i);
            if (x >= to)
                break;
            if (x < from)
                continue;
            const double y = spectrum.y(i);
            ++count;
            sx += x;
            sxx += x * x;
            sy += y;
            sxy += x * y;
        }
        if (count < 2) {
            baseline.c3 = 0.0;
            baseline.c0 = count == 1 ? sy : 0.0;
        } else {
            double a[4] = {sxx, sx, sx, double(count)};
            double b[2] = {sxy, sy};
            solveLinearSystem(a, b, 2);
            baseline.c3 = b[0];
            baseline.c0 = b[1];
        }
    } else {
        double cnt = 0.0, s3 = 0.0, s4 = 0.0, s6 = 0.0, s7 = 0.0, s8 = 0.0;
        double sy = 0.0, sy3 = 0.0, sy4 = 0.0;
        for (int i = 0; i < n; ++i) {
            const double x = spectrum.x(i);
            if (x >= to)
                break;
            if (x < from)
                continue;
            const double y = spectrum.y(i);
            const double l = Constants::hc / x;
            const double l3 = l * l * l;
            const double l4 = l3 * l;
            const double l6 = l3 * l3;
            cnt += 1.0;
            s3 += l3;
            s4 += l4;
            s6 += l6;
            s7 += l6 * l;
            s8 += l4 * l4;
            sy += y;
            sy3 += y * l3;
            sy4 += y * l4;
        }
        double a[9] = {cnt, s3, s4, s3, s6, s7, s4, s7, s8};
        double b[3] = {sy, sy3, sy4};
        solveLinearSystem(a, b, 3);
        baseline.c0 = b[0];
        baseline.c1 = b[1];
        baseline.c2 = b[2];
    }

    QPointF *curve = baseline.curve.fillBuffer(n);
    const double c0 = baseline.c0;
    if (isVictoreen) {
        const double c1 = baseline.c1;
        const double c2 = baseline.c2;
        for (int i = 0; i < n; ++i) {
            const double x = spectrum.x(i);
            const double l = Constants::hc / x;
            curve[i] = QPointF(x, c0 + (c2 * l + c1) * l * l * l);
        }
    } else {
        const double c3 = baseline.c3;
        for (int i = 0; i < n; ++i) {
            const double x = spectrum.x(i);
            curve[i] = QPointF(x, c0 + c3 * x);
        }
    }
    const double s = spectrum.shiftEnabled() ? spectrum.shift() : 0.0;
    baseline.curve.finishFill(spectrum.minX() - s, spectrum.maxX() - s);
}

XafsSpectrum::XafsSpectrum(const SpectrumPoints &points, bool isVictoreen, double energyShift)
    : rawPoints(points.withShiftBakedIn())
    , victoreen(isVictoreen)
    , eShift(energyShift)
{
    if (rawPoints.size() >= 1)
        normalize(isVictoreen);
}

void XafsSpectrum::normalize(bool isVictoreen)
{
    const int n = rawPoints.size();
    if (n < 1)
        return;
    victoreen = isVictoreen;
    const double h = rawPoints.crossingX(0.5, SpectrumPoints::Rising);
    fitBackground(preBase, rawPoints, h + preStartE, h + preEndE, isVictoreen);
    fitBackground(postBase, rawPoints, h + postStartE, h + postEndE, isVictoreen);

    maxEnergy = 0.0;
    maxMuPost = 0.0;
    maxMuValue = -1e300;
    // e0: the mean of the energies where mu crosses the middle between the two
    // backgrounds, searched only between the two fitting windows.
    const double lo = h + preEndE;
    const double hi = h + postStartE;
    double sum = 0.0;
    int count = 0;
    for (int i = 0; i + 1 < n; ++i) {
        const double x = rawPoints.x(i);
        const double mu = rawPoints.y(i);
        if (lo < x && x < hi) {
            const double p = preBase.at(i);
            const double level = p + 0.5 * (postBase.at(i) - p);
            const double mu1 = rawPoints.y(i + 1);
            if ((mu - level) * (mu1 - level) <= 0.0) {
                sum += x + (level - mu) / (mu1 - mu) * (rawPoints.x(i + 1) - x);
                ++count;
            }
        }
        if (mu > maxMuValue) {
            maxEnergy = x;
            maxMuValue = mu;
            maxMuPost = mu - postBase.at(i);
        }
    }
    if (count == 0) {
        // The middle line slopes, so mu can pass it between two points while
        // both stay on one side of the line's value at the first of them.
        // When that hides every crossing the edge would be lost (e0 0 and a
        // meaningless jump); only then is the crossing taken where mu minus
        // the middle line changes sign. Any crossing found above keeps its
        // result untouched.
        for (int i = 0; i + 1 < n; ++i) {
            const double x = rawPoints.x(i);
            if (!(lo < x && x < hi))
                continue;
            const double p0 = preBase.at(i);
            const double p1 = preBase.at(i + 1);
            const double d0 = rawPoints.y(i) - (p0 + 0.5 * (postBase.at(i) - p0));
            const double d1 = rawPoints.y(i + 1) - (p1 + 0.5 * (postBase.at(i + 1) - p1));
            if (d0 * d1 < 0.0) {
                sum += x + d0 / (d0 - d1) * (rawPoints.x(i + 1) - x);
                ++count;
            }
        }
    }
    edgeE = count > 0 ? sum / count : 0.0;
    edgeJump = postBase.curve.valueAt(edgeE) - preBase.curve.valueAt(edgeE);

    // The four curves are written in bulk: all values of a point are worked
    // out before any is stored, and the bounds are set in one pass afterwards.
    const double jump = edgeJump;
    QPointF *nm = norm.fillBuffer(n);
    QPointF *dp = doubleNormPreBase.fillBuffer(n);
    QPointF *pb = postBaseNorm.fillBuffer(n);
    QPointF *dn = doubleNorm.fillBuffer(n);
    const int nPre = preBase.curve.size();
    const int nPost = postBase.curve.size();
    for (int i = 0; i < n; ++i) {
        const double x = rawPoints.x(i);
        const double mu = rawPoints.y(i);
        const double p = i < nPre ? preBase.curve.y(i) : 0.0;
        const double q = i < nPost ? postBase.curve.y(i) : 0.0;
        const double overPost = (mu - q) / jump;
        const double preBased = (mu - p) / (q - p);
        const double doubly = (mu - q) / (q - p);
        nm[i] = QPointF(x, overPost + 1.0);
        dp[i] = QPointF(x, preBased);
        pb[i] = QPointF(x, overPost);
        dn[i] = QPointF(x, doubly);
    }
    // Every curve has the spectrum's energies, so its x bounds are the
    // spectrum's read through the shift (subtracting one shift keeps the
    // order of the values).
    const double s = rawPoints.shiftEnabled() ? rawPoints.shift() : 0.0;
    const double xLo = rawPoints.minX() - s;
    const double xHi = rawPoints.maxX() - s;
    norm.finishFill(xLo, xHi);
    doubleNormPreBase.finishFill(xLo, xHi);
    postBaseNorm.finishFill(xLo, xHi);
    doubleNorm.finishFill(xLo, xHi);
}

bool XafsSpectrum::load(const QString &fileName)
{
    bool scanFile = false;
    {
        // Only the start of the first line decides; a device or a file of
        // one endless line gives nothing more than that here.
        TextLineReader in;
        QString first;
        const TextLineReader::OpenResult r = in.open(fileName, MaxSpectrumFileBytes);
        if (r == TextLineReader::NotRegular) {
            rawPoints.clear();
            return false;
        }
        if (r == TextLineReader::Opened && in.readLine(first))
            scanFile = first.simplified().left(4) == QLatin1String("9809");
    }
    twoColumn = scanFile ? 0 : 1;
    const bool ok = scanFile ? readScanFile(fileName) : readTwoColumnFile(fileName);
    if (ok && !energiesFinite(rawPoints, fileName)) {
        rawPoints.clear();
        return false;
    }
    return ok;
}

bool XafsSpectrum::readScanFile(const QString &fileName)
{
    rawPoints.clear();
    TextLineReader in;
    if (!openSpectrumFile(in, fileName))
        return false;
    double d = Constants::defaultDSpacing;
    bool data = false;
    QString line;
    while (in.readLine(line)) {
        const QStringList items = line.simplified().split(QLatin1Char(' '));
        if (!data) {
            if (items.size() >= 2) {
                for (int i = 0; i + 1 < items.size(); ++i) {
                    if (items[i] != QLatin1String("D="))
                        continue;
                    // A spacing that is no positive number would put every
                    // energy at infinity: such an item is ignored.
                    bool ok = false;
                    const double v = items[i + 1].toDouble(&ok);
                    if (ok && v > 0.0)
                        d = v;
                }
            }
            if (items[0] == QLatin1String("Offset"))
                data = true;
            continue;
        }
        if (items.size() <= 4)
            continue;
        // An angle that is no number is no point (read as 0 it would give
        // an infinite energy).
        bool okAngle = false;
        const double angle = items[1].toDouble(&okAngle);
        if (!okAngle)
            continue;
        const double i0 = items[3].toDouble();
        const double i1 = items[4].toDouble();
        const double energy = Constants::hc / (2.0 * d * std::sin(angle * Constants::pi / 180.0));
        const double mu = i0 * i1 > 0.0 ? std::log(i0 / i1) : 1.0;
        rawPoints.append(energy, mu);
    }
    if (in.failed()) {
        rawPoints.clear();
        return false;
    }
    if (rawPoints.isEmpty()) {
        qDebug().noquote() << "No data in spectrum file" << fileName;
        return false;
    }
    return true;
}

bool XafsSpectrum::readTwoColumnFile(const QString &fileName)
{
    rawPoints.clear();
    TextLineReader in;
    if (!openSpectrumFile(in, fileName))
        return false;
    QString line;
    while (in.readLine(line)) {
        const QStringList items = line.simplified().split(QLatin1Char(' '));
        if (items.size() < 2 || items[0].startsWith(QLatin1Char('#')))
            continue;
        // A line whose first two items are no numbers (a caption line) is not
        // a point: taking it as (0, 0) would break the energy order.
        bool okX = false;
        bool okY = false;
        const double x = items[0].toDouble(&okX);
        const double y = items[1].toDouble(&okY);
        if (!okX || !okY)
            continue;
        rawPoints.append(x, y);
    }
    if (in.failed()) {
        rawPoints.clear();
        return false;
    }
    if (rawPoints.isEmpty()) {
        qDebug().noquote() << "No data in spectrum file" << fileName;
        return false;
    }
    return true;
}

bool XafsSpectrum::save(const QString &fileName, bool subtractEnergyShift) const
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qDebug().noquote() << "Can not write spectrum file" << fileName << ":"
                           << file.errorString();
        return false;
    }
    QTextStream out(&file);
    out << "###Lumenograf::XafsSpectrum\n";
    out << "# x  double-normalized-pre-base y pre post\n";
    const double dEIn = rawPoints.shiftEnabled() ? rawPoints.shift() : 0.0;
    const double shift = subtractEnergyShift ? eShift : 0.0;
    for (int i = 0; i < rawPoints.size(); ++i) {
        const double x = rawPoints.storedX(i) - dEIn - shift;
        const double dn = i < doubleNormPreBase.size() ? doubleNormPreBase.y(i) : 0.0;
        out << x << '\t' << dn << '\t' << rawPoints.y(i) << '\t' << preBase.at(i) << '\t'
            << postBase.at(i) << '\n';
    }
    out.flush();
    // A full disk or a lost device shows only when the text reaches the file.
    if (out.status() != QTextStream::Ok || !file.flush()) {
        qDebug().noquote() << "Can not write spectrum file" << fileName << ":"
                           << file.errorString();
        return false;
    }
    return true;
}

double XafsSpectrum::doubleNormalizedPreBase(double E) const
{
    const double e = rawPoints.shiftEnabled() ? E + rawPoints.shift() : E;
    if (std::isnan(e))
        qDebug().noquote() << "nan EeV in XafsSpectrum::doubleNormalizedPreBase";
    return doubleNormPreBase.valueAt(e);
}

namespace {

// SpectrumPoints::valueAt on a curve given by its x and y values (no shift):
// the same comparisons and the same interpolation.
double valueOnCurve(const double *xs, const double *ys, int n, double arg)
{
    if (n == 0)
        return 0.0;
    if (n == 1)
        return ys[0];
    int a = 0;
    int b = 0;
    segmentOf(
        n, arg, [xs](int i) { return xs[i]; }, a, b);
    return interpolate(arg, xs[a], ys[a], xs[b], ys[b]);
}

} // namespace

#if defined(__GNUC__)
// Two doubles side by side: each operation works on both, each exactly as
// on one double alone.
typedef double Pair __attribute__((vector_size(16)));
#endif

void divideEach(const double *num, const double *den, double *out, int n)
{
    int i = 0;
#if defined(__GNUC__)
    for (; i + 2 <= n; i += 2) {
        Pair a;
        Pair b;
        std::memcpy(&a, num + i, sizeof a);
        std::memcpy(&b, den + i, sizeof b);
        const Pair q = a / b;
        std::memcpy(out + i, &q, sizeof q);
    }
#endif
    for (; i < n; ++i)
        out[i] = num[i] / den[i];
}

BinNormalizer::BinNormalizer(const QVector<double> &energies, bool isVictoreen)
    : victoreen(isVictoreen)
    , x(energies)
{
    // The windows of every spectrum, never changed after construction.
    const XafsSpectrum defaults;
    preStartE = defaults.preStart();
    preEndE = defaults.preEnd();
    postStartE = defaults.postStart();
    postEndE = defaults.postEnd();
    const int n = x.size();
    pre.resize(n);
    post.resize(n);
    num.resize(n);
    den.resize(n);
    if (!isVictoreen) {
        xx.resize(n);
        for (int i = 0; i < n; ++i)
            xx[i] = x[i] * x[i];
        return;
    }
    l.resize(n);
    l3.resize(n);
    l4.resize(n);
    l6.resize(n);
    l7.resize(n);
    l8.resize(n);
    for (int i = 0; i < n; ++i) {
        const double li = Constants::hc / x[i];
        l[i] = li;
        l3[i] = li * li * li;
        l4[i] = l3[i] * li;
        l6[i] = l3[i] * l3[i];
        l7[i] = l6[i] * li;
        l8[i] = l4[i] * l4[i];
    }
}

bool BinNormalizer::fitBackground(const double *mu, double from, double to, double *values) const
{
    const int n = x.size();
    if (n < (victoreen ? 4 : 3))
        return false;
    const double *e = x.constData();
    if (!victoreen) {
        int count = 0;
        double sx = 0.0, sxx = 0.0, sy = 0.0, sxy = 0.0;
        for (int i = 0; i < n; ++i) {
            if (e[i] >= to)
                break;
            if (e[i] < from)
                continue;
            const double y = mu[i];
            ++count;
            sx += e[i];
            sxx += xx[i];
            sy += y;
            sxy += e[i] * y;
        }
        double c0 = 0.0, c3 = 0.0;
        if (count < 2) {
            c0 = count == 1 ? sy : 0.0;
        } else {
            double a[4] = {sxx, sx, sx, double(count)};
            double b[2] = {sxy, sy};
            solveLinearSystem(a, b, 2);
            c3 = b[0];
            c0 = b[1];
        }
        int i = 0;
#if defined(__GNUC__)
        for (; i + 2 <= n; i += 2) {
            Pair x2;
            std::memcpy(&x2, e + i, sizeof x2);
            const Pair v = c0 + c3 * x2;
            std::memcpy(values + i, &v, sizeof v);
        }
#endif
        for (; i < n; ++i)
            values[i] = c0 + c3 * e[i];
        return true;
    }
    double cnt = 0.0, s3 = 0.0, s4 = 0.0, s6 = 0.0, s7 = 0.0, s8 = 0.0;
    double sy = 0.0, sy3 = 0.0, sy4 = 0.0;
    for (int i = 0; i < n; ++i) {
        if (e[i] >= to)
            break;
        if (e[i] < from)
            continue;
        const double y = mu[i];
        cnt += 1.0;
        s3 += l3[i];
        s4 += l4[i];
        s6 += l6[i];
        s7 += l7[i];
        s8 += l8[i];
        sy += y;
        sy3 += y * l3[i];
        sy4 += y * l4[i];
    }
    double a[9] = {cnt, s3, s4, s3, s6, s7, s4, s7, s8};
    double b[3] = {sy, sy3, sy4};
    solveLinearSystem(a, b, 3);
    const double c0 = b[0];
    const double c1 = b[1];
    const double c2 = b[2];
    const double *ls = l.constData();
    int i = 0;
#if defined(__GNUC__)
    for (; i + 2 <= n; i += 2) {
        Pair l2;
        std::memcpy(&l2, ls + i, sizeof l2);
        const Pair v = c0 + (c2 * l2 + c1) * l2 * l2 * l2;
        std::memcpy(values + i, &v, sizeof v);
    }
#endif
    for (; i < n; ++i) {
        const double li = ls[i];
        values[i] = c0 + (c2 * li + c1) * li * li * li;
    }
    return true;
}

double BinNormalizer::normalize(const double *mu, double *dnp)
{
    const int n = x.size();
    if (n < 1)
        return 0.0;
    const double *e = x.constData();

    // The half-height energy, from the y bounds as appending the points
    // keeps them.
    double yMin = SpectrumPoints::StartMin;
    double yMax = SpectrumPoints::StartMax;
    for (int i = 0; i < n; ++i) {
        if (mu[i] < yMin)
            yMin = mu[i];
        if (mu[i] > yMax)
            yMax = mu[i];
    }
    double h = e[0];
    if (n > 1) {
        const double level = yMin + 0.5 * (yMax - yMin);
        for (int i = 0; i + 1 < n; ++i) {
            const double a = mu[i];
            const double b = mu[i + 1];
            if (a < level && level <= b) {
                h = interpolate(level, a, e[i], b, e[i + 1]);
                break;
            }
        }
    }

    double *p = pre.data();
    double *q = post.data();
    const bool hasPre = fitBackground(mu, h + preStartE, h + preEndE, p);
    const bool hasPost = fitBackground(mu, h + postStartE, h + postEndE, q);
    if (!hasPre)
        std::fill(p, p + n, 0.0);
    if (!hasPost)
        std::fill(q, q + n, 0.0);

    const double lo = h + preEndE;
    const double hi = h + postStartE;
    double sum = 0.0;
    int count = 0;
    for (int i = 0; i + 1 < n; ++i) {
        const double xi = e[i];
        if (lo < xi && xi < hi) {
            const double m = mu[i];
            const double level = p[i] + 0.5 * (q[i] - p[i]);
            const double m1 = mu[i + 1];
            if ((m - level) * (m1 - level) <= 0.0) {
                sum += xi + (level - m) / (m1 - m) * (e[i + 1] - xi);
                ++count;
            }
        }
    }
    if (count == 0) {
        for (int i = 0; i + 1 < n; ++i) {
            const double xi = e[i];
            if (!(lo < xi && xi < hi))
                continue;
            const double d0 = mu[i] - (p[i] + 0.5 * (q[i] - p[i]));
            const double d1 = mu[i + 1] - (p[i + 1] + 0.5 * (q[i + 1] - p[i + 1]));
            if (d0 * d1 < 0.0) {
                sum += xi + d0 / (d0 - d1) * (e[i + 1] - xi);
                ++count;
            }
        }
    }
    const double e0 = count > 0 ? sum / count : 0.0;
    const double jump =
        valueOnCurve(e, q, hasPost ? n : 0, e0) - valueOnCurve(e, p, hasPre ? n : 0, e0);

    double *a = num.data();
    double *b = den.data();
    for (int i = 0; i < n; ++i) {
        a[i] = mu[i] - p[i];
        b[i] = q[i] - p[i];
    }
    divideEach(a, b, dnp, n);
    return jump;
}
