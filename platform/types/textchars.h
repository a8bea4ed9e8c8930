#pragma once

// Character helpers of the platform's own texts (names, identifiers, keywords): ASCII only and
// independent of the process's C locale, which Qt switches at start.

#include <string_view>

// The ASCII lower case of a character; every other character as it is.
constexpr char zorLowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether two texts are equal with ASCII letters compared case aside.
constexpr bool zorEqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (zorLowerAscii(a[i]) != zorLowerAscii(b[i]))
            return false;
    }
    return true;
}

// The value of a hexadecimal digit of either case, or -1 for any other character.
constexpr int zorHexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
