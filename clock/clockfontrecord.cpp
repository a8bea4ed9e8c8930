#include "clock/clockfontrecord.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t c_nBytesAt = 20;
constexpr std::size_t c_nFaceAt = 28;

void putLong(std::string& record, std::size_t at, LONG value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        record[at + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

LONG getLong(const std::string& record, std::size_t at)
{
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i)
        bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(record[at + i])) << (8 * i);
    return static_cast<LONG>(bits);
}

} // namespace

std::string zorClockFontRecord(const LOGFONT& font)
{
    std::string record(c_nFontRecordBytes, '\0');
    const LONG longs[]
        = {font.lfHeight, font.lfWidth, font.lfEscapement, font.lfOrientation, font.lfWeight};
    for (std::size_t i = 0; i < 5; ++i)
        putLong(record, 4 * i, longs[i]);
    const BYTE bytes[] = {font.lfItalic, font.lfUnderline, font.lfStrikeOut, font.lfCharSet,
        font.lfOutPrecision, font.lfClipPrecision, font.lfQuality, font.lfPitchAndFamily};
    for (std::size_t i = 0; i < 8; ++i)
        record[c_nBytesAt + i] = static_cast<char>(bytes[i]);
    std::memcpy(&record[c_nFaceAt], font.lfFaceName, LF_FACESIZE);
    return record;
}

bool zorClockFontFromRecord(const std::string& record, LOGFONT* font)
{
    if (!font || record.size() != c_nFontRecordBytes)
        return false;
    LOGFONT result;
    result.lfHeight = getLong(record, 0);
    result.lfWidth = getLong(record, 4);
    result.lfEscapement = getLong(record, 8);
    result.lfOrientation = getLong(record, 12);
    result.lfWeight = getLong(record, 16);
    BYTE* const bytes[] = {&result.lfItalic, &result.lfUnderline, &result.lfStrikeOut,
        &result.lfCharSet, &result.lfOutPrecision, &result.lfClipPrecision, &result.lfQuality,
        &result.lfPitchAndFamily};
    for (std::size_t i = 0; i < 8; ++i)
        *bytes[i] = static_cast<BYTE>(record[c_nBytesAt + i]);
    std::memcpy(result.lfFaceName, &record[c_nFaceAt], LF_FACESIZE);
    result.lfFaceName[LF_FACESIZE - 1] = '\0';
    *font = result;
    return true;
}
