#include "analysis/LcfFit.h"

#include "spectrum/LinearSolver.h"

#include <QDebug>
#include <QVarLengthArray>

#include <cmath>
#include <utility>

namespace {

// The two points SpectrumPoints::valueAt(arg) interpolates between on a list
// with the x values xs (ascending, no shift): the same comparisons in the
// same order, so interpolating between them gives valueAt's value exactly.
// With fewer than two points both are n - 1.
void segmentAt(const QVector<double> &xs, double arg, int &a, int &b)
{
    const int n = xs.size();
    if (n < 2) {
        a = b = n - 1;
        return;
    }
    segmentOf(
        n, arg, [&xs](int i) { return xs[i]; }, a, b);
}

// The same number to the bit for the fit: equal and of the same sign (0 and
// -0 differ in what they give), no number never.
bool sameValue(double a, double b)
{
    return a == b && std::signbit(a) == std::signbit(b);
}

} // namespace

LcfReferenceSnapshot LcfReferenceSnapshot::of(const XafsSpectrum &reference, double dE,
                                              bool useChecked, bool isVictoreen)
{
    LcfReferenceSnapshot s;
    s.spectrum = reference;
    s.dE = dE;
    // A row whose file gave no points has nothing to fit with, whatever its
    // Use box says.
    s.used = useChecked && reference.raw().size() > 0;
    // The row keeps dE in its raw shift, and a renormalization (its Victoreen
    // box) bakes that shift into the curves' energies; reading them at E + dE
    // would then shift twice. Normalizing in the measured energies and
    // reading at E + dE shifts once, whenever the row was last normalized.
    // With dE 0 the curves are the same either way.
    s.spectrum.enableDE(false);
    if (s.spectrum.raw().size() > 0)
        s.spectrum.normalize(isVictoreen);
    s.spectrum.setDE(dE);
    s.spectrum.enableDE(true);
    return s;
}

QVector<double> lcfSampleEnergies(const XafsSpectrum &sample)
{
    const SpectrumPoints &raw = sample.raw();
    const double shift = sample.energyShift();
    QVector<double> e(raw.size());
    for (int i = 0; i < raw.size(); ++i)
        e[i] = raw.x(i) - shift;
    return e;
}

LcfSetup::LcfSetup(const QVector<LcfReferenceSnapshot> &refs, const QVector<double> &energies,
                   bool isMLCF, double sE0, double eE0)
    : snapshots(refs)
    , energies(energies)
    , isMLCF(isMLCF)
    , valid(refs.size() >= 2)
    , sE0(sE0)
    , eE0(eE0)
{
    if (!valid)
        return;
    for (int j = 0; j < refs.size(); ++j)
        if (refs[j].used)
            usedRefs.append(j);
    const int k = usedRefs.size();

    // The fit keeps to the energies every used reference covers within the
    // asked range; the fitted curve is drawn where they all cover.
    lo = sE0;
    hi = eE0;
    double dlo = 0.0;
    double dhi = 1e300;
    for (int j : usedRefs) {
        const SpectrumPoints &raw = refs[j].spectrum.raw();
        const double a = raw.minX() - refs[j].dE;
        const double b = raw.maxX() - refs[j].dE;
        lo = qMax(lo, a);
        hi = qMin(hi, b);
        dlo = qMax(dlo, a);
        dhi = qMin(dhi, b);
    }

    const int n = energies.size();
    for (int i = 0; i < n; ++i) {
        const double e = energies[i];
        if (lo <= e && e <= hi)
            fitPoints.append(i);
        if (dlo <= e && e <= dhi)
            drawPoints.append(i);
    }

    // The residual's points (the inner sample points in the fitting window)
    // and where each falls on the fitted curve, whose x values are the
    // energies of drawPoints.
    QVector<double> drawn(drawPoints.size());
    for (int p = 0; p < drawPoints.size(); ++p)
        drawn[p] = energies[drawPoints[p]];
    for (int i = 1; i + 1 < n; ++i) {
        const double e = energies[i];
        if (!(lo <= e && e <= hi))
            continue;
        int a = 0, b = 0;
        segmentAt(drawn, e, a, b);
        residualPoints.append(i);
        residualSegments.append(a);
        residualSegments.append(b);
        // interpolate's differences of energies, worked out once.
        if (b >= 0) {
            residualSame.append(drawn[b] == drawn[a]);
            residualGaps.append(drawn[b] - drawn[a]);
            residualOffsets.append(e - drawn[a]);
        } else {
            residualSame.append(false);
            residualGaps.append(1.0);
            residualOffsets.append(0.0);
        }
    }

    fitValues.resize(fitPoints.size() * k);
    for (int p = 0; p < fitPoints.size(); ++p) {
        const double e = energies[fitPoints[p]];
        for (int j = 0; j < k; ++j) {
            const LcfReferenceSnapshot &r = refs[usedRefs[j]];
            fitValues[p * k + j] = isMLCF ? r.spectrum.doubleNormalized().valueAt(e + r.dE)
                                          : r.spectrum.doubleNormalizedPreBase(e);
        }
    }
    drawValues.resize(drawPoints.size() * k);
    for (int p = 0; p < drawPoints.size(); ++p) {
        const double e = energies[drawPoints[p]];
        for (int j = 0; j < k; ++j)
            drawValues[p * k + j] = refs[usedRefs[j]].spectrum.doubleNormalizedPreBase(e);
    }

    // The normal matrix holds reference values (and, in MLCF, the constant
    // and the energy) only; the sample enters through the right-hand side.
    const int m = isMLCF ? k + 2 : k;
    normal.fill(0.0, m * m);
    QVarLengthArray<double, 36> v(m);
    for (int p = 0; p < fitPoints.size(); ++p) {
        const double *r = fitValues.constData() + p * k;
        int q = 0;
        if (isMLCF) {
            v[q++] = 1.0;
            v[q++] = energies[fitPoints[p]];
        }
        for (int j = 0; j < k; ++j)
            v[q++] = r[j];
        for (int a = 0; a < m; ++a)
            for (int b = 0; b < m; ++b)
                normal[a * m + b] += v[a] * v[b];
    }
}

bool LcfSetup::matches(const XafsSpectrum &sample) const
{
    const SpectrumPoints &raw = sample.raw();
    if (raw.size() != energies.size())
        return false;
    const double shift = sample.energyShift();
    for (int i = 0; i < raw.size(); ++i)
        if (!sameValue(raw.x(i) - shift, energies[i]))
            return false;
    return true;
}

bool LcfSetup::fit(const XafsSpectrum &sample, LcfResult &out, bool normalizeFit) const
{
    if (!valid) {
        qDebug().noquote() << "LCF needs at least two reference rows," << snapshots.size()
                           << "given";
        return false;
    }
    if (matches(sample)) {
        fitPrepared(sample, out, normalizeFit);
    } else {
        const LcfSetup own(snapshots, lcfSampleEnergies(sample), isMLCF, sE0, eE0);
        own.fitPrepared(sample, out, normalizeFit);
    }
    return true;
}

namespace {

// A sample as the fit reads it: its raw mu, its double-normalized pre-base
// values, their counts and its jump.
struct SpectrumSample
{
    const XafsSpectrum &s;
    int rawSize() const { return s.raw().size(); }
    double mu(int i) const { return s.raw().y(i); }
    int dnpSize() const { return s.doubleNormalizedPreBase().size(); }
    double dnp(int i) const { return s.doubleNormalizedPreBase().y(i); }
    double jump() const { return s.jump(); }
};

struct ValueSample
{
    const double *muValues;
    const double *dnpValues;
    int n;
    double edgeJump;
    int rawSize() const { return n; }
    double mu(int i) const { return muValues[i]; }
    int dnpSize() const { return n; }
    double dnp(int i) const { return dnpValues[i]; }
    double jump() const { return edgeJump; }
};

// out[j] = the sum over p < np of r[p * k + j] * y(p), for j < k, each sum
// taken over p in order. Two sums go side by side (their additions do not
// wait for each other); each is the same as summed alone.
template <typename Y>
void sumProducts(const double *r, int k, int np, const Y &y, double *out)
{
    int j = 0;
    for (; j + 2 <= k; j += 2) {
        double s0 = 0.0;
        double s1 = 0.0;
        for (int p = 0; p < np; ++p) {
            const double v = y(p);
            s0 += r[p * k + j] * v;
            s1 += r[p * k + j + 1] * v;
        }
        out[j] = s0;
        out[j + 1] = s1;
    }
    for (; j < k; ++j) {
        double s0 = 0.0;
        for (int p = 0; p < np; ++p)
            s0 += r[p * k + j] * y(p);
        out[j] = s0;
    }
}

// SpectrumPoints::valueAt on the fitted curve (no shift).
double valueOnFit(const QPointF *f, int n, double arg)
{
    if (n == 0)
        return 0.0;
    if (n == 1)
        return f[0].y();
    int a = 0;
    int b = 0;
    segmentOf(
        n, arg, [f](int i) { return f[i].x(); }, a, b);
    return interpolate(arg, f[a].x(), f[a].y(), f[b].x(), f[b].y());
}

} // namespace

void LcfSetup::fitPrepared(const XafsSpectrum &sample, LcfResult &out, bool normalizeFit) const
{
    const int k = usedRefs.size();
    out.ratio.resize(k);
    out.dmut.resize(k);
    QPointF *f = out.fitted.fillBuffer(drawPoints.size());
    solve(SpectrumSample{sample}, out.ratio.data(), out.dmut.data(), out.z, f);
    out.fitted.finishFill();
    out.fitted.enableShift(false);
    out.fitted.setShift(0.0);
    out.res = normalizeFit ? XafsSpectrum(out.fitted, false, 0.0) : XafsSpectrum();
}

template <typename Sample>
void LcfSetup::solve(const Sample &sample, double *ratio, double *dmut, double &z, QPointF *f) const
{
    const int k = usedRefs.size();
    const int m = isMLCF ? k + 2 : k;
    const int nDnp = sample.dnpSize();

    // Right-hand side: LCF fits the double-normalized pre-base values, MLCF
    // the raw mu, each at the sample's own point (no interpolation).
    // Each sum runs over the points in order, one sum after the other: the
    // same additions as summing all at once point by point.
    const int np = fitPoints.size();
    const int *fp = fitPoints.constData();
    const double *rv = fitValues.constData();
    QVarLengthArray<double, 36> b(m);
    if (isMLCF) {
        double s0 = 0.0;
        double s1 = 0.0;
        for (int p = 0; p < np; ++p) {
            const double y = sample.mu(fp[p]);
            s0 += y;
            s1 += energies[fp[p]] * y;
        }
        b[0] = s0;
        b[1] = s1;
        const auto muAt = [&sample, fp](int p) { return sample.mu(fp[p]); };
        sumProducts(rv, k, np, muAt, b.data() + 2);
    } else {
        const auto dnpAt = [&sample, fp, nDnp](int p) {
            return fp[p] < nDnp ? sample.dnp(fp[p]) : 0.0;
        };
        sumProducts(rv, k, np, dnpAt, b.data());
    }
    QVarLengthArray<double, 36 * 36> a(normal.size());
    for (int q = 0; q < normal.size(); ++q)
        a[q] = normal[q];
    solveLinearSystem(a.data(), b.data(), m);

    if (isMLCF) {
        double sum = 0.0;
        for (int j = 0; j < k; ++j)
            sum += b[2 + j];
        // A negative sum leaves nothing to share out: every ratio is then
        // the clipped weight over 0, as computed.
        const double share = sum >= 0.0 ? sum : 0.0;
        for (int j = 0; j < k; ++j) {
            const double w = b[2 + j] < 0.0 ? 0.0 : b[2 + j];
            dmut[j] = w;
            ratio[j] = w / share;
        }
    } else {
        const double jump = sample.jump() > 0.0 ? sample.jump() : 0.0;
        for (int j = 0; j < k; ++j) {
            ratio[j] = b[j];
            dmut[j] = b[j] * jump;
        }
    }

    // The fitted curve: the references' double-normalized pre-base values
    // weighted by the reported ratios (MLCF draws neither the constant nor
    // the slope).
    const int nf = drawPoints.size();
    for (int p = 0; p < nf; ++p) {
        const double *r = drawValues.constData() + p * k;
        double v = 0.0;
        for (int j = 0; j < k; ++j)
            v += r[j] * ratio[j];
        f[p] = QPointF(energies[drawPoints[p]], v);
    }

    // The residual compares the fit and the sample at the same energy, the
    // one the fit was made at, first and last sample point left out. A
    // sample value of 0 counts 1.
    double sum = 0.0;
    int terms = 0;
    if (nDnp == energies.size()) {
        // The prepared points and segments give valueAt's values without
        // its search; the quotients are taken a row at a time.
        const int nr = residualPoints.size();
        const int *rp = residualPoints.constData();
        const int *rs = residualSegments.constData();
        QVarLengthArray<double, 256> v(nr), y(nr), num(nr), q(nr);
        if (nf == 1) {
            for (int p = 0; p < nr; ++p)
                v[p] = f[0].y();
        } else if (nf > 1) {
            for (int p = 0; p < nr; ++p)
                num[p] = f[rs[2 * p + 1]].y() - f[rs[2 * p]].y();
            divideEach(num.constData(), residualGaps.constData(), q.data(), nr);
            for (int p = 0; p < nr; ++p) {
                const double y1 = f[rs[2 * p]].y();
                const double y2 = f[rs[2 * p + 1]].y();
                v[p] = residualSame[p] ? (y1 + y2) / 2.0 : y1 + q[p] * residualOffsets[p];
            }
        } else {
            for (int p = 0; p < nr; ++p)
                v[p] = 0.0;
        }
        for (int p = 0; p < nr; ++p) {
            y[p] = sample.dnp(rp[p]);
            num[p] = v[p] - y[p];
        }
        divideEach(num.constData(), y.constData(), q.data(), nr);
        for (int p = 0; p < nr; ++p)
            sum += y[p] == 0.0 ? 1.0 : q[p] * q[p];
        terms = nr;
    } else {
        // A sample whose curves do not match its points (never normalized
        // since they changed).
        const int n = qMin(nDnp, energies.size());
        for (int i = 1; i + 1 < n; ++i) {
            const double x = energies[i];
            if (lo <= x && x <= hi) {
                const double y = sample.dnp(i);
                const double d = (valueOnFit(f, nf, x) - y) / y;
                sum += y == 0.0 ? 1.0 : d * d;
                ++terms;
            }
        }
    }
    const double mean = terms > 0 ? sum / terms : 0.0;
    const int nRaw = sample.rawSize();
    z = nRaw > 0 ? mean / nRaw : 0.0;
}

bool LcfSetup::matchesEnergies(const double *frameEnergies, int n, double shift) const
{
    if (n != energies.size())
        return false;
    for (int i = 0; i < n; ++i)
        if (!sameValue(frameEnergies[i] - shift, energies[i]))
            return false;
    return true;
}

LcfBinFitter::LcfBinFitter(std::shared_ptr<const LcfSetup> setup,
                           const QVector<double> &frameEnergies, bool isVictoreen)
    : setup(std::move(setup))
    , frameEnergies(frameEnergies)
    , isVictoreen(isVictoreen)
    , normalizer(frameEnergies, isVictoreen)
    , dnp(frameEnergies.size())
{
    if (this->setup)
        fitted.resize(frameEnergies.size());
}

bool LcfBinFitter::isValid() const
{
    return setup && setup->isValid();
}

int LcfBinFitter::usedCount() const
{
    return setup ? setup->usedCount() : 0;
}

const LcfSetup *LcfBinFitter::setupFor(double shift)
{
    const double *e = frameEnergies.constData();
    const int n = frameEnergies.size();
    // The energies of most bins are those the run's set-up was made for.
    if (setupShiftKnown && sameValue(shift, setupShift))
        return setup.get();
    if (setup->matchesEnergies(e, n, shift)) {
        setupShift = shift;
        setupShiftKnown = true;
        return setup.get();
    }
    // A bin with other energies gets the set-up the plain fit would make,
    // kept while the next bins share its energies.
    shifted.resize(n);
    for (int i = 0; i < n; ++i)
        shifted[i] = e[i] - shift;
    if (own && own->matchesEnergies(shifted.constData(), n, 0.0))
        return own.get();
    own = std::make_unique<LcfSetup>(setup->references(), shifted, setup->mlcf(),
                                     setup->rangeStart(), setup->rangeEnd());
    return own.get();
}

void LcfBinFitter::fit(const double *mu, double shift, double *ratio, double *dmut, double &z)
{
    const int n = frameEnergies.size();
    const double jump = normalizer.normalize(mu, dnp.data());
    const LcfSetup *use = setupFor(shift);
    if (use->drawCount() > fitted.size())
        fitted.resize(use->drawCount());
    use->solve(ValueSample{mu, dnp.constData(), n, jump}, ratio, dmut, z, fitted.data());
}

void LcfBinFitter::fitEmpty(double shift, double *ratio, double *dmut, double &z)
{
    LcfResult r;
    setup->fit(XafsSpectrum(SpectrumPoints(), isVictoreen, shift), r, false);
    for (int j = 0; j < r.ratio.size(); ++j) {
        ratio[j] = r.ratio[j];
        dmut[j] = r.dmut[j];
    }
    z = r.z;
}

bool fitLcfSpectrum(const XafsSpectrum &sample, const QVector<LcfReferenceSnapshot> &refs,
                    bool isMLCF, double sE0, double eE0, LcfResult &out, bool normalizeFit)
{
    const LcfSetup setup(refs, lcfSampleEnergies(sample), isMLCF, sE0, eE0);
    return setup.fit(sample, out, normalizeFit);
}
