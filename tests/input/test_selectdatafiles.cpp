#include "input/gui/EOFSetup.h"
#include "input/gui/SelectDataFiles.h"

#include "LogCapture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

template <typename T>
T *child(QWidget *w, const char *name)
{
    T *c = w->findChild<T *>(QString::fromLatin1(name));
    if (!c)
        qWarning("missing control %s", name);
    return c;
}

// Types into a field as a user would: select all, type, press Return.
void typeInto(QLineEdit *e, const QString &text)
{
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Return);
}

class TestPanel : public SelectDataFiles
{
public:
    QStringList chosen;

protected:
    QStringList chooseFiles() override { return chosen; }
};

const double hc = 12398.424360387684;
const double twoD = 2 * 3.13553;

} // namespace

class TestSelectDataFiles : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void setupDefaults()
    {
        EOFSetup s;
        QVERIFY(child<QRadioButton>(&s, "FromFileName")->isChecked());
        QCOMPARE(child<QRadioButton>(&s, "FromFileName")->text(),
                 QStringLiteral("Energy Cal. from File Name"));
        QCOMPARE(child<QRadioButton>(&s, "FromFileNum")->text(),
                 QStringLiteral("Energy Cal. from File No."));
        QCOMPARE(child<QRadioButton>(&s, "FromRefFile")->text(),
                 QStringLiteral("Energy Cal. from Ref. File"));
        QCOMPARE(child<QLineEdit>(&s, "Pattern")->text(),
                 QStringLiteral("(\\d|)\\d\\d\\d\\d_\\d\\d\\d\\d"));
        QCOMPARE(child<QComboBox>(&s, "PatternList")->count(), 9);
        QCOMPARE(child<QLineEdit>(&s, "Factor")->text(), QStringLiteral("1"));
        auto *unit = child<QComboBox>(&s, "DisplayUnit");
        QCOMPARE(unit->count(), 3);
        QCOMPARE(unit->itemText(0), QStringLiteral("eV"));
        QCOMPARE(unit->itemText(1), QStringLiteral("keV"));
        QCOMPARE(unit->itemText(2), QStringLiteral("deg"));
        QCOMPARE(unit->currentIndex(), 0);
        QVERIFY(child<QRadioButton>(&s, "EvenInAngle")->isChecked());
        QVERIFY(!child<QRadioButton>(&s, "EvenInEnergy")->isChecked());
        QCOMPARE(child<QLineEdit>(&s, "Start")->text(), QStringLiteral("8000"));
        QCOMPARE(child<QLineEdit>(&s, "End")->text(), QStringLiteral("9000"));
        QCOMPARE(child<QLineEdit>(&s, "Delta")->text(), QStringLiteral("1"));
        QCOMPARE(child<QLineEdit>(&s, "NumOfPoints")->text(), QStringLiteral("1000"));
        QCOMPARE(child<QPushButton>(&s, "SelRefFile")->text(), QStringLiteral("Sel."));
        QVERIFY(child<QLineEdit>(&s, "RefFilePath")->text().isEmpty());
        // Choosing energy-even and angle-even are one group, the modes another.
        child<QRadioButton>(&s, "EvenInEnergy")->click();
        QVERIFY(child<QRadioButton>(&s, "FromFileName")->isChecked());
        QCOMPARE(s.energyOf("Sample_9000_1234.tif", 0), 9000.1234);
    }

    void setupByTyping()
    {
        EOFSetup s;
        s.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s));
        auto *start = child<QLineEdit>(&s, "Start");
        auto *end = child<QLineEdit>(&s, "End");
        auto *delta = child<QLineEdit>(&s, "Delta");
        auto *num = child<QLineEdit>(&s, "NumOfPoints");
        typeInto(start, "8100");
        QCOMPARE(end->text(), QStringLiteral("9100"));
        typeInto(end, "9600");
        QCOMPARE(delta->text(), QStringLiteral("1.5"));
        typeInto(num, "500");
        QCOMPARE(delta->text(), QStringLiteral("3"));
        typeInto(delta, "0.3333333333");
        QCOMPARE(end->text(), QStringLiteral("8266.67"));
        // N = 0 leaves Delta alone.
        typeInto(num, "0");
        QCOMPARE(delta->text(), QStringLiteral("0.3333333333"));

        // Pattern typed: the factor follows keV.
        auto *pattern = child<QLineEdit>(&s, "Pattern");
        auto *factor = child<QLineEdit>(&s, "Factor");
        typeInto(pattern, "\\d\\d\\d\\dkeV");
        QCOMPARE(factor->text(), QStringLiteral("1000"));
        typeInto(pattern, "\\d\\d\\d\\d_\\d\\d");
        QCOMPARE(factor->text(), QStringLiteral("1"));

        // Picking pattern 9 from the list copies it and sets the factor.
        auto *list = child<QComboBox>(&s, "PatternList");
        list->setFocus();
        for (int i = 0; i < 8; ++i)
            QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentIndex(), 8);
        QCOMPARE(pattern->text(), QStringLiteral("\\d_\\d\\d\\d\\d\\d\\dKeV"));
        QCOMPARE(factor->text(), QStringLiteral("1000"));
        QCOMPARE(s.energyOf("/d/scan_8_979000KeV.img", 2), 8979.0);

        // By number, even in energy, keV.
        child<QRadioButton>(&s, "FromFileNum")->click();
        // The mode and the spacing are separate choices.
        QVERIFY(child<QRadioButton>(&s, "EvenInAngle")->isChecked());
        QVERIFY(!child<QRadioButton>(&s, "FromFileName")->isChecked());
        child<QRadioButton>(&s, "EvenInEnergy")->click();
        QVERIFY(child<QRadioButton>(&s, "FromFileNum")->isChecked());
        typeInto(start, "8");
        typeInto(delta, "0.5");
        auto *unit = child<QComboBox>(&s, "DisplayUnit");
        unit->setCurrentIndex(1);
        QCOMPARE(s.energyOf("Sample_9000_1234.tif", 4), 10000.0);
        // Fields that do not parse count as 0.
        typeInto(start, "abc");
        QCOMPARE(s.energyOf("", 4), 2000.0);
    }

    void setupRefFile()
    {
        const QString p = dir.filePath("angles.dat");
        QFile f(p);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("angles\n14.0\n13.5\n");
        f.close();
        EOFSetup s;
        {
            LogCapture log;
            s.refFileSelected(p);
            QVERIFY(log.lines().contains("reading simple"));
        }
        QCOMPARE(child<QLineEdit>(&s, "RefFilePath")->text(), p);
        // Still by name until the mode is chosen.
        QCOMPARE(s.energyOf("Sample_9000_1234.tif", 1), 9000.1234);
        child<QRadioButton>(&s, "FromRefFile")->click();
        QVERIFY(std::fabs(s.energyOf("x", 1) - hc / (twoD * std::sin(13.5 * M_PI / 180))) < 1e-6);
        QVERIFY(std::fabs(s.energyOf("x", 9) - hc / (twoD * std::sin(13.5 * M_PI / 180))) < 1e-6);
        // A file that cannot be opened leaves path and list as they were.
        LogCapture log;
        s.refFileSelected(dir.filePath("gone.dat"));
        QCOMPARE(log.lines(), QStringList{"Can't open ref file " + dir.filePath("gone.dat")});
        QCOMPARE(child<QLineEdit>(&s, "RefFilePath")->text(), p);
        QVERIFY(std::fabs(s.energyOf("x", 0) - hc / (twoD * std::sin(14.0 * M_PI / 180))) < 1e-6);
    }

    void panelControls()
    {
        TestPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        panel.setDataName("I1 Data");
        QCOMPARE(child<QPushButton>(&panel, "Select")->text(), QStringLiteral("I1 Data"));
        QCOMPARE(panel.energySetup()->windowTitle(), QStringLiteral("I1 Data"));
        QVERIFY(child<QRadioButton>(&panel, "LoadNewFiles")->isChecked());
        QCOMPARE(child<QRadioButton>(&panel, "AddFiles")->text(), QStringLiteral("Add"));
        QCOMPARE(child<QLineEdit>(&panel, "Skip")->text(), QStringLiteral("1"));
        QCOMPARE(child<QLineEdit>(&panel, "CutFirst")->text(), QStringLiteral("0"));
        QCOMPARE(child<QLineEdit>(&panel, "CutLast")->text(), QStringLiteral("0"));
        QVERIFY(child<QCheckBox>(&panel, "ShowLatest")->isChecked());
        QCOMPARE(child<QCheckBox>(&panel, "ShowLatest")->text(), QStringLiteral("Show Latest"));
        QCOMPARE(child<QLabel>(&panel, "Count")->text(), QStringLiteral("0"));
        QCOMPARE(child<QPushButton>(&panel, "EngOfFilesSetup")->text(), QStringLiteral("Setup"));
        QCOMPARE(child<QPushButton>(&panel, "Clear")->text(), QStringLiteral("Clear"));

        // Select: the chosen files go out with the New/Add choice.
        QSignalSpy picked(&panel, &SelectDataFiles::filesSelected);
        panel.chosen = QStringList{"a.tif", "b.tif"};
        QTest::mouseClick(child<QPushButton>(&panel, "Select"), Qt::LeftButton);
        QCOMPARE(picked.count(), 1);
        QCOMPARE(picked[0][0].toStringList(), panel.chosen);
        QCOMPARE(picked[0][1].toBool(), true);
        QTest::mouseClick(child<QRadioButton>(&panel, "AddFiles"), Qt::LeftButton, {},
                          QPoint(5, 5));
        QVERIFY(child<QRadioButton>(&panel, "AddFiles")->isChecked());
        // New/Add is a choice of its own, apart from the energy setup's.
        QVERIFY(child<QRadioButton>(panel.energySetup(), "FromFileName")->isChecked());
        QVERIFY(child<QRadioButton>(panel.energySetup(), "EvenInAngle")->isChecked());
        QTest::mouseClick(child<QPushButton>(&panel, "Select"), Qt::LeftButton);
        QCOMPARE(picked[1][1].toBool(), false);
        // A cancelled dialog sends nothing.
        panel.chosen.clear();
        QTest::mouseClick(child<QPushButton>(&panel, "Select"), Qt::LeftButton);
        QCOMPARE(picked.count(), 2);

        QSignalSpy cleared(&panel, &SelectDataFiles::clear);
        QTest::mouseClick(child<QPushButton>(&panel, "Clear"), Qt::LeftButton);
        QCOMPARE(cleared.count(), 1);

        QTest::mouseClick(child<QPushButton>(&panel, "EngOfFilesSetup"), Qt::LeftButton);
        QVERIFY(panel.energySetup()->isVisible());
        QVERIFY(panel.energySetup()->isWindow());

        // The thinning fields as integers; text that does not parse is 0.
        typeInto(child<QLineEdit>(&panel, "Skip"), "3");
        typeInto(child<QLineEdit>(&panel, "CutFirst"), "x");
        QCOMPARE(panel.skip(), 3);
        QCOMPARE(panel.cutFirst(), 0);
        panel.setCutL(2);
        QCOMPARE(child<QLineEdit>(&panel, "CutLast")->text(), QStringLiteral("2"));
        QCOMPARE(panel.cutLast(), 2);
        panel.setSkip(4);
        panel.setCutF(1);
        QCOMPARE(panel.skip(), 4);
        QCOMPARE(panel.cutFirst(), 1);
    }

    void listAndNavigation()
    {
        TestPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QSignalSpy shown(&panel, &SelectDataFiles::currentIndexChanged);
        QCOMPARE(panel.addFile("/d/Sample_9000_1234.tif", 0), 9000.1234);
        QCOMPARE(panel.addFile("/d/Sample_9001_0000.tif", 1), 9001.0);
        // An unreadable file 2 never reaches the panel: fNo 3 is the third entry.
        QCOMPARE(panel.addFile("/d/plain.tif", 3), 3.0);
        QCOMPARE(panel.count(), 3);
        QCOMPARE(child<QLabel>(&panel, "Count")->text(), QStringLiteral("3"));
        auto *sel = child<QComboBox>(&panel, "Selected");
        QCOMPARE(sel->itemText(1), QStringLiteral("/d/Sample_9001_0000.tif"));
        QCOMPARE(sel->itemData(1).toDouble(), 9001.0);
        QCOMPARE(panel.energyAt(2), 3.0);
        QCOMPARE(panel.fileAt(0), QStringLiteral("/d/Sample_9000_1234.tif"));

        // The first entry became current when added.
        QCOMPARE(panel.currentIndex(), 0);
        QCOMPARE(shown.count(), 1);
        panel.next();
        panel.next();
        panel.next(); // already at the end
        QCOMPARE(panel.currentIndex(), 2);
        panel.prev();
        QCOMPARE(panel.currentIndex(), 1);
        panel.select(7); // beyond the list: nothing
        panel.select(-1);
        QCOMPARE(panel.currentIndex(), 1);
        panel.select(0);
        panel.prev(); // already at the start
        QCOMPARE(panel.currentIndex(), 0);
        QCOMPARE(shown.count(), 5);
        QCOMPARE(shown.last()[0].toInt(), 0);

        // Without Show Latest the index moves but nothing is shown.
        QTest::mouseClick(child<QCheckBox>(&panel, "ShowLatest"), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!panel.showLatest());
        panel.select(2);
        QCOMPARE(panel.currentIndex(), 2);
        QCOMPARE(shown.count(), 5);
        panel.setShowLatest(true);
        sel->setCurrentIndex(1); // as the user would pick it
        QCOMPARE(shown.count(), 6);
        QCOMPARE(shown.last()[0].toInt(), 1);

        panel.clearFiles();
        QCOMPARE(panel.count(), 0);
        QCOMPARE(child<QLabel>(&panel, "Count")->text(), QStringLiteral("0"));
    }

    void batchSetters()
    {
        TestPanel panel;
        EOFSetup *s = panel.energySetup();
        panel.setEngByCalc(true);
        QVERIFY(child<QRadioButton>(s, "FromFileNum")->isChecked());
        QVERIFY(!child<QRadioButton>(s, "FromFileName")->isChecked());
        panel.setEvenInEng(true);
        QVERIFY(child<QRadioButton>(s, "EvenInEnergy")->isChecked());
        panel.setEngCalcStart(8100);
        QCOMPARE(child<QLineEdit>(s, "End")->text(), QStringLiteral("9100"));
        panel.setEngCalcEnd(9600);
        QCOMPARE(child<QLineEdit>(s, "Delta")->text(), QStringLiteral("1.5"));
        panel.setEngCalcNum(500);
        QCOMPARE(child<QLineEdit>(s, "Delta")->text(), QStringLiteral("3"));
        panel.setEngCalcDelta(2.0000004);
        QCOMPARE(child<QLineEdit>(s, "Delta")->text(), QStringLiteral("2"));
        QCOMPARE(child<QLineEdit>(s, "End")->text(), QStringLiteral("9100"));
        QCOMPARE(panel.addFile("Sample_9000_1234.tif", 2), 8104.0);
        panel.setDispUnit(2);
        QCOMPARE(child<QComboBox>(s, "DisplayUnit")->currentIndex(), 2);
        panel.setDispUnit(3); // no such unit
        QCOMPARE(child<QComboBox>(s, "DisplayUnit")->currentIndex(), 2);
        panel.setEvenInDeg(true);
        QVERIFY(child<QRadioButton>(s, "EvenInAngle")->isChecked());

        panel.setEngByName(true);
        panel.setEngByNameRegExp("\\d_\\d\\d\\d\\d\\d\\dKeV");
        QCOMPARE(child<QLineEdit>(s, "Pattern")->text(),
                 QStringLiteral("\\d_\\d\\d\\d\\d\\d\\dKeV"));
        QCOMPARE(child<QLineEdit>(s, "Factor")->text(), QStringLiteral("1")); // not recomputed
        panel.setEngByNameFactor(1000.0000001);
        QCOMPARE(child<QLineEdit>(s, "Factor")->text(), QStringLiteral("1000"));
        QCOMPARE(panel.addFile("x_8_979000KeV.img", 0), 8979.0);

        const QString ref = dir.filePath("r.dat");
        QFile f(ref);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("9809 header\nOffset\n1 14.0\n");
        f.close();
        panel.setEngByRef(ref);
        QVERIFY(child<QRadioButton>(s, "FromRefFile")->isChecked());
        QCOMPARE(child<QLineEdit>(s, "RefFilePath")->text(), ref);
        QVERIFY(std::fabs(panel.addFile("any", 5) - hc / (twoD * std::sin(14.0 * M_PI / 180)))
                < 1e-6);
        panel.setEngByRef(QString());
        QVERIFY(child<QLineEdit>(s, "RefFilePath")->text().isEmpty());
        QVERIFY(child<QRadioButton>(s, "FromRefFile")->isChecked());
    }
};

QTEST_MAIN(TestSelectDataFiles)
#include "test_selectdatafiles.moc"
