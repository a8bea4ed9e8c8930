#pragma once

#include "framework/controls/aboutproppage.h"

// The colour control's About page.
class CColorAboutPropPage : public CZorAboutPropPage
{
public:
    CColorAboutPropPage();
    ~CColorAboutPropPage() override;

private:
    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
};
