#pragma once

#include "framework/controls/aboutproppage.h"

// The up-time control's About page.
class CUpTimeAboutPropPage : public CZorAboutPropPage
{
public:
    CUpTimeAboutPropPage();
    ~CUpTimeAboutPropPage() override;
};
