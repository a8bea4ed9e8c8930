#pragma once

// A folder of its own for one test, removed with everything in it at the end of the test.
// ScopedRegistry also points ZORVEX_REGISTRY at a fresh folder, so each test starts with an
// empty settings store and leaves nothing behind.

#include <string>

class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    // path() + "/" + name
    std::string file(const std::string& name) const;

private:
    std::string m_path;
};

class ScopedRegistry
{
public:
    ScopedRegistry();
    ~ScopedRegistry();

    const std::string& path() const { return m_folder.path(); }

private:
    TempFolder m_folder;
    std::string m_previous;
    bool m_hadPrevious {false};
};
