// Releasing a colour-bar handle over a large stack: from the release of the
// mouse to the end of the repaint of the image on show.
//   bench_colorbar [frames (1000)] [size (1024)]

#include "core/gui/Body.h"
#include "input/TiffData.h"
#include "widgets/gui/ColorBar.h"
#include "widgets/gui/ImgDispA.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <algorithm>
#include <cstdio>
#include <vector>

static void mouse(QWidget *w, QEvent::Type type, const QPoint &at, Qt::MouseButton button,
                  Qt::MouseButtons held)
{
    QMouseEvent e(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int frames = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    const int size = argc > 2 ? std::max(16, atoi(argv[2])) : 1024;

    Body body;
    body.resize(1366, 700);
    body.show();
    std::vector<quint16> samples(size_t(size) * size_t(size));
    for (int k = 0; k < frames; ++k) {
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = quint16((i * 7 + size_t(k) * 13) & 4095);
        TiffData *f = TiffData::fromSamples(size, size, samples.data(),
                                            QStringLiteral("/bench/i1_%1_0000.tif").arg(7000 + k));
        if (!f) {
            std::fprintf(stderr, "no memory for frame %d\n", k);
            return 1;
        }
        body.loadedI1(f, k);
    }
    auto *disp = body.findChild<ImgDispA *>(QStringLiteral("dispA"));
    auto *bar = body.findChild<ColorBar *>(QStringLiteral("CBar"));
    disp->repaint();
    QApplication::processEvents();

    // Drags of the lower handle (it starts at the bottom), each ended by a
    // release; the release and the repaint after it are timed.
    std::vector<double> release, drag;
    const int x = bar->width() / 2;
    for (int i = 0; i < 20; ++i) {
        const int from = bar->height() - 2;
        const int to = bar->height() - 10 - (i % 5) * 8;
        mouse(bar, QEvent::MouseButtonPress, QPoint(x, from), Qt::LeftButton, Qt::LeftButton);
        QElapsedTimer t;
        t.start();
        mouse(bar, QEvent::MouseMove, QPoint(x, to), Qt::NoButton, Qt::LeftButton);
        disp->repaint();
        drag.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        mouse(bar, QEvent::MouseButtonRelease, QPoint(x, to), Qt::LeftButton, Qt::NoButton);
        disp->repaint();
        QApplication::processEvents();
        release.push_back(t.nsecsElapsed() / 1e6);
        // Back to the bottom for the next round.
        mouse(bar, QEvent::MouseButtonPress, QPoint(x, to), Qt::LeftButton, Qt::LeftButton);
        mouse(bar, QEvent::MouseMove, QPoint(x, from), Qt::NoButton, Qt::LeftButton);
        mouse(bar, QEvent::MouseButtonRelease, QPoint(x, from), Qt::LeftButton, Qt::NoButton);
        disp->repaint();
        QApplication::processEvents();
    }
    int pictures = 0;
    for (const TiffData *f : body.stacks().i1())
        pictures += f->builtPicture() ? 1 : 0;
    auto report = [](const char *what, std::vector<double> v) {
        std::sort(v.begin(), v.end());
        std::printf("  %-38s median %7.2f ms, worst %7.2f ms\n", what, v[v.size() / 2], v.back());
    };
    std::printf("colour bar over %d frames of %d x %d (lower handle at %.3f at the end)\n", frames,
                size, size, bar->lower());
    report("drag step + repaint", drag);
    report("release + repaint", release);
    std::printf("  frames holding a picture afterwards: %d of %d\n", pictures, frames);
    return 0;
}
