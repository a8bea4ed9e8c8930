#pragma once

#include "framework/controls/aboutproppage.h"

// The system information control's About page.
class CSysInfoAboutPropPage : public CZorAboutPropPage
{
public:
    CSysInfoAboutPropPage();
    ~CSysInfoAboutPropPage() override;
};
