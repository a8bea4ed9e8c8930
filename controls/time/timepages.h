#pragma once

// The General page template the time and up-time controls share: text and background colours
// through hosted colour controls, the justification, the timer switch and interval with its
// up-down control, and the frame.

#include "controls/time/timepageids.h"
#include "platform/ui/dialogtemplate.h"

DialogTemplate zorTimePageTemplate(const ZorTimePageIds& ids);
