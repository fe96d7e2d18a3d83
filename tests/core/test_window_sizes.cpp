#include "alignment/gui/ImgProc.h"
#include "analysis/gui/Analyzer.h"
#include "analysis/gui/ElemCtrl.h"
#include "analysis/gui/LCFReference.h"
#include "calibration/gui/CalibCtrl.h"
#include "spectrum/gui/XafsView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTranslator>
#include <QtTest>

#include <memory>

// The analysis, calibration, image-processor and spectrum windows on a
// 1366 x 768 laptop screen, in English and in Japanese: each fits, and at the
// size it opens with no control is cut off or squeezed below its text.
class TestWindowSizes : public QObject
{
    Q_OBJECT
private slots:
    void fitsALaptopScreen_data();
    void fitsALaptopScreen();
    void analyzerRowsShowWhole();
};

// The same measure as the main window's: buttons, check boxes, radio
// buttons and labels show all of their text, other controls their minimum.
static QString clipped(QWidget *window)
{
    const QRect inner(QPoint(0, 0), window->size());
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() != window || !w->isVisibleTo(window))
            continue;
        if (!qobject_cast<QAbstractButton *>(w) && !qobject_cast<QLineEdit *>(w)
            && !qobject_cast<QLabel *>(w) && !qobject_cast<QComboBox *>(w)
            && !qobject_cast<QSlider *>(w))
            continue;
        const QString what = w->objectName().isEmpty() ? w->property("text").toString()
                                                        : w->objectName();
        if (!inner.contains(QRect(w->mapTo(window, QPoint(0, 0)), w->size())))
            return what + QStringLiteral(" is cut off");
        QSize need = w->minimumSizeHint();
        if (auto *b = qobject_cast<QPushButton *>(w))
            need.setWidth(b->fontMetrics().horizontalAdvance(b->text()) + 6);
        else if (qobject_cast<QAbstractButton *>(w))
            need = w->sizeHint();
        else if (qobject_cast<QLabel *>(w))
            need = w->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored
                       ? QSize(0, w->minimumSizeHint().height())
                       : w->sizeHint();
        if (w->width() < need.width() || w->height() < need.height())
            return QStringLiteral("%1 is squeezed to %2 x %3 (needs %4 x %5)")
                .arg(what)
                .arg(w->width())
                .arg(w->height())
                .arg(need.width())
                .arg(need.height());
    }
    return QString();
}

void TestWindowSizes::fitsALaptopScreen_data()
{
    QTest::addColumn<int>("window");
    QTest::addColumn<bool>("japanese");
    const char *const names[] = {"analyzer", "calibration", "image processor", "spectrum"};
    for (int i = 0; i < 4; ++i) {
        QTest::newRow(qPrintable(QStringLiteral("%1 en").arg(names[i]))) << i << false;
        QTest::newRow(qPrintable(QStringLiteral("%1 ja").arg(names[i]))) << i << true;
    }
}

void TestWindowSizes::fitsALaptopScreen()
{
    QFETCH(int, window);
    QFETCH(bool, japanese);
    QTranslator translator;
    if (japanese) {
        QVERIFY(translator.load(QStringLiteral(":Lumenograf_ja_JP"),
                                QCoreApplication::applicationDirPath()));
        QApplication::installTranslator(&translator);
    }
    std::unique_ptr<QWidget> w;
    switch (window) {
    case 0:
        w.reset(new Analyzer);
        break;
    case 1:
        w.reset(new CalibCtrl);
        break;
    case 2:
        w.reset(new ImgProc);
        break;
    default:
        w.reset(new XafsView);
        break;
    }
    if (japanese)
        QApplication::removeTranslator(&translator);
    // 1366 x 768 less a title bar and a task bar.
    const QSize screen(1366, 700);
    const QSize least = w->minimumSizeHint();
    QVERIFY2(least.width() <= screen.width() && least.height() <= screen.height(),
             qPrintable(QStringLiteral("needs %1 x %2").arg(least.width()).arg(least.height())));
    // The size it opens with (kept on the screen), and its smallest.
    for (const QSize size : {w->sizeHint().boundedTo(screen), least}) {
        w->resize(size);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QApplication::processEvents();
        const QString fault = clipped(w.get());
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }
}

// The element and reference rows the user adds are seen whole in the
// analyzer as it opens: no sideways scrolling, two rows in view.
void TestWindowSizes::analyzerRowsShowWhole()
{
    Analyzer a;
    a.show();
    QVERIFY(QTest::qWaitForWindowExposed(&a));
    QTest::mouseClick(a.findChild<QAbstractButton *>(QStringLiteral("SelElemA")), Qt::LeftButton);
    auto *names = a.findChild<QLineEdit *>(QStringLiteral("AElemNames"));
    names->clear();
    QTest::keyClicks(names, QStringLiteral("Fe Cu Zn"));
    QTest::keyClick(names, Qt::Key_Return);
    QCOMPARE(a.elemCount(), 3);
    while (a.addReference()) {
    }
    QApplication::processEvents();
    QVERIFY(a.width() <= 1366 && a.height() <= 700);
    for (QWidget *row : {static_cast<QWidget *>(a.elem(0)), static_cast<QWidget *>(a.elem(1)),
                         static_cast<QWidget *>(a.findChild<LCFReference *>())}) {
        QScrollArea *area = nullptr;
        for (QWidget *w = row; w && !area; w = w->parentWidget())
            area = qobject_cast<QScrollArea *>(w);
        QVERIFY(area);
        QVERIFY(!area->horizontalScrollBar()->isVisible());
        // Whole rows, scrolled rather than squeezed.
        const QSize whole = row->sizeHint();
        QVERIFY(row->height() >= whole.height() && row->width() >= whole.width());
        QVERIFY(area->viewport()->height() >= 2 * whole.height());
        QVERIFY(area->viewport()->width() >= whole.width());
    }
}

QTEST_MAIN(TestWindowSizes)
#include "test_window_sizes.moc"
