#include "controls/uptime/uptimeproppage.h"

#include "controls/frame/widgetstypelib.h"
#include "controls/uptime/uptimepageids.h"

CUPTimePropPage::CUPTimePropPage() : CTimePropPage(c_upTimePageIds, zorUpTimeTypeInfo()) { }

CUPTimePropPage::~CUPTimePropPage() = default;
