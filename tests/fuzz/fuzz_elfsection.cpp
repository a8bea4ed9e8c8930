// libFuzzer target: the ELF section reader on arbitrary file bytes, looking for the version
// section as the version calls do, and the version block found in it.
//
// Invariants: a section found is no larger than the limit asked for and is a run of the
// file's own bytes; the reader of a file on disk and the reader of the same bytes in memory
// agree, and the version calls on that file (GetFileVersionInfoSizeA, GetFileVersionInfoA)
// hand over version data exactly when the section holds a sound block, the block followed by
// its zeroed room; the fixed information, when the block has one, lies inside that data.

#include "platform/module/elfsection.h"
#include "platform/module/fileversioninfo.h"

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// The largest section the version calls read.
constexpr std::size_t MAX_SECTION = 0x10000;

// The file-reading path is slower than the image: only every few inputs take it, chosen by
// their bytes so that a replay takes the same path.
bool alsoFromFile(const std::uint8_t* data, std::size_t size)
{
    return size >= 16 && data[size - 1] % 8 == 0;
}

// What the readers of a file on disk make of the bytes: the section by the path reader and the
// version data by the version calls.
struct FromFile
{
    bool found {false};
    std::vector<BYTE> section;
    DWORD dataSize {0};
    std::vector<BYTE> data;
};

FromFile readFromFile(const std::uint8_t* data, std::size_t size, std::size_t limit)
{
    FromFile file;
    char path[] = "/tmp/fuzz_elfsection_XXXXXX";
    const int fd = ::mkstemp(path);
    check(fd >= 0);
    const bool written = ::write(fd, data, size) == static_cast<ssize_t>(size);
    ::close(fd);
    file.found = zorReadElfSection(std::string(path), ZOR_VERSION_SECTION, limit, file.section);
    DWORD handle = 1;
    file.dataSize = GetFileVersionInfoSizeA(path, &handle);
    check(handle == 0);
    if (file.dataSize > 0) {
        file.data.assign(file.dataSize, 0xAA);
        check(GetFileVersionInfoA(path, 0, file.dataSize, file.data.data()));
        // Too small a buffer is refused.
        check(!GetFileVersionInfoA(path, 0, file.dataSize - 1, file.data.data()));
    }
    ::unlink(path);
    check(written);
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A small limit too, so that the size check is reached by small inputs.
    for (const std::size_t limit : {MAX_SECTION, std::size_t(64)}) {
        std::vector<BYTE> section;
        const bool found = zorReadElfSection(data, size, ZOR_VERSION_SECTION, limit, section);
        const bool viaFile = limit == MAX_SECTION && alsoFromFile(data, size);
        FromFile file;
        if (viaFile) {
            file = readFromFile(data, size, limit);
            check(file.found == found && (!found || file.section == section));
            check(found || file.dataSize == 0);
        }
        if (!found)
            continue;
        check(section.size() <= limit && section.size() <= size);
        check(section.empty()
            || std::search(data, data + size, section.begin(), section.end()) != data + size);

        const std::size_t length = zorVersionBlockLength(section.data(), section.size());
        // The version calls see a block exactly when the section holds a sound one, and hand
        // over the same data.
        if (viaFile)
            check(file.dataSize == (length == 0 ? 0 : zorVersionDataSize(length)));
        if (length == 0)
            continue;
        check(length <= section.size());
        std::vector<BYTE> versionData(zorVersionDataSize(length), 0);
        std::memcpy(versionData.data(), section.data(), length);
        if (viaFile)
            check(file.data == versionData);
        void* buffer = nullptr;
        UINT bufferLength = 0;
        if (VerQueryValueA(versionData.data(), "\\", &buffer, &bufferLength)) {
            const auto* begin = static_cast<const BYTE*>(buffer);
            check(bufferLength == sizeof(VS_FIXEDFILEINFO) && begin >= versionData.data()
                && begin + bufferLength <= versionData.data() + versionData.size());
        }
    }
    return 0;
}
