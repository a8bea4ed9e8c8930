#include "platform/types/rect.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct PointCase
{
    const char* name;
    CPoint point;
    bool inside;
};

class RectPtInRect : public ::testing::TestWithParam<PointCase>
{
};

// Right and bottom edges are exclusive: a rectangle of width w holds x = left ... left + w - 1.
TEST_P(RectPtInRect, EdgesFollowDeviceRules)
{
    const CRect r(10, 20, 30, 40);
    EXPECT_EQ(r.PtInRect(GetParam().point), GetParam().inside);
}

INSTANTIATE_TEST_SUITE_P(RectPtInRect, RectPtInRect,
    ::testing::Values(PointCase {"TopLeft", {10, 20}, true},
        PointCase {"LastPixel", {29, 39}, true}, PointCase {"RightEdge", {30, 25}, false},
        PointCase {"BottomEdge", {15, 40}, false}, PointCase {"LeftOfLeft", {9, 25}, false},
        PointCase {"AboveTop", {15, 19}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RectPtInRect, EmptyRectangleHoldsNothing)
{
    EXPECT_FALSE(CRect(5, 5, 5, 10).PtInRect(CPoint(5, 5)));
}

TEST(RectIntersect, DisjointGivesNullAndFalse)
{
    CRect r(1, 2, 3, 4);
    EXPECT_FALSE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(20, 20, 30, 30)));
    EXPECT_TRUE(r.IsRectNull());
    // Rectangles that only share an edge do not overlap.
    r.SetRect(1, 2, 3, 4);
    EXPECT_FALSE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(10, 0, 20, 10)));
    EXPECT_TRUE(r.IsRectNull());
}

TEST(RectIntersect, OverlapIsTheCommonPart)
{
    CRect r(0, 0, 10, 10);
    EXPECT_TRUE(r.IntersectRect(r, CRect(5, -5, 20, 8)));
    EXPECT_EQ(r, CRect(5, 0, 10, 8));
}

TEST(RectUnion, EmptyOperandIsIgnored)
{
    CRect r;
    // An empty rectangle far away must not stretch the union.
    EXPECT_TRUE(r.UnionRect(CRect(100, 100, 100, 200), CRect(0, 0, 10, 10)));
    EXPECT_EQ(r, CRect(0, 0, 10, 10));
    EXPECT_TRUE(r.UnionRect(CRect(0, 0, 10, 10), CRect(-50, -50, -60, -40)));
    EXPECT_EQ(r, CRect(0, 0, 10, 10));
    EXPECT_TRUE(r.UnionRect(CRect(0, 0, 10, 10), CRect(5, 5, 20, 6)));
    EXPECT_EQ(r, CRect(0, 0, 20, 10));
}

TEST(RectUnion, BothEmptyGivesNullAndFalse)
{
    CRect r(1, 2, 3, 4);
    EXPECT_FALSE(r.UnionRect(CRect(100, 100, 100, 200), CRect(7, 7, 3, 9)));
    EXPECT_TRUE(r.IsRectNull());
}

} // namespace
