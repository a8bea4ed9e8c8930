#pragma once

// A combo box ("ComboBox"): its items, selection and item data. The window object is thin: the
// control keeps its state in its widget (controls_p.h).

#include "platform/ui/window.h"

#include <string>

class CComboBox : public CWnd
{
public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int AddString(const char* lpszString);
    int InsertString(int nIndex, const char* lpszString);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    void GetLBText(int nIndex, std::string& rString) const;
    int FindStringExact(int nIndexStart, const char* lpszFind) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    DWORD_PTR GetItemData(int nIndex) const;
};
