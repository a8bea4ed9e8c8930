#include "framework/utilities/scramble.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

struct EncodeCase
{
    const char* name;
    std::vector<BYTE> bytes;
    int count;
    std::string expected;
};

class EncodeString : public testing::TestWithParam<EncodeCase>
{
};

TEST_P(EncodeString, WritesTwoUpperCaseDigitsPerByte)
{
    const EncodeCase& c = GetParam();
    EXPECT_EQ(std::string(encodeString(c.bytes.data(), c.count)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, EncodeString,
    testing::Values(EncodeCase {"LineFeedAndFull", {0x0A, 0xFF}, 2, "0AFF"},
        EncodeCase {"HighNibbleFirst", {0x1F, 0xA0, 0x00}, 3, "1FA000"},
        EncodeCase {"CountBelowTheBytes", {0x12, 0x34}, 1, "12"},
        EncodeCase {"ZeroCount", {0x12}, 0, ""}, EncodeCase {"NegativeCount", {0x12}, -3, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EncodeStringBuffer, BytesBeyondTheBufferAreNotEncoded)
{
    const std::vector<BYTE> bytes(c_encodeStringMaxBytes + 10, 0xAB);
    const std::string text = encodeString(bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_EQ(text.size(), 2u * c_encodeStringMaxBytes);
}

TEST(EncodeStringBuffer, EachThreadKeepsItsOwnText)
{
    // Both threads encode, then wait until the other has encoded too, then read their text:
    // with one shared buffer one of them would read the other's.
    std::atomic<int> encoded {0};
    std::string seen[2];
    const auto work = [&](int index, BYTE value) {
        const BYTE bytes[2] = {value, value};
        const char* text = encodeString(bytes, 2);
        ++encoded;
        while (encoded.load() < 2)
            std::this_thread::yield();
        seen[index] = text;
    };
    std::thread first(work, 0, BYTE {0x11});
    std::thread second(work, 1, BYTE {0xEE});
    first.join();
    second.join();
    EXPECT_EQ(seen[0], "1111");
    EXPECT_EQ(seen[1], "EEEE");
}

struct DecodeCase
{
    const char* name;
    std::u16string text;
    int count;
    int written;
    std::vector<BYTE> bytes;
};

class DecodeString : public testing::TestWithParam<DecodeCase>
{
};

TEST_P(DecodeString, WritesOneBytePerTwoCharacters)
{
    const DecodeCase& c = GetParam();
    std::vector<BYTE> out(8, 0x5A);
    EXPECT_EQ(decodeString(c.text.c_str(), out.data(), c.count), c.written);
    const std::vector<BYTE> head(out.begin(), out.begin() + static_cast<long>(c.bytes.size()));
    EXPECT_EQ(head, c.bytes);
    // Nothing beyond the bytes written.
    EXPECT_EQ(out[c.bytes.size()], 0x5A);
}

INSTANTIATE_TEST_SUITE_P(Cases, DecodeString,
    testing::Values(DecodeCase {"CountFour", u"0AFF", 4, 2, {0x0A, 0xFF}},
        // An odd count writes the last byte from one digit and reads nothing beyond it.
        DecodeCase {"CountThree", u"0AFF", 3, 2, {0x0A, 0xF0}},
        DecodeCase {"LowerCaseDigits", u"0aff", 4, 2, {0x0A, 0xFF}},
        DecodeCase {"LowByteOfWideCharacters", u"\u4131\u4232", 2, 1, {0x12}},
        DecodeCase {"NotADigitCountsZero", u"G1", 2, 1, {0x01}},
        DecodeCase {"ZeroCount", u"12", 0, 0, {}}, DecodeCase {"NegativeCount", u"12", -1, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct PasswordCase
{
    const char* name;
    std::string text;
    std::string encoded;
    std::string decoded;
};

class Password : public testing::TestWithParam<PasswordCase>
{
};

TEST_P(Password, EachByteCombinedWithItsKey)
{
    const PasswordCase& c = GetParam();
    EXPECT_EQ(encodePassword(c.text), c.encoded);
    EXPECT_EQ(decodePassword(c.text), c.decoded);
    EXPECT_EQ(decodePassword(c.text.c_str()), c.decoded);
}

INSTANTIATE_TEST_SUITE_P(Cases, Password,
    testing::Values(PasswordCase {"Empty", "", "", ""},
        PasswordCase {"Letters", "ab", "\x76\x75", "\x7A\x79"},
        // A byte equal to the key becomes 0 and ends the text there.
        PasswordCase {"EncodeKeyEndsTheEncodedText", "a\x17z", "\x76", "\x7A\x0C\x61"},
        PasswordCase {"DecodeKeyEndsTheDecodedText", "a\x1Bz", "\x76\x0C\x6D", "\x7A"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Password, DecodingAnEncodedTextDoesNotGiveItBack)
{
    EXPECT_NE(decodePassword(encodePassword("secret")), "secret");
}

} // namespace
