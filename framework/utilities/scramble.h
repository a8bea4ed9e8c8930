#pragma once

// Hexadecimal texts of bytes, and the one-byte-key scrambling of stored passwords.
//
// encodeString writes its text into a buffer of the calling thread (up to 1024 bytes, 2048
// digits), which the next call on the same thread replaces: two threads never see each other's
// text. Bytes beyond the 1024th are not encoded.
//
// decodeString reads pairs of hexadecimal characters of a 16-bit text (the low byte of each
// character counts), either case for every digit; a character that is no hexadecimal digit
// counts as 0. An odd count decodes the last character as the high digit of a last byte whose
// low digit is 0: nothing beyond the count is read.
//
// The password scrambling combines each byte, from the first, with a fixed one-byte key by
// exclusive-or: encodePassword with 0x17, decodePassword with 0x1B. The keys differ, so
// decoding an encoded text does not give the text back (stored passwords have always been
// written this way). The text ends at the first byte that becomes 0, that is at a byte equal
// to the key; both keys are control characters that typed text does not hold.

#include "platform/types/wintypes.h"

#include <string>

// The keys of the password scrambling.
constexpr BYTE c_encodePasswordKey = 0x17;
constexpr BYTE c_decodePasswordKey = 0x1B;
// The most bytes encodeString encodes.
constexpr int c_encodeStringMaxBytes = 1024;

// The bytes as upper-case hexadecimal digits, high nibble first; the empty text for a count
// of 0 or less. The text stays valid until the calling thread's next call.
const char* encodeString(const BYTE* pBytes, int nCount);
// Writes (nCount + 1) / 2 bytes from nCount hexadecimal characters; returns the number of
// bytes written (0 for a count below 1).
int decodeString(const char16_t* pText, BYTE* pBytes, int nCount);

std::string encodePassword(const std::string& text);
std::string decodePassword(const char* pText);
std::string decodePassword(const std::string& text);
