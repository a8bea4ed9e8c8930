#include "controls/progress/progressproppage.h"

#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "controls/progress/progresspageids.h"
#include "platform/ui/controls.h"

#include <climits>

namespace {

const char* name(DISPID dispid)
{
    return zorPropertyName(zorProgressTypeInfo(), dispid);
}

void setSpinRange(CWnd* spin, int lower, int upper)
{
    if (auto* control = dynamic_cast<CSpinButtonCtrl*>(spin))
        control->SetRange32(lower, upper);
}

} // namespace

CProgressPropPage::CProgressPropPage() : COlePropertyPage(IDD_PROGRESS_PPG, IDS_GENERAL) { }

CProgressPropPage::~CProgressPropPage() = default;

BOOL CProgressPropPage::OnInitDialog()
{
    // The arrows count up from the smallest sensible value; the numbers stay editable beyond.
    setSpinRange(GetDlgItem(IDC_PROGRESS_RANGESPIN), 1, INT_MAX);
    setSpinRange(GetDlgItem(IDC_PROGRESS_POSITIONSPIN), 0, INT_MAX);
    return COlePropertyPage::OnInitDialog();
}

void CProgressPropPage::DoDataExchange(CDataExchange* pDX)
{
    DDP_HostedProperty(
        pDX, IDC_PROGRESS_FOREGROUND, eCOLOR_RGBCOLOR, name(ePROGRESS_FOREGROUNDCOLOR));
    DDP_HostedProperty(
        pDX, IDC_PROGRESS_FOREGROUND2, eCOLOR_RGBCOLOR, name(ePROGRESS_FOREGROUNDCOLOR2));
    DDP_HostedProperty(
        pDX, IDC_PROGRESS_BACKGROUND, eCOLOR_RGBCOLOR, name(ePROGRESS_BACKGROUNDCOLOR));
    DDP_HostedProperty(pDX, IDC_PROGRESS_TEXTCOLOR, eCOLOR_RGBCOLOR, name(ePROGRESS_TEXTCOLOR));
    DDP_Text(pDX, IDC_PROGRESS_RANGE, m_range, name(ePROGRESS_RANGE));
    DDX_Text(pDX, IDC_PROGRESS_RANGE, m_range);
    DDP_Text(pDX, IDC_PROGRESS_POSITION, m_position, name(ePROGRESS_POSITION));
    DDX_Text(pDX, IDC_PROGRESS_POSITION, m_position);
    exchangeShowPercent(pDX);
    DDP_PostProcessing(pDX);
}

void CProgressPropPage::exchangeShowPercent(CDataExchange* pDX)
{
    const char* property = name(ePROGRESS_SHOWPERCENT);
    if (!pDX->m_bSaveAndValidate) {
        COleVariant value;
        if (getProperty(property, &value) && value.ChangeType(VT_I4))
            m_showPercent = value.lVal;
        m_percentChecked = m_showPercent != 0 ? 1 : 0;
        DDX_Check(pDX, IDC_PROGRESS_SHOWPERCENT, m_percentChecked);
        return;
    }
    DDX_Check(pDX, IDC_PROGRESS_SHOWPERCENT, m_percentChecked);
    const LONG showPercent = m_percentChecked ? (m_showPercent ? m_showPercent : 1) : 0;
    queuePropertyWrite([this, property, showPercent] {
        putProperty(property, COleVariant(static_cast<long>(showPercent)));
        m_showPercent = showPercent;
    });
}

BOOL CProgressPropPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // A hosted colour control reports a change with code 0 from its id.
    const int id = LOWORD(static_cast<DWORD>(wParam));
    if (HIWORD(static_cast<DWORD>(wParam)) == 0
        && (id == IDC_PROGRESS_FOREGROUND || id == IDC_PROGRESS_FOREGROUND2
            || id == IDC_PROGRESS_BACKGROUND || id == IDC_PROGRESS_TEXTCOLOR))
        SetModified(TRUE);
    return COlePropertyPage::OnCommand(wParam, lParam);
}
