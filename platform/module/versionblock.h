#pragma once

// The version block: a module's version resource in the platform's own layout (VS_VERSIONINFO),
// built at build time by zorversiongen and read back from the file by the version calls of
// platform/module/fileversioninfo.h. This file has no other dependency, so the build-time
// generator compiles it on its own.
//
// Every node of the block is laid out as
//     WORD  wLength       bytes of the node with its value and its children
//     WORD  wValueLength  bytes of a binary value; characters (with the terminator) of a text
//     WORD  wType         1 text, 0 binary
//     key                 UTF-16, little-endian, with its terminating 0
//     padding             to a multiple of 4 bytes from the start of the block
//     value
//     padding             to a multiple of 4 bytes from the start of the block
//     children            nodes, each starting on a multiple of 4
//
// The root "VS_VERSION_INFO" holds VS_FIXEDFILEINFO as its value and two children:
// "StringFileInfo" with one string table (key: language and code page as 8 hexadecimal digits)
// of named texts, and "VarFileInfo" with "Translation", the pairs of 16-bit language and code
// page.
//
// The readers here never trust a length: every node is checked against the node that holds it
// and the size of the whole block, and a node that does not fit is not read.

#include "platform/types/wintypes.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// The fixed part of a version resource: thirteen 32-bit words.
struct VS_FIXEDFILEINFO
{
    DWORD dwSignature {0};
    DWORD dwStrucVersion {0};
    DWORD dwFileVersionMS {0};
    DWORD dwFileVersionLS {0};
    DWORD dwProductVersionMS {0};
    DWORD dwProductVersionLS {0};
    DWORD dwFileFlagsMask {0};
    DWORD dwFileFlags {0};
    DWORD dwFileOS {0};
    DWORD dwFileType {0};
    DWORD dwFileSubtype {0};
    DWORD dwFileDateMS {0};
    DWORD dwFileDateLS {0};
};
static_assert(sizeof(VS_FIXEDFILEINFO) == 52);

constexpr DWORD VS_FFI_SIGNATURE = 0xFEEF04BD;
constexpr DWORD VS_FFI_STRUCVERSION = 0x00010000;
constexpr DWORD VS_FFI_FILEFLAGSMASK = 0x0000003F;
constexpr DWORD VS_FF_DEBUG = 0x00000001;
constexpr DWORD VOS_NT_WINDOWS32 = 0x00040004;
constexpr DWORD VFT_APP = 0x00000001;
constexpr DWORD VFT_DLL = 0x00000002;

// The name of the file section that holds a module's version block.
constexpr const char* ZOR_VERSION_SECTION = ".zorversion";

// What a version block says; texts are UTF-8.
struct ZorVersionInfo
{
    WORD fileVersion[4] {0, 0, 0, 0};
    WORD productVersion[4] {0, 0, 0, 0};
    DWORD fileFlags {0};
    DWORD fileType {VFT_DLL};
    WORD language {0x0409};
    WORD codePage {0x04E4};
    // The string table, in the order given: (name, text).
    std::vector<std::pair<std::string, std::string>> strings;
};

// The block's bytes; empty when it would not fit the 16-bit lengths of the layout.
std::vector<BYTE> zorBuildVersionBlock(const ZorVersionInfo& info);

// One node of a block, as read by zorReadVersionNode. Offsets count from the start of the block.
struct ZorVersionNode
{
    std::size_t offset {0};
    std::size_t end {0}; // offset + wLength
    WORD type {0};
    std::u16string key;
    std::size_t valueOffset {0};
    std::size_t valueSize {0}; // in bytes, for texts too
    std::size_t childrenOffset {0};
};

// Reads the node at offset, which must lie inside [offset, limit) with limit <= size.
// False when the header, key or value do not fit or the key has no terminator.
bool zorReadVersionNode(const BYTE* block, std::size_t size, std::size_t offset, std::size_t limit,
    ZorVersionNode& node);

// The length of a block whose root node is sound ("VS_VERSION_INFO", within size), else 0.
std::size_t zorVersionBlockLength(const BYTE* block, std::size_t size);

// Finds the node a sub-block path names: "\" the root, "\VarFileInfo\Translation",
// "\StringFileInfo\040904e4\ProductName". Names compare without regard to case; repeated
// separators count as one.
bool zorFindVersionNode(
    const BYTE* block, std::size_t size, const char* subBlock, ZorVersionNode& node);

// Conversions between the block's UTF-16 and the suite's texts; malformed sequences become
// U+FFFD.
std::u16string zorUtf8ToUtf16(const std::string& text);
std::string zorUtf16ToUtf8(const std::u16string& text);

// Reads a little-endian 16-bit word; the caller has checked the bounds.
inline WORD zorReadWord(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}
