#include "picture/jpegproppage.h"

#include "picture/pictureids.h"
#include "picture/picturetypelib.h"
#include "platform/ui/controls.h"

namespace {

const char* name(DISPID dispid)
{
    return zorJPEGPropertyName(dispid);
}

} // namespace

CJPEGPropPage::CJPEGPropPage() : COlePropertyPage(IDD_PROPPAGE_JPEG, IDS_JPEG_PPG_CAPTION)
{
    onCommand(IDC_STRETCH, BN_CLICKED, [this] { onStretchClicked(); });
    onCommand(IDC_BOXBORDER, BN_CLICKED, [this] { onBoxBorderClicked(); });
    onCommand(IDC_BORDER, BN_CLICKED, [this] { onBorderClicked(); });
}

CJPEGPropPage::~CJPEGPropPage() = default;

BOOL CJPEGPropPage::OnInitDialog()
{
    // The exchange reads the control's properties first.
    const BOOL result = COlePropertyPage::OnInitDialog();
    enableKeepAspect();
    if (IsDlgButtonChecked(IDC_BOXBORDER)) {
        CheckDlgButton(IDC_BORDER, BST_UNCHECKED);
        enableBorderColor(false);
    }
    UpdateData(TRUE);
    if (m_border) {
        CheckDlgButton(IDC_BOXBORDER, BST_UNCHECKED);
        enableBorderColor(true);
    }
    return result;
}

void CJPEGPropPage::DoDataExchange(CDataExchange* pDX)
{
    DDP_HostedProperty(pDX, IDC_FILE, c_dispidHostedFile, name(eJPEG_FILE));
    DDP_Check(pDX, IDC_BOXBORDER, m_boxBorder, name(eJPEG_BOXBORDER));
    DDX_Check(pDX, IDC_BOXBORDER, m_boxBorder);
    DDP_Check(pDX, IDC_BORDER, m_border, name(eJPEG_BORDER));
    DDX_Check(pDX, IDC_BORDER, m_border);
    DDP_HostedProperty(pDX, IDC_BORDERCOLOR, c_dispidHostedRGBColor, name(eJPEG_BORDERCOLOR));
    DDP_HostedProperty(pDX, IDC_BACKCOLOR, c_dispidHostedRGBColor, name(eJPEG_BACKCOLOR));
    DDP_Check(pDX, IDC_STRETCH, m_stretch, name(eJPEG_STRETCH));
    DDX_Check(pDX, IDC_STRETCH, m_stretch);
    DDP_Check(pDX, IDC_KEEPASPECT, m_keepAspectRatio, name(eJPEG_KEEPASPECTRATIO));
    DDX_Check(pDX, IDC_KEEPASPECT, m_keepAspectRatio);
    DDP_Check(pDX, IDC_RESIZEWINDOW, m_resizeWindow, name(eJPEG_RESIZEWINDOW));
    DDX_Check(pDX, IDC_RESIZEWINDOW, m_resizeWindow);
    DDP_PostProcessing(pDX);
}

BOOL CJPEGPropPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The hosted colour controls report a change, and the picker a file chosen, with code 0
    // from their ids.
    const int id = LOWORD(static_cast<DWORD>(wParam));
    if (HIWORD(static_cast<DWORD>(wParam)) == 0 && !isInitializing()
        && (id == IDC_FILE || id == IDC_BORDERCOLOR || id == IDC_BACKCOLOR))
        SetModified(TRUE);
    return COlePropertyPage::OnCommand(wParam, lParam);
}

void CJPEGPropPage::enableKeepAspect()
{
    if (CWnd* keep = GetDlgItem(IDC_KEEPASPECT))
        keep->EnableWindow(IsDlgButtonChecked(IDC_STRETCH) != 0);
}

void CJPEGPropPage::enableBorderColor(bool enable)
{
    for (const int id : {IDC_BORDERCOLOR, IDC_BORDERCOLOR_LABEL}) {
        if (CWnd* item = GetDlgItem(id))
            item->EnableWindow(enable);
    }
}

void CJPEGPropPage::onStretchClicked()
{
    enableKeepAspect();
}

void CJPEGPropPage::onBoxBorderClicked()
{
    if (!IsDlgButtonChecked(IDC_BOXBORDER))
        return;
    CheckDlgButton(IDC_BORDER, BST_UNCHECKED);
    enableBorderColor(false);
}

void CJPEGPropPage::onBorderClicked()
{
    UpdateData(TRUE);
    if (!m_border)
        return;
    CheckDlgButton(IDC_BOXBORDER, BST_UNCHECKED);
    enableBorderColor(true);
}
