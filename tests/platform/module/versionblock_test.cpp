#include "platform/module/fileversioninfo.h"
#include "platform/module/versionblock.h"

#include "tests/platform/module/guardedbuffer.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

ZorVersionInfo sampleInfo()
{
    ZorVersionInfo info;
    const WORD file[4] = {3, 12, 7, 1};
    const WORD product[4] = {1, 5, 0, 3};
    std::memcpy(info.fileVersion, file, sizeof file);
    std::memcpy(info.productVersion, product, sizeof product);
    info.strings
        = {{"CompanyName", "Zorvex"}, {"FileDescription", "Test \xc2\xa9 2002 \xe2\x82\xac"},
            {"LegalTrademarks", ""}, {"ProductName", "Sample"}, {"ProductVersion", "1.5.0.3"}};
    return info;
}

// Version data as GetFileVersionInfoA lays it out: the block, then the room for its texts.
std::vector<BYTE> dataOf(const std::vector<BYTE>& block)
{
    std::vector<BYTE> data(zorVersionDataSize(block.size()), 0);
    std::memcpy(data.data(), block.data(), block.size());
    return data;
}

std::string text(std::vector<BYTE>& data, const char* subBlock)
{
    void* value = nullptr;
    UINT length = 0;
    if (!zorVerQueryValue(data.data(), data.size(), subBlock, &value, &length))
        return "<none>";
    return std::string(static_cast<const char*>(value), length - 1);
}

void putWord(std::vector<BYTE>& bytes, std::size_t offset, WORD value)
{
    bytes[offset] = static_cast<BYTE>(value & 0xFF);
    bytes[offset + 1] = static_cast<BYTE>(value >> 8);
}

std::size_t offsetOfKey(const std::vector<BYTE>& block, const std::u16string& key)
{
    // The node header lies just before its key.
    for (std::size_t i = 6; i + key.size() * 2 <= block.size(); i += 2) {
        bool same = true;
        for (std::size_t k = 0; k < key.size() && same; ++k)
            same = zorReadWord(block.data() + i + 2 * k) == key[k];
        if (same)
            return i - 6;
    }
    return std::string::npos;
}

const char* const LOOKUPS[] = {"\\", "\\VarFileInfo\\Translation",
    "\\StringFileInfo\\040904e4\\ProductName", "\\StringFileInfo\\040904E4\\FileDescription",
    "\\StringFileInfo", "\\StringFileInfo\\040904e4"};

} // namespace

TEST(VersionBlock, LayoutOfTheRoot)
{
    const std::vector<BYTE> block = zorBuildVersionBlock(sampleInfo());
    ASSERT_GT(block.size(), 100u);
    EXPECT_EQ(zorReadWord(block.data()), block.size()) << "the root's length is the block's";
    EXPECT_EQ(zorReadWord(block.data() + 2), sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(zorReadWord(block.data() + 4), 0) << "binary";
    // The key "VS_VERSION_INFO" in UTF-16 at byte 6, its terminator, padding to 40.
    const char* key = "VS_VERSION_INFO";
    for (std::size_t i = 0; i < std::strlen(key); ++i)
        EXPECT_EQ(zorReadWord(block.data() + 6 + 2 * i), key[i]);
    EXPECT_EQ(zorReadWord(block.data() + 36), 0);
    DWORD signature = 0;
    std::memcpy(&signature, block.data() + 40, 4);
    EXPECT_EQ(signature, VS_FFI_SIGNATURE);
    DWORD fileHigh = 0;
    DWORD fileLow = 0;
    std::memcpy(&fileHigh, block.data() + 48, 4);
    std::memcpy(&fileLow, block.data() + 52, 4);
    EXPECT_EQ(fileHigh, (3u << 16) | 12u);
    EXPECT_EQ(fileLow, (7u << 16) | 1u);
}

TEST(VersionBlock, TextLookupsCompareNamesWithoutCase)
{
    std::vector<BYTE> data = dataOf(zorBuildVersionBlock(sampleInfo()));
    EXPECT_EQ(text(data, "\\StringFileInfo\\040904E4\\CompanyName"), "Zorvex");
    EXPECT_EQ(text(data, "\\StringFileInfo\\040904e4\\LegalTrademarks"), "");
    EXPECT_EQ(text(data, "\\stringfileinfo\\040904E4\\PRODUCTNAME"), "Sample");
    EXPECT_EQ(text(data, "\\\\StringFileInfo\\\\040904e4\\ProductName"), "Sample");
    EXPECT_EQ(text(data, "\\StringFileInfo\\040904b0\\ProductName"), "<none>");
    EXPECT_EQ(text(data, "\\StringFileInfo\\040904e4\\Product"), "<none>");
    EXPECT_EQ(text(data, "\\StringFileInfo\\040904e4\\ProductNameX"), "<none>");
}

TEST(VersionBlock, TextsBecomeUtf8AndStayValid)
{
    std::vector<BYTE> data = dataOf(zorBuildVersionBlock(sampleInfo()));
    void* first = nullptr;
    void* second = nullptr;
    UINT length = 0;
    ASSERT_TRUE(zorVerQueryValue(
        data.data(), data.size(), "\\StringFileInfo\\040904e4\\FileDescription", &first, &length));
    EXPECT_EQ(length, std::strlen("Test \xc2\xa9 2002 \xe2\x82\xac") + 1);
    ASSERT_TRUE(zorVerQueryValue(
        data.data(), data.size(), "\\StringFileInfo\\040904e4\\ProductName", &second, &length));
    EXPECT_STREQ(static_cast<const char*>(first), "Test \xc2\xa9 2002 \xe2\x82\xac")
        << "a later lookup does not overwrite an earlier text";
    EXPECT_STREQ(static_cast<const char*>(second), "Sample");
    EXPECT_GE(static_cast<BYTE*>(first), data.data() + zorReadWord(data.data()))
        << "texts are converted after the block, never over it";
}

TEST(VersionBlock, TooLongTextsGiveNoBlock)
{
    ZorVersionInfo info = sampleInfo();
    info.strings.emplace_back("Comments", std::string(40000, 'x'));
    EXPECT_TRUE(zorBuildVersionBlock(info).empty());
}

TEST(VersionBlockDamage, DataWithoutRoomStillGivesTheFixedPart)
{
    const std::vector<BYTE> block = zorBuildVersionBlock(sampleInfo());
    GuardedBuffer data(block);
    void* value = nullptr;
    UINT length = 0;
    EXPECT_TRUE(zorVerQueryValue(data.data(), data.size(), "\\", &value, &length));
    EXPECT_FALSE(zorVerQueryValue(
        data.data(), data.size(), "\\StringFileInfo\\040904e4\\ProductName", &value, &length))
        << "no room to convert into";
}

TEST(VersionBlockDamage, TruncatedDataIsRefusedAtEveryLength)
{
    const std::vector<BYTE> full = dataOf(zorBuildVersionBlock(sampleInfo()));
    const std::size_t blockLength = zorReadWord(full.data());
    for (std::size_t size = 0; size < blockLength; ++size) {
        GuardedBuffer data(std::vector<BYTE>(full.begin(), full.begin() + static_cast<long>(size)));
        for (const char* lookup : LOOKUPS) {
            void* value = nullptr;
            UINT length = 0;
            EXPECT_FALSE(zorVerQueryValue(data.data(), data.size(), lookup, &value, &length))
                << lookup << " in " << size << " bytes";
        }
        EXPECT_EQ(zorVersionBlockLength(data.data(), data.size()), 0u);
    }
}

TEST(VersionBlockDamage, EveryDamagedByteStaysInsideTheData)
{
    const std::vector<BYTE> full = dataOf(zorBuildVersionBlock(sampleInfo()));
    const std::size_t blockLength = zorReadWord(full.data());
    int answered = 0;
    for (std::size_t offset = 0; offset < blockLength; ++offset) {
        for (BYTE damage : {BYTE {0x00}, BYTE {0xFF}, BYTE {0x07}}) {
            std::vector<BYTE> bytes = full;
            bytes[offset] = damage;
            GuardedBuffer data(bytes);
            for (const char* lookup : LOOKUPS) {
                void* value = nullptr;
                UINT length = 0;
                if (zorVerQueryValue(data.data(), data.size(), lookup, &value, &length)) {
                    ++answered;
                    EXPECT_TRUE(data.holds(value, length)) << lookup << " at " << offset;
                }
            }
        }
    }
    EXPECT_GT(answered, 0) << "damage to unrelated bytes leaves other values readable";
}

TEST(VersionBlockDamage, ChildLongerThanItsParentIsNotRead)
{
    std::vector<BYTE> block = zorBuildVersionBlock(sampleInfo());
    const std::size_t table = offsetOfKey(block, u"040904E4");
    ASSERT_NE(table, std::string::npos);
    putWord(block, table, 0xFFF0);
    std::vector<BYTE> data = dataOf(block);
    EXPECT_EQ(text(data, "\\StringFileInfo\\040904e4\\ProductName"), "<none>");
    void* value = nullptr;
    UINT length = 0;
    EXPECT_TRUE(
        zorVerQueryValue(data.data(), data.size(), "\\VarFileInfo\\Translation", &value, &length))
        << "a sibling of the damaged node is still found";
    EXPECT_EQ(length, 4u);
}

TEST(VersionBlockDamage, TextLongerThanItsNodeIsNotRead)
{
    std::vector<BYTE> block = zorBuildVersionBlock(sampleInfo());
    const std::size_t entry = offsetOfKey(block, u"ProductName");
    ASSERT_NE(entry, std::string::npos);
    putWord(block, entry + 2, 0x7FFF); // characters of the value
    std::vector<BYTE> data = dataOf(block);
    EXPECT_EQ(text(data, "\\StringFileInfo\\040904e4\\ProductName"), "<none>");
    EXPECT_EQ(text(data, "\\StringFileInfo\\040904e4\\ProductVersion"), "<none>")
        << "nodes after a damaged one are not guessed at";
    EXPECT_EQ(text(data, "\\StringFileInfo\\040904e4\\CompanyName"), "Zorvex");
}

struct Utf8Case
{
    const char* name;
    std::string utf8;
    std::u16string utf16;
    std::string back;
};

class VersionText : public testing::TestWithParam<Utf8Case>
{
};

TEST_P(VersionText, ConvertsBetweenUtf8AndUtf16)
{
    EXPECT_EQ(zorUtf8ToUtf16(GetParam().utf8), GetParam().utf16);
    EXPECT_EQ(zorUtf16ToUtf8(GetParam().utf16), GetParam().back);
}

INSTANTIATE_TEST_SUITE_P(Texts, VersionText,
    testing::Values(Utf8Case {"TwoBytes", "\xc2\xa9", u"\u00a9", "\xc2\xa9"},
        Utf8Case {"SurrogatePair", "\xf0\x9f\x98\x80", u"\U0001F600", "\xf0\x9f\x98\x80"},
        Utf8Case {"CutSequence", "a\xe2\x82", u"a\ufffd\ufffd", "a\xef\xbf\xbd\xef\xbf\xbd"},
        Utf8Case {"EncodedSurrogate", "\xed\xa0\x80", u"\ufffd\ufffd\ufffd",
            "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"}),
    [](const testing::TestParamInfo<Utf8Case>& info) { return std::string(info.param.name); });
