#include "framework/lists/sortlistctrl.h"
#include "framework/lists/virtuallistctrl.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/syscolor.h"
#include "tests/framework/lists/listtestsupport.h"

#include <QtWidgets/QTableView>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

struct Click
{
    int column;
    Qt::MouseButton button;
};

struct ClickCase
{
    const char* name;
    std::vector<Click> clicks;
    int sortColumn;
    BOOL ascending;
    std::vector<std::string> names; // column 0 after the clicks
    std::vector<ListMessage> posted;
};

class HeaderClicks : public testing::TestWithParam<ClickCase>
{
};

// Column 0 names, column 1 numbers (kind 1).
class PeopleList : public CSortListCtrl
{
public:
    eSORTCTRLTYPE getColType(int column) override { return column == 1 ? eSORT_INT : eSORT_TEXT; }
};

} // namespace

TEST_P(HeaderClicks, SortAndTellTheParent)
{
    const ClickCase& c = GetParam();
    ListParent parent;
    PeopleList list;
    ASSERT_TRUE(list.Create(LVS_REPORT | WS_VISIBLE, CRect(0, 0, 360, 240), &parent, 10));
    parent.ShowWindow(SW_SHOW);
    list.addColumn("Name", 0, 100);
    list.addColumn("Age", 1, 60);
    const char* rows[][2] = {{"carol", "9"}, {"alice", "30"}, {"bob", "100"}};
    for (int i = 0; i < 3; ++i) {
        list.addItem(i, 0, rows[i][0]);
        list.addItem(i, 1, rows[i][1]);
    }
    deliverPosted();
    for (const Click& click : c.clicks)
        clickHeader(list, click.column, click.button);
    deliverPosted();

    EXPECT_EQ(list.sortColumn(), c.sortColumn);
    EXPECT_EQ(list.sortAscending(), c.ascending);
    EXPECT_EQ(list.sortHeader().sortColumn(), c.sortColumn);
    std::vector<std::string> names;
    for (int i = 0; i < list.GetItemCount(); ++i)
        names.push_back(list.GetItemText(i, 0));
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(parent.posted, c.posted);
}

INSTANTIATE_TEST_SUITE_P(Cases, HeaderClicks,
    testing::Values(ClickCase {"FirstClickAscending", {{0, Qt::LeftButton}}, 0, TRUE,
                        {"alice", "bob", "carol"}, {{WM_SORTLIST_SORTED, 0, 1}}},
        ClickCase {"SameAgainDescending", {{0, Qt::LeftButton}, {0, Qt::LeftButton}}, 0, FALSE,
            {"carol", "bob", "alice"}, {{WM_SORTLIST_SORTED, 0, 1}, {WM_SORTLIST_SORTED, 0, 0}}},
        ClickCase {"AnotherAscending",
            {{0, Qt::LeftButton}, {0, Qt::LeftButton}, {1, Qt::LeftButton}}, 1, TRUE,
            {"carol", "alice", "bob"},
            {{WM_SORTLIST_SORTED, 0, 1}, {WM_SORTLIST_SORTED, 0, 0}, {WM_SORTLIST_SORTED, 1, 1}}},
        ClickCase {
            "RightClickNothing", {{0, Qt::RightButton}}, -1, TRUE, {"carol", "alice", "bob"}, {}},
        ClickCase {"RightClickKeepsSort", {{1, Qt::LeftButton}, {1, Qt::RightButton}}, 1, TRUE,
            {"carol", "alice", "bob"}, {{WM_SORTLIST_SORTED, 1, 1}}}),
    [](const testing::TestParamInfo<ClickCase>& info) { return std::string(info.param.name); });

TEST(SortListColumns, AddColumnWidthSubItemAndSizedMessage)
{
    ListParent parent;
    CSortListCtrl list;
    ASSERT_TRUE(list.Create(LVS_REPORT | WS_VISIBLE, CRect(0, 0, 360, 240), &parent, 10));
    parent.ShowWindow(SW_SHOW);
    EXPECT_EQ(list.AddColumn("Address", 0), 0);
    EXPECT_EQ(list.AddColumn(
                  "Host", 1, 4, LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT, LVCFMT_RIGHT),
        1);
    LVCOLUMN column;
    column.mask = LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
    ASSERT_TRUE(list.GetColumn(0, &column));
    EXPECT_EQ(column.cx, list.GetStringWidth("Address") + 15);
    EXPECT_GT(column.cx, 15);
    EXPECT_EQ(column.iSubItem, 0);
    ASSERT_TRUE(list.GetColumn(1, &column));
    EXPECT_EQ(column.iSubItem, 4);
    EXPECT_EQ(column.fmt, LVCFMT_RIGHT);

    EXPECT_EQ(list.getCurSel(), -1);
    list.addItem(0, 0, "a");
    list.addItem(1, 0, "b");
    list.addItem(2, 0, "c");
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.getCurSel(), 1);

    // The end of a divider drag and a divider double click each post the sized message.
    QHeaderView* header = headerViewOf(list);
    QWidget* viewport = header->viewport();
    const QPoint divider(header->sectionSize(0) - 1, header->height() / 2);
    const QPointF global = viewport->mapToGlobal(QPointF(divider));
    QMouseEvent press(
        QEvent::MouseButtonPress, divider, global, Qt::LeftButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(divider + QPoint(30, 0)), global, Qt::NoButton,
        Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(divider + QPoint(30, 0)), global,
        Qt::LeftButton, {}, {});
    QCoreApplication::sendEvent(viewport, &release);
    deliverPosted();
    EXPECT_EQ(parent.posted, std::vector<ListMessage>({{WM_SORTLIST_COLUMNSIZED, 0, 0}}));
    const QPoint divider2(
        header->sectionViewportPosition(1) + header->sectionSize(1) - 1, header->height() / 2);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, divider2, viewport->mapToGlobal(divider2),
        Qt::LeftButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &dbl);
    deliverPosted();
    EXPECT_EQ(parent.posted.size(), 2u);
}

namespace {

struct ArrowCase
{
    const char* name;
    BOOL ascending;
    // Pixels relative to (R, 0) with w = 8 and B = 24 (so R - 2w is -16 and so on).
    std::vector<QPoint> highlight;
    std::vector<QPoint> shadow;
    std::vector<QPoint> face;
};

class SortArrow : public testing::TestWithParam<ArrowCase>
{
};

constexpr int c_w = 8;
constexpr int c_bottom = 24;

} // namespace

TEST_P(SortArrow, PixelsOfEachLine)
{
    const ArrowCase& c = GetParam();
    zorUseClassicSysColors(true);
    const int right = 60;
    QImage image(right + 4, c_bottom + 4, QImage::Format_RGB32);
    image.fill(qRgb(192, 192, 192));
    CDC dc(&image);
    CSortHeaderCtrl::drawArrow(&dc, right, c_bottom, c_w, c.ascending);
    zorUseClassicSysColors(false);
    const auto at = [&](QPoint p) { return image.pixel(right + p.x(), p.y()); };
    for (QPoint p : c.highlight)
        EXPECT_EQ(at(p), qRgb(255, 255, 255)) << "highlight at R" << p.x() << ", " << p.y();
    for (QPoint p : c.shadow)
        EXPECT_EQ(at(p), qRgb(128, 128, 128)) << "shadow at R" << p.x() << ", " << p.y();
    for (QPoint p : c.face)
        EXPECT_EQ(at(p), qRgb(192, 192, 192)) << "face at R" << p.x() << ", " << p.y();
}

// w = 8, B = 24: 3w/2 = 12, 2w = 16, 5w/2 = 20, B - w = 16.
INSTANTIATE_TEST_SUITE_P(Directions, SortArrow,
    testing::Values(
        // Highlight (R-16, 7) -> (R-12, 16) -> (R-22, 16); shadow (R-21, 15) -> (R-16, 6).
        ArrowCase {"Ascending", TRUE,
            {{-16, 7}, {-12, 16}, {-13, 16}, {-17, 16}, {-21, 16}, {-14, 11}},
            {{-21, 15}, {-18, 10}},
            // Ends of the last segments are not drawn; nothing below or right of the arrow.
            {{-22, 16}, {-16, 6}, {-11, 16}, {-12, 17}, {-16, 17}}},
        // Highlight (R-12, 7) -> (R-17, 17); shadow (R-17, 16) -> (R-21, 7) -> (R-12, 7).
        ArrowCase {"Descending", FALSE, {{-12, 7}, {-13, 9}},
            {{-17, 16}, {-21, 7}, {-20, 7}, {-16, 7}, {-13, 7}, {-19, 11}},
            // The highlight's start is not overdrawn by the shadow's end; the highlight's end
            // is not drawn.
            {{-11, 7}, {-22, 7}, {-17, 17}, {-12, 17}}}),
    [](const testing::TestParamInfo<ArrowCase>& info) { return std::string(info.param.name); });

TEST(SortArrow, DrawnInTheSortedColumnOfTheHeader)
{
    zorUseClassicSysColors(true);
    ListParent parent;
    CSortListCtrl list;
    ASSERT_TRUE(list.Create(LVS_REPORT | WS_VISIBLE, CRect(0, 0, 360, 240), &parent, 10));
    parent.ShowWindow(SW_SHOW);
    list.addColumn("Name", 0, 100);
    list.addColumn("Age", 1, 80);
    list.addItem(0, 0, "x");
    clickHeader(list, 1, Qt::LeftButton);
    deliverPosted();
    HDITEM item;
    item.mask = HDI_FORMAT;
    ASSERT_TRUE(list.sortHeader().GetItem(1, &item));
    EXPECT_TRUE(item.fmt & HDF_OWNERDRAW);

    const QImage image = list.sortHeader().grabClient();
    RECT rect;
    ASSERT_TRUE(list.sortHeader().GetItemRect(1, &rect));
    // The item is filled with the face colour and the arrow's first highlight pixel sits at
    // (R - 2w, w - 1) for the header font's w.
    QImage blank(1, 1, QImage::Format_RGB32);
    CDC measure(&blank);
    CFont font;
    LOGFONT logFont;
    logFont.lfHeight = -11;
    logFont.lfWeight = 400;
    std::snprintf(logFont.lfFaceName, LF_FACESIZE, "%s", "MS Sans Serif");
    font.CreateFontIndirect(&logFont);
    measure.SelectObject(&font);
    const int w = measure.GetTextExtent(std::string(" ")).cx * 2;
    zorUseClassicSysColors(false);
    ASSERT_GT(w, 0);
    EXPECT_EQ(image.pixel(rect.right - 2 * w, w - 1), qRgb(255, 255, 255));
    const COLORREF face = zorClassicSysColor(COLOR_3DFACE);
    EXPECT_EQ(
        image.pixel(rect.right - 2, 1), qRgb(GetRValue(face), GetGValue(face), GetBValue(face)));
    // Left of the arrow, where the text area ends, nothing is drawn.
    EXPECT_EQ(image.pixel(rect.right - 3 * w, w), image.pixel(rect.right - 2, 1));
}

TEST(VirtualList, MillionRowsAskedOnlyWhenShown)
{
    struct Owner : ListParent
    {
        std::set<int> rows;
        long long requests {0};
    };
    Owner parent;
    CVirtualListCtrl list;
    ASSERT_TRUE(list.Create(WS_VISIBLE, CRect(0, 0, 360, 240), &parent, 11));
    EXPECT_TRUE(list.GetStyle() & LVS_OWNERDATA);
    parent.onNotify(11, LVN_GETDISPINFO, [&parent](NMHDR* header, LRESULT*) {
        auto* info = reinterpret_cast<NMLVDISPINFO*>(header);
        ++parent.requests;
        parent.rows.insert(info->item.iItem);
        std::snprintf(info->item.pszText, static_cast<std::size_t>(info->item.cchTextMax), "%d",
            info->item.iItem);
    });
    list.addColumn("Row", 0, 100);
    list.addColumn("Twice", 1, 100);
    parent.ShowWindow(SW_SHOW);
    list.setItemCount(1000000);
    EXPECT_EQ(list.GetItemCount(), 1000000);
    list.grabClient();
    const int perPage = list.GetCountPerPage();
    ASSERT_FALSE(parent.rows.empty());
    EXPECT_LE(*parent.rows.rbegin(), perPage + 1);

    // A header click on an owner-data list walks no items: the parent is told and sorts.
    parent.requests = 0;
    deliverPosted();
    parent.posted.clear();
    clickHeader(list, 1, Qt::LeftButton);
    deliverPosted();
    EXPECT_LE(parent.requests, 4LL * (perPage + 2));
    EXPECT_EQ(parent.posted, std::vector<ListMessage>({{WM_SORTLIST_SORTED, 1, 1}}));

    // Growing keeps the scroll position.
    ASSERT_TRUE(list.EnsureVisible(500000, FALSE));
    const int top = list.GetTopIndex();
    list.setItemCount(2000000);
    EXPECT_EQ(list.GetTopIndex(), top);
}
