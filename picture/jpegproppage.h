#pragma once

// The picture's "General" page: the file through a hosted file-name picker, the border colour
// and the background colour through hosted colour controls, and the check boxes for the box
// border, the flat border, stretching, the aspect ratio and resizing the window.
//
// Enable rules: "Keep aspect ratio" only while "Stretch to fit control" is checked; checking
// "3d Border" unchecks "Border" and disables the border colour with its label; checking
// "Border" unchecks "3d Border" and enables them again.
//
// A change in a hosted control (a colour chosen, a file picked) marks the page modified, as a
// check box click does, so that Apply and OK write it.

#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"

class CJPEGPropPage : public COlePropertyPage
{
public:
    CJPEGPropPage();
    ~CJPEGPropPage() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void onStretchClicked();
    void onBoxBorderClicked();
    void onBorderClicked();
    // "Keep aspect ratio" enabled exactly when "Stretch to fit control" is checked.
    void enableKeepAspect();
    void enableBorderColor(bool enable);

    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    // One value per bound check box, before the page reads the control.
    int m_boxBorder {0};
    int m_border {0};
    int m_stretch {0};
    int m_keepAspectRatio {0};
    int m_resizeWindow {0};
};
