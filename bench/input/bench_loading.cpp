// Frame loading throughput against plain reads of the same files into fresh
// memory, memory per frame before and after it is shown, and the cost of a
// window sum.
//   bench_loading [frames (100)] [size (1024)]
// Writes the frames into a temporary folder, warms the page cache, then
// prints the figures.

#include "input/LoadTiff.h"
#include "input/TiffData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace {

// CPU time of this thread (user and system): on a shared machine the wall
// clock also counts the time other processes held the cores.
double cpuSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + ts.tv_nsec / 1e9;
}

long residentKiB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> v = f.readAll().split(' ');
    return v.size() > 1 ? v[1].toLong() * 4 : -1;
}

// The yardstick: each file read whole into memory allocated for it, kept
// as a stack keeps its frames and freed after the clock stops.
double plainReads(const QStringList &files, qint64 &bytes, double &cpu)
{
    std::vector<std::unique_ptr<char[]>> held;
    held.reserve(size_t(files.size()));
    QElapsedTimer t;
    t.start();
    const double c0 = cpuSeconds();
    bytes = 0;
    for (const QString &p : files) {
        QFile f(p);
        if (!f.open(QIODevice::ReadOnly))
            return -1;
        const qint64 size = f.size();
        held.emplace_back(new char[size_t(size)]);
        const qint64 n = f.read(held.back().get(), size);
        if (n != size)
            return -1;
        bytes += n;
    }
    cpu = cpuSeconds() - c0;
    return t.nsecsElapsed() / 1e9;
}

// Frames are kept, as a stack keeps them, and freed after the clock stops.
double frameReads(const QStringList &files, double &cpu)
{
    std::vector<std::unique_ptr<TiffData>> stack;
    stack.reserve(size_t(files.size()));
    QElapsedTimer t;
    t.start();
    const double c0 = cpuSeconds();
    for (const QString &p : files) {
        stack.emplace_back(new TiffData);
        if (!stack.back()->read(p))
            return -1;
    }
    cpu = cpuSeconds() - c0;
    return t.nsecsElapsed() / 1e9;
}

// The whole road of a load: the loader's own thread, queued delivery to a
// receiver here that takes and frees each frame.
double threadedLoad(const QStringList &files)
{
    QThread worker;
    auto *loader = new LoadTiff;
    loader->moveToThread(&worker);
    QObject::connect(&worker, &QThread::finished, loader, &QObject::deleteLater);
    worker.start();
    QObject ctx;
    std::vector<std::unique_ptr<TiffData>> stack;
    int got = 0;
    bool done = false;
    QObject::connect(loader, &LoadTiff::loaded, &ctx, [&](const FrameHandle &d, int, quint64) {
        stack.emplace_back(d.take());
        ++got;
    });
    QObject::connect(loader, &LoadTiff::finishLoadFiles, &ctx, [&] { done = true; });
    QElapsedTimer t;
    t.start();
    QMetaObject::invokeMethod(loader, "loadTiffs", Qt::QueuedConnection, Q_ARG(QStringList, files),
                              Q_ARG(int, 1), Q_ARG(int, 0), Q_ARG(int, 0), Q_ARG(quint64, 1));
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double s = t.nsecsElapsed() / 1e9;
    worker.quit();
    worker.wait();
    return got == files.size() ? s : -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int frames = argc > 1 ? std::max(1, atoi(argv[1])) : 100;
    const int size = argc > 2 ? std::max(16, atoi(argv[2])) : 1024;

    QTemporaryDir dir;
    std::vector<quint16> samples(size_t(size) * size_t(size));
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> noise(0, 4095);
    QStringList files;
    for (int i = 0; i < frames; ++i) {
        for (auto &s : samples)
            s = quint16(1000 + noise(rng));
        const QString p =
            dir.filePath(QStringLiteral("frame_%1.tif").arg(i, 4, 10, QLatin1Char('0')));
        if (!writeTiff16(p, size, size, samples.data())) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(p));
            return 1;
        }
        files << p;
    }

    qint64 bytes = 0;
    double cpu = 0;
    plainReads(files, bytes, cpu); // warm the page cache
    frameReads(files, cpu);

    double bestPlain = 1e30, bestFrames = 1e30, bestThread = 1e30, cpuPlain = 1e30,
           cpuFrames = 1e30;
    for (int round = 0; round < 5; ++round) {
        bestPlain = std::min(bestPlain, plainReads(files, bytes, cpu));
        cpuPlain = std::min(cpuPlain, cpu);
        bestFrames = std::min(bestFrames, frameReads(files, cpu));
        cpuFrames = std::min(cpuFrames, cpu);
        bestThread = std::min(bestThread, threadedLoad(files));
    }
    const double mib = bytes / 1048576.0;
    std::printf(
        "stack: %d uncompressed 16-bit frames of %d x %d, %.1f MiB, warm page cache, best of 5\n",
        frames, size, size, mib);
    std::printf("plain reads into fresh memory: %8.1f MiB/s  (%.3f s)\n", mib / bestPlain,
                bestPlain);
    std::printf("TiffData::read:       %8.1f MiB/s  (%.3f s)  ratio %.2f\n", mib / bestFrames,
                bestFrames, bestPlain / bestFrames);
    std::printf("CPU time: plain reads %.3f s (%.1f MiB/s), TiffData::read %.3f s (%.1f MiB/s), "
                "ratio %.2f\n",
                cpuPlain, mib / cpuPlain, cpuFrames, mib / cpuFrames, cpuPlain / cpuFrames);
    std::printf("LoadTiff in a thread: %8.1f MiB/s  (%.3f s)  ratio %.2f\n", mib / bestThread,
                bestThread, bestPlain / bestThread);

    // Memory: hold 20 frames and look at what they cost.
    const long before = residentKiB();
    std::vector<std::unique_ptr<TiffData>> held;
    for (int i = 0; i < std::min(frames, 20); ++i) {
        held.emplace_back(new TiffData);
        held.back()->read(files[i]);
    }
    const long after = residentKiB();
    {
        QFile sm(QStringLiteral("/proc/self/smaps_rollup"));
        if (sm.open(QIODevice::ReadOnly))
            for (const QByteArray &l : sm.readAll().split('\n'))
                if (l.startsWith("AnonHugePages"))
                    std::printf("held 20 frames: %s\n", l.simplified().constData());
    }
    const TiffData &f0 = *held.front();
    const qint64 sampleBytes = f0.sampleMemory();
    const double growth = (after - before) * 1024.0 / double(held.size());
    std::printf(
        "memory per loaded frame (not shown): samples %lld B; resident growth %.0f B per frame "
        "(%+.2f %% over the samples)\n",
        (long long)sampleBytes, growth, 100.0 * (growth - sampleBytes) / sampleBytes);

    // Showing a frame: its picture is built then, and only then.
    {
        double s = 1e30;
        for (int round = 0; round < 5; ++round) {
            const double c0 = cpuSeconds();
            for (auto &f : held) {
                f->markPictureStale();
                f->picture();
            }
            s = std::min(s, (cpuSeconds() - c0) / double(held.size()));
        }
        const QImage *pic = f0.builtPicture();
        std::printf("a shown frame adds its picture: %lld B, built in %.3f ms\n",
                    (long long)(pic ? qint64(pic->bytesPerLine()) * pic->height() : 0), s * 1e3);
    }

    // Window sums, 21 x 21, inside the frame.
    const int hw = 10;
    std::vector<std::pair<int, int>> pos;
    std::uniform_int_distribution<int> at(hw, size - hw - 1);
    for (int i = 0; i < 4096; ++i)
        pos.emplace_back(at(rng), at(rng));
    double sink = 0;
    QElapsedTimer t;
    const int reps = 200;
    t.start();
    for (int r = 0; r < reps; ++r)
        for (const auto &p : pos)
            sink += f0.windowSum(p.first, p.second, hw, hw);
    const double ns = double(t.nsecsElapsed());
    const double perSample = ns / (double(reps) * double(pos.size()) * 21.0 * 21.0);
    std::printf("windowSum 21 x 21: %.3f ns per sample (%.0f ns per window)  [check %.0f]\n",
                perSample, perSample * 441, sink);
    return 0;
}
