#include "platform/ui/checklistbox.h"

#include "platform/gdi/fonts.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/ui/controls_p.h"
#include "platform/ui/dialog.h"

#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyleOption>

#include <algorithm>

namespace {

// The platform's check box is 13 pixels square, with a pixel of room around it.
constexpr int c_checkSize = 13;
constexpr int c_checkMargin = 1;

int checkAreaWidth()
{
    return c_checkSize + 2 * c_checkMargin;
}

// The next check a click gives in the style.
int nextCheck(int check, UINT style)
{
    if (style == BS_AUTO3STATE)
        return (check + 1) % 3;
    return check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
}

} // namespace

class CCheckListWidget;

// Draws an item: its check box, then its text (tabs expanded from the text's start).
class CCheckListDelegate : public QStyledItemDelegate
{
public:
    explicit CCheckListDelegate(CCheckListWidget* list);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CCheckListWidget* m_list;
};

// The list box widget with a check and an enabled flag per item, kept in step with the items
// however they are added, removed or replaced.
class CCheckListWidget : public CListBoxWidget
{
public:
    CCheckListWidget(DWORD style, int baseX, int itemHeight)
        : CListBoxWidget(style, baseX, itemHeight)
    {
        setItemDelegate(new CCheckListDelegate(this));
        QAbstractItemModel* items = model();
        connect(items, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                m_checks.insert(m_checks.begin() + first,
                    static_cast<std::size_t>(last - first + 1), BST_UNCHECKED);
                m_enabled.insert(
                    m_enabled.begin() + first, static_cast<std::size_t>(last - first + 1), true);
            });
        connect(items, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                m_checks.erase(m_checks.begin() + first, m_checks.begin() + last + 1);
                m_enabled.erase(m_enabled.begin() + first, m_enabled.begin() + last + 1);
            });
        connect(items, &QAbstractItemModel::modelReset, this, [this] {
            m_checks.assign(static_cast<std::size_t>(count()), BST_UNCHECKED);
            m_enabled.assign(static_cast<std::size_t>(count()), true);
        });
    }

    int check(int row) const { return m_checks[static_cast<std::size_t>(row)]; }
    void setCheck(int row, int value)
    {
        m_checks[static_cast<std::size_t>(row)] = value;
        viewport()->update(visualRect(model()->index(row, 0)));
    }
    bool enabled(int row) const { return m_enabled[static_cast<std::size_t>(row)]; }
    void setEnabled(int row, bool value)
    {
        m_enabled[static_cast<std::size_t>(row)] = value;
        viewport()->update(visualRect(model()->index(row, 0)));
    }

    UINT m_checkStyle {BS_AUTOCHECKBOX};

    QRect checkRect(const QRect& item) const
    {
        const int top = item.top() + (item.height() - c_checkSize) / 2;
        return QRect(item.left() + c_checkMargin, top, c_checkSize, c_checkSize);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        const QModelIndex index = indexAt(event->position().toPoint());
        const bool onCheck = index.isValid() && event->button() == Qt::LeftButton
            && event->position().x() < visualRect(index).left() + checkAreaWidth();
        CListBoxWidget::mousePressEvent(event);
        if (onCheck)
            userToggle(index.row());
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Space && curSel() >= 0) {
            userToggle(curSel());
            return;
        }
        CListBoxWidget::keyPressEvent(event);
    }

private:
    void userToggle(int row)
    {
        if (row < 0 || row >= count() || !enabled(row))
            return;
        if (m_checkStyle == BS_AUTOCHECKBOX || m_checkStyle == BS_AUTO3STATE)
            setCheck(row, nextCheck(check(row), m_checkStyle));
        notify(CLBN_CHKCHANGE);
    }

    std::vector<int> m_checks;
    std::vector<bool> m_enabled;
};

CCheckListDelegate::CCheckListDelegate(CCheckListWidget* list)
    : QStyledItemDelegate(list), m_list(list)
{ }

void CCheckListDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int row = index.row();
    const bool enabled = m_list->enabled(row) && (option.state & QStyle::State_Enabled);
    const QPalette::ColorGroup group = enabled ? QPalette::Active : QPalette::Disabled;
    const QRect r = option.rect;
    painter->save();
    painter->fillRect(r, option.palette.color(group, QPalette::Base));

    QStyleOptionButton box;
    box.rect = m_list->checkRect(r);
    box.state = enabled ? QStyle::State_Enabled : QStyle::State_None;
    const int check = m_list->check(row);
    box.state |= check == BST_CHECKED ? QStyle::State_On
        : check == BST_INDETERMINATE  ? QStyle::State_NoChange
                                      : QStyle::State_Off;
    m_list->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, m_list);

    // The text and its selection start right of the check box.
    const QRect text(
        r.left() + checkAreaWidth(), r.top(), r.width() - checkAreaWidth(), r.height());
    zorPaintListItemText(painter, option, text, index.data(Qt::DisplayRole).toString(),
        m_list->usesTabStops() ? &m_list->tabs() : nullptr, m_list);
    painter->restore();
}

QSize CCheckListDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(m_list->extent(), m_list->itemHeight());
}

// --- CCheckListBox -------------------------------------------------------------------------

CCheckListBox::CCheckListBox() = default;

CCheckListBox::~CCheckListBox()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CCheckListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (GetSafeHwnd() || !pParentWnd || !pParentWnd->widget())
        return FALSE;
    // The checks are drawn by the list itself, beside texts it keeps.
    if (!(dwStyle & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) || !(dwStyle & LBS_HASSTRINGS))
        return FALSE;

    // Tab stops are in the parent dialog's units; the line is as high as the parent's font,
    // and never lower than the check box.
    int baseX = 6;
    if (const auto* dialog = dynamic_cast<const CDialog*>(pParentWnd);
        dialog && dialog->dialogTemplate()) {
        const DialogTemplate* tmpl = dialog->dialogTemplate();
        const CSize base
            = zorDialogBaseUnits(tmpl->fontFace ? tmpl->fontFace : "", tmpl->pointSize);
        if (base.cx > 0)
            baseX = base.cx;
    }
    const QFont parentFont = pParentWnd->widget()->font();
    const int lineHeight
        = std::max(QFontMetrics(parentFont).height(), c_checkSize + 2 * c_checkMargin);

    auto* list = new CCheckListWidget(dwStyle, baseX, lineHeight);
    list->setFont(parentFont);
    list->setFocusPolicy((dwStyle & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    if (dwStyle & WS_BORDER)
        list->setFrameStyle(QFrame::Box | QFrame::Plain);
    else
        list->setFrameStyle(QFrame::NoFrame);
    if (!CreateEx(0, "ListBox", "", dwStyle | WS_CHILD, rect, pParentWnd, nID, list))
        return FALSE;
    list->goLive(this);
    return TRUE;
}

BOOL CCheckListBox::SetCheckStyle(UINT nStyle)
{
    if (nStyle != BS_CHECKBOX && nStyle != BS_AUTOCHECKBOX && nStyle != BS_3STATE
        && nStyle != BS_AUTO3STATE)
        return FALSE;
    auto* list = zorControlOf<CCheckListWidget>(this);
    if (!list)
        return FALSE;
    list->m_checkStyle = nStyle;
    return TRUE;
}

UINT CCheckListBox::GetCheckStyle() const
{
    auto* list = zorControlOf<CCheckListWidget>(this);
    return list ? list->m_checkStyle : 0;
}

void CCheckListBox::SetCheck(int nIndex, int nCheck)
{
    auto* list = zorControlOf<CCheckListWidget>(this);
    if (!list || nIndex < 0 || nIndex >= list->count())
        return;
    const bool threeState = list->m_checkStyle == BS_3STATE || list->m_checkStyle == BS_AUTO3STATE;
    if (nCheck < 0 || nCheck > static_cast<int>(BST_INDETERMINATE)
        || (nCheck == static_cast<int>(BST_INDETERMINATE) && !threeState))
        return;
    list->setCheck(nIndex, nCheck);
}

int CCheckListBox::GetCheck(int nIndex) const
{
    auto* list = zorControlOf<CCheckListWidget>(this);
    if (!list || nIndex < 0 || nIndex >= list->count())
        return -1;
    return list->check(nIndex);
}

void CCheckListBox::Enable(int nIndex, BOOL bEnabled)
{
    auto* list = zorControlOf<CCheckListWidget>(this);
    if (list && nIndex >= 0 && nIndex < list->count())
        list->setEnabled(nIndex, bEnabled);
}

BOOL CCheckListBox::IsEnabled(int nIndex) const
{
    auto* list = zorControlOf<CCheckListWidget>(this);
    return list && nIndex >= 0 && nIndex < list->count() && list->enabled(nIndex);
}

int CCheckListBox::itemHeight() const
{
    auto* list = zorControlOf<CCheckListWidget>(this);
    return list ? list->itemHeight() : 0;
}

void CCheckListBox::SetFont(CFont* pFont, BOOL bRedraw)
{
    m_pFont = pFont;
    QWidget* w = widget();
    if (!w || !pFont || !pFont->isCreated())
        return;
    w->setFont(pFont->qtFont(pFont->logFont().lfHeight));
    if (bRedraw)
        Invalidate();
}

CRect CCheckListBox::checkBoxRect(int nIndex) const
{
    auto* list = zorControlOf<CCheckListWidget>(this);
    if (!list || nIndex < 0 || nIndex >= list->count())
        return CRect();
    QRect item = list->visualRect(list->model()->index(nIndex, 0));
    item.translate(list->viewport()->pos());
    const QRect box = list->checkRect(item);
    return CRect(box.x(), box.y(), box.x() + box.width(), box.y() + box.height());
}
