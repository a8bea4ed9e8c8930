#include "framework/drawing/syscolor.h"

#include "platform/gdi/syscolor.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>

namespace {

class SysColorTest : public ::testing::Test
{
protected:
    void SetUp() override { zorUseClassicSysColors(true); }
    void TearDown() override { zorUseClassicSysColors(false); }
};

struct TableRow
{
    int row;
    const char* shortName;
    int index;
};

void PrintTo(const TableRow& row, std::ostream* os)
{
    *os << "row " << row.row << " " << row.shortName;
}

class SysColorTableRow : public ::testing::TestWithParam<TableRow>
{
};

} // namespace

// Other modules index the exported table directly: each row's place, short name and index are
// fixed, and its long name starts with the index's platform name.
TEST_P(SysColorTableRow, HoldsItsColourAtItsPlace)
{
    const TableRow& expected = GetParam();
    const NAMEVAL& row = CSysColor::m_colorNameVal[expected.row];
    EXPECT_EQ(row.value, expected.index);
    EXPECT_STREQ(row.shortName, expected.shortName);
    EXPECT_EQ(
        std::string(row.name).rfind(std::string("(COLOR_") + expected.shortName + ") ", 0), 0u)
        << row.name;
    EXPECT_EQ(CSysColor::getShortName(expected.row), expected.shortName);
    EXPECT_EQ(CSysColor::getName(expected.row), row.name);
    EXPECT_EQ(CSysColor::getSysColorVal(expected.row), expected.index);
    EXPECT_EQ(CSysColor::getRGB(expected.row), GetSysColor(expected.index));
}

INSTANTIATE_TEST_SUITE_P(AllRows, SysColorTableRow,
    ::testing::Values(TableRow {0, "3DDKSHADOW", 21}, TableRow {1, "3DFACE", 15},
        TableRow {2, "3DHILIGHT", 20}, TableRow {3, "3DLIGHT", 22}, TableRow {4, "3DSHADOW", 16},
        TableRow {5, "ACTIVEBORDER", 10}, TableRow {6, "ACTIVECAPTION", 2},
        TableRow {7, "APPWORKSPACE", 12}, TableRow {8, "BACKGROUND", 1},
        TableRow {9, "BTNTEXT", 18}, TableRow {10, "CAPTIONTEXT", 9}, TableRow {11, "GRAYTEXT", 17},
        TableRow {12, "HIGHLIGHT", 13}, TableRow {13, "HIGHLIGHTTEXT", 14},
        TableRow {14, "INACTIVEBORDER", 11}, TableRow {15, "INACTIVECAPTION", 3},
        TableRow {16, "INACTIVECAPTIONTEXT", 19}, TableRow {17, "INFOBK", 24},
        TableRow {18, "INFOTEXT", 23}, TableRow {19, "MENU", 4}, TableRow {20, "MENUTEXT", 7},
        TableRow {21, "SCROLLBAR", 0}, TableRow {22, "WINDOW", 5}, TableRow {23, "WINDOWFRAME", 6},
        TableRow {24, "WINDOWTEXT", 8}),
    [](const ::testing::TestParamInfo<TableRow>& info) {
        return std::string("Row") + std::to_string(info.param.row) + "_"
            + (info.param.shortName[0] == '3' ? std::string("C") + info.param.shortName
                                              : std::string(info.param.shortName));
    });

TEST(SysColorTable, HasTwentyFiveRowsSortedByShortName)
{
    EXPECT_EQ(CSysColor::c_nColors, 25);
    for (int row = 1; row < CSysColor::c_nColors; ++row) {
        EXPECT_LT(std::string(CSysColor::m_colorNameVal[row - 1].shortName),
            std::string(CSysColor::m_colorNameVal[row].shortName))
            << "row " << row;
    }
}

TEST(SysColorTable, RowTwoKeepsItsMissingParenthesis)
{
    EXPECT_EQ(CSysColor::getName(2),
        "(COLOR_3DHILIGHT) Highlight color for three-dimensional display elements (for edges "
        "facing the light source.");
}

class SysColorOutOfRange : public ::testing::TestWithParam<int>
{
};

TEST_P(SysColorOutOfRange, GivesEmptyNamesAndSystemColourZero)
{
    const int row = GetParam();
    EXPECT_EQ(CSysColor::getName(row), "");
    EXPECT_EQ(CSysColor::getShortName(row), "");
    EXPECT_EQ(CSysColor::getSysColorVal(row), 0);
    EXPECT_EQ(CSysColor::getRGB(row), GetSysColor(COLOR_SCROLLBAR));
}

INSTANTIATE_TEST_SUITE_P(Rows, SysColorOutOfRange,
    ::testing::Values(-1, 25, 26, 1000, INT_MIN, INT_MAX),
    [](const ::testing::TestParamInfo<int>& info) {
        return info.param < 0 ? "Minus" + std::to_string(-static_cast<long long>(info.param))
                              : std::to_string(info.param);
    });

TEST_F(SysColorTest, RgbOfARowIsTheCurrentSystemColour)
{
    EXPECT_EQ(CSysColor::getRGB(22), zorClassicSysColor(COLOR_WINDOW));
    EXPECT_EQ(CSysColor::getRGB(4), zorClassicSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(CSysColor::getRGB(21), zorClassicSysColor(COLOR_SCROLLBAR));
}

TEST_F(SysColorTest, PlainColourComesBackUnchanged)
{
    const COLORREF plain = RGB(0x00, 0x80, 0xFF);
    EXPECT_EQ(plain, 0x00FF8000u);
    EXPECT_EQ(CSysColor::getColor(plain), plain);
    EXPECT_EQ(CSysColor::getColor(0x00FFFFFF), 0x00FFFFFFu);
    EXPECT_EQ(CSysColor::getColor(0), 0u);
}

TEST_F(SysColorTest, TopByteNamesTheSystemColourWhateverTheLowBits)
{
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(CSysColor::getColor(0x05000000), window);
    EXPECT_EQ(CSysColor::getColor(0x05123456), window);
    EXPECT_EQ(CSysColor::getColor(0x05FFFFFF), window);
    EXPECT_EQ(CSysColor::getColor(0x0F000000), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(CSysColor::getColor(0x08ABCDEF), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_NE(CSysColor::getColor(0x05123456), 0x123456u);
}

TEST_F(SysColorTest, TopByteAboveTheTableStillNamesThatIndex)
{
    EXPECT_EQ(CSysColor::getColor(0x1A000000), GetSysColor(26));
    EXPECT_EQ(CSysColor::getColor(0x1B445566), GetSysColor(27));
    // No system colour has index 64: the platform gives 0 for it.
    EXPECT_EQ(CSysColor::getColor(0x40ABCDEF), 0u);
}

TEST_F(SysColorTest, TopByteFromEightyIsANegativeIndex)
{
    // Shifted with its sign, 0x85 gives the index -123, which names no colour; the OLE form
    // 0x80000000 plus index is not a system-colour reference here.
    EXPECT_EQ(CSysColor::getColor(0x85000000), GetSysColor(-123));
    EXPECT_EQ(CSysColor::getColor(0x85000000), 0u);
    EXPECT_EQ(CSysColor::getColor(0x80000005), 0u);
}

struct HexCase
{
    const char* name;
    COLORREF color;
    const char* text;
};

void PrintTo(const HexCase& hex, std::ostream* os)
{
    *os << hex.name;
}

class SysColorFormatHex : public ::testing::TestWithParam<HexCase>
{
};

TEST_P(SysColorFormatHex, WritesBlueGreenRed)
{
    EXPECT_EQ(CSysColor::formatHex(GetParam().color), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Colours, SysColorFormatHex,
    ::testing::Values(HexCase {"Mixed", RGB(0x12, 0x34, 0x56), "0x563412"},
        HexCase {"PureRed", RGB(0xFF, 0, 0), "0x0000FF"},
        HexCase {"PureBlue", RGB(0, 0, 0xFF), "0xFF0000"}, HexCase {"Black", 0, "0x000000"},
        HexCase {"White", 0xFFFFFF, "0xFFFFFF"},
        HexCase {"LowDigits", RGB(0x0A, 0x0B, 0x0C), "0x0C0B0A"},
        HexCase {"TopByteIgnored", 0x05ABCDEF, "0xABCDEF"}),
    [](const ::testing::TestParamInfo<HexCase>& info) { return info.param.name; });
