#pragma once

#include "controls/frame/aboutproppage.h"

// The light's About page.
class CLightAboutPropPage : public CZorAboutPropPage
{
public:
    CLightAboutPropPage();
    ~CLightAboutPropPage() override;
};
