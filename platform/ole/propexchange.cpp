// The persistence exchange of control properties: binary stream, property bag and defaults.

#include "platform/ole/propexchange.h"

#include "platform/ole/propexchange_p.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr BYTE c_typeLong = VT_I4;
constexpr BYTE c_typeBool = VT_BOOL;
constexpr BYTE c_typeString = VT_BSTR;
constexpr BYTE c_typeColor = VT_UI4;
constexpr BYTE c_typeFont = 0x49;

const char c_versionName[] = "_Version";

bool isFixedKind(BYTE type)
{
    return type == c_typeLong || type == c_typeBool || type == c_typeColor;
}

bool isCountedKind(BYTE type)
{
    return type == c_typeString || type == c_typeFont;
}

void appendDword(std::string& bytes, DWORD value)
{
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string lowered(const char* name)
{
    std::string text = name ? name : "";
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A whole decimal (or 0x hexadecimal) number in [low, high].
bool parseNumber(const std::string& text, long long low, long long high, long long* value)
{
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front())))
        return false;
    errno = 0;
    char* end = nullptr;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const long long v = hex ? static_cast<long long>(std::strtoull(text.c_str() + 2, &end, 16))
                            : std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size() || (hex && text[2] == '-') || v < low
        || v > high)
        return false;
    *value = v;
    return true;
}

} // namespace

std::string zorBagEscape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string zorBagUnescape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const char next = text[i + 1];
        if (next == '\\' || next == 'n' || next == 'r') {
            out += next == '\\' ? '\\' : next == 'n' ? '\n' : '\r';
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// --- common --------------------------------------------------------------------------------
bool CPropExchange::ExchangeVersion(DWORD& dwVersionLoaded, DWORD dwVersionDefault, bool)
{
    dwVersionLoaded = dwVersionDefault;
    m_version = dwVersionDefault;
    return true;
}

bool CPropExchange::exchangeBool(const char* name, BOOL& value, BOOL defaultValue)
{
    LONG number = value ? 1 : 0;
    const bool ok = exchangeLong(name, number, defaultValue ? 1 : 0);
    if (m_loading)
        value = number != 0;
    return ok;
}

// --- stream --------------------------------------------------------------------------------
CStreamPropExchange::CStreamPropExchange(std::string& bytes, bool loading)
    : CPropExchange(loading), m_bytes(bytes)
{ }

void CStreamPropExchange::giveUp()
{
    m_pos = m_bytes.size();
    m_complete = false;
}

bool CStreamPropExchange::readDword(DWORD* value)
{
    if (m_bytes.size() - m_pos < 4) {
        giveUp();
        return false;
    }
    DWORD v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<DWORD>(static_cast<unsigned char>(m_bytes[m_pos + i])) << (8 * i);
    m_pos += 4;
    *value = v;
    return true;
}

bool CStreamPropExchange::readType(BYTE wanted)
{
    if (m_pos >= m_bytes.size()) {
        giveUp();
        return false;
    }
    const BYTE type = static_cast<BYTE>(m_bytes[m_pos++]);
    if (type == wanted)
        return true;
    // A value of another kind: skip it so the properties after it still read.
    DWORD skip = 0;
    if (isFixedKind(type)) {
        readDword(&skip);
    } else if (isCountedKind(type)) {
        if (readDword(&skip)) {
            if (m_bytes.size() - m_pos < skip)
                giveUp();
            else
                m_pos += skip;
        }
    } else {
        giveUp(); // a byte that names no kind: nothing after it can be trusted
    }
    m_complete = false;
    return false;
}

bool CStreamPropExchange::ExchangeVersion(
    DWORD& dwVersionLoaded, DWORD dwVersionDefault, bool bConvert)
{
    if (!m_loading) {
        appendDword(m_bytes, dwVersionDefault);
        dwVersionLoaded = dwVersionDefault;
        m_version = dwVersionDefault;
        return true;
    }
    DWORD version = 0;
    if (!readDword(&version)) {
        dwVersionLoaded = dwVersionDefault;
        m_version = dwVersionDefault;
        return false;
    }
    dwVersionLoaded = version;
    m_version = version;
    return version == dwVersionDefault || bConvert;
}

bool CStreamPropExchange::exchangeDword(BYTE type, DWORD& value, DWORD defaultValue)
{
    if (!m_loading) {
        m_bytes += static_cast<char>(type);
        appendDword(m_bytes, value);
        return true;
    }
    DWORD stored = 0;
    if (!readType(type) || !readDword(&stored)) {
        value = defaultValue;
        return false;
    }
    value = stored;
    return true;
}

bool CStreamPropExchange::exchangeBytes(
    BYTE type, std::string& value, const std::string& defaultValue)
{
    if (!m_loading) {
        m_bytes += static_cast<char>(type);
        appendDword(m_bytes, static_cast<DWORD>(value.size()));
        m_bytes += value;
        return true;
    }
    DWORD length = 0;
    if (!readType(type) || !readDword(&length)) {
        value = defaultValue;
        return false;
    }
    if (m_bytes.size() - m_pos < length) {
        giveUp();
        value = defaultValue;
        return false;
    }
    value = m_bytes.substr(m_pos, length);
    m_pos += length;
    return true;
}

bool CStreamPropExchange::exchangeLong(const char*, LONG& value, LONG defaultValue)
{
    DWORD v = static_cast<DWORD>(value);
    const bool ok = exchangeDword(c_typeLong, v, static_cast<DWORD>(defaultValue));
    value = static_cast<LONG>(v);
    return ok;
}

bool CStreamPropExchange::exchangeBool(const char*, BOOL& value, BOOL defaultValue)
{
    DWORD v = value ? 1 : 0;
    const bool ok = exchangeDword(c_typeBool, v, defaultValue ? 1 : 0);
    value = v != 0;
    return ok;
}

bool CStreamPropExchange::exchangeColor(const char*, OLE_COLOR& value, OLE_COLOR defaultValue)
{
    return exchangeDword(c_typeColor, value, defaultValue);
}

bool CStreamPropExchange::exchangeString(const char*, std::string& value, const std::string& def)
{
    return exchangeBytes(c_typeString, value, def);
}

bool CStreamPropExchange::exchangeFont(const char*, FONTDESC& value, const FONTDESC& def)
{
    if (!m_loading) {
        std::string text = zorFontDescText(value);
        return exchangeBytes(c_typeFont, text, text);
    }
    std::string text;
    if (!exchangeBytes(c_typeFont, text, std::string())) {
        value = def;
        return false;
    }
    if (!zorFontDescFromText(text, &value)) {
        m_complete = false; // read, but not a font description
        value = def;
        return false;
    }
    return true;
}

// --- property bag --------------------------------------------------------------------------
CBagPropExchange::CBagPropExchange(std::string& text, bool loading)
    : CPropExchange(loading), m_text(text)
{
    if (!loading)
        return;
    std::size_t start = 0;
    while (start < m_text.size()) {
        std::size_t end = m_text.find('\n', start);
        if (end == std::string::npos)
            end = m_text.size();
        std::string line = m_text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back(); // a bag written with CR LF line ends
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || equals == 0)
            continue;
        m_values[lowered(line.substr(0, equals).c_str())].push_back(
            zorBagUnescape(line.substr(equals + 1)));
    }
}

CBagPropExchange::~CBagPropExchange() = default;

const std::string* CBagPropExchange::take(const char* name)
{
    const std::string key = lowered(name);
    const auto it = m_values.find(key);
    if (it == m_values.end())
        return nullptr;
    std::size_t& taken = m_taken[key];
    // A name exchanged more often than stored reads its last text again.
    const std::size_t index = taken < it->second.size() ? taken : it->second.size() - 1;
    ++taken;
    return &it->second[index];
}

void CBagPropExchange::put(const char* name, const std::string& value)
{
    m_text += std::string(name ? name : "") + "=" + zorBagEscape(value) + "\n";
}

bool CBagPropExchange::ExchangeVersion(
    DWORD& dwVersionLoaded, DWORD dwVersionDefault, bool bConvert)
{
    if (!m_loading) {
        put(c_versionName, std::to_string(dwVersionDefault));
        dwVersionLoaded = dwVersionDefault;
        m_version = dwVersionDefault;
        return true;
    }
    long long version = dwVersionDefault;
    const std::string* text = take(c_versionName);
    if (text && !parseNumber(*text, 0, 0xFFFFFFFFLL, &version)) {
        m_complete = false;
        version = dwVersionDefault;
    }
    dwVersionLoaded = static_cast<DWORD>(version);
    m_version = dwVersionLoaded;
    return dwVersionLoaded == dwVersionDefault || bConvert;
}

bool CBagPropExchange::exchangeLong(const char* name, LONG& value, LONG defaultValue)
{
    if (!m_loading) {
        put(name, std::to_string(value));
        return true;
    }
    const std::string* text = take(name);
    long long v = 0;
    if (!text || !parseNumber(*text, -2147483648LL, 2147483647LL, &v)) {
        if (text)
            m_complete = false;
        value = defaultValue;
        return false;
    }
    value = static_cast<LONG>(v);
    return true;
}

bool CBagPropExchange::exchangeColor(const char* name, OLE_COLOR& value, OLE_COLOR defaultValue)
{
    if (!m_loading) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
        put(name, text);
        return true;
    }
    const std::string* text = take(name);
    long long v = 0;
    if (!text || !parseNumber(*text, 0, 0xFFFFFFFFLL, &v)) {
        if (text)
            m_complete = false;
        value = defaultValue;
        return false;
    }
    value = static_cast<OLE_COLOR>(v);
    return true;
}

bool CBagPropExchange::exchangeString(const char* name, std::string& value, const std::string& def)
{
    if (!m_loading) {
        put(name, value);
        return true;
    }
    const std::string* text = take(name);
    if (!text) {
        value = def;
        return false;
    }
    value = *text;
    return true;
}

bool CBagPropExchange::exchangeFont(const char* name, FONTDESC& value, const FONTDESC& def)
{
    if (!m_loading) {
        put(name, zorFontDescText(value));
        return true;
    }
    const std::string* text = take(name);
    if (!text || !zorFontDescFromText(*text, &value)) {
        if (text)
            m_complete = false;
        value = def;
        return false;
    }
    return true;
}

// --- defaults ------------------------------------------------------------------------------
bool CDefaultPropExchange::ExchangeVersion(DWORD& dwVersionLoaded, DWORD dwVersionDefault, bool)
{
    dwVersionLoaded = dwVersionDefault;
    m_version = dwVersionDefault;
    return true;
}

bool CDefaultPropExchange::exchangeLong(const char*, LONG& value, LONG defaultValue)
{
    value = defaultValue;
    return true;
}

bool CDefaultPropExchange::exchangeColor(const char*, OLE_COLOR& value, OLE_COLOR defaultValue)
{
    value = defaultValue;
    return true;
}

bool CDefaultPropExchange::exchangeString(const char*, std::string& value, const std::string& def)
{
    value = def;
    return true;
}

bool CDefaultPropExchange::exchangeFont(const char*, FONTDESC& value, const FONTDESC& def)
{
    value = def;
    return true;
}

// --- exchange calls ------------------------------------------------------------------------
bool PX_Long(CPropExchange* pPX, const char* pszPropName, LONG& lValue, LONG lDefault)
{
    return pPX && pPX->exchangeLong(pszPropName, lValue, lDefault);
}

bool PX_Bool(CPropExchange* pPX, const char* pszPropName, BOOL& bValue, BOOL bDefault)
{
    return pPX && pPX->exchangeBool(pszPropName, bValue, bDefault);
}

bool PX_Color(
    CPropExchange* pPX, const char* pszPropName, OLE_COLOR& clrValue, OLE_COLOR clrDefault)
{
    return pPX && pPX->exchangeColor(pszPropName, clrValue, clrDefault);
}

bool PX_String(CPropExchange* pPX, const char* pszPropName, std::string& strValue,
    const std::string& strDefault)
{
    return pPX && pPX->exchangeString(pszPropName, strValue, strDefault);
}

bool PX_Font(
    CPropExchange* pPX, const char* pszPropName, CFontHolder& font, const FONTDESC& fontDescDefault)
{
    if (!pPX)
        return false;
    FONTDESC desc = font.desc();
    const bool ok = pPX->exchangeFont(pszPropName, desc, fontDescDefault);
    if (pPX->IsLoading())
        font.setDesc(desc);
    return ok;
}
