#pragma once

#include "framework/controls/aboutproppage.h"

// The graph's About page (its caption is "General").
class CGraphAboutPropPage : public CZorAboutPropPage
{
public:
    CGraphAboutPropPage();
    ~CGraphAboutPropPage() override;

private:
    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
};
