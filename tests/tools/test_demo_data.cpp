#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include "input/TiffData.h"
#include "spectrum/XafsSpectrum.h"

#include <tiffio.h>

#include <cmath>

// Runs the demo data generator as tools/demo.sh does and checks what it
// wrote as the program and a user will see it: the files and their names,
// the energies the default file-name pattern gives, the frames, and the
// absorption of the sample worked out from the counts.
namespace {

const int Size = 128;
const double Edge = 7112.0;

struct Frame
{
    int width = 0;
    int height = 0;
    int bits = 0;
    int samples = 0;
    QVector<quint16> pixels;
    double at(int x, int y) const { return pixels[y * width + x]; }
    double blockSum(int x, int y, int half) const
    {
        double s = 0.0;
        for (int j = y - half; j <= y + half; ++j)
            for (int i = x - half; i <= x + half; ++i)
                s += at(i, j);
        return s;
    }
};

// Read with libtiff directly, independent of the program's own readers.
bool readFrame(const QString &path, Frame &f)
{
    TIFF *t = TIFFOpen(QFile::encodeName(path).constData(), "r");
    if (!t)
        return false;
    uint32_t w = 0, h = 0;
    uint16_t bits = 0, spp = 0;
    TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(t, TIFFTAG_IMAGELENGTH, &h);
    TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &spp);
    f.width = int(w);
    f.height = int(h);
    f.bits = bits;
    f.samples = spp;
    bool ok = w > 0 && h > 0 && w <= 4096 && h <= 4096 && bits == 16 && spp == 1
              && TIFFScanlineSize(t) >= tmsize_t(2 * w);
    if (ok) {
        f.pixels.resize(int(w * h));
        QVector<quint16> line(int(TIFFScanlineSize(t) / 2 + 1));
        for (uint32_t r = 0; r < h && ok; ++r) {
            ok = TIFFReadScanline(t, line.data(), r, 0) >= 0;
            std::copy(line.constBegin(), line.constBegin() + w, f.pixels.begin() + int(r * w));
        }
    }
    TIFFClose(t);
    return ok;
}

struct Curve
{
    QVector<double> e;
    QVector<double> mu;
    double at(double x) const
    {
        for (int i = 1; i < e.size(); ++i)
            if (x <= e[i])
                return mu[i - 1] + (mu[i] - mu[i - 1]) * (x - e[i - 1]) / (e[i] - e[i - 1]);
        return mu.isEmpty() ? 0.0 : mu.last();
    }
};

// Least-squares polynomial of the given degree (1 or 2) through the points in
// [from, to], evaluated at x; normal equations solved by Cramer's rule.
double polyFitAt(const Curve &c, double from, double to, int degree, double x)
{
    double s[5] = {0, 0, 0, 0, 0}, t[3] = {0, 0, 0};
    for (int i = 0; i < c.e.size(); ++i) {
        if (c.e[i] < from || c.e[i] > to)
            continue;
        const double u = (c.e[i] - Edge) / 1000.0;
        double p = 1.0;
        for (int k = 0; k < 5; ++k, p *= u)
            s[k] += p;
        t[0] += c.mu[i];
        t[1] += c.mu[i] * u;
        t[2] += c.mu[i] * u * u;
    }
    const double u = (x - Edge) / 1000.0;
    if (degree == 1) {
        const double d = s[0] * s[2] - s[1] * s[1];
        const double a = (t[0] * s[2] - s[1] * t[1]) / d;
        const double b = (s[0] * t[1] - s[1] * t[0]) / d;
        return a + b * u;
    }
    auto det3 = [](double a, double b, double c, double d, double e, double f, double g, double h,
                   double i) {
        return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    };
    const double d = det3(s[0], s[1], s[2], s[1], s[2], s[3], s[2], s[3], s[4]);
    const double a0 = det3(t[0], s[1], s[2], t[1], s[2], s[3], t[2], s[3], s[4]) / d;
    const double a1 = det3(s[0], t[0], s[2], s[1], t[1], s[3], s[2], t[2], s[4]) / d;
    const double a2 = det3(s[0], s[1], t[0], s[1], s[2], t[1], s[2], s[3], t[2]) / d;
    return a0 + a1 * u + a2 * u * u;
}

// Edge jump at the Fe K edge: a line through the pre-edge and a quadratic
// through the post-edge region (from 100 eV above the edge, past the white
// line), both taken at 7112 eV.
double edgeJump(const Curve &c)
{
    return polyFitAt(c, Edge + 100.0, Edge + 1000.0, 2, Edge)
           - polyFitAt(c, Edge - 1000.0, Edge - 100.0, 1, Edge);
}

// First energy at which the curve rises through half of its range.
double halfHeight(const Curve &c)
{
    const double lo = *std::min_element(c.mu.begin(), c.mu.end());
    const double hi = *std::max_element(c.mu.begin(), c.mu.end());
    const double level = lo + 0.5 * (hi - lo);
    for (int i = 0; i + 1 < c.e.size(); ++i)
        if (c.mu[i] < level && level <= c.mu[i + 1])
            return c.e[i] + (level - c.mu[i]) / (c.mu[i + 1] - c.mu[i]) * (c.e[i + 1] - c.e[i]);
    return 0.0;
}

bool readReference(const QString &path, Curve &c, QString &why)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        why = "can not open";
        return false;
    }
    QTextStream in(&f);
    int headers = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith('#')) {
            if (!c.e.isEmpty()) {
                why = "a remark after the data";
                return false;
            }
            ++headers;
            continue;
        }
        const QStringList items = line.simplified().split(' ');
        bool ok1 = false, ok2 = false;
        if (items.size() != 2) {
            why = "not two columns: " + line;
            return false;
        }
        const double e = items[0].toDouble(&ok1), mu = items[1].toDouble(&ok2);
        if (!ok1 || !ok2 || (!c.e.isEmpty() && e <= c.e.last())) {
            why = "not a number or not ascending: " + line;
            return false;
        }
        c.e << e;
        c.mu << mu;
    }
    // The first line must not make the program take the file for a scan file.
    if (headers < 1) {
        why = "no header";
        return false;
    }
    return true;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int runGenerator(const QStringList &args)
{
    QProcess p;
    p.start(MAKE_DEMO_DATA_EXE, args);
    if (!p.waitForFinished(300000))
        return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

class TestDemoData : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void filesAndEnergies();
    void frames();
    void absorptionOfTheSample();
    void referenceSpectra();
    void programsNormalization();
    void demoScripts();
    void headlessDemoRun();
    void sameDataEveryRun();
    void badCommandLines();

private:
    // ln(I0 / I1) of the (2 half + 1)^2 block around (x, y), dark subtracted.
    Curve absorptionAt(int x, int y, int halfW, int halfH) const;

    QTemporaryDir tmp;
    QString root;
    QStringList i0Files, i1Files;
    QVector<double> energies;
    Frame dark;
    QVector<Frame> i0Frames, i1Frames;
};

// The energy as the program's default file-name pattern finds it in the
// whole path: first match, "_" read as the decimal point, factor 1.
double energyFromName(const QString &path)
{
    const QRegularExpression pattern("(\\d|)\\d\\d\\d\\d_\\d\\d\\d\\d");
    const QRegularExpressionMatch m = pattern.match(path);
    return m.hasMatch() ? m.captured(0).replace('_', '.').toDouble() : -1.0;
}

void TestDemoData::initTestCase()
{
    QVERIFY(tmp.isValid());
    root = tmp.path() + "/demo-data";
    QCOMPARE(runGenerator({root}), 0);
    i0Files = QDir(root + "/I0").entryList({"*"}, QDir::Files, QDir::Name);
    i1Files = QDir(root + "/I1").entryList({"*"}, QDir::Files, QDir::Name);
    QCOMPARE(i0Files.size(), 120);
    QCOMPARE(i1Files.size(), 120);
    QVERIFY(readFrame(root + "/dark.tif", dark));
    for (int n = 0; n < 120; ++n) {
        Frame i0, i1;
        QVERIFY2(readFrame(root + "/I0/" + i0Files[n], i0), qPrintable(i0Files[n]));
        QVERIFY2(readFrame(root + "/I1/" + i1Files[n], i1), qPrintable(i1Files[n]));
        i0Frames << i0;
        i1Frames << i1;
        energies << energyFromName(root + "/I1/" + i1Files[n]);
    }
}

Curve TestDemoData::absorptionAt(int x, int y, int halfW, int halfH) const
{
    Curve c;
    for (int n = 0; n < i1Frames.size(); ++n) {
        double d = 0.0, a = 0.0, b = 0.0;
        for (int j = y - halfH; j <= y + halfH; ++j)
            for (int i = x - halfW; i <= x + halfW; ++i) {
                d += dark.at(i, j);
                a += i1Frames[n].at(i, j);
                b += i0Frames[n].at(i, j);
            }
        c.e << energies[n];
        c.mu << std::log((b - d) / (a - d));
    }
    return c;
}

void TestDemoData::filesAndEnergies()
{
    for (const char *name : {"dark.tif", "ref_Fe_metal.dat", "ref_Fe2O3.dat", "README.txt"})
        QVERIFY2(QFile::exists(root + "/" + name), name);
    for (int n = 0; n < 120; ++n) {
        const QString number = QString("%1").arg(n + 1, 3, 10, QChar('0'));
        QVERIFY2(i1Files[n].startsWith("I1_" + number + "_") && i1Files[n].endsWith(".tif"),
                 qPrintable(i1Files[n]));
        QCOMPARE(i0Files[n], "I0" + i1Files[n].mid(2));
        // Exactly one file per number, as a wildcard load of "I1_NNN_*.tif" needs.
        QCOMPARE(QDir(root + "/I1").entryList({"I1_" + number + "_*.tif"}, QDir::Files).size(), 1);
        QCOMPARE(energyFromName(root + "/I0/" + i0Files[n]), energies[n]);
    }
    QCOMPARE(energies.first(), 6060.0);
    QCOMPARE(energies[87], 7158.0);
    QCOMPARE(energies[88], 7189.25);
    QCOMPARE(energies.last(), 8158.0);
    int fine = 0;
    for (int n = 1; n < 120; ++n) {
        QVERIFY(energies[n] > energies[n - 1]);
        if (energies[n] > 7062.0 && energies[n] <= 7150.0) {
            QVERIFY(energies[n] - energies[n - 1] <= 2.0);
            ++fine;
        }
    }
    QCOMPARE(fine, 44);
    // The normalization windows (-1000..-100 and +10..+1000 eV around the
    // half-height energy, which lies within 20 eV above the edge) are covered.
    QVERIFY(energies.first() <= Edge - 1050.0);
    QVERIFY(energies.last() >= Edge + 1040.0);
}

void TestDemoData::frames()
{
    QCOMPARE(dark.width, Size);
    QCOMPARE(dark.height, Size);
    double darkSum = 0.0;
    for (quint16 v : dark.pixels)
        darkSum += v;
    const double darkMean = darkSum / (Size * Size);
    QVERIFY2(darkMean > 50.0 && darkMean < 70.0, qPrintable(QString::number(darkMean)));

    quint16 largest = 0, smallest = 65535;
    for (int n = 0; n < 120; ++n) {
        const Frame &i0 = i0Frames[n], &i1 = i1Frames[n];
        QCOMPARE(i0.width, Size);
        QCOMPARE(i0.height, Size);
        QCOMPARE(i1.width, Size);
        QCOMPARE(i1.height, Size);
        for (int p = 0; p < Size * Size; ++p) {
            largest = std::max({largest, i0.pixels[p], i1.pixels[p]});
            smallest = std::min(smallest, i1.pixels[p]);
            // I0 is taken without the sample: never darker than what passes
            // the sample by more than the noise allows.
            QVERIFY(i0.pixels[p] + 6.0 * std::sqrt(double(i0.pixels[p])) > i1.pixels[p]);
        }
    }
    // The program reads every frame as libtiff does; its window sum is the
    // plain sum of the block.
    for (int n = 0; n < 240; ++n) {
        const QString path =
            n < 120 ? root + "/I0/" + i0Files[n] : root + "/I1/" + i1Files[n - 120];
        const Frame &f = n < 120 ? i0Frames[n] : i1Frames[n - 120];
        TiffData t;
        QVERIFY2(t.read(path), qPrintable(path));
        QCOMPARE(t.width(), Size);
        QCOMPARE(t.height(), Size);
        for (int y = 0; y < Size; ++y)
            for (int x = 0; x < Size; ++x)
                if (t.value(y, x) != f.at(x, y))
                    QFAIL(qPrintable(QString("%1 at %2 %3").arg(path).arg(x).arg(y)));
        QCOMPARE(t.windowSum(36, 38, 5, 5), f.blockSum(36, 38, 5));
    }
    // Counts well inside 16 bits, and well above the dark level everywhere.
    QVERIFY2(largest < 40000, qPrintable(QString::number(largest)));
    QVERIFY2(smallest > 200, qPrintable(QString::number(smallest)));
}

void TestDemoData::absorptionOfTheSample()
{
    const Curve empty = absorptionAt(64, 68, 2, 2), metal = absorptionAt(36, 38, 2, 2),
                oxide = absorptionAt(94, 37, 2, 2), mixed = absorptionAt(36, 96, 2, 2);
    // The empty area holds only the support film: no edge.
    QVERIFY2(std::fabs(edgeJump(empty)) < 0.02, qPrintable(QString::number(edgeJump(empty))));
    // Metal disc 1.2 and oxide block 0.8 units thick, mixed block 0.5 + 0.5.
    QVERIFY2(std::fabs(edgeJump(metal) - 1.2) < 0.06, qPrintable(QString::number(edgeJump(metal))));
    QVERIFY2(std::fabs(edgeJump(oxide) - 0.8) < 0.04, qPrintable(QString::number(edgeJump(oxide))));
    QVERIFY2(std::fabs(edgeJump(mixed) - 1.0) < 0.05, qPrintable(QString::number(edgeJump(mixed))));
    // The oxide's edge lies several eV above the metal's.
    const double hMetal = halfHeight(metal), hOxide = halfHeight(oxide), hMixed = halfHeight(mixed);
    QVERIFY2(hMetal > Edge - 5.0 && hMetal < Edge + 10.0, qPrintable(QString::number(hMetal)));
    QVERIFY2(hOxide > hMetal + 5.0 && hOxide < Edge + 20.0, qPrintable(QString::number(hOxide)));
    QVERIFY(hMixed > hMetal && hMixed < hOxide);
    // Thin and thick end of the oxide wedge.
    const double thin = edgeJump(absorptionAt(75, 96, 2, 2)),
                 thick = edgeJump(absorptionAt(114, 96, 2, 2));
    QVERIFY2(thin > 0.15 && thin < 0.4 && thick > 1.4 && thick < 1.7,
             qPrintable(QString("%1 %2").arg(thin).arg(thick)));

    // The sample is made of the two reference species: less the support film,
    // each region's absorption is its thicknesses times the references.
    Curve refMetal, refOxide;
    QString why;
    QVERIFY2(readReference(root + "/ref_Fe_metal.dat", refMetal, why), qPrintable(why));
    QVERIFY2(readReference(root + "/ref_Fe2O3.dat", refOxide, why), qPrintable(why));
    double worst = 0.0;
    for (int n = 0; n < 120; ++n) {
        const double e = energies[n], film = empty.mu[n];
        worst = std::max(worst, std::fabs(metal.mu[n] - film - 1.2 * refMetal.at(e)));
        worst = std::max(worst, std::fabs(oxide.mu[n] - film - 0.8 * refOxide.at(e)));
        worst = std::max(worst, std::fabs(mixed.mu[n] - film - 0.5 * refMetal.at(e)
                                          - 0.5 * refOxide.at(e)));
    }
    QVERIFY2(worst < 0.03, qPrintable(QString::number(worst)));
}

void TestDemoData::referenceSpectra()
{
    Curve refMetal, refOxide;
    QString why;
    QVERIFY2(readReference(root + "/ref_Fe_metal.dat", refMetal, why), qPrintable(why));
    QVERIFY2(readReference(root + "/ref_Fe2O3.dat", refOxide, why), qPrintable(why));
    for (const Curve *c : {&refMetal, &refOxide}) {
        QVERIFY(c->e.size() >= 100);
        QVERIFY(c->e.first() <= Edge - 1050.0);
        QVERIFY(c->e.last() >= Edge + 1040.0);
        // One unit of thickness: an edge jump of 1.
        QVERIFY2(std::fabs(edgeJump(*c) - 1.0) < 0.05, qPrintable(QString::number(edgeJump(*c))));
    }
    // Different edge positions and shapes: the oxide's edge is higher, and its
    // white line stands out above the metal's.
    QVERIFY(halfHeight(refOxide) > halfHeight(refMetal) + 5.0);
    const double topMetal = *std::max_element(refMetal.mu.begin(), refMetal.mu.end());
    const double topOxide = *std::max_element(refOxide.mu.begin(), refOxide.mu.end());
    QVERIFY(topOxide > topMetal + 0.2);
    // The first line is a remark, so the program reads the file as two columns.
    QVERIFY(fileBytes(root + "/ref_Fe2O3.dat").startsWith("# "));
}

// What the program's own normalization (Victoreen backgrounds over its fixed
// windows) makes of the demo: the jumps of the design thicknesses and the
// oxide's edge above the metal's, for the sample and for the references.
void TestDemoData::programsNormalization()
{
    XafsSpectrum refMetal, refOxide;
    QVERIFY(refMetal.load(root + "/ref_Fe_metal.dat"));
    QVERIFY(refOxide.load(root + "/ref_Fe2O3.dat"));
    QCOMPARE(refMetal.isTwoColumn(), 1);
    QCOMPARE(refMetal.raw().size(), 120);
    QCOMPARE(refOxide.raw().size(), 120);
    refMetal.normalize(true);
    refOxide.normalize(true);
    // One unit of thickness; the oxide's white line right after the edge
    // lifts its post-edge background a little.
    const double jMetal = refMetal.jump(), jOxide = refOxide.jump();
    QVERIFY2(std::fabs(jMetal - 1.0) < 0.1, qPrintable(QString::number(jMetal)));
    QVERIFY2(std::fabs(jOxide - 1.0) < 0.1, qPrintable(QString::number(jOxide)));
    QVERIFY2(refMetal.e0() > Edge - 5.0 && refMetal.e0() < Edge + 5.0,
             qPrintable(QString::number(refMetal.e0())));
    QVERIFY2(refOxide.e0() > refMetal.e0() + 5.0 && refOxide.e0() < Edge + 20.0,
             qPrintable(QString::number(refOxide.e0())));

    // The sample's regions as the program normalizes them: their thicknesses
    // times the references' jumps, edges between the two references'.
    struct Case
    {
        const char *what;
        Curve curve;
        double jump;
    };
    const Case cases[] = {{"metal", absorptionAt(36, 38, 5, 5), 1.2 * jMetal},
                          {"oxide", absorptionAt(94, 37, 5, 5), 0.8 * jOxide},
                          {"mixed", absorptionAt(36, 96, 5, 5), 0.5 * jMetal + 0.5 * jOxide}};
    double e0[3];
    for (int k = 0; k < 3; ++k) {
        SpectrumPoints points;
        for (int n = 0; n < cases[k].curve.e.size(); ++n)
            points.append(cases[k].curve.e[n], cases[k].curve.mu[n]);
        const XafsSpectrum s(points, true, 0.0);
        e0[k] = s.e0();
        QVERIFY2(std::fabs(s.jump() - cases[k].jump) < 0.04 * cases[k].jump,
                 qPrintable(
                     QString("%1: %2 %3").arg(cases[k].what).arg(s.jump()).arg(cases[k].jump)));
    }
    QVERIFY2(std::fabs(e0[0] - refMetal.e0()) < 1.0, qPrintable(QString::number(e0[0])));
    QVERIFY2(std::fabs(e0[1] - refOxide.e0()) < 1.0, qPrintable(QString::number(e0[1])));
    QVERIFY(e0[2] > e0[0] + 2.0 && e0[2] < e0[1] - 2.0);
}

// The demo script loads exactly these files in energy order and takes its
// spectra on the sample; the headless script is the same with "quit" at the end.
void TestDemoData::demoScripts()
{
    const QByteArray script = fileBytes(DEMO_SCRIPT_DIR "/demo.bat");
    const QByteArray headless = fileBytes(DEMO_SCRIPT_DIR "/demo-headless.bat");
    QVERIFY(!script.isEmpty());
    QVERIFY(headless.startsWith(script));
    QStringList rest;
    for (const QByteArray &line : headless.mid(script.size()).split('\n'))
        if (!line.trimmed().isEmpty() && !line.trimmed().startsWith('#'))
            rest << QString::fromUtf8(line.trimmed());
    QCOMPARE(rest, QStringList{"quit"});

    int bandW = 10, bandH = 10, positions = 0, loads = 0;
    for (const QByteArray &raw : script.split('\n')) {
        const QStringList items = QString::fromUtf8(raw).section('#', 0, 0).simplified().split(' ');
        if (items[0].isEmpty())
            continue;
        const QString word = items[0].toLower();
        QVERIFY2(word != "quit", "the window variant must stay open");
        if (word == "load_i0_files_of_pattern" || word == "load_i1_files_of_pattern") {
            // A new stack each (so the plot range follows the new data set),
            // the files in name order, which must be energy order.
            QCOMPARE(items.size(), 4);
            QCOMPARE(items[1].toUpper(), QString("NEW"));
            QVERIFY(items[2].endsWith('/'));
            ++loads;
            const QStringList hit =
                QDir(tmp.path() + "/" + items[2]).entryList({items[3]}, QDir::Files, QDir::Name);
            QCOMPARE(hit.size(), 120);
            double last = 0.0;
            for (const QString &name : hit) {
                const double e = energyFromName(items[2] + name);
                QVERIFY2(e > last, qPrintable(name));
                last = e;
            }
        } else if (word == "seek_image") {
            QVERIFY(items.value(1).toInt() >= 0 && items.value(1).toInt() < 120);
        } else if (word == "set_band_w") {
            bandW = items.value(1).toInt();
        } else if (word == "set_band_h") {
            bandH = items.value(1).toInt();
        } else if (word == "move_position") {
            const int x = items.value(1).toInt(), y = items.value(2).toInt();
            QVERIFY(x - bandW >= 0 && x + bandW < Size && y - bandH >= 0 && y + bandH < Size);
            // On the sample: the window's absorption shows a clear Fe K edge.
            const Curve c = absorptionAt(x, y, bandW, bandH);
            QVERIFY2(edgeJump(c) > 0.5,
                     qPrintable(QString("%1 %2: %3").arg(x).arg(y).arg(edgeJump(c))));
            ++positions;
        }
    }
    QCOMPARE(loads, 2);
    QVERIFY(positions >= 1);
}

// The README's first command without a display: the real program runs the
// headless demo script offscreen in the folder that holds demo-data/, saves
// the spectra the script asks for into demo-results/ and ends by itself.
void TestDemoData::headlessDemoRun()
{
    QVERIFY(QDir(tmp.path()).mkpath("demo-results"));
    QProcess p;
    p.setWorkingDirectory(tmp.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(LUMENOGRAF_EXE, {"-e", "-b", DEMO_SCRIPT_DIR "/demo-headless.bat", "-x"});
    QVERIFY(p.waitForStarted(10000));
    const bool ended = p.waitForFinished(300000);
    const QByteArray log = p.readAll();
    if (!ended) {
        p.kill();
        p.waitForFinished(10000);
    }
    QVERIFY2(ended, log.right(2000).constData());
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);

    // Where the script takes its spectra, read from the script itself.
    struct Saved
    {
        int x, y;
        QString file;
    };
    QVector<Saved> saved;
    int bandW = 10, bandH = 10, x = -1, y = -1;
    for (const QByteArray &raw : fileBytes(DEMO_SCRIPT_DIR "/demo-headless.bat").split('\n')) {
        const QStringList items = QString::fromUtf8(raw).section('#', 0, 0).simplified().split(' ');
        const QString word = items[0].toLower();
        if (word == "set_band_w")
            bandW = items.value(1).toInt();
        else if (word == "set_band_h")
            bandH = items.value(1).toInt();
        else if (word == "move_position")
            x = items.value(1).toInt(), y = items.value(2).toInt();
        else if (word == "save_spectra")
            saved << Saved{x, y, items.value(1)};
    }
    QVERIFY(saved.size() >= 1);

    for (const Saved &s : saved) {
        QVERIFY(s.file.endsWith(".dat"));
        const QString base = tmp.path() + "/" + s.file.left(s.file.size() - 4);
        // No standard spectrum is set: its file holds the two header lines only.
        QCOMPARE(fileBytes(base + "-std.dat"),
                 QByteArray(
                     "###Lumenograf::XafsSpectrum\n# x  double-normalized-pre-base y pre post\n"));
        const QList<QByteArray> lines = fileBytes(base + "-T.dat").split('\n');
        QVERIFY2(lines.size() == 2 + 120 + 1, qPrintable(base + "-T.dat"));
        QCOMPARE(lines[0], QByteArray("###Lumenograf::XafsSpectrum"));
        QCOMPARE(lines[1], QByteArray("# x  double-normalized-pre-base y pre post"));
        QVERIFY(lines.last().isEmpty());
        // The demo script loads no dark frame (there is no command for it), so
        // the absorption is ln(I0 / I1) of the plain window sums; both stacks
        // share their energies, so I0 needs no interpolation.
        for (int n = 0; n < 120; ++n) {
            double a = 0.0, b = 0.0;
            for (int j = s.y - bandH; j <= s.y + bandH; ++j)
                for (int i = s.x - bandW; i <= s.x + bandW; ++i) {
                    a += i1Frames[n].at(i, j);
                    b += i0Frames[n].at(i, j);
                }
            const double mu = std::log(b / a);
            const QList<QByteArray> cols = lines[2 + n].split('\t');
            QCOMPARE(cols.size(), 5);
            double v[5];
            for (int k = 0; k < 5; ++k) {
                bool ok = false;
                v[k] = cols[k].toDouble(&ok);
                QVERIFY2(ok, lines[2 + n].constData());
            }
            // Six significant digits.
            QVERIFY2(std::fabs(v[0] - energies[n]) <= 5e-6 * energies[n], lines[2 + n].constData());
            QVERIFY2(std::fabs(v[2] - mu) <= 5e-6 * std::fabs(mu) + 1e-9,
                     qPrintable(QString("%1: %2 against %3").arg(s.file).arg(v[2]).arg(mu)));
            // Double-normalized pre-base: (mu - pre) / (post - pre).
            QVERIFY2(std::fabs(v[1] - (v[2] - v[3]) / (v[4] - v[3]))
                         < 1e-4 * (1.0 + std::fabs(v[1])),
                     lines[2 + n].constData());
        }
    }
}

void TestDemoData::sameDataEveryRun()
{
    const QString again = tmp.path() + "/again";
    QCOMPARE(runGenerator({again}), 0);
    for (const QString &name : {QString("dark.tif"), QString("ref_Fe2O3.dat"),
                                "I1/" + i1Files.value(60), "I0/" + i0Files.value(119)}) {
        const QByteArray first = fileBytes(root + "/" + name);
        QVERIFY2(!first.isEmpty(), qPrintable(name));
        QVERIFY2(first == fileBytes(again + "/" + name), qPrintable(name));
    }
    // A second run into the same folder leaves exactly one frame per number.
    QCOMPARE(runGenerator({again}), 0);
    QCOMPARE(QDir(again + "/I1").entryList({"*.tif"}, QDir::Files).size(), 120);
}

void TestDemoData::badCommandLines()
{
    QCOMPARE(runGenerator({}), 2);
    QCOMPARE(runGenerator({"a", "b"}), 2);
    QFile blocker(tmp.path() + "/a-file");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QCOMPARE(runGenerator({tmp.path() + "/a-file/data"}), 1);
}

QTEST_GUILESS_MAIN(TestDemoData)
#include "test_demo_data.moc"
