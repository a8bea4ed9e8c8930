#include "platform/module/fileversioninfo.h"

#include "platform/module/elfsection.h"
#include "platform/module/module.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// The 16-bit lengths of the layout bound a block to 64 KiB.
constexpr std::size_t MAX_BLOCK = 0x10000;

std::size_t align4(std::size_t n)
{
    return (n + 3) & ~static_cast<std::size_t>(3);
}

// The file's version block, checked to be sound at its root; empty when it has none.
std::vector<BYTE> readBlock(const char* fileName)
{
    std::vector<BYTE> section;
    if (!fileName || !*fileName)
        return section;
    const std::string path = zorModuleFileName(fileName);
    if (!zorReadElfSection(path, ZOR_VERSION_SECTION, MAX_BLOCK, section))
        return {};
    const std::size_t length = zorVersionBlockLength(section.data(), section.size());
    if (length == 0)
        return {};
    section.resize(length);
    return section;
}

} // namespace

std::size_t zorVersionDataSize(std::size_t blockLength)
{
    return align4(blockLength) * 5 / 2;
}

DWORD GetFileVersionInfoSizeA(const char* lptstrFilename, DWORD* lpdwHandle)
{
    if (lpdwHandle)
        *lpdwHandle = 0;
    const std::vector<BYTE> block = readBlock(lptstrFilename);
    return block.empty() ? 0 : static_cast<DWORD>(zorVersionDataSize(block.size()));
}

BOOL GetFileVersionInfoA(const char* lptstrFilename, DWORD /*dwHandle*/, DWORD dwLen, void* lpData)
{
    if (!lpData)
        return FALSE;
    const std::vector<BYTE> block = readBlock(lptstrFilename);
    if (block.empty())
        return FALSE;
    const std::size_t total = zorVersionDataSize(block.size());
    if (dwLen < total)
        return FALSE;
    auto* data = static_cast<BYTE*>(lpData);
    std::memcpy(data, block.data(), block.size());
    std::memset(data + block.size(), 0, total - block.size());
    return TRUE;
}

BOOL zorVerQueryValue(
    void* data, std::size_t dataSize, const char* subBlock, void** buffer, UINT* length)
{
    if (!data || !subBlock || !buffer || !length)
        return FALSE;
    auto* bytes = static_cast<BYTE*>(data);
    const std::size_t blockLength = zorVersionBlockLength(bytes, dataSize);
    ZorVersionNode node;
    if (blockLength == 0 || !zorFindVersionNode(bytes, blockLength, subBlock, node))
        return FALSE;

    if (node.offset == 0) {
        // The root: its value is the fixed information.
        if (node.valueSize < sizeof(VS_FIXEDFILEINFO))
            return FALSE;
        *buffer = bytes + node.valueOffset;
        *length = static_cast<UINT>(sizeof(VS_FIXEDFILEINFO));
        return TRUE;
    }
    if (node.type != 1) {
        *buffer = bytes + node.valueOffset;
        *length = static_cast<UINT>(node.valueSize);
        return TRUE;
    }

    // A text: its single-byte copy goes to the place in the room that matches its place in the
    // block, so every text of the block has its own place and earlier results stay valid.
    std::u16string text;
    for (std::size_t p = node.valueOffset; p + 2 <= node.valueOffset + node.valueSize; p += 2) {
        const WORD unit = zorReadWord(bytes + p);
        if (unit == 0)
            break;
        text.push_back(static_cast<char16_t>(unit));
    }
    const std::string copy = zorUtf16ToUtf8(text);
    const std::size_t room = align4(blockLength);
    const std::size_t roomSize = zorVersionDataSize(blockLength) - room;
    const std::size_t place = node.valueOffset * 3 / 2;
    if (dataSize < room + roomSize || place > roomSize || copy.size() + 1 > roomSize - place)
        return FALSE;
    char* target = reinterpret_cast<char*>(bytes + room + place);
    std::memcpy(target, copy.data(), copy.size());
    target[copy.size()] = '\0';
    *buffer = target;
    *length = static_cast<UINT>(copy.size() + 1);
    return TRUE;
}

BOOL VerQueryValueA(const void* pBlock, const char* lpSubBlock, void** lplpBuffer, UINT* puLen)
{
    if (!pBlock)
        return FALSE;
    // As on the platform the block's own length stands for the size of the data.
    const auto* bytes = static_cast<const BYTE*>(pBlock);
    const std::size_t size = zorVersionDataSize(zorReadWord(bytes));
    return zorVerQueryValue(const_cast<void*>(pBlock), size, lpSubBlock, lplpBuffer, puLen);
}
