#pragma once

// The version resource of one file: its fixed information (file and product versions, flags)
// and the texts of its string table.
//
//     CFileVersion version;
//     if (version.open(path.c_str()))
//         found = version.getFixedFileVersion4(); // "2002.06.24.29"
//
// The object is closed after construction and after close(); every getter of a closed object
// gives an empty text (isDebug false, getFixedInfo 0). Copies hold copies of the data.

#include "platform/module/fileversioninfo.h"

#include <string>
#include <vector>

class CFileVersion
{
public:
    CFileVersion() = default;
    CFileVersion(const CFileVersion& other) = default;
    CFileVersion& operator=(const CFileVersion& other) = default;
    ~CFileVersion();

    // Reads the version resource of the named file: 1, or 0 when the file has none or it has
    // no translation table (the object is closed then).
    int open(const char* fileName);
    void close();
    bool isOpen() const { return !m_versionData.empty(); }

    // One text of the string table of the given translation (language << 16 | code page), or
    // of the stored one when translation is 0; empty when there is no such text.
    std::string queryValue(const char* valueName, unsigned long translation = 0) const;

    std::string getFileDescription() const { return queryValue("FileDescription"); }
    std::string getFileVersion() const { return queryValue("FileVersion"); }
    std::string getInternalName() const { return queryValue("InternalName"); }
    std::string getCompanyName() const { return queryValue("CompanyName"); }
    std::string getLegalCopyright() const { return queryValue("LegalCopyright"); }
    std::string getLegalTrademark() const { return queryValue("LegalTrademarks"); }
    std::string getOriginalFilename() const { return queryValue("OriginalFilename"); }
    std::string getProductName() const { return queryValue("ProductName"); }
    std::string getProductVersion() const { return queryValue("ProductVersion"); }

    // The first entry of the translation table: language << 16 | code page; 0 while closed.
    DWORD getTranslation() const { return m_dwTranslation; }

    // Copies the fixed information: 1, or 0 when closed.
    int getFixedInfo(VS_FIXEDFILEINFO& info) const;
    // "%u.%.2u" of the file version's major and minor number: 2.01
    std::string getFixedFileVersion() const;
    // "%.2u.%.2u.%.2u.%.2u" of the file version: 02.01.00.29. While each number stays below
    // 100 these texts sort in version order under a plain comparison.
    std::string getFixedFileVersion4() const;
    // "%u.%.2u" of the product version's major and minor number.
    std::string getFixedProductVersion() const;
    // "%u.%.2u.%u.%u" of the product version, or "%u.%.2u" when its low word is 0.
    std::string getFixedProductVersion4() const;
    // getFixedProductVersion4, two blanks, getFixedFileVersion4.
    std::string getAboutVersion() const;
    // The debug flag of the fixed information's file flags.
    bool isDebug() const;

private:
    bool fixedInfo(VS_FIXEDFILEINFO& info) const;

    // The data as GetFileVersionInfoA fills it; empty while closed. Text lookups convert into
    // its spare room, so the getters write to it.
    mutable std::vector<BYTE> m_versionData;
    DWORD m_dwTranslation {0};
};
