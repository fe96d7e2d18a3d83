// A mouse move over the main window's display with 100 I1 and 100 I0 frames
// of 1024 x 1024 and the default half sizes (10, 10): the spectrum, the raw
// trace, the cross sections and the labels are updated by the move's slots;
// the repaint that follows is measured apart.
#include "core/gui/Body.h"
#include "input/TiffData.h"
#include "widgets/gui/ImgDispA.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

static TiffData *benchFrame(int size, int k, bool i1)
{
    // A disc of sample with an absorption edge at frame 50.
    const double mu = 0.3 + (k >= 50 ? 1.0 : 0.0) + 0.002 * k;
    const double t = std::exp(-mu);
    std::vector<quint16> samples(size_t(size) * size);
    for (int y = 0; y < size; ++y) {
        quint16 *row = samples.data() + size_t(y) * size;
        for (int x = 0; x < size; ++x) {
            const int beam = 20000 + ((x * 7 + y * 13 + k) & 255);
            const bool disc = (x - 512) * (x - 512) + (y - 512) * (y - 512) < 300 * 300;
            row[x] = quint16(i1 ? (disc ? beam * t : beam * 0.95) : beam);
        }
    }
    const QString name =
        QStringLiteral("/bench/%1_%2_0000.tif").arg(i1 ? "i1" : "i0").arg(7000 + 5 * k);
    TiffData *f = TiffData::fromSamples(size, size, samples.data(), name);
    if (!f) {
        std::fprintf(stderr, "no memory for a %d x %d frame\n", size, size);
        std::exit(1);
    }
    return f;
}

static double threadCpuUs()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

static void report(const char *what, std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    double mean = 0;
    for (double x : v)
        mean += x;
    mean /= v.size();
    std::printf("  %-34s median %8.1f us, mean %8.1f us, 99%% %8.1f us\n", what, v[v.size() / 2],
                mean, v[v.size() * 99 / 100]);
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int size = 1024;
    const int frames = 100;

    Body body;
    body.resize(1366, 700);
    body.show();
    for (int k = 0; k < frames; ++k)
        body.loadedI0(benchFrame(size, k, false), k);
    for (int k = 0; k < frames; ++k)
        body.loadedI1(benchFrame(size, k, true), k);
    ImgDispA *disp = body.findChild<ImgDispA *>(QStringLiteral("dispA"));
    disp->repaint();
    QApplication::processEvents();

    const int moves = 400;
    std::vector<double> slotWall, slotCpu, paint;
    for (int i = 0; i < moves; ++i) {
        // Sweep across the disc and back, one screen pixel per move.
        const int sx = disp->width() / 4 + (i % 200) * (i / 200 % 2 ? -1 : 1) + (i / 200) * 200;
        const QPoint at(sx, disp->height() / 2 + (i % 7));
        QMouseEvent move(QEvent::MouseMove, at, disp->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QElapsedTimer t;
        const double c0 = threadCpuUs();
        t.start();
        QApplication::sendEvent(disp, &move);
        slotWall.push_back(t.nsecsElapsed() / 1000.0);
        slotCpu.push_back(threadCpuUs() - c0);
        t.restart();
        QApplication::processEvents();
        paint.push_back(t.nsecsElapsed() / 1000.0);
    }
    std::printf("mouse move, %d I1 + %d I0 frames of %d x %d, half sizes (10, 10), "
                "position (%d, %d) at the end\n",
                frames, frames, size, size, body.positionX(), body.positionY());
    report("slots (wall)", slotWall);
    report("slots (CPU of the GUI thread)", slotCpu);
    report("repaint of the windows afterwards", paint);
    return 0;
}
