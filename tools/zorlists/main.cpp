// zorlists: a dialog with a toolbar over a sortable list and a virtual list of a million rows,
// to see the framework's toolbar dialog and lists as a user sees them.

#include "platform/ui/winapp.h"

int main(int argc, char** argv)
{
    return zorRunApplication(argc, argv);
}
