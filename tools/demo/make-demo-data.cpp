// make-demo-data FOLDER
//
// Writes a small transmission XAFS imaging experiment across the Fe K edge
// into FOLDER, so the program can be tried without a beamline:
//
//   FOLDER/I0/I0_NNN_EEEE_FFFF.tif   incident beam, one 16-bit frame per energy
//   FOLDER/I1/I1_NNN_EEEE_FFFF.tif   beam through the sample, same energies
//   FOLDER/dark.tif                  detector dark frame
//   FOLDER/ref_Fe_metal.dat          reference spectrum (energy, mu t), metal-like
//   FOLDER/ref_Fe2O3.dat             reference spectrum (energy, mu t), oxide-like
//   FOLDER/README.txt                what is where in the sample
//
// NNN is the frame number (001 upwards, in ascending energy), EEEE_FFFF the
// energy in eV with four decimals ("7189_2500" is 7189.25 eV), which the
// default file-name pattern of the energy assignment reads. The frame number
// comes first and has three digits only, so the pattern cannot mistake it for
// part of an energy; it makes name order energy order, so a wildcard load
// takes each stack in the order the I0 interpolation and the spectra need.
//
// The physics: every frame holds detector counts. The incident beam has a
// smooth profile, a small per-pixel gain pattern and a spectrum that falls
// with energy; the dark level is a fixed pattern near 60 counts. The sample
// (a thin support film everywhere, regions of a metal-like and an oxide-like
// iron species in several thicknesses) absorbs mu t, so the expected counts
// are I0 = dark + beam and I1 = dark + beam * exp(-mu t), i.e.
// I1 = (I0 - dark) * exp(-mu t) + dark, and every recorded count is drawn from
// a Poisson distribution around its expectation. All random numbers come from
// one generator with a fixed seed, so the data set is the same on every run.

#include "input/TiffData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTextStream>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

const int Width = 128;
const int Height = 128;
const double FeKEdge = 7112.0;   // eV
const double PeakBeam = 32000.0; // counts of the brightest pixel at the lowest energy

// splitmix64: small, fast and the same on every platform.
class Random
{
public:
    explicit Random(uint64_t seed)
        : state(seed)
    {
    }

    uint64_t next()
    {
        uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    // Uniform in the open interval (0, 1).
    double uniform() { return (double(next() >> 11) + 0.5) * (1.0 / 9007199254740992.0); }

    // A Poisson-distributed count of mean lambda: multiplication of uniforms
    // for small means, Hoermann's transformed rejection (PTRS) above.
    int poisson(double lambda)
    {
        if (lambda <= 0.0)
            return 0;
        if (lambda < 10.0) {
            const double limit = std::exp(-lambda);
            int k = 0;
            double p = uniform();
            while (p > limit) {
                ++k;
                p *= uniform();
            }
            return k;
        }
        const double slam = std::sqrt(lambda);
        const double loglam = std::log(lambda);
        const double b = 0.931 + 2.53 * slam;
        const double a = -0.059 + 0.02483 * b;
        const double invAlpha = 1.1239 + 1.1328 / (b - 3.4);
        const double vr = 0.9277 - 3.6224 / (b - 2.0);
        for (;;) {
            const double u = uniform() - 0.5;
            const double v = uniform();
            const double us = 0.5 - std::fabs(u);
            const double k = std::floor((2.0 * a / us + b) * u + lambda + 0.43);
            if (us >= 0.07 && v <= vr)
                return int(k);
            if (k < 0.0 || (us < 0.013 && v > us))
                continue;
            if (std::log(v) + std::log(invAlpha) - std::log(a / (us * us) + b)
                <= -lambda + k * loglam - std::lgamma(k + 1.0))
                return int(k);
        }
    }

private:
    uint64_t state;
};

struct Peak
{
    double position; // eV
    double width;    // eV, Gaussian sigma
    double height;   // in units of the edge step
};

struct Shell
{
    double distance; // Angstrom
    double amplitude;
    double sigma2; // Debye-Waller factor, Angstrom^2
    double phase;  // rad
};

// Absorption of one unit of thickness of an iron species: a falling
// background of everything but the Fe K shell, the K edge as a lifetime
// broadened (arctan) step with its pre-edge peak and white line, the
// post-edge decay of the K-shell absorption and EXAFS oscillations.
// One unit of thickness gives an edge jump of 1 at the edge.
struct Species
{
    const char *name;
    double edge;       // inflection of the step, eV
    double broadening; // half width of the step, eV
    double background; // absorption below the edge, relative to the jump, at the Fe K edge
    Peak preEdge;
    Peak whiteLine;
    QVector<Shell> shells;

    double step(double e) const
    {
        return 0.5 + std::atan((e - edge) / broadening) / 3.14159265358979323846;
    }

    double chi(double e) const
    {
        if (e <= edge)
            return 0.0;
        // k in 1/Angstrom from the photoelectron's kinetic energy.
        const double k = std::sqrt(0.262468 * (e - edge));
        const double onset = 1.0 - std::exp(-(k / 2.5) * (k / 2.5));
        double sum = 0.0;
        for (const Shell &s : shells)
            sum += s.amplitude * 4.0 / (k + 2.0) * std::sin(2.0 * k * s.distance + s.phase)
                   * std::exp(-2.0 * s.sigma2 * k * k);
        return onset * sum;
    }

    static double gauss(const Peak &p, double e)
    {
        const double d = (e - p.position) / p.width;
        return p.height * std::exp(-0.5 * d * d);
    }

    double mu(double e) const
    {
        const double below = background * std::pow(FeKEdge / e, 3.0);
        const double kShell = (step(e) * (1.0 + gauss(whiteLine, e) + chi(e)) + gauss(preEdge, e))
                              * std::pow(FeKEdge / e, 2.7);
        return below + kShell;
    }
};

Species metalLike()
{
    return {"Fe metal-like",
            7112.0,
            1.6,
            0.13,
            {7113.5, 1.6, 0.10},
            {7131.0, 7.0, 0.12},
            {{2.48, 0.18, 0.0050, -1.2}, {2.87, 0.12, 0.0060, -1.4}}};
}

Species oxideLike()
{
    return {"Fe2O3-like",
            7122.5,
            1.8,
            0.20,
            {7114.3, 1.3, 0.05},
            {7132.5, 4.5, 0.45},
            {{1.95, 0.22, 0.0070, -0.9}, {3.00, 0.12, 0.0080, -1.6}}};
}

// Thin support film under the whole field of view (mu t at the Fe K edge).
double supportMu(double e)
{
    return 0.05 * std::pow(FeKEdge / e, 3.0);
}

// The scan: coarse before the edge, 2 eV steps through it, wider steps after.
// Reaches more than 1000 eV below and above the edge.
QVector<double> scanEnergies()
{
    QVector<double> e;
    for (int i = 0; i < 40; ++i)
        e << 6060.0 + 25.0 * i; // 6060 .. 7035
    e << 7045.0 << 7055.0;
    for (int i = 0; i < 45; ++i)
        e << 7062.0 + 2.0 * i; // 7062 .. 7150
    for (int i = 0; i < 33; ++i)
        e << 7158.0 + 31.25 * i; // 7158 .. 8158
    return e;
}

// Thickness of each species at a pixel, in units of its edge jump.
struct Thickness
{
    double metal = 0.0;
    double oxide = 0.0;
};

Thickness sampleAt(int x, int y)
{
    Thickness t;
    const int dx = x - 36, dy = y - 38;
    if (dx * dx + dy * dy <= 22 * 22)
        t.metal = 1.2; // metal disc
    if (x >= 74 && x < 114 && y >= 16 && y < 58)
        t.oxide = 0.8; // oxide block
    if (x >= 14 && x < 58 && y >= 78 && y < 114) {
        t.metal = 0.5; // mixed block
        t.oxide = 0.5;
    }
    if (x >= 72 && x < 118 && y >= 78 && y < 114)
        t.oxide = 0.2 + 1.4 * (x - 72) / 45.0; // oxide wedge
    return t;
}

// A fixed per-pixel number in [0, 1) (detector gain and dark patterns).
double pattern(int x, int y, uint64_t salt)
{
    Random r((uint64_t(y) << 32) ^ uint64_t(x) ^ (salt * 0x632be59bd9b4e019ULL));
    return r.uniform();
}

double darkLevel(int x, int y)
{
    return 56.0 + 8.0 * pattern(x, y, 1);
}

// Beam counts without sample at a pixel for a relative source intensity.
double beamAt(int x, int y, double source)
{
    const double ax = (x - 62.0) / 90.0, ay = (y - 66.0) / 70.0;
    const double profile = std::exp(-0.5 * (ax * ax + ay * ay));
    const double gain = 0.98 + 0.04 * pattern(x, y, 2);
    return PeakBeam * source * profile * gain;
}

// Source spectrum times detector efficiency, 1 at the lowest energy.
double sourceAt(double e)
{
    return std::pow(6060.0 / e, 1.2);
}

QString energyTag(double e)
{
    const qint64 tenThousandths = qRound64(e * 10000.0);
    return QString("%1_%2")
        .arg(tenThousandths / 10000, 4, 10, QChar('0'))
        .arg(tenThousandths % 10000, 4, 10, QChar('0'));
}

quint16 clampCount(int n)
{
    return quint16(std::min(std::max(n, 0), 65535));
}

bool writeFrame(const QString &path, const QVector<quint16> &frame)
{
    if (!writeTiff16(path, Width, Height, frame.constData())) {
        std::fprintf(stderr, "make-demo-data: can not write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writeReference(const QString &path, const Species &s)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate)) {
        std::fprintf(stderr, "make-demo-data: can not write %s\n", qPrintable(path));
        return false;
    }
    QTextStream out(&f);
    out << "# " << s.name
        << " reference spectrum for the Lumenograf demo: mu t of one unit of thickness\n";
    out << "# energy(eV) mu_t\n";
    // Measured with the same scan as the sample, as a beamline would.
    for (double e : scanEnergies())
        out << QString::number(e, 'f', 2) << ' ' << QString::number(s.mu(e), 'f', 6) << '\n';
    return f.error() == QFile::NoError;
}

// Removes frames an earlier run left, so a wildcard load finds only this run's.
void removeOldFrames(const QString &dir, const QString &prefix)
{
    QDir d(dir);
    for (const QString &name : d.entryList({prefix + "_*.tif"}, QDir::Files))
        d.remove(name);
}

bool writeReadme(const QString &path, const QVector<double> &energies)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate))
        return false;
    QTextStream out(&f);
    out << "Lumenograf demo data: transmission XAFS imaging across the Fe K edge (7112 eV)\n"
           "\n"
           "I0/  incident beam frames, I1/  frames through the sample, "
        << Width << " x " << Height
        << " pixels, 16-bit TIFF\n"
           "     names I0_NNN_EEEE_FFFF.tif: frame number, energy EEEE.FFFF eV\n"
           "dark.tif  dark frame (about 60 counts)\n"
           "ref_Fe_metal.dat, ref_Fe2O3.dat  reference spectra, two columns: energy (eV), mu t\n"
           "\n"
           "Sample (pixel x, y from the top left; thickness in units of the edge jump):\n"
           "  metal disc     centre (36, 38), radius 22          metal 1.2\n"
           "  oxide block    x 74..113, y 16..57                  oxide 0.8\n"
           "  mixed block    x 14..57, y 78..113                  metal 0.5 + oxide 0.5\n"
           "  oxide wedge    x 72..117, y 78..113                 oxide 0.2 (left) .. 1.6 (right)\n"
           "  everywhere     a support film without iron\n"
           "\n"
           "Expected counts: I0 = dark + beam, I1 = dark + beam * exp(-mu t); every count has\n"
           "Poisson noise. Brightest I0 pixel about "
        << int(PeakBeam)
        << " counts.\n"
           "\n"
           "Energies (eV), "
        << energies.size() << " points:\n";
    for (int i = 0; i < energies.size(); ++i)
        out << QString::number(energies[i], 'f', 2)
            << ((i % 10 == 9 || i + 1 == energies.size()) ? "\n" : " ");
    return f.error() == QFile::NoError;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-demo-data FOLDER\n");
        return 2;
    }
    const QString root = QDir::cleanPath(QString::fromLocal8Bit(argv[1]));
    const QString i0Dir = root + "/I0", i1Dir = root + "/I1";
    if (!QDir().mkpath(i0Dir) || !QDir().mkpath(i1Dir)) {
        std::fprintf(stderr, "make-demo-data: can not create the folders in %s\n",
                     qPrintable(root));
        return 1;
    }
    removeOldFrames(i0Dir, "I0");
    removeOldFrames(i1Dir, "I1");

    const Species metal = metalLike();
    const Species oxide = oxideLike();
    const QVector<double> energies = scanEnergies();
    Random random(20240611);

    QVector<quint16> frame(Width * Height);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            frame[y * Width + x] = clampCount(random.poisson(darkLevel(x, y)));
    if (!writeFrame(root + "/dark.tif", frame))
        return 1;

    QVector<Thickness> sample(Width * Height);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            sample[y * Width + x] = sampleAt(x, y);

    QVector<quint16> i1(Width * Height);
    for (int n = 0; n < energies.size(); ++n) {
        const double e = energies[n];
        const double source = sourceAt(e);
        const double muMetal = metal.mu(e), muOxide = oxide.mu(e), muSupport = supportMu(e);
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < Width; ++x) {
                const int p = y * Width + x;
                const double dark = darkLevel(x, y);
                const double beam = beamAt(x, y, source);
                const double muT =
                    muSupport + sample[p].metal * muMetal + sample[p].oxide * muOxide;
                frame[p] = clampCount(random.poisson(dark + beam));
                i1[p] = clampCount(random.poisson(dark + beam * std::exp(-muT)));
            }
        }
        const QString name = QString("%1_%2.tif").arg(n + 1, 3, 10, QChar('0')).arg(energyTag(e));
        if (!writeFrame(i0Dir + "/I0_" + name, frame) || !writeFrame(i1Dir + "/I1_" + name, i1))
            return 1;
    }

    if (!writeReference(root + "/ref_Fe_metal.dat", metal)
        || !writeReference(root + "/ref_Fe2O3.dat", oxide))
        return 1;
    if (!writeReadme(root + "/README.txt", energies)) {
        std::fprintf(stderr, "make-demo-data: can not write %s/README.txt\n", qPrintable(root));
        return 1;
    }
    std::printf(
        "make-demo-data: %d I0 and %d I1 frames (%d x %d), dark.tif, 2 reference spectra in %s\n",
        int(energies.size()), int(energies.size()), Width, Height,
        qPrintable(QFileInfo(root).absoluteFilePath()));
    return 0;
}
