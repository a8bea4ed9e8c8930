#pragma once

#include "controls/frame/aboutproppage.h"

// The system information control's About page.
class CSysInfoAboutPropPage : public CZorAboutPropPage
{
public:
    CSysInfoAboutPropPage();
    ~CSysInfoAboutPropPage() override;
};
