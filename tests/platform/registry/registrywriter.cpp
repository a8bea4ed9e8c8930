// A second writer for the store's concurrency test: writes its own values into one key of the
// current-user root while another process does the same, reading back as it goes, and also
// keeps overwriting one value both writers share. Exits 0 when every read found whole values.
//
// usage: zorregistrywriter WRITER COUNT

#include "tests/platform/registry/writerpayload.h"

#include "platform/registry/registry.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: zorregistrywriter WRITER COUNT\n");
        return 2;
    }
    const auto writer = static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10));
    const auto count = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));

    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, c_writerKey, 0, nullptr,
        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) {
        std::fprintf(stderr, "writer %u: create key failed: %d\n", writer, result);
        return 1;
    }
    int failures = 0;
    for (DWORD i = 0; i < count; ++i) {
        const std::vector<BYTE> payload = writerPayload(writer, i);
        const std::string name = writerValueName(writer, i);
        result = RegSetValueExA(
            key, name.c_str(), 0, REG_BINARY, payload.data(), static_cast<DWORD>(payload.size()));
        if (result != ERROR_SUCCESS) {
            std::fprintf(stderr, "writer %u: set %s failed: %d\n", writer, name.c_str(), result);
            ++failures;
            continue;
        }
        result = RegSetValueExA(
            key, c_sharedValue, 0, REG_BINARY, payload.data(), static_cast<DWORD>(payload.size()));
        if (result != ERROR_SUCCESS) {
            std::fprintf(stderr, "writer %u: set shared failed: %d\n", writer, result);
            ++failures;
        }

        std::vector<BYTE> back(c_payloadSize * 2);
        DWORD size = static_cast<DWORD>(back.size());
        DWORD type = 0;
        result = RegQueryValueExA(key, name.c_str(), nullptr, &type, back.data(), &size);
        back.resize(size);
        if (result != ERROR_SUCCESS || type != REG_BINARY || back != payload) {
            std::fprintf(
                stderr, "writer %u: read back %s failed: %d\n", writer, name.c_str(), result);
            ++failures;
        }
        back.assign(c_payloadSize * 2, 0);
        size = static_cast<DWORD>(back.size());
        result = RegQueryValueExA(key, c_sharedValue, nullptr, &type, back.data(), &size);
        back.resize(size);
        if (result != ERROR_SUCCESS || !isWholePayload(back)) {
            std::fprintf(stderr, "writer %u: shared value torn or missing: %d\n", writer, result);
            ++failures;
        }
    }
    RegCloseKey(key);
    return failures == 0 ? 0 : 1;
}
