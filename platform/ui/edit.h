#pragma once

// An edit box ("Edit"): its selection, read-only state, limit and modified flag. The window object
// is thin: the control keeps its state in its widget (controls_p.h).

#include "platform/ui/window.h"

class CEdit : public CWnd
{
public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void GetSel(int& nStartChar, int& nEndChar) const;
    void ReplaceSel(const char* lpszNewText);
    void SetReadOnly(BOOL bReadOnly = TRUE);
    void LimitText(int nChars);
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
};
