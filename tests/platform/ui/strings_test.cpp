#include "platform/module/module.h"
#include "platform/ui/strings.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

ZOR_STRING_TABLE({{101, "Text of the program"}, {102, "Only in the program"}, {7, "abcdefghij"}});

namespace {

std::string load(HMODULE module, UINT id, int* count = nullptr)
{
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer);
    const int n = LoadStringA(module, id, buffer, sizeof buffer);
    if (count)
        *count = n;
    return buffer;
}

} // namespace

TEST(StringResource, NullHandleNamesTheProgram)
{
    int count = 0;
    EXPECT_EQ(load(nullptr, 101, &count), "Text of the program");
    EXPECT_EQ(count, 19);
    EXPECT_EQ(load(GetModuleHandleA(nullptr), 102), "Only in the program");
}

TEST(StringResource, MissingIdGivesZeroAndTheEmptyText)
{
    int count = -1;
    EXPECT_EQ(load(nullptr, 9999, &count), "");
    EXPECT_EQ(count, 0);
    EXPECT_EQ(LoadStringA(nullptr, 101, nullptr, 10), 0) << "no buffer";
}

struct CutCase
{
    const char* name;
    int bufferMax;
    int count;
    const char* text;
};

class StringResourceCut : public testing::TestWithParam<CutCase>
{
};

TEST_P(StringResourceCut, CopiesUpToOneLessThanTheBuffer)
{
    const CutCase& c = GetParam();
    char buffer[32];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(LoadStringA(nullptr, 7, buffer, c.bufferMax), c.count);
    EXPECT_STREQ(buffer, c.text);
    EXPECT_EQ(buffer[c.bufferMax], 'x') << "wrote beyond the buffer";
}

INSTANTIATE_TEST_SUITE_P(Table, StringResourceCut,
    testing::Values(CutCase {"OneCharacterBuffer", 1, 0, ""}, CutCase {"Cut", 5, 4, "abcd"},
        CutCase {"ExactFit", 11, 10, "abcdefghij"}, CutCase {"Roomy", 20, 10, "abcdefghij"}),
    [](const testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });

TEST(StringResource, LookedUpInTheModuleGiven)
{
    const HMODULE module = LoadLibraryA(ZOR_STRING_TEST_MODULE);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(load(module, 101), "Text of the module");
    EXPECT_EQ(load(module, 103), "Only in the module");
    EXPECT_EQ(load(module, 102), "") << "a text of the program found in the module";
    EXPECT_EQ(load(nullptr, 101), "Text of the program");
    EXPECT_EQ(load(nullptr, 103), "") << "a text of the module found in the program";
    EXPECT_TRUE(FreeLibrary(module));
}

// Each round loads the module anew; after the last unload the lookup walks only live tables.
TEST(StringResource, UnloadedModuleLeavesNoTableBehind)
{
    for (int round = 0; round < 2; ++round) {
        const HMODULE module = LoadLibraryA(ZOR_STRING_TEST_MODULE);
        ASSERT_NE(module, nullptr);
        EXPECT_EQ(load(module, 103), "Only in the module") << "round " << round;
        EXPECT_TRUE(FreeLibrary(module));
    }
    EXPECT_EQ(load(nullptr, 103), "");
}
