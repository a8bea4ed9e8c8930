#pragma once

// The Database Maintenance dialog (template 133): purges the history older than a chosen date
// from the open monitor database.
//
// The date picker starts at the current date-time minus 7 days. OK takes the date and purges
// (CMonitorDatabase::purge): the status records before that date's midnight, the 15-minute
// averages before it, then every host left without status records. When the purge finished the
// dialog closes with IDOK and the caller compacts the database; when it failed in its first
// two steps the error has been shown and the dialog stays open, so the user may try again or
// cancel. Cancel touches nothing.

#include "platform/types/oledatetime.h"
#include "platform/ui/dialog.h"

class CMonitorDatabase;

class CMaintenanceDlg : public CDialog
{
public:
    enum { IDD = 133 };
    static constexpr int c_idPurgeDate = 1001;

    explicit CMaintenanceDlg(CMonitorDatabase& database, CWnd* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    // The purge date as last exchanged with the picker.
    COleDateTime m_purgeDate;

private:
    CMonitorDatabase& m_database;
};
