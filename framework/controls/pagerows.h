#pragma once

// Template rows the pages of the suite's control modules share.

#include "platform/ui/dialogtemplate.h"

// A static label.
DialogItem zorLabelRow(int id, const char* text, int x, int y, int cx, int cy);
// A hosted control by ProgID, with its initial state as property-bag text.
DialogItem zorHostedRow(
    int id, const char* progId, const char* initState, int x, int y, int cx, int cy, DWORD style);
// A hosted colour control showing its hexadecimal value; `initState` is its initial state as
// property-bag text (the field's default colour).
DialogItem zorHostedColorRow(int id, int x, int y, int cx, int cy, const char* initState);
// A page template of the module's standard page size.
DialogTemplate zorPageTemplate(UINT id, const char* caption, std::vector<DialogItem> items);
