#pragma once

// A check-list box made at run time on any window: a bordered list with a vertical scroll bar,
// in the tab order as the first of its group, whose items are texts with tab stops, drawn in
// "MS Sans Serif" with a character height of 8 pixels. The list owns its font.

#include "platform/gdi/gdiobjects.h"
#include "platform/ui/checklistbox.h"

class CMyCheckBox1 : public CCheckListBox
{
public:
    CMyCheckBox1();
    ~CMyCheckBox1() override;

    // Creates the list as a visible child of the parent on the rectangle; TRUE on success.
    BOOL setParent(CWnd* pParent, CRect rect, UINT nID);

protected:
    // Builds and selects the font, then redraws.
    int OnCreate() override;

private:
    CFont m_font;
};
