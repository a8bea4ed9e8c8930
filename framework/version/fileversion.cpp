#include "framework/version/fileversion.h"

#include <cstdio>
#include <cstring>

CFileVersion::~CFileVersion()
{
    close();
}

int CFileVersion::open(const char* fileName)
{
    close();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(fileName, &handle);
    if (size == 0)
        return 0;
    m_versionData.assign(size, 0);
    if (!GetFileVersionInfoA(fileName, handle, size, m_versionData.data())) {
        close();
        return 0;
    }

    void* value = nullptr;
    UINT length = 0;
    if (!zorVerQueryValue(m_versionData.data(), m_versionData.size(), "\\VarFileInfo\\Translation",
            &value, &length)
        || length < 2 * sizeof(WORD)) {
        close();
        return 0;
    }
    WORD words[2];
    std::memcpy(words, value, sizeof words);
    m_dwTranslation = (static_cast<DWORD>(words[0]) << 16) | words[1];
    return 1;
}

void CFileVersion::close()
{
    m_versionData.clear();
    m_versionData.shrink_to_fit();
    m_dwTranslation = 0;
}

std::string CFileVersion::queryValue(const char* valueName, unsigned long translation) const
{
    if (!isOpen() || !valueName)
        return {};
    const unsigned long used = translation != 0 ? translation : m_dwTranslation;
    const std::string subBlock = "\\StringFileInfo\\" +
        [used] {
            char hex[24];
            std::snprintf(hex, sizeof hex, "%08lx", used);
            return std::string(hex);
        }()
        + "\\" + valueName;

    void* value = nullptr;
    UINT length = 0;
    if (!zorVerQueryValue(
            m_versionData.data(), m_versionData.size(), subBlock.c_str(), &value, &length))
        return {};
    return std::string(static_cast<const char*>(value), length > 0 ? length - 1 : 0);
}

bool CFileVersion::fixedInfo(VS_FIXEDFILEINFO& info) const
{
    if (!isOpen())
        return false;
    void* value = nullptr;
    UINT length = 0;
    if (!zorVerQueryValue(m_versionData.data(), m_versionData.size(), "\\", &value, &length)
        || length < sizeof(VS_FIXEDFILEINFO))
        return false;
    std::memcpy(&info, value, sizeof info);
    return true;
}

int CFileVersion::getFixedInfo(VS_FIXEDFILEINFO& info) const
{
    return fixedInfo(info) ? 1 : 0;
}

namespace {

std::string format(const char* pattern, unsigned a, unsigned b, unsigned c = 0, unsigned d = 0)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, a, b, c, d);
    return text;
}

} // namespace

std::string CFileVersion::getFixedFileVersion() const
{
    VS_FIXEDFILEINFO info;
    if (!fixedInfo(info))
        return {};
    return format("%u.%.2u", HIWORD(info.dwFileVersionMS), LOWORD(info.dwFileVersionMS));
}

std::string CFileVersion::getFixedFileVersion4() const
{
    VS_FIXEDFILEINFO info;
    if (!fixedInfo(info))
        return {};
    return format("%.2u.%.2u.%.2u.%.2u", HIWORD(info.dwFileVersionMS), LOWORD(info.dwFileVersionMS),
        HIWORD(info.dwFileVersionLS), LOWORD(info.dwFileVersionLS));
}

std::string CFileVersion::getFixedProductVersion() const
{
    VS_FIXEDFILEINFO info;
    if (!fixedInfo(info))
        return {};
    return format("%u.%.2u", HIWORD(info.dwProductVersionMS), LOWORD(info.dwProductVersionMS));
}

std::string CFileVersion::getFixedProductVersion4() const
{
    VS_FIXEDFILEINFO info;
    if (!fixedInfo(info))
        return {};
    if (info.dwProductVersionLS == 0)
        return format("%u.%.2u", HIWORD(info.dwProductVersionMS), LOWORD(info.dwProductVersionMS));
    return format("%u.%.2u.%u.%u", HIWORD(info.dwProductVersionMS), LOWORD(info.dwProductVersionMS),
        HIWORD(info.dwProductVersionLS), LOWORD(info.dwProductVersionLS));
}

std::string CFileVersion::getAboutVersion() const
{
    if (!isOpen())
        return {};
    return getFixedProductVersion4() + "  " + getFixedFileVersion4();
}

bool CFileVersion::isDebug() const
{
    VS_FIXEDFILEINFO info;
    return fixedInfo(info) && (info.dwFileFlags & VS_FF_DEBUG) != 0;
}
