#pragma once

#include "framework/controls/aboutproppage.h"

// The progress control's About page.
class CProgressAboutPropPage : public CZorAboutPropPage
{
public:
    CProgressAboutPropPage();
    ~CProgressAboutPropPage() override;
};
