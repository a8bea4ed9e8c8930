#pragma once

#include "controls/frame/aboutproppage.h"

// The time control's About page.
class CTimeAboutPropPage : public CZorAboutPropPage
{
public:
    CTimeAboutPropPage();
    ~CTimeAboutPropPage() override;
};
