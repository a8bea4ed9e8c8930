#pragma once

// The up-time control's "General" page: the time control's page on the up-time control's
// template and ids.

#include "controls/time/timeproppage.h"

class CUPTimePropPage : public CTimePropPage
{
public:
    CUPTimePropPage();
    ~CUPTimePropPage() override;
};
