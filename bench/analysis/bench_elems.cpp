// The element analysis of 120-point spectra with three element rows (Fe, Co
// and Ni K edges), one thread: spectra per second of the run's computation
// (rows taken and point windows found once, the energies shared by every
// bin), of the plain one-spectrum call (everything found again), and of the
// run's computation on a spectrum built and normalized for each bin.
//   bench_elems [spectra (2000)] [rounds (50)]

#include "analysis/ElemAnalysis.h"

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

// A step of height 1 at e0, a few eV wide.
static double step(double e, double e0)
{
    return 0.5 + std::atan((e - e0) / 4.0) / 3.14159265358979;
}

// Fe, Co and Ni in the amounts a, b, c on a falling background, with noise.
static SpectrumPoints points(double a, double b, double c, unsigned noise)
{
    SpectrumPoints p;
    for (int i = 0; i < 120; ++i) {
        const double e = 6060 + i * (8158.0 - 6060.0) / 119;
        noise = noise * 1103515245u + 12345u;
        const double n = ((noise >> 8) % 1000) / 1000.0 - 0.5;
        p.append(e, 0.3 - 2e-5 * (e - 6000) + a * step(e, 7112) + b * step(e, 7709)
                        + c * step(e, 8333) + 1e-3 * n);
    }
    return p;
}

int main(int argc, char *argv[])
{
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 50;

    QVector<ElemRowSnapshot> rows;
    for (const char *symbol : {"Fe", "Co", "Ni"}) {
        ElemRowSnapshot r;
        r.target = ElemTarget::of(QString::fromLatin1(symbol), QStringLiteral("K"));
        r.preDE = 40;
        r.thDMut = 0.05;
        r.roiStart = r.target.e0 + 20;
        r.roiEnd = r.target.e0 + 120;
        r.use = true;
        rows.append(r);
    }
    const ElemBackground bg;
    QVector<SpectrumPoints> bins;
    QVector<XafsSpectrum> spectra;
    bins.reserve(count);
    spectra.reserve(count);
    for (int i = 0; i < count; ++i) {
        const double w = double(i % 100) / 100;
        bins.append(points(w, 1 - w, 0.3 + 0.2 * w, 7u + i));
        spectra.append(XafsSpectrum(bins.last(), true, 0.0));
    }

    std::printf("%d spectra of 120 points, 3 element rows, %d rounds\n", count, rounds);
    double check = 0.0;
    const ElemCorrelation corr(rows);
    for (int prepared = 1; prepared >= 0; --prepared) {
        ElemAnalysis run(rows, 0, bg);
        ElemResults res;
        const double t0 = threadMs();
        for (int k = 0; k < rounds; ++k) {
            for (int i = 0; i < count; ++i) {
                if (prepared)
                    run.analyze(bins[i], 0.0, res);
                else
                    analyzeSpectrumElems(spectra[i], rows, 0, bg, res);
                check += res.de[1] + corr.mapValue(res.n.constData());
            }
        }
        const double ms = threadMs() - t0;
        const double perSecond = ms > 0 ? 1e3 * count * rounds / ms : 0.0;
        std::printf("%-34s %12.0f spectra/s  %8.3f us/spectrum\n",
                    prepared ? "run, points of the bin" : "plain, one spectrum", perSecond,
                    1e3 * ms / (double(count) * rounds));
    }
    // Building and normalizing a spectrum per bin is slow: one pass over a
    // quarter of the bins.
    {
        ElemAnalysis run(rows, 0, bg);
        ElemResults res;
        const int n = std::max(1, count / 4);
        const double t0 = threadMs();
        for (int i = 0; i < n; ++i) {
            const XafsSpectrum s(bins[i], true, 0.0);
            run.analyze(s, res);
            check += res.de[1];
        }
        const double ms = threadMs() - t0;
        std::printf("%-34s %12.0f spectra/s  %8.3f us/spectrum\n",
                    "run, spectrum normalized per bin", ms > 0 ? 1e3 * n / ms : 0.0, 1e3 * ms / n);
    }
    std::printf("(check %g)\n", check);
    return 0;
}
