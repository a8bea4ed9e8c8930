#pragma once

// A path split into drive, directory, file title and extension, and composed again.
//
// Splitting takes "\" and "/" alike as separators and a leading drive letter with its colon:
// C:\dir\sub\file.txt gives C:, \dir\sub\, file and .txt; /usr/lib/x.so gives no drive, /usr/lib/,
// x and .so. The directory keeps its trailing separator; the extension keeps its ".".
// Composing puts the drive's letter and a colon, the directory (adding a separator of the kind it
// already uses when it does not end with one, "/" when it has none), the title and the extension
// (adding the "." when it lacks one). Every part has a fixed size (drive 2 characters, the others
// 255, the composed path 519): longer texts are cut, never overflow.

#include <string>

class CPath
{
public:
    CPath() = default;
    explicit CPath(const char* path);
    explicit CPath(const std::string& path);
    CPath(const CPath& other) = default;
    CPath& operator=(const CPath& other) = default;

    // A null path empties all parts.
    void splitPath(const char* path);
    void splitPath(const std::string& path) { splitPath(path.c_str()); }

    std::string getDrive() const { return m_szDrive; }
    std::string getDir() const { return m_szDir; }
    std::string getFile() const { return m_szFile; }
    std::string getExt() const { return m_szExt; }

    void setDrive(const char* drive);
    void setDir(const char* dir);
    void setFile(const char* file);
    void setExt(const char* ext);
    void setDrive(const std::string& drive) { setDrive(drive.c_str()); }
    void setDir(const std::string& dir) { setDir(dir.c_str()); }
    void setFile(const std::string& file) { setFile(file.c_str()); }
    void setExt(const std::string& ext) { setExt(ext.c_str()); }

    // Composes the parts into the full path.
    std::string getPath() const;
    operator std::string() const { return getPath(); }
    // The composed path, held in the object until the next composition.
    operator const char*() const;

private:
    void compose() const;

    char m_szDrive[3] {};
    char m_szDir[256] {};
    char m_szFile[256] {};
    char m_szExt[256] {};
    mutable char m_szPath[520] {};
};
