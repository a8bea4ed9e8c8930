#pragma once

// CProfile: the framework's settings store on the registry.
//
// Every setting lives at root \ Software \ company \ application \ version \ section, value
// name (the classes root: section, value name). Each call opens and closes its own key.
// Reads never fail: whatever cannot be read gives the caller's default. Writes report
// nothing; a root that takes no writes (a read-only local-machine store) ignores them.
//
// Value kinds as stored:
//   int, bool, colour   32-bit number (REG_DWORD), bool as 0 or 1
//   string, date        text (REG_SZ) without a terminating zero; a date as
//                       "%m/%d/%Y %H:%M:%S"
//   bytes, double       binary (REG_BINARY); a double as its 8 bytes
//   string array        list of texts (REG_MULTI_SZ): each text and a zero, then one more zero

#include "framework/settings/devmode.h"
#include "framework/settings/windowplacement.h"
#include "platform/gdi/logfont.h"
#include "platform/registry/registry.h"
#include "platform/types/globalmemory.h"
#include "platform/types/oledatetime.h"

#include <string>
#include <vector>

// The root of a call, as the registry's own root handle values.
enum eKEY : DWORD {
    eKEY_CLASSES_ROOT = 0x80000000u,
    eKEY_CURRENT_USER = 0x80000001u,
    eKEY_LOCAL_MACHINE = 0x80000002u,
};

class CProfile
{
public:
    CProfile() = default;
    // Not virtual: a store is never deleted through a pointer to this base.
    ~CProfile() = default;
    CProfile(const CProfile&) = default;
    CProfile& operator=(const CProfile&) = default;

    // Stores the three names, sets the store initialised and calls initAppVars.
    void initProfile(
        const std::string& company, const std::string& application, const std::string& version);
    // Where an application loads its settings; the base loads nothing.
    virtual void initAppVars();

    bool isInitialised() const { return m_bInitialised; }
    const std::string& getCompany() const { return m_company; }
    const std::string& getApplication() const { return m_application; }
    const std::string& getVersion() const { return m_version; }

    // The key path of a section: the section alone for the classes root, else "Software"
    // and the non-empty names, then the section, joined with "\". With all three names empty
    // it is the section alone.
    std::string setupKey(eKEY r, const std::string& section) const;

    int getInt(eKEY r, const std::string& section, const std::string& name, int nDefault) const;
    void putInt(eKEY r, const std::string& section, const std::string& name, int nValue) const;
    bool getBool(eKEY r, const std::string& section, const std::string& name, bool bDefault) const;
    void putBool(eKEY r, const std::string& section, const std::string& name, bool bValue) const;
    COLORREF getColor(
        eKEY r, const std::string& section, const std::string& name, COLORREF crDefault) const;
    void putColor(
        eKEY r, const std::string& section, const std::string& name, COLORREF crValue) const;

    // A text of at most 8191 bytes; a longer one gives the default. The text ends at the
    // value's length or at a zero within it.
    std::string getString(eKEY r, const std::string& section, const std::string& name,
        const std::string& sDefault) const;
    // A null text stores an empty value.
    void putChars(
        eKEY r, const std::string& section, const std::string& name, const char* pszText) const;
    void putChars(eKEY r, const std::string& section, const std::string& name,
        const std::string& sText) const;

    // The text parsed as a date and time in the default locale; the default when missing or
    // unreadable.
    COleDateTime getDate(eKEY r, const std::string& section, const std::string& name,
        const COleDateTime& dtDefault) const;
    void putDate(eKEY r, const std::string& section, const std::string& name,
        const COleDateTime& dtValue) const;

    // The stored 8 bytes; the default when the value is missing or not 8 bytes long.
    double getDouble(
        eKEY r, const std::string& section, const std::string& name, double dDefault) const;
    void putDouble(
        eKEY r, const std::string& section, const std::string& name, double dValue) const;

    // Reads up to nSize bytes into the buffer; the number read, 0 when the value is missing
    // or longer than nSize (the buffer is then left as it was).
    DWORD getBytes(eKEY r, const std::string& section, const std::string& name, void* pBuffer,
        DWORD nSize) const;
    void putBytes(eKEY r, const std::string& section, const std::string& name, const void* pBuffer,
        DWORD nSize) const;

    // Appends every non-empty text of the stored list to the array. Returns 0 when the key or
    // value is missing (or the list is longer than 8191 bytes), -1 when the value is empty,
    // otherwise the number of texts read including the closing empty one, minus 1.
    int getStringArray(eKEY r, const std::string& section, const std::string& name,
        std::vector<std::string>& array) const;
    void putStringArray(eKEY r, const std::string& section, const std::string& name,
        const std::vector<std::string>& array) const;

    // Clears the font and reads "lfFaceName". When it is there, reads the other fields and
    // the colour and returns true; otherwise the font gets the default face and height, the
    // colour is read from "lfColor" alone (default -1) and the result is false.
    bool getLogFont(eKEY r, const std::string& section, LOGFONT& font, COLORREF& color,
        const std::string& sDefaultFace, int nDefaultHeight) const;
    void putLogFont(eKEY r, const std::string& section, const LOGFONT& font, COLORREF color) const;

    void getWindowPlacement(eKEY r, const std::string& section, WINDOWPLACEMENT& wp) const;
    void putWindowPlacement(eKEY r, const std::string& section, const WINDOWPLACEMENT& wp) const;

    // Printer settings. Read back only when "DataSaved" is set; otherwise, and for a record
    // whose saved form does not fit the memory behind it, the record is left as it is. The
    // record form takes the size of the memory behind each record (the device mode's block
    // holds the record and its driver data; the device names' block holds the record and its
    // texts); either record may be null.
    void getDevMode(eKEY r, const std::string& section, DEVMODEA* pDevMode, DWORD nDevModeSize,
        DEVNAMES* pDevNames, DWORD nDevNamesSize) const;
    // The handle form grows an unlocked block that is too small for the saved settings, then
    // locks both blocks and reads into them.
    void getDevMode(eKEY r, const std::string& section, HGLOBAL hDevMode, HGLOBAL hDevNames) const;
    // Writes nothing unless both blocks can be locked and hold their records.
    void putDevMode(eKEY r, const std::string& section, HGLOBAL hDevMode, HGLOBAL hDevNames) const;

    // Like getString, with the key path used as given below the root.
    std::string getGlobalString(HKEY hRoot, const std::string& keyPath, const std::string& name,
        const std::string& sDefault) const;

    // The names of the section key's subkeys, each followed by "~".
    std::string enumChildren(eKEY r, const std::string& section) const;
    // Appends the subkey names to the array; their number, 0 when the key cannot be opened.
    int enumChildren(eKEY r, const std::string& section, std::vector<std::string>& array) const;

    // Deletes the key named below the application's version key (below the root for the
    // classes root) with all its subkeys and values; false when that fails.
    bool deleteKey(eKEY r, const std::string& name) const;

private:
    // The value's type and bytes when the key and value exist and the value fits in nMaxSize
    // bytes.
    bool queryValue(HKEY hRoot, const std::string& keyPath, const std::string& name, DWORD nMaxSize,
        DWORD& type, std::vector<BYTE>& data) const;
    void setValue(eKEY r, const std::string& section, const std::string& name, DWORD type,
        const void* pData, DWORD nSize) const;

    bool m_bInitialised {false};
    std::string m_company;
    std::string m_application;
    std::string m_version;
};
