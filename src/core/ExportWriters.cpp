#include "core/ExportWriters.h"

#include "core/ImageStacks.h"
#include "core/RealText.h"
#include "core/SpectrumSource.h"
#include "input/TiffData.h"
#include "spectrum/XafsSpectrum.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <charconv>
#include <cstring>
#include <vector>

QString taggedName(const QString &name, const QString &tag)
{
    const QFileInfo f(name);
    return f.absoluteDir().filePath(f.completeBaseName() + "-" + tag + "." + f.suffix());
}

QString numberedDataName(const QString &name, int n, const QString &ext)
{
    const QFileInfo f(name);
    // One substitution of all three: a name holding "%1" or "%2" stays as
    // it is.
    return f.absoluteDir().filePath(
        QString("%1-%2.%3").arg(f.completeBaseName(), QString::number(n), ext));
}

QString defaultExtensionName(const QString &name, const QString &ext)
{
    const QFileInfo f(name);
    const QString path = f.absoluteFilePath();
    return f.suffix().isEmpty() ? path + "." + ext : path;
}

QString eachSpectrumTitle(SpectrumKind kind)
{
    switch (kind) {
    case SpectrumKind::NormalizedXafs:
        return "# Lumenograf Save Normalized Xafs Spectra 1.0";
    case SpectrumKind::RawXafs:
        return "# Lumenograf Save Raw Xafs Spectra 1.0";
    case SpectrumKind::Raw:
        break;
    }
    return "# Lumenograf Save Raw Spectra 1.0";
}

namespace {

// (limit - from - half - 1) / step + 1 in integers, as the header counts.
int headerBins(int from, int limit, int half, int step)
{
    return int((qint64(limit) - from - half - 1) / qMax(step, 1) + 1);
}

// Text gathered in memory and handed to the file in large pieces: the
// spectra of a big area run to hundreds of megabytes, written line by line.
class TextOut
{
public:
    explicit TextOut(QFile &file)
        : file(file)
    {
        buf.resize(Chunk);
    }

    // Room for n more bytes; write there and then call used(end).
    char *room(qint64 n)
    {
        if (fill + n > qint64(buf.size())) {
            flush();
            if (n > qint64(buf.size()))
                buf.resize(size_t(n));
        }
        return buf.data() + fill;
    }
    void used(char *end) { fill = end - buf.data(); }
    void put(const QByteArray &text)
    {
        char *p = room(text.size());
        std::memcpy(p, text.constData(), size_t(text.size()));
        used(p + text.size());
    }
    bool good() const { return ok; }
    // False once any piece could not be written.
    bool flush()
    {
        if (fill > 0 && ok)
            ok = file.write(buf.data(), fill) == fill;
        fill = 0;
        return ok;
    }

private:
    static constexpr qint64 Chunk = 1 << 20;
    QFile &file;
    std::vector<char> buf;
    qint64 fill = 0;
    bool ok = true;
};

char *putInt(char *p, int v)
{
    return std::to_chars(p, p + 12, v).ptr;
}

char *putReal(char *p, double v)
{
    return p + writeRealText(p, v);
}

// The texts of the energies of the last line: the energies of one bin are
// those of the next unless a shift moves them, so each is formatted once.
class EnergyTexts
{
public:
    char *put(char *p, int i, double e)
    {
        if (i >= int(values.size())) {
            values.resize(size_t(i) + 1);
            texts.resize(size_t(i) + 1);
        }
        Text &t = texts[size_t(i)];
        if (t.length == 0 || std::memcmp(&values[size_t(i)], &e, sizeof e) != 0) {
            values[size_t(i)] = e;
            t.length = writeRealText(t.chars, e);
        }
        // A fixed-size copy: the line's room holds a whole text per number.
        std::memcpy(p, t.chars, RealTextMax);
        return p + t.length;
    }

private:
    struct Text
    {
        char chars[RealTextMax];
        int length = 0;
    };
    std::vector<double> values;
    std::vector<Text> texts;
};

// The longest text of one energy point: a blank, the energy, a blank, the
// value.
constexpr qint64 PointMax = 2 + 2 * RealTextMax;
// The longest start of a line: two integers and a real with their blanks.
constexpr qint64 LineStartMax = 2 * 12 + RealTextMax + 8;

} // namespace

int headerBinsAcross(const AnalyzeCond &walk)
{
    return headerBins(walk.x0, walk.x1, walk.hx, walk.sx);
}

int headerBinsDown(const AnalyzeCond &walk)
{
    return headerBins(walk.y0, walk.y1, walk.hy, walk.sy);
}

bool saveEachSpectrum(const SpectrumSource &source, const EachSpectrumRequest &request,
                      const QString &fname)
{
    AnalyzeCond w = request.walk;
    w.reset();
    if (source.i1Count() == 0) {
        qDebug().noquote() << "No I1 frames, no spectra saved to" << fname;
        return false;
    }
    const QString name = defaultExtensionName(fname, "dat");
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        qDebug().noquote() << "Can't open" << name;
        return false;
    }
    TextOut out(file);
    const QByteArray blank(" ");
    out.put(eachSpectrumTitle(request.kind).toLatin1() + "\n");
    out.put("# X-Range (x0, x1), steps : " + QByteArray::number(w.x0) + blank
            + QByteArray::number(w.x1) + blank + QByteArray::number(headerBinsAcross(w)) + "\n");
    out.put("# Y-Range (y0, y1), steps : " + QByteArray::number(w.y0) + blank
            + QByteArray::number(w.y1) + blank + QByteArray::number(headerBinsDown(w)) + "\n");
    out.put("# Full Width, Height      : " + QByteArray::number(w.width) + blank
            + QByteArray::number(w.height) + "\n");
    out.put("# Bin Half Width, Height  : " + QByteArray::number(w.hx) + blank
            + QByteArray::number(w.hy) + "\n");
    out.put("# Step dX, dY             : " + QByteArray::number(w.sx) + blank
            + QByteArray::number(w.sy) + "\n");
    out.put("# End of Header\n");

    const bool raw = request.kind == SpectrumKind::Raw;
    const bool normalized = request.kind == SpectrumKind::NormalizedXafs;
    EnergyTexts energies;
    for (;;) {
        const int x = w.cx;
        const int y = w.cy;
        const double shift = !raw && request.shiftAt ? request.shiftAt(x, y) : 0.0;
        // The points of the bin: energies (less the shift when it corrects
        // them) and values of the kind.
        SpectrumPoints points;
        const SpectrumPoints *values = nullptr;
        XafsSpectrum spectrum;
        if (raw) {
            points = source.rawI1(x, y, w.hx, w.hy);
            values = &points;
        } else {
            points = source.absorption(x, y, w.hx, w.hy);
            if (request.applyShift) {
                points.setShift(shift);
                points.enableShift(true);
            }
            if (normalized) {
                spectrum = XafsSpectrum(points, request.isVictoreen, shift);
                values = &spectrum.normalized();
            } else {
                values = &points;
            }
        }
        const int n = points.size();
        char *p = out.room(LineStartMax + n * PointMax);
        p = putInt(p, x);
        *p++ = ' ';
        p = putInt(p, y);
        if (!raw) {
            *p++ = ' ';
            p = putReal(p, shift);
        }
        for (int i = 0; i < n; ++i) {
            *p++ = ' ';
            p = energies.put(p, i, points.x(i));
            *p++ = ' ';
            p = putReal(p, i < values->size() ? values->y(i) : 0.0);
        }
        *p++ = '\n';
        out.used(p);

        bool newRow = false;
        // A file that takes no more (a full disk) ends the work at once.
        if (!out.good() || !w.advance(newRow))
            break;
        if (newRow) {
            // Only while bins follow, so the next row lies below y0 and
            // before y1, and y1 - y0 is not 0.
            const double percent = double(qint64(w.cy) - w.y0) / double(qint64(w.y1) - w.y0) * 100;
            qDebug().noquote() << "Save Xafs Spectra : Progress" << percent;
        }
    }
    const bool written = out.flush();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        qDebug().noquote() << "Can't write" << name;
        return false;
    }
    return true;
}

bool saveEachSpectrum(const ImageStacks &stacks, const EachSpectrumRequest &request,
                      const QString &fname)
{
    return saveEachSpectrum(stacks.source(), request, fname);
}

bool saveFlatDark(const QString &folder, int width, int height)
{
    if (width < 1 || height < 1) {
        qDebug().noquote() << "No frame size, no flat and dark frames saved to" << folder;
        return false;
    }
    const QDir dir(folder);
    for (const auto &[name, value] : {std::pair<const char *, quint16>{"flat.dat", 1},
                                      std::pair<const char *, quint16>{"dark.dat", 0}}) {
        const QString path = dir.absoluteFilePath(name);
        if (!writeConstantTiff16(path, width, height, value)) {
            qDebug().noquote() << "Can't open" << path;
            return false;
        }
    }
    return true;
}

bool savePicture(const QImage &picture, const QString &fname)
{
    if (picture.isNull()) {
        qDebug().noquote() << "No picture to save as" << fname;
        return false;
    }
    const QString suffix = QFileInfo(fname).suffix();
    const char *format = nullptr;
    if (suffix.isEmpty()) {
        format = "PNG";
        qDebug().noquote() << "No suffix: saved as PNG" << fname;
    }
    if (!picture.save(fname, format)) {
        qDebug().noquote() << "Can't write picture" << fname;
        return false;
    }
    return true;
}
