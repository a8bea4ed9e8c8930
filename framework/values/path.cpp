#include "framework/values/path.h"

#include <cstring>

namespace {

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool isDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Copies at most size - 1 characters of [text, text + length) and terminates.
template<std::size_t N> void copyPart(char (&part)[N], const char* text, std::size_t length)
{
    if (length > N - 1)
        length = N - 1;
    if (length > 0)
        std::memcpy(part, text, length);
    part[length] = '\0';
}

template<std::size_t N> void copyPart(char (&part)[N], const char* text)
{
    copyPart(part, text ? text : "", text ? std::strlen(text) : 0);
}

// Appends to a fixed buffer, cutting what does not fit.
template<std::size_t N>
void appendPart(char (&buffer)[N], std::size_t& used, const char* text, std::size_t length)
{
    if (used + length > N - 1)
        length = N - 1 - used;
    std::memcpy(buffer + used, text, length);
    used += length;
    buffer[used] = '\0';
}

} // namespace

CPath::CPath(const char* path)
{
    splitPath(path);
}

CPath::CPath(const std::string& path)
{
    splitPath(path.c_str());
}

void CPath::splitPath(const char* path)
{
    m_szDrive[0] = m_szDir[0] = m_szFile[0] = m_szExt[0] = '\0';
    if (!path)
        return;

    const char* p = path;
    if (isDriveLetter(p[0]) && p[1] == ':') {
        copyPart(m_szDrive, p, 2);
        p += 2;
    }

    const char* name = p;
    for (const char* q = p; *q; ++q) {
        if (isSeparator(*q))
            name = q + 1;
    }
    copyPart(m_szDir, p, static_cast<std::size_t>(name - p));

    const char* dot = std::strrchr(name, '.');
    if (dot) {
        copyPart(m_szFile, name, static_cast<std::size_t>(dot - name));
        copyPart(m_szExt, dot);
    } else {
        copyPart(m_szFile, name);
    }
}

void CPath::setDrive(const char* drive)
{
    copyPart(m_szDrive, drive);
}

void CPath::setDir(const char* dir)
{
    copyPart(m_szDir, dir);
}

void CPath::setFile(const char* file)
{
    copyPart(m_szFile, file);
}

void CPath::setExt(const char* ext)
{
    copyPart(m_szExt, ext);
}

void CPath::compose() const
{
    std::size_t used = 0;
    m_szPath[0] = '\0';
    if (m_szDrive[0]) {
        const char drive[2] = {m_szDrive[0], ':'};
        appendPart(m_szPath, used, drive, 2);
    }

    const std::size_t dirLength = std::strlen(m_szDir);
    if (dirLength > 0) {
        appendPart(m_szPath, used, m_szDir, dirLength);
        if (!isSeparator(m_szDir[dirLength - 1])) {
            char separator = '/';
            for (std::size_t i = dirLength; i-- > 0;) {
                if (isSeparator(m_szDir[i])) {
                    separator = m_szDir[i];
                    break;
                }
            }
            appendPart(m_szPath, used, &separator, 1);
        }
    }

    appendPart(m_szPath, used, m_szFile, std::strlen(m_szFile));

    if (m_szExt[0]) {
        if (m_szExt[0] != '.')
            appendPart(m_szPath, used, ".", 1);
        appendPart(m_szPath, used, m_szExt, std::strlen(m_szExt));
    }
}

std::string CPath::getPath() const
{
    compose();
    return m_szPath;
}

CPath::operator const char*() const
{
    compose();
    return m_szPath;
}
