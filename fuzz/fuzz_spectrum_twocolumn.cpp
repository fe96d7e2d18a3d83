// Fuzz target: two-column spectrum files (energy and mu t on each line), read
// as a reference spectrum is read and then normalized in both background forms.

#include "FuzzInput.h"
#include "SpectrumChecks.h"

#include "spectrum/XafsSpectrum.h"

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
    if (loaded)
        fuzz::useSpectrum(spectrum);
    return 0;
}
