#pragma once

// Version resources of files: the stand-in for the platform's version calls.
//
// The version block of a module or program of the suite lives in the ".zorversion" section of
// its file (see versionblock.h). It is read from the file, which is never loaded for it; a file
// that is not ELF, has no such section or holds a damaged block has no version resource.
//
// The data a caller gets holds the block as it is in the file, followed by room for the
// single-byte copies of its texts: the block stores UTF-16, and VerQueryValueA converts a text
// into that room (as UTF-8, the suite's single-byte texts) when it is asked for. The room has
// half again the block's size, which holds every text of the block at once.

#include "platform/module/versionblock.h"

#include <cstddef>

// The number of bytes GetFileVersionInfoA needs for the file's version resource, 0 when the
// file has none. The handle is set to 0. Windows names (".dll", ".ocx") mean the ".so" file.
DWORD GetFileVersionInfoSizeA(const char* lptstrFilename, DWORD* lpdwHandle);

// Copies the version resource into lpData. False when the file has none or dwLen is smaller
// than GetFileVersionInfoSizeA reports; the handle is ignored.
BOOL GetFileVersionInfoA(const char* lptstrFilename, DWORD dwHandle, DWORD dwLen, void* lpData);

// Looks up a value of version data that GetFileVersionInfoA filled:
//   "\"                                      the VS_FIXEDFILEINFO; *puLen its size in bytes
//   "\VarFileInfo\Translation"               the (language, code page) words; size in bytes
//   "\StringFileInfo\040904e4\ProductName"   the text, converted into the data's room;
//                                            *puLen its characters with the terminator
// Names compare without regard to case. *lplpBuffer points into the data and stays valid as
// long as it does. False when the value does not exist or the block is damaged. As on the
// platform, the data must be writable (a text lookup converts into its room) and the block's own
// length is trusted for its size; use zorVerQueryValue where the size is known.
BOOL VerQueryValueA(const void* pBlock, const char* lpSubBlock, void** lplpBuffer, UINT* puLen);

// The size of version data for a block of blockLength bytes: the block, padded to 4, and the
// room for its texts.
std::size_t zorVersionDataSize(std::size_t blockLength);

// VerQueryValueA on data whose size is known: nothing outside [data, data + dataSize) is read
// or written, whatever the block's own lengths say.
BOOL zorVerQueryValue(
    void* data, std::size_t dataSize, const char* subBlock, void** buffer, UINT* length);
