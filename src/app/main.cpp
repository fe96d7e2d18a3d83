#include "app/OptionTable.h"
#include "app/Settings.h"
#include "batch/gui/BatchCtrl.h"
#include "core/gui/Body.h"

#include <QApplication>
#include <QStyleFactory>
#include <QTranslator>

#include <memory>

int main(int argc, char *argv[])
{
    Settings &s = settings();

    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    readCommandLine(options(), args);

    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication app(argc, argv);
    QTranslator translator;

    settleSettings(options(), s);

    if (s.translate) {
        translator.load(QStringLiteral(":Lumenograf_ja_JP"),
                        QCoreApplication::applicationDirPath());
        app.installTranslator(&translator);
    }

    std::unique_ptr<Body> body(new Body);
    QObject::connect(body.get(), &Body::finishing, &app, &QApplication::closeAllWindows);
    body->show();

    // The batch window takes the script named by "-b" and, with "-x", starts
    // it once the event loop runs, so the main window is on screen first.
    if (!s.batchFile.isEmpty())
        body->batchCtrl()->setBatchFile(s.batchFile);
    // A script started from the command line may run where no one sees the
    // batch window (offscreen, a scheduled job): its log goes to standard
    // output as well.
    if (s.runBatch) {
        body->batchCtrl()->setEchoToStandardOutput(true);
        QMetaObject::invokeMethod(body->batchCtrl(), "execBatchSlot", Qt::QueuedConnection);
    }

    const int code = app.exec();
    body.reset();
    return code;
}
