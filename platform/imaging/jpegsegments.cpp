#include "platform/imaging/jpegsegments.h"

namespace {

constexpr BYTE c_markerPrefix = 0xFF;
constexpr BYTE c_startOfImage = 0xD8;
constexpr BYTE c_endOfImage = 0xD9;
constexpr BYTE c_startOfScan = 0xDA;
constexpr BYTE c_temporary = 0x01;
constexpr BYTE c_restart0 = 0xD0;
constexpr BYTE c_restart7 = 0xD7;

// Whether an end-of-image marker follows `from`. Inside entropy-coded data a 0xFF byte of the
// data is followed by 0x00, so 0xFF 0xD9 is only ever the marker itself.
bool endOfImageFollows(std::span<const BYTE> data, std::size_t from)
{
    for (std::size_t i = from; i + 1 < data.size(); ++i) {
        if (data[i] == c_markerPrefix && data[i + 1] == c_endOfImage)
            return true;
    }
    return false;
}

} // namespace

ZorJpegSegments zorScanJpegSegments(std::span<const BYTE> data)
{
    ZorJpegSegments result;
    if (data.size() < 2 || data[0] != c_markerPrefix || data[1] != c_startOfImage)
        return result;
    std::size_t position = 2;
    while (position < data.size()) {
        if (data[position] != c_markerPrefix)
            return result; // not a marker where one must be
        // Any number of 0xFF fill bytes may come before the marker's own byte.
        while (position < data.size() && data[position] == c_markerPrefix)
            ++position;
        if (position >= data.size())
            return result;
        const BYTE marker = data[position++];
        if (marker == c_endOfImage)
            return result; // an image without a scan
        if (marker == c_temporary || (marker >= c_restart0 && marker <= c_restart7))
            continue; // markers without a length
        if (data.size() - position < 2)
            return result;
        const std::size_t length = (std::size_t(data[position]) << 8) | data[position + 1];
        if (length < 2 || length > data.size() - position)
            return result;
        const std::span<const BYTE> contents = data.subspan(position + 2, length - 2);
        position += length;
        if (marker == c_startOfScan) {
            result.complete = endOfImageFollows(data, position);
            return result;
        }
        if (marker == c_jpegComment || (marker >= c_jpegApp0 && marker <= c_jpegApp15))
            result.segments.push_back({marker, {contents.begin(), contents.end()}});
    }
    return result;
}
