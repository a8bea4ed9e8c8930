#pragma once

// The values the concurrency test's writers store: each names its writer and sequence number
// in its first eight bytes, and every further byte follows from those two, so a value mixed
// from two writes is recognised.

#include "platform/types/wintypes.h"

#include <cstdio>
#include <string>
#include <vector>

constexpr const char* c_writerKey = "Software\\Zorvex\\Concurrency";
constexpr const char* c_sharedValue = "Shared";
constexpr size_t c_payloadSize = 300;

inline std::vector<BYTE> writerPayload(DWORD writer, DWORD sequence)
{
    std::vector<BYTE> bytes(c_payloadSize);
    for (size_t i = 0; i < 4; ++i) {
        bytes[i] = static_cast<BYTE>(writer >> (8 * i));
        bytes[4 + i] = static_cast<BYTE>(sequence >> (8 * i));
    }
    for (size_t i = 8; i < c_payloadSize; ++i)
        bytes[i] = static_cast<BYTE>(writer * 131 + sequence * 7 + i);
    return bytes;
}

inline bool isWholePayload(const std::vector<BYTE>& bytes)
{
    if (bytes.size() != c_payloadSize)
        return false;
    DWORD writer = 0;
    DWORD sequence = 0;
    for (size_t i = 0; i < 4; ++i) {
        writer |= static_cast<DWORD>(bytes[i]) << (8 * i);
        sequence |= static_cast<DWORD>(bytes[4 + i]) << (8 * i);
    }
    return bytes == writerPayload(writer, sequence);
}

inline std::string writerValueName(DWORD writer, DWORD sequence)
{
    char name[32];
    std::snprintf(name, sizeof name, "w%u-%u", writer, sequence);
    return name;
}
