#include "controls/url/urlproppage.h"

#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "controls/url/urlpageids.h"
#include "platform/ole/factory.h"
#include "platform/ui/controls.h"

namespace {

const char* name(DISPID dispid)
{
    return zorPropertyName(zorUrlTypeInfo(), dispid);
}

} // namespace

CUrlPropPage::CUrlPropPage() : COlePropertyPage(IDD_URL_PPG, IDS_GENERAL) { }

CUrlPropPage::~CUrlPropPage() = default;

BOOL CUrlPropPage::OnInitDialog()
{
    // The entries first: the exchange selects the one at the position Justify names.
    if (auto* list = static_cast<CComboBox*>(GetDlgItem(IDC_JUSTIFY))) {
        list->ResetContent();
        for (const char* entry : {"Left", "Center", "Right"})
            list->AddString(entry);
    }
    return COlePropertyPage::OnInitDialog();
}

void CUrlPropPage::DoDataExchange(CDataExchange* pDX)
{
    DDP_Text(pDX, IDC_URL, m_url, name(eURL_URL));
    DDX_Text(pDX, IDC_URL, m_url);
    DDP_Check(pDX, IDC_BOX, m_box, name(eURL_BOX));
    DDX_Check(pDX, IDC_BOX, m_box);
    DDP_CBIndex(pDX, IDC_JUSTIFY, m_justify, name(eURL_JUSTIFY));
    DDX_CBIndex(pDX, IDC_JUSTIFY, m_justify);
    DDP_PostProcessing(pDX);
}
