#include "batch/CmdLine.h"
#include "core/gui/Body.h"
#include "core/gui/SaveDataCfg.h"
#include "input/TiffData.h"
#include "widgets/gui/ColorBar.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <cmath>
#include <vector>

// Saving from the main window as a script does it: pictures, the spectra of
// every bin in the three kinds, flat and dark frames, the save settings.
class TestBodyExport : public QObject
{
    Q_OBJECT
private slots:
    void scriptSavesPicturesSpectraAndFrames();
    void saveSettingsCommands();
};

namespace {

int run(Body &body, const QString &statement)
{
    QSignalSpy done(&body, &Body::finishBatchExec);
    body.execCmdSlot(CmdLine(statement), false);
    return done.count();
}

void runAndWait(Body &body, const QString &statement)
{
    QSignalSpy done(&body, &Body::finishBatchExec);
    body.execCmdSlot(CmdLine(statement), false);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
}

// A 6 x 5 frame file whose pixel (x, y) holds base + x + 7 y (ramp) or base.
void writeFrame(const QString &path, int base, bool ramp)
{
    std::vector<quint16> px(30);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            px[size_t(y * 6 + x)] = quint16(base + (ramp ? x + 7 * y : 0));
    QVERIFY(writeTiff16(path, 6, 5, px.data()));
}

QStringList fileLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'));
}

// A number as the program's text files write it.
QString streamed(double v)
{
    QString s;
    QTextStream(&s) << v;
    return s;
}

} // namespace

void TestBodyExport::scriptSavesPicturesSpectraAndFrames()
{
    QTemporaryDir dir;
    const QString d = dir.path() + QLatin1Char('/');
    for (int k = 0; k < 3; ++k)
        writeFrame(d + QStringLiteral("i1_%1_0000.tif").arg(7000 + 10 * k), 50 + 100 * k, true);
    writeFrame(d + "i0_7000_0000.tif", 1000, false);
    writeFrame(d + "i0_7020_0000.tif", 1000, false);
    writeFrame(d + "dark.tif", 10, false);
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.path());

    Body body;
    runAndWait(body, QStringLiteral("load_I0_files_of_pattern NEW %1 i0_*.tif").arg(d));
    runAndWait(body, QStringLiteral("load_I1_files_of_pattern NEW %1 i1_*.tif").arg(d));

    // The frame on show, cut to the view window (the whole frame), and the
    // colour bar beside it.
    QCOMPARE(run(body, "seek_image 1"), 1);
    QCOMPARE(run(body, "save_image " + d + "shot.png"), 1);
    const QImage expected = body.stacks().i1().at(1)->picture().copy(0, 0, 6, 5);
    QCOMPARE(QImage(d + "shot.png").convertToFormat(expected.format()), expected);
    const QImage bar = body.findChild<ColorBar *>("CBar")->picture();
    QCOMPARE(QImage(d + "shot-cBar.png").convertToFormat(bar.format()), bar);
    // Zoomed in, the picture is cut to the view window.
    QCOMPARE(run(body, "select_region 2 1 5 4"), 1);
    QCOMPARE(run(body, "zoom_in"), 1);
    QCOMPARE(run(body, "save_image_w_num " + d + "shot.png 3"), 1);
    const QImage zoomed = body.stacks().i1().at(1)->picture().copy(2, 1, 3, 3);
    QCOMPARE(QImage(d + "shot-3.png").convertToFormat(zoomed.format()), zoomed);
    QVERIFY(QFile::exists(d + "shot-3-cBar.png"));
    QCOMPARE(run(body, "scale_reset"), 1);

    // One-pixel bins over x 1..4, y 1..3: twelve bins.
    QCOMPARE(run(body, "load_dark_file " + d + "dark.tif"), 1);
    for (const char *s :
         {"select_region 1 1 5 4", "set_band_w 0", "set_band_h 0", "save_each_spectrum_kind 2"})
        QCOMPARE(run(body, QString::fromLatin1(s)), 1);
    QCOMPARE(run(body, "save_each_spectrum " + d + "raw"), 1);
    QStringList raw = fileLines(d + "raw.dat");
    QCOMPARE(raw.mid(0, 8),
             QStringList({"# Lumenograf Save Raw Spectra 1.0", "# X-Range (x0, x1), steps : 1 5 4",
                          "# Y-Range (y0, y1), steps : 1 4 3", "# Full Width, Height      : 6 5",
                          "# Bin Half Width, Height  : 0 0", "# Step dX, dY             : 1 1",
                          "# End of Header",
                          // I1 sums at (1, 1), no dark: 50 + 100 k + 8.
                          "1 1 7000 58 7010 158 7020 258"}));
    QCOMPARE(raw.size(), 7 + 12 + 1);

    // Raw XAFS at (2, 3): ln((I0 - D) / (I1 - D)), the dark taken off both.
    QCOMPARE(run(body, "save_each_spectrum_kind 1"), 1);
    QCOMPARE(run(body, "save_each_spectrum_kind 7"), 1); // no such kind: unchanged
    QCOMPARE(run(body, "save_each_spectrum " + d + "xafs.dat"), 1);
    const QStringList xafs = fileLines(d + "xafs.dat");
    QString line = QStringLiteral("2 3 0");
    for (int k = 0; k < 3; ++k)
        line += QStringLiteral(" %1 %2")
                    .arg(7000 + 10 * k)
                    .arg(streamed(std::log(990.0 / (50 + 100 * k + 2 + 21 - 10))));
    QCOMPARE(xafs.at(7 + 4 * 2 + 1), line);

    QCOMPARE(run(body, "save_each_spectrum_kind 0"), 1);
    QCOMPARE(run(body, "save_each_spectrum " + d + "norm.dat"), 1);
    QCOMPARE(fileLines(d + "norm.dat").value(0),
             QStringLiteral("# Lumenograf Save Normalized Xafs Spectra 1.0"));

    QCOMPARE(run(body, "clear_dark_file"), 1);
    QVERIFY(!body.stacks().hasDark());

    // Flat and dark frames of the frame size, in the working folder (their
    // samples are the writer's to test).
    QCOMPARE(run(body, "save_flat_dark"), 1);
    for (const char *name : {"flat.dat", "dark.dat"}) {
        TiffData t;
        QVERIFY(t.read(d + name));
        QCOMPARE(QSize(t.width(), t.height()), QSize(6, 5));
    }
    QDir::setCurrent(cwd);
}

// The settings window follows its commands.
void TestBodyExport::saveSettingsCommands()
{
    Body body;
    SaveDataCfg *cfg = body.findChild<SaveDataCfg *>();
    QVERIFY(cfg);
    for (const char *s :
         {"saveDataCfg_save_as_text", "saveDataCfg_text_as_ssv", "saveDataCfg_text_as_vals",
          "saveDataCfg_tiff_fix_scale 1", "saveDataCfg_tiff_scale_min -2.5",
          "saveDataCfg_tiff_scale_max 007", "saveDataCfg_tiff_as_analyzed 1"})
        QCOMPARE(run(body, QString::fromLatin1(s)), 1);
    QVERIFY(!cfg->saveAsTiff() && !cfg->textAsCSV() && !cfg->textAsXYVal());
    QVERIFY(cfg->tiffScaleFixed() && cfg->tiffAsAnalyzed());
    QCOMPARE(cfg->tiffScaleMin(), -2.5);
    QCOMPARE(cfg->tiffScaleMax(), 7.0);
    QVERIFY(cfg->findChild<QRadioButton *>("TextComma")->isEnabledTo(cfg));
    QVERIFY(!cfg->findChild<QCheckBox *>("TiffFixedScale")->isEnabledTo(cfg));
    for (const char *s :
         {"saveDataCfg_save_as_tiff", "saveDataCfg_text_as_csv", "saveDataCfg_text_as_xyz"})
        QCOMPARE(run(body, QString::fromLatin1(s)), 1);
    QVERIFY(cfg->saveAsTiff() && cfg->textAsCSV() && cfg->textAsXYVal());
    QVERIFY(cfg->findChild<QCheckBox *>("TiffFixedScale")->isEnabledTo(cfg));
}

QTEST_MAIN(TestBodyExport)
#include "test_body_export.moc"
