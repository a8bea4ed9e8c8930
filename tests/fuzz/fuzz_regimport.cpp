// libFuzzer target: zorreg's import file reader (readExport) on arbitrary text, as a user hands
// the tool any file to import.
//
// Invariant: what the reader accepts, written out again (writeExport), reads back to the very
// same keys and values: names, kinds, bytes and deletions.

#include "tools/zorreg/regformat.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

bool sameKeys(const std::vector<zorreg::ExportKey>& a, const std::vector<zorreg::ExportKey>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k].name != b[k].name || a[k].remove != b[k].remove
            || a[k].values.size() != b[k].values.size())
            return false;
        for (std::size_t v = 0; v < a[k].values.size(); ++v) {
            const zorreg::ExportValue& x = a[k].values[v];
            const zorreg::ExportValue& y = b[k].values[v];
            if (x.name != y.name || x.remove != y.remove
                || (!x.remove && (x.type != y.type || x.data != y.data)))
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    // A refusal gives a reason and leaves the caller's keys as they were.
    std::vector<zorreg::ExportKey> keys(1);
    keys[0].name = "kept";
    std::string error;
    if (!zorreg::readExport(text, keys, error)) {
        if (error.empty() || keys.size() != 1 || keys[0].name != "kept")
            __builtin_trap();
        return 0;
    }
    std::string written;
    if (!zorreg::writeExport(keys, written, error))
        return 0; // a key name the file form cannot hold
    std::vector<zorreg::ExportKey> again;
    if (!zorreg::readExport(written, again, error) || !sameKeys(keys, again))
        __builtin_trap();
    return 0;
}
