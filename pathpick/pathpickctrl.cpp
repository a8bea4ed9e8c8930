#include "pathpick/pathpickctrl.h"

#include "framework/drawing/drawbox.h"
#include "framework/values/path.h"
#include "pathpick/pathpickgeometry.h"
#include "pathpick/pathpickids.h"
#include "pathpick/pathpicktypelib.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/dcguard.h"
#include "platform/gdi/syscolor.h"
#include "platform/ui/controls.h"
#include "platform/ui/filedialog.h"
#include "platform/ui/messagebox.h"

namespace {

constexpr const char* c_szDefaultPath = ".\\";
constexpr const char* c_szDefaultFile = "*.*";
constexpr const char* c_szDefaultFilePrompt = "All Files (*.*)";
constexpr const char* c_szDialogTitle = "Locate File";
constexpr DWORD c_defaultBackColor = 0x0F000000;
constexpr DWORD c_defaultForeColor = 0x08000000;

const char* name(DISPID dispid)
{
    return zorPathPickPropertyName(dispid);
}

} // namespace

CPathPickCtrl::CPathPickCtrl()
{
    setTypeInfo(zorPathPickTypeInfo());
    addInterface(IID_DPathPick);
    addStockFont();

    bindProperty(ePATHPICK_FILE, m_file);
    bindProperty(ePATHPICK_DEFAULTPATH, m_defaultPath);
    bindProperty(ePATHPICK_DEFAULTFILE, m_defaultFile);
    // The control's value is File.
    bindProperty(ePATHPICK_VALUE, m_file);
    bindProperty(ePATHPICK_DEFAULTFILEPROMPT, m_defaultFilePrompt);
    bindProperty(ePATHPICK_DIALOGTITLE, m_dialogTitle);
    bindProperty(ePATHPICK_BACKCOLOR, m_backColor);
    bindProperty(ePATHPICK_FORECOLOR, m_foreColor);
    addDeclaredMethod(ePATHPICK_LOOKUPFILE, [this](const DISPPARAMS&, COleVariant* result) {
        const std::string path = LookupFile();
        if (result)
            *result = COleVariant(path);
        return S_OK;
    });

    OnResetState();
    SetModifiedFlag(FALSE);
}

CPathPickCtrl::~CPathPickCtrl() = default;

void CPathPickCtrl::DoPropExchange(CPropExchange* pPX)
{
    DWORD version = c_dwPathPickVersion;
    pPX->ExchangeVersion(version, c_dwPathPickVersion, true);
    PX_String(pPX, name(ePATHPICK_FILE), m_file, "");
    PX_String(pPX, name(ePATHPICK_DEFAULTPATH), m_defaultPath, c_szDefaultPath);
    PX_String(pPX, name(ePATHPICK_DEFAULTFILE), m_defaultFile, c_szDefaultFile);
    PX_String(pPX, name(ePATHPICK_DEFAULTFILEPROMPT), m_defaultFilePrompt, c_szDefaultFilePrompt);
    PX_String(pPX, name(ePATHPICK_DIALOGTITLE), m_dialogTitle, c_szDialogTitle);
    // The frame's part: the stock colours, then the stock font and the extent.
    PX_Color(pPX, name(ePATHPICK_BACKCOLOR), m_backColor, c_defaultBackColor);
    PX_Color(pPX, name(ePATHPICK_FORECOLOR), m_foreColor, c_defaultForeColor);
    exchangeStockProps(pPX);
}

std::vector<CLSID> CPathPickCtrl::GetPropPageIDs() const
{
    return {CLSID_zorPathPickPropPage};
}

BOOL CPathPickCtrl::CreateControlWindow(CWnd* pParent, const CRect& rect, UINT nID)
{
    if (GetSafeHwnd())
        return FALSE;
    // The window is of the push-button class; the control paints all of it itself.
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    if (!pParent)
        style = WS_POPUP;
    return CreateEx(0, "Button", "", style, rect, pParent, nID);
}

// --- painting ---------------------------------------------------------------------------------

void CPathPickCtrl::OnDraw(CDC* pdc, const CRect& rcBounds, const CRect&)
{
    CFont* oldFont = SelectStockFont(pdc);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    drawBox(pdc, rcBounds, 2, false, face);

    const ZorPathPickLayout layout = zorPathPickLayout(rcBounds);
    m_rcText = layout.text;
    m_rcButton = layout.button;
    drawTextField(pdc, m_rcText);
    drawButton(pdc, m_rcButton);

    if (oldFont)
        pdc->SelectObject(oldFont);
}

void CPathPickCtrl::drawTextField(CDC* pdc, CRect text)
{
    pdc->Rectangle(&text);
    text.DeflateRect(5, 2);
    pdc->DrawText(m_file, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void CPathPickCtrl::drawButton(CDC* pdc, const CRect& button)
{
    drawBox(pdc, button, 2, !m_pressed, GetSysColor(COLOR_BTNFACE));
    // The clip and the background mode hold for the label alone.
    CDCGuard guard(pdc, CDCGuard::wholeState);
    CRect label = button;
    label.DeflateRect(2, 2);
    pdc->IntersectClipRect(&label);
    pdc->SetBkMode(TRANSPARENT);
    pdc->DrawText("...", &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// --- the dialog -------------------------------------------------------------------------------

std::string CPathPickCtrl::initialFolder() const
{
    const CPath path(m_file.empty() ? m_defaultPath : m_file);
    return (path.getDrive() + path.getDir()).substr(0, c_nFileNameLimit);
}

std::string CPathPickCtrl::LookupFile()
{
    // One entry: the prompt with a blank after it, the pattern with a blank on either side.
    const std::string filter = m_defaultFilePrompt + " | " + m_defaultFile + " ||";
    CFileDialog dialog(TRUE, nullptr, nullptr,
        OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, filter.c_str(), nullptr);
    dialog.m_ofn.lpstrTitle = m_dialogTitle;
    dialog.m_ofn.lpstrFile = m_defaultFile.substr(0, c_nFileNameLimit);
    dialog.m_ofn.nMaxFile = c_nFileNameLimit;
    dialog.m_ofn.lpstrInitialDir = initialFolder();
    if (dialog.DoModal() != IDOK)
        return {};
    m_file = dialog.GetPathName();
    SetModifiedFlag();
    InvalidateControl();
    return m_file;
}

// --- mouse and commands -----------------------------------------------------------------------

void CPathPickCtrl::OnLButtonDown(UINT, CPoint point)
{
    // Only the button reacts, and not while its own dialog still runs.
    if (m_pressed || !m_rcButton.PtInRect(point))
        return;
    AddRef();
    m_pressed = true;
    InvalidateControl();
    LookupFile();
    if (GetSafeHwnd()) {
        if (CWnd* parent = GetParent()) {
            parent->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID() & 0xFFFF, BN_CLICKED),
                reinterpret_cast<LPARAM>(GetSafeHwnd()));
        }
    }
    m_pressed = false;
    InvalidateControl();
    Release();
}

void CPathPickCtrl::OnLButtonDblClk(UINT, CPoint)
{
    // A double click opens nothing; only the press of the button does.
}

void CPathPickCtrl::OnOcmCommand(WPARAM wParam, LPARAM)
{
    if (HIWORD(static_cast<DWORD>(wParam)) == BN_CLICKED)
        FireClick();
}
