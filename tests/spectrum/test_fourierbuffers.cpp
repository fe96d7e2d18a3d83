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
    void padding();
};

void TestFourierBuffers::emptyWrapper()
{
    // Without buffers, and at sizes of 0 or less, every call does nothing.
    FourierBuffers f;
    const double v[2] = {1, 2};
    fftw_complex c[1] = {{1, 0}};
    f.forward(v);
    f.forward(SpectrumPoints());
    f.backward(c);
    f.setSize(-3);
    QCOMPARE(f.size(), 0);
    QVERIFY(f.magnitudes() == nullptr && f.forwardOutput() == nullptr);
    // Releasing empties a wrapper that had buffers.
    f.setSize(5);
    f.release();
    QCOMPARE(f.size(), 0);
    QVERIFY(f.magnitudes() == nullptr);
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
    for (int k = 0; k < 4; ++k) {
        QVERIFY(std::fabs(o[k][0] - re[k]) < 1e-12);
        QVERIFY(std::fabs(o[k][1] - im[k]) < 1e-12);
        QVERIFY(std::fabs(f.magnitudes()[k] - mag[k]) < 1e-12);
    }
    // Backward is unnormalized: it gives n times the input. Its input is
    // copied: a later forward leaves its result.
    f.backward(o);
    for (int i = 0; i < 4; ++i) {
        QVERIFY(std::fabs(f.backwardOutput()[i][0] - 4.0 * v[i]) < 1e-12);
        QVERIFY(std::fabs(f.backwardOutput()[i][1]) < 1e-12);
    }
    const double w[4] = {0, 0, 0, 0};
    f.forward(w);
    QVERIFY(std::fabs(f.backwardOutput()[3][0] - 16.0) < 1e-12);
    // One frame: the only component is the value itself.
    SpectrumPoints one;
    one.append(7112.0, -123456.0);
    f.setSize(1);
    f.forward(one);
    QCOMPARE(f.magnitudes()[0], 123456.0);
}

void TestFourierBuffers::padding()
{
    // The same length keeps the plans and buffers.
    FourierBuffers f;
    f.setSize(8);
    const fftw_complex *out = f.forwardOutput();
    f.setSize(8);
    QCOMPARE(f.forwardOutput(), out);
    // Three points on a length of 8: the rest counts as 0. Each component is
    // the sum of y_j exp(-2 pi i j k / 8) over the three points.
    SpectrumPoints p;
    p.append(7000.0, 1.5);
    p.append(7001.0, -2.0);
    p.append(7002.0, 0.25);
    f.forward(p);
    for (int k = 0; k < 8; ++k) {
        std::complex<double> s = 0;
        for (int j = 0; j < 3; ++j)
            s += p.y(j) * std::polar(1.0, -2.0 * M_PI * j * k / 8.0);
        QVERIFY(std::fabs(f.forwardOutput()[k][0] - s.real()) < 1e-12);
        QVERIFY(std::fabs(f.forwardOutput()[k][1] - s.imag()) < 1e-12);
        QVERIFY(std::fabs(f.magnitudes()[k] - std::abs(s)) < 1e-12);
    }
    // A longer list: only the first 8 points count.
    for (int j = 0; j < 10; ++j)
        p.append(7003.0 + j, 100.0);
    f.forward(p);
    QVERIFY(std::fabs(f.forwardOutput()[0][0] - (1.5 - 2.0 + 0.25 + 500.0)) < 1e-9);
}

QTEST_GUILESS_MAIN(TestFourierBuffers)
#include "test_fourierbuffers.moc"
