#include "input/TiffData.h"

#include "TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>
#include <vector>

// Runs the demo data generator as tools/demo.sh does and checks what it wrote
// against the design of the demo: the names and energies of the files, the
// counts, the thicknesses of the sample's regions and the edge jump of the
// references; then runs the headless demo script through the real program.
namespace {

const int Size = 128;
const double Edge = 7112.0;

struct Curve
{
    QVector<double> e, mu;
    double at(double x) const
    {
        for (int i = 1; i < e.size(); ++i)
            if (x <= e[i])
                return mu[i - 1] + (mu[i] - mu[i - 1]) * (x - e[i - 1]) / (e[i] - e[i - 1]);
        return mu.last();
    }
};

// Edge jump at the Fe K edge: least-squares lines through the pre-edge
// (1000 to 100 eV below) and the post-edge (100 to 1000 eV above), taken at
// the edge.
double edgeJump(const Curve &c)
{
    auto lineAtEdge = [&c](double from, double to) {
        double n = 0, su = 0, suu = 0, sm = 0, sum = 0;
        for (int i = 0; i < c.e.size(); ++i) {
            const double u = c.e[i] - Edge;
            if (u >= from && u <= to)
                n += 1, su += u, suu += u * u, sm += c.mu[i], sum += u * c.mu[i];
        }
        return (sm * suu - su * sum) / (n * suu - su * su);
    };
    return lineAtEdge(100, 1000) - lineAtEdge(-1000, -100);
}

// The numbers of a line split at `sep`; none when one does not parse.
QVector<double> numbers(const QByteArray &line, char sep)
{
    QVector<double> v;
    for (const QByteArray &item : line.split(sep)) {
        bool ok = false;
        v << item.toDouble(&ok);
        if (!ok)
            return {};
    }
    return v;
}

// A reference spectrum: a remark line first (so the program does not take it
// for a scan file), then two columns: energy, ascending, and mu t.
Curve readReference(const QString &path)
{
    Curve c;
    const QList<QByteArray> lines = readFile(path).trimmed().split('\n');
    for (const QByteArray &line : lines.mid(lines[0].startsWith("# ") ? 1 : lines.size())) {
        const QVector<double> v = numbers(line.simplified(), ' ');
        if (line.startsWith('#') && c.e.isEmpty())
            continue;
        if (v.size() != 2 || (!c.e.isEmpty() && v[0] <= c.e.last()))
            return Curve();
        c.e << v[0];
        c.mu << v[1];
    }
    return c;
}

// The energy as the default file-name pattern finds it in the whole path:
// first match, "_" read as the decimal point.
double energyFromName(const QString &path)
{
    const auto m = QRegularExpression("(\\d|)\\d\\d\\d\\d_\\d\\d\\d\\d").match(path);
    return m.hasMatch() ? m.captured(0).replace('_', '.').toDouble() : -1.0;
}

} // namespace

class TestDemoData : public QObject
{
    Q_OBJECT
    QTemporaryDir tmp;
    QString root;
    QStringList i0Files, i1Files;
    QVector<double> energies;
    TiffData dark;
    std::vector<std::unique_ptr<TiffData>> i0, i1;

    // ln(I0 / I1) of the 5 x 5 block around (x, y), less the dark (the
    // window sums are checked by hand in the frame tests).
    Curve absorptionAt(int x, int y) const
    {
        Curve c;
        const double d = dark.windowSum(x, y, 2, 2);
        for (size_t n = 0; n < i1.size(); ++n)
            c.e << energies[int(n)], c.mu << std::log((i0[n]->windowSum(x, y, 2, 2) - d)
                                                      / (i1[n]->windowSum(x, y, 2, 2) - d));
        return c;
    }

private slots:
    void initTestCase()
    {
        root = tmp.path() + "/demo-data";
        QCOMPARE(QProcess::execute(MAKE_DEMO_DATA_EXE, {root}), 0);
        i0Files = QDir(root + "/I0").entryList({"*"}, QDir::Files, QDir::Name);
        i1Files = QDir(root + "/I1").entryList({"*"}, QDir::Files, QDir::Name);
        QCOMPARE(i0Files.size(), 120);
        QCOMPARE(i1Files.size(), 120);
        QVERIFY(dark.read(root + "/dark.tif"));
        for (int n = 0; n < 120; ++n) {
            i0.emplace_back(new TiffData);
            i1.emplace_back(new TiffData);
            QVERIFY2(i0.back()->read(root + "/I0/" + i0Files[n]), qPrintable(i0Files[n]));
            QVERIFY2(i1.back()->read(root + "/I1/" + i1Files[n]), qPrintable(i1Files[n]));
            energies << energyFromName(root + "/I1/" + i1Files[n]);
        }
    }

    // Names I1_NNN_EEEE_FFFF.tif from 001 in rising energy, I0 alike; 6060 to
    // 8158 eV, in steps of at most 2 eV through the edge (7062 .. 7150). The
    // frames are 128 x 128, well inside 16 bits and well above the dark level
    // of about 60 counts.
    void filesAndFrames()
    {
        QVERIFY(QFile::exists(root + "/README.txt"));
        int fine = 0;
        for (int n = 0; n < 120; ++n) {
            const QString number = QString("%1").arg(n + 1, 3, 10, QChar('0'));
            QVERIFY2(i1Files[n].startsWith("I1_" + number + "_") && i1Files[n].endsWith(".tif"),
                     qPrintable(i1Files[n]));
            QCOMPARE(i0Files[n], "I0" + i1Files[n].mid(2));
            QVERIFY(n == 0 || energies[n] > energies[n - 1]);
            if (energies[n] > 7062.0 && energies[n] <= 7150.0 && ++fine)
                QVERIFY(energies[n] - energies[n - 1] <= 2.0);
            for (const TiffData *f : {i0[size_t(n)].get(), i1[size_t(n)].get()})
                QVERIFY(f->width() == Size && f->height() == Size && f->maximum() < 40000
                        && f->minimum() > 200);
        }
        QCOMPARE(fine, 44);
        QCOMPARE(energies.first(), 6060.0);
        QCOMPARE(energies[87], 7158.0);
        QCOMPARE(energies[88], 7189.25);
        QCOMPARE(energies.last(), 8158.0);
        QVERIFY(std::fabs(dark.windowSum(0, 0, Size, Size) / (Size * Size) - 60.0) < 10.0);
    }

    // The references have an edge jump of 1, the oxide's edge about 10 eV
    // above the metal's; each region of the sample, less the support film,
    // absorbs its design thicknesses times the references.
    void absorptionOfTheSample()
    {
        const Curve metal = readReference(root + "/ref_Fe_metal.dat"),
                    oxide = readReference(root + "/ref_Fe2O3.dat");
        for (const Curve *c : {&metal, &oxide}) {
            QVERIFY(c->e.size() >= 100 && c->e.first() <= Edge - 1050
                    && c->e.last() >= Edge + 1040);
            QVERIFY2(std::fabs(edgeJump(*c) - 1.0) < 0.05,
                     qPrintable(QString::number(edgeJump(*c))));
        }
        QVERIFY(metal.at(7116) - metal.at(7100) > 0.5 && oxide.at(7116) - oxide.at(7100) < 0.2
                && oxide.at(7126) - oxide.at(7100) > 0.5);

        const Curve film = absorptionAt(64, 68);
        QVERIFY2(std::fabs(edgeJump(film)) < 0.02, qPrintable(QString::number(edgeJump(film))));
        const struct
        {
            int x, y;
            double metal, oxide;
        } regions[] = {{36, 38, 1.2, 0},                   // metal disc
                       {94, 37, 0, 0.8},                   // oxide block
                       {36, 96, 0.5, 0.5},                 // mixed block
                       {75, 96, 0, 0.2 + 1.4 * 3 / 45},    // thin end of the oxide wedge
                       {114, 96, 0, 0.2 + 1.4 * 42 / 45}}; // thick end
        for (const auto &r : regions) {
            const Curve c = absorptionAt(r.x, r.y);
            double worst = 0.0;
            for (int n = 0; n < 120; ++n) {
                const double e = energies[n];
                worst = std::max(worst, std::fabs(c.mu[n] - film.mu[n] - r.metal * metal.at(e)
                                                  - r.oxide * oxide.at(e)));
            }
            QVERIFY2(worst < 0.03, qPrintable(QString("%1 %2: %3").arg(r.x).arg(r.y).arg(worst)));
        }
    }

    // The headless demo script is the window one ending in "quit". Run by
    // the real program, it saves the spectra of the sample's regions into demo-results/ and ends
    // by itself: five columns of six significant digits, the energies of the
    // frames, a clear Fe K edge in mu, the double-normalized pre-base
    // (mu - pre) / (post - pre); no standard spectrum is set, so its file
    // holds the header only.
    void demoRun()
    {
        const QByteArray script = readFile(DEMO_SCRIPT_DIR "/demo.bat"),
                         headless = readFile(DEMO_SCRIPT_DIR "/demo-headless.bat");
        QVERIFY(!script.isEmpty() && headless.startsWith(script));
        QList<QByteArray> rest;
        for (const QByteArray &line : headless.mid(script.size()).split('\n'))
            if (!line.trimmed().isEmpty() && !line.startsWith('#'))
                rest << line.trimmed();
        QCOMPARE(rest, QList<QByteArray>{"quit"});
        // Offscreen, as every test runs, in the folder that holds demo-data/.
        const QString out = tmp.path() + "/demo-results";
        QVERIFY(QDir().mkpath(out) && QDir::setCurrent(tmp.path()));
        QCOMPARE(QProcess::execute(LUMENOGRAF_EXE,
                                   {"-e", "-b", DEMO_SCRIPT_DIR "/demo-headless.bat", "-x"}),
                 0);
        const QByteArray header =
            "###Lumenograf::XafsSpectrum\n# x  double-normalized-pre-base y pre post\n";
        const QStringList saved = QDir(out).entryList({"*-T.dat"}, QDir::Files);
        QVERIFY(saved.size() >= 3);
        for (const QString &name : saved) {
            QCOMPARE(readFile(out + "/" + name.chopped(5) + "std.dat"), header);
            const QByteArray t = readFile(out + "/" + name);
            QVERIFY(t.startsWith(header) && t.endsWith('\n'));
            const QList<QByteArray> lines = t.mid(header.size()).split('\n');
            QCOMPARE(lines.size(), 120 + 1);
            Curve mu;
            for (int n = 0; n < 120; ++n) {
                const QVector<double> v = numbers(lines[n], '\t');
                QVERIFY2(v.size() == 5 && std::fabs(v[0] - energies[n]) <= 5e-6 * energies[n]
                             && std::fabs(v[1] - (v[2] - v[3]) / (v[4] - v[3]))
                                    < 1e-4 * (1.0 + std::fabs(v[1])),
                         qPrintable(name + ": " + lines[n]));
                mu.e << v[0], mu.mu << v[2];
            }
            QVERIFY2(edgeJump(mu) > 0.5, qPrintable(name));
        }
    }

    // The same bytes on every run; a second run into the same folder leaves
    // exactly one frame per number. Bad command lines end with 2, a folder
    // that cannot be made with 1.
    void runs()
    {
        const QString again = tmp.path() + "/again";
        QCOMPARE(QProcess::execute(MAKE_DEMO_DATA_EXE, {again}), 0);
        for (const QString &name : {QString("dark.tif"), QString("ref_Fe2O3.dat"),
                                    "I1/" + i1Files.value(60), "I0/" + i0Files.value(119)}) {
            const QByteArray first = readFile(root + "/" + name);
            QVERIFY2(!first.isEmpty() && first == readFile(again + "/" + name), qPrintable(name));
        }
        QCOMPARE(QProcess::execute(MAKE_DEMO_DATA_EXE, {again}), 0);
        QCOMPARE(QDir(again + "/I1").entryList({"*.tif"}, QDir::Files).size(), 120);
        QCOMPARE(QProcess::execute(MAKE_DEMO_DATA_EXE, {}), 2);
        QCOMPARE(QProcess::execute(MAKE_DEMO_DATA_EXE, {"a", "b"}), 2);
        QVERIFY(writeFile(tmp.path() + "/a-file", ""));
        QCOMPARE(QProcess::execute(MAKE_DEMO_DATA_EXE, {tmp.path() + "/a-file/data"}), 1);
    }
};

QTEST_GUILESS_MAIN(TestDemoData)
#include "test_demo_data.moc"
