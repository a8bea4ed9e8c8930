#pragma once

// The list of the Windows system colours: a drop-down list of their descriptions, a preview
// and the hexadecimal value of the selection; optionally a switch to the custom colours.

#include "platform/ui/dialog.h"

class CSystemColorDialog : public CDialog
{
public:
    // The dialog result of the switch button.
    static constexpr int c_nSwitchResult = 4;

    // Opens on the table position `selection`; `showSwitch` shows "&Use Custom Colors".
    CSystemColorDialog(CWnd* pParent, int selection, bool showSwitch);

    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnPaint() override;

    // The table position selected (after OK: the one chosen).
    int selection() const { return m_selection; }

private:
    void onSelChange();
    // The preview's area in the dialog's client coordinates.
    CRect previewRect() const;

    int m_selection {-1};
    int m_initial {0};
    bool m_showSwitch {true};
};
