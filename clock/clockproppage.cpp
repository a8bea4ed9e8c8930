#include "clock/clockproppage.h"

#include "clock/clockids.h"
#include "clock/clocktypelib.h"
#include "clock/clockzone.h"
#include "platform/ui/controls.h"

#include <cstdint>

CClockPropPage::CClockPropPage() : COlePropertyPage(IDD_CLOCK_PPG, IDS_CLOCK_GENERAL)
{
    onCommand(IDC_CLOCK_ZONE, CBN_SELCHANGE, [this] { onZoneChanged(); });
}

CClockPropPage::~CClockPropPage() = default;

BOOL CClockPropPage::OnInitDialog()
{
    // The exchange reads the control's properties first; the list then shows the zone read.
    const BOOL result = COlePropertyPage::OnInitDialog();
    fillZones();
    return result;
}

void CClockPropPage::fillZones()
{
    auto* list = static_cast<CComboBox*>(GetDlgItem(IDC_CLOCK_ZONE));
    if (!list)
        return;
    list->ResetContent();
    int selected = -1;
    for (const ZorClockZone& zone : zorClockZones()) {
        const int row = list->AddString(zone.text);
        list->SetItemData(row, static_cast<DWORD_PTR>(static_cast<std::intptr_t>(zone.minutes)));
        if (zone.minutes == m_zone)
            selected = row;
    }
    list->SetCurSel(selected);
}

void CClockPropPage::onZoneChanged()
{
    const auto* list = static_cast<const CComboBox*>(GetDlgItem(IDC_CLOCK_ZONE));
    const int row = list ? list->GetCurSel() : -1;
    if (row >= 0)
        m_zone = static_cast<int>(static_cast<std::intptr_t>(list->GetItemData(row)));
}

void CClockPropPage::DoDataExchange(CDataExchange* pDX)
{
    // The zone's value is the page's own, kept by the list's selection.
    DDP_Text(pDX, IDC_CLOCK_ZONE, m_zone, zorClockPropertyName(eCLOCK_ZONE));
    DDP_HostedProperty(
        pDX, IDC_CLOCK_FOREGROUND, c_dispidHostedRGBColor, zorClockPropertyName(eCLOCK_FOREGROUND));
    DDP_HostedProperty(
        pDX, IDC_CLOCK_BACKGROUND, c_dispidHostedRGBColor, zorClockPropertyName(eCLOCK_BACKGROUND));
    DDP_HostedProperty(
        pDX, IDC_CLOCK_SHADOW, c_dispidHostedRGBColor, zorClockPropertyName(eCLOCK_SHADOW));
    DDP_Check(pDX, IDC_CLOCK_BORDER, m_border, zorClockPropertyName(eCLOCK_BORDER));
    DDX_Check(pDX, IDC_CLOCK_BORDER, m_border);
    DDP_Check(pDX, IDC_CLOCK_DIGITAL, m_digital, zorClockPropertyName(eCLOCK_DIGITAL));
    DDX_Check(pDX, IDC_CLOCK_DIGITAL, m_digital);
    DDP_Check(pDX, IDC_CLOCK_SHOWDATE, m_showDate, zorClockPropertyName(eCLOCK_SHOWDATE));
    DDX_Check(pDX, IDC_CLOCK_SHOWDATE, m_showDate);
    DDP_PostProcessing(pDX);
}

BOOL CClockPropPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // A hosted colour control reports a change with code 0 from its id.
    const int id = LOWORD(static_cast<DWORD>(wParam));
    if (HIWORD(static_cast<DWORD>(wParam)) == 0
        && (id == IDC_CLOCK_FOREGROUND || id == IDC_CLOCK_BACKGROUND || id == IDC_CLOCK_SHADOW))
        SetModified(TRUE);
    return COlePropertyPage::OnCommand(wParam, lParam);
}
