#include "tools/zorlists/listsdialog.h"

#include "platform/types/oledatetime.h"
#include "platform/ui/cmdui.h"
#include "platform/ui/controls.h"
#include "platform/ui/headerctrl.h"
#include "platform/ui/strings.h"
#include "tools/zorlists/resource.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int c_sortRows = 300;
constexpr int c_virtualRows = 1000000;

const char* const c_names[] = {"Anders", "berta", "Corvin", "dora", "Emil", "Frieda", "gustav",
    "Hanna", "Ida", "julius", "Kaspar", "Lene", "Moritz", "nora", "Otto", "Paula"};

// A small generator of its own, so every run shows the same rows.
unsigned nextRandom(unsigned& seed)
{
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) & 0xFFFFFF;
}

} // namespace

eSORTCTRLTYPE CSampleSortList::getColType(int column)
{
    switch (column) {
    case 0:
        return eSORT_INT;
    case 2:
        return eSORT_DATE;
    case 3:
        return eSORT_DEC;
    case 4:
        return eSORT_HEX;
    default:
        return eSORT_TEXT;
    }
}

CListsDialog::CListsDialog(bool bSorted)
    : CToolBarDialog(IDD_LISTS, IDR_LISTS, true), m_bSorted(bSorted)
{
    onCommand(ID_SORT_NUMBER, BN_CLICKED, [this] { clickHeader(0); });
    onCommand(ID_SORT_NAME, BN_CLICKED, [this] { clickHeader(1); });
    onCommand(ID_SORT_DATE, BN_CLICKED, [this] { clickHeader(2); });
    onCommand(
        ID_GO_END, BN_CLICKED, [this] { m_virtualList.EnsureVisible(c_virtualRows - 1, FALSE); });
    onCommand(ID_REFILL, BN_CLICKED, [this] { fillSortList(); });
    // The sort buttons show which column the list is sorted by.
    for (UINT nID : {ID_SORT_NUMBER, ID_SORT_NAME, ID_SORT_DATE}) {
        onUpdateCommandUI(nID, [this, nID](CCmdUI* pCmdUI) {
            pCmdUI->Enable(TRUE);
            pCmdUI->SetCheck(m_sortList.sortColumn() == static_cast<int>(nID - ID_SORT_NUMBER));
        });
    }
    onNotify(IDC_VIRTUALLIST, LVN_GETDISPINFO,
        [this](NMHDR* pNMHDR, LRESULT*) { onGetDispInfo(pNMHDR); });
}

BOOL CListsDialog::OnInitDialog()
{
    // The lists take their designed places first, so that the room made for the toolbar moves
    // them with the template's controls.
    createLists();
    CToolBarDialog::OnInitDialog();

    addAnchor(IDC_SORTLIST, anchorTopLeft, anchorBottomCenter);
    addAnchor(IDC_VIRTUAL_LABEL, anchorTopCenter);
    addAnchor(IDC_VIRTUALLIST, anchorTopCenter, anchorBottomRight);
    addAnchor(IDC_STATUS, anchorBottomLeft, anchorBottomRight);
    addAnchor(IDOK, anchorBottomRight);

    fillSortList();
    m_virtualList.setItemCount(c_virtualRows);
    if (m_bSorted)
        clickHeader(2);
    return TRUE;
}

void CListsDialog::createLists()
{
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL
        | LVS_SHOWSELALWAYS;
    m_sortList.Create(style, MapDialogRect(CRect(7, 16, 217, 218)), this, IDC_SORTLIST);
    m_sortList.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    m_sortList.addColumn("Number", 0, 60);
    m_sortList.addColumn("Name", 1, 70);
    m_sortList.addColumn("Date", 2, 80);
    m_sortList.addColumn("Amount", 3, 70);
    m_sortList.addColumn("Code", 4, 60);

    m_virtualList.Create(style, MapDialogRect(CRect(227, 16, 433, 218)), this, IDC_VIRTUALLIST);
    m_virtualList.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    m_virtualList.addColumn("Row", 0, 80);
    m_virtualList.addColumn("Square", 1, 120);
    m_virtualList.addColumn("Hex", 2, 90);
}

void CListsDialog::fillSortList()
{
    m_sortList.DeleteAllItems();
    char text[64];
    for (int row = 0; row < c_sortRows; ++row) {
        std::snprintf(text, sizeof text, "%u", nextRandom(m_seed) % 100000);
        const int item = m_sortList.addItem(row, 0, text);
        m_sortList.addItem(item, 1, c_names[nextRandom(m_seed) % std::size(c_names)]);
        const COleDateTime date(1995 + static_cast<int>(nextRandom(m_seed) % 12),
            1 + static_cast<int>(nextRandom(m_seed) % 12),
            1 + static_cast<int>(nextRandom(m_seed) % 28), 0, 0, 0);
        m_sortList.addItem(item, 2, date.Format("%x").c_str());
        std::snprintf(text, sizeof text, "%.2f", (nextRandom(m_seed) % 2000000) / 100.0 - 5000.0);
        m_sortList.addItem(item, 3, text);
        std::snprintf(text, sizeof text, "%X", nextRandom(m_seed) % 0x10000);
        m_sortList.addItem(item, 4, text);
    }
    // New rows keep the order the user chose.
    m_sortList.sort();
}

void CListsDialog::clickHeader(int column)
{
    CHeaderCtrl* pHeader = m_sortList.GetHeaderCtrl();
    NMHEADER click;
    click.hdr = NMHDR {pHeader ? pHeader->GetSafeHwnd() : nullptr, 0, HDN_ITEMCLICK};
    click.iItem = column;
    click.iButton = 0;
    m_sortList.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
}

void CListsDialog::onGetDispInfo(NMHDR* pNMHDR)
{
    auto* info = reinterpret_cast<NMLVDISPINFO*>(pNMHDR);
    LVITEM& item = info->item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0)
        return;
    // The rows are in order of their number; descending shows them from the last.
    const long long row = m_bVirtualAscending ? item.iItem : c_virtualRows - 1 - item.iItem;
    char text[64];
    switch (item.iSubItem) {
    case 0:
        std::snprintf(text, sizeof text, "%lld", row + 1);
        break;
    case 1:
        std::snprintf(text, sizeof text, "%lld", (row + 1) * (row + 1));
        break;
    default:
        std::snprintf(text, sizeof text, "0x%06llX", row + 1);
        break;
    }
    std::snprintf(item.pszText, static_cast<std::size_t>(item.cchTextMax), "%s", text);
}

void CListsDialog::showMessageString(UINT nID)
{
    char text[256] = {};
    if (nID != AFX_IDS_IDLEMESSAGE)
        LoadStringA(nullptr, nID, text, sizeof text);
    std::string line = text;
    if (const std::size_t lineBreak = line.find('\n'); lineBreak != std::string::npos)
        line.erase(lineBreak);
    SetDlgItemText(IDC_STATUS, line.empty() ? "Ready" : line.c_str());
}

LRESULT CListsDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETMESSAGESTRING) {
        showMessageString(static_cast<UINT>(wParam));
        return 0;
    }
    if (message == WM_SORTLIST_SORTED) {
        // Either list may have sorted: the virtual one shows its rows the way its header says.
        const bool ascending = m_virtualList.sortColumn() < 0 || m_virtualList.sortAscending();
        if (ascending != m_bVirtualAscending) {
            m_bVirtualAscending = ascending;
            m_virtualList.Invalidate();
        }
        return 0;
    }
    return CToolBarDialog::WindowProc(message, wParam, lParam);
}
