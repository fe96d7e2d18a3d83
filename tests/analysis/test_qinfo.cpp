#include "analysis/QInfo.h"
#include "core/SpectrumSource.h"
#include "spectrum/XafsSpectrum.h"

#include "FrameMaker.h"
#include "LogCapture.h"

#include <QtTest>

#include <cmath>

class TestQInfo : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void survey_data();
    void survey();
    void noData();
    void fileLayout();
    void unwritable();

private:
    QVector<TiffData *> i1;
    QVector<TiffData *> i0;
};

namespace {

// 15:04:05.678 on 7 December 2026, UTC.
QDateTime fixedTime()
{
    return QDateTime(QDate(2026, 12, 7), QTime(15, 4, 5, 678), Qt::UTC);
}

// The pattern letters of the fixed texts are fields too: in "Start", t is
// the time zone and a the am/pm marker (which turns hh to 12 hours); in
// "End", d is the day.
const char startLine[] = "SUTCpmrUTC : 26/12/07 03:04:05.678";
const char endLine[] = "En7 : 26/12/07 15:04:05.678";

QByteArray fileText(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("unreadable");
}

} // namespace

void TestQInfo::initTestCase()
{
    // 2 x 2 frames of one value each: a step edge near 7100 eV with a white
    // line above it, I0 flat.
    for (int i = 0; i < 30; ++i) {
        const double e = 7000 + 10 * i;
        const double mu =
            0.3 + (e > 7100 ? 1.0 : 0.0) + (e == 7110 ? 0.4 : 0.0) - 0.0005 * (e - 7000);
        i1 << constantFrame(2, 2, e, int(std::lround(20000 * std::exp(-mu))));
        i0 << constantFrame(2, 2, e, 20000);
    }
}

void TestQInfo::cleanupTestCase()
{
    qDeleteAll(i1);
    qDeleteAll(i0);
}

void TestQInfo::survey_data()
{
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QString>("centres");

    QTest::newRow("one bin") << QRect(1, 0, 1, 1) << "1,0";
    QTest::newRow("two rows") << QRect(0, 0, 2, 2) << "0,0 1,0 0,1 1,1";
}

void TestQInfo::survey()
{
    QFETCH(QRect, area);
    QFETCH(QString, centres);
    const SpectrumSource source(i1, i0, nullptr, 2, 2, false);
    AnalyzeCond walk;
    walk.setup(2, 2, 0, 0, area.x(), area.y(), area.width(), area.height());
    QStringList asked;
    QInfoRequest request;
    request.walk = &walk;
    request.shiftAt = [&asked](int x, int y) {
        asked << QString("%1,%2").arg(x).arg(y);
        return 1.5;
    };
    request.now = fixedTime;
    LogCapture log;
    const QInfo info = collectQInfo(source, request);
    QCOMPARE(asked.join(' '), centres);

    // Every bin sees the same frames, so the same spectrum.
    const XafsSpectrum s(source.absorption(0, 0, 0, 0), false, 1.5);
    QCOMPARE(s.maxE(), 7110.0); // the white line
    QCOMPARE(info.records.size(), asked.size());
    for (int i = 0; i < asked.size(); ++i) {
        const QInfoRecord &r = info.records[i];
        QCOMPARE(QString("%1,%2").arg(r.x).arg(r.y), asked[i]);
        QCOMPARE(QVector<double>({r.e0, r.jump, r.maxE, r.maxMu, r.maxMuOverPost}),
                 QVector<double>({s.e0(), s.jump(), s.maxE(), s.maxMu(), s.maxMuOverPost()}));
    }
    const QInfoStat &e = info.maxE;
    QCOMPARE(QVector<double>({double(e.count()), e.minimum, e.maximum, e.mean, e.deviation}),
             QVector<double>({double(asked.size()), 7110, 7110, 7110, 0}));
    QCOMPARE(info.maxMutJ.mean, s.maxMuOverPost() / s.jump());
    QCOMPARE(info.maxMutJ.deviation, 0.0);

    QStringList expected = {startLine, "0 26/12/07 15:04:05.678"};
    if (area.height() == 2)
        expected << "1 26/12/07 15:04:05.678";
    expected << endLine;
    QCOMPARE(log.lines().mid(0, expected.size()), expected);
    QCOMPARE(log.lines().value(expected.size()), QString("maxE 7110 7110 7110 0"));
}

void TestQInfo::noData()
{
    QTemporaryDir dir;
    QInfoRequest request;
    request.now = fixedTime;
    LogCapture log;
    const QInfo info = collectQInfo(SpectrumSource(), request);
    QCOMPARE(log.lines(), QStringList({startLine, endLine, "maxE 1e+300 -1e+300 0 0",
                                       "maxMutJ 1e+300 -1e+300 0 0"}));
    const QString name = dir.filePath("qinfo.dat");
    QVERIFY(writeQInfo(name, info));
    QCOMPARE(fileText(name), QByteArray("# maxE 1e+300 -1e+300 0 0\n"
                                        "# maxMutJ 1e+300 -1e+300 0 0\n"));
}

void TestQInfo::fileLayout()
{
    QInfo info;
    for (double v : {2, 4, 4, 4, 5, 5, 7, 9}) // mean 5, deviation 2
        info.maxE.add(v);
    info.maxMutJ.add(1);
    info.maxMutJ.add(2);
    info.maxE.finish();
    info.maxMutJ.finish();
    info.records << QInfoRecord{6, 7, 5, 4, 1, 2, 3}
                 << QInfoRecord{0.1234567, 12, 7100.25, 0.5, 7123.456789, -1e-7, 2.5e12};
    QTemporaryDir dir;
    const QString name = dir.filePath("qinfo.dat");
    QVERIFY(writeQInfo(name, info));
    QVERIFY(writeQInfo(name, info)); // a second survey replaces the file
    QCOMPARE(fileText(name), QByteArray("# maxE 2 9 5 2\n"
                                        "# maxMutJ 1 2 1.5 0.5\n"
                                        "1\t2\t3\t4\t5\t6\t7\n"
                                        "7123.46\t-1e-07\t2.5e+12\t0.5\t7100.25\t0.123457\t12\n"));
}

void TestQInfo::unwritable()
{
    QTemporaryDir dir;
    LogCapture log;
    QVERIFY(!writeQInfo(dir.path(), QInfo()));
    QCOMPARE(log.lines(), QStringList("Can't open " + dir.path()));
}

QTEST_GUILESS_MAIN(TestQInfo)
#include "test_qinfo.moc"
