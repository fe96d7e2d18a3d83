// make-fuzz-seeds FOLDER
//
// Writes a seed corpus of small valid files for every fuzz target into
// FOLDER/<target>/ (fuzz_tiff, fuzz_img, fuzz_kvmx, fuzz_spectrum_twocolumn,
// fuzz_spectrum_9809, fuzz_refangles, fuzz_batch). The fuzzers start from
// these and change them; a seed that already reaches every branch of a format
// (strips and tiles, 16- and 32-bit IMG, both reference layouts, loops and
// remarks) saves the fuzzer from finding the layout byte by byte.
// The files are the same on every run.

#include "input/EnergyRule.h"
#include "input/TiffData.h"
#include "spectrum/XafsSpectrum.h"

#include <QByteArray>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QString>
#include <QVector>

#include <tiffio.h>

#include <cmath>
#include <cstdio>

namespace {

const double Hc = 12398.424360387684; // eV Angstrom
const double DSpacing = 3.13553;      // Angstrom
const double Pi = 3.1415926535;

QString outDir;
bool ok = true;

QString pathOf(const char *target, const char *name)
{
    const QString dir = outDir + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + QLatin1String(name);
}

void writeFile(const char *target, const char *name, const QByteArray &bytes)
{
    QFile f(pathOf(target, name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "make-fuzz-seeds: cannot write %s\n", qPrintable(f.fileName()));
        ok = false;
    }
}

QVector<quint16> ramp(int width, int height)
{
    QVector<quint16> s(width * height);
    for (int i = 0; i < s.size(); ++i)
        s[i] = quint16(100 + 37 * i);
    return s;
}

// A TIFF through libtiff with the given layout: strips of `rowsPerStrip`
// rows, or tiles of 16 x 16 when `tiled`, compressed by `compression`.
void writeTiffLayout(const char *name, int width, int height, bool tiled, int rowsPerStrip,
                     int compression)
{
    const QString path = pathOf("fuzz_tiff", name);
    TIFF *tif = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (!tif) {
        ok = false;
        return;
    }
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 16);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    const QVector<quint16> s = ramp(width, height);
    if (tiled) {
        const int t = 16;
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, t);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, t);
        QVector<quint16> tile(t * t);
        for (int y0 = 0; y0 < height; y0 += t) {
            for (int x0 = 0; x0 < width; x0 += t) {
                tile.fill(0);
                for (int y = y0; y < qMin(height, y0 + t); ++y)
                    for (int x = x0; x < qMin(width, x0 + t); ++x)
                        tile[(y - y0) * t + (x - x0)] = s[y * width + x];
                if (TIFFWriteTile(tif, tile.data(), x0, y0, 0, 0) < 0)
                    ok = false;
            }
        }
    } else {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
        for (int y = 0; y < height; ++y) {
            if (TIFFWriteScanline(tif, const_cast<quint16 *>(s.constData() + y * width), y, 0) < 0)
                ok = false;
        }
    }
    TIFFClose(tif);
}

void tiffSeeds()
{
    const QVector<quint16> small = ramp(4, 3);
    ok = writeTiff16(pathOf("fuzz_tiff", "strips-4x3.tif"), 4, 3, small.constData()) && ok;
    const QVector<quint16> tall = ramp(10, 30);
    ok = writeTiff16(pathOf("fuzz_tiff", "strips-10x30.tif"), 10, 30, tall.constData()) && ok;
    const quint16 one = 7;
    ok = writeTiff16(pathOf("fuzz_tiff", "single-1x1.tif"), 1, 1, &one) && ok;
    writeTiffLayout("tiles-20x18.tif", 20, 18, true, 0, COMPRESSION_NONE);
    writeTiffLayout("packbits-8x6.tif", 8, 6, false, 2, COMPRESSION_PACKBITS);
    writeTiffLayout("lzw-8x6.tif", 8, 6, false, 6, COMPRESSION_LZW);
}

void putLe16(QByteArray &b, int at, int v)
{
    b[at] = char(v & 0xff);
    b[at + 1] = char((v >> 8) & 0xff);
}

QByteArray imgFile(int width, int height, int bytesPerPixel, bool withBytesKey)
{
    QByteArray comment = "Prop_ImageWidth=" + QByteArray::number(width)
                         + ",Prop_ImageHeight=" + QByteArray::number(height) + ",Exposure=1.0";
    if (withBytesKey)
        comment += ",BytesPerPixel=" + QByteArray::number(bytesPerPixel);
    QByteArray b(64, '\0');
    b[0] = 'I';
    b[1] = 'M';
    putLe16(b, 2, comment.size());
    putLe16(b, 4, width);
    putLe16(b, 6, height);
    b += comment;
    for (int i = 0; i < width * height; ++i) {
        const quint32 v = quint32(50 + 13 * i);
        for (int k = 0; k < (bytesPerPixel == 4 ? 4 : 2); ++k)
            b += char((v >> (8 * k)) & 0xff);
    }
    return b;
}

void imgSeeds()
{
    writeFile("fuzz_img", "u16-4x3.img", imgFile(4, 3, 2, true));
    writeFile("fuzz_img", "u32-3x2.img", imgFile(3, 2, 4, true));
    writeFile("fuzz_img", "nokey-2x2.img", imgFile(2, 2, 2, false));
}

QByteArray kvmxFile(int x0, int x1, int y0, int y1, bool full)
{
    QByteArray b = "#KVMX-CTImg 1.0\n# RANGE_X0 = " + QByteArray::number(x0) + "\n# RANGE_X1 = "
                   + QByteArray::number(x1) + "\n# range_y0 : " + QByteArray::number(y0)
                   + "\n# RANGE_Y1 = " + QByteArray::number(y1) + "\n# SCALE = 1\n";
    const int lines = (x1 - x0) * (y1 - y0) - (full ? 0 : 2);
    for (int i = 0; i < lines; ++i) {
        const int x = x0 + i % (x1 - x0);
        const int y = y0 + i / (x1 - x0);
        b += QByteArray::number(x) + ' ' + QByteArray::number(y) + ' '
             + QByteArray::number(0.01 * (i % 7) - 0.01, 'g', 6) + '\n';
    }
    return b;
}

void kvmxSeeds()
{
    writeFile("fuzz_kvmx", "full-4x3.txt", kvmxFile(0, 4, 0, 3, true));
    writeFile("fuzz_kvmx", "short-3x3.txt", kvmxFile(2, 5, 1, 4, false));
}

// mu t of a smooth K edge at 7112 eV: a falling pre-edge, a step of 1 and a
// few damped oscillations above the edge.
double muAt(double e)
{
    const double pre = 0.3 - 0.00002 * (e - 7000.0);
    const double step = 1.0 / (1.0 + std::exp(-(e - 7112.0) / 3.0));
    const double k = e > 7112.0 ? std::sqrt(0.2625 * (e - 7112.0)) : 0.0;
    return pre + step * (1.0 + 0.05 * std::sin(2 * 2.5 * k) * std::exp(-0.01 * k * k));
}

double angleOf(double e)
{
    return std::asin(Hc / (2.0 * DSpacing * e)) * 180.0 / Pi;
}

QByteArray num(double v)
{
    return QByteArray::number(v, 'g', 10);
}

void spectrumSeeds()
{
    QByteArray two = "# energy mu\n";
    for (double e = 6900.0; e <= 7800.0; e += 15.0)
        two += num(e) + "  " + num(muAt(e)) + '\n';
    writeFile("fuzz_spectrum_twocolumn", "edge.dat", two);
    writeFile("fuzz_spectrum_twocolumn", "short.dat", "7000 0.5\n7100 0.7\n# done\n7200 1.6\n");

    QByteArray scan = "9809     Lumenograf seed  scan\nFe foil transmission\n"
                      "Ring  2.5 GeV  D=  3.13553 A\nMode  Trans\n"
                      "Offset      0       0       0\n";
    for (double e = 6900.0; e <= 7800.0; e += 15.0) {
        const double i0 = 100000.0 - 10.0 * (e - 6900.0);
        const double i1 = i0 * std::exp(-muAt(e));
        scan += "  " + num(angleOf(e)) + "  " + num(angleOf(e)) + "  1.0  " + num(std::round(i0))
                + "  " + num(std::round(i1)) + '\n';
    }
    writeFile("fuzz_spectrum_9809", "scan.dat", scan);
    writeFile("fuzz_spectrum_9809", "zero-i0.dat",
              "9809 short\nD= 3.0\nOffset 0 0\n 14.0 14.0 1.0 0 500\n 14.1 14.1 1.0 900 500\n");
}

void refAngleSeeds()
{
    QByteArray scan = "9809     reference angles\nD=  3.13553 A\nOffset  0 0 0\n";
    QByteArray simple = "angle\n";
    for (double e = 7000.0; e <= 7300.0; e += 25.0) {
        scan += "  " + num(angleOf(e)) + "  " + num(angleOf(e)) + "  1.0\n";
        simple += num(angleOf(e)) + '\n';
    }
    scan += "# a comment line\n  16.0\n";
    writeFile("fuzz_refangles", "9809.dat", scan);
    writeFile("fuzz_refangles", "simple.dat", simple);
}

void batchSeeds()
{
    writeFile("fuzz_batch", "loops.bat",
              "# two nested loops over frames\n"
              ":for outer N 1 3\n"
              ":for inner k 08 12 2\n"
              "seek_image Nk\n"
              ":echo frame N k\n"
              ":next inner\n"
              ":next outer\n"
              ":end\n"
              "seek_image 1\n");
    writeFile("fuzz_batch", "remarks.bat",
              ":rem_start\n"
              "load_I0_files_of_pattern NEW \"C:/data set/\" I0_*.tif\n"
              ":rem_end\n"
              "set_band_w 5 # half width\n"
              "set_band_h \\\n"
              "  5\n"
              "\n"
              "eng_by_name_factor_i1 \"1000\"\n"
              "unknown_word 1 2 3\n");
    writeFile("fuzz_batch", "down.bat",
              ":for c i 10 1 -3\n"
              ":echo \"i\" i\n"
              ":next c\n"
              ":next nothing\n"
              "quit\n");
}

// A seed the program's own reader refuses would only teach the fuzzer the
// reader's first check: every frame, spectrum and reference file written
// above is read back and must be accepted whole.
void checkSeeds()
{
    const auto filesOf = [](const char *target) {
        QDir dir(outDir + QLatin1Char('/') + QLatin1String(target));
        QStringList paths;
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
            paths << dir.filePath(name);
        return paths;
    };
    const auto refuse = [](const QString &path) {
        std::fprintf(stderr, "make-fuzz-seeds: the reader refuses %s\n", qPrintable(path));
        ok = false;
    };
    for (const char *target : {"fuzz_tiff", "fuzz_img", "fuzz_kvmx"}) {
        for (const QString &path : filesOf(target)) {
            TiffData frame;
            if (!frame.read(path) || frame.width() < 1 || frame.height() < 1)
                refuse(path);
        }
    }
    for (const char *target : {"fuzz_spectrum_twocolumn", "fuzz_spectrum_9809"}) {
        const bool twoColumn = QLatin1String(target) == QLatin1String("fuzz_spectrum_twocolumn");
        for (const QString &path : filesOf(target)) {
            XafsSpectrum spectrum;
            if (!spectrum.load(path) || spectrum.raw().size() < 2
                || bool(spectrum.isTwoColumn()) != twoColumn)
                refuse(path);
        }
    }
    for (const QString &path : filesOf("fuzz_refangles")) {
        EnergyRule rule;
        if (!rule.readRefFile(path) || rule.refEnergies.size() < 2)
            refuse(path);
    }
}

void quiet(QtMsgType, const QMessageLogContext &, const QString &)
{
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-fuzz-seeds FOLDER\n");
        return 2;
    }
    outDir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "make-fuzz-seeds: cannot make %s\n", argv[1]);
        return 1;
    }
    tiffSeeds();
    imgSeeds();
    kvmxSeeds();
    spectrumSeeds();
    refAngleSeeds();
    batchSeeds();
    // The readers log what they read; only a refusal matters here.
    qInstallMessageHandler(quiet);
    checkSeeds();
    return ok ? 0 : 1;
}
