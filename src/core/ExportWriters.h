#pragma once

#include "analysis/AnalyzeCond.h"

#include <QString>

class QImage;

#include <functional>

class ImageStacks;
class SpectrumSource;

// The files the main window writes, as plain functions: the names derived
// from the name the user gives, the spectra of every bin of an area, and the
// flat and dark frames. The main window reads its controls and calls these.

// File names. Each result is an absolute path in the folder of `name`; the
// complete base name is the file name up to its last ".", the suffix what
// follows it.
//
// base-tag.suffix: a.png with "cBar" gives a-cBar.png, a name without a
// suffix ends in "." (out gives out-cBar.).
QString taggedName(const QString &name, const QString &tag);
// base-n.ext: map.tif with 2 and "tif" gives map-2.tif.
QString numberedDataName(const QString &name, int n, const QString &ext);
// The name itself, with "." + ext appended when it has no suffix: bins with
// "dat" gives bins.dat.
QString defaultExtensionName(const QString &name, const QString &ext);

// The three kinds of spectra of all bins, in the order of the main window's
// choice.
enum class SpectrumKind {
    NormalizedXafs = 0, // the normalized absorption of each bin
    RawXafs = 1,        // the absorption before normalization
    Raw = 2,            // the window sum of the I1 frames over the bin
};

// What the spectra of all bins are made of.
struct EachSpectrumRequest
{
    SpectrumKind kind = SpectrumKind::NormalizedXafs;
    // The walk over the area, set up by the caller (bin half sizes, bounds,
    // steps); it is walked from its first bin.
    AnalyzeCond walk;
    // The energy shift of a position (the energy-shift map's value there, 0
    // outside it); none: 0 everywhere.
    std::function<double(int x, int y)> shiftAt;
    // Whether the shift corrects the energies of the absorption kinds: the
    // spectrum is then built on energies less the shift.
    bool applyShift = false;
    // Background form of the normalization: Victoreen, else a line.
    bool isVictoreen = false;
};

// Writes one line per bin of the walk, in walk order, under a seven-line
// header, into the default-extension name (fname, "dat"). The absorption
// kinds start each line with the bin centre and its energy shift, the raw
// kind with the bin centre; every energy point then adds its energy and
// value. At each new row of bins the progress goes to the debug log.
// Without I1 frames nothing is written. False, with the reason in the debug
// log, when nothing or not all was written.
bool saveEachSpectrum(const SpectrumSource &source, const EachSpectrumRequest &request,
                      const QString &fname);
bool saveEachSpectrum(const ImageStacks &stacks, const EachSpectrumRequest &request,
                      const QString &fname);

// The first line of the spectra file of a kind.
QString eachSpectrumTitle(SpectrumKind kind);
// The bins across (or down) the header gives for a walk: the area's extent
// less the first half bin, in steps, (x1 - x0 - hx - 1) / dX + 1.
int headerBinsAcross(const AnalyzeCond &walk);
int headerBinsDown(const AnalyzeCond &walk);

// Writes "flat.dat" (every pixel 1) and "dark.dat" (every pixel 0), 16-bit
// TIFF frames of width by height, into the folder. False, with the reason in
// the debug log, when either could not be written.
bool saveFlatDark(const QString &folder, int width, int height);

// Saves a picture under fname in the format its suffix names. A name
// without a suffix is saved as PNG (and the log says so), so the file is not
// lost. False, with the reason in the debug log, when there is no picture or
// it could not be written.
bool savePicture(const QImage &picture, const QString &fname);
