// libFuzzer target: the TGA reader on arbitrary bytes.

#include "platform/imaging/tgadecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ZorRgbPicture picture;
    UINT error = 0;
    const bool decoded = zorDecodeTga({data, size}, picture, error);
    // A decoded picture is whole; a refused one is empty and says why.
    if (decoded != (error == 0)
        || (decoded && picture.pixels.size() != std::size_t(picture.width) * picture.height * 3)
        || (!decoded && !picture.pixels.empty()))
        __builtin_trap();
    return 0;
}
