#include "framework/utilities/scramble.h"

#include <cstring>

namespace {

// The text of the thread's last encodeString: each thread has its own, so a call on one
// thread never changes the text another thread is reading.
thread_local char t_encoded[2 * c_encodeStringMaxBytes + 1];

constexpr char c_digits[] = "0123456789ABCDEF";

int hexValue(char16_t c)
{
    const auto low = static_cast<unsigned char>(c & 0xFF);
    if (low >= '0' && low <= '9')
        return low - '0';
    if (low >= 'A' && low <= 'F')
        return low - 'A' + 10;
    if (low >= 'a' && low <= 'f')
        return low - 'a' + 10;
    return 0;
}

// Each byte combined with the key until one becomes 0, which ends the text.
std::string scramble(const char* text, BYTE key)
{
    std::string result = text ? text : "";
    for (std::size_t i = 0; i < std::strlen(result.c_str()); ++i)
        result[i] = static_cast<char>(static_cast<BYTE>(result[i]) ^ key);
    result.resize(std::strlen(result.c_str()));
    return result;
}

} // namespace

const char* encodeString(const BYTE* pBytes, int nCount)
{
    t_encoded[0] = '\0';
    if (!pBytes || nCount <= 0)
        return t_encoded;
    const int count = nCount < c_encodeStringMaxBytes ? nCount : c_encodeStringMaxBytes;
    for (int i = 0; i < count; ++i) {
        t_encoded[2 * i] = c_digits[pBytes[i] >> 4];
        t_encoded[2 * i + 1] = c_digits[pBytes[i] & 0x0F];
    }
    t_encoded[2 * count] = '\0';
    return t_encoded;
}

int decodeString(const char16_t* pText, BYTE* pBytes, int nCount)
{
    if (!pText || !pBytes || nCount < 1)
        return 0;
    const int bytes = (nCount + 1) / 2;
    for (int i = 0; i < bytes; ++i) {
        const int high = hexValue(pText[2 * i]);
        const int low = 2 * i + 1 < nCount ? hexValue(pText[2 * i + 1]) : 0;
        pBytes[i] = static_cast<BYTE>(high * 16 + low);
    }
    return bytes;
}

std::string encodePassword(const std::string& text)
{
    return scramble(text.c_str(), c_encodePasswordKey);
}

std::string decodePassword(const char* pText)
{
    return scramble(pText, c_decodePasswordKey);
}

std::string decodePassword(const std::string& text)
{
    return scramble(text.c_str(), c_decodePasswordKey);
}
