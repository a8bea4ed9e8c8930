#include "platform/ui/listctrl.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/dcguard.h"
#include "platform/gdi/fonts.h"
#include "platform/ui/listctrl_p.h"

#include <QtWidgets/QApplication>
#include <QtWidgets/QScrollBar>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <utility>

namespace {

// The buffer an owner fills with a cell's text, as the platform's list offers it.
constexpr int c_dispInfoBuffer = 260;

// The width of a column inserted without one.
constexpr int c_defaultColumnWidth = 100;

Qt::Alignment alignmentOf(int fmt)
{
    switch (fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
        return Qt::AlignRight | Qt::AlignVCenter;
    case LVCFMT_CENTER:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// Copies a text into a caller's buffer of n bytes, cut to fit and always ended.
void copyText(const std::string& text, char* buffer, int n)
{
    if (!buffer || n <= 0)
        return;
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(n - 1));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

} // namespace

LOGFONT zorListDefaultFont()
{
    LOGFONT logFont;
    logFont.lfHeight = -11; // 8 points at 96 dots per inch
    logFont.lfWeight = 400;
    std::strncpy(logFont.lfFaceName, "MS Sans Serif", LF_FACESIZE - 1);
    return logFont;
}

// --- the model ---------------------------------------------------------------------------

CListModel::CListModel(CListWidget* list, bool ownerData)
    : QAbstractTableModel(list), m_list(list), m_ownerData(ownerData)
{ }

int CListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

int CListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns();
}

QVariant CListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count() || index.column() >= columns())
        return QVariant();
    const ZorListColumn& col = column(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return zorFromCodePage(text(index.row(), col.subItem));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignmentOf(col.fmt));
    default:
        return QVariant();
    }
}

QVariant CListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columns())
        return QVariant();
    if (role == Qt::DisplayRole)
        return zorFromCodePage(column(section).text);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignmentOf(column(section).fmt));
    return QVariant();
}

Qt::ItemFlags CListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

void CListModel::insertColumn(int col, ZorListColumn column)
{
    beginInsertColumns(QModelIndex(), col, col);
    m_columns.insert(m_columns.begin() + col, std::move(column));
    endInsertColumns();
}

void CListModel::removeColumn(int col)
{
    beginRemoveColumns(QModelIndex(), col, col);
    m_columns.erase(m_columns.begin() + col);
    endRemoveColumns();
}

void CListModel::changeColumn(int col, const ZorListColumn& column)
{
    m_columns[static_cast<std::size_t>(col)] = column;
    emit headerDataChanged(Qt::Horizontal, col, col);
    if (count() > 0)
        emit dataChanged(index(0, col), index(count() - 1, col));
}

void CListModel::insertItem(int row, ZorListItem item)
{
    beginInsertRows(QModelIndex(), row, row);
    m_items.insert(m_items.begin() + row, std::move(item));
    endInsertRows();
}

void CListModel::removeItem(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    m_items.erase(m_items.begin() + row);
    endRemoveRows();
}

void CListModel::removeAll()
{
    beginResetModel();
    m_items.clear();
    m_count = 0;
    endResetModel();
}

void CListModel::changedItem(int row)
{
    if (columns() > 0)
        emit dataChanged(index(row, 0), index(row, columns() - 1));
}

void CListModel::reorder(const std::vector<int>& order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<ZorListItem> sorted;
    sorted.reserve(m_items.size());
    std::vector<int> newRowOf(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        sorted.push_back(std::move(m_items[static_cast<std::size_t>(order[i])]));
        newRowOf[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    }
    m_items.swap(sorted);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& old : from)
        to.append(index(newRowOf[static_cast<std::size_t>(old.row())], old.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CListModel::setCount(int count)
{
    count = std::max(0, count);
    if (count > m_count) {
        beginInsertRows(QModelIndex(), m_count, count - 1);
        m_count = count;
        endInsertRows();
    } else if (count < m_count) {
        beginRemoveRows(QModelIndex(), count, m_count - 1);
        m_count = count;
        endRemoveRows();
    }
}

std::string CListModel::text(int row, int subItem) const
{
    if (m_ownerData) {
        ++m_dispInfoRequests;
        return m_list->requestText(row, subItem);
    }
    const ZorListItem& it = item(row);
    if (subItem < 0 || static_cast<std::size_t>(subItem) >= it.texts.size())
        return std::string();
    return it.texts[static_cast<std::size_t>(subItem)];
}

// --- the widget --------------------------------------------------------------------------

CListWidget::CListWidget(DWORD style)
    : m_style(style)
    , m_logFont(zorListDefaultFont())
    , m_model(new CListModel(this, style & LVS_OWNERDATA))
{
    m_header = new CHeaderWidget(this, m_model);
    setHorizontalHeader(m_header);
    setModel(m_model);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode((style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                             : QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setLogFont(m_logFont);
}

CListWidget::~CListWidget()
{
    goLive(nullptr);
}

void CListWidget::setLogFont(const LOGFONT& logFont)
{
    m_logFont = logFont;
    const QFont font = zorQtFont(logFont, logFont.lfHeight);
    setFont(font);
    m_header->setFont(font);
    verticalHeader()->setDefaultSectionSize(rowHeight());
}

void CListWidget::setExtendedStyle(DWORD exStyle)
{
    m_exStyle = exStyle;
    setShowGrid(exStyle & LVS_EX_GRIDLINES);
}

int CListWidget::rowHeight() const
{
    return QFontMetrics(font()).height() + 3;
}

std::string CListWidget::requestText(int row, int subItem) const
{
    CWnd* wnd = controlWindow();
    if (!wnd)
        return std::string();
    char buffer[c_dispInfoBuffer] = {};
    NMLVDISPINFO info;
    info.hdr.code = LVN_GETDISPINFO;
    info.item.mask = LVIF_TEXT;
    info.item.iItem = row;
    info.item.iSubItem = subItem;
    info.item.pszText = buffer;
    info.item.cchTextMax = c_dispInfoBuffer;
    wnd->notifyParent(&info.hdr);
    // The owner either fills the buffer or points the item at a text of its own.
    if (!info.item.pszText)
        return std::string();
    if (info.item.pszText == buffer)
        return std::string(buffer, strnlen(buffer, sizeof buffer));
    return std::string(info.item.pszText);
}

// --- CListCtrl ---------------------------------------------------------------------------

CListCtrl::CListCtrl()
{
    setClassName("SysListView32");
}

CListCtrl::~CListCtrl() = default;

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (m_hWnd || !pParentWnd || !pParentWnd->widget()
        || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return FALSE;
    auto* list = new CListWidget(dwStyle);
    if (!CreateEx(0, "SysListView32", "", dwStyle | WS_CHILD, rect, pParentWnd, nID, list)) {
        if (!m_hWnd)
            delete list;
        return FALSE;
    }
    list->goLive(this);
    return TRUE;
}

LRESULT CListCtrl::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return zorControlDefWindowProc(this, message, wParam, lParam);
}

int CListCtrl::InsertColumn(int nCol, const LVCOLUMN* pColumn)
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || !pColumn || nCol < 0)
        return -1;
    CListModel* model = list->listModel();
    nCol = std::min(nCol, model->columns());
    ZorListColumn column;
    if (pColumn->mask & LVCF_TEXT)
        column.text = pColumn->pszText ? pColumn->pszText : "";
    if (pColumn->mask & LVCF_FMT)
        column.fmt = pColumn->fmt & LVCFMT_JUSTIFYMASK;
    if (pColumn->mask & LVCF_SUBITEM)
        column.subItem = pColumn->iSubItem;
    CQuietChange quiet(list);
    model->insertColumn(nCol, std::move(column));
    list->headerWidget()->resizeSection(
        nCol, (pColumn->mask & LVCF_WIDTH) ? std::max(0, pColumn->cx) : c_defaultColumnWidth);
    return nCol;
}

int CListCtrl::InsertColumn(
    int nCol, const char* lpszColumnHeading, int nFormat, int nWidth, int nSubItem)
{
    LVCOLUMN column;
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = const_cast<char*>(lpszColumnHeading);
    column.fmt = nFormat;
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &column);
}

BOOL CListCtrl::GetColumn(int nCol, LVCOLUMN* pColumn) const
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || !pColumn || nCol < 0 || nCol >= list->listModel()->columns())
        return FALSE;
    const ZorListColumn& column = list->listModel()->column(nCol);
    if (pColumn->mask & LVCF_TEXT)
        copyText(column.text, pColumn->pszText, pColumn->cchTextMax);
    if (pColumn->mask & LVCF_FMT)
        pColumn->fmt = column.fmt & LVCFMT_JUSTIFYMASK;
    if (pColumn->mask & LVCF_WIDTH)
        pColumn->cx = list->headerWidget()->sectionSize(nCol);
    if (pColumn->mask & LVCF_SUBITEM)
        pColumn->iSubItem = column.subItem;
    return TRUE;
}

BOOL CListCtrl::DeleteColumn(int nCol)
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || nCol < 0 || nCol >= list->listModel()->columns())
        return FALSE;
    CQuietChange quiet(list);
    list->listModel()->removeColumn(nCol);
    return TRUE;
}

int CListCtrl::GetColumnWidth(int nCol) const
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || nCol < 0 || nCol >= list->listModel()->columns())
        return 0;
    return list->headerWidget()->sectionSize(nCol);
}

BOOL CListCtrl::SetColumnWidth(int nCol, int cx)
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || nCol < 0 || nCol >= list->listModel()->columns())
        return FALSE;
    list->headerWidget()->resizeSection(nCol, std::max(0, cx));
    return TRUE;
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const
{
    auto* list = zorControlOf<CListWidget>(this);
    return list ? dynamic_cast<CHeaderCtrl*>(CWnd::fromWidget(list->headerWidget())) : nullptr;
}

int CListCtrl::InsertItem(const LVITEM* pItem)
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || !pItem || pItem->iItem < 0 || pItem->iSubItem != 0)
        return -1;
    CListModel* model = list->listModel();
    // An owner-data list has no items of its own to insert into.
    if (model->ownerData())
        return -1;
    const int row = std::min(pItem->iItem, model->count());
    ZorListItem item;
    if (pItem->mask & LVIF_TEXT)
        item.texts.push_back(pItem->pszText ? pItem->pszText : "");
    if (pItem->mask & LVIF_IMAGE)
        item.image = pItem->iImage;
    if (pItem->mask & LVIF_PARAM)
        item.data = pItem->lParam;
    {
        CQuietChange quiet(list);
        model->insertItem(row, std::move(item));
    }
    if (pItem->mask & LVIF_STATE)
        SetItemState(row, pItem->state, pItem->stateMask);
    return row;
}

int CListCtrl::InsertItem(int nItem, const char* lpszItem)
{
    LVITEM item;
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.pszText = const_cast<char*>(lpszItem);
    return InsertItem(&item);
}

int CListCtrl::InsertItem(int nItem, const char* lpszItem, int nImage)
{
    LVITEM item;
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = nItem;
    item.pszText = const_cast<char*>(lpszItem);
    item.iImage = nImage;
    return InsertItem(&item);
}

BOOL CListCtrl::DeleteItem(int nItem)
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || list->listModel()->ownerData() || nItem < 0 || nItem >= list->listModel()->count())
        return FALSE;
    CQuietChange quiet(list);
    list->listModel()->removeItem(nItem);
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems()
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list)
        return FALSE;
    CQuietChange quiet(list);
    list->listModel()->removeAll();
    return TRUE;
}

BOOL CListCtrl::SetItem(const LVITEM* pItem)
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || !pItem)
        return FALSE;
    CListModel* model = list->listModel();
    if (pItem->iItem < 0 || pItem->iItem >= model->count())
        return FALSE;
    if (pItem->mask & LVIF_STATE)
        SetItemState(pItem->iItem, pItem->state, pItem->stateMask);
    if (model->ownerData())
        return !(pItem->mask & (LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM));
    if (pItem->iSubItem < 0)
        return FALSE;
    ZorListItem& item = model->item(pItem->iItem);
    if (pItem->mask & LVIF_TEXT) {
        const auto sub = static_cast<std::size_t>(pItem->iSubItem);
        if (item.texts.size() <= sub)
            item.texts.resize(sub + 1);
        item.texts[sub] = pItem->pszText ? pItem->pszText : "";
    }
    if (pItem->mask & LVIF_IMAGE)
        item.image = pItem->iImage;
    if (pItem->mask & LVIF_PARAM)
        item.data = pItem->lParam;
    model->changedItem(pItem->iItem);
    return TRUE;
}

BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, const char* lpszItem, int nImage,
    UINT nState, UINT nStateMask, LPARAM lParam)
{
    LVITEM item;
    item.mask = nMask;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    item.pszText = const_cast<char*>(lpszItem);
    item.iImage = nImage;
    item.state = nState;
    item.stateMask = nStateMask;
    item.lParam = lParam;
    return SetItem(&item);
}

BOOL CListCtrl::GetItem(LVITEM* pItem) const
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || !pItem)
        return FALSE;
    CListModel* model = list->listModel();
    if (pItem->iItem < 0 || pItem->iItem >= model->count() || pItem->iSubItem < 0)
        return FALSE;
    if (pItem->mask & LVIF_TEXT)
        copyText(model->text(pItem->iItem, pItem->iSubItem), pItem->pszText, pItem->cchTextMax);
    if (pItem->mask & LVIF_STATE)
        pItem->state = GetItemState(pItem->iItem, pItem->stateMask);
    if (!model->ownerData()) {
        if (pItem->mask & LVIF_IMAGE)
            pItem->iImage = model->item(pItem->iItem).image;
        if (pItem->mask & LVIF_PARAM)
            pItem->lParam = model->item(pItem->iItem).data;
    }
    return TRUE;
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, const char* lpszText)
{
    LVITEM item;
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    item.pszText = const_cast<char*>(lpszText);
    return SetItem(&item);
}

std::string CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || nItem < 0 || nItem >= list->listModel()->count() || nSubItem < 0)
        return std::string();
    return list->listModel()->text(nItem, nSubItem);
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || list->listModel()->ownerData() || nItem < 0 || nItem >= list->listModel()->count())
        return 0;
    return static_cast<DWORD_PTR>(list->listModel()->item(nItem).data);
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || list->listModel()->ownerData() || nItem < 0 || nItem >= list->listModel()->count())
        return FALSE;
    list->listModel()->item(nItem).data = static_cast<LPARAM>(dwData);
    return TRUE;
}

int CListCtrl::GetItemCount() const
{
    auto* list = zorControlOf<CListWidget>(this);
    return list ? list->listModel()->count() : 0;
}

BOOL CListCtrl::SetItemCountEx(int iCount, DWORD dwFlags)
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || !list->listModel()->ownerData() || iCount < 0)
        return FALSE;
    QScrollBar* bar = list->verticalScrollBar();
    const int top = bar->value();
    {
        CQuietChange quiet(list);
        list->listModel()->setCount(iCount);
    }
    if (!(dwFlags & LVSICF_NOSCROLL))
        bar->setValue(0);
    else
        bar->setValue(top);
    if (!(dwFlags & LVSICF_NOINVALIDATEALL))
        list->viewport()->update();
    return TRUE;
}

void CListCtrl::SetItemCount(int nItems)
{
    SetItemCountEx(nItems, LVSICF_NOINVALIDATEALL);
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || nItem < 0 || nItem >= list->listModel()->count())
        return 0;
    UINT state = 0;
    if ((nMask & LVIS_SELECTED) && list->selectionModel()->isRowSelected(nItem, QModelIndex()))
        state |= LVIS_SELECTED;
    if ((nMask & LVIS_FOCUSED) && list->selectionModel()->currentIndex().row() == nItem)
        state |= LVIS_FOCUSED;
    return state;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list)
        return FALSE;
    CListModel* model = list->listModel();
    const int count = model->count();
    if (nItem < -1 || nItem >= count || model->columns() == 0)
        return FALSE;
    if (count == 0)
        return TRUE;
    QItemSelectionModel* selection = list->selectionModel();
    const int first = nItem == -1 ? 0 : nItem;
    const int last = nItem == -1 ? count - 1 : nItem;
    if (nMask & LVIS_SELECTED) {
        const QItemSelection rows(model->index(first, 0), model->index(last, 0));
        selection->select(rows,
            ((nState & LVIS_SELECTED) ? QItemSelectionModel::Select : QItemSelectionModel::Deselect)
                | QItemSelectionModel::Rows);
    }
    if ((nMask & LVIS_FOCUSED) && nItem != -1) {
        if (nState & LVIS_FOCUSED)
            selection->setCurrentIndex(model->index(nItem, 0), QItemSelectionModel::NoUpdate);
        else if (selection->currentIndex().row() == nItem)
            selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    return TRUE;
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list)
        return -1;
    const int count = list->listModel()->count();
    const int from = std::max(-1, nItem) + 1;
    if (from >= count)
        return -1;
    if (nFlags & LVNI_SELECTED) {
        // The first selected row after nItem, from the selection's ranges (a list of a million
        // rows is not walked row by row).
        int found = -1;
        for (const QItemSelectionRange& range : list->selectionModel()->selection()) {
            if (range.bottom() < from)
                continue;
            const int candidate = std::max(range.top(), from);
            if (found == -1 || candidate < found)
                found = candidate;
        }
        if (found != -1 && (nFlags & LVNI_FOCUSED)
            && list->selectionModel()->currentIndex().row() != found)
            return -1;
        return found;
    }
    if (nFlags & LVNI_FOCUSED) {
        const int current = list->selectionModel()->currentIndex().row();
        return current >= from ? current : -1;
    }
    return from;
}

UINT CListCtrl::GetSelectedCount() const
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list)
        return 0;
    // The ranges may overlap; count each row once.
    std::vector<std::pair<int, int>> spans;
    for (const QItemSelectionRange& range : list->selectionModel()->selection())
        spans.emplace_back(range.top(), range.bottom());
    std::sort(spans.begin(), spans.end());
    UINT selected = 0;
    int covered = -1;
    for (const auto& [top, bottom] : spans) {
        const int start = std::max(top, covered + 1);
        if (bottom >= start)
            selected += static_cast<UINT>(bottom - start + 1);
        covered = std::max(covered, bottom);
    }
    return selected;
}

BOOL CListCtrl::SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData)
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || !pfnCompare || list->listModel()->ownerData())
        return FALSE;
    CListModel* model = list->listModel();
    std::vector<int> order(static_cast<std::size_t>(model->count()));
    std::iota(order.begin(), order.end(), 0);
    std::vector<LPARAM> data(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        data[i] = model->item(static_cast<int>(i)).data;
    // A merge sort: it needs no consistent order of the comparison to stay within the items,
    // and items that compare equal keep their places.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return pfnCompare(data[static_cast<std::size_t>(a)], data[static_cast<std::size_t>(b)],
                   static_cast<LPARAM>(dwData))
            < 0;
    });
    CQuietChange quiet(list);
    model->reorder(order);
    return TRUE;
}

BOOL CListCtrl::EnsureVisible(int nItem, BOOL)
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || nItem < 0 || nItem >= list->listModel()->count())
        return FALSE;
    // The scroll range follows the item count only after the view's layout, which may still
    // be pending.
    list->doItemsLayout();
    QScrollBar* bar = list->verticalScrollBar();
    const int perPage = std::max(1, GetCountPerPage());
    const int top = bar->value();
    if (nItem < top)
        bar->setValue(nItem);
    else if (nItem >= top + perPage)
        bar->setValue(nItem - perPage + 1);
    return TRUE;
}

int CListCtrl::GetTopIndex() const
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || list->listModel()->count() == 0)
        return 0;
    return std::max(0, list->rowAt(0));
}

int CListCtrl::GetCountPerPage() const
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list)
        return 0;
    return list->viewport()->height() / std::max(1, list->rowHeight());
}

int CListCtrl::GetStringWidth(const char* lpsz) const
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list || !lpsz)
        return 0;
    QImage scratch(1, 1, QImage::Format_RGB32);
    CDC dc(&scratch);
    CFont font;
    font.CreateFontIndirect(&list->logFont());
    CDCGuard guard(&dc);
    guard.select(&font);
    return dc.GetTextExtent(std::string(lpsz)).cx;
}

void CListCtrl::SetFont(const CFont* pFont)
{
    auto* list = zorControlOf<CListWidget>(this);
    if (list && pFont && pFont->isCreated())
        list->setLogFont(pFont->logFont());
}

DWORD CListCtrl::GetExtendedStyle() const
{
    auto* list = zorControlOf<CListWidget>(this);
    return list ? list->extendedStyle() : 0;
}

DWORD CListCtrl::SetExtendedStyle(DWORD dwNewStyle)
{
    auto* list = zorControlOf<CListWidget>(this);
    if (!list)
        return 0;
    const DWORD previous = list->extendedStyle();
    list->setExtendedStyle(dwNewStyle);
    return previous;
}
