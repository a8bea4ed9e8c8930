#pragma once

#include "framework/controls/aboutproppage.h"

// The light's About page.
class CLightAboutPropPage : public CZorAboutPropPage
{
public:
    CLightAboutPropPage();
    ~CLightAboutPropPage() override;

private:
    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
};
