#include "platform/ui/dialog.h"

#include "platform/gdi/fonts.h"
#include "platform/ui/controls.h"
#include "platform/ui/strings.h"

#include <QtCore/QEventLoop>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <cerrno>
#include <cstdlib>

namespace {

// The virtual keys the dialog answers to.
constexpr WPARAM c_keyReturn = 0x0D;
constexpr WPARAM c_keyEscape = 0x1B;
constexpr DWORD c_editWantReturn = 0x1000;

bool isPushButton(const CWnd* wnd)
{
    if (!wnd || wnd->GetClassName() != "Button")
        return false;
    const DWORD type = wnd->GetStyle() & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

} // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{ }

CDialog::~CDialog()
{
    if (m_hWnd)
        CDialog::DestroyWindow();
}

INT_PTR CDialog::DoModal()
{
    const DialogTemplate* tmpl = zorFindDialogTemplate(m_nIDTemplate);
    if (!tmpl && m_template)
        tmpl = m_template;
    if (!tmpl)
        return -1;
    m_ended = false;
    m_nModalResult = -1;
    QEventLoop loop;
    m_loop = &loop;
    if (!createFromTemplate(*tmpl, m_pParentWnd, false)) {
        m_loop = nullptr;
        return -1;
    }
    if (!m_ended && m_hWnd) {
        widget()->setWindowModality(Qt::ApplicationModal);
        ShowWindow(SW_SHOW);
        loop.exec();
    }
    m_loop = nullptr;
    const int result = m_nModalResult;
    if (m_hWnd)
        DestroyWindow();
    return result;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    const DialogTemplate* tmpl = zorFindDialogTemplate(nIDTemplate);
    if (!tmpl)
        return FALSE;
    if (!createFromTemplate(*tmpl, pParentWnd, (tmpl->style & WS_CHILD) != 0))
        return FALSE;
    if ((tmpl->style & WS_VISIBLE) && m_hWnd)
        ShowWindow(SW_SHOW);
    return m_hWnd != nullptr;
}

BOOL CDialog::CreateIndirect(const DialogTemplate& tmpl, CWnd* pParentWnd)
{
    m_ownTemplate = tmpl;
    m_nIDTemplate = tmpl.id;
    m_pParentWnd = pParentWnd;
    if (!createFromTemplate(m_ownTemplate, pParentWnd, (tmpl.style & WS_CHILD) != 0))
        return FALSE;
    if ((tmpl.style & WS_VISIBLE) && m_hWnd)
        ShowWindow(SW_SHOW);
    return m_hWnd != nullptr;
}

BOOL CDialog::createFromTemplate(const DialogTemplate& tmpl, CWnd* pParentWnd, bool asChild)
{
    if (m_hWnd)
        return FALSE;
    m_template = &tmpl;
    m_baseUnits = zorDialogBaseUnits(tmpl.fontFace ? tmpl.fontFace : "", tmpl.pointSize);
    const CRect size = zorDialogUnitsToPixels(tmpl, 0, 0, tmpl.cx, tmpl.cy);
    DWORD style = tmpl.style & ~WS_VISIBLE;
    if (asChild)
        style = (style & ~WS_POPUP) | WS_CHILD;
    else if (!(style & WS_CHILD))
        style |= WS_POPUP;
    CRect rect(0, 0, size.Width(), size.Height());
    if (asChild) {
        const CRect at = zorDialogUnitsToPixels(tmpl, 0, 0, 0, 0);
        rect.OffsetRect(at.left, at.top);
    }
    setClassName("#32770");
    if (!CreateEx(tmpl.exStyle, "#32770", tmpl.caption, style, rect, pParentWnd, 0))
        return FALSE;
    QWidget* w = widget();
    w->setFont(zorDialogFont(tmpl));
    w->setAutoFillBackground(false);
    if (!asChild) {
        // Placed centred over the owner, or on the work area, before the dialog initialises
        // (which may restore a saved placement).
        CRect area;
        if (pParentWnd && pParentWnd->GetSafeHwnd())
            pParentWnd->GetTopLevelParent()->GetWindowRect(&area);
        else
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        w->move(area.left + (area.Width() - rect.Width()) / 2,
            area.top + (area.Height() - rect.Height()) / 2);
    }
    m_defaultButtonId = IDOK;
    m_controls.clear();
    for (const DialogItem& item : tmpl.items) {
        CWnd* control = zorCreateControl(this, tmpl, item, zorItemRect(tmpl, item));
        if (!control)
            continue;
        m_controls.emplace_back(control);
        if (item.kind == eDLG_BUTTON && (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            m_defaultButtonId = item.id;
    }
    const HWND self = m_hWnd;
    const LRESULT setFocus = SendMessage(WM_INITDIALOG, 0, 0);
    if (!IsWindow(self))
        return FALSE;
    if (setFocus) {
        for (CWnd* child : children()) {
            if ((child->GetStyle() & WS_TABSTOP) && child->IsWindowEnabled()
                && !child->widget()->isHidden()) {
                child->SetFocus();
                break;
            }
        }
    }
    return TRUE;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    return CWnd::WindowProc(message, wParam, lParam);
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_ended = true;
    if (QWidget* w = widget())
        w->hide();
    if (m_loop)
        m_loop->quit();
}

CRect CDialog::MapDialogRect(const CRect& dialogUnits) const
{
    if (!m_template)
        return dialogUnits;
    return zorDialogUnitsToPixels(
        *m_template, dialogUnits.left, dialogUnits.top, dialogUnits.Width(), dialogUnits.Height());
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) { }

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode)
{
    if (nCode == static_cast<int>(BN_CLICKED)) {
        if (nID == static_cast<UINT>(IDOK)) {
            OnOK();
            return TRUE;
        }
        if (nID == static_cast<UINT>(IDCANCEL)) {
            OnCancel();
            return TRUE;
        }
    }
    return CWnd::OnCmdMsg(nID, nCode);
}

void CDialog::OnClose()
{
    // Closing a dialog is its Cancel.
    SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

BOOL CDialog::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    if (m_loop && !m_ended) {
        m_ended = true;
        m_loop->quit();
    }
    const BOOL result = CWnd::DestroyWindow();
    m_controls.clear();
    return result;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message != WM_KEYDOWN || (GetStyle() & WS_CHILD))
        return CWnd::PreTranslateMessage(pMsg);
    CWnd* target = CWnd::FromHandle(pMsg->hwnd);
    if (!target || (target != this && !IsChild(target)))
        return FALSE;
    if (pMsg->wParam == c_keyEscape) {
        CWnd* cancel = GetDlgItem(IDCANCEL);
        if (cancel && !cancel->IsWindowEnabled())
            return TRUE;
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
            reinterpret_cast<LPARAM>(cancel ? cancel->m_hWnd : nullptr));
        return TRUE;
    }
    if (pMsg->wParam == c_keyReturn) {
        CWnd* focus = CWnd::GetFocus();
        if (focus && focus->GetClassName() == "Edit" && (focus->GetStyle() & ES_MULTILINE)
            && (focus->GetStyle() & c_editWantReturn))
            return FALSE;
        if (isPushButton(focus) && IsChild(focus)) {
            SendMessage(WM_COMMAND, MAKEWPARAM(focus->GetDlgCtrlID(), BN_CLICKED),
                reinterpret_cast<LPARAM>(focus->m_hWnd));
            return TRUE;
        }
        CWnd* button = GetDlgItem(m_defaultButtonId);
        if (button && !button->IsWindowEnabled())
            return TRUE;
        SendMessage(WM_COMMAND, MAKEWPARAM(m_defaultButtonId, BN_CLICKED),
            reinterpret_cast<LPARAM>(button ? button->m_hWnd : nullptr));
        return TRUE;
    }
    return FALSE;
}

BOOL CDialog::SetDlgItemText(int nID, const char* lpszString)
{
    CWnd* item = GetDlgItem(nID);
    if (!item)
        return FALSE;
    item->SetWindowText(lpszString);
    return TRUE;
}

std::string CDialog::GetDlgItemText(int nID) const
{
    CWnd* item = GetDlgItem(nID);
    return item ? item->GetWindowText() : std::string();
}

void CDialog::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned)
{
    const std::string text
        = bSigned ? std::to_string(static_cast<int>(nValue)) : std::to_string(nValue);
    SetDlgItemText(nID, text.c_str());
}

UINT CDialog::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const
{
    if (lpTrans)
        *lpTrans = FALSE;
    CWnd* item = GetDlgItem(nID);
    if (!item)
        return 0;
    const std::string text = item->GetWindowText();
    const char* p = text.c_str();
    while (*p == ' ' || *p == '\t')
        ++p;
    if (!*p || (!bSigned && *p == '-'))
        return 0;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(p, &end, 10);
    while (end && (*end == ' ' || *end == '\t'))
        ++end;
    if (!end || *end || errno == ERANGE || end == p)
        return 0;
    if (bSigned ? (value < INT32_MIN || value > INT32_MAX) : (value < 0 || value > UINT32_MAX))
        return 0;
    if (lpTrans)
        *lpTrans = TRUE;
    return static_cast<UINT>(value);
}

void CDialog::CheckDlgButton(int nIDButton, UINT nCheck)
{
    if (auto* button = dynamic_cast<CButton*>(GetDlgItem(nIDButton)))
        button->SetCheck(static_cast<int>(nCheck));
}

UINT CDialog::IsDlgButtonChecked(int nIDButton) const
{
    auto* button = dynamic_cast<CButton*>(GetDlgItem(nIDButton));
    return button ? static_cast<UINT>(button->GetCheck()) : 0;
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (!pWndCtrl)
        return;
    pWndCtrl->SetFocus();
    if (auto* edit = dynamic_cast<CEdit*>(pWndCtrl))
        edit->SetSel(0, -1);
}

void CDialog::NextDlgCtrl() const
{
    if (QWidget* w = widget()) {
        if (QWidget* focus = QApplication::focusWidget(); focus && w->isAncestorOf(focus))
            focus->nextInFocusChain()->setFocus(Qt::TabFocusReason);
    }
}

// --- CPropertyPage -----------------------------------------------------------------------

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CDialog(nIDTemplate, nullptr), m_nIDCaption(nIDCaption)
{ }

BOOL CPropertyPage::createPage(CWnd* pParentWnd)
{
    m_pParentWnd = pParentWnd;
    const DialogTemplate* tmpl = zorFindDialogTemplate(m_nIDTemplate);
    if (!tmpl || !pParentWnd)
        return FALSE;
    if (!createFromTemplate(*tmpl, pParentWnd, true))
        return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

std::string CPropertyPage::caption() const
{
    if (m_nIDCaption) {
        char buffer[256];
        if (LoadStringA(AfxGetResourceHandle(), m_nIDCaption, buffer, sizeof buffer) > 0)
            return buffer;
    }
    const DialogTemplate* tmpl = dialogTemplate();
    if (!tmpl)
        tmpl = zorFindDialogTemplate(m_nIDTemplate);
    return tmpl && tmpl->caption ? tmpl->caption : "";
}

void CPropertyPage::SetModified(BOOL bChanged)
{
    m_bModified = bChanged;
}

BOOL CPropertyPage::OnApply()
{
    if (!UpdateData(TRUE))
        return FALSE;
    SetModified(FALSE);
    return TRUE;
}

void CPropertyPage::OnOK() { }

void CPropertyPage::OnCancel() { }
