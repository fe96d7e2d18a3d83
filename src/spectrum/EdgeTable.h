#pragma once

#include <QString>

// One record of the edge table: the atomic number and 15 values.
//   slot 1..4  K, LI, LII, LIII edge energy in keV
//   slot 5     M1 edge wavelength in Angstrom
//   slot 6..10 Victoreen C coefficients of K, LI, LII, LIII, M1
//   slot 11..15 Victoreen D coefficients of the same edges
struct EdgeRecord
{
    int atomicNumber = 0;
    double slot[16] = {}; // slot[0] is unused: the atomic number stands there
};

// The absorption-edge table read from the embedded ":Victoreen1.txt". Record
// i belongs to atomic number i: the title line fills record 0 and each element
// line the record of its atomic number. The program's table is filled once on
// first use and read-only afterwards (the analysis threads read it).
class EdgeTable
{
public:
    static constexpr int Records = 100;
    static constexpr const char *ResourceName = ":Victoreen1.txt";

    // Empties the table and fills it from fileName; false (and a debug line)
    // when it cannot be opened, leaving the table empty.
    bool load(const QString &fileName = QString::fromLatin1(ResourceName));

    int count() const { return filled; }
    // Record i; an empty record for i outside the table.
    const EdgeRecord &record(int i) const;
    // Edge energy in eV of record element: edge 0 K, 1 LI, 2 LII, 3 LIII
    // (4 gives the M1 wavelength slot times 1000). 0 outside the table.
    double edgeEnergy(int element, int edge) const;

private:
    int filled = 0;
    EdgeRecord records[Records];
};

// The program's table, read from the resource on first use.
const EdgeTable &edgeTable();
// The program's table's edge energy in eV (see EdgeTable::edgeEnergy).
double edgeEnergy(int element, int edge);
// Edge number of a name, any case: K 0; L1/LI 1; L2/LII 2; L3/LIII 3; else 0.
int edgeIndex(const QString &name);

// The element symbol table: entry i holds atomic number i; entry 0 is " ",
// entries 1..109 are H .. Mt, entry 110 is D (deuterium).
struct ElementEntry
{
    int number;
    const char *symbol;
    double weight;
};

namespace ElementTable {
constexpr int Count = 111;
// Entry i (0 <= i < Count).
const ElementEntry &entry(int i);
} // namespace ElementTable

// Atomic number of the first entry whose symbol is exactly symbol (case
// matters); -1 when none is.
int elementNumber(const QString &symbol);
