#pragma once

// CWaitDialog: the wait server's non-modal window: the caller's icon, a line of text and a
// progress bar.

#include "platform/ui/dialog.h"
#include "servers/zorwait29/waitbar.h"

#include <string>

class CWaitDialog : public CDialog
{
public:
    CWaitDialog() = default;
    ~CWaitDialog() override;

    // Creates the window (hidden) owned by the owner, with the icon; TRUE on success.
    BOOL createWait(CWnd* pOwner, HICON icon);
    void setText(const std::string& text);
    void setProgress(int nPos);
    int progress() const { return m_bar.pos(); }

    BOOL OnInitDialog() override;
    // The window cannot be closed by the user: only the server's close takes it down.
    void OnCancel() override { }
    void OnOK() override { }

private:
    CWaitBar m_bar;
    HICON m_icon {nullptr};
};
