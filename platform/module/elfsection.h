#pragma once

// Reads one section of an ELF file (a program or shared object) from the file itself, without
// loading it. The version calls use it to find a module's version block.
//
// Every offset and count of the file's headers is checked against the file's size before it is
// used, so a truncated or damaged file gives false, never a read outside it.

#include "platform/types/wintypes.h"

#include <cstddef>
#include <string>
#include <vector>

// The bytes of the named section. False when the file cannot be read, is not ELF, has no
// section of that name, the section holds no file data, lies outside the file or is larger
// than maxSize bytes.
bool zorReadElfSection(
    const std::string& path, const char* name, std::size_t maxSize, std::vector<BYTE>& bytes);

// The same for a file image held in memory.
bool zorReadElfSection(const BYTE* image, std::size_t size, const char* name, std::size_t maxSize,
    std::vector<BYTE>& bytes);
