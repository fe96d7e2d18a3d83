#include "input/gui/EOFSetup.h"
#include "input/gui/SelectDataFiles.h"

#include "CoreWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <cmath>

namespace {

QRadioButton *radio(QWidget *w, const char *name)
{
    return child<QRadioButton>(w, name);
}

QString text(QWidget *w, const char *name)
{
    return child<QLineEdit>(w, name)->text();
}

// Types into a field as a user would: select all, type, press Return.
void typeInto(QWidget *w, const char *name, const QString &text)
{
    QLineEdit *e = child<QLineEdit>(w, name);
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

} // namespace

class TestSelectDataFiles : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void setupByTyping()
    {
        EOFSetup s;
        s.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s));
        typeInto(&s, "Start", "8100");
        QCOMPARE(text(&s, "End"), QStringLiteral("9100"));
        typeInto(&s, "End", "9600");
        QCOMPARE(text(&s, "Delta"), QStringLiteral("1.5"));
        typeInto(&s, "NumOfPoints", "500");
        QCOMPARE(text(&s, "Delta"), QStringLiteral("3"));
        typeInto(&s, "Delta", "0.3333333333");
        QCOMPARE(text(&s, "End"), QStringLiteral("8266.67"));
        // Pattern typed: the factor follows keV.
        typeInto(&s, "Pattern", "\\d\\d\\d\\dkeV");
        QCOMPARE(text(&s, "Factor"), QStringLiteral("1000"));

        // Picking pattern 9 from the list copies it and sets the factor.
        auto *list = child<QComboBox>(&s, "PatternList");
        list->setFocus();
        for (int i = 0; i < 8; ++i)
            QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(text(&s, "Pattern"), QStringLiteral("\\d_\\d\\d\\d\\d\\d\\dKeV"));
        QCOMPARE(s.energyOf("/d/scan_8_979000KeV.img", 2), 8979.0);

        // By number, even in energy, keV: the mode and the spacing are
        // separate choices.
        radio(&s, "FromFileNum")->click();
        QVERIFY(radio(&s, "EvenInAngle")->isChecked() && !radio(&s, "FromFileName")->isChecked());
        radio(&s, "EvenInEnergy")->click();
        QVERIFY(radio(&s, "FromFileNum")->isChecked());
        typeInto(&s, "Start", "8");
        typeInto(&s, "Delta", "0.5");
        child<QComboBox>(&s, "DisplayUnit")->setCurrentIndex(1);
        QCOMPARE(s.energyOf("Sample_9000_1234.tif", 4), 10000.0);
        // Fields that do not parse count as 0.
        typeInto(&s, "Start", "abc");
        QCOMPARE(s.energyOf("", 4), 2000.0);
    }

    // A reference file chosen shows its path and gives the energies once
    // its mode is chosen; one that cannot be opened leaves path and list.
    void setupRefFile()
    {
        const QString p = dir.filePath("angles.dat");
        QVERIFY(writeFile(p, "angles\n14.0\n13.5\n"));
        EOFSetup s;
        s.refFileSelected(p);
        QCOMPARE(s.energyOf("Sample_9000_1234.tif", 1), 9000.1234);
        radio(&s, "FromRefFile")->click();
        s.refFileSelected(dir.filePath("gone.dat"));
        QCOMPARE(text(&s, "RefFilePath"), p);
        QVERIFY(std::fabs(s.energyOf("x", 0) - braggEnergy(14.0)) < 1e-6);
        QVERIFY(std::fabs(s.energyOf("x", 9) - braggEnergy(13.5)) < 1e-6);
    }

    void panel()
    {
        TestPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        auto *select = child<QPushButton>(&panel, "Select");

        // Select: the chosen files go out with the New/Add choice.
        QSignalSpy picked(&panel, &SelectDataFiles::filesSelected);
        panel.chosen = QStringList{"a.tif", "b.tif"};
        QTest::mouseClick(select, Qt::LeftButton);
        QCOMPARE(picked, QList<QVariantList>({{panel.chosen, true}}));
        QTest::mouseClick(radio(&panel, "AddFiles"), Qt::LeftButton, {}, QPoint(5, 5));
        // New/Add is a choice of its own, apart from the energy setup's.
        QVERIFY(radio(panel.energySetup(), "FromFileName")->isChecked());
        QTest::mouseClick(select, Qt::LeftButton);
        QCOMPARE(picked[1][1].toBool(), false);
        // A cancelled dialog sends nothing.
        panel.chosen.clear();
        QTest::mouseClick(select, Qt::LeftButton);
        QCOMPARE(picked.count(), 2);

        QSignalSpy cleared(&panel, &SelectDataFiles::clear);
        QTest::mouseClick(child<QPushButton>(&panel, "Clear"), Qt::LeftButton);
        QCOMPARE(cleared.count(), 1);

        // The thinning fields as integers; text that does not parse is 0.
        typeInto(&panel, "Skip", "3");
        typeInto(&panel, "CutFirst", "x");
        typeInto(&panel, "CutLast", "2");
        QCOMPARE(QVector<int>({panel.skip(), panel.cutFirst(), panel.cutLast()}),
                 QVector<int>({3, 0, 2}));

        QSignalSpy shown(&panel, &SelectDataFiles::currentIndexChanged);
        QCOMPARE(panel.addFile("/d/Sample_9000_1234.tif", 0), 9000.1234);
        QCOMPARE(panel.addFile("/d/Sample_9001_0000.tif", 1), 9001.0);
        // An unreadable file 2 never reaches the panel: fNo 3 is the third entry.
        QCOMPARE(panel.addFile("/d/plain.tif", 3), 3.0);
        QCOMPARE(child<QLabel>(&panel, "Count")->text(), QStringLiteral("3"));
        QVERIFY(panel.fileAt(1) == "/d/Sample_9001_0000.tif" && panel.energyAt(2) == 3.0);

        // The first entry became current when added; moves stop at the ends
        // and indices outside the list do nothing. Each move shows its frame.
        QVector<int> seen{panel.currentIndex()};
        for (auto move : {&SelectDataFiles::next, &SelectDataFiles::next, &SelectDataFiles::next,
                          &SelectDataFiles::prev}) {
            (panel.*move)();
            seen << panel.currentIndex();
        }
        for (int i : {7, -1, 0}) {
            panel.select(i);
            seen << panel.currentIndex();
        }
        panel.prev();
        seen << panel.currentIndex();
        QCOMPARE(seen, QVector<int>({0, 1, 2, 2, 1, 1, 1, 0, 0}));
        QCOMPARE(shown, QList<QVariantList>({{0}, {1}, {2}, {1}, {0}}));

        // Without Show Latest the index moves but nothing is shown.
        QTest::mouseClick(child<QCheckBox>(&panel, "ShowLatest"), Qt::LeftButton, {}, QPoint(5, 5));
        panel.select(2);
        QVERIFY(panel.currentIndex() == 2 && shown.count() == 5);
        panel.setShowLatest(true);
        child<QComboBox>(&panel, "Selected")->setCurrentIndex(1); // as the user would pick it
        QVERIFY(shown.count() == 6 && shown.last()[0].toInt() == 1);
        panel.clearFiles();
        QCOMPARE(child<QLabel>(&panel, "Count")->text(), QStringLiteral("0"));
    }
};

QTEST_MAIN(TestSelectDataFiles)
#include "test_selectdatafiles.moc"
