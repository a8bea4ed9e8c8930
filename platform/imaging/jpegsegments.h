#pragma once

// The comment (COM) and application (APPn) segments of a JPEG file, read from its bytes up to
// the first scan, and whether the file goes on to its end-of-image marker (a file cut short
// lacks it; the decoder would fill the missing part with grey instead of failing).

#include "platform/types/wintypes.h"

#include <span>
#include <vector>

constexpr BYTE c_jpegComment = 0xFE;
constexpr BYTE c_jpegApp0 = 0xE0;
constexpr BYTE c_jpegApp15 = 0xEF;

struct ZorJpegSegment
{
    BYTE marker {0}; // the byte after 0xFF: c_jpegComment or c_jpegApp0 .. c_jpegApp15
    std::vector<BYTE> bytes; // the segment's contents after its length
};

struct ZorJpegSegments
{
    std::vector<ZorJpegSegment> segments; // in file order
    bool complete {false}; // a scan was found and an end-of-image marker after it
};

ZorJpegSegments zorScanJpegSegments(std::span<const BYTE> data);
