// Fuzz target: IMG frames: 64-byte header, comment of keys, 16- or 32-bit samples.
// The frame is read by its own reader, so damage to the magic bytes still
// reaches it; an accepted frame is used as the program would use it.

#include "FrameChecks.h"
#include "FuzzInput.h"

#include "input/TiffData.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::silenceLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::InputFile file("img", data, size);
    TiffData frame;
    if (frame.readImg(file.name()))
        fuzz::useFrame(frame);
    return 0;
}
