#pragma once

// A dialog that opens centred on the desktop's work area.

#include "platform/ui/dialog.h"

class CMyDialog : public CDialog
{
public:
    CMyDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Runs the base and centres the dialog. Returns 1.
    BOOL OnInitDialog() override;

    // Moves the dialog, keeping its size, to the middle of the work area, and repaints it.
    static void centerDialog(CDialog* pDlg);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
