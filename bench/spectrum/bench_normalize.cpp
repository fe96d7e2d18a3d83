// Normalizing a 500-point spectrum in both background forms, as the spectrum
// under the mouse is normalized on every mouse move. Prints microseconds per
// normalization (target: under 20 us each), wall and processor time.
#include "spectrum/XafsSpectrum.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

static SpectrumPoints makeSpectrum()
{
    // A K edge near 7112 eV: a falling pre-edge, an arctangent step and a
    // falling post-edge with a small oscillation, 500 points over 6600..8100 eV.
    SpectrumPoints p;
    for (int i = 0; i < 500; ++i) {
        const double e = 6600.0 + 3.0 * i;
        const double l = 12398.424360387684 / e;
        const double mu = 0.3 + 0.01 * l * l * l
                          + (1.0 + std::atan((e - 7112.0) / 2.0) / 3.14159265)
                                * (0.8 + 0.05 * std::sin((e - 7112.0) / 20.0));
        p.append(e, mu);
    }
    return p;
}

struct Figures
{
    double wall; // microseconds of wall time per call
    double cpu;  // microseconds of this thread's processor time per call
};

static double threadCpuSeconds()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

// The machine is shared, so the wall time can hold time spent waiting for a
// core; the thread's processor time shows the cost of the work itself.
template <typename F>
static Figures perCall(F f, int repeats)
{
    f(); // warm-up
    const double c0 = threadCpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i)
        f();
    const auto t1 = std::chrono::steady_clock::now();
    const double c1 = threadCpuSeconds();
    return {std::chrono::duration<double, std::micro>(t1 - t0).count() / repeats,
            (c1 - c0) * 1e6 / repeats};
}

int main()
{
    const SpectrumPoints points = makeSpectrum();
    const int repeats = 20000;
    XafsSpectrum s(points, false, 0.0);
    volatile double sink = 0.0;

    const Figures line = perCall(
        [&] {
        s.normalize(false);
        sink = sink + s.e0();
        },
        repeats);
    const Figures vict = perCall(
        [&] {
        s.normalize(true);
        sink = sink + s.e0();
        },
        repeats);
    const Figures ctorLine = perCall(
        [&] {
        XafsSpectrum t(points, false, 0.0);
        sink = sink + t.e0();
        },
        repeats);
    const Figures ctorVict = perCall(
        [&] {
        XafsSpectrum t(points, true, 0.0);
        sink = sink + t.e0();
        },
        repeats);

    std::printf("per call, microseconds:                 wall   processor\n");
    std::printf("normalize, 500 points, line form:      %7.2f   %7.2f\n", line.wall, line.cpu);
    std::printf("normalize, 500 points, Victoreen form: %7.2f   %7.2f\n", vict.wall, vict.cpu);
    std::printf("construct + normalize, line form:      %7.2f   %7.2f\n", ctorLine.wall,
                ctorLine.cpu);
    std::printf("construct + normalize, Victoreen form: %7.2f   %7.2f\n", ctorVict.wall,
                ctorVict.cpu);
    std::printf("e0 %.3f eV, jump %.4f\n", s.e0(), s.jump());
    return 0;
}
