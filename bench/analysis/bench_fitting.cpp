// Fitting 120-point spectra against two references, LCF and MLCF: fits per
// second of the plain fit (references evaluated at every call) and of the
// fit with references prepared once for the frame energies, as a 2D run
// makes it; with and without normalizing the fitted curve.
//   bench_fitting [spectra (2000)] [rounds (10)]

#include "analysis/LcfFit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

// Processor time of this thread in ms, so other work on the machine does not
// count.
static double threadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// An absorption edge at e0 on a falling pre-edge, with a small white line.
static double edge(double e, double e0)
{
    const double pre = 0.3 - 2e-5 * (e - 6000);
    const double step = 0.5 + std::atan((e - e0) / 4.0) / 3.14159265358979;
    const double white = 0.4 * std::exp(-(e - e0 - 12) * (e - e0 - 12) / 60.0);
    return pre + step + white;
}

static SpectrumPoints points(double wa, double wb, unsigned noise)
{
    SpectrumPoints p;
    for (int i = 0; i < 120; ++i) {
        const double e = 6060 + i * (8158.0 - 6060.0) / 119;
        noise = noise * 1103515245u + 12345u;
        const double n = ((noise >> 8) % 1000) / 1000.0 - 0.5;
        p.append(e, wa * edge(e, 7112) + wb * edge(e, 7125) + 1e-3 * n);
    }
    return p;
}

int main(int argc, char *argv[])
{
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 10;

    const QVector<LcfReferenceSnapshot> refs{
        LcfReferenceSnapshot::of(XafsSpectrum(points(1, 0, 1), true, 0.0), 0.0, true, true),
        LcfReferenceSnapshot::of(XafsSpectrum(points(0, 1, 2), true, 0.0), 0.0, true, true)};
    QVector<XafsSpectrum> samples;
    samples.reserve(count);
    for (int i = 0; i < count; ++i) {
        const double w = double(i % 100) / 100;
        samples.append(XafsSpectrum(points(w, 1 - w, 7u + i), true, 0.0));
    }
    const QVector<double> energies = lcfSampleEnergies(samples[0]);

    std::printf("%d spectra of 120 points, 2 references, %d rounds\n", count, rounds);
    double check = 0.0;
    for (bool mlcf : {false, true}) {
        for (int prepared = 0; prepared <= 1; ++prepared) {
            for (bool normalizeFit : {true, false}) {
                const LcfSetup setup(refs, energies, mlcf, 0, 30000);
                LcfResult r;
                const double t0 = threadMs();
                for (int k = 0; k < rounds; ++k)
                    for (const XafsSpectrum &s : samples) {
                        if (prepared)
                            setup.fit(s, r, normalizeFit);
                        else
                            fitLcfSpectrum(s, refs, mlcf, 0, 30000, r, normalizeFit);
                        check += r.z;
                    }
                const double ms = threadMs() - t0;
                const double perSecond = ms > 0 ? 1e3 * count * rounds / ms : 0.0;
                std::printf("%-4s %-8s %-20s %10.0f fits/s  %7.2f us/fit\n", mlcf ? "MLCF" : "LCF",
                            prepared ? "prepared" : "plain",
                            normalizeFit ? "fit normalized" : "fit not normalized", perSecond,
                            1e3 * ms / (double(count) * rounds));
            }
        }
    }
    std::printf("(check %g)\n", check);
    return 0;
}
