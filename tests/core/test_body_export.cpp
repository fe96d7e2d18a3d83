#include "core/gui/SaveDataCfg.h"
#include "widgets/gui/ColorBar.h"

#include "CoreWidgets.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

// Saving from the main window as a script does it: pictures, the spectra of
// every bin, flat and dark frames, the save settings.
class TestBodyExport : public QObject
{
    Q_OBJECT
private slots:
    void scriptSavesPicturesSpectraAndFrames();
    void saveSettingsCommands();
};

static QStringList fileLines(const QString &path)
{
    return QString::fromLatin1(readFile(path)).split('\n');
}

// The saved picture equals `want` pixel for pixel.
static bool samePicture(const QString &path, const QImage &want)
{
    return QImage(path).convertToFormat(want.format()) == want;
}

void TestBodyExport::scriptSavesPicturesSpectraAndFrames()
{
    // 6 x 5 frames: I1 k holds 50 + 100 k + x + 7 y, I0 1000, the dark 10.
    QTemporaryDir dir;
    const QString d = dir.path() + QLatin1Char('/');
    for (int k = 0; k < 3; ++k)
        QVERIFY(writeFrameFile(d + QStringLiteral("i1_%1_0000.tif").arg(7000 + 10 * k), 6, 5,
                               [k](int x, int y) { return 50 + 100 * k + x + 7 * y; }));
    for (const char *name : {"i0_7000_0000.tif", "i0_7020_0000.tif", "dark.tif"})
        QVERIFY(writeFrameFile(d + name, 6, 5,
                               [name](int, int) { return name[0] == 'd' ? 10 : 1000; }));
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    Body body;
    QVERIFY(runAndWait(body, "load_I0_files_of_pattern NEW " + d + " i0_*.tif"));
    QVERIFY(runAndWait(body, "load_I1_files_of_pattern NEW " + d + " i1_*.tif"));

    // The frame on show, cut to the view window, and the colour bar beside it.
    QCOMPARE(runLines(body,
                      QStringLiteral("seek_image 1\nsave_image %1shot.png\nselect_region 2 1 5 4\n"
                                     "zoom_in\nsave_image_w_num %1shot.png 3\nscale_reset")
                          .arg(d)),
             QString());
    const QImage picture = body.stacks().i1().at(1)->picture();
    QVERIFY(samePicture(d + "shot.png", picture.copy(0, 0, 6, 5)));
    QVERIFY(samePicture(d + "shot-cBar.png", child<ColorBar>(&body, "CBar")->picture()));
    QVERIFY(samePicture(d + "shot-3.png", picture.copy(2, 1, 3, 3)));
    QVERIFY(QFile::exists(d + "shot-3-cBar.png"));

    // One-pixel bins over x 1..4, y 1..3: twelve bins; raw sums at (1, 1)
    // are 50 + 100 k + 8 (no dark in raw sums). Raw XAFS at (2, 3) is
    // ln((I0 - D) / (I1 - D)); a kind that does not exist changes nothing.
    QCOMPARE(runLines(body,
                      QStringLiteral("load_dark_file %1dark.tif\nselect_region 1 1 5 4\n"
                                     "set_band_w 0\nset_band_h 0\nsave_each_spectrum_kind 2\n"
                                     "save_each_spectrum %1raw\nsave_each_spectrum_kind 1\n"
                                     "save_each_spectrum_kind 7\nsave_each_spectrum %1xafs.dat\n"
                                     "save_each_spectrum_kind 0\nsave_each_spectrum %1norm.dat\n"
                                     "clear_dark_file\nsave_flat_dark")
                          .arg(d)),
             QString());
    const QStringList raw = fileLines(d + "raw.dat");
    QCOMPARE(raw.size(), 7 + 12 + 1);
    QCOMPARE(raw.mid(0, 8),
             QStringList({"# Lumenograf Save Raw Spectra 1.0", "# X-Range (x0, x1), steps : 1 5 4",
                          "# Y-Range (y0, y1), steps : 1 4 3", "# Full Width, Height      : 6 5",
                          "# Bin Half Width, Height  : 0 0", "# Step dX, dY             : 1 1",
                          "# End of Header", "1 1 7000 58 7010 158 7020 258"}));
    QString line = QStringLiteral("2 3 0");
    for (int k = 0; k < 3; ++k) {
        QString v;
        QTextStream(&v) << std::log(990.0 / (50 + 100 * k + 2 + 21 - 10));
        line += QStringLiteral(" %1 %2").arg(7000 + 10 * k).arg(v);
    }
    QCOMPARE(fileLines(d + "xafs.dat").value(7 + 4 * 2 + 1), line);
    QCOMPARE(fileLines(d + "norm.dat").value(0),
             QStringLiteral("# Lumenograf Save Normalized Xafs Spectra 1.0"));
    QVERIFY(!body.stacks().hasDark());
    // Flat and dark frames of the frame size, in the working folder.
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
    QCOMPARE(runLines(body, "saveDataCfg_save_as_text\nsaveDataCfg_text_as_ssv\n"
                            "saveDataCfg_text_as_vals\nsaveDataCfg_tiff_fix_scale 1\n"
                            "saveDataCfg_tiff_scale_min -2.5\nsaveDataCfg_tiff_scale_max 007\n"
                            "saveDataCfg_tiff_as_analyzed 1"),
             QString());
    QVERIFY(!cfg->saveAsTiff() && !cfg->textAsCSV() && !cfg->textAsXYVal());
    QVERIFY(cfg->tiffScaleFixed() && cfg->tiffAsAnalyzed());
    QCOMPARE(QPointF(cfg->tiffScaleMin(), cfg->tiffScaleMax()), QPointF(-2.5, 7.0));
    QVERIFY(child<QRadioButton>(cfg, "TextComma")->isEnabledTo(cfg));
    QVERIFY(!child<QCheckBox>(cfg, "TiffFixedScale")->isEnabledTo(cfg));
    QCOMPARE(runLines(body, "saveDataCfg_save_as_tiff\nsaveDataCfg_text_as_csv\n"
                            "saveDataCfg_text_as_xyz"),
             QString());
    QVERIFY(cfg->saveAsTiff() && cfg->textAsCSV() && cfg->textAsXYVal());
    QVERIFY(child<QCheckBox>(cfg, "TiffFixedScale")->isEnabledTo(cfg));
}

QTEST_MAIN(TestBodyExport)
#include "test_body_export.moc"
