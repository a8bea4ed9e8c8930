#pragma once

// The lists sample's application: one dialog as its main window. "--sorted" on the command
// line starts the sortable list sorted by its date column.

#include "platform/ui/winapp.h"

class CListsApp : public CWinApp
{
public:
    CListsApp();
    BOOL InitInstance() override;
};
