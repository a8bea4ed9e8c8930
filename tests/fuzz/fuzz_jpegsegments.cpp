// libFuzzer target: the JPEG segment scanner on arbitrary bytes.

#include "platform/imaging/jpegsegments.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ZorJpegSegments scanned = zorScanJpegSegments({data, size});
    std::size_t total = 0;
    for (const ZorJpegSegment& segment : scanned.segments)
        total += segment.bytes.size();
    // Segments are parts of the data: together never more than it.
    if (total > size)
        __builtin_trap();
    return 0;
}
