#include "alignment/gui/ImgProc.h"
#include "analysis/gui/Analyzer.h"
#include "calibration/gui/CalibCtrl.h"
#include "core/gui/Body.h"
#include "spectrum/gui/XafsView.h"
#include "widgets/gui/ImgDispA.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTranslator>
#include <QtTest>

#include <memory>

// The main, analysis, calibration, image-processor and spectrum windows on a
// 1366 x 768 screen (less a title bar and a task bar), in both languages.
class TestWindowSizes : public QObject
{
    Q_OBJECT
private slots:
    void fitsALaptopScreen_data();
    void fitsALaptopScreen();
    void displayTakesTheSpareRoom();
};

static const QSize screen(1366, 700);

// The first control cut off by the window or squeezed below its text (the
// main window's measure), or an empty text.
static QString clipped(QWidget *window)
{
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() != window || !w->isVisibleTo(window)
            || !(qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w)
                 || qobject_cast<QLabel *>(w) || qobject_cast<QComboBox *>(w)
                 || qobject_cast<QSlider *>(w)))
            continue;
        QSize need = w->minimumSizeHint();
        if (auto *b = qobject_cast<QPushButton *>(w))
            need.setWidth(b->fontMetrics().horizontalAdvance(b->text()) + 6);
        else if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QLabel *>(w))
            need = w->sizeHint();
        if (qobject_cast<QLabel *>(w) && w->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored)
            need.setWidth(0);
        if (!window->rect().contains(QRect(w->mapTo(window, QPoint(0, 0)), w->size()))
            || w->width() < need.width() || w->height() < need.height())
            return w->objectName() + QLatin1Char(' ') + w->property("text").toString();
    }
    return QString();
}

void TestWindowSizes::fitsALaptopScreen_data()
{
    QTest::addColumn<int>("window");
    QTest::addColumn<bool>("japanese");
    const char *const names[] = {"analyzer", "calibration", "imgproc", "spectrum", "main"};
    for (int i = 0; i < 5; ++i)
        for (bool ja : {false, true})
            QTest::addRow("%s %s", ja ? "ja" : "en", names[i]) << i << ja;
}

void TestWindowSizes::fitsALaptopScreen()
{
    QFETCH(int, window);
    QFETCH(bool, japanese);
    QTranslator ja;
    if (japanese) {
        QVERIFY(ja.load(QStringLiteral(":Lumenograf_ja_JP")));
        QApplication::installTranslator(&ja);
    }
    std::unique_ptr<QWidget> w;
    if (window == 0)
        w.reset(new Analyzer);
    else if (window == 1)
        w.reset(new CalibCtrl);
    else if (window == 2)
        w.reset(new ImgProc);
    else if (window == 3)
        w.reset(new XafsView);
    else
        w.reset(new Body);
    const QSize least = w->minimumSizeHint();
    QVERIFY(least.width() <= screen.width() && least.height() <= screen.height());
    // At the size it opens with and at its smallest; the main window fills the screen.
    const QSize opens = w->sizeHint().boundedTo(screen);
    for (const QSize size : window == 4 ? QVector<QSize>{screen} : QVector<QSize>{opens, least}) {
        w->resize(size);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY2(clipped(w.get()).isEmpty(), qPrintable(clipped(w.get())));
    }
}

// The main window gives its spare room to the display.
void TestWindowSizes::displayTakesTheSpareRoom()
{
    Body b;
    b.resize(screen);
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    auto *disp = b.findChild<ImgDispA *>(QStringLiteral("dispA"));
    const QSize large = disp->size();
    QVERIFY(large.width() > 550 && large.height() > 500);
    b.resize(screen - QSize(200, 100));
    QApplication::processEvents();
    QCOMPARE(disp->size(), large - QSize(200, 100));
}

QTEST_MAIN(TestWindowSizes)
#include "test_window_sizes.moc"
