#pragma once

// The graph's "General" page: the caption, whether it shows, the frame and the grid.

#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"

#include <string>

class CGraphPropPage2 : public COlePropertyPage
{
public:
    CGraphPropPage2();
    ~CGraphPropPage2() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    std::string m_caption;
    int m_showCaption {0};
    int m_boxBorder {1};
    int m_showGrid {1};
};
