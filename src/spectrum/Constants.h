#pragma once

// Physical constants shared by the spectrum readers and the analyses.
namespace Constants {
// h times c in eV times Angstrom: wavelength = hc / E, and E = hc / (2 d sin theta)
// for a crystal monochromator.
constexpr double hc = 12398.424360387684;
// The value of pi used to turn monochromator angles in degrees into radians.
constexpr double pi = 3.1415926535;
// Crystal d-spacing in Angstrom unless a scan file gives its own.
constexpr double defaultDSpacing = 3.13553;
// Edge energies of the reference table are in keV.
constexpr double keVToEV = 1000.0;
} // namespace Constants
