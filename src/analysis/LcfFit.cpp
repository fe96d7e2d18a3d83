#include "analysis/LcfFit.h"

#include "spectrum/LinearSolver.h"

#include <QDebug>
#include <QVarLengthArray>

namespace {

// The two points SpectrumPoints::valueAt(arg) interpolates between on a list
// with the x values xs (ascending, no shift): the same comparisons in the
// same order, so interpolating between them gives valueAt's value exactly.
// With fewer than two points both are n - 1.
void segmentAt(const QVector<double> &xs, double arg, int &a, int &b)
{
    const int n = xs.size();
    if (n < 2) {
        a = b = n - 1;
        return;
    }
    if (arg <= xs[0]) {
        a = 0;
        b = 1;
        return;
    }
    if (arg >= xs[n - 1]) {
        a = n - 2;
        b = n - 1;
        return;
    }
    int lo = 0;
    int hi = n - 1;
    while (hi - 1 > lo) {
        const int mid = (lo + hi) / 2;
        if (xs[mid] > arg)
            hi = mid;
        else
            lo = mid;
    }
    a = lo;
    b = hi;
}

} // namespace

LcfReferenceSnapshot LcfReferenceSnapshot::of(const XafsSpectrum &reference, double dE,
                                              bool useChecked, bool isVictoreen)
{
    LcfReferenceSnapshot s;
    s.spectrum = reference;
    s.dE = dE;
    // A row whose file gave no points has nothing to fit with, whatever its
    // Use box says.
    s.used = useChecked && reference.raw().size() > 0;
    // The row keeps dE in its raw shift, and a renormalization (its Victoreen
    // box) bakes that shift into the curves' energies; reading them at E + dE
    // would then shift twice. Normalizing in the measured energies and
    // reading at E + dE shifts once, whenever the row was last normalized.
    // With dE 0 the curves are the same either way.
    s.spectrum.enableDE(false);
    if (s.spectrum.raw().size() > 0)
        s.spectrum.normalize(isVictoreen);
    s.spectrum.setDE(dE);
    s.spectrum.enableDE(true);
    return s;
}

QVector<double> lcfSampleEnergies(const XafsSpectrum &sample)
{
    const SpectrumPoints &raw = sample.raw();
    const double shift = sample.energyShift();
    QVector<double> e(raw.size());
    for (int i = 0; i < raw.size(); ++i)
        e[i] = raw.x(i) - shift;
    return e;
}

LcfSetup::LcfSetup(const QVector<LcfReferenceSnapshot> &refs, const QVector<double> &energies,
                   bool isMLCF, double sE0, double eE0)
    : snapshots(refs)
    , energies(energies)
    , isMLCF(isMLCF)
    , valid(refs.size() >= 2)
    , sE0(sE0)
    , eE0(eE0)
{
    if (!valid)
        return;
    for (int j = 0; j < refs.size(); ++j)
        if (refs[j].used)
            usedRefs.append(j);
    const int k = usedRefs.size();

    // The fit keeps to the energies every used reference covers within the
    // asked range; the fitted curve is drawn where they all cover.
    lo = sE0;
    hi = eE0;
    double dlo = 0.0;
    double dhi = 1e300;
    for (int j : usedRefs) {
        const SpectrumPoints &raw = refs[j].spectrum.raw();
        const double a = raw.minX() - refs[j].dE;
        const double b = raw.maxX() - refs[j].dE;
        lo = qMax(lo, a);
        hi = qMin(hi, b);
        dlo = qMax(dlo, a);
        dhi = qMin(dhi, b);
    }

    const int n = energies.size();
    for (int i = 0; i < n; ++i) {
        const double e = energies[i];
        if (lo <= e && e <= hi)
            fitPoints.append(i);
        if (dlo <= e && e <= dhi)
            drawPoints.append(i);
    }

    // The residual's points (the inner sample points in the fitting window)
    // and where each falls on the fitted curve, whose x values are the
    // energies of drawPoints.
    QVector<double> drawn(drawPoints.size());
    for (int p = 0; p < drawPoints.size(); ++p)
        drawn[p] = energies[drawPoints[p]];
    for (int i = 1; i + 1 < n; ++i) {
        const double e = energies[i];
        if (!(lo <= e && e <= hi))
            continue;
        int a = 0, b = 0;
        segmentAt(drawn, e, a, b);
        residualPoints.append(i);
        residualSegments.append(a);
        residualSegments.append(b);
    }

    fitValues.resize(fitPoints.size() * k);
    for (int p = 0; p < fitPoints.size(); ++p) {
        const double e = energies[fitPoints[p]];
        for (int j = 0; j < k; ++j) {
            const LcfReferenceSnapshot &r = refs[usedRefs[j]];
            fitValues[p * k + j] = isMLCF ? r.spectrum.doubleNormalized().valueAt(e + r.dE)
                                          : r.spectrum.doubleNormalizedPreBase(e);
        }
    }
    drawValues.resize(drawPoints.size() * k);
    for (int p = 0; p < drawPoints.size(); ++p) {
        const double e = energies[drawPoints[p]];
        for (int j = 0; j < k; ++j)
            drawValues[p * k + j] = refs[usedRefs[j]].spectrum.doubleNormalizedPreBase(e);
    }

    // The normal matrix holds reference values (and, in MLCF, the constant
    // and the energy) only; the sample enters through the right-hand side.
    const int m = isMLCF ? k + 2 : k;
    normal.fill(0.0, m * m);
    QVarLengthArray<double, 36> v(m);
    for (int p = 0; p < fitPoints.size(); ++p) {
        const double *r = fitValues.constData() + p * k;
        int q = 0;
        if (isMLCF) {
            v[q++] = 1.0;
            v[q++] = energies[fitPoints[p]];
        }
        for (int j = 0; j < k; ++j)
            v[q++] = r[j];
        for (int a = 0; a < m; ++a)
            for (int b = 0; b < m; ++b)
                normal[a * m + b] += v[a] * v[b];
    }
}

bool LcfSetup::matches(const XafsSpectrum &sample) const
{
    const SpectrumPoints &raw = sample.raw();
    if (raw.size() != energies.size())
        return false;
    const double shift = sample.energyShift();
    for (int i = 0; i < raw.size(); ++i)
        if (!(raw.x(i) - shift == energies[i]))
            return false;
    return true;
}

bool LcfSetup::fit(const XafsSpectrum &sample, LcfResult &out, bool normalizeFit) const
{
    if (!valid) {
        qDebug().noquote() << "LCF needs at least two reference rows," << snapshots.size()
                           << "given";
        return false;
    }
    if (matches(sample)) {
        fitPrepared(sample, out, normalizeFit);
    } else {
        const LcfSetup own(snapshots, lcfSampleEnergies(sample), isMLCF, sE0, eE0);
        own.fitPrepared(sample, out, normalizeFit);
    }
    return true;
}

void LcfSetup::fitPrepared(const XafsSpectrum &sample, LcfResult &out, bool normalizeFit) const
{
    const int k = usedRefs.size();
    const int m = isMLCF ? k + 2 : k;
    const SpectrumPoints &raw = sample.raw();
    const SpectrumPoints &dnp = sample.doubleNormalizedPreBase();

    // Right-hand side: LCF fits the double-normalized pre-base values, MLCF
    // the raw mu, each at the sample's own point (no interpolation).
    QVarLengthArray<double, 36> b(m);
    for (int a = 0; a < m; ++a)
        b[a] = 0.0;
    for (int p = 0; p < fitPoints.size(); ++p) {
        const int i = fitPoints[p];
        const double *r = fitValues.constData() + p * k;
        if (isMLCF) {
            const double y = raw.y(i);
            b[0] += y;
            b[1] += energies[i] * y;
            for (int j = 0; j < k; ++j)
                b[2 + j] += r[j] * y;
        } else {
            const double y = i < dnp.size() ? dnp.y(i) : 0.0;
            for (int j = 0; j < k; ++j)
                b[j] += r[j] * y;
        }
    }
    QVarLengthArray<double, 36 * 36> a(normal.size());
    for (int q = 0; q < normal.size(); ++q)
        a[q] = normal[q];
    solveLinearSystem(a.data(), b.data(), m);

    out.ratio.resize(k);
    out.dmut.resize(k);
    if (isMLCF) {
        double sum = 0.0;
        for (int j = 0; j < k; ++j)
            sum += b[2 + j];
        // A negative sum leaves nothing to share out: every ratio is then
        // the clipped weight over 0, as computed.
        const double share = sum >= 0.0 ? sum : 0.0;
        for (int j = 0; j < k; ++j) {
            const double w = b[2 + j] < 0.0 ? 0.0 : b[2 + j];
            out.dmut[j] = w;
            out.ratio[j] = w / share;
        }
    } else {
        const double jump = sample.jump() > 0.0 ? sample.jump() : 0.0;
        for (int j = 0; j < k; ++j) {
            out.ratio[j] = b[j];
            out.dmut[j] = b[j] * jump;
        }
    }

    // The fitted curve: the references' double-normalized pre-base values
    // weighted by the reported ratios (MLCF draws neither the constant nor
    // the slope).
    QPointF *f = out.fitted.fillBuffer(drawPoints.size());
    for (int p = 0; p < drawPoints.size(); ++p) {
        const double *r = drawValues.constData() + p * k;
        double v = 0.0;
        for (int j = 0; j < k; ++j)
            v += r[j] * out.ratio[j];
        f[p] = QPointF(energies[drawPoints[p]], v);
    }
    out.fitted.finishFill();
    out.fitted.enableShift(false);
    out.fitted.setShift(0.0);

    // The residual compares the fit and the sample at the same energy, the
    // one the fit was made at, first and last sample point left out.
    double sum = 0.0;
    int terms = 0;
    const auto add = [&sum, &terms](double f, double y) {
        if (y == 0.0) {
            sum += 1.0;
        } else {
            const double d = (f - y) / y;
            sum += d * d;
        }
        ++terms;
    };
    if (dnp.size() == energies.size()) {
        // The prepared points and segments give valueAt's values without
        // its search.
        const int nf = drawPoints.size();
        for (int p = 0; p < residualPoints.size(); ++p) {
            const int i = residualPoints[p];
            double v = 0.0;
            if (nf == 1) {
                v = f[0].y();
            } else if (nf > 1) {
                const QPointF &a = f[residualSegments[2 * p]];
                const QPointF &b = f[residualSegments[2 * p + 1]];
                v = interpolate(energies[i], a.x(), a.y(), b.x(), b.y());
            }
            add(v, dnp.y(i));
        }
    } else {
        // A sample whose curves do not match its points (never normalized
        // since they changed).
        const int n = qMin(dnp.size(), energies.size());
        for (int i = 1; i + 1 < n; ++i) {
            const double x = energies[i];
            if (lo <= x && x <= hi)
                add(out.fitted.valueAt(x), dnp.y(i));
        }
    }
    const double mean = terms > 0 ? sum / terms : 0.0;
    out.z = raw.size() > 0 ? mean / raw.size() : 0.0;

    out.res = normalizeFit ? XafsSpectrum(out.fitted, false, 0.0) : XafsSpectrum();
}

bool fitLcfSpectrum(const XafsSpectrum &sample, const QVector<LcfReferenceSnapshot> &refs,
                    bool isMLCF, double sE0, double eE0, LcfResult &out, bool normalizeFit)
{
    const LcfSetup setup(refs, lcfSampleEnergies(sample), isMLCF, sE0, eE0);
    return setup.fit(sample, out, normalizeFit);
}
