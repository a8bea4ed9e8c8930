#pragma once

// What the fuzz targets of the component layer and the store share: a registry store of their
// own for the whole process, so that a run never reads or writes the user's settings.

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzzsupport {

// Points ZORVEX_REGISTRY at a fresh temporary folder unless the caller (the replay test) set
// one already; the folder is removed when the process ends.
inline void useOwnRegistry()
{
    static const bool done = [] {
        if (const char* folder = std::getenv("ZORVEX_REGISTRY"); folder && *folder)
            return true;
        static std::string made = (std::filesystem::temp_directory_path() / "zorfuzz-XXXXXX");
        if (!mkdtemp(made.data()))
            std::abort();
        setenv("ZORVEX_REGISTRY", made.c_str(), 1);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(made, ignored);
        });
        return true;
    }();
    (void)done;
}

} // namespace fuzzsupport
