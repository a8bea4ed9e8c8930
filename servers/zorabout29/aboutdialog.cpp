#include "servers/zorabout29/aboutdialog.h"

#include "platform/ui/controls.h"
#include "servers/common/serverargs.h"
#include "servers/zorabout29/resource.h"

CAboutDialog::CAboutDialog(std::string programPath, std::string buildTime, HICON icon,
    std::vector<std::string> moduleLines)
    : CDialog(IDD_ABOUT)
    , m_programPath(std::move(programPath))
    , m_buildTime(std::move(buildTime))
    , m_icon(icon)
    , m_moduleLines(std::move(moduleLines))
{ }

INT_PTR CAboutDialog::showBox(CWnd* pOwner)
{
    m_pParentWnd = pOwner;
    if (!zorServerNoShow())
        return DoModal();
    if (!Create(IDD_ABOUT, pOwner))
        return -1;
    DestroyWindow();
    return IDOK;
}

BOOL CAboutDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (auto* iconWnd = dynamic_cast<CStatic*>(GetDlgItem(IDC_ABOUT_ICON)))
        iconWnd->SetIcon(m_icon);
    SetDlgItemText(IDC_ABOUT_PROGRAM, m_programPath.c_str());
    SetDlgItemText(IDC_ABOUT_BUILT, ("Built " + m_buildTime).c_str());
    if (auto* list = dynamic_cast<CListBox*>(GetDlgItem(IDC_ABOUT_MODULES))) {
        // Name, then the version at the tab stop.
        list->SetTabStops(90);
        for (const std::string& line : m_moduleLines)
            list->AddString(line.c_str());
    }
    return TRUE;
}
