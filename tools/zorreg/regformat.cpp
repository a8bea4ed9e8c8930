#include "tools/zorreg/regformat.h"

#include "platform/types/textchars.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sstream>

namespace zorreg {

const char* const c_exportHeader = "ZORVEX Registry Export 1";

namespace {

struct RootName
{
    const char* shortName;
    const char* longName;
    HKEY root;
};

const RootName* rootNames()
{
    static const RootName s_names[] = {
        {"HKCR", "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKCU", "HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKLM", "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {nullptr, nullptr, nullptr},
    };
    return s_names;
}

bool sameWithoutCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(),
            [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

int hexDigit(char c)
{
    return zorHexDigit(c);
}

std::string hexPairs(const std::vector<BYTE>& data, const char* format, const char* separator)
{
    std::string text;
    for (size_t i = 0; i < data.size(); ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, format, data[i]);
        if (i > 0)
            text += separator;
        text += pair;
    }
    return text;
}

// A quoted text of the export file, with its escapes.
std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const unsigned char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// Reads a quoted text at pos (on the opening quote); pos ends after the closing quote.
bool unquote(const std::string& line, size_t& pos, std::string& text, std::string& error)
{
    text.clear();
    if (pos >= line.size() || line[pos] != '"') {
        error = "a quoted text was expected";
        return false;
    }
    for (++pos; pos < line.size(); ++pos) {
        const char c = line[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c != '\\') {
            text += c;
            continue;
        }
        if (++pos >= line.size())
            break;
        const char next = line[pos];
        if (next == '\\' || next == '"') {
            text += next;
        } else if (next == 'x' && pos + 2 < line.size() && hexDigit(line[pos + 1]) >= 0
            && hexDigit(line[pos + 2]) >= 0) {
            text += static_cast<char>(hexDigit(line[pos + 1]) * 16 + hexDigit(line[pos + 2]));
            pos += 2;
        } else {
            error = "unknown escape in a quoted text";
            return false;
        }
    }
    error = "a quoted text is not closed";
    return false;
}

bool parseHexList(const std::string& text, std::vector<BYTE>& data)
{
    data.clear();
    std::string digits;
    for (const char c : text) {
        if (c == ',' || c == ' ' || c == '\t') {
            if (!digits.empty()) {
                if (digits.size() != 2)
                    return false;
                data.push_back(static_cast<BYTE>(hexDigit(digits[0]) * 16 + hexDigit(digits[1])));
                digits.clear();
            }
            continue;
        }
        if (hexDigit(c) < 0)
            return false;
        digits += c;
    }
    if (!digits.empty()) {
        if (digits.size() != 2)
            return false;
        data.push_back(static_cast<BYTE>(hexDigit(digits[0]) * 16 + hexDigit(digits[1])));
    }
    return true;
}

// "hex:" or "hex(7):" and the pairs, wrapped as the registry editor wraps them.
std::string hexValue(const std::string& prefix, const std::vector<BYTE>& data)
{
    std::string line = prefix;
    size_t column = line.size();
    for (size_t i = 0; i < data.size(); ++i) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02x", data[i]);
        line += pair;
        column += 2;
        if (i + 1 < data.size()) {
            line += ',';
            ++column;
            if (column > 76) {
                line += "\\\n  ";
                column = 2;
            }
        }
    }
    return line;
}

} // namespace

bool parseKeyName(const std::string& text, KeyName& key)
{
    const auto slash = text.find('\\');
    const std::string root = text.substr(0, slash);
    const RootName* found = nullptr;
    for (const RootName* n = rootNames(); n->shortName; ++n) {
        if (sameWithoutCase(root, n->shortName) || sameWithoutCase(root, n->longName))
            found = n;
    }
    if (!found)
        return false;
    key.root = found->root;
    key.rootName = found->longName;
    key.path.clear();
    if (slash == std::string::npos)
        return true;
    std::stringstream rest(text.substr(slash + 1));
    std::string name;
    while (std::getline(rest, name, '\\')) {
        if (name.empty())
            continue;
        if (!key.path.empty())
            key.path += '\\';
        key.path += name;
    }
    return true;
}

std::string fullName(const KeyName& key)
{
    return key.path.empty() ? key.rootName : key.rootName + "\\" + key.path;
}

std::string typeName(DWORD type)
{
    switch (type) {
    case REG_NONE:
        return "REG_NONE";
    case REG_SZ:
        return "REG_SZ";
    case REG_EXPAND_SZ:
        return "REG_EXPAND_SZ";
    case REG_BINARY:
        return "REG_BINARY";
    case REG_DWORD:
        return "REG_DWORD";
    case REG_MULTI_SZ:
        return "REG_MULTI_SZ";
    case REG_QWORD:
        return "REG_QWORD";
    default: {
        char name[24];
        std::snprintf(name, sizeof name, "REG_0x%X", type);
        return name;
    }
    }
}

bool typeFromName(const std::string& name, DWORD& type)
{
    for (const DWORD kind : {REG_SZ, REG_DWORD, REG_BINARY, REG_MULTI_SZ}) {
        if (sameWithoutCase(name, typeName(kind))) {
            type = kind;
            return true;
        }
    }
    return false;
}

std::string formatData(DWORD type, const std::vector<BYTE>& data)
{
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
        return std::string(data.begin(), std::find(data.begin(), data.end(), BYTE(0)));
    case REG_DWORD:
        if (data.size() == 4) {
            const DWORD value
                = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<DWORD>(data[3]) << 24);
            char text[16];
            std::snprintf(text, sizeof text, "0x%x", value);
            return text;
        }
        break;
    case REG_MULTI_SZ: {
        // The texts up to the closing empty one, joined as the query shows them.
        std::string text;
        size_t pos = 0;
        bool first = true;
        while (pos < data.size()) {
            const auto begin = data.begin() + static_cast<std::ptrdiff_t>(pos);
            const auto end = std::find(begin, data.end(), BYTE(0));
            if (begin == end)
                break;
            if (!first)
                text += "\\0";
            text.append(begin, end);
            first = false;
            pos = static_cast<size_t>(end - data.begin()) + 1;
        }
        return text;
    }
    default:
        break;
    }
    return hexPairs(data, "%02X", "");
}

bool parseData(DWORD type, const std::string& text, std::vector<BYTE>& data, std::string& error)
{
    data.clear();
    switch (type) {
    case REG_SZ:
        data.assign(text.begin(), text.end());
        return true;
    case REG_DWORD: {
        unsigned long long value = 0;
        if (!text.empty()) {
            const bool hex
                = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
            const std::string digits = hex ? text.substr(2) : text;
            for (const char c : digits) {
                const int digit = hexDigit(c);
                if (digit < 0 || (!hex && digit > 9)) {
                    error = "the number is not valid";
                    return false;
                }
                value = value * (hex ? 16 : 10) + static_cast<unsigned>(digit);
                if (value > 0xFFFFFFFFull) {
                    error = "the number does not fit 32 bits";
                    return false;
                }
            }
            if (digits.empty()) {
                error = "the number is not valid";
                return false;
            }
        }
        for (int i = 0; i < 4; ++i)
            data.push_back(static_cast<BYTE>(value >> (8 * i)));
        return true;
    }
    case REG_BINARY:
        if (text.size() % 2 != 0) {
            error = "binary data needs pairs of hexadecimal digits";
            return false;
        }
        for (size_t i = 0; i < text.size(); i += 2) {
            const int high = hexDigit(text[i]);
            const int low = hexDigit(text[i + 1]);
            if (high < 0 || low < 0) {
                error = "binary data needs pairs of hexadecimal digits";
                return false;
            }
            data.push_back(static_cast<BYTE>(high * 16 + low));
        }
        return true;
    case REG_MULTI_SZ: {
        size_t pos = 0;
        while (!text.empty()) {
            const auto separator = text.find("\\0", pos);
            const std::string part = text.substr(pos, separator - pos);
            data.insert(data.end(), part.begin(), part.end());
            data.push_back(0);
            if (separator == std::string::npos)
                break;
            pos = separator + 2;
        }
        data.push_back(0);
        return true;
    }
    default:
        error = "the type is not supported";
        return false;
    }
}

bool writeExport(const std::vector<ExportKey>& keys, std::string& text, std::string& error)
{
    std::string out;
    out.append(c_exportHeader).append("\n");
    for (const ExportKey& key : keys) {
        if (key.name.find_first_of("\r\n") != std::string::npos) {
            error = "a key name holds a line break: " + key.name;
            return false;
        }
        out.append("\n[").append(key.remove ? "-" : "").append(key.name).append("]\n");
        for (const ExportValue& value : key.values) {
            out += value.name.empty() ? std::string("@") : quoted(value.name);
            out += '=';
            if (value.remove)
                out += '-';
            else if (value.type == REG_SZ)
                out += quoted(std::string(value.data.begin(), value.data.end()));
            else if (value.type == REG_DWORD && value.data.size() == 4) {
                char number[16];
                std::snprintf(number, sizeof number, "dword:%08x",
                    value.data[0] | (value.data[1] << 8) | (value.data[2] << 16)
                        | (static_cast<DWORD>(value.data[3]) << 24));
                out += number;
            } else if (value.type == REG_BINARY) {
                out += hexValue("hex:", value.data);
            } else {
                char prefix[24];
                std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
                out += hexValue(prefix, value.data);
            }
            out += '\n';
        }
    }
    text = out;
    return true;
}

bool readExport(const std::string& text, std::vector<ExportKey>& keys, std::string& error)
{
    std::vector<ExportKey> read;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    bool headerSeen = false;
    auto fail = [&](const std::string& reason) {
        error = "line " + std::to_string(number) + ": " + reason;
        return false;
    };

    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos)
            continue;
        line.erase(0, first);
        if (!headerSeen) {
            if (line != c_exportHeader)
                return fail("this is not a registry export file");
            headerSeen = true;
            continue;
        }
        if (line[0] == ';')
            continue;

        if (line[0] == '[') {
            const auto close = line.find_last_of(']');
            if (close == std::string::npos || close < 1)
                return fail("a key line must end with ]");
            ExportKey key;
            std::string name = line.substr(1, close - 1);
            if (!name.empty() && name[0] == '-') {
                key.remove = true;
                name.erase(0, 1);
            }
            KeyName parsed;
            if (!parseKeyName(name, parsed))
                return fail("unknown root in " + name);
            key.name = fullName(parsed);
            read.push_back(key);
            continue;
        }

        if (read.empty())
            return fail("a value comes before any key");
        if (read.back().remove)
            return fail("a deleted key cannot have values");
        ExportValue value;
        size_t pos = 0;
        if (line[0] == '@') {
            pos = 1;
        } else if (!unquote(line, pos, value.name, error)) {
            return fail(error);
        }
        if (pos >= line.size() || line[pos] != '=')
            return fail("= expected after the value name");
        std::string data = line.substr(pos + 1);
        // A hexadecimal list may go on over several lines, each but the last ending in "\".
        while (!data.empty() && data.back() == '\\' && data.rfind("hex", 0) == 0) {
            data.pop_back();
            std::string next;
            if (!std::getline(in, next))
                return fail("the list of bytes ends early");
            ++number;
            if (!next.empty() && next.back() == '\r')
                next.pop_back();
            data += next;
        }

        if (data == "-") {
            value.remove = true;
        } else if (!data.empty() && data[0] == '"') {
            size_t at = 0;
            std::string content;
            if (!unquote(data, at, content, error))
                return fail(error);
            if (data.find_first_not_of(" \t", at) != std::string::npos)
                return fail("text after the closing quote");
            value.type = REG_SZ;
            value.data.assign(content.begin(), content.end());
        } else if (data.rfind("dword:", 0) == 0) {
            const std::string digits = data.substr(6);
            if (digits.empty() || digits.size() > 8)
                return fail("a number needs up to eight hexadecimal digits");
            DWORD number32 = 0;
            for (const char c : digits) {
                const int digit = hexDigit(c);
                if (digit < 0)
                    return fail("a number needs up to eight hexadecimal digits");
                number32 = number32 * 16 + static_cast<DWORD>(digit);
            }
            value.type = REG_DWORD;
            for (int i = 0; i < 4; ++i)
                value.data.push_back(static_cast<BYTE>(number32 >> (8 * i)));
        } else if (data.rfind("hex", 0) == 0) {
            size_t colon = data.find(':');
            if (colon == std::string::npos)
                return fail("hex data needs a colon");
            const std::string kind = data.substr(3, colon - 3);
            if (kind.empty()) {
                value.type = REG_BINARY;
            } else {
                if (kind.size() < 3 || kind.front() != '(' || kind.back() != ')')
                    return fail("hex(TYPE) expected");
                const std::string digits = kind.substr(1, kind.size() - 2);
                unsigned long long type = 0;
                for (const char c : digits) {
                    if (hexDigit(c) < 0 || type > 0xFFFFFFFull)
                        return fail("the type of hex(TYPE) is not a hexadecimal number");
                    type = type * 16 + static_cast<unsigned>(hexDigit(c));
                }
                value.type = static_cast<DWORD>(type);
            }
            if (!parseHexList(data.substr(colon + 1), value.data))
                return fail("hex data must be pairs of hexadecimal digits separated by commas");
        } else {
            return fail("unknown kind of value");
        }
        read.back().values.push_back(value);
    }
    if (!headerSeen) {
        error = "this is not a registry export file";
        return false;
    }
    keys = std::move(read);
    return true;
}

} // namespace zorreg
