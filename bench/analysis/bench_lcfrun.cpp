// A whole 2D LCF run, as "Analyze" starts it, with the fitting worker in its
// own thread: 256 x 256 one-pixel bins of 120 energies (transmission, 16-bit
// frames), two references, timed from the start to the last map pictured.
// LCF and MLCF with one-pixel bins, LCF with 3 x 3 bins.
//   bench_lcfrun [side (256)]

#include "analysis/Analyzed2DRes.h"
#include "analysis/LcfRun.h"
#include "input/TiffData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

// An absorption edge at e0 on a falling pre-edge, with a small white line.
static double edge(double e, double e0)
{
    const double pre = 0.3 - 2e-5 * (e - 6000);
    const double step = 0.5 + std::atan((e - e0) / 4.0) / 3.14159265358979;
    const double white = 0.4 * std::exp(-(e - e0 - 12) * (e - e0 - 12) / 60.0);
    return pre + step + white;
}

static double energy(int i)
{
    return 6060 + i * (8158.0 - 6060.0) / 119;
}

static LcfReferenceSnapshot reference(double e0)
{
    SpectrumPoints p;
    for (int i = 0; i < 120; ++i)
        p.append(energy(i), edge(energy(i), e0));
    return LcfReferenceSnapshot::of(XafsSpectrum(p, true, 0.0), 0.0, true, true);
}

// The debug log of the runs ("2da" lines, large residuals) is counted, not
// written, so the terminal does not enter the figures.
static long logLines = 0;
static void countLog(QtMsgType, const QMessageLogContext &, const QString &)
{
    ++logLines;
}

int main(int argc, char *argv[])
{
    qInstallMessageHandler(countLog);
    QCoreApplication app(argc, argv);
    const int side = argc > 1 ? std::max(4, atoi(argv[1])) : 256;

    // I0 flat; I1 through a sample whose mix of the two edges changes across.
    std::vector<std::unique_ptr<TiffData>> owned;
    QVector<TiffData *> i1, i0;
    QVector<quint16> flat(side * side, 50000), through(side * side);
    for (int k = 0; k < 120; ++k) {
        const double e = energy(k);
        const double a = edge(e, 7112), b = edge(e, 7125);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const double w = double(x) / side;
                through[y * side + x] = quint16(50000 * std::exp(-(w * a + (1 - w) * b)));
            }
        i0.append(TiffData::fromSamples(side, side, flat.constData()));
        i1.append(TiffData::fromSamples(side, side, through.constData()));
        i0.last()->energy = i1.last()->energy = e;
        owned.emplace_back(i0.last());
        owned.emplace_back(i1.last());
    }

    {
        // Where the time of a bin goes, in one thread: its absorption points
        // (built while the worker fits), then its normalized spectrum (built
        // by the worker before the fit).
        const SpectrumSource src(i1, i0, nullptr, side, side, false);
        QElapsedTimer t;
        t.start();
        QVector<SpectrumPoints> pts;
        for (int x = 0; x < side * 16; ++x)
            pts.append(src.absorption(x % side, x / side, 0, 0));
        const double a = t.nsecsElapsed() / 1e3 / pts.size();
        t.restart();
        double c = 0;
        for (const SpectrumPoints &p : pts)
            c += XafsSpectrum(p, true, 0.0).jump();
        const double nm = t.nsecsElapsed() / 1e3 / pts.size();
        std::printf("per bin, one thread: points %.2f us, spectrum %.2f us (%g)\n", a, nm, c);
    }
    QThread thread;
    auto *proc = new AnalyzeProc;
    proc->moveToThread(&thread);
    QObject::connect(&thread, &QThread::finished, proc, &QObject::deleteLater);
    thread.start();

    QVector<Analyzed2DRes *> maps;
    for (int i = 0; i < 5; ++i)
        maps.append(new Analyzed2DRes(&app));

    std::printf("%d x %d pixels, 120 energies, 2 references\n", side, side);
    struct Case
    {
        const char *name;
        bool mlcf;
        int half;
    };
    double check = 0.0;
    for (const Case &c :
         {Case{"LCF 1 x 1", false, 0}, Case{"MLCF 1 x 1", true, 0}, Case{"LCF 3 x 3", false, 1}}) {
        LcfRun run(proc);
        LcfRun::Setup s;
        s.walk.setup(side, side, c.half, c.half, 0, 0, side, side);
        s.source = SpectrumSource(i1, i0, nullptr, side, side, false);
        s.refs = {reference(7112), reference(7125)};
        s.isMLCF = c.mlcf;
        s.isVictoreen = true;
        s.maps = maps.mid(0, 4);
        s.zansa = maps[4];
        QObject::connect(&run, &LcfRun::finished, &app, &QCoreApplication::quit);
        QElapsedTimer timer;
        timer.start();
        if (!run.start(s))
            return 1;
        app.exec();
        const double ms = timer.nsecsElapsed() / 1e6;
        const double spectra = double(s.walk.bins());
        std::printf("%-11s %7.0f bins  %8.1f ms  %8.0f spectra/s\n", c.name, spectra, ms,
                    ms > 0 ? spectra * 1e3 / ms : 0.0);
        check += maps[2]->data()[side / 2];
    }
    std::printf("(check %g, %ld log lines)\n", check, logLines);
    thread.quit();
    thread.wait();
    return 0;
}
