#include "core/SpectrumSource.h"

#include "input/TiffData.h"

#include <QVarLengthArray>

#include <cmath>
#include <utility>

SpectrumSource::SpectrumSource(const QVector<TiffData *> &i1, const QVector<TiffData *> &i0,
                               const TiffData *dark, int dataWidth, int dataHeight,
                               bool fluorescence)
    : darkFrame(dark)
    , width(dataWidth)
    , height(dataHeight)
    , fluo(fluorescence)
{
    i0Frames.reserve(i0.size());
    i0Energies.reserve(i0.size());
    for (const TiffData *f : i0) {
        i0Frames.append(f);
        i0Energies.append(f->energy);
    }
    // The bracket of a frame depends on energies alone, so it is found once
    // here and not again for every window.
    QVector<bool> used(i0.size(), false);
    i1Frames.reserve(i1.size());
    for (const TiffData *f : i1) {
        I1Frame e{f, f->energy, -1, -1};
        if (i0Bracket(i0Energies, e.energy, e.a, e.b))
            used[e.a] = used[e.b] = true;
        i1Frames.append(e);
    }
    for (int k = 0; k < used.size(); ++k) {
        if (used[k])
            i0Used.append(k);
    }
}

bool SpectrumSource::i0Bracket(const QVector<double> &energies, double e, int &a, int &b)
{
    const int n = energies.size();
    if (n == 0)
        return false;
    if (n == 1) {
        a = b = 0;
    } else if (e < energies[0]) {
        a = 0;
        b = 1;
    } else if (e >= energies[n - 1]) {
        a = n - 2;
        b = n - 1;
    } else {
        int lo = 0;
        int hi = n - 1;
        while (lo + 1 < hi) {
            const int mid = (lo + hi) / 2;
            if (e >= energies[mid])
                lo = mid;
            else
                hi = mid;
        }
        a = lo;
        b = hi;
    }
    return true;
}

double SpectrumSource::i0Line(double e, double ea, double sa, double eb, double sb)
{
    if (eb == ea)
        return (sa + sb) / 2;
    return sa + (sb - sa) / (eb - ea) * (e - ea);
}

SpectrumSource::Points SpectrumSource::points(int x, int y, int hw, int hh) const
{
    Points p;
    fill(x, y, hw, hh, p.absorption, &p.rawI1);
    return p;
}

SpectrumPoints SpectrumSource::absorption(int x, int y, int hw, int hh) const
{
    SpectrumPoints p;
    fill(x, y, hw, hh, p, nullptr);
    return p;
}

void SpectrumSource::fill(int x, int y, int hw, int hh, SpectrumPoints &mu,
                          SpectrumPoints *raw) const
{
    if (!contains(x, y))
        return;
    const double d = darkFrame ? darkFrame->windowSum(x, y, hw, hh) : 0.0;
    // Each I0 frame that brackets some I1 energy is read once per window.
    QVarLengthArray<double, 256> sums(i0Frames.size());
    for (int k : i0Used)
        sums[k] = i0Frames[k]->windowSum(x, y, hw, hh);
    mu.reserve(i1Frames.size());
    if (raw)
        raw->reserve(i1Frames.size());
    for (const I1Frame &f : i1Frames) {
        const double s = f.frame->windowSum(x, y, hw, hh);
        // With a single I0 frame a == b and the line gives that frame's sum.
        const double i0 =
            f.a < 0 ? 1.0
                    : i0Line(f.energy, i0Energies[f.a], sums[f.a], i0Energies[f.b], sums[f.b]);
        const double a = s - d;
        const double b = i0 - d;
        double value;
        if (fluo)
            // A window without incident intensity has no defined ratio; it
            // gets the same neutral 1.0 as an unusable transmission point
            // rather than an infinity that would wreck the spectrum's bounds.
            value = b != 0.0 ? a / b : 1.0;
        else
            value = a * b > 0 ? std::log(b / a) : 1.0;
        mu.append(f.energy, value);
        if (raw)
            raw->append(f.energy, s);
    }
}

SpectrumSource::Spectrum SpectrumSource::spectrum(int x, int y, int hw, int hh, double energyShift,
                                                  bool isVictoreen) const
{
    Points p = points(x, y, hw, hh);
    // The spectrum normalizes itself as it is built; its readers (the
    // spectrum window, the analyzer) take it as it is.
    return Spectrum{XafsSpectrum(p.absorption, isVictoreen, energyShift), std::move(p.rawI1)};
}

SpectrumPoints SpectrumSource::rawI1(int x, int y, int hw, int hh) const
{
    SpectrumPoints points;
    if (!contains(x, y))
        return points;
    points.reserve(i1Frames.size());
    for (const I1Frame &f : i1Frames)
        points.append(f.energy, f.frame->windowSum(x, y, hw, hh));
    return points;
}

double SpectrumSource::i0At(double e, int x, int y, int hw, int hh) const
{
    int a = 0;
    int b = 0;
    if (!i0Bracket(i0Energies, e, a, b))
        return 1.0;
    const double sa = i0Frames[a]->windowSum(x, y, hw, hh);
    const double sb = b == a ? sa : i0Frames[b]->windowSum(x, y, hw, hh);
    return i0Line(e, i0Energies[a], sa, i0Energies[b], sb);
}
