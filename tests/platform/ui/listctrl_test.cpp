#include "platform/ui/listctrl.h"

#include "platform/gdi/dc.h"
#include "uitestapp.h"

#include <QtWidgets/QHeaderView>
#include <QtWidgets/QTableView>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// A top-level window holding one list.
struct ListFixture
{
    explicit ListFixture(DWORD style = LVS_REPORT, CListCtrl* list = nullptr)
        : list(list ? list : &ownList)
    {
        uiTestApp();
        parent.CreateEx(0, "ZorListParent", "lists", WS_POPUP, CRect(0, 0, 320, 240), nullptr, 0);
        EXPECT_TRUE(this->list->Create(style | WS_VISIBLE, CRect(0, 0, 320, 240), &parent, 100));
        parent.ShowWindow(SW_SHOW);
    }

    QTableView* view() const { return qobject_cast<QTableView*>(list->widget()); }
    QHeaderView* header() const
    {
        return qobject_cast<QHeaderView*>(list->GetHeaderCtrl()->widget());
    }

    CWnd parent;
    CListCtrl ownList;
    CListCtrl* list;
};

std::vector<std::string> columnTexts(CListCtrl& list, int subItem)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetItemCount(); ++i)
        texts.push_back(list.GetItemText(i, subItem));
    return texts;
}

} // namespace

TEST(ListColumns, ShowTheSubItemTheyNameWithTheirFormat)
{
    ListFixture f;
    ASSERT_EQ(f.list->InsertColumn(0, "Name", LVCFMT_LEFT, 80, 0), 0);
    ASSERT_EQ(f.list->InsertColumn(1, "Size", LVCFMT_RIGHT, 60, 2), 1);
    ASSERT_EQ(f.list->InsertItem(0, "alpha"), 0);
    ASSERT_TRUE(f.list->SetItemText(0, 2, "42"));
    ASSERT_TRUE(f.list->SetItemText(0, 1, "hidden"));

    char text[16] = {};
    LVCOLUMN column;
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = text;
    column.cchTextMax = 3; // cut to fit and ended
    ASSERT_TRUE(f.list->GetColumn(1, &column));
    EXPECT_STREQ(text, "Si");
    EXPECT_EQ(column.fmt, LVCFMT_RIGHT);
    EXPECT_EQ(column.cx, 60);
    EXPECT_EQ(column.iSubItem, 2);
    EXPECT_FALSE(f.list->GetColumn(2, &column));

    QAbstractItemModel* model = f.view()->model();
    EXPECT_EQ(model->index(0, 1).data().toString(), QString("42"));
    EXPECT_EQ(
        model->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
        Qt::AlignRight);
    EXPECT_EQ(f.list->GetItemText(0, 1), "hidden");

    // The header reads the same columns.
    HDITEM item;
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ASSERT_TRUE(f.list->GetHeaderCtrl()->GetItem(0, &item));
    EXPECT_STREQ(text, "Name");
    EXPECT_EQ(item.cxy, 80);
    EXPECT_EQ(item.fmt & HDF_JUSTIFYMASK, HDF_LEFT);
}

TEST(ListItems, DataImageAndRangeChecks)
{
    ListFixture f;
    f.list->InsertColumn(0, "A", LVCFMT_LEFT, 50);
    EXPECT_EQ(f.list->InsertItem(0, "one", 3), 0);
    EXPECT_EQ(f.list->InsertItem(99, "two"), 1); // past the end appends
    EXPECT_TRUE(f.list->SetItemData(1, 0xBEEF));
    EXPECT_EQ(f.list->GetItemData(1), 0xBEEFu);
    EXPECT_FALSE(f.list->SetItemData(2, 1));
    EXPECT_EQ(f.list->GetItemText(5, 0), "");

    LVITEM item;
    item.mask = LVIF_IMAGE | LVIF_PARAM;
    item.iItem = 0;
    ASSERT_TRUE(f.list->GetItem(&item));
    EXPECT_EQ(item.iImage, 3);
    EXPECT_TRUE(f.list->SetItem(0, 0, LVIF_IMAGE, nullptr, 7, 0, 0, 0));
    ASSERT_TRUE(f.list->GetItem(&item));
    EXPECT_EQ(item.iImage, 7);

    EXPECT_TRUE(f.list->DeleteAllItems());
    EXPECT_EQ(f.list->GetItemCount(), 0);
}

TEST(ListSelection, NextSelectedItemAndCount)
{
    ListFixture f;
    f.list->InsertColumn(0, "A", LVCFMT_LEFT, 50);
    for (int i = 0; i < 8; ++i)
        f.list->InsertItem(i, std::to_string(i).c_str());
    EXPECT_EQ(f.list->GetNextItem(-1, LVNI_SELECTED), -1);
    EXPECT_EQ(f.list->GetSelectedCount(), 0u);

    f.list->SetItemState(5, LVIS_SELECTED, LVIS_SELECTED);
    f.list->SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(f.list->GetNextItem(-1, LVNI_SELECTED), 2);
    EXPECT_EQ(f.list->GetNextItem(2, LVNI_SELECTED), 5);
    EXPECT_EQ(f.list->GetNextItem(5, LVNI_SELECTED), -1);
    EXPECT_EQ(f.list->GetSelectedCount(), 2u);
    EXPECT_EQ(f.list->GetItemState(5, LVIS_SELECTED), LVIS_SELECTED);
    EXPECT_EQ(f.list->GetItemState(4, LVIS_SELECTED), 0u);

    f.list->SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(f.list->GetSelectedCount(), 8u);
    f.list->SetItemState(-1, 0, LVIS_SELECTED);
    EXPECT_EQ(f.list->GetSelectedCount(), 0u);
}

namespace {

struct SortCase
{
    const char* name;
    PFNLVCOMPARE compare;
    std::vector<std::string> expected;
};

int byDataAscending(LPARAM a, LPARAM b, LPARAM)
{
    return static_cast<int>(a - b);
}
int byDataDescending(LPARAM a, LPARAM b, LPARAM sign)
{
    return static_cast<int>((a - b) * sign);
}
int allEqual(LPARAM, LPARAM, LPARAM)
{
    return 0;
}
// Claims every item goes before every other (a before b and b before a).
int alwaysLess(LPARAM, LPARAM, LPARAM)
{
    return -1;
}

class ListSortItems : public testing::TestWithParam<SortCase>
{
};

} // namespace

TEST_P(ListSortItems, OrdersItemsWithTheirTextsDataAndSelection)
{
    const SortCase& c = GetParam();
    ListFixture f;
    f.list->InsertColumn(0, "A", LVCFMT_LEFT, 50);
    const int data[] = {30, 10, 40, 20, 10};
    const char* texts[] = {"c", "a1", "d", "b", "a2"};
    for (int i = 0; i < 5; ++i) {
        f.list->InsertItem(i, texts[i]);
        f.list->SetItemData(i, static_cast<DWORD_PTR>(data[i]));
    }
    f.list->SetItemState(2, LVIS_SELECTED, LVIS_SELECTED); // "d"
    ASSERT_TRUE(f.list->SortItems(c.compare, static_cast<DWORD_PTR>(-1)));
    const std::vector<std::string> sorted = columnTexts(*f.list, 0);
    if (!c.expected.empty()) {
        EXPECT_EQ(sorted, c.expected);
    } else {
        // No sensible order, but every item is still there once.
        EXPECT_EQ(std::multiset<std::string>(sorted.begin(), sorted.end()),
            std::multiset<std::string>(std::begin(texts), std::end(texts)));
    }
    // Data and selection stay with their items.
    for (int i = 0; i < 5; ++i) {
        const std::string& text = sorted[static_cast<std::size_t>(i)];
        const int original = static_cast<int>(
            std::find(std::begin(texts), std::end(texts), text) - std::begin(texts));
        EXPECT_EQ(f.list->GetItemData(i), static_cast<DWORD_PTR>(data[original])) << text;
        EXPECT_EQ(f.list->GetItemState(i, LVIS_SELECTED) != 0, text == "d") << text;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ListSortItems,
    testing::Values(SortCase {"Ascending", &byDataAscending, {"a1", "a2", "b", "c", "d"}},
        // The parameter reaches the comparison (-1 here: descending).
        SortCase {"ParameterPassed", &byDataDescending, {"d", "c", "b", "a1", "a2"}},
        SortCase {"EqualKeepPlaces", &allEqual, {"c", "a1", "d", "b", "a2"}},
        SortCase {"InconsistentStaysInside", &alwaysLess, {}}),
    [](const testing::TestParamInfo<SortCase>& info) { return std::string(info.param.name); });

TEST(ListOwnerData, AsksOnlyForShownRowsOfAMillion)
{
    struct Owner : CWnd
    {
        std::set<int> rows;
        long long requests {0};
    };
    uiTestApp();
    Owner parent;
    parent.CreateEx(0, "ZorListParent", "owner", WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0);
    CListCtrl list;
    ASSERT_TRUE(
        list.Create(LVS_REPORT | LVS_OWNERDATA | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 7));
    parent.onNotify(7, LVN_GETDISPINFO, [&parent](NMHDR* header, LRESULT*) {
        auto* info = reinterpret_cast<NMLVDISPINFO*>(header);
        ++parent.requests;
        parent.rows.insert(info->item.iItem);
        std::snprintf(info->item.pszText, static_cast<std::size_t>(info->item.cchTextMax),
            "row %d.%d", info->item.iItem, info->item.iSubItem);
    });
    list.InsertColumn(0, "A", LVCFMT_LEFT, 100, 0);
    list.InsertColumn(1, "B", LVCFMT_LEFT, 100, 1);
    parent.ShowWindow(SW_SHOW);

    EXPECT_TRUE(list.SetItemCountEx(1000000, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL));
    EXPECT_EQ(list.GetItemCount(), 1000000);
    EXPECT_EQ(list.InsertItem(0, "no"), -1);
    EXPECT_FALSE(list.SortItems(&allEqual, 0));
    EXPECT_EQ(list.GetItemText(123456, 1), "row 123456.1");

    parent.rows.clear();
    parent.requests = 0;
    list.grabClient();
    const int perPage = list.GetCountPerPage();
    ASSERT_GT(perPage, 3);
    ASSERT_FALSE(parent.rows.empty());
    EXPECT_EQ(*parent.rows.begin(), 0);
    EXPECT_LE(*parent.rows.rbegin(), perPage + 1);
    EXPECT_LE(parent.requests, 4LL * (perPage + 2));

    ASSERT_TRUE(list.EnsureVisible(999999, FALSE));
    EXPECT_EQ(list.GetTopIndex(), 1000000 - perPage);
    parent.rows.clear();
    list.grabClient();
    ASSERT_FALSE(parent.rows.empty());
    EXPECT_GE(*parent.rows.begin(), 1000000 - perPage - 1);
    EXPECT_EQ(*parent.rows.rbegin(), 999999);

    // Shrinking with NOSCROLL keeps what it can; the text of a row past the end is empty.
    EXPECT_TRUE(list.SetItemCountEx(10, LVSICF_NOSCROLL));
    EXPECT_EQ(list.GetItemCount(), 10);
    EXPECT_EQ(list.GetItemText(10, 0), "");
}

namespace {

struct HeaderEvent
{
    UINT code {0};
    int item {-1};
    int button {-1};
};

struct HeaderCase
{
    const char* name;
    // What the mouse does on the header, given its section geometry.
    void (*act)(QWidget* viewport, QHeaderView* header);
    std::vector<UINT> codes;
    int item;
    int button;
};

QPoint middleOf(QHeaderView* header, int section)
{
    return QPoint(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
        header->height() / 2);
}

QPoint dividerAfter(QHeaderView* header, int section)
{
    return QPoint(header->sectionViewportPosition(section) + header->sectionSize(section) - 1,
        header->height() / 2);
}

void click(QWidget* viewport, QPoint at, Qt::MouseButton button)
{
    sendMouse(viewport, QEvent::MouseButtonPress, at, button);
    sendMouse(viewport, QEvent::MouseButtonRelease, at, button);
}

class HeaderNotifications : public testing::TestWithParam<HeaderCase>
{
};

} // namespace

TEST_P(HeaderNotifications, ReachTheList)
{
    const HeaderCase& c = GetParam();
    ListFixture f;
    f.list->InsertColumn(0, "A", LVCFMT_LEFT, 60);
    f.list->InsertColumn(1, "B", LVCFMT_LEFT, 60);
    f.list->InsertColumn(2, "C", LVCFMT_LEFT, 60);
    std::vector<HeaderEvent> events;
    for (UINT code : {HDN_ITEMCLICK, HDN_ENDTRACK, HDN_DIVIDERDBLCLICK}) {
        f.list->onNotify(0, code, [&events](NMHDR* header, LRESULT*) {
            const auto* nm = reinterpret_cast<NMHEADER*>(header);
            events.push_back({header->code, nm->iItem, nm->iButton});
        });
    }
    processEventsFor(20);
    c.act(f.header()->viewport(), f.header());
    std::vector<UINT> codes;
    for (const HeaderEvent& e : events)
        codes.push_back(e.code);
    EXPECT_EQ(codes, c.codes);
    if (!events.empty()) {
        EXPECT_EQ(events.back().item, c.item);
        EXPECT_EQ(events.back().button, c.button);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, HeaderNotifications,
    testing::Values(
        HeaderCase {"LeftClick",
            [](QWidget* v, QHeaderView* h) { click(v, middleOf(h, 1), Qt::LeftButton); },
            {HDN_ITEMCLICK}, 1, 0},
        HeaderCase {"RightClick",
            [](QWidget* v, QHeaderView* h) { click(v, middleOf(h, 2), Qt::RightButton); },
            {HDN_ITEMCLICK}, 2, 1},
        HeaderCase {"MiddleClick",
            [](QWidget* v, QHeaderView* h) { click(v, middleOf(h, 0), Qt::MiddleButton); },
            {HDN_ITEMCLICK}, 0, 2},
        HeaderCase {"RightPressLeavesItem",
            [](QWidget* v, QHeaderView* h) {
                sendMouse(v, QEvent::MouseButtonPress, middleOf(h, 0), Qt::RightButton);
                sendMouse(v, QEvent::MouseButtonRelease, middleOf(h, 2), Qt::RightButton);
            },
            {}, -1, -1},
        HeaderCase {"DividerDragEndsTracking",
            [](QWidget* v, QHeaderView* h) {
                const QPoint from = dividerAfter(h, 0);
                sendMouse(v, QEvent::MouseButtonPress, from, Qt::LeftButton);
                sendMouse(v, QEvent::MouseMove, from + QPoint(25, 0), Qt::NoButton, Qt::LeftButton);
                sendMouse(v, QEvent::MouseButtonRelease, from + QPoint(25, 0), Qt::LeftButton);
            },
            {HDN_ENDTRACK}, 0, 0},
        HeaderCase {"DividerDoubleClick",
            [](QWidget* v, QHeaderView* h) {
                const QPoint at = dividerAfter(h, 1);
                sendMouse(v, QEvent::MouseButtonPress, at, Qt::LeftButton);
                sendMouse(v, QEvent::MouseButtonRelease, at, Qt::LeftButton);
                sendMouse(v, QEvent::MouseButtonDblClick, at, Qt::LeftButton);
                sendMouse(v, QEvent::MouseButtonRelease, at, Qt::LeftButton);
            },
            {HDN_DIVIDERDBLCLICK}, 1, 0}),
    [](const testing::TestParamInfo<HeaderCase>& info) { return std::string(info.param.name); });

namespace {

// A header that fills its owner-drawn items with one colour and notes what it was given.
class PaintingHeader : public CHeaderCtrl
{
public:
    void DrawItem(DRAWITEMSTRUCT* dis) override
    {
        drawn.push_back(static_cast<int>(dis->itemID));
        rects.push_back(dis->rcItem);
        dis->pDC->FillSolidRect(&dis->rcItem, 0x0000FF);
    }
    std::vector<int> drawn;
    std::vector<RECT> rects;
};

} // namespace

TEST(HeaderOwnerDraw, OnlyOwnerDrawnItemsGoToDrawItemAtTheirRectangle)
{
    ListFixture f;
    f.list->InsertColumn(0, "A", LVCFMT_LEFT, 60);
    f.list->InsertColumn(1, "B", LVCFMT_LEFT, 70);
    PaintingHeader header;
    ASSERT_TRUE(header.SubclassWindow(f.list->GetHeaderCtrl()->GetSafeHwnd()));
    EXPECT_EQ(f.list->GetHeaderCtrl(), &header);

    HDITEM item;
    item.mask = HDI_FORMAT;
    ASSERT_TRUE(header.GetItem(1, &item));
    item.fmt |= HDF_OWNERDRAW;
    ASSERT_TRUE(header.SetItem(1, &item));

    const QImage image = header.grabClient();
    ASSERT_EQ(header.drawn, std::vector<int>({1}));
    RECT expected;
    ASSERT_TRUE(header.GetItemRect(1, &expected));
    EXPECT_EQ(CRect(header.rects.front()), CRect(expected));
    EXPECT_EQ(image.pixel(expected.left + 5, 5), qRgb(255, 0, 0));
    EXPECT_NE(image.pixel(30, 5), qRgb(255, 0, 0));
    // The list's own column format does not carry the header's drawing flag.
    LVCOLUMN column;
    column.mask = LVCF_FMT;
    ASSERT_TRUE(f.list->GetColumn(1, &column));
    EXPECT_EQ(column.fmt, LVCFMT_LEFT);
}
