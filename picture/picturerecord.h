#pragma once

// The picture record that setImage takes: a decoded picture carried over dispatch as a binary
// text, so that a container hands over the picture's bytes, never the address of an image object
// in its own memory.
//
//     offset 0   width, 32-bit little-endian, not 0
//     offset 4   height, 32-bit little-endian, not 0
//     offset 8   width x height x 3 bytes of RGB (red, green, blue), rows top to bottom without
//                padding
//
// A record is whole when its length is exactly 8 + width x height x 3 and its size is within
// what the imaging library decodes (c_nISMaxPixels); anything else is refused.

#include "platform/types/wintypes.h"

#include <string>

constexpr std::size_t c_nPictureRecordHeader = 8;

// The record of a picture (pixels: width x height x 3 bytes).
std::string zorPictureRecord(UINT width, UINT height, const BYTE* pixels);
// The size and the address of the pixels within the record; false for a record that is not
// whole.
bool zorReadPictureRecord(
    const std::string& record, UINT* width, UINT* height, const BYTE** pixels);
