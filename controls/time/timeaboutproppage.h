#pragma once

#include "framework/controls/aboutproppage.h"

// The time control's About page.
class CTimeAboutPropPage : public CZorAboutPropPage
{
public:
    CTimeAboutPropPage();
    ~CTimeAboutPropPage() override;
};
