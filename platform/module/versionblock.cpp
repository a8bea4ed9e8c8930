#include "platform/module/versionblock.h"

#include <cstdio>

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

std::size_t align4(std::size_t offset)
{
    return (offset + 3) & ~static_cast<std::size_t>(3);
}

// Writes the nodes of a block; each node's length is filled in when it ends.
class BlockWriter
{
public:
    std::size_t beginNode(const std::u16string& key, std::size_t valueLength, WORD type)
    {
        pad();
        const std::size_t offset = m_bytes.size();
        word(0);
        word(static_cast<WORD>(valueLength));
        word(type);
        if (valueLength > 0xFFFF)
            m_overflow = true;
        for (char16_t unit : key)
            word(static_cast<WORD>(unit));
        word(0);
        pad();
        return offset;
    }

    void endNode(std::size_t offset)
    {
        const std::size_t length = m_bytes.size() - offset;
        if (length > 0xFFFF) {
            m_overflow = true;
            return;
        }
        m_bytes[offset] = static_cast<BYTE>(length & 0xFF);
        m_bytes[offset + 1] = static_cast<BYTE>(length >> 8);
    }

    void word(WORD value)
    {
        m_bytes.push_back(static_cast<BYTE>(value & 0xFF));
        m_bytes.push_back(static_cast<BYTE>(value >> 8));
    }

    void dword(DWORD value)
    {
        word(LOWORD(value));
        word(HIWORD(value));
    }

    void pad()
    {
        while (m_bytes.size() % 4 != 0)
            m_bytes.push_back(0);
    }

    std::vector<BYTE> take() { return m_overflow ? std::vector<BYTE>() : std::move(m_bytes); }

private:
    std::vector<BYTE> m_bytes;
    bool m_overflow {false};
};

DWORD makeLong(WORD high, WORD low)
{
    return (static_cast<DWORD>(high) << 16) | low;
}

char16_t foldCase(char16_t unit)
{
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit - u'A' + u'a') : unit;
}

bool sameKey(const std::u16string& a, const std::u16string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldCase(a[i]) != foldCase(b[i]))
            return false;
    }
    return true;
}

void appendUtf16(std::u16string& out, char32_t code)
{
    if (code < 0x10000) {
        out.push_back(static_cast<char16_t>(code));
    } else {
        code -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    }
}

void appendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

} // namespace

std::vector<BYTE> zorBuildVersionBlock(const ZorVersionInfo& info)
{
    BlockWriter out;
    const std::size_t root = out.beginNode(u"VS_VERSION_INFO", sizeof(VS_FIXEDFILEINFO), 0);
    out.dword(VS_FFI_SIGNATURE);
    out.dword(VS_FFI_STRUCVERSION);
    out.dword(makeLong(info.fileVersion[0], info.fileVersion[1]));
    out.dword(makeLong(info.fileVersion[2], info.fileVersion[3]));
    out.dword(makeLong(info.productVersion[0], info.productVersion[1]));
    out.dword(makeLong(info.productVersion[2], info.productVersion[3]));
    out.dword(VS_FFI_FILEFLAGSMASK);
    out.dword(info.fileFlags);
    out.dword(VOS_NT_WINDOWS32);
    out.dword(info.fileType);
    out.dword(0); // subtype
    out.dword(0); // date, high
    out.dword(0); // date, low

    const std::size_t stringInfo = out.beginNode(u"StringFileInfo", 0, 1);
    char tableName[9];
    std::snprintf(tableName, sizeof tableName, "%04X%04X", static_cast<unsigned>(info.language),
        static_cast<unsigned>(info.codePage));
    const std::size_t table = out.beginNode(zorUtf8ToUtf16(tableName), 0, 1);
    for (const auto& [name, text] : info.strings) {
        const std::u16string value = zorUtf8ToUtf16(text);
        const std::size_t entry = out.beginNode(zorUtf8ToUtf16(name), value.size() + 1, 1);
        for (char16_t unit : value)
            out.word(static_cast<WORD>(unit));
        out.word(0);
        out.endNode(entry);
    }
    out.endNode(table);
    out.endNode(stringInfo);

    const std::size_t varInfo = out.beginNode(u"VarFileInfo", 0, 1);
    const std::size_t translation = out.beginNode(u"Translation", 4, 0);
    out.word(info.language);
    out.word(info.codePage);
    out.endNode(translation);
    out.endNode(varInfo);

    out.endNode(root);
    return out.take();
}

bool zorReadVersionNode(const BYTE* block, std::size_t size, std::size_t offset, std::size_t limit,
    ZorVersionNode& node)
{
    if (!block || limit > size || offset > limit || limit - offset < 6)
        return false;
    const std::size_t length = zorReadWord(block + offset);
    if (length < 6 || length > limit - offset)
        return false;

    ZorVersionNode read;
    read.offset = offset;
    read.end = offset + length;
    const std::size_t valueLength = zorReadWord(block + offset + 2);
    read.type = zorReadWord(block + offset + 4);

    std::size_t p = offset + 6;
    bool terminated = false;
    while (read.end - p >= 2) {
        const WORD unit = zorReadWord(block + p);
        p += 2;
        if (unit == 0) {
            terminated = true;
            break;
        }
        read.key.push_back(static_cast<char16_t>(unit));
    }
    if (!terminated)
        return false;

    read.valueOffset = align4(p);
    read.valueSize = read.type == 1 ? valueLength * 2 : valueLength;
    if (read.valueSize == 0) {
        if (read.valueOffset > read.end)
            read.valueOffset = read.end;
    } else if (read.valueOffset > read.end || read.valueSize > read.end - read.valueOffset) {
        return false;
    }
    read.childrenOffset = align4(read.valueOffset + read.valueSize);
    if (read.childrenOffset > read.end)
        read.childrenOffset = read.end;

    node = std::move(read);
    return true;
}

std::size_t zorVersionBlockLength(const BYTE* block, std::size_t size)
{
    ZorVersionNode root;
    if (!zorReadVersionNode(block, size, 0, size, root) || root.key != u"VS_VERSION_INFO")
        return 0;
    return root.end;
}

bool zorFindVersionNode(
    const BYTE* block, std::size_t size, const char* subBlock, ZorVersionNode& node)
{
    if (!subBlock)
        return false;
    const std::size_t length = zorVersionBlockLength(block, size);
    if (length == 0)
        return false;
    ZorVersionNode current;
    if (!zorReadVersionNode(block, length, 0, length, current))
        return false;

    const std::string path(subBlock);
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t stop = path.find('\\', start);
        if (stop == std::string::npos)
            stop = path.size();
        if (stop == start) {
            ++start;
            continue;
        }
        const std::u16string name = zorUtf8ToUtf16(path.substr(start, stop - start));
        start = stop;

        bool found = false;
        std::size_t child = current.childrenOffset;
        while (child < current.end && current.end - child >= 6) {
            ZorVersionNode next;
            if (!zorReadVersionNode(block, length, child, current.end, next))
                return false;
            if (sameKey(next.key, name)) {
                current = std::move(next);
                found = true;
                break;
            }
            child = align4(next.end);
        }
        if (!found)
            return false;
    }
    node = std::move(current);
    return true;
}

std::u16string zorUtf8ToUtf16(const std::string& text)
{
    std::u16string out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char lead = p[i];
        std::size_t count = 0;
        char32_t code = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            count = 1;
            code = lead & 0x1F;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            count = 2;
            code = lead & 0x0F;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            count = 3;
            code = lead & 0x07;
            minimum = 0x10000;
        } else {
            out.push_back(static_cast<char16_t>(REPLACEMENT));
            ++i;
            continue;
        }
        if (n - i - 1 < count) {
            out.push_back(static_cast<char16_t>(REPLACEMENT));
            ++i;
            continue;
        }
        bool valid = true;
        for (std::size_t k = 1; k <= count; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        if (!valid || code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            out.push_back(static_cast<char16_t>(REPLACEMENT));
            ++i;
            continue;
        }
        appendUtf16(out, code);
        i += count + 1;
    }
    return out;
}

std::string zorUtf16ToUtf8(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00
            && text[i + 1] <= 0xDFFF) {
            appendUtf8(out,
                0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10)
                    + (static_cast<char32_t>(text[i + 1]) - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            appendUtf8(out, REPLACEMENT);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}
