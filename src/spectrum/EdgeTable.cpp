#include "spectrum/EdgeTable.h"

#include "spectrum/Constants.h"

#include <QDebug>
#include <QFile>
#include <QStringList>
#include <QTextStream>

// The table resource lives in the computation library; a static library keeps
// an object file only when something refers to it, which this does.
static void initTableResource()
{
    Q_INIT_RESOURCE(victoreen);
}

namespace {

// Item of a table line as a number; "=" and anything else that is no
// positive number give 0.
double positiveItem(const QStringList &items, int i)
{
    if (i >= items.size())
        return 0.0;
    bool ok = false;
    const double v = items[i].toDouble(&ok);
    return ok && v > 0.0 ? v : 0.0;
}

// Source items of slots 1 .. 15 (slot 1, the K edge, is stored as read).
const int slotItems[16] = {1, 2, 6, 10, 14, 18, 4, 8, 12, 16, 19, 5, 9, 13, 17, 20};

const EdgeRecord emptyRecord;

} // namespace

bool EdgeTable::load(const QString &fileName)
{
    filled = 0;
    for (EdgeRecord &r : records)
        r = EdgeRecord();
    if (fileName == QLatin1String(ResourceName))
        initTableResource();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QString shown = fileName;
        if (shown.startsWith(QLatin1Char(':')))
            shown.remove(0, 1);
        qDebug().noquote() << QStringLiteral("Cannot open [%1]").arg(shown);
        return false;
    }
    QTextStream in(&file);
    in.setCodec("UTF-8");
    while (!in.atEnd() && filled < Records) {
        const QString line = in.readLine().simplified();
        // A blank line holds no record: taking it as one would move every
        // following element off the record of its atomic number.
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList items = line.split(QLatin1Char(' '));
        EdgeRecord &r = records[filled];
        bool ok = false;
        const int z = items.size() > 1 ? items[1].toInt(&ok) : 0;
        r.atomicNumber = ok && z > 0 ? z : 0;
        r.slot[1] = items.size() > 2 ? items[2].toDouble() : 0.0;
        for (int s = 2; s < 16; ++s)
            r.slot[s] = positiveItem(items, slotItems[s]);
        ++filled;
    }
    return true;
}

const EdgeRecord &EdgeTable::record(int i) const
{
    return i >= 0 && i < Records ? records[i] : emptyRecord;
}

double EdgeTable::edgeEnergy(int element, int edge) const
{
    if (element < 0 || element >= Records || edge < 0 || edge > 4)
        return 0.0;
    return records[element].slot[edge + 1] * Constants::keVToEV;
}

const EdgeTable &edgeTable()
{
    // Filled on first use, whichever thread comes first (the initialization
    // of a local static runs once), and never written again: every reader,
    // with or without a main window, sees the whole table.
    static const EdgeTable table = [] {
        EdgeTable t;
        t.load();
        return t;
    }();
    return table;
}

double edgeEnergy(int element, int edge)
{
    return edgeTable().edgeEnergy(element, edge);
}

int edgeIndex(const QString &name)
{
    const QString n = name.toUpper();
    if (n == QLatin1String("L1") || n == QLatin1String("LI"))
        return 1;
    if (n == QLatin1String("L2") || n == QLatin1String("LII"))
        return 2;
    if (n == QLatin1String("L3") || n == QLatin1String("LIII"))
        return 3;
    return 0;
}

namespace {
// clang-format off
const ElementEntry elements[ElementTable::Count] = {
    {0, " ", 0.0},
    {1, "H", 1.008},
    {2, "He", 4.0026},
    {3, "Li", 6.94},
    {4, "Be", 9.0122},
    {5, "B", 10.81},
    {6, "C", 12.011},
    {7, "N", 14.007},
    {8, "O", 15.999},
    {9, "F", 18.998},
    {10, "Ne", 20.180},
    {11, "Na", 22.990},
    {12, "Mg", 24.305},
    {13, "Al", 26.982},
    {14, "Si", 28.085},
    {15, "P", 30.974},
    {16, "S", 32.06},
    {17, "Cl", 35.45},
    {18, "Ar", 39.948},
    {19, "K", 39.098},
    {20, "Ca", 40.078},
    {21, "Sc", 44.956},
    {22, "Ti", 47.867},
    {23, "V", 50.942},
    {24, "Cr", 51.996},
    {25, "Mn", 54.938},
    {26, "Fe", 55.845},
    {27, "Co", 58.933},
    {28, "Ni", 58.693},
    {29, "Cu", 63.546},
    {30, "Zn", 65.38},
    {31, "Ga", 69.723},
    {32, "Ge", 72.630},
    {33, "As", 74.922},
    {34, "Se", 78.971},
    {35, "Br", 79.904},
    {36, "Kr", 83.798},
    {37, "Rb", 85.468},
    {38, "Sr", 87.62},
    {39, "Y", 88.906},
    {40, "Zr", 91.224},
    {41, "Nb", 92.906},
    {42, "Mo", 95.95},
    {43, "Tc", 98.0},
    {44, "Ru", 101.07},
    {45, "Rh", 102.91},
    {46, "Pd", 106.42},
    {47, "Ag", 107.87},
    {48, "Cd", 112.41},
    {49, "In", 114.82},
    {50, "Sn", 118.71},
    {51, "Sb", 121.76},
    {52, "Te", 127.60},
    {53, "I", 126.90},
    {54, "Xe", 131.29},
    {55, "Cs", 132.91},
    {56, "Ba", 137.33},
    {57, "La", 138.91},
    {58, "Ce", 140.12},
    {59, "Pr", 140.91},
    {60, "Nd", 144.24},
    {61, "Pm", 145.0},
    {62, "Sm", 150.36},
    {63, "Eu", 151.96},
    {64, "Gd", 157.25},
    {65, "Tb", 158.93},
    {66, "Dy", 162.50},
    {67, "Ho", 164.93},
    {68, "Er", 167.26},
    {69, "Tm", 168.93},
    {70, "Yb", 173.05},
    {71, "Lu", 174.97},
    {72, "Hf", 178.49},
    {73, "Ta", 180.95},
    {74, "W", 183.84},
    {75, "Re", 186.21},
    {76, "Os", 190.23},
    {77, "Ir", 192.22},
    {78, "Pt", 195.08},
    {79, "Au", 196.97},
    {80, "Hg", 200.59},
    {81, "Tl", 204.38},
    {82, "Pb", 207.2},
    {83, "Bi", 208.98},
    {84, "Po", 209.0},
    {85, "At", 210.0},
    {86, "Rn", 222.0},
    {87, "Fr", 223.0},
    {88, "Ra", 226.0},
    {89, "Ac", 227.0},
    {90, "Th", 232.04},
    {91, "Pa", 231.04},
    {92, "U", 238.03},
    {93, "Np", 237.0},
    {94, "Pu", 244.0},
    {95, "Am", 243.0},
    {96, "Cm", 247.0},
    {97, "Bk", 247.0},
    {98, "Cf", 251.0},
    {99, "Es", 252.0},
    {100, "Fm", 257.0},
    {101, "Md", 258.0},
    {102, "No", 259.0},
    {103, "Lr", 266.0},
    {104, "Rf", 267.0},
    {105, "Db", 268.0},
    {106, "Sg", 269.0},
    {107, "Bh", 270.0},
    {108, "Hs", 269.0},
    {109, "Mt", 278.0},
    {110, "D", 2.014},
};
// clang-format on
} // namespace

const ElementEntry &ElementTable::entry(int i)
{
    return elements[i < 0 || i >= Count ? 0 : i];
}

int elementNumber(const QString &symbol)
{
    for (const ElementEntry &e : elements)
        if (symbol == QLatin1String(e.symbol))
            return e.number;
    return -1;
}
