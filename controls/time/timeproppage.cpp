#include "controls/time/timeproppage.h"

#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "platform/ui/controls.h"

namespace {

// The interval the up-down control offers, in seconds.
constexpr int c_nMinInterval = 1;
constexpr int c_nMaxInterval = 600;

} // namespace

CTimePropPage::CTimePropPage() : CTimePropPage(c_timePageIds, zorTimeTypeInfo()) { }

CTimePropPage::CTimePropPage(const ZorTimePageIds& ids, const ZorTypeInfo* typeInfo)
    : COlePropertyPage(ids.templateId, IDS_GENERAL), m_ids(ids), m_typeInfo(typeInfo)
{ }

CTimePropPage::~CTimePropPage() = default;

const char* CTimePropPage::name(DISPID dispid) const
{
    return zorPropertyName(m_typeInfo, dispid);
}

BOOL CTimePropPage::OnInitDialog()
{
    // The entries first: the exchange selects the one at the position Justify names.
    if (auto* list = static_cast<CComboBox*>(GetDlgItem(m_ids.justify))) {
        list->ResetContent();
        for (const char* entry : {"Left", "Center", "Right"})
            list->AddString(entry);
    }
    if (auto* spin = static_cast<CSpinButtonCtrl*>(GetDlgItem(m_ids.spin)))
        spin->SetRange(c_nMinInterval, c_nMaxInterval);
    return COlePropertyPage::OnInitDialog();
}

void CTimePropPage::DoDataExchange(CDataExchange* pDX)
{
    DDP_HostedProperty(pDX, m_ids.textColor, eCOLOR_RGBCOLOR, name(eTIME_TEXTCOLOR));
    DDP_HostedProperty(pDX, m_ids.backgroundColor, eCOLOR_RGBCOLOR, name(eTIME_BACKGROUNDCOLOR));
    DDP_CBIndex(pDX, m_ids.justify, m_justify, name(eTIME_JUSTIFY));
    DDX_CBIndex(pDX, m_ids.justify, m_justify);
    DDP_Check(pDX, m_ids.useTimer, m_useTimer, name(eTIME_USETIMER));
    DDX_Check(pDX, m_ids.useTimer, m_useTimer);
    DDP_Text(pDX, m_ids.timerInterval, m_timerInterval, name(eTIME_TIMERINTERVAL));
    DDX_Text(pDX, m_ids.timerInterval, m_timerInterval);
    DDP_Check(pDX, m_ids.boxBorder, m_boxBorder, name(eTIME_BOXBORDER));
    DDX_Check(pDX, m_ids.boxBorder, m_boxBorder);
    DDP_PostProcessing(pDX);
}

BOOL CTimePropPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // A hosted colour control reports a change with code 0 from its id; without this a colour
    // chosen alone would never be applied.
    const int id = LOWORD(static_cast<DWORD>(wParam));
    if (HIWORD(static_cast<DWORD>(wParam)) == 0
        && (id == m_ids.textColor || id == m_ids.backgroundColor))
        SetModified(TRUE);
    return COlePropertyPage::OnCommand(wParam, lParam);
}
