#pragma once

// A report list whose items sort when the user clicks a column header (see
// CSortableListCtrl); derived lists say per column what the column holds (getColType).

#include "framework/lists/sortablelistctrl.h"

class CSortListCtrl : public CSortableListCtrl
{
};
