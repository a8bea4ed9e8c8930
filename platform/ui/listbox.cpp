#include "platform/ui/listbox.h"

#include "platform/types/muldiv.h"

#include "platform/gdi/fonts.h"
#include "platform/gdi/syscolor.h"
#include "platform/ui/controls_p.h"
#include "platform/ui/resources.h"

#include <QtCore/QCoreApplication>
#include <QtGui/QFocusEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QTextCursor>
#include <QtWidgets/QApplication>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyleOption>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>

namespace {

// The platform's spacing of list tab stops when none are given.
constexpr int c_defaultTabUnits = 32;

} // namespace

void zorPaintListItemText(QPainter* painter, const QStyleOptionViewItem& option, const QRect& area,
    const QString& text, const CListTabStops* stops, QWidget* list)
{
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group
        = (option.state & QStyle::State_Enabled) ? QPalette::Active : QPalette::Disabled;
    if (selected)
        painter->fillRect(area, option.palette.color(group, QPalette::Highlight));
    painter->setPen(
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    const QFontMetrics metrics(option.font);
    const int baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
    // The text starts one pixel in; tab positions count from the area's left edge.
    if (stops) {
        const QStringList parts = text.split(QLatin1Char('\t'));
        std::vector<int> widths;
        for (const QString& part : parts)
            widths.push_back(metrics.horizontalAdvance(part));
        const std::vector<int> xs = zorTabbedPartPositions(widths, *stops, 1);
        for (qsizetype i = 0; i < parts.size(); ++i)
            painter->drawText(
                QPoint(area.left() + xs[static_cast<std::size_t>(i)], baseline), parts[i]);
    } else {
        painter->drawText(QPoint(area.left() + 1, baseline), text);
    }
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.rect = area;
        focus.state = option.state;
        focus.backgroundColor
            = option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
        list->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, list);
    }
}

// --- list boxes --------------------------------------------------------------------------

CListBoxDelegate::CListBoxDelegate(CListBoxWidget* list) : QStyledItemDelegate(list), m_list(list)
{ }

void CListBoxDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    zorPaintListItemText(painter, option, option.rect, index.data(Qt::DisplayRole).toString(),
        m_list->usesTabStops() ? &m_list->tabs() : nullptr, m_list);
    painter->restore();
}

QSize CListBoxDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(m_list->extent(), m_list->itemHeight());
}

int CListBoxModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant CListBoxModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return zorFromCodePage(text(index.row()));
    return QVariant();
}

Qt::ItemFlags CListBoxModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

void CListBoxModel::insert(int row, std::string text)
{
    beginInsertRows(QModelIndex(), row, row);
    m_items.insert(m_items.begin() + row, std::move(text));
    endInsertRows();
}

void CListBoxModel::remove(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    m_items.erase(m_items.begin() + row);
    endRemoveRows();
}

void CListBoxModel::replace(std::vector<std::string> items)
{
    beginResetModel();
    m_items = std::move(items);
    endResetModel();
}

CListBoxWidget::CListBoxWidget(DWORD style, int baseX, int itemHeight)
    : m_style(style), m_baseX(baseX), m_itemHeight(itemHeight), m_items(new CListBoxModel(this))
{
    setModel(m_items);
    setItemDelegate(new CListBoxDelegate(this));
    setSelectionMode(
        (style & LBS_NOSEL) ? QAbstractItemView::NoSelection : QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every line is as high as the font's: the view lays out a list of any length from one
    // line's size, without asking each line.
    setUniformItemSizes(true);
    setResizeMode(QListView::Adjust);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollBarPolicy(
        (style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(
        (style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setTextElideMode(Qt::ElideNone);
    m_tabs.set({}, baseX);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_style & LBS_NOTIFY)
            notify(LBN_SELCHANGE);
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] {
        if (m_style & LBS_NOTIFY)
            notify(LBN_DBLCLK);
    });
}

CListBoxWidget::~CListBoxWidget()
{
    goLive(nullptr);
}

int CListBoxWidget::addString(const std::string& text)
{
    int index = count();
    if (m_style & LBS_SORT) {
        const QString added = zorFromCodePage(text);
        index = 0;
        while (index < count()
            && QString::compare(zorFromCodePage(this->text(index)), added, Qt::CaseInsensitive)
                <= 0)
            ++index;
    }
    return insertString(index, text);
}

int CListBoxWidget::insertString(int index, const std::string& text)
{
    if (index == -1)
        index = count();
    if (index < 0 || index > count())
        return LB_ERR;
    CQuietChange quiet(this);
    m_items->insert(index, text);
    return index;
}

int CListBoxWidget::deleteString(int index)
{
    if (index < 0 || index >= count())
        return LB_ERR;
    CQuietChange quiet(this);
    m_items->remove(index);
    return count();
}

void CListBoxWidget::resetContent()
{
    replaceContent({});
}

void CListBoxWidget::replaceContent(std::vector<std::string> items)
{
    // Where adding them one by one would put them: after every item that compares equal.
    if (m_style & LBS_SORT)
        std::stable_sort(
            items.begin(), items.end(), [](const std::string& a, const std::string& b) {
                return QString::compare(zorFromCodePage(a), zorFromCodePage(b), Qt::CaseInsensitive)
                    < 0;
            });
    CQuietChange quiet(this);
    m_items->replace(std::move(items));
    verticalScrollBar()->setValue(0);
}

int CListBoxWidget::curSel() const
{
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? LB_ERR : rows.first().row();
}

int CListBoxWidget::setCurSel(int index)
{
    CQuietChange quiet(this);
    if (index == -1) {
        clearSelection();
        return LB_ERR;
    }
    if (index < 0 || index >= count() || selectionMode() == QAbstractItemView::NoSelection)
        return LB_ERR;
    const QModelIndex item = m_items->index(index);
    selectionModel()->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect);
    scrollTo(item);
    return index;
}

int CListBoxWidget::findStringExact(int start, const std::string& text) const
{
    const QString wanted = zorFromCodePage(text);
    const int found = zorSearchFrom(start, count(), [&](int i) {
        return QString::compare(zorFromCodePage(this->text(i)), wanted, Qt::CaseInsensitive) == 0;
    });
    return found < 0 ? LB_ERR : found;
}

void CListBoxWidget::setTabStops(const std::vector<int>& dialogUnits)
{
    m_tabs.set(dialogUnits, m_baseX);
    viewport()->update();
}

void CListBoxWidget::setExtent(int cx)
{
    cx = std::max(0, cx);
    if (m_extent == cx)
        return;
    m_extent = cx;
    scheduleDelayedItemsLayout();
    executeDelayedItemsLayout();
    updateGeometries();
    viewport()->update();
}

int CListBoxWidget::topIndex() const
{
    return verticalScrollBar()->value();
}

int CListBoxWidget::setTopIndex(int index)
{
    if (index < 0 || index >= count())
        return LB_ERR;
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(index);
    return 0;
}

void CListBoxWidget::updateGeometries()
{
    QListView::updateGeometries();
    // The horizontal scroll bar covers the extent the program gave, in pixels.
    const int visible = viewport()->width();
    QScrollBar* bar = horizontalScrollBar();
    bar->setRange(0, std::max(0, m_extent - visible));
    bar->setPageStep(std::max(1, visible));
    bar->setSingleStep(std::max(1, m_baseX));
}

void CListBoxWidget::resizeEvent(QResizeEvent* event)
{
    QListView::resizeEvent(event);
    updateGeometries();
}

void CListTabStops::set(const std::vector<int>& dialogUnits, int baseX)
{
    m_units = dialogUnits;
    m_pixels.clear();
    m_spacing = MulDiv(c_defaultTabUnits, baseX, 4);
    if (dialogUnits.size() == 1) {
        if (dialogUnits.front() > 0)
            m_spacing = MulDiv(dialogUnits.front(), baseX, 4);
        return;
    }
    for (int units : dialogUnits)
        m_pixels.push_back(MulDiv(units, baseX, 4));
}

int CListTabStops::next(int x) const
{
    for (int stop : m_pixels) {
        if (stop > x)
            return stop;
    }
    if (m_spacing <= 0)
        return x;
    return m_spacing * (x / m_spacing + 1);
}

int CListTabStops::stop(int n) const
{
    if (n < 0)
        return 0;
    if (static_cast<std::size_t>(n) < m_pixels.size())
        return m_pixels[static_cast<std::size_t>(n)];
    int x = m_pixels.empty() ? 0 : m_pixels.back();
    for (int i = static_cast<int>(m_pixels.size()); i <= n; ++i)
        x = next(x);
    return x;
}

std::vector<int> zorTabbedPartPositions(
    const std::vector<int>& partWidths, const CListTabStops& stops, int start)
{
    std::vector<int> positions;
    int x = start;
    for (std::size_t i = 0; i < partWidths.size(); ++i) {
        positions.push_back(x);
        x += partWidths[i];
        if (i + 1 < partWidths.size())
            x = stops.next(x);
    }
    return positions;
}

// --- CListBox ----------------------------------------------------------------------------

LRESULT CListBox::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return zorControlDefWindowProc(this, message, wParam, lParam);
}

int CListBox::AddString(const char* lpszItem)
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->addString(lpszItem ? lpszItem : "") : LB_ERR;
}

int CListBox::InsertString(int nIndex, const char* lpszItem)
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->insertString(nIndex, lpszItem ? lpszItem : "") : LB_ERR;
}

int CListBox::DeleteString(UINT nIndex)
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->deleteString(static_cast<int>(nIndex)) : LB_ERR;
}

void CListBox::ResetContent()
{
    if (auto* list = zorControlOf<CListBoxWidget>(this))
        list->resetContent();
}

void CListBox::ReplaceContent(const std::vector<std::string>& items)
{
    ReplaceContent(std::vector<std::string>(items));
}

void CListBox::ReplaceContent(std::vector<std::string>&& items)
{
    if (auto* list = zorControlOf<CListBoxWidget>(this))
        list->replaceContent(std::move(items));
}

int CListBox::GetCount() const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->count() : LB_ERR;
}

int CListBox::GetText(int nIndex, std::string& rString) const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    if (!list || nIndex < 0 || nIndex >= list->count())
        return LB_ERR;
    rString = list->text(nIndex);
    return static_cast<int>(rString.size());
}

int CListBox::GetCurSel() const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->curSel() : LB_ERR;
}

int CListBox::SetCurSel(int nSelect)
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->setCurSel(nSelect) : LB_ERR;
}

int CListBox::FindStringExact(int nIndexStart, const char* lpszFind) const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->findStringExact(nIndexStart, lpszFind ? lpszFind : "") : LB_ERR;
}

BOOL CListBox::SetTabStops(int nTabStops, const int* rgTabStops)
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    // The platform refuses tab stops to a list that does not expand tabs.
    if (!list || !list->usesTabStops() || nTabStops < 0 || (nTabStops > 0 && !rgTabStops))
        return FALSE;
    list->setTabStops(std::vector<int>(rgTabStops, rgTabStops + nTabStops));
    return TRUE;
}

BOOL CListBox::SetTabStops(int cxEachStop)
{
    return SetTabStops(1, &cxEachStop);
}

std::vector<int> CListBox::tabStops() const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->tabs().dialogUnits() : std::vector<int>();
}

int CListBox::GetHorizontalExtent() const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->extent() : 0;
}

void CListBox::SetHorizontalExtent(int cxExtent)
{
    if (auto* list = zorControlOf<CListBoxWidget>(this))
        list->setExtent(cxExtent);
}

int CListBox::GetTopIndex() const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->topIndex() : LB_ERR;
}

int CListBox::SetTopIndex(int nIndex)
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->setTopIndex(nIndex) : LB_ERR;
}

int CListBox::GetScrollPos(int nBar) const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    if (!list)
        return 0;
    return (nBar == SB_VERT ? list->verticalScrollBar() : list->horizontalScrollBar())->value();
}

int CListBox::SetScrollPos(int nBar, int nPos, BOOL)
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    if (!list)
        return 0;
    QScrollBar* bar = nBar == SB_VERT ? list->verticalScrollBar() : list->horizontalScrollBar();
    const int previous = bar->value();
    bar->setValue(nPos);
    return previous;
}

int CListBox::tabStopX(int nTab) const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->tabs().stop(nTab) : 0;
}

// --- the control of a template row -------------------------------------------------------

ZorControlParts zorMakeListRow(ZorControlRow& row)
{
    auto* list = new CListBoxWidget(row.style, row.baseX, row.baseY);
    // Without LBS_NOINTEGRALHEIGHT the list shows whole items only: its height shrinks to a
    // multiple of the item height, as on the platform.
    if (!(row.style & LBS_NOINTEGRALHEIGHT)) {
        const int frame = 2 * list->frameWidth();
        const int client = row.place.Height() - frame;
        if (client > row.baseY)
            row.place.bottom = row.place.top + client - client % row.baseY + frame;
    }
    ZorControlParts parts {list, list, std::make_unique<CListBox>(), "ListBox"};
    return parts;
}
