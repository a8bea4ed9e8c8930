#include "monitor/maintenancedlg.h"

#include "monitor/monitordatabase.h"
#include "platform/ui/dialogtemplate.h"

namespace {

// How far back the picker starts: a week of history is kept unless the user asks otherwise.
constexpr int c_defaultDaysKept = 7;

} // namespace

ZOR_DIALOG_TABLE({
    {CMaintenanceDlg::IDD, "Database Maintenance", 237, 85, "MS Sans Serif", 8,
        DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        {
            {eDLG_STATIC, -1, "Purge records older than:", 7, 10, 86, 8, SS_LEFT},
            {eDLG_DATETIME, CMaintenanceDlg::c_idPurgeDate, "", 95, 7, 72, 14,
                DTS_SHORTDATEFORMAT | WS_TABSTOP},
            {eDLG_STATIC, -1,
                "This will purge all up/down records as well as 15 minute average latency "
                "records used for graphing from the database.",
                7, 34, 160, 34, SS_LEFT},
            {eDLG_BUTTON, IDOK, "OK", 180, 7, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
            {eDLG_BUTTON, IDCANCEL, "Cancel", 180, 24, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
        }},
});

CMaintenanceDlg::CMaintenanceDlg(CMonitorDatabase& database, CWnd* pParent)
    : CDialog(IDD, pParent)
    , m_purgeDate(COleDateTime::GetCurrentTime() - COleDateTimeSpan(c_defaultDaysKept, 0, 0, 0))
    , m_database(database)
{ }

void CMaintenanceDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_DateTimeCtrl(pDX, c_idPurgeDate, m_purgeDate);
}

void CMaintenanceDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    // The purge has shown its own error when it gave up early.
    if (m_database.purge(m_purgeDate))
        EndDialog(IDOK);
}
