#include "framework/lists/sortclass.h"

#include "framework/lists/sortlistctrl.h"
#include "tests/framework/lists/listtestsupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct CompareCase
{
    const char* name;
    int kind;
    const char* a;
    const char* b;
    int expected; // -1, 0 or 1 for an ascending comparison
};

class SortCompare : public testing::TestWithParam<CompareCase>
{
};

} // namespace

TEST_P(SortCompare, ByKindAndSign)
{
    const CompareCase& c = GetParam();
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    // Compare sees pairs whose texts are the two texts; the sign of the kind is the direction.
    struct Pair
    {
        DWORD_PTR data;
        std::string text;
    };
    EXPECT_EQ(sign(CSortClass::compareTexts(c.a, c.b, c.kind)), c.expected);
    const Pair a {0, c.a};
    const Pair b {0, c.b};
    const auto pa = reinterpret_cast<LPARAM>(&a);
    const auto pb = reinterpret_cast<LPARAM>(&b);
    EXPECT_EQ(sign(CSortClass::Compare(pa, pb, c.kind)), c.expected);
    EXPECT_EQ(sign(CSortClass::Compare(pa, pb, -c.kind)), -c.expected);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SortCompare,
    testing::Values(CompareCase {"IntLarger", eSORT_INT, "10", "9", 1},
        CompareCase {"IntNegative", eSORT_INT, "-5", "3", -1},
        // The difference of the two does not fit in 32 bits.
        CompareCase {"IntExtremes", eSORT_INT, "2147483647", "-2147483648", 1},
        CompareCase {"IntEqual", eSORT_INT, "007", "7", 0},
        CompareCase {"TextNoCase", eSORT_TEXT, "apple", "Banana", -1},
        CompareCase {"TextEqualNoCase", eSORT_TEXT, "ABC", "abc", 0},
        CompareCase {"TextPrefix", eSORT_TEXT, "ab", "abc", -1},
        CompareCase {"DateEarlier", eSORT_DATE, "6/5/2002", "June 7, 2002", -1},
        CompareCase {"DateTimeLater", eSORT_DATE, "6/5/2002 14:07", "6/5/2002 9:00", 1},
        CompareCase {"DateNeverEqual", eSORT_DATE, "2002-06-05", "2002-06-05", 1},
        CompareCase {"DateUnreadable", eSORT_DATE, "not a date", "6/5/2002", 0},
        CompareCase {"DecimalSmaller", eSORT_DEC, "2.25", "10.5", -1},
        CompareCase {"DecimalEqualIsGreater", eSORT_DEC, "2.5", "2.5", 1},
        CompareCase {"HexLarger", eSORT_HEX, "FF", "1a", 1},
        // 0xFFFFFFFF reads as -1: compared, not subtracted, it stays below 0x7FFFFFFF.
        CompareCase {"HexWrapped", eSORT_HEX, "7FFFFFFF", "FFFFFFFF", 1},
        CompareCase {"UnknownKind", 6, "1", "2", 0}, CompareCase {"NoKind", 0, "1", "2", 0}),
    [](const testing::TestParamInfo<CompareCase>& info) { return std::string(info.param.name); });

namespace {

// A list whose first column holds the texts of one kind.
class KindList : public CSortListCtrl
{
public:
    eSORTCTRLTYPE kind {eSORT_TEXT};
    eSORTCTRLTYPE getColType(int column) override { return column == 0 ? kind : eSORT_TEXT; }
};

struct SortCase
{
    const char* name;
    eSORTCTRLTYPE kind;
    std::vector<const char*> texts;
    std::vector<const char*> ascending;
    std::vector<const char*> descending;
};

class SortThroughList : public testing::TestWithParam<SortCase>
{
};

std::vector<std::string> firstColumn(CListCtrl& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetItemCount(); ++i)
        texts.push_back(list.GetItemText(i, 0));
    return texts;
}

} // namespace

TEST_P(SortThroughList, OrdersBothWaysAndKeepsItemData)
{
    const SortCase& c = GetParam();
    ListParent parent;
    KindList list;
    list.kind = c.kind;
    ASSERT_TRUE(list.Create(LVS_REPORT | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 10));
    list.addColumn("Value", 0, 100);
    for (std::size_t i = 0; i < c.texts.size(); ++i) {
        list.addItem(static_cast<int>(i), 0, c.texts[i]);
        // Each item's data names its text, so it can be checked after the sort.
        list.SetItemData(static_cast<int>(i), 1000 + i);
    }
    const auto check = [&](const std::vector<const char*>& expected) {
        EXPECT_EQ(firstColumn(list), std::vector<std::string>(expected.begin(), expected.end()));
        for (int i = 0; i < list.GetItemCount(); ++i) {
            const std::string text = list.GetItemText(i, 0);
            const auto original = std::find_if(c.texts.begin(), c.texts.end(), [&](const char* t) {
                return text == t;
            }) - c.texts.begin();
            EXPECT_EQ(list.GetItemData(i), static_cast<DWORD_PTR>(1000 + original)) << text;
        }
    };
    {
        CSortClass sorter(&list, 0);
        sorter.Sort(TRUE, c.kind);
    }
    check(c.ascending);
    {
        CSortClass sorter(&list, 0);
        sorter.Sort(FALSE, c.kind);
    }
    check(c.descending);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SortThroughList,
    testing::Values(SortCase {"Int", eSORT_INT, {"10", "-3", "2", "100"}, {"-3", "2", "10", "100"},
                        {"100", "10", "2", "-3"}},
        SortCase {"Text", eSORT_TEXT, {"pear", "Apple", "banana", "apricot"},
            {"Apple", "apricot", "banana", "pear"}, {"pear", "banana", "apricot", "Apple"}},
        SortCase {"Date", eSORT_DATE, {"6/5/2002", "1/2/2001", "12/31/2002", "3/4/2002"},
            {"1/2/2001", "3/4/2002", "6/5/2002", "12/31/2002"},
            {"12/31/2002", "6/5/2002", "3/4/2002", "1/2/2001"}},
        // A text that is no date compares equal to every date, so no item moves past it.
        SortCase {"DateUnreadable", eSORT_DATE, {"6/5/2002", "soon", "1/2/2001"},
            {"6/5/2002", "soon", "1/2/2001"}, {"6/5/2002", "soon", "1/2/2001"}},
        SortCase {"Decimal", eSORT_DEC, {"2.5", "-1.25", "10", "0.5"},
            {"-1.25", "0.5", "2.5", "10"}, {"10", "2.5", "0.5", "-1.25"}},
        SortCase {"Hex", eSORT_HEX, {"ff", "1A", "0", "100"}, {"0", "1A", "ff", "100"},
            {"100", "ff", "1A", "0"}}),
    [](const testing::TestParamInfo<SortCase>& info) { return std::string(info.param.name); });

TEST(SortClassLifetime, ReplacesDataWithPairsAndPutsItBack)
{
    ListParent parent;
    CSortListCtrl list;
    ASSERT_TRUE(list.Create(LVS_REPORT, CRect(0, 0, 300, 200), &parent, 10));
    list.addColumn("A", 0, 50);
    list.addColumn("B", 1, 50);
    list.addItem(0, 0, "x");
    list.addItem(0, 1, "second");
    list.SetItemData(0, 77);
    {
        CSortClass sorter(&list, 1);
        EXPECT_NE(list.GetItemData(0), 77u);
        // The pair holds the data and the sort column's text.
        EXPECT_EQ(CSortClass::Compare(static_cast<LPARAM>(list.GetItemData(0)),
                      static_cast<LPARAM>(list.GetItemData(0)), eSORT_TEXT),
            0);
        // An item the program adds meanwhile keeps its own data afterwards.
        list.addItem(1, 0, "late");
        list.SetItemData(1, 5);
    }
    EXPECT_EQ(list.GetItemData(0), 77u);
    EXPECT_EQ(list.GetItemData(1), 5u);
}
