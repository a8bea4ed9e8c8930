#pragma once

// The clock's font argument: a logical font as the 60 bytes of the platform's LOGFONTA record
// (five little-endian 32-bit fields height, width, escapement, orientation, weight; eight bytes
// italic, underline, strike-out, character set, output precision, clip precision, quality,
// pitch and family; a 32-byte face name), carried over dispatch as a binary text. A caller
// hands over its record's bytes, never its address, so the control reads only what it was
// given.

#include "platform/gdi/logfont.h"

#include <string>

constexpr std::size_t c_nFontRecordBytes = 60;

// The record of a font.
std::string zorClockFontRecord(const LOGFONT& font);
// The font of a record; false for a text that is not exactly one record. The face name always
// ends within its 32 bytes, even when the record's does not.
bool zorClockFontFromRecord(const std::string& record, LOGFONT* font);
