#include "spectrum/FourierBuffers.h"
#include "spectrum/SpectrumPoints.h"

#include <QtTest>

#include <cmath>
#include <complex>

class TestFourierBuffers : public QObject
{
    Q_OBJECT
private slots:
    void emptyWrapper();
    void knownTransform();
    void plansKeptAndPadding();
    void oneFrame();
};

void TestFourierBuffers::emptyWrapper()
{
    FourierBuffers f;
    QCOMPARE(f.size(), 0);
    QVERIFY(f.magnitudes() == nullptr);
    const double v[2] = {1, 2};
    f.forward(v);
    f.forward(SpectrumPoints());
    fftw_complex c[1] = {{1, 0}};
    f.backward(c);
    QVERIFY(f.forwardOutput() == nullptr);
    f.setSize(0);
    f.setSize(-3);
    QCOMPARE(f.size(), 0);
    f.release();
}

void TestFourierBuffers::knownTransform()
{
    // (1, 2, 3, 4): X0 = 10, X1 = -2 + 2i, X2 = -2, X3 = -2 - 2i.
    FourierBuffers f;
    f.setSize(4);
    const double v[4] = {1, 2, 3, 4};
    f.forward(v);
    const fftw_complex *o = f.forwardOutput();
    const double re[4] = {10, -2, -2, -2}, im[4] = {0, 2, 0, -2},
                 mag[4] = {10, std::sqrt(8.0), 2, std::sqrt(8.0)};
    const double *m = f.magnitudes();
    QVERIFY(m);
    for (int k = 0; k < 4; ++k) {
        QVERIFY(std::fabs(o[k][0] - re[k]) < 1e-12);
        QVERIFY(std::fabs(o[k][1] - im[k]) < 1e-12);
        QVERIFY(std::fabs(m[k] - mag[k]) < 1e-12);
    }

    // Backward is unnormalized: it gives n times the input.
    f.backward(o);
    const fftw_complex *b = f.backwardOutput();
    for (int i = 0; i < 4; ++i) {
        QVERIFY(std::fabs(b[i][0] - 4.0 * v[i]) < 1e-12);
        QVERIFY(std::fabs(b[i][1]) < 1e-12);
    }
    // The input of backward is copied: a later forward leaves its result.
    const double w[4] = {0, 0, 0, 0};
    f.forward(w);
    QVERIFY(std::fabs(f.backwardOutput()[3][0] - 16.0) < 1e-12);
}

void TestFourierBuffers::plansKeptAndPadding()
{
    FourierBuffers f;
    f.setSize(8);
    const fftw_complex *out = f.forwardOutput();
    f.setSize(8);
    QCOMPARE(f.forwardOutput(), out);
    QCOMPARE(f.size(), 8);

    // Three points on a length of 8: the rest counts as 0. Each component is
    // the sum of y_j exp(-2 pi i j k / 8) over the three points.
    SpectrumPoints p;
    p.append(7000.0, 1.5);
    p.append(7001.0, -2.0);
    p.append(7002.0, 0.25);
    f.forward(p);
    const double *m = f.magnitudes();
    for (int k = 0; k < 8; ++k) {
        std::complex<double> s = 0;
        for (int j = 0; j < 3; ++j)
            s += p.y(j) * std::polar(1.0, -2.0 * M_PI * j * k / 8.0);
        QVERIFY(std::fabs(f.forwardOutput()[k][0] - s.real()) < 1e-12);
        QVERIFY(std::fabs(f.forwardOutput()[k][1] - s.imag()) < 1e-12);
        QVERIFY(std::fabs(m[k] - std::abs(s)) < 1e-12);
    }
    // A longer list: only the first 8 points count.
    for (int j = 0; j < 10; ++j)
        p.append(7003.0 + j, 100.0);
    f.forward(p);
    QVERIFY(std::fabs(f.forwardOutput()[0][0] - (1.5 - 2.0 + 0.25 + 500.0)) < 1e-9);

    // Another length replaces the buffers; releasing empties the wrapper.
    f.setSize(5);
    QCOMPARE(f.size(), 5);
    f.release();
    QCOMPARE(f.size(), 0);
    QVERIFY(f.magnitudes() == nullptr);
    f.setSize(3);
    QVERIFY(f.magnitudes() != nullptr);
}

void TestFourierBuffers::oneFrame()
{
    // One frame: the only component is the window sum itself.
    SpectrumPoints trace;
    trace.append(7112.0, -123456.0);
    FourierBuffers f;
    f.setSize(trace.size());
    f.forward(trace);
    QCOMPARE(f.magnitudes()[0], 123456.0);
}

QTEST_GUILESS_MAIN(TestFourierBuffers)
#include "test_fourierbuffers.moc"
