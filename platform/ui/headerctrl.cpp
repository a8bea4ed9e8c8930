#include "platform/ui/headerctrl.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/dcguard.h"
#include "platform/ui/listctrl_p.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>

#include <algorithm>
#include <cstring>

namespace {

CHeaderWidget* headerWidgetOf(const CWnd* wnd)
{
    return wnd ? dynamic_cast<CHeaderWidget*>(wnd->widget()) : nullptr;
}

int buttonNumber(Qt::MouseButton button)
{
    return button == Qt::RightButton ? 1 : button == Qt::MiddleButton ? 2 : 0;
}

} // namespace

// --- the widget --------------------------------------------------------------------------

CHeaderWidget::CHeaderWidget(CListWidget* list, CListModel* model)
    : QHeaderView(Qt::Horizontal, list)
    , m_list(list)
    , m_model(model)
    , m_defaultWnd(std::make_unique<CHeaderCtrl>())
{
    setSectionsClickable(!(list->style() & LVS_NOSORTHEADER));
    setHighlightSections(false);
    setStretchLastSection(false);
    setMinimumSectionSize(0);
    setSectionResizeMode(QHeaderView::Interactive);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_defaultWnd->Attach(this);
    // A resize while the left button is down is the user dragging a divider; it ends when the
    // button goes up (mouseReleaseEvent).
    connect(this, &QHeaderView::sectionResized, this, [this](int logicalIndex) {
        if (m_pressButton == Qt::LeftButton) {
            m_tracking = logicalIndex;
            m_pressed = -1;
        }
    });
    connect(this, &QHeaderView::sectionClicked, this,
        [this](int logicalIndex) { notifyHeader(HDN_ITEMCLICK, logicalIndex, 0); });
    connect(this, &QHeaderView::sectionHandleDoubleClicked, this,
        [this](int logicalIndex) { notifyHeader(HDN_DIVIDERDBLCLICK, logicalIndex, 0); });
}

CHeaderWidget::~CHeaderWidget() = default;

bool CHeaderWidget::drawOwnerSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    auto* wnd = dynamic_cast<CHeaderCtrl*>(CWnd::fromWidget(const_cast<CHeaderWidget*>(this)));
    if (!wnd || rect.isEmpty())
        return false;
    // The item draws in the header's client coordinates, which are the context's device
    // coordinates too (a clip region is given in those): the image starts at the header's
    // origin and only the item's part of it is put on the screen.
    const QRect shown = rect.intersected(QRect(0, 0, rect.right() + 1, rect.bottom() + 1));
    if (shown.isEmpty())
        return true;
    QImage image(rect.right() + 1, rect.bottom() + 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc(&image);
    CFont font;
    font.CreateFontIndirect(&m_list->logFont());
    CDCGuard guard(&dc);
    guard.select(&font);
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_HEADER;
    dis.CtlID = static_cast<UINT>(wnd->GetDlgCtrlID());
    dis.itemID = static_cast<UINT>(logicalIndex);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = m_pressed == logicalIndex ? ODS_SELECTED : 0;
    dis.hwndItem = wnd->m_hWnd;
    dis.pDC = &dc;
    dis.rcItem = {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
    dis.itemData = static_cast<DWORD_PTR>(m_model->column(logicalIndex).lParam);
    wnd->DrawItem(&dis);
    painter->drawImage(shown.topLeft(), image, shown);
    return true;
}

void CHeaderWidget::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (logicalIndex >= 0 && logicalIndex < m_model->columns()
        && (m_model->column(logicalIndex).fmt & HDF_OWNERDRAW)
        && drawOwnerSection(painter, rect, logicalIndex))
        return;
    QHeaderView::paintSection(painter, rect, logicalIndex);
}

void CHeaderWidget::mousePressEvent(QMouseEvent* event)
{
    m_pressButton = event->button();
    m_tracking = -1;
    m_pressed = sectionsClickable() ? logicalIndexAt(event->position().toPoint()) : -1;
    QHeaderView::mousePressEvent(event);
    viewport()->update();
}

void CHeaderWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = m_pressButton;
    const int pressed = m_pressed;
    const int tracked = m_tracking;
    m_pressButton = Qt::NoButton;
    m_pressed = -1;
    m_tracking = -1;
    viewport()->update();
    // The left button's click is the view's own (sectionClicked, which knows a drag of a
    // divider from a click); the other buttons click an item when they go up over the item
    // they went down on.
    QHeaderView::mouseReleaseEvent(event);
    if (tracked >= 0) {
        notifyHeader(HDN_ENDTRACK, tracked, 0);
        return;
    }
    if (button != Qt::LeftButton && button == event->button() && pressed >= 0
        && logicalIndexAt(event->position().toPoint()) == pressed)
        notifyHeader(HDN_ITEMCLICK, pressed, buttonNumber(button));
}

void CHeaderWidget::notifyHeader(UINT code, int item, int button)
{
    CWnd* wnd = CWnd::fromWidget(this);
    if (!wnd)
        return;
    HDITEM hdi;
    hdi.mask = HDI_WIDTH;
    hdi.cxy = item >= 0 ? sectionSize(item) : 0;
    NMHEADER header;
    header.hdr.code = code;
    header.iItem = item;
    header.iButton = button;
    header.pitem = &hdi;
    wnd->notifyParent(&header.hdr);
}

// --- CHeaderCtrl -------------------------------------------------------------------------

CHeaderCtrl::CHeaderCtrl()
{
    setClassName("SysHeader32");
}

CHeaderCtrl::~CHeaderCtrl() = default;

int CHeaderCtrl::GetItemCount() const
{
    CHeaderWidget* header = headerWidgetOf(this);
    return header ? header->listModel()->columns() : -1;
}

BOOL CHeaderCtrl::GetItem(int nPos, HDITEM* pHeaderItem) const
{
    CHeaderWidget* header = headerWidgetOf(this);
    if (!header || !pHeaderItem || nPos < 0 || nPos >= header->listModel()->columns())
        return FALSE;
    const ZorListColumn& column = header->listModel()->column(nPos);
    if (pHeaderItem->mask & HDI_WIDTH)
        pHeaderItem->cxy = header->sectionSize(nPos);
    if ((pHeaderItem->mask & HDI_TEXT) && pHeaderItem->pszText && pHeaderItem->cchTextMax > 0) {
        const std::size_t n
            = std::min(column.text.size(), static_cast<std::size_t>(pHeaderItem->cchTextMax - 1));
        std::memcpy(pHeaderItem->pszText, column.text.data(), n);
        pHeaderItem->pszText[n] = '\0';
    }
    if (pHeaderItem->mask & HDI_FORMAT)
        pHeaderItem->fmt = column.fmt | HDF_STRING;
    if (pHeaderItem->mask & HDI_LPARAM)
        pHeaderItem->lParam = column.lParam;
    return TRUE;
}

BOOL CHeaderCtrl::SetItem(int nPos, const HDITEM* pHeaderItem)
{
    CHeaderWidget* header = headerWidgetOf(this);
    if (!header || !pHeaderItem || nPos < 0 || nPos >= header->listModel()->columns())
        return FALSE;
    ZorListColumn column = header->listModel()->column(nPos);
    if (pHeaderItem->mask & HDI_TEXT)
        column.text = pHeaderItem->pszText ? pHeaderItem->pszText : "";
    if (pHeaderItem->mask & HDI_FORMAT)
        column.fmt = pHeaderItem->fmt & (HDF_JUSTIFYMASK | HDF_OWNERDRAW);
    if (pHeaderItem->mask & HDI_LPARAM)
        column.lParam = pHeaderItem->lParam;
    header->listModel()->changeColumn(nPos, column);
    if (pHeaderItem->mask & HDI_WIDTH)
        header->resizeSection(nPos, std::max(0, pHeaderItem->cxy));
    header->viewport()->update();
    return TRUE;
}

BOOL CHeaderCtrl::GetItemRect(int nIndex, LPRECT lpRect) const
{
    CHeaderWidget* header = headerWidgetOf(this);
    if (!header || !lpRect || nIndex < 0 || nIndex >= header->listModel()->columns())
        return FALSE;
    const int left = header->sectionViewportPosition(nIndex);
    *lpRect = {left, 0, left + header->sectionSize(nIndex), header->height()};
    return TRUE;
}

void CHeaderCtrl::DrawItem(DRAWITEMSTRUCT*) { }
