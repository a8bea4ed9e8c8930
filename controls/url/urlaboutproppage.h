#pragma once

#include "framework/controls/aboutproppage.h"

// The link's About page.
class CURLAboutPropPage : public CZorAboutPropPage
{
public:
    CURLAboutPropPage();
    ~CURLAboutPropPage() override;

private:
    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
};
