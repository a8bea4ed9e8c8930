#pragma once

// The sample's main dialog: a list of host names to edit, in a window the user can resize.
//
// The host edit grows to the right, the group box and its list grow with the window, the
// command buttons stay at the right edge and Help and the status line at the bottom. The
// list is kept in the settings store ("Hosts" in section "Options") when the dialog closes
// with OK, and the window's rectangle in section "Position", entry "SampleDlg".

#include "framework/dialogs/resizabledialog.h"

#include <string>
#include <vector>

class CEdit;
class CListBox;

class CSampleDialog : public CResizableDialog
{
public:
    CSampleDialog();

    BOOL OnInitDialog() override;
    void OnOK() override;
    // The frame's commands (Help) reach the application.
    BOOL OnCmdMsg(UINT nID, int nCode) override;
    void OnSysCommand(UINT nID, LPARAM lParam) override;

    // The hosts as the list shows them.
    std::vector<std::string> hosts() const;
    // Adds the text of the host edit to the list; false when it is empty or listed already.
    bool addHost();
    // Removes the selected host; false when none is selected.
    bool removeHost();

private:
    void anchorControls();
    void updateControls();

    CEdit* m_pHost {nullptr};
    CListBox* m_pHosts {nullptr};
};
