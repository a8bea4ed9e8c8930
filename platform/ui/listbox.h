#pragma once

// A list box ("ListBox"): its items, selection, tab stops and horizontal scrolling. The window
// object is thin: the control keeps its state in its widget (controls_p.h).

#include "platform/ui/window.h"

#include <string>
#include <vector>

class CListBox : public CWnd
{
public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int AddString(const char* lpszItem);
    int InsertString(int nIndex, const char* lpszItem);
    int DeleteString(UINT nIndex);
    void ResetContent();
    // Replaces every item at once (the outage list refills a whole list this way): one reset
    // of the list's items however many there are, leaving the list as ResetContent followed by
    // AddString for each item would (nothing selected, the first item at the top, no
    // notification; with LBS_SORT the items in order).
    void ReplaceContent(const std::vector<std::string>& items);
    void ReplaceContent(std::vector<std::string>&& items);
    int GetCount() const;
    int GetText(int nIndex, std::string& rString) const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int FindStringExact(int nIndexStart, const char* lpszFind) const;
    // Tab stops in dialog units (the platform's default is one every 32 units).
    BOOL SetTabStops(int nTabStops, const int* rgTabStops);
    BOOL SetTabStops(int cxEachStop);
    std::vector<int> tabStops() const;
    // The width in pixels the list can scroll horizontally (0: no horizontal scroll bar).
    int GetHorizontalExtent() const;
    void SetHorizontalExtent(int cxExtent);
    int GetTopIndex() const;
    int SetTopIndex(int nIndex);
    // The horizontal scroll position in pixels.
    int GetScrollPos(int nBar) const;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    // The pixel position of the nth tab stop (0-based) as the list draws it.
    int tabStopX(int nTab) const;
};

constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
