#pragma once

// What the outside servers share: their test mode and the reading of window, icon and list
// arguments that arrive as integers.

#include "platform/types/olevariant.h"
#include "platform/types/wintypes.h"
#include "platform/ui/window.h"

#include <string>
#include <vector>

// True when ZORVEX_SERVER_NOSHOW is "1": a server then builds and fills its window but never
// shows it, and the modal about box is created and destroyed without running a message loop,
// so scripted callers never block on a window.
bool zorServerNoShow();

// The integer value of a VT_I4, VT_UI4, VT_I8 or VT_UI8 argument (window handles and list
// addresses need 64 bits here); false for any other kind.
bool zorServerInteger(const COleVariant& value, unsigned long long* result);

// The window an owner argument names: 0 or anything that is not a live window handle gives
// null, so a stale or made-up number never reaches the window layer.
CWnd* zorServerOwner(const COleVariant& value);

// The icon an icon argument names: an icon resource id of the program; 0 or an id the program
// has no icon for gives the standard application icon.
HICON zorServerIcon(const COleVariant& value);

// A module list argument: either text with one file name per line ('\n' between names), or,
// for callers in the same process, the address of a list of file names closed by an empty
// entry (const char* const*). An address is followed only when it lies inside a loaded module
// (the programs' lists are static arrays), at most 256 entries; false otherwise.
bool zorServerModuleList(const COleVariant& value, std::vector<std::string>* names);
