// Fuzz target: two-column spectrum files (energy and mu t on each line), read
// as a reference spectrum is read and then normalized in both background forms.

#include "FuzzInput.h"

#include "spectrum/XafsSpectrum.h"

#include <cmath>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::silenceLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::InputFile file("twocolumn", data, size);
    XafsSpectrum spectrum;
    const bool loaded = spectrum.load(file.name());
    // A first line of "9809" sends the file to the scan reader, which has a
    // target of its own: such inputs are kept out of this corpus.
    if (!spectrum.isTwoColumn())
        return -1;
    if (loaded) {
        // A loaded spectrum has finite energies: an infinite one turns every
        // normalized value into not-a-number.
        for (int i = 0; i < spectrum.raw().size(); ++i) {
            if (!std::isfinite(spectrum.raw().x(i)))
                fuzz::broken("a loaded spectrum has an energy that is not finite");
        }
        spectrum.normalize(true);
        spectrum.normalize(false);
        volatile double sink = spectrum.doubleNormalizedPreBase(spectrum.e0());
        (void)sink;
    }
    return 0;
}
