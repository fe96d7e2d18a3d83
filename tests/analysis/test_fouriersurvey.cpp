#include "analysis/FourierSurvey.h"
#include "spectrum/FourierBuffers.h"

#include "FrameMaker.h"
#include "LogCapture.h"

#include <QtTest>

#include <cmath>
#include <memory>
#include <vector>

using Frames = std::vector<std::unique_ptr<TiffData>>;

static QVector<TiffData *> raw(const Frames &f)
{
    QVector<TiffData *> v;
    for (const auto &p : f)
        v.append(p.get());
    return v;
}

class TestFourierSurvey : public QObject
{
    Q_OBJECT
private slots:
    void cosine();
    void sameAsOneKAtATime();
    void nothingToWalk();
};

// Pixel 0 runs 10 + 4 cos(2 pi 2 i / 8) over 8 frames (14 10 6 10 14 10 6 10),
// pixel 1 twice that: magnitudes 80 and 160 at k = 0, 16 and 32 at k = 2 and
// 6, none elsewhere. With v = 14 and 28: Svv = 980; k = 0: Saa = 32000, Sva
// = 5600; k = 2: Saa = 1280, Sva = 1120; both correlate fully.
void TestFourierSurvey::cosine()
{
    Frames frames;
    const int trace[8] = {14, 10, 6, 10, 14, 10, 6, 10};
    for (int i = 0; i < 8; ++i)
        frames.emplace_back(
            makeFrame(2, 1, 7000 + i, [&](int x, int) { return trace[i] * (x + 1); }));
    AnalyzeCond walk;
    walk.setup(2, 1, 0, 0, 0, 0, 2, 1);
    FourierBuffers fft;
    FourierSurvey s;
    LogCapture log;
    QVERIFY(s.run(raw(frames), walk, fft));
    const double saa[8] = {32000, 0, 1280, 0, 0, 0, 1280, 0};
    const double sva[8] = {5600, 0, 1120, 0, 0, 0, 1120, 0};
    for (int k = 0; k < 8; ++k) {
        QCOMPARE(s.svv[k], 980.0);
        QVERIFY(std::abs(s.saa[k] - saa[k]) < 1e-9);
        QVERIFY(std::abs(s.sva[k] - sva[k]) < 1e-9);
    }
    QVERIFY(std::abs(s.correlation(2) - 1.0) < 1e-12);
    const QStringList lines = log.lines();
    QCOMPARE(lines.size(), 9);
    QVERIFY(lines[0].startsWith("2da FA 1: "));
    QCOMPARE(lines[1], QStringLiteral("Res 0 980 32000 5600 1"));
    QCOMPARE(lines[3], QStringLiteral("Res 2 980 1280 1120 1"));
}

// The sums of every k are the very numbers of a pass over the walk per k,
// bin after bin, with a fresh transform each time; bins of 3 x 3 pixels
// reach past the image.
void TestFourierSurvey::sameAsOneKAtATime()
{
    Frames frames;
    for (int i = 0; i < 12; ++i)
        frames.emplace_back(makeFrame(7, 5, 7000 + i, [i](int x, int y) {
            return (x * 37 + y * 101 + i * i * 13) % 997;
        }));
    AnalyzeCond walk;
    walk.setup(7, 5, 1, 1, 0, 0, 7, 5);
    FourierBuffers fft;
    FourierSurvey s;
    QVERIFY(s.run(raw(frames), walk, fft));
    for (int k = 0; k < 12; ++k) {
        double svv = 0, saa = 0, sva = 0;
        AnalyzeCond w = walk;
        w.reset();
        do {
            double p[12];
            for (int i = 0; i < 12; ++i)
                p[i] = w.centreInside() ? frames[i]->windowSum(w.cx, w.cy, 1, 1) : 0.0;
            FourierBuffers one;
            one.setSize(12);
            one.forward(p);
            const double v = frames[0]->windowSum(w.cx, w.cy, 1, 1);
            const double a = one.magnitudes()[k];
            svv += v * v;
            saa += a * a;
            sva += v * a;
        } while (w.advance());
        QVERIFY(s.svv[k] == svv && s.saa[k] == saa && s.sva[k] == sva);
    }
}

void TestFourierSurvey::nothingToWalk()
{
    Frames frames;
    frames.emplace_back(constantFrame(2, 2, 7000, 1));
    FourierBuffers fft;
    FourierSurvey s;
    LogCapture log;
    QVERIFY(!s.run({}, AnalyzeCond(), fft));
    QVERIFY(!s.run(raw(frames), AnalyzeCond(), fft));
    QCOMPARE(log.lines(), (QStringList{"Fourier survey not run: no I1 frames",
                                       "Fourier survey not run: no area to walk"}));
    QVERIFY(s.svv.isEmpty());
}

QTEST_GUILESS_MAIN(TestFourierSurvey)
#include "test_fouriersurvey.moc"
