#include "pathpick/pathpickproppage.h"

#include "pathpick/pathpickids.h"
#include "pathpick/pathpicktypelib.h"

namespace {

// One edit box and the property it shows.
void exchange(CDataExchange* pDX, int nIDC, std::string& value, DISPID dispid)
{
    DDP_Text(pDX, nIDC, value, zorPathPickPropertyName(dispid));
    DDX_Text(pDX, nIDC, value);
}

} // namespace

CPathPickPropPage::CPathPickPropPage()
    : COlePropertyPage(IDD_PATHPICK_PPG, IDS_PATHPICK_GENERAL) { }

CPathPickPropPage::~CPathPickPropPage() = default;

void CPathPickPropPage::DoDataExchange(CDataExchange* pDX)
{
    exchange(pDX, IDC_PATHPICK_DEFAULTPATH, m_defaultPath, ePATHPICK_DEFAULTPATH);
    exchange(pDX, IDC_PATHPICK_DEFAULTFILE, m_defaultFile, ePATHPICK_DEFAULTFILE);
    exchange(pDX, IDC_PATHPICK_FILE, m_file, ePATHPICK_FILE);
    exchange(pDX, IDC_PATHPICK_FILEPROMPT, m_defaultFilePrompt, ePATHPICK_DEFAULTFILEPROMPT);
    exchange(pDX, IDC_PATHPICK_DIALOGTITLE, m_dialogTitle, ePATHPICK_DIALOGTITLE);
    DDP_PostProcessing(pDX);
}
