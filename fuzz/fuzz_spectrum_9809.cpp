// Fuzz target: "9809" scan files (monochromator angle, I0 and I per data line), read
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
    fuzz::InputFile file("scan9809", data, size);
    XafsSpectrum spectrum;
    const bool loaded = spectrum.load(file.name());
    // Any other first line makes it a two-column file, which has a target of
    // its own: such inputs are kept out of this corpus.
    if (spectrum.isTwoColumn())
        return -1;
    if (loaded)
        fuzz::useSpectrum(spectrum);
    return 0;
}
