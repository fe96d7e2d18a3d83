// Fuzz target: reference files of monochromator angles, in the "9809" or the
// simple layout, read by the energy rule and asked for the energy of frames
// before, inside and past the list.

#include "FuzzInput.h"

#include "input/EnergyRule.h"

#include <cmath>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::silenceLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::InputFile file("refangles", data, size);
    EnergyRule rule;
    rule.mode = EnergyRule::FromRefFile;
    if (rule.readRefFile(file.name())) {
        // Every energy of the list is finite and positive.
        for (double e : rule.refEnergies) {
            if (!std::isfinite(e) || !(e > 0.0))
                fuzz::broken("a reference angle gave an energy that is not finite and positive");
        }
        const int n = rule.refEnergies.size();
        volatile double sink = 0.0;
        for (int fNo : {-1, 0, n / 2, n - 1, n, n + 1})
            sink = sink + rule.energyOf(file.name(), fNo);
        (void)sink;
    }
    return 0;
}
