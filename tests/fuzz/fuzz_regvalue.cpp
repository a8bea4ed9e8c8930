// libFuzzer target: the settings store's typed reads (CProfile) over values of any kind and any
// bytes, written raw with RegSetValueExA into the target's own store, as another program or an
// old version may have left them.
//
// Input: records of [name byte][kind byte][length byte][bytes], each stored under one of the
// names the readers use (a plain value "v", the font, window placement and printer settings'
// names). Then every getter reads them. Checked against the store's documented reading of the
// plain value: a number is the value's first bytes when it has at most four, text ends at its
// first zero and is at most 8191 bytes, a double needs exactly eight bytes, a byte read fills the
// caller's buffer only when the value fits; anything else gives the caller's default.

#include "framework/settings/profile.h"
#include "tests/fuzz/fuzzstore.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

const char* const c_names[] = {"v", "lfFaceName", "lfHeight", "lfColor", "Flags", "NormalCx",
    "DataSaved", "Size", "DriverExtra", "Driver Extra Length", "Driver Extra", "DeviceName",
    "FormName", "DevName.Driver", "DevName.Device", "DevName.Output", "DevName.Default"};
constexpr std::size_t c_nameCount = sizeof c_names / sizeof c_names[0];
const DWORD c_kinds[]
    = {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ, REG_QWORD, 0xFFFF};
constexpr char c_section[] = "Fuzz";

class CFuzzProfile : public CProfile
{
public:
    CFuzzProfile() { initProfile("FuzzCo", "FuzzApp", "1.0"); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::useOwnRegistry();
    const CFuzzProfile profile;
    const eKEY root = eKEY_CURRENT_USER;
    // Every input starts from an empty section.
    profile.deleteKey(root, c_section);

    HKEY key = nullptr;
    if (RegCreateKeyExA(reinterpret_cast<HKEY>(std::uintptr_t(root)),
            profile.setupKey(root, c_section).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
            KEY_WRITE, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        __builtin_trap();
    // The plain value as last written; a length byte of 255 repeats the bytes 33 times, past
    // the 8191-byte limit of texts and lists.
    std::vector<BYTE> plain;
    bool plainSet = false;
    std::size_t at = 0;
    while (at + 3 <= size) {
        const char* name = c_names[data[at] % c_nameCount];
        const DWORD kind = c_kinds[data[at + 1] % (sizeof c_kinds / sizeof c_kinds[0])];
        const std::size_t length = std::min<std::size_t>(data[at + 2], size - at - 3);
        std::vector<BYTE> bytes(data + at + 3, data + at + 3 + length);
        if (data[at + 2] == 255)
            for (int i = 0; i < 32; ++i)
                bytes.insert(bytes.end(), bytes.begin(), bytes.begin() + length);
        at += 3 + length;
        if (RegSetValueExA(key, name, 0, kind, bytes.data(), static_cast<DWORD>(bytes.size()))
            != ERROR_SUCCESS)
            __builtin_trap();
        if (name == c_names[0]) {
            plain = bytes;
            plainSet = true;
        }
    }
    RegCloseKey(key);

    // Numbers.
    const std::size_t n = plain.size();
    DWORD number = 0;
    for (std::size_t i = 0; i < n && i < 4; ++i)
        number |= DWORD(plain[i]) << (8 * i);
    const int intDefault = 0x5A5A5A5A;
    const int expectedInt = plainSet && n <= 4 ? static_cast<int>(number) : intDefault;
    if (profile.getInt(root, c_section, "v", intDefault) != expectedInt
        || profile.getColor(root, c_section, "v", COLORREF(intDefault)) != COLORREF(expectedInt)
        || profile.getBool(root, c_section, "v", true) != (plainSet && n <= 4 ? number != 0 : true))
        __builtin_trap();

    // Text.
    const std::string textDefault = "default";
    const std::string expectedText = plainSet && n <= 8191
        ? std::string(plain.begin(), std::find(plain.begin(), plain.end(), BYTE(0)))
        : textDefault;
    if (profile.getString(root, c_section, "v", textDefault) != expectedText)
        __builtin_trap();
    profile.getDate(root, c_section, "v", COleDateTime());

    // Double: exactly eight bytes.
    const double doubleDefault = -1.5;
    const double readDouble = profile.getDouble(root, c_section, "v", doubleDefault);
    if (plainSet && n == 8 ? std::memcmp(&readDouble, plain.data(), 8) != 0
                           : std::memcmp(&readDouble, &doubleDefault, 8) != 0)
        __builtin_trap();

    // Bytes into buffers of exactly the value's size and one byte less (on the heap, so that a
    // write past them is caught).
    if (plainSet && n > 0) {
        auto exact = std::make_unique<BYTE[]>(n);
        if (profile.getBytes(root, c_section, "v", exact.get(), DWORD(n)) != n
            || std::memcmp(exact.get(), plain.data(), n) != 0)
            __builtin_trap();
        auto small = std::make_unique<BYTE[]>(n);
        std::memset(small.get(), 0xA5, n);
        if (profile.getBytes(root, c_section, "v", small.get(), DWORD(n - 1)) != 0
            || std::count(small.get(), small.get() + n, BYTE(0xA5)) != std::ptrdiff_t(n))
            __builtin_trap();
    }

    // A list: the non-empty texts between zeros.
    std::vector<std::string> list {"kept"};
    const int texts = profile.getStringArray(root, c_section, "v", list);
    if (!plainSet || n > 8191) {
        if (texts != 0 || list.size() != 1)
            __builtin_trap();
    } else if (n == 0) {
        if (texts != -1 || list.size() != 1)
            __builtin_trap();
    } else {
        std::size_t nonEmpty = 0;
        std::size_t zeros = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (plain[i] == 0)
                ++zeros;
            if (plain[i] != 0 && (i == 0 || plain[i - 1] == 0))
                ++nonEmpty;
        }
        const int expectedTexts = int(zeros) + (plain.back() != 0 ? 1 : 0) - 1;
        if (texts != expectedTexts || list.size() != 1 + nonEmpty)
            __builtin_trap();
    }

    // Records read from several values: nothing may be read or written outside them.
    LOGFONT font;
    COLORREF color = 0;
    profile.getLogFont(root, c_section, font, color, "Arial", 12);
    if (font.lfFaceName[sizeof font.lfFaceName - 1] != 0)
        __builtin_trap();
    WINDOWPLACEMENT placement;
    profile.getWindowPlacement(root, c_section, placement);

    auto mode = std::make_unique<BYTE[]>(sizeof(DEVMODEA) + 16);
    auto names = std::make_unique<BYTE[]>(sizeof(DEVNAMES) + 40);
    profile.getDevMode(root, c_section, reinterpret_cast<DEVMODEA*>(mode.get()),
        sizeof(DEVMODEA) + 16, reinterpret_cast<DEVNAMES*>(names.get()), sizeof(DEVNAMES) + 40);
    HGLOBAL hMode = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
    HGLOBAL hNames = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVNAMES));
    profile.getDevMode(root, c_section, hMode, hNames);
    GlobalFree(hMode);
    GlobalFree(hNames);
    return 0;
}
