#include "framework/lists/sortablelistctrl.h"

namespace {

// The header's control id: its notifications reach the list with it.
constexpr UINT c_headerId = 0;

// What AddColumn adds to the text's width.
constexpr int c_columnMargin = 15;

} // namespace

CSortableListCtrl::CSortableListCtrl()
{
    onNotify(c_headerId, HDN_ITEMCLICK,
        [this](NMHDR* pNMHDR, LRESULT* pResult) { onItemClick(pNMHDR, pResult); });
    onNotify(c_headerId, HDN_ENDTRACK,
        [this](NMHDR* pNMHDR, LRESULT* pResult) { onEndTrack(pNMHDR, pResult); });
    onNotify(c_headerId, HDN_DIVIDERDBLCLICK,
        [this](NMHDR* pNMHDR, LRESULT* pResult) { OnDividerdblclick(pNMHDR, pResult); });
}

int CSortableListCtrl::OnCreate()
{
    const int result = CListCtrl::OnCreate();
    subclassHeader();
    return result;
}

void CSortableListCtrl::subclassHeader()
{
    CHeaderCtrl* header = GetHeaderCtrl();
    if (header && header != &m_ctlHeader && !m_ctlHeader.GetSafeHwnd())
        m_ctlHeader.SubclassWindow(header->GetSafeHwnd());
}

int CSortableListCtrl::addColumn(const char* text, int column, int width)
{
    return InsertColumn(column, text, LVCFMT_LEFT, width, column);
}

int CSortableListCtrl::AddColumn(const char* text, int column, int subItem, int mask, int format)
{
    LVCOLUMN lvc;
    lvc.mask = static_cast<UINT>(mask);
    lvc.fmt = format;
    lvc.pszText = const_cast<char*>(text);
    lvc.cx = GetStringWidth(text) + c_columnMargin;
    if (mask & LVCF_SUBITEM)
        lvc.iSubItem = subItem != -1 ? subItem : column;
    return InsertColumn(column, &lvc);
}

int CSortableListCtrl::addItem(int item, int subItem, const char* text, int image)
{
    LVITEM lvi;
    lvi.mask = LVIF_TEXT;
    lvi.iItem = item;
    lvi.iSubItem = subItem;
    lvi.pszText = const_cast<char*>(text);
    if (image != -1) {
        lvi.mask |= LVIF_IMAGE;
        lvi.iImage = image;
    }
    if (subItem == 0)
        return InsertItem(&lvi);
    return SetItem(&lvi);
}

int CSortableListCtrl::getCurSel() const
{
    if (GetSelectedCount() == 0)
        return -1;
    return GetNextItem(-1, LVNI_SELECTED);
}

void CSortableListCtrl::sort()
{
    if (m_nSortColumn != -1) {
        CSortClass csc(this, m_nSortColumn);
        csc.Sort(m_bSortAscending, getColType(m_nSortColumn));
    }
    m_ctlHeader.setSortArrow(m_nSortColumn, m_bSortAscending);
    HDITEM hdi;
    hdi.mask = HDI_FORMAT;
    if (m_ctlHeader.GetItem(m_nSortColumn, &hdi)) {
        hdi.fmt |= HDF_OWNERDRAW;
        m_ctlHeader.SetItem(m_nSortColumn, &hdi);
    }
    m_ctlHeader.Invalidate();
    if (CWnd* parent = GetParent())
        parent->PostMessage(WM_SORTLIST_SORTED, static_cast<WPARAM>(m_nSortColumn),
            static_cast<LPARAM>(m_bSortAscending));
}

eSORTCTRLTYPE CSortableListCtrl::getColType(int)
{
    return eSORT_TEXT;
}

void CSortableListCtrl::onItemClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* phdr = reinterpret_cast<const NMHEADER*>(pNMHDR);
    *pResult = 0;
    if (phdr->iButton != 0)
        return;
    if (phdr->iItem == m_nSortColumn)
        m_bSortAscending = !m_bSortAscending;
    else
        m_bSortAscending = TRUE;
    m_nSortColumn = phdr->iItem;
    sort();
}

void CSortableListCtrl::onEndTrack(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (CWnd* parent = GetParent())
        parent->PostMessage(WM_SORTLIST_COLUMNSIZED, 0, 0);
}

void CSortableListCtrl::OnDividerdblclick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (CWnd* parent = GetParent())
        parent->PostMessage(WM_SORTLIST_COLUMNSIZED, 0, 0);
}
