#include "input/TiffData.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <cmath>
#include <vector>

// The real program, offscreen, runs a script on stacks this test writes: it
// sets the energies, loads both stacks, moves the position and saves the
// spectrum there inside a loop, then quits. Every number written is checked
// against the absorption worked out here from the counts in the frames.
//
// The frames are far wider than any window on the offscreen screen, so a
// position that went through whole screen pixels would land on another
// image column and give other numbers.
class TestBatchE2E : public QObject
{
    Q_OBJECT
private slots:
    void scriptedSpectraMatchTheCounts();
};

namespace {

const int W = 2000;
const int H = 16;
const int nI1Files = 12; // fNo 0 .. 11; the script cuts the first one
const int nI0 = 12;
const int hw = 1, hh = 2; // the script's band half width and half height

struct Frame
{
    std::vector<quint16> px;
    quint16 at(int x, int y) const { return px[size_t(y) * W + size_t(x)]; }
};

double i1Energy(int fNo)
{
    return 7000.0 + 10.0 * fNo;
} // by calculation
double i0Energy(int j)
{
    return 6995.0 + 10.0 * j;
} // from the name

double windowSum(const Frame &f, int x, int y)
{
    double s = 0.0;
    for (int yy = y - hh; yy <= y + hh; ++yy)
        for (int xx = x - hw; xx <= x + hw; ++xx)
            if (xx >= 0 && yy >= 0 && xx < W && yy < H)
                s += f.at(xx, yy);
    return s;
}

bool writeFrame(const QString &path, const Frame &f)
{
    return writeTiff16(path, W, H, f.px.data());
}

struct Point
{
    double e, mu;
};

// ln(I0 / I1) for every I1 frame the script keeps, with I0 taken on the line
// between the two I0 frames around the I1 energy.
std::vector<Point> expected(const std::vector<Frame> &i1, const std::vector<Frame> &i0, int x,
                            int y)
{
    std::vector<Point> out;
    for (int fNo = 1; fNo < nI1Files; ++fNo) {
        const double e = i1Energy(fNo);
        int j = 0;
        while (j + 2 < nI0 && i0Energy(j + 1) <= e)
            ++j;
        const double s0 = windowSum(i0[size_t(j)], x, y), s1 = windowSum(i0[size_t(j) + 1], x, y);
        const double b = s0 + (s1 - s0) * (e - i0Energy(j)) / (i0Energy(j + 1) - i0Energy(j));
        const double a = windowSum(i1[size_t(fNo)], x, y);
        out.push_back({e, a * b > 0 ? std::log(b / a) : 1.0});
    }
    return out;
}

bool near(double got, double want)
{
    // The file holds 6 significant digits.
    return std::fabs(got - want) <= 6e-6 * std::fabs(want) + 1e-9;
}

} // namespace

void TestBatchE2E::scriptedSpectraMatchTheCounts()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString d = dir.path() + QLatin1Char('/');
    QVERIFY(QDir(d).mkdir("out"));

    // I0: a smooth beam that varies from pixel to pixel and with energy.
    std::vector<Frame> i0(nI0), i1(nI1Files);
    QStringList i1Names;
    for (int j = 0; j < nI0; ++j) {
        i0[size_t(j)].px.resize(size_t(W) * H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                i0[size_t(j)].px[size_t(y) * W + size_t(x)] =
                    quint16(20000 + 40 * j + (x * 37 + y * 101) % 500);
        // The default pattern reads "06995_0000" as 6995 eV.
        const QString name =
            d + QStringLiteral("i0_%1_0000.tif").arg(int(i0Energy(j)), 5, 10, QLatin1Char('0'));
        QVERIFY(writeFrame(name, i0[size_t(j)]));
    }
    // I1: an absorption edge near 7055 eV whose height differs by pixel.
    for (int k = 0; k < nI1Files; ++k) {
        const double e = i1Energy(k);
        i1[size_t(k)].px.resize(size_t(W) * H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const double mu = 0.4
                                  + 0.6 / (1.0 + std::exp(-(e - 7055.0) / 8.0))
                                        * (1.0 + 0.03 * ((x * 13 + y * 7) % 11));
                i1[size_t(k)].px[size_t(y) * W + size_t(x)] =
                    quint16(std::lround((20000 + 4 * k) * std::exp(-mu)));
            }
        // No energy in these names: the script has the energies calculated.
        const QString name = d + QStringLiteral("sample%1.tif").arg(k, 2, 10, QLatin1Char('0'));
        QVERIFY(writeFrame(name, i1[size_t(k)]));
        i1Names << name;
    }

    // The I1 list is given over continued lines; the I0 stack by a pattern,
    // whose files are taken in name order, which is energy order here.
    QString i1List;
    for (int k = 0; k < nI1Files; ++k)
        i1List += QStringLiteral(" \"%1\"%2")
                      .arg(i1Names[k], k + 1 < nI1Files && k % 4 == 3 ? " \\\n" : "");
    const QString script = QStringLiteral("# spectra of a few pixels\n"
                                          "eng_by_calc_i1 1\n"
                                          "eng_calc_even_in_eng_i1 1\n"
                                          "eng_calc_disp_unit_i1 0\n"
                                          "eng_calc_base_i1 7000\n"
                                          "eng_calc_delta_i1 10\n"
                                          "eng_by_name_i0\n"
                                          "set_i0_energy_pattern (\\d|)\\d\\d\\d\\d_\\d\\d\\d\\d\n"
                                          "cut_f_i1 001\n"
                                          "cut_l_i1 0\n"
                                          "skip_i1 1\n"
                                          "SET_BAND_W 1\n"
                                          "set_band_h 2  # five rows\n"
                                          "load_I1_files NEW%1\n"
                                          "load_I0_files_of_pattern new %2 i0_*.tif nothing*.img\n"
                                          "no_such_command 1 2\n"
                                          ":for L @N 0 2\n"
                                          "move_position 12@N3 @N\n"
                                          "save_spectra \"%2out/spec_@N.dat\"\n"
                                          ":next L\n"
                                          "move_position 0 15\n"
                                          "save_spectra %2out/left.dat\n"
                                          "move_position 1999 7\n"
                                          "save_spectra %2out/right.dat\n"
                                          "quit\n"
                                          "save_spectra %2out/never.dat\n")
                               .arg(i1List, d);
    {
        QFile f(d + "run.bat");
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text));
        f.write(script.toUtf8());
    }

    QProcess p;
    p.setWorkingDirectory(d);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(LUMENOGRAF_EXE, {"-e", "-b", d + "run.bat", "-x"});
    QVERIFY(p.waitForStarted(10000));
    const bool ended = p.waitForFinished(300000);
    if (!ended) {
        p.kill();
        p.waitForFinished(10000);
    }
    const QByteArray err = p.readAllStandardError();
    QVERIFY2(ended, err.constData());
    QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, err.constData());

    struct Case
    {
        QString file;
        int x, y;
    };
    const QVector<Case> cases = {{"spec_0", 1203, 0},
                                 {"spec_1", 1213, 1},
                                 {"spec_2", 1223, 2},
                                 {"left", 0, 15},
                                 {"right", 1999, 7}};
    for (const Case &c : cases) {
        QFile f(d + "out/" + c.file + "-T.dat");
        QVERIFY2(f.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(f.fileName()));
        QTextStream in(&f);
        QCOMPARE(in.readLine(), QStringLiteral("###Lumenograf::XafsSpectrum"));
        QCOMPARE(in.readLine(), QStringLiteral("# x  double-normalized-pre-base y pre post"));
        const std::vector<Point> want = expected(i1, i0, c.x, c.y);
        for (const Point &w : want) {
            const QStringList cols = in.readLine().split(QLatin1Char('\t'));
            QCOMPARE(cols.size(), 5);
            QVERIFY2(near(cols[0].toDouble(), w.e), qPrintable(c.file + ": " + cols.join(' ')));
            QVERIFY2(near(cols[2].toDouble(), w.mu),
                     qPrintable(QStringLiteral("%1: mu %2, expected %3 at %4 eV")
                                    .arg(c.file, cols[2])
                                    .arg(w.mu, 0, 'g', 8)
                                    .arg(w.e)));
        }
        QVERIFY(in.readLine().isNull());

        // No standard spectrum was set: its file has the two header lines only.
        QFile s(d + "out/" + c.file + "-std.dat");
        QVERIFY2(s.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(s.fileName()));
        QCOMPARE(s.readAll(),
                 QByteArray(
                     "###Lumenograf::XafsSpectrum\n# x  double-normalized-pre-base y pre post\n"));
    }
    // Nothing runs after "quit".
    QVERIFY(!QFile::exists(d + "out/never-T.dat"));
}

QTEST_GUILESS_MAIN(TestBatchE2E)
#include "test_batch_e2e.moc"
