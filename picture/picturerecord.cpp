#include "picture/picturerecord.h"

#include "platform/imaging/imaging.h"

#include <cstdint>

namespace {

void putUint(std::string& record, std::size_t at, UINT value)
{
    for (std::size_t i = 0; i < 4; ++i)
        record[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

UINT getUint(const std::string& record, std::size_t at)
{
    UINT value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<UINT>(static_cast<unsigned char>(record[at + i])) << (8 * i);
    return value;
}

} // namespace

std::string zorPictureRecord(UINT width, UINT height, const BYTE* pixels)
{
    const std::size_t bytes = static_cast<std::size_t>(width) * height * 3;
    std::string record(c_nPictureRecordHeader, '\0');
    putUint(record, 0, width);
    putUint(record, 4, height);
    if (pixels)
        record.append(reinterpret_cast<const char*>(pixels), bytes);
    return record;
}

bool zorReadPictureRecord(const std::string& record, UINT* width, UINT* height, const BYTE** pixels)
{
    if (!width || !height || !pixels || record.size() < c_nPictureRecordHeader)
        return false;
    const UINT w = getUint(record, 0);
    const UINT h = getUint(record, 4);
    const std::uint64_t count = std::uint64_t {w} * h;
    if (count == 0 || count > c_nISMaxPixels || record.size() - c_nPictureRecordHeader != count * 3)
        return false;
    *width = w;
    *height = h;
    *pixels = reinterpret_cast<const BYTE*>(record.data() + c_nPictureRecordHeader);
    return true;
}
