#include "tools/zorsample/sampledialog.h"

#include "framework/frame/zorapp.h"
#include "platform/ui/controls.h"
#include "platform/ui/resources.h"
#include "tools/zorsample/resource.h"

#include <QtWidgets/QWidget>

#include <cstdio>

namespace {

constexpr const char* c_optionsSection = "Options";
constexpr const char* c_hostsValue = "Hosts";

// What a first run shows.
const std::vector<std::string> c_defaultHosts {"localhost", "127.0.0.1"};

} // namespace

CSampleDialog::CSampleDialog() : CResizableDialog(IDD_SAMPLE)
{
    onCommand(IDC_ADD, BN_CLICKED, [this] { addHost(); });
    onCommand(IDC_REMOVE, BN_CLICKED, [this] { removeHost(); });
    onCommand(IDC_HOSTS, LBN_SELCHANGE, [this] { updateControls(); });
    onCommand(IDC_HOST, EN_CHANGE, [this] { updateControls(); });
}

BOOL CSampleDialog::OnInitDialog()
{
    CResizableDialog::OnInitDialog();
    m_pHost = dynamic_cast<CEdit*>(GetDlgItem(IDC_HOST));
    m_pHosts = dynamic_cast<CListBox*>(GetDlgItem(IDC_HOSTS));
    anchorControls();

    if (CWinApp* app = AfxGetApp()) {
        if (QWidget* window = widget())
            window->setWindowIcon(zorQIcon(app->LoadIcon(IDI_SAMPLE)));
    }
    if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
        systemMenu->AppendMenu(MF_SEPARATOR);
        systemMenu->AppendMenu(MF_STRING, ID_POPUP_HELP, "&Help Topics");
    }

    std::vector<std::string> stored;
    if (CzorApp::m_pzorApp != nullptr)
        CzorApp::m_pzorApp->getStringArray(
            eKEY_CURRENT_USER, c_optionsSection, c_hostsValue, stored);
    if (m_pHosts != nullptr) {
        for (const std::string& host : stored.empty() ? c_defaultHosts : stored)
            m_pHosts->AddString(host.c_str());
        m_pHosts->SetCurSel(0);
    }
    updateControls();

    enableSaveRestore("Position", "SampleDlg");
    return TRUE;
}

void CSampleDialog::anchorControls()
{
    addAnchor(IDC_HOST, anchorTopLeft, anchorTopRight);
    addAnchor(IDC_HOSTS_GROUP, anchorTopLeft, anchorBottomRight);
    addAnchor(IDC_HOSTS, anchorTopLeft, anchorBottomRight);
    addAnchor(IDC_STATUS, anchorBottomLeft, anchorBottomRight);
    addAnchor(IDOK, anchorTopRight);
    addAnchor(IDCANCEL, anchorTopRight);
    addAnchor(IDC_ADD, anchorTopRight);
    addAnchor(IDC_REMOVE, anchorTopRight);
    addAnchor(ID_POPUP_HELP, anchorBottomRight);
}

void CSampleDialog::OnOK()
{
    if (CzorApp::m_pzorApp != nullptr)
        CzorApp::m_pzorApp->putStringArray(
            eKEY_CURRENT_USER, c_optionsSection, c_hostsValue, hosts());
    CResizableDialog::OnOK();
}

BOOL CSampleDialog::OnCmdMsg(UINT nID, int nCode)
{
    if (nCode == static_cast<int>(BN_CLICKED) && CzorApp::m_pzorApp != nullptr
        && CzorApp::m_pzorApp->onAppCommand(nID))
        return TRUE;
    return CResizableDialog::OnCmdMsg(nID, nCode);
}

void CSampleDialog::OnSysCommand(UINT nID, LPARAM lParam)
{
    if (CzorApp::m_pzorApp != nullptr && CzorApp::m_pzorApp->onAppCommand(nID))
        return;
    CResizableDialog::OnSysCommand(nID, lParam);
}

std::vector<std::string> CSampleDialog::hosts() const
{
    std::vector<std::string> list;
    if (m_pHosts == nullptr)
        return list;
    for (int i = 0; i < m_pHosts->GetCount(); ++i) {
        std::string host;
        m_pHosts->GetText(i, host);
        list.push_back(host);
    }
    return list;
}

bool CSampleDialog::addHost()
{
    if (m_pHost == nullptr || m_pHosts == nullptr)
        return false;
    const std::string host = m_pHost->GetWindowText();
    if (host.empty() || m_pHosts->FindStringExact(-1, host.c_str()) != LB_ERR)
        return false;
    m_pHosts->SetCurSel(m_pHosts->AddString(host.c_str()));
    m_pHost->SetWindowText("");
    updateControls();
    // Add is disabled now that the edit is empty: the next host is typed where the last was.
    GotoDlgCtrl(m_pHost);
    return true;
}

bool CSampleDialog::removeHost()
{
    if (m_pHosts == nullptr)
        return false;
    const int selected = m_pHosts->GetCurSel();
    if (selected == LB_ERR)
        return false;
    m_pHosts->DeleteString(static_cast<UINT>(selected));
    const int count = m_pHosts->GetCount();
    if (count > 0)
        m_pHosts->SetCurSel(selected < count ? selected : count - 1);
    updateControls();
    return true;
}

void CSampleDialog::updateControls()
{
    if (m_pHost == nullptr || m_pHosts == nullptr)
        return;
    if (CWnd* add = GetDlgItem(IDC_ADD))
        add->EnableWindow(!m_pHost->GetWindowText().empty());
    if (CWnd* remove = GetDlgItem(IDC_REMOVE))
        remove->EnableWindow(m_pHosts->GetCurSel() != LB_ERR);
    const int count = m_pHosts->GetCount();
    char status[64];
    std::snprintf(status, sizeof status, count == 1 ? "%d host" : "%d hosts", count);
    SetDlgItemText(IDC_STATUS, status);
}
