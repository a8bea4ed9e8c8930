// Identifiers of the component layer: comparison, the braced text form and the suite's
// identity scheme.

#include "platform/ole/com.h"

#include "platform/types/textchars.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <tuple>

namespace {

constexpr GUID makeGuid(std::uint32_t d1, std::uint16_t d2, std::uint16_t d3, std::uint8_t b0,
    std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4, std::uint8_t b5,
    std::uint8_t b6, std::uint8_t b7)
{
    GUID g;
    g.Data1 = d1;
    g.Data2 = d2;
    g.Data3 = d3;
    g.Data4[0] = b0;
    g.Data4[1] = b1;
    g.Data4[2] = b2;
    g.Data4[3] = b3;
    g.Data4[4] = b4;
    g.Data4[5] = b5;
    g.Data4[6] = b6;
    g.Data4[7] = b7;
    return g;
}

// Reads exactly count hexadecimal digits.
bool readHex(const char*& p, int count, std::uint64_t& out)
{
    out = 0;
    for (int i = 0; i < count; ++i) {
        const int d = zorHexDigit(p[i]);
        if (d < 0)
            return false;
        out = (out << 4) | static_cast<std::uint64_t>(d);
    }
    p += count;
    return true;
}

} // namespace

const IID IID_IUnknown = makeGuid(0x00000000, 0x0000, 0x0000, 0xC0, 0, 0, 0, 0, 0, 0, 0x46);
const IID IID_IDispatch = makeGuid(0x00020400, 0x0000, 0x0000, 0xC0, 0, 0, 0, 0, 0, 0, 0x46);
const IID IID_IClassFactory = makeGuid(0x00000001, 0x0000, 0x0000, 0xC0, 0, 0, 0, 0, 0, 0, 0x46);

bool GUID::operator==(const GUID& o) const
{
    return Data1 == o.Data1 && Data2 == o.Data2 && Data3 == o.Data3
        && std::memcmp(Data4, o.Data4, sizeof Data4) == 0;
}

bool GUID::operator<(const GUID& o) const
{
    if (std::tie(Data1, Data2, Data3) != std::tie(o.Data1, o.Data2, o.Data3))
        return std::tie(Data1, Data2, Data3) < std::tie(o.Data1, o.Data2, o.Data3);
    return std::memcmp(Data4, o.Data4, sizeof Data4) < 0;
}

std::string zorGuidToString(REFGUID guid)
{
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
        static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
        guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
}

bool zorGuidFromString(const char* text, GUID* guid)
{
    if (!text || !guid || std::strlen(text) != 38)
        return false;
    const char* p = text;
    if (*p++ != '{')
        return false;
    GUID g;
    std::uint64_t v = 0;
    if (!readHex(p, 8, v) || *p++ != '-')
        return false;
    g.Data1 = static_cast<std::uint32_t>(v);
    if (!readHex(p, 4, v) || *p++ != '-')
        return false;
    g.Data2 = static_cast<std::uint16_t>(v);
    if (!readHex(p, 4, v) || *p++ != '-')
        return false;
    g.Data3 = static_cast<std::uint16_t>(v);
    for (int i = 0; i < 8; ++i) {
        if (i == 2 && *p++ != '-')
            return false;
        if (!readHex(p, 2, v))
            return false;
        g.Data4[i] = static_cast<std::uint8_t>(v);
    }
    if (*p != '}')
        return false;
    *guid = g;
    return true;
}
