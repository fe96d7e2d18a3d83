// A whole 2D LCF run, as "Analyze" starts it, with the fitting worker in its
// own thread: 256 x 256 one-pixel bins of 120 energies (transmission, 16-bit
// frames), two references, timed from the start to the last map pictured.
// LCF and MLCF with one-pixel bins, LCF with 3 x 3 bins.
// Each run is timed a few times and the best is shown; a sample of bins is
// checked against the plain per-bin fit, to the bit.
//   bench_lcfrun [side (256)] [repeats (5)]

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
#include <ctime>
#include <cstring>
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
    const int repeats = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

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

    const QVector<LcfReferenceSnapshot> refs{reference(7112), reference(7125)};
    {
        // Where the time of a bin goes, in one thread, plain and in rows:
        // the absorption points (built while the worker fits), then the
        // normalization and the fit (on the worker). Processor time, the
        // best of a few rounds, so that other work on the machine counts
        // little.
        const SpectrumSource src(i1, i0, nullptr, side, side, false);
        const int bins = side * 16;
        const int n = src.i1Count();
        const auto setup =
            std::make_shared<const LcfSetup>(refs, src.energies(), false, 0.0, 30000.0);
        double best[7] = {1e300, 1e300, 1e300, 1e300, 1e300, 1e300, 1e300};
        double c = 0;
        for (int round = 0; round < repeats; ++round) {
            double us[7];
            std::clock_t t = std::clock();
            const auto lap = [&t, bins](double &d) {
                const std::clock_t now = std::clock();
                d = double(now - t) / CLOCKS_PER_SEC * 1e6 / bins;
                t = now;
            };
            QVector<SpectrumPoints> pts(bins);
            t = std::clock();
            for (int b = 0; b < bins; ++b)
                pts[b] = src.absorption(b % side, b / side, 0, 0);
            lap(us[0]);
            QVector<XafsSpectrum> spectra(bins);
            t = std::clock();
            for (int b = 0; b < bins; ++b)
                spectra[b] = XafsSpectrum(pts[b], true, 0.0);
            lap(us[1]);
            LcfResult r;
            for (const XafsSpectrum &x : spectra) {
                setup->fit(x, r, false);
                c += r.ratio[0];
            }
            lap(us[2]);
            QVector<double> mu(bins * n);
            QVector<quint8> inside(side);
            SpectrumSource::RowBuffers buffers;
            t = std::clock();
            for (int y = 0; y < 16; ++y)
                src.absorptionRow(0, 1, side, y, 0, 0, mu.data() + y * side * n, inside.data(),
                                  buffers);
            lap(us[3]);
            LcfBinFitter fitter(setup, src.energies(), true);
            double ratio[2], dmut[2], z = 0;
            for (int b = 0; b < bins; ++b) {
                fitter.fit(mu.constData() + b * n, 0.0, ratio, dmut, z);
                c += ratio[0];
            }
            lap(us[4]);
            BinNormalizer normalizer(src.energies(), true);
            QVector<double> dnp(n);
            for (int b = 0; b < bins; ++b)
                c += normalizer.normalize(mu.constData() + b * n, dnp.data());
            lap(us[5]);
            // The same number of 3 x 3 bins, rows of side / 3.
            const int across = side / 3;
            for (int y = 0; y * across < bins; ++y)
                src.absorptionRow(1, 3, across, 1 + 3 * (y % across), 1, 1,
                                  mu.data() + (y % 16) * across * n, inside.data(), buffers);
            lap(us[6]);
            for (int i = 0; i < 7; ++i)
                best[i] = std::min(best[i], us[i]);
        }
        std::printf("per bin, one thread: plain: points %.2f us, spectrum %.2f us, prepared fit "
                    "%.2f us; in rows: points %.2f us, normalization and fit %.2f us (of which the "
                    "normalization %.2f us); points of 3 x 3 bins in rows %.2f us (%g)\n",
                    best[0], best[1], best[2], best[3], best[4], best[5], best[6], c);
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
    // The best of a few whole runs, in ms (-1 when a run does not start):
    // other work on the machine only slows.
    const auto bestRun = [&](const LcfRun::Setup &s) {
        double best = -1.0;
        for (int rep = 0; rep < repeats; ++rep) {
            LcfRun run(proc);
            QObject::connect(&run, &LcfRun::finished, &app, &QCoreApplication::quit);
            QElapsedTimer timer;
            timer.start();
            if (!run.start(s))
                return -1.0;
            app.exec();
            const double ms = timer.nsecsElapsed() / 1e6;
            best = rep == 0 ? ms : std::min(best, ms);
        }
        return best;
    };
    double check = 0.0;
    bool allSame = true;
    for (const Case &c :
         {Case{"LCF 1 x 1", false, 0}, Case{"MLCF 1 x 1", true, 0}, Case{"LCF 3 x 3", false, 1}}) {
        LcfRun::Setup s;
        s.walk.setup(side, side, c.half, c.half, 0, 0, side, side);
        s.source = SpectrumSource(i1, i0, nullptr, side, side, false);
        s.refs = refs;
        s.isMLCF = c.mlcf;
        s.isVictoreen = true;
        s.maps = maps.mid(0, 4);
        s.zansa = maps[4];
        const double best = bestRun(s);
        if (best < 0)
            return 1;
        const double spectra = double(s.walk.bins());
        // Every 37th bin against its spectrum built and fitted on its own.
        int checked = 0, same = 0;
        AnalyzeCond w = s.walk;
        for (qint64 b = 0;; ++b) {
            if (b % 37 == 0) {
                const XafsSpectrum x(s.source.absorption(w.cx, w.cy, w.hx, w.hy), true, 0.0);
                LcfResult r;
                fitLcfSpectrum(x, refs, c.mlcf, s.sE0, s.eE0, r, false);
                const int i = w.cy * side + w.cx;
                const double got[3] = {maps[0]->data()[i], maps[3]->data()[i], maps[4]->data()[i]};
                const double want[3] = {r.dmut[0], r.ratio[1], r.z};
                ++checked;
                same += std::memcmp(got, want, sizeof got) == 0;
            }
            if (!w.advance())
                break;
        }
        allSame = allSame && same == checked;
        std::printf("%-11s %7.0f bins  %8.1f ms  %8.0f spectra/s  (%d of %d bins checked are "
                    "those of the plain fit)\n",
                    c.name, spectra, best, best > 0 ? spectra * 1e3 / best : 0.0, same, checked);
        check += maps[2]->data()[side / 2];
    }
    {
        // The element run through the same rows: three element rows.
        LcfRun::Setup s;
        s.walk.setup(side, side, 0, 0, 0, 0, side, side);
        s.source = SpectrumSource(i1, i0, nullptr, side, side, false);
        s.isElems = true;
        for (const char *sym : {"Fe", "Co", "Ni"}) {
            ElemRowSnapshot row;
            row.target = ElemTarget::of(QString::fromLatin1(sym), QStringLiteral("K"));
            row.use = true;
            s.elemRows.append(row);
        }
        QVector<Analyzed2DRes *> elemMaps;
        for (int i = 0; i < ElemResults::Kinds * 3 + 2; ++i)
            elemMaps.append(new Analyzed2DRes(&app));
        s.maps = elemMaps;
        const double best = bestRun(s);
        if (best < 0)
            return 1;
        const double spectra = double(s.walk.bins());
        std::printf("%-11s %7.0f bins  %8.1f ms  %8.0f spectra/s  (3 element rows)\n", "Elements",
                    spectra, best, best > 0 ? spectra * 1e3 / best : 0.0);
        check += elemMaps[0]->data()[side / 2];
    }
    std::printf("(check %g, %ld log lines)\n", check, logLines);
    thread.quit();
    thread.wait();
    return allSame ? 0 : 2;
}
