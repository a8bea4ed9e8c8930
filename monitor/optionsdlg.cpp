#include "monitor/optionsdlg.h"

#include "framework/frame/zorapp.h"
#include "monitor/probesettings.h"
#include "platform/ui/dialogtemplate.h"

ZOR_DIALOG_TABLE({
    {COptionsDlg::IDD, "Options", 281, 94, "MS Sans Serif", 8,
        DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        {
            {eDLG_STATIC, -1, "Ping timeout", 14, 20, 52, 8, SS_LEFT},
            {eDLG_EDIT, COptionsDlg::c_idTimeout, "", 70, 17, 40, 14,
                ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
            {eDLG_STATIC, -1, "(500-5000ms)", 116, 20, 60, 8, SS_LEFT},
            {eDLG_STATIC, -1, "Repeat ping", 14, 47, 52, 8, SS_LEFT},
            {eDLG_EDIT, COptionsDlg::c_idRepeat, "", 70, 44, 40, 14,
                ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
            {eDLG_STATIC, -1, "(1-5 times)", 116, 47, 60, 8, SS_LEFT},
            {eDLG_BUTTON, IDOK, "OK", 224, 7, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
            {eDLG_BUTTON, IDCANCEL, "Cancel", 224, 24, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
        }},
});

COptionsDlg::COptionsDlg(CWnd* pParent, CProfile* pProfile)
    : CDialog(IDD, pParent), m_pProfile(pProfile)
{ }

CProfile* COptionsDlg::store() const
{
    if (m_pProfile)
        return m_pProfile;
    return CzorApp::m_pzorApp;
}

BOOL COptionsDlg::OnInitDialog()
{
    // The values are read each time the dialog opens, so it always shows what the monitor uses.
    if (CProfile* profile = store()) {
        const ProbeSettings settings = readProbeSettings(*profile);
        m_timeout = settings.timeoutMs;
        m_repeat = settings.repeat;
    }
    return CDialog::OnInitDialog();
}

void COptionsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, c_idRepeat, m_repeat);
    DDV_MinMaxInt(pDX, m_repeat, c_minProbeRepeat, c_maxProbeRepeat);
    DDX_Text(pDX, c_idTimeout, m_timeout);
    DDV_MinMaxInt(pDX, m_timeout, c_minProbeTimeoutMs, c_maxProbeTimeoutMs);
}

void COptionsDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (CProfile* profile = store())
        writeProbeSettings(*profile, ProbeSettings {m_timeout, m_repeat});
    EndDialog(IDOK);
}
