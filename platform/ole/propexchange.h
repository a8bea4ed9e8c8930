#pragma once

// The persistence exchange of control properties, to a binary stream and to a property bag.
//
// A control's DoPropExchange runs the same PX_ calls for loading and saving, in its order:
// ExchangeVersion first, then each property with its name and default, then the base exchange
// (stock font, extent). Loading takes the default for every property that is missing: a bag
// without the name, or a stream that ends early or holds a value of another kind; a stream that
// does not read completely makes the load report failure (STG_E_READFAULT) once it is done,
// with the defaults in place of what could not be read.
//
// Stream layout (little-endian): the version as 4 bytes, then per exchanged property, in exchange
// order, one type byte (the VARTYPE's low byte: VT_I4 3, VT_BOOL 11, VT_BSTR 8, VT_UI4 19 for
// colours, 0x49 for a font) and the value: 4 bytes for numbers, a 4-byte length and the bytes for
// texts, a font as its description text. Property bag: "Name=value" lines, texts as they are with
// \\ \n \r escaped, colours as 0x%08X, flags as 1 or 0, fonts in the description text form
// (fontholder.h); the version under "_Version". The bag text is written as the exchange goes.
// A name missing from a bag is not a failure; a value that does not read is.

#include "platform/ole/fontholder.h"
#include "platform/types/rect.h"

#include <map>
#include <string>
#include <vector>

using OLE_COLOR = DWORD;

class CPropExchange
{
public:
    virtual ~CPropExchange() = default;
    bool IsLoading() const { return m_loading; }
    // The version stored (when loading) or to store.
    DWORD GetVersion() const { return m_version; }
    // Exchanges the version; a stored version other than the current one is still read
    // property by property (bConvert).
    virtual bool ExchangeVersion(DWORD& dwVersionLoaded, DWORD dwVersionDefault, bool bConvert);
    // False when a load could not read everything it was asked (defaults were used).
    bool complete() const { return m_complete; }

    virtual bool exchangeLong(const char* name, LONG& value, LONG defaultValue) = 0;
    // A flag; by default exchanged as a long (0 or 1).
    virtual bool exchangeBool(const char* name, BOOL& value, BOOL defaultValue);
    virtual bool exchangeColor(const char* name, OLE_COLOR& value, OLE_COLOR defaultValue) = 0;
    virtual bool exchangeString(const char* name, std::string& value, const std::string& def) = 0;
    virtual bool exchangeFont(const char* name, FONTDESC& value, const FONTDESC& def) = 0;

protected:
    explicit CPropExchange(bool loading) : m_loading(loading) { }
    bool m_loading {false};
    bool m_complete {true};
    DWORD m_version {0};
};

// Binary stream exchange over bytes (loading reads them, saving appends to them).
class CStreamPropExchange : public CPropExchange
{
public:
    CStreamPropExchange(std::string& bytes, bool loading);
    bool ExchangeVersion(DWORD& dwVersionLoaded, DWORD dwVersionDefault, bool bConvert) override;
    bool exchangeLong(const char* name, LONG& value, LONG defaultValue) override;
    bool exchangeBool(const char* name, BOOL& value, BOOL defaultValue) override;
    bool exchangeColor(const char* name, OLE_COLOR& value, OLE_COLOR defaultValue) override;
    bool exchangeString(const char* name, std::string& value, const std::string& def) override;
    bool exchangeFont(const char* name, FONTDESC& value, const FONTDESC& def) override;

private:
    bool exchangeDword(BYTE type, DWORD& value, DWORD defaultValue);
    bool exchangeBytes(BYTE type, std::string& value, const std::string& defaultValue);
    // Loading: reads the type byte of the next value; false (and the rest of the stream given
    // up) at the end or on a byte that names no value kind; a known kind other than the one
    // asked for is skipped.
    bool readType(BYTE wanted);
    bool readDword(DWORD* value);
    void giveUp();

    std::string& m_bytes;
    std::size_t m_pos {0};
};

// Property bag exchange over its text ("Name=value" lines; see above).
class CBagPropExchange : public CPropExchange
{
public:
    CBagPropExchange(std::string& text, bool loading);
    ~CBagPropExchange() override;
    bool ExchangeVersion(DWORD& dwVersionLoaded, DWORD dwVersionDefault, bool bConvert) override;
    bool exchangeLong(const char* name, LONG& value, LONG defaultValue) override;
    bool exchangeColor(const char* name, OLE_COLOR& value, OLE_COLOR defaultValue) override;
    bool exchangeString(const char* name, std::string& value, const std::string& def) override;
    bool exchangeFont(const char* name, FONTDESC& value, const FONTDESC& def) override;

private:
    // Loading: the next stored text of a name (a name may be exchanged more than once).
    const std::string* take(const char* name);
    void put(const char* name, const std::string& value);

    std::string& m_text;
    // Loading: names in lower case, each with its texts in order and how many were taken.
    std::map<std::string, std::vector<std::string>> m_values;
    std::map<std::string, std::size_t> m_taken;
};

// A loading exchange with no data: every property takes its default (fresh controls).
class CDefaultPropExchange : public CPropExchange
{
public:
    CDefaultPropExchange() : CPropExchange(true) { }
    bool ExchangeVersion(DWORD& dwVersionLoaded, DWORD dwVersionDefault, bool) override;
    bool exchangeLong(const char*, LONG& value, LONG defaultValue) override;
    bool exchangeColor(const char*, OLE_COLOR& value, OLE_COLOR defaultValue) override;
    bool exchangeString(const char*, std::string& value, const std::string& def) override;
    bool exchangeFont(const char*, FONTDESC& value, const FONTDESC& def) override;
};

// The framework's exchange calls.
bool PX_Long(CPropExchange* pPX, const char* pszPropName, LONG& lValue, LONG lDefault);
bool PX_Bool(CPropExchange* pPX, const char* pszPropName, BOOL& bValue, BOOL bDefault);
bool PX_Color(
    CPropExchange* pPX, const char* pszPropName, OLE_COLOR& clrValue, OLE_COLOR clrDefault);
bool PX_String(CPropExchange* pPX, const char* pszPropName, std::string& strValue,
    const std::string& strDefault);
bool PX_Font(CPropExchange* pPX, const char* pszPropName, CFontHolder& font,
    const FONTDESC& fontDescDefault);
