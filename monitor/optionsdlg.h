#pragma once

// The Options dialog (template 142): how each host is probed, the echo timeout (500 to 5000 ms)
// and the number of echo requests per probe (1 to 5).
//
// It opens with the values of the settings store (monitor/probesettings.h). OK takes Repeat
// first, then Timeout; a value that is not a whole number or lies outside its range is refused
// with the platform's standard message, the input focus goes back to that field and the dialog
// stays open. Accepted values are saved at once and the dialog closes with IDOK; the caller
// then reads them again from the store. Cancel saves nothing.
//
// The store is the application object's unless another is given.

#include "platform/ui/dialog.h"

class CProfile;

class COptionsDlg : public CDialog
{
public:
    enum { IDD = 142 };
    static constexpr int c_idTimeout = 1076;
    static constexpr int c_idRepeat = 1078;

    explicit COptionsDlg(CWnd* pParent = nullptr, CProfile* pProfile = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    // The values as last exchanged with the two edit boxes.
    int m_timeout {1000};
    int m_repeat {3};

private:
    // The given store, else the application object's; null when there is neither.
    CProfile* store() const;

    CProfile* m_pProfile {nullptr};
};
