#include "controls/color/systemcolordialog.h"

#include "controls/color/colordialoganswer.h"
#include "framework/drawing/syscolor.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/ui/controls.h"

namespace {
constexpr UINT IDD_SYSTEMCOLOR = 425;
constexpr int IDC_PREVIEW = 3037;
constexpr int IDC_SYSCOLORLIST = 3038;
constexpr int IDC_USECUSTOM = 3039;
constexpr int IDC_HEXVALUE = 3040;
} // namespace

ZOR_DIALOG_TABLE({
    {IDD_SYSTEMCOLOR, "Color", 200, 96, "MS Sans Serif", 8, DS_MODALFRAME | WS_POPUP | WS_CAPTION,
        {{eDLG_STATIC, -1, "Pre-defined Windows color:", 7, 7, 120, 8, SS_LEFT},
            {eDLG_COMBOBOX, IDC_SYSCOLORLIST, "", 7, 18, 130, 120, CBS_DROPDOWNLIST | WS_TABSTOP},
            {eDLG_STATIC, IDC_PREVIEW, "", 7, 38, 60, 30, SS_LEFT},
            {eDLG_STATIC, IDC_HEXVALUE, "", 75, 48, 62, 8, SS_LEFT},
            {eDLG_BUTTON, IDOK, "Ok", 143, 7, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
            {eDLG_BUTTON, IDCANCEL, "Cancel", 143, 24, 50, 14, WS_TABSTOP},
            {eDLG_BUTTON, IDC_USECUSTOM, "&Use Custom Colors", 7, 75, 90, 14, WS_TABSTOP}}},
});

CSystemColorDialog::CSystemColorDialog(CWnd* pParent, int selection, bool showSwitch)
    : CDialog(IDD_SYSTEMCOLOR, pParent), m_initial(selection), m_showSwitch(showSwitch)
{
    onCommand(IDC_SYSCOLORLIST, CBN_SELCHANGE, [this] { onSelChange(); });
    onCommand(IDC_USECUSTOM, BN_CLICKED, [this] { EndDialog(c_nSwitchResult); });
}

INT_PTR CSystemColorDialog::DoModal()
{
    if (zorWidgetsDialogAnswerer())
        return zorRunColorDialog(this, IDD_SYSTEMCOLOR);
    return CDialog::DoModal();
}

BOOL CSystemColorDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    auto* list = static_cast<CComboBox*>(GetDlgItem(IDC_SYSCOLORLIST));
    if (list) {
        list->SetCurSel(0);
        for (int row = 0; row < CSysColor::c_nColors; ++row)
            list->AddString(CSysColor::getName(row).c_str());
        list->SetCurSel(m_initial);
    }
    if (!m_showSwitch) {
        if (CWnd* button = GetDlgItem(IDC_USECUSTOM))
            button->ShowWindow(SW_HIDE);
    }
    onSelChange();
    return TRUE;
}

void CSystemColorDialog::onSelChange()
{
    auto* list = static_cast<CComboBox*>(GetDlgItem(IDC_SYSCOLORLIST));
    m_selection = list ? list->GetCurSel() : -1;
    SetDlgItemText(IDC_HEXVALUE, CSysColor::formatHex(CSysColor::getRGB(m_selection)).c_str());
    const CRect area = previewRect();
    InvalidateRect(&area);
}

void CSystemColorDialog::OnOK()
{
    auto* list = static_cast<CComboBox*>(GetDlgItem(IDC_SYSCOLORLIST));
    m_selection = list ? list->GetCurSel() : m_selection;
    EndDialog(IDOK);
}

CRect CSystemColorDialog::previewRect() const
{
    CRect rect;
    if (CWnd* preview = GetDlgItem(IDC_PREVIEW)) {
        preview->GetClientRect(&rect);
        preview->ClientToScreen(&rect);
        ScreenToClient(&rect);
    }
    return rect;
}

void CSystemColorDialog::OnPaint()
{
    CPaintDC dc(this);
    if (m_selection < 0)
        return;
    CBrush brush(CSysColor::getRGB(m_selection));
    CBrush* old = dc.SelectObject(&brush);
    const CRect area = previewRect();
    dc.Rectangle(&area);
    dc.SelectObject(old);
}
