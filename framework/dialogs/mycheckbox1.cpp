#include "framework/dialogs/mycheckbox1.h"

CMyCheckBox1::CMyCheckBox1() = default;

CMyCheckBox1::~CMyCheckBox1()
{
    // The window goes before the font it draws with.
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CMyCheckBox1::setParent(CWnd* pParent, CRect rect, UINT nID)
{
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | WS_GROUP
        | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_USETABSTOPS;
    return Create(dwStyle, rect, pParent, nID);
}

int CMyCheckBox1::OnCreate()
{
    if (CCheckListBox::OnCreate() == -1)
        return -1;
    m_font.CreateFont(
        -8, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    SetFont(&m_font);
    RedrawWindow();
    return 0;
}
