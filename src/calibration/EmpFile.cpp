#include "calibration/EmpFile.h"

#include "analysis/Analyzed2DRes.h"
#include "app/DebugLog.h"
#include "app/TextNumbers.h"
#include "app/Tokenizer.h"
#include "core/RealText.h"
#include "input/TiffData.h"
#include "spectrum/Constants.h"
#include "spectrum/SpectrumPoints.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cmath>

namespace {

const char magic[] = "###Lumenograf::LMGF";
const char shortMagic[] = "###LMGF";
const char separator[] = "##-----------------";

// The header labels, each padded to 24 characters and followed by ": ".
const char dateLabel[] = "Record Date             : ";
const char edgeLabel[] = "Std Edge Energy [eV]    : ";
const char spacingLabel[] = "Spacing [nm]            : ";
const char widthLabel[] = "Width [pix]             : ";
const char heightLabel[] = "Height [pix]            : ";
const char halfWidthLabel[] = "Bin Half Width [pix]    : ";
const char halfHeightLabel[] = "Bin Half Height [pix]   : ";
const char x0Label[] = "Area X0                 : ";
const char x1Label[] = "Area X1                 : ";
const char y0Label[] = "Area Y0                 : ";
const char y1Label[] = "Area Y1                 : ";
const char stdFileLabel[] = "Std File Name           : ";
const char mapHeightLabel[] = "Map Height              : ";
const char mapWidthLabel[] = "Map Width               : ";

// No number in a data section is longer; a longer word counts as 0.
constexpr int maxNumberText = 64;
// A map of the largest frame with every angle in full, and room to spare.
constexpr qint64 maxFileBytes = TiffData::maxFrameSamples * 64;

// The first blank-separated word after the label.
QString wordAfter(const QString &line, int labelLength)
{
    const QString rest = line.mid(labelLength).trimmed();
    const int blank = rest.indexOf(QLatin1Char(' '));
    return blank < 0 ? rest : rest.left(blank);
}

// Numbers of a data section, separated by any white space (the line
// structure is not checked), taken line by line from a bounded reader.
class NumberReader
{
public:
    explicit NumberReader(TextLineReader &reader)
        : in(reader)
    {
    }
    // The next number (0 for a word that is not one); false at the end.
    bool next(double &v)
    {
        for (;;) {
            while (pos < line.size() && line[pos].isSpace())
                ++pos;
            if (pos < line.size())
                break;
            if (!in.readLine(line))
                return false;
            pos = 0;
        }
        const int start = pos;
        while (pos < line.size() && !line[pos].isSpace())
            ++pos;
        v = pos - start > maxNumberText ? 0.0 : realOfText(line.mid(start, pos - start));
        return true;
    }

private:
    TextLineReader &in;
    QString line;
    int pos = 0;
};

// The header from lines given one by one by nextLine (false at the end).
template <typename NextLine>
EMPHeader readHeader(NextLine nextLine)
{
    EMPHeader h;
    QString line;
    if (!nextLine(line))
        return h;
    if (!line.startsWith(QLatin1String(shortMagic)) && !line.startsWith(QLatin1String(magic))) {
        qDebug().noquote() << "Not a emp file.";
        return h;
    }
    struct IntField
    {
        const char *label;
        int *field;
        bool seen;
    };
    IntField ints[] = {{widthLabel, &h.width, false},
                       {heightLabel, &h.height, false},
                       {halfWidthLabel, &h.binHalfWidth, false},
                       {halfHeightLabel, &h.binHalfHeight, false},
                       {x0Label, &h.areaX0, false},
                       {x1Label, &h.areaX1, false},
                       {y0Label, &h.areaY0, false},
                       {y1Label, &h.areaY1, false}};
    bool edgeSeen = false;
    bool spacingSeen = false;
    bool ended = false;
    const int labelLength = int(sizeof(widthLabel)) - 1;
    while (nextLine(line)) {
        if (line.startsWith(QLatin1String(separator))) {
            ended = true;
            break;
        }
        if (line.startsWith(QLatin1String(edgeLabel))) {
            h.stdEdgeEnergy = realOfText(wordAfter(line, labelLength));
            edgeSeen = true;
        } else if (line.startsWith(QLatin1String(spacingLabel))) {
            h.spacing = realOfText(wordAfter(line, labelLength));
            spacingSeen = true;
        } else {
            for (IntField &f : ints) {
                if (line.startsWith(QLatin1String(f.label))) {
                    *f.field = intOfText(wordAfter(line, labelLength));
                    f.seen = true;
                    break;
                }
            }
        }
    }
    if (!ended) {
        qDebug().noquote() << "EMP header ends without its separator line";
        return h;
    }
    if (!ints[0].seen || !ints[1].seen || !edgeSeen || !spacingSeen) {
        qDebug().noquote() << "EMP header lacks the width, height, edge energy or spacing line";
        return h;
    }
    // Sizes are those of a frame: anything larger is no map of this program
    // and must not make the reader allocate it.
    const qint64 w = h.width;
    const qint64 ht = h.height;
    if (w < 1 || ht < 1 || w > TiffData::maxFrameSide || ht > TiffData::maxFrameSide
        || w * ht > TiffData::maxFrameSamples) {
        qDebug().noquote() << "EMP header size out of range :" << w << "x" << ht;
        return h;
    }
    if (h.binHalfWidth < 0 || h.binHalfHeight < 0) {
        qDebug().noquote() << "EMP header bin half size negative :" << h.binHalfWidth
                           << h.binHalfHeight;
        return h;
    }
    // A spacing of 0 would make every decoded shift infinite.
    if (!(h.spacing > 0.0) || !std::isfinite(h.spacing)) {
        qDebug().noquote() << "EMP header spacing not positive :" << h.spacing;
        return h;
    }
    h.valid = true;
    return h;
}

} // namespace

double braggAngle(double e, double d)
{
    const double s = Constants::hc / e / (2.0 * d);
    if (!(std::abs(s) <= 1.0))
        return -1.0;
    return std::asin(s) / Constants::pi * 180.0;
}

double empSaveEdgeEnergy(const SpectrumPoints &standardRaw, double edgeField,
                         const EMPHeader &loaded)
{
    if (!standardRaw.isEmpty())
        return standardRaw.crossingX(0.5, SpectrumPoints::Rising);
    if (edgeField > 0.0)
        return edgeField;
    if (loaded.valid && loaded.stdEdgeEnergy > 0.0)
        return loaded.stdEdgeEnergy;
    return 0.0;
}

QString empFileName(const QString &fileName)
{
    if (QFileInfo(fileName).suffix().isEmpty())
        return fileName + QStringLiteral(".emp");
    return fileName;
}

bool writeEmpFile(const QString &fileName, const Analyzed2DRes &map, const EMPSaveInfo &info)
{
    const QString name = empFileName(fileName);
    const double e = info.edgeEnergy;
    const double d = info.spacing;
    // Without an edge energy every angle offset would be that of 0 eV: a
    // file of zeros that reads back as no shift at all.
    if (!(e > 0.0) || !std::isfinite(e)) {
        qDebug().noquote() << "EMap not saved, no edge energy (no standard, no edge energy"
                           << "given, no map loaded) :" << name;
        return false;
    }
    if (!(d > 0.0) || !std::isfinite(d)) {
        qDebug().noquote() << "EMap not saved, the crystal spacing is not positive :" << d << name;
        return false;
    }
    const double theta0 = braggAngle(e, d);
    if (theta0 < 0.0) {
        qDebug().noquote() << "EMap not saved, the edge energy" << e
                           << "eV has no Bragg angle on spacing" << d << ":" << name;
        return false;
    }
    // A map saved before any calibration keeps the walk it was made with.
    const AnalyzeCond &w = info.walk.width > 0 ? info.walk : map.walk();
    if (w.width < 1 || w.height < 1 || w.width > TiffData::maxFrameSide
        || w.height > TiffData::maxFrameSide) {
        qDebug().noquote() << "EMap not saved, no image size :" << w.width << "x" << w.height
                           << name;
        return false;
    }
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        qDebug().noquote() << "Can not open" << name << "for writing";
        return false;
    }
    QByteArray head;
    head += magic;
    head += '\n';
    head += dateLabel;
    head += QDateTime::currentDateTime().toString(QStringLiteral("yy/MM/dd hh:mm:ss.zzz")).toUtf8();
    head += '\n';
    auto line = [&head](const char *label, const QByteArray &value) {
        head += label;
        head += value;
        head += '\n';
    };
    line(edgeLabel, realText(e));
    line(spacingLabel, realText(d));
    line(widthLabel, QByteArray::number(w.width));
    line(heightLabel, QByteArray::number(w.height));
    line(halfWidthLabel, QByteArray::number(w.hx));
    line(halfHeightLabel, QByteArray::number(w.hy));
    line(x0Label, QByteArray::number(w.x0));
    line(x1Label, QByteArray::number(w.x1));
    line(y0Label, QByteArray::number(w.y0));
    line(y1Label, QByteArray::number(w.y1));
    // The name stays on its line whatever it holds.
    QString stdName = info.stdFileName;
    stdName.replace(QLatin1Char('\n'), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '));
    line(stdFileLabel, stdName.toUtf8());
    const int mapW = map.hasData() ? map.width() : 0;
    const int mapH = map.hasData() ? map.height() : 0;
    line(mapHeightLabel, QByteArray::number(mapH));
    for (int r = 0; r < mapH; ++r)
        line(mapWidthLabel, QByteArray::number(r) + ' ' + QByteArray::number(mapW));
    head += separator;
    head += '\n';
    bool ok = file.write(head) == head.size();

    timeStampLog(QStringLiteral("EMap Write Start : "));
    QByteArray row;
    char text[RealTextMax];
    for (int y = 0; ok && y < w.height; ++y) {
        row.clear();
        for (int x = 0; x < w.width; ++x) {
            const double s = x < mapW && y < mapH ? map.value(x, y) : 0.0;
            row.append(text, writeRealText(text, braggAngle(e - s, d) - theta0));
            row += ' ';
        }
        row += '\n';
        ok = file.write(row) == row.size();
    }
    timeStampLog(QStringLiteral("EMap Write End   : "));
    file.close();
    if (!ok || file.error() != QFileDevice::NoError) {
        qDebug().noquote() << "Can not write" << name;
        return false;
    }
    return true;
}

EMPHeader readEmpHeader(QTextStream &in)
{
    return readHeader([&in](QString &line) {
        return in.readLineInto(&line, TextLineReader::MaxLineLength) && !in.status();
    });
}

bool readEmpFile(const QString &fileName, EMPLoadTarget &target, Analyzed2DRes &map,
                 EMPHeader &header)
{
    // Only a regular file: a device or a pipe would never end.
    TextLineReader in;
    switch (in.open(fileName, maxFileBytes)) {
    case TextLineReader::Opened:
        break;
    case TextLineReader::TooLarge:
        qDebug().noquote() << "EMP file larger than any map :" << fileName;
        return false;
    case TextLineReader::CannotOpen:
        qDebug().noquote() << "Can not open" << fileName;
        return false;
    default:
        return false;
    }
    header = readHeader([&in](QString &line) { return in.readLine(line); });
    if (!header.valid) {
        qDebug().noquote() << "Invalid Energy Map Data File : " + fileName;
        return false;
    }
    const bool imageLoaded = target.imageWidth >= 0 || target.imageHeight >= 0;
    if (imageLoaded && (header.width != target.imageWidth || header.height != target.imageHeight)) {
        qDebug().noquote() << QStringLiteral("Loading Energy Map size : %1 x %2 : is not matched "
                                             "to the current image size : %3 x %4")
                                  .arg(header.width)
                                  .arg(header.height)
                                  .arg(target.imageWidth)
                                  .arg(target.imageHeight);
        return false;
    }
    const double d = header.spacing;
    const double e = target.edgeField > 0.0 ? target.edgeField : header.stdEdgeEnergy;
    const double theta0 = braggAngle(e, d);
    // Without a reference angle every decoded energy would be nonsense.
    if (theta0 < 0.0 || !std::isfinite(e)) {
        qDebug().noquote() << "EMP file reference angle out of range : edge energy" << e
                           << "eV, spacing" << d << ":" << fileName;
        return false;
    }

    timeStampLog(QStringLiteral("Start Reading EMP file "));
    AnalyzeCond walk;
    walk.setup(header.width, header.height, header.binHalfWidth, header.binHalfHeight,
               header.areaX0, header.areaY0, double(header.areaX1) - header.areaX0,
               double(header.areaY1) - header.areaY0);
    if (!map.prepare(walk))
        return false;
    if (!imageLoaded) {
        target.imageWidth = header.width;
        target.imageHeight = header.height;
    }
    NumberReader numbers(in);
    qint64 missing = 0;
    qint64 unusable = 0;
    for (int y = 0; y < header.height; ++y) {
        bool rowShort = false;
        for (int x = 0; x < header.width; ++x) {
            double a = 0.0;
            if (!numbers.next(a)) {
                a = 0.0;
                ++missing;
                rowShort = true;
            }
            double v =
                e - Constants::hc / (2.0 * d * std::sin((a + theta0) / 180.0 * Constants::pi));
            // An angle of no energy ("nan", "inf", or one whose sine is 0)
            // would carry a shift of no number into every spectrum there.
            if (!std::isfinite(v)) {
                v = 0.0;
                ++unusable;
            }
            map.setData(x, y, 0, 0, v);
        }
        // One line per short row: a huge header must not flood the log.
        if (rowShort)
            qDebug().noquote() << "run out!";
    }
    if (missing > 0)
        qDebug().noquote() << "run out!" << missing << "numbers missing in" << fileName;
    if (unusable > 0)
        qDebug().noquote() << "EMP file:" << unusable
                           << "angles without an energy read as shift 0 in" << fileName;
    map.genImg();
    timeStampLog(QStringLiteral("End Reading EMP file   "));
    return true;
}
