#include "controls/url/urlproppage.h"

#include "controls/frame/widgetids.h"
#include "controls/url/urlpageids.h"
#include "platform/ole/factory.h"
#include "platform/ui/controls.h"

CUrlPropPage::CUrlPropPage() : COlePropertyPage(IDD_URL_PPG, IDS_GENERAL)
{
    zorModuleLock(ZOR_THIS_MODULE(), 1);
}

CUrlPropPage::~CUrlPropPage()
{
    zorModuleLock(ZOR_THIS_MODULE(), -1);
}

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
    DDP_Text(pDX, IDC_URL, m_url, "URL");
    DDX_Text(pDX, IDC_URL, m_url);
    DDP_Check(pDX, IDC_BOX, m_box, "Box");
    DDX_Check(pDX, IDC_BOX, m_box);
    DDP_CBIndex(pDX, IDC_JUSTIFY, m_justify, "Justify");
    DDX_CBIndex(pDX, IDC_JUSTIFY, m_justify);
    DDP_PostProcessing(pDX);
}
