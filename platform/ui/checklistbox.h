#pragma once

// A list box with a check box in front of each item ("ListBox" with owner-drawn fixed items).
//
// The list must be created with LBS_OWNERDRAWFIXED (every item as high as the font's line,
// the check box fitting in it) and LBS_HASSTRINGS (the items are texts); LBS_USETABSTOPS
// expands tabs in the texts to the tab stops, counted from where the text starts, right of
// the check box. A click on an item's check box, or the space bar on the selected item, turns
// the check as the check style says (BS_AUTOCHECKBOX: on and off; BS_AUTO3STATE: on,
// indeterminate, off) and sends CLBN_CHKCHANGE to the parent; the program's SetCheck sends
// nothing. A disabled item keeps its check.
//
// Like every standard control, the list keeps its items and checks in its widget.

#include "platform/ui/dialogtemplate.h"
#include "platform/ui/listbox.h"

class CFont;

constexpr DWORD LBS_OWNERDRAWFIXED = 0x0010;
constexpr DWORD LBS_OWNERDRAWVARIABLE = 0x0020;
constexpr DWORD LBS_HASSTRINGS = 0x0040;

// The check of an item changed by the user.
constexpr UINT CLBN_CHKCHANGE = 40;

class CCheckListBox : public CListBox
{
public:
    CCheckListBox();
    ~CCheckListBox() override;

    // Creates the list as a child of the parent; FALSE without an owner-drawn style and texts.
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // BS_CHECKBOX, BS_AUTOCHECKBOX, BS_3STATE or BS_AUTO3STATE; FALSE for any other.
    BOOL SetCheckStyle(UINT nStyle);
    UINT GetCheckStyle() const;
    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE (the last only with a 3-state style).
    void SetCheck(int nIndex, int nCheck);
    // The item's check; -1 for an index out of range.
    int GetCheck(int nIndex) const;
    void Enable(int nIndex, BOOL bEnabled = TRUE);
    BOOL IsEnabled(int nIndex) const;
    int itemHeight() const;

    // The font the list draws with (the caller keeps it alive while it is selected).
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const { return m_pFont; }

    // The check box of an item, in the list's client coordinates.
    CRect checkBoxRect(int nIndex) const;

private:
    CFont* m_pFont {nullptr};
};
