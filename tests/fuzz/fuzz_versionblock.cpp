// libFuzzer target: version data of arbitrary bytes through VerQueryValueA and zorVerQueryValue.
//
// The bytes stand for the block of a file's ".zorversion" section. They are laid into version
// data the way GetFileVersionInfoA lays a block (the bytes, then the zeroed room for the
// single-byte texts) and every node the block holds is queried by its path: the fixed
// information, the translation, the string tables and each of their texts.
// Invariants: every answer lies inside the data; the fixed information is 52 bytes; a text
// ends at its reported length, and stays as it was while later texts are looked up; and what the
// block says (versions, flags, type, translation and the texts of its first string table) built
// into a block again by zorBuildVersionBlock reads back the same.

#include "platform/module/fileversioninfo.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// One answer of the query, its bytes copied out of the data.
struct Answer
{
    bool found {false};
    std::vector<BYTE> bytes;
    const BYTE* at {nullptr};
};

Answer query(std::vector<BYTE>& data, const std::string& path, bool sized)
{
    void* buffer = nullptr;
    UINT length = 0;
    const BOOL found = sized
        ? zorVerQueryValue(data.data(), data.size(), path.c_str(), &buffer, &length)
        : VerQueryValueA(data.data(), path.c_str(), &buffer, &length);
    Answer answer;
    if (!found)
        return answer;
    const auto* begin = static_cast<const BYTE*>(buffer);
    check(begin >= data.data() && begin <= data.data() + data.size());
    check(length <= static_cast<std::size_t>(data.data() + data.size() - begin));
    answer.found = true;
    answer.at = begin;
    answer.bytes.assign(begin, begin + length);
    return answer;
}

// A text answer: its characters and terminator, nothing after the terminator.
std::string text(const Answer& answer)
{
    check(!answer.bytes.empty() && answer.bytes.back() == 0);
    const std::string value(reinterpret_cast<const char*>(answer.bytes.data()));
    check(value.size() + 1 == answer.bytes.size());
    return value;
}

DWORD dword(const std::vector<BYTE>& bytes, std::size_t at)
{
    return static_cast<DWORD>(zorReadWord(bytes.data() + at))
        | static_cast<DWORD>(zorReadWord(bytes.data() + at + 2)) << 16;
}

// A key that a path can name: converts to UTF-8 and back unchanged, holds no separator.
bool nameable(const std::u16string& key, std::string& name)
{
    name = zorUtf16ToUtf8(key);
    return !name.empty() && name.find('\\') == std::string::npos && zorUtf8ToUtf16(name) == key;
}

// The keys of a node's children, as the lookup walks them.
std::vector<std::u16string> childKeys(
    const BYTE* block, std::size_t size, const ZorVersionNode& parent)
{
    std::vector<std::u16string> keys;
    std::size_t child = parent.childrenOffset;
    while (child < parent.end && parent.end - child >= 6) {
        ZorVersionNode node;
        if (!zorReadVersionNode(block, size, child, parent.end, node))
            break;
        keys.push_back(node.key);
        child = (node.end + 3) & ~static_cast<std::size_t>(3);
    }
    return keys;
}

// Version data of a block, as GetFileVersionInfoA fills it.
std::vector<BYTE> versionData(const BYTE* block, std::size_t length)
{
    std::vector<BYTE> data(zorVersionDataSize(length), 0);
    std::memcpy(data.data(), block, length);
    return data;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size)
{
    const std::size_t length = zorVersionBlockLength(input, size);
    if (length == 0) {
        // Bytes without a sound root are no version data: nothing is found in them.
        std::vector<BYTE> data(input, input + size);
        check(!query(data, "\\", true).found);
        check(!query(data, "\\VarFileInfo\\Translation", true).found);
        return 0;
    }
    check(length <= size);
    std::vector<BYTE> data = versionData(input, length);

    // The fixed information; the unsized call must agree with the sized one.
    const Answer fixed = query(data, "\\", true);
    const Answer fixedUnsized = query(data, "\\", false);
    check(fixed.found == fixedUnsized.found && fixed.bytes == fixedUnsized.bytes);
    if (fixed.found)
        check(fixed.bytes.size() == sizeof(VS_FIXEDFILEINFO));
    const Answer translation = query(data, "\\VarFileInfo\\Translation", true);

    // Every text of every string table, by the path of its keys.
    ZorVersionNode stringInfo;
    std::vector<std::pair<std::string, std::string>> firstTable;
    std::vector<Answer> texts;
    bool firstTableWhole = false;
    if (zorFindVersionNode(data.data(), length, "\\StringFileInfo", stringInfo)) {
        const std::vector<std::u16string> tables = childKeys(data.data(), length, stringInfo);
        for (std::size_t t = 0; t < tables.size(); ++t) {
            std::string table;
            ZorVersionNode tableNode;
            if (!nameable(tables[t], table)
                || !zorFindVersionNode(
                    data.data(), length, ("\\StringFileInfo\\" + table).c_str(), tableNode))
                continue;
            for (const std::u16string& key : childKeys(data.data(), length, tableNode)) {
                std::string name;
                if (!nameable(key, name))
                    continue;
                const std::string path = "\\StringFileInfo\\" + table + "\\" + name;
                const Answer answer = query(data, path, true);
                if (!answer.found)
                    continue;
                ZorVersionNode node;
                check(zorFindVersionNode(data.data(), length, path.c_str(), node));
                if (node.type == 1) {
                    const std::string value = text(answer);
                    texts.push_back(answer);
                    if (t == 0)
                        firstTable.emplace_back(name, value);
                }
            }
            if (t == 0)
                firstTableWhole = true;
        }
    }

    // Each text was converted into a place of its own: the later lookups left it as it was.
    for (const Answer& earlier : texts)
        check(std::memcmp(earlier.at, earlier.bytes.data(), earlier.bytes.size()) == 0);

    // What was read, written again, reads back the same.
    if (!fixed.found || dword(fixed.bytes, 0) != VS_FFI_SIGNATURE || !firstTableWhole
        || !translation.found || translation.bytes.size() < 4)
        return 0;
    ZorVersionInfo info;
    for (int i = 0; i < 2; ++i) {
        info.fileVersion[2 * i] = HIWORD(dword(fixed.bytes, 8 + 4 * i));
        info.fileVersion[2 * i + 1] = LOWORD(dword(fixed.bytes, 8 + 4 * i));
        info.productVersion[2 * i] = HIWORD(dword(fixed.bytes, 16 + 4 * i));
        info.productVersion[2 * i + 1] = LOWORD(dword(fixed.bytes, 16 + 4 * i));
    }
    info.fileFlags = dword(fixed.bytes, 28);
    info.fileType = dword(fixed.bytes, 36);
    info.language = zorReadWord(translation.bytes.data());
    info.codePage = zorReadWord(translation.bytes.data() + 2);
    info.strings = firstTable;
    const std::vector<BYTE> rebuilt = zorBuildVersionBlock(info);
    if (rebuilt.empty())
        return 0;
    check(zorVersionBlockLength(rebuilt.data(), rebuilt.size()) == rebuilt.size());
    std::vector<BYTE> again = versionData(rebuilt.data(), rebuilt.size());

    const Answer fixedAgain = query(again, "\\", true);
    check(fixedAgain.found);
    for (std::size_t at : {8u, 12u, 16u, 20u, 28u, 36u})
        check(dword(fixedAgain.bytes, at) == dword(fixed.bytes, at));
    const Answer translationAgain = query(again, "\\VarFileInfo\\Translation", true);
    check(translationAgain.found
        && std::memcmp(translationAgain.bytes.data(), translation.bytes.data(), 4) == 0);
    char table[9];
    std::snprintf(table, sizeof table, "%04X%04X", static_cast<unsigned>(info.language),
        static_cast<unsigned>(info.codePage));
    for (const auto& [name, value] : firstTable) {
        // Names compare case aside: a lookup finds the first of equal names in both blocks,
        // and the rebuilt table holds the texts found in the same order.
        const Answer answer
            = query(again, std::string("\\StringFileInfo\\") + table + "\\" + name, true);
        check(answer.found && text(answer) == value);
    }
    return 0;
}
