#pragma once

#include "analysis/AnalyzeCond.h"

#include <QString>

class Analyzed2DRes;
class QTextStream;
class SpectrumPoints;

// The ".emp" energy-shift map file. It keeps, per pixel, the offset of the
// monochromator's Bragg angle (degrees) that the pixel's energy shift makes
// at the standard's edge energy, with the crystal spacing. A map saved at
// one edge is therefore turned back into the shifts valid at another.
//
// A text file: "###Lumenograf::LMGF" (or the short "###LMGF"), labelled
// header lines, "Map Height" and one "Map Width" line per map row, the
// separator "##-----------------", then one line of angle offsets per image
// row.

// The header as read from a file; every field 0 until read.
struct EMPHeader
{
    bool valid = false;
    int width = 0;
    int height = 0;
    int binHalfWidth = 0;
    int binHalfHeight = 0;
    int areaX0 = 0;
    int areaX1 = 0;
    int areaY0 = 0;
    int areaY1 = 0;
    double stdEdgeEnergy = 0.0;
    double spacing = 0.0;
};

// What the writer puts into the header besides the map.
struct EMPSaveInfo
{
    // The edge energy the angles are taken at (eV); the file is refused
    // when it is not above 0.
    double edgeEnergy = 0.0;
    // The crystal's lattice spacing d (lambda = 2 d sin theta).
    double spacing = 0.0;
    // The calibration's walk: image size, bin half sizes and area bounds.
    // The data section covers its width x height. Without a width the map's
    // own walk is taken.
    AnalyzeCond walk;
    // The standard's file name as the calibration window shows it.
    QString stdFileName;
};

// The Bragg angle in degrees of energy e (eV) on a crystal of spacing d:
// asin(hc / e / (2 d)), or -1 when that argument is not within [-1, 1].
double braggAngle(double e, double d);

// The edge energy a map is saved at: the half-height energy of the
// standard's raw points when there is a standard (points not empty); else
// the calibration window's edge energy when above 0; else the edge energy
// of the header of the map loaded last when it is valid and above 0; else
// 0.0, which the writer refuses.
double empSaveEdgeEnergy(const SpectrumPoints &standardRaw, double edgeField,
                         const EMPHeader &loaded);

// The file name written to: "emp" added when the name has no suffix.
QString empFileName(const QString &fileName);

// Writes map as an ".emp" file (name completed by empFileName). Refused
// (false, logged) without an edge energy, without a positive spacing, when
// the edge energy has no Bragg angle, without an image size, or when the
// file cannot be written. The data section holds a line of walk-width
// values for each row of the walk's height; a pixel outside the map counts
// shift 0.0.
bool writeEmpFile(const QString &fileName, const Analyzed2DRes &map, const EMPSaveInfo &info);

// Reads a header from the stream up to its separator line. Invalid (with
// the reason in the debug log) when the stream is at its end, the magic is
// missing, the separator or one of the width, height, edge-energy and
// spacing lines is missing, a size is below 1 or above the largest frame,
// a bin half size is negative or the spacing is not positive.
EMPHeader readEmpHeader(QTextStream &in);

// Where a map file is read to, and with which edge energy.
struct EMPLoadTarget
{
    // The calibration window's edge energy; the header's is used when it is
    // not above 0.
    double edgeField = 0.0;
    // The current image size, -1 x -1 while no frame is loaded. A loaded
    // image must match the file's size; without one it becomes the file's.
    int imageWidth = -1;
    int imageHeight = -1;
};

// Reads an ".emp" file into map: prepares the map for the file's walk (the
// map carries it; the caller copies map.walk() where it keeps its own) and
// stores each pixel's shift at the chosen edge energy, then regenerates the
// map's picture. The header goes into header. False, with the map left as
// it was, when the file cannot be opened, the header is invalid, the size
// does not match a loaded image or the reference angle of the edge energy
// is out of range; false with an empty map when the memory cannot be had.
// A short data section gives 0 for the missing pixels (one "run out!" per
// row that lacks numbers, then their count).
bool readEmpFile(const QString &fileName, EMPLoadTarget &target, Analyzed2DRes &map,
                 EMPHeader &header);
