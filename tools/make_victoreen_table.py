#!/usr/bin/python3
"""Writes the program's edge table src/resources/Victoreen1.txt from xraylib.

The table is committed, so building the program needs no xraylib. To
regenerate it (only when the data set or the layout changes):

    apt-get install python3-xraylib
    /usr/bin/python3 tools/make_victoreen_table.py            # writes the file
    /usr/bin/python3 tools/make_victoreen_table.py -o other.txt

(/usr/bin/python3 is named because Debian installs xraylib for its own
Python.) The file is UTF-8 text: a title line beginning with "=" that holds
the column captions, then one line per element from H (Z 1) to U (Z 92) with
blank-separated columns:

    symbol Z
    for each of K, LI, LII, LIII: edge energy (keV), edge wavelength (Angstrom,
        12.398424360387684 / E), Victoreen C, Victoreen D
    M1: edge wavelength (Angstrom), Victoreen C, Victoreen D

"=" stands wherever there is no value. xraylib gives edge energies only, so
every C and D column is "="; the program reads them but evaluates none.
Edges below 0.1 keV are written as "=" too: the table serves X-ray absorption
edges, and below 100 eV (H and He K, the low L and M levels of the light
elements, the M1 level up to about Zn) there is nothing an X-ray absorption
measurement reaches.
"""

import argparse
import os
import sys

try:
    import xraylib
except ImportError:
    sys.exit("xraylib is missing: apt-get install python3-xraylib, then run this with /usr/bin/python3")

HC_KEV_ANGSTROM = 12.398424360387684
MIN_EDGE_KEV = 0.1
LAST_Z = 92

TITLE = ("=元素 原子番号 "
         "K吸収端(keV) K波長(Å) K係数C K係数D "
         "LI吸収端(keV) LI波長(Å) LI係数C LI係数D "
         "LII吸収端(keV) LII波長(Å) LII係数C LII係数D "
         "LIII吸収端(keV) LIII波長(Å) LIII係数C LIII係数D "
         "M1波長(Å) M1係数C M1係数D")

SHELLS = [xraylib.K_SHELL, xraylib.L1_SHELL, xraylib.L2_SHELL, xraylib.L3_SHELL]


def edge_kev(z, shell):
    """The edge energy in keV, or None where the data set has none worth listing."""
    try:
        e = xraylib.EdgeEnergy(z, shell)
    except ValueError:
        return None
    if e is None or e < MIN_EDGE_KEV:
        return None
    return e


def number(v):
    return "=" if v is None else "%.10g" % v


def element_line(z):
    items = [xraylib.AtomicNumberToSymbol(z), str(z)]
    for shell in SHELLS:
        e = edge_kev(z, shell)
        items += [number(e), number(None if e is None else HC_KEV_ANGSTROM / e), "=", "="]
    m1 = edge_kev(z, xraylib.M1_SHELL)
    items += [number(None if m1 is None else HC_KEV_ANGSTROM / m1), "=", "="]
    widths = [3, 3] + [12, 12, 3, 3] * 4 + [12, 3, 3]
    return " ".join(item.ljust(w) for item, w in zip(items, widths)).rstrip()


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "src", "resources", "Victoreen1.txt")
    parser = argparse.ArgumentParser(description="Write the edge table from xraylib.")
    parser.add_argument("-o", "--output", default=default)
    args = parser.parse_args()
    lines = [TITLE] + [element_line(z) for z in range(1, LAST_Z + 1)]
    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
