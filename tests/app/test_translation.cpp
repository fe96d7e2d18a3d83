#include <QDir>
#include <QFile>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

// The embedded Japanese translation, loaded the way start-up loads it, must
// answer every string that the translation sources list.
class TestTranslation : public QObject
{
    Q_OBJECT
private slots:
    void everyStringIsJapanese();
};

void TestTranslation::everyStringIsJapanese()
{
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":Lumenograf_ja_JP"),
                            QCoreApplication::applicationDirPath()));

    const QStringList files =
        QDir(QStringLiteral(LUMENOGRAF_TS_DIR)).entryList({"*.ts"}, QDir::Files);
    QVERIFY(files.size() >= 5);
    int checked = 0;
    for (const QString &name : files) {
        QFile f(QStringLiteral(LUMENOGRAF_TS_DIR "/") + name);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&f);
        QString context, source, comment;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("name"))
                context = xml.readElementText();
            else if (xml.name() == QLatin1String("message"))
                comment.clear();
            else if (xml.name() == QLatin1String("source"))
                source = xml.readElementText();
            else if (xml.name() == QLatin1String("comment"))
                comment = xml.readElementText();
            else if (xml.name() == QLatin1String("translation")) {
                const QString wanted = xml.readElementText();
                const QString got =
                    translator.translate(context.toUtf8().constData(), source.toUtf8().constData(),
                                         comment.isEmpty() ? nullptr
                                                           : comment.toUtf8().constData());
                QVERIFY2(!got.isEmpty(), qPrintable(name + ": " + context + " / " + source));
                QCOMPARE(got, wanted);
                ++checked;
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(name + ": " + xml.errorString()));
    }
    QVERIFY(checked > 50);
}

QTEST_GUILESS_MAIN(TestTranslation)
#include "test_translation.moc"
