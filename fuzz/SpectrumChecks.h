#pragma once

#include "FuzzInput.h"

#include "spectrum/XafsSpectrum.h"

#include <cmath>

// What the program does with a spectrum once a reader loaded it: normalize
// it in both background forms and read its curves.
namespace fuzz {

inline void useSpectrum(XafsSpectrum &spectrum)
{
    // A loaded spectrum has finite energies: an infinite one turns every
    // normalized value into not-a-number.
    for (int i = 0; i < spectrum.raw().size(); ++i) {
        if (!std::isfinite(spectrum.raw().x(i)))
            broken("a loaded spectrum has an energy that is not finite");
    }
    spectrum.normalize(true);
    spectrum.normalize(false);
    volatile double sink = spectrum.doubleNormalizedPreBase(spectrum.e0());
    (void)sink;
}

} // namespace fuzz
