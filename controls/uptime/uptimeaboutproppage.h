#pragma once

#include "controls/frame/aboutproppage.h"

// The up-time control's About page.
class CUpTimeAboutPropPage : public CZorAboutPropPage
{
public:
    CUpTimeAboutPropPage();
    ~CUpTimeAboutPropPage() override;
};
