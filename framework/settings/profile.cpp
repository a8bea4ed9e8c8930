#include "framework/settings/profile.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace {

// Buffer sizes of the reads: numbers whatever their stored type, texts and lists.
constexpr DWORD c_numberSize = 4;
constexpr DWORD c_textSize = 8191;
constexpr DWORD c_keyNameSize = 256;
// The driver data of a printer record: its length is the record's 16-bit field.
constexpr DWORD c_maxDriverExtra = 0xFFFF;

HKEY rootKey(eKEY r)
{
    return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(r));
}

// A text held in a fixed field, which is zero-terminated unless it fills the field.
std::string fieldText(const void* field, size_t size)
{
    const auto* p = static_cast<const char*>(field);
    return std::string(p, strnlen(p, size));
}

// Copies a text into a fixed field, cut so that the terminating zero always fits.
void setFieldText(void* field, size_t size, const std::string& text)
{
    auto* p = static_cast<char*>(field);
    const size_t length = std::min(text.size(), size - 1);
    std::memset(p, 0, size);
    std::memcpy(p, text.data(), length);
}

// The saved printer record's driver data length as stored (any 32-bit number).
DWORD storedDriverExtraLength(const CProfile& profile, eKEY r, const std::string& section)
{
    return static_cast<DWORD>(profile.getInt(r, section, "Driver Extra Length", 0));
}

int extendShort(SHORT value)
{
    return value;
}

int extendWord(WORD value)
{
    return value;
}

} // namespace

void CProfile::initProfile(
    const std::string& company, const std::string& application, const std::string& version)
{
    m_company = company;
    m_application = application;
    m_version = version;
    m_bInitialised = true;
    initAppVars();
}

void CProfile::initAppVars() { }

std::string CProfile::setupKey(eKEY r, const std::string& section) const
{
    if (r == eKEY_CLASSES_ROOT)
        return section;
    std::string path;
    if (!m_company.empty() || !m_application.empty() || !m_version.empty()) {
        path = "Software";
        for (const std::string* part : {&m_company, &m_application, &m_version}) {
            if (!part->empty())
                path += "\\" + *part;
        }
    }
    if (!path.empty())
        path += "\\";
    return path + section;
}

bool CProfile::queryValue(HKEY hRoot, const std::string& keyPath, const std::string& name,
    DWORD nMaxSize, DWORD& type, std::vector<BYTE>& data) const
{
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(hRoot, keyPath.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    data.assign(nMaxSize, 0);
    DWORD size = nMaxSize;
    // A buffer of no bytes is still a buffer: a null one would ask only for the value's size,
    // which then passes for bytes read.
    BYTE none = 0;
    const LONG result = RegQueryValueExA(
        hKey, name.c_str(), nullptr, &type, nMaxSize > 0 ? data.data() : &none, &size);
    RegCloseKey(hKey);
    if (result != ERROR_SUCCESS)
        return false;
    data.resize(size);
    return true;
}

void CProfile::setValue(eKEY r, const std::string& section, const std::string& name, DWORD type,
    const void* pData, DWORD nSize) const
{
    HKEY hKey = nullptr;
    if (RegCreateKeyExA(rootKey(r), setupKey(r, section).c_str(), 0, nullptr,
            REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &hKey, nullptr)
        != ERROR_SUCCESS)
        return;
    RegSetValueExA(hKey, name.c_str(), 0, type, static_cast<const BYTE*>(pData), nSize);
    RegCloseKey(hKey);
}

int CProfile::getInt(
    eKEY r, const std::string& section, const std::string& name, int nDefault) const
{
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (!queryValue(rootKey(r), setupKey(r, section), name, c_numberSize, type, data))
        return nDefault;
    // The bytes read, whatever the stored type; a shorter value fills the low bytes.
    DWORD value = 0;
    for (size_t i = 0; i < data.size(); ++i)
        value |= static_cast<DWORD>(data[i]) << (8 * i);
    return static_cast<int>(value);
}

void CProfile::putInt(eKEY r, const std::string& section, const std::string& name, int nValue) const
{
    const auto value = static_cast<DWORD>(nValue);
    const BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8),
        static_cast<BYTE>(value >> 16), static_cast<BYTE>(value >> 24)};
    setValue(r, section, name, REG_DWORD, bytes, sizeof bytes);
}

bool CProfile::getBool(
    eKEY r, const std::string& section, const std::string& name, bool bDefault) const
{
    return getInt(r, section, name, (bDefault ? 1 : 0) & 0xFF) != 0;
}

void CProfile::putBool(
    eKEY r, const std::string& section, const std::string& name, bool bValue) const
{
    putInt(r, section, name, bValue ? 1 : 0);
}

COLORREF CProfile::getColor(
    eKEY r, const std::string& section, const std::string& name, COLORREF crDefault) const
{
    return static_cast<COLORREF>(getInt(r, section, name, static_cast<int>(crDefault)));
}

void CProfile::putColor(
    eKEY r, const std::string& section, const std::string& name, COLORREF crValue) const
{
    putInt(r, section, name, static_cast<int>(crValue));
}

std::string CProfile::getString(
    eKEY r, const std::string& section, const std::string& name, const std::string& sDefault) const
{
    return getGlobalString(rootKey(r), setupKey(r, section), name, sDefault);
}

std::string CProfile::getGlobalString(HKEY hRoot, const std::string& keyPath,
    const std::string& name, const std::string& sDefault) const
{
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (!queryValue(hRoot, keyPath, name, c_textSize, type, data))
        return sDefault;
    const auto end = std::find(data.begin(), data.end(), BYTE(0));
    return std::string(data.begin(), end);
}

void CProfile::putChars(
    eKEY r, const std::string& section, const std::string& name, const char* pszText) const
{
    const char* text = pszText ? pszText : "";
    setValue(r, section, name, REG_SZ, text, static_cast<DWORD>(std::strlen(text)));
}

void CProfile::putChars(
    eKEY r, const std::string& section, const std::string& name, const std::string& sText) const
{
    putChars(r, section, name, sText.c_str());
}

COleDateTime CProfile::getDate(eKEY r, const std::string& section, const std::string& name,
    const COleDateTime& dtDefault) const
{
    const std::string text = getString(r, section, name, std::string());
    if (text.empty())
        return dtDefault;
    COleDateTime value;
    if (!value.ParseDateTime(text.c_str()) || value.GetStatus() != COleDateTime::valid)
        return dtDefault;
    return value;
}

void CProfile::putDate(
    eKEY r, const std::string& section, const std::string& name, const COleDateTime& dtValue) const
{
    putChars(r, section, name, dtValue.Format("%m/%d/%Y %H:%M:%S"));
}

double CProfile::getDouble(
    eKEY r, const std::string& section, const std::string& name, double dDefault) const
{
    BYTE bytes[8];
    if (getBytes(r, section, name, bytes, sizeof bytes) != sizeof bytes)
        return dDefault;
    std::uint64_t bits = 0;
    for (size_t i = 0; i < sizeof bytes; ++i)
        bits |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void CProfile::putDouble(
    eKEY r, const std::string& section, const std::string& name, double dValue) const
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &dValue, sizeof bits);
    BYTE bytes[8];
    for (size_t i = 0; i < sizeof bytes; ++i)
        bytes[i] = static_cast<BYTE>(bits >> (8 * i));
    putBytes(r, section, name, bytes, sizeof bytes);
}

DWORD CProfile::getBytes(
    eKEY r, const std::string& section, const std::string& name, void* pBuffer, DWORD nSize) const
{
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (!pBuffer || !queryValue(rootKey(r), setupKey(r, section), name, nSize, type, data))
        return 0;
    if (!data.empty())
        std::memcpy(pBuffer, data.data(), data.size());
    return static_cast<DWORD>(data.size());
}

void CProfile::putBytes(eKEY r, const std::string& section, const std::string& name,
    const void* pBuffer, DWORD nSize) const
{
    if (!pBuffer && nSize > 0)
        return;
    setValue(r, section, name, REG_BINARY, pBuffer, nSize);
}

int CProfile::getStringArray(eKEY r, const std::string& section, const std::string& name,
    std::vector<std::string>& array) const
{
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (!queryValue(rootKey(r), setupKey(r, section), name, c_textSize, type, data))
        return 0;
    if (data.empty())
        return -1;
    // Every zero ends a text; a last text without its zero ends with the value.
    int texts = 0;
    size_t pos = 0;
    while (pos < data.size()) {
        const auto begin = data.begin() + static_cast<std::ptrdiff_t>(pos);
        const auto end = std::find(begin, data.end(), BYTE(0));
        if (end != begin)
            array.emplace_back(begin, end);
        ++texts;
        pos = static_cast<size_t>(end - data.begin()) + 1;
    }
    return texts - 1;
}

void CProfile::putStringArray(eKEY r, const std::string& section, const std::string& name,
    const std::vector<std::string>& array) const
{
    std::vector<BYTE> data;
    for (const std::string& text : array) {
        // A zero inside a text would split it in two; the text ends there instead.
        const auto end = std::find(text.begin(), text.end(), '\0');
        data.insert(data.end(), text.begin(), end);
        data.push_back(0);
    }
    data.push_back(0);
    setValue(r, section, name, REG_MULTI_SZ, data.data(), static_cast<DWORD>(data.size()));
}

bool CProfile::getLogFont(eKEY r, const std::string& section, LOGFONT& font, COLORREF& color,
    const std::string& sDefaultFace, int nDefaultHeight) const
{
    font = LOGFONT();
    const std::string face = getString(r, section, "lfFaceName", std::string());
    if (face.empty()) {
        setFieldText(font.lfFaceName, sizeof font.lfFaceName, sDefaultFace);
        font.lfHeight = nDefaultHeight;
        color = getColor(r, section, "lfColor", static_cast<COLORREF>(-1));
        return false;
    }
    setFieldText(font.lfFaceName, sizeof font.lfFaceName, face);
    font.lfHeight = getInt(r, section, "lfHeight", -1);
    font.lfItalic = static_cast<BYTE>(getInt(r, section, "lfItalic", 0));
    font.lfWeight = getInt(r, section, "lfWeight", 400);
    font.lfEscapement = getInt(r, section, "lfEscapement", 0);
    font.lfOrientation = getInt(r, section, "lfOrientation", 0);
    font.lfUnderline = static_cast<BYTE>(getInt(r, section, "lfUnderline", 0));
    font.lfStrikeOut = static_cast<BYTE>(getInt(r, section, "lfStrikeOut", 0));
    font.lfCharSet = static_cast<BYTE>(getInt(r, section, "lfCharSet", 0));
    font.lfOutPrecision = static_cast<BYTE>(getInt(r, section, "lfOutPrecision", 0));
    font.lfClipPrecision = static_cast<BYTE>(getInt(r, section, "lfClipPrecision", 0));
    font.lfQuality = static_cast<BYTE>(getInt(r, section, "lfQuality", 0));
    font.lfPitchAndFamily = static_cast<BYTE>(getInt(r, section, "lfPitchAndFamily", 16));
    color = getColor(r, section, "lfColor", static_cast<COLORREF>(-1));
    return true;
}

void CProfile::putLogFont(
    eKEY r, const std::string& section, const LOGFONT& font, COLORREF color) const
{
    putChars(r, section, "lfFaceName", fieldText(font.lfFaceName, sizeof font.lfFaceName));
    putInt(r, section, "lfHeight", font.lfHeight);
    putInt(r, section, "lfItalic", font.lfItalic ? 1 : 0);
    putInt(r, section, "lfWeight", font.lfWeight);
    putInt(r, section, "lfEscapement", font.lfEscapement);
    putInt(r, section, "lfOrientation", font.lfOrientation);
    putInt(r, section, "lfUnderline", font.lfUnderline);
    putInt(r, section, "lfStrikeOut", font.lfStrikeOut);
    putInt(r, section, "lfCharSet", font.lfCharSet);
    putInt(r, section, "lfOutPrecision", font.lfOutPrecision);
    putInt(r, section, "lfClipPrecision", font.lfClipPrecision);
    putInt(r, section, "lfQuality", font.lfQuality);
    putInt(r, section, "lfPitchAndFamily", font.lfPitchAndFamily);
    putColor(r, section, "lfColor", color);
}

void CProfile::getWindowPlacement(eKEY r, const std::string& section, WINDOWPLACEMENT& wp) const
{
    wp.length = sizeof(WINDOWPLACEMENT);
    wp.flags = static_cast<UINT>(getInt(r, section, "Flags", 0));
    wp.showCmd = static_cast<UINT>(getInt(r, section, "ShowCmd", 5));
    wp.ptMinPosition.x = getInt(r, section, "MinX", 0);
    wp.ptMinPosition.y = getInt(r, section, "MinY", 0);
    wp.ptMaxPosition.x = getInt(r, section, "MaxX", -zorSizingFrameWidth());
    wp.ptMaxPosition.y = getInt(r, section, "MaxY", -zorSizingFrameHeight());
    wp.rcNormalPosition.left = getInt(r, section, "NormalX", 0);
    wp.rcNormalPosition.top = getInt(r, section, "NormalY", 0);
    wp.rcNormalPosition.right = getInt(r, section, "NormalCx", 640);
    wp.rcNormalPosition.bottom = getInt(r, section, "NormalCy", 480);
}

void CProfile::putWindowPlacement(
    eKEY r, const std::string& section, const WINDOWPLACEMENT& wp) const
{
    putInt(r, section, "Flags", static_cast<int>(wp.flags));
    putInt(r, section, "ShowCmd", static_cast<int>(wp.showCmd));
    putInt(r, section, "MinX", wp.ptMinPosition.x);
    putInt(r, section, "MinY", wp.ptMinPosition.y);
    putInt(r, section, "MaxX", wp.ptMaxPosition.x);
    putInt(r, section, "MaxY", wp.ptMaxPosition.y);
    putInt(r, section, "NormalX", wp.rcNormalPosition.left);
    putInt(r, section, "NormalY", wp.rcNormalPosition.top);
    putInt(r, section, "NormalCx", wp.rcNormalPosition.right);
    putInt(r, section, "NormalCy", wp.rcNormalPosition.bottom);
}

void CProfile::putDevMode(
    eKEY r, const std::string& section, HGLOBAL hDevMode, HGLOBAL hDevNames) const
{
    const size_t modeSize = GlobalSize(hDevMode);
    const size_t namesSize = GlobalSize(hDevNames);
    const auto* dm = static_cast<const DEVMODEA*>(GlobalLock(hDevMode));
    const auto* dn = static_cast<const DEVNAMES*>(GlobalLock(hDevNames));
    if (dm && dn && modeSize >= sizeof(DEVMODEA) && namesSize >= sizeof(DEVNAMES)) {
        putChars(r, section, "DeviceName", fieldText(dm->dmDeviceName, sizeof dm->dmDeviceName));
        putInt(r, section, "SpecVersion", extendWord(dm->dmSpecVersion));
        putInt(r, section, "DriverVersion", extendWord(dm->dmDriverVersion));
        putInt(r, section, "Size", extendWord(dm->dmSize));
        putInt(r, section, "DriverExtra", extendWord(dm->dmDriverExtra));
        putInt(r, section, "Fields", static_cast<int>(dm->dmFields));
        putInt(r, section, "Orientation", extendShort(dm->dmOrientation));
        putInt(r, section, "PaperSize", extendShort(dm->dmPaperSize));
        putInt(r, section, "PaperLength", extendShort(dm->dmPaperLength));
        putInt(r, section, "PaperWidth", extendShort(dm->dmPaperWidth));
        putInt(r, section, "Scale", extendShort(dm->dmScale));
        putInt(r, section, "Copies", extendShort(dm->dmCopies));
        putInt(r, section, "DefaultSource", extendShort(dm->dmDefaultSource));
        putInt(r, section, "PrintQuality", extendShort(dm->dmPrintQuality));
        putInt(r, section, "Color", extendShort(dm->dmColor));
        putInt(r, section, "Duplex", extendShort(dm->dmDuplex));
        putInt(r, section, "YResolution", extendShort(dm->dmYResolution));
        putInt(r, section, "TTOption", extendShort(dm->dmTTOption));
        putInt(r, section, "Collate", extendShort(dm->dmCollate));
        putChars(r, section, "FormName", fieldText(dm->dmFormName, sizeof dm->dmFormName));
        putInt(r, section, "LogPixels", extendWord(dm->dmLogPixels));
        putInt(r, section, "BitsPerPel", static_cast<int>(dm->dmBitsPerPel));
        putInt(r, section, "PelsWidth", static_cast<int>(dm->dmPelsWidth));
        putInt(r, section, "PelsHeight", static_cast<int>(dm->dmPelsHeight));
        putInt(r, section, "DisplayFlags", static_cast<int>(dm->dmDisplayFlags));
        putInt(r, section, "DisplayFrequency", static_cast<int>(dm->dmDisplayFrequency));

        // The texts of the device names lie inside the block, each ending at its zero or at
        // the end of the block.
        const auto* names = reinterpret_cast<const char*>(dn);
        auto nameAt = [&](WORD offset) {
            return offset < namesSize ? fieldText(names + offset, namesSize - offset)
                                      : std::string();
        };
        putChars(r, section, "DevName.Driver", nameAt(dn->wDriverOffset));
        putChars(r, section, "DevName.Device", nameAt(dn->wDeviceOffset));
        putChars(r, section, "DevName.Output", nameAt(dn->wOutputOffset));
        putInt(r, section, "DevName.Default", extendWord(dn->wDefault));

        // The driver data follows the record at dmSize; only what lies inside the block.
        const size_t start = dm->dmSize;
        const size_t available = modeSize > start ? modeSize - start : 0;
        const auto extra = static_cast<DWORD>(std::min<size_t>(dm->dmDriverExtra, available));
        putInt(r, section, "Driver Extra Length", static_cast<int>(extra));
        putBytes(r, section, "Driver Extra", reinterpret_cast<const BYTE*>(dm) + start, extra);
        putInt(r, section, "DataSaved", 1);
    }
    if (dm)
        GlobalUnlock(hDevMode);
    if (dn)
        GlobalUnlock(hDevNames);
}

void CProfile::getDevMode(eKEY r, const std::string& section, DEVMODEA* pDevMode,
    DWORD nDevModeSize, DEVNAMES* pDevNames, DWORD nDevNamesSize) const
{
    if (getInt(r, section, "DataSaved", 0) == 0)
        return;

    if (pDevMode && nDevModeSize >= sizeof(DEVMODEA)) {
        DEVMODEA dm = *pDevMode;
        auto readInt = [&](const char* name, auto& field) {
            using Field = std::remove_reference_t<decltype(field)>;
            field = static_cast<Field>(getInt(r, section, name, static_cast<int>(field)));
        };
        setFieldText(dm.dmDeviceName, sizeof dm.dmDeviceName,
            getString(
                r, section, "DeviceName", fieldText(dm.dmDeviceName, sizeof dm.dmDeviceName)));
        readInt("SpecVersion", dm.dmSpecVersion);
        readInt("DriverVersion", dm.dmDriverVersion);
        readInt("Size", dm.dmSize);
        readInt("DriverExtra", dm.dmDriverExtra);
        readInt("Fields", dm.dmFields);
        readInt("Orientation", dm.dmOrientation);
        readInt("PaperSize", dm.dmPaperSize);
        readInt("PaperLength", dm.dmPaperLength);
        readInt("PaperWidth", dm.dmPaperWidth);
        readInt("Scale", dm.dmScale);
        readInt("Copies", dm.dmCopies);
        readInt("DefaultSource", dm.dmDefaultSource);
        readInt("PrintQuality", dm.dmPrintQuality);
        readInt("Color", dm.dmColor);
        readInt("Duplex", dm.dmDuplex);
        readInt("YResolution", dm.dmYResolution);
        readInt("TTOption", dm.dmTTOption);
        readInt("Collate", dm.dmCollate);
        setFieldText(dm.dmFormName, sizeof dm.dmFormName,
            getString(r, section, "FormName", fieldText(dm.dmFormName, sizeof dm.dmFormName)));
        readInt("LogPixels", dm.dmLogPixels);
        readInt("BitsPerPel", dm.dmBitsPerPel);
        readInt("PelsWidth", dm.dmPelsWidth);
        readInt("PelsHeight", dm.dmPelsHeight);
        readInt("DisplayFlags", dm.dmDisplayFlags);
        readInt("DisplayFrequency", dm.dmDisplayFrequency);

        const DWORD extraLength = storedDriverExtraLength(*this, r, section);
        std::vector<BYTE> extra(std::min<DWORD>(extraLength, c_maxDriverExtra));
        const DWORD extraRead = extraLength > 0 && extraLength <= c_maxDriverExtra
            ? getBytes(r, section, "Driver Extra", extra.data(), extraLength)
            : 0;
        // The record and its driver data must fit the caller's block; otherwise nothing of
        // the record changes. A stated length the record's field cannot hold is no record of
        // ours either.
        if (extraLength <= c_maxDriverExtra && size_t(dm.dmSize) + extraRead <= nDevModeSize) {
            dm.dmDriverExtra = static_cast<WORD>(extraRead);
            *pDevMode = dm;
            if (extraRead > 0)
                std::memcpy(reinterpret_cast<BYTE*>(pDevMode) + dm.dmSize, extra.data(), extraRead);
        }
    }

    if (pDevNames && nDevNamesSize >= sizeof(DEVNAMES)) {
        const std::string driver = getString(r, section, "DevName.Driver", std::string());
        const std::string device = getString(r, section, "DevName.Device", std::string());
        const std::string output = getString(r, section, "DevName.Output", std::string());
        const size_t needed
            = sizeof(DEVNAMES) + driver.size() + 1 + device.size() + 1 + output.size() + 1;
        if (needed <= nDevNamesSize && needed <= 0xFFFF) {
            const auto wDefault
                = static_cast<WORD>(getInt(r, section, "DevName.Default", pDevNames->wDefault));
            auto* block = reinterpret_cast<char*>(pDevNames);
            size_t at = sizeof(DEVNAMES);
            auto place = [&](const std::string& text) {
                const auto offset = static_cast<WORD>(at);
                std::memcpy(block + at, text.c_str(), text.size() + 1);
                at += text.size() + 1;
                return offset;
            };
            pDevNames->wDriverOffset = place(driver);
            pDevNames->wDeviceOffset = place(device);
            pDevNames->wOutputOffset = place(output);
            pDevNames->wDefault = wDefault;
        }
    }
}

void CProfile::getDevMode(
    eKEY r, const std::string& section, HGLOBAL hDevMode, HGLOBAL hDevNames) const
{
    if (getInt(r, section, "DataSaved", 0) == 0)
        return;
    // Room for what was saved: the record and its driver data, the names record and its texts.
    const DWORD extraLength = storedDriverExtraLength(*this, r, section);
    const size_t modeNeeded = std::max<size_t>(sizeof(DEVMODEA),
                                  static_cast<WORD>(getInt(r, section, "Size", sizeof(DEVMODEA))))
        + (extraLength <= c_maxDriverExtra ? extraLength : 0);
    const size_t namesNeeded = sizeof(DEVNAMES)
        + getString(r, section, "DevName.Driver", std::string()).size() + 1
        + getString(r, section, "DevName.Device", std::string()).size() + 1
        + getString(r, section, "DevName.Output", std::string()).size() + 1;
    if (hDevMode && GlobalSize(hDevMode) < modeNeeded)
        GlobalReAlloc(hDevMode, modeNeeded, GMEM_MOVEABLE);
    if (hDevNames && GlobalSize(hDevNames) < namesNeeded)
        GlobalReAlloc(hDevNames, namesNeeded, GMEM_MOVEABLE);

    const auto modeSize = static_cast<DWORD>(std::min<size_t>(GlobalSize(hDevMode), 0xFFFFFFFF));
    const auto namesSize = static_cast<DWORD>(std::min<size_t>(GlobalSize(hDevNames), 0xFFFFFFFF));
    auto* dm = static_cast<DEVMODEA*>(GlobalLock(hDevMode));
    auto* dn = static_cast<DEVNAMES*>(GlobalLock(hDevNames));
    getDevMode(r, section, dm, modeSize, dn, namesSize);
    if (dm)
        GlobalUnlock(hDevMode);
    if (dn)
        GlobalUnlock(hDevNames);
}

std::string CProfile::enumChildren(eKEY r, const std::string& section) const
{
    std::vector<std::string> names;
    enumChildren(r, section, names);
    std::string list;
    for (const std::string& name : names)
        list += name + "~";
    return list;
}

int CProfile::enumChildren(
    eKEY r, const std::string& section, std::vector<std::string>& array) const
{
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(rootKey(r), setupKey(r, section).c_str(), 0, KEY_READ, &hKey)
        != ERROR_SUCCESS)
        return 0;
    int count = 0;
    char name[c_keyNameSize];
    while (RegEnumKeyA(hKey, static_cast<DWORD>(count), name, sizeof name) == ERROR_SUCCESS) {
        array.emplace_back(name);
        ++count;
    }
    RegCloseKey(hKey);
    return count;
}

bool CProfile::deleteKey(eKEY r, const std::string& name) const
{
    const std::string path = setupKey(r, std::string()) + "\\" + name;
    return SHDeleteKeyA(rootKey(r), path.c_str()) == ERROR_SUCCESS;
}
