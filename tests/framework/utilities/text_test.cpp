#include "framework/utilities/utilities.h"
#include "platform/module/module.h"
#include "platform/ui/strings.h"

#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string s_longText(600, 'L');

} // namespace

ZOR_STRING_TABLE({{3001, "Host unavailable"}, {3002, s_longText.c_str()}});

struct TextCase
{
    const char* name;
    const char* input;
    const char* output;
};

std::string caseName(const testing::TestParamInfo<TextCase>& info)
{
    return info.param.name;
}

class Trim : public testing::TestWithParam<TextCase>
{
};

TEST_P(Trim, InPlaceAndOnACopyAgree)
{
    std::string buffer(GetParam().input);
    char* text = buffer.data();
    EXPECT_EQ(trim(text), text);
    EXPECT_STREQ(text, GetParam().output);
    EXPECT_EQ(trim(static_cast<const char*>(GetParam().input)), GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(Table, Trim,
    testing::Values(TextCase {"TabsBlanksAndLineEnd", "\t  abc  \r\n", "abc"},
        TextCase {"LeadingHighByte",
            "\xE9"
            "abc",
            "abc"},
        TextCase {"TrailingHighBytes", "abc\xFF\x80", "abc"},
        TextCase {"InnerBlankKept", " a b ", "a b"}, TextCase {"ExclamationKept", "!x!", "!x!"},
        TextCase {"DeleteKept", "x\x7F", "x\x7F"}, TextCase {"OnlyBlanks", " \t ", ""},
        TextCase {"Empty", "", ""}),
    caseName);

TEST(Trim, NullGivesNullAndTheEmptyText)
{
    EXPECT_EQ(trim(static_cast<char*>(nullptr)), nullptr);
    EXPECT_EQ(trim(static_cast<const char*>(nullptr)), "");
}

TEST(Trim, CopyOf1024CharactersOrMoreIsUnchanged)
{
    const std::string longText = " " + std::string(1022, 'x') + " ";
    EXPECT_EQ(trim(longText.c_str()), longText);
    const std::string shorter = " " + std::string(1021, 'x') + " ";
    EXPECT_EQ(trim(shorter.c_str()), std::string(1021, 'x'));
}

TEST(TrimUpper, AsciiWhiteSpaceRemovedThenUpperCase)
{
    EXPECT_EQ(trimUpper("  host one\t\r\n"), "HOST ONE");
    EXPECT_EQ(trimUpper("\xE9t\xE9"), "\xE9T\xE9"); // bytes from 0x80 up are neither
    EXPECT_EQ(trimUpper(nullptr), "");
}

TEST(RemoveComma, RunsAndAFinalCommaGoToo)
{
    EXPECT_EQ(removeComma("1,,234,"), "1234");
    EXPECT_EQ(removeComma(",,,"), "");
}

TEST(Nospace, BlanksApostrophesCommasAndHyphensGo)
{
    EXPECT_EQ(nospace("O'Neil - Smith, Jr"), "ONeilSmithJr");
    EXPECT_EQ(nospace("a\tb"), "a\tb");
}

TEST(RemoveComma, OnlyTheFirst127CharactersAreRead)
{
    const std::string longText = std::string(120, '1') + std::string(20, ',') + "99";
    EXPECT_EQ(removeComma(longText.c_str()), std::string(120, '1'));
    const std::string digits(200, '7');
    EXPECT_EQ(removeComma(digits.c_str()), std::string(127, '7'));
    EXPECT_EQ(nospace(digits.c_str()), std::string(127, '7'));
    EXPECT_EQ(removeComma(nullptr), "");
    EXPECT_EQ(nospace(nullptr), "");
}

TEST(LoadString, TextOfTheCurrentResourceModule)
{
    EXPECT_EQ(loadString(3001), "Host unavailable");
    EXPECT_EQ(loadString(3999), "");
    EXPECT_EQ(loadString(3002), std::string(511, 'L'));

    const HMODULE module = LoadLibraryA(ZOR_STRING_TEST_MODULE);
    ASSERT_NE(module, nullptr);
    AfxSetResourceHandle(module);
    EXPECT_EQ(loadString(101), "Text of the module");
    EXPECT_EQ(loadString(3001), "");
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(loadString(3001), "Host unavailable");
    FreeLibrary(module);
}

TEST(NextItem, WalksTheTokensTrimmed)
{
    char text[] = " alpha ,beta,, gamma\t,";
    EXPECT_STREQ(nextItem(text, ","), "alpha");
    EXPECT_STREQ(nextItem(nullptr, ","), "beta");
    EXPECT_STREQ(nextItem(nullptr, ","), "gamma");
    EXPECT_STREQ(nextItem(nullptr, ","), "");
    EXPECT_STREQ(nextItem(nullptr, ","), "");
}

TEST(NextItem, ContinuingWithoutAWalkGivesTheEmptyText)
{
    std::string first = "unset";
    std::thread([&] { first = nextItem(nullptr, ","); }).join();
    EXPECT_EQ(first, "");
}

TEST(NextItem, EachThreadKeepsItsOwnWalk)
{
    char mine[] = "1,2,3";
    EXPECT_STREQ(nextItem(mine, ","), "1");
    std::vector<std::string> theirs;
    std::thread([&] {
        char text[] = "x,y";
        theirs.push_back(nextItem(text, ","));
        theirs.push_back(nextItem(nullptr, ","));
        theirs.push_back(nextItem(nullptr, ","));
    }).join();
    EXPECT_EQ(theirs, (std::vector<std::string> {"x", "y", ""}));
    EXPECT_STREQ(nextItem(nullptr, ","), "2");
    EXPECT_STREQ(nextItem(nullptr, ","), "3");
}

TEST(NextItemInt, DecimalValueOfEachToken)
{
    char text[] = "10; -20 ;x;7kg";
    EXPECT_EQ(nextItemInt(text, ";"), 10);
    EXPECT_EQ(nextItemInt(nullptr, ";"), -20);
    EXPECT_EQ(nextItemInt(nullptr, ";"), 0);
    EXPECT_EQ(nextItemInt(nullptr, ";"), 7);
    EXPECT_EQ(nextItemInt(nullptr, ";"), 0);
}
