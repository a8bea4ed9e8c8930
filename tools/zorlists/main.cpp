// zorlists: a dialog with a toolbar over a sortable list and a virtual list of a million rows,
// to see the framework's toolbar dialog and lists as a user sees them.

#include "platform/ui/programline.h"
#include "platform/ui/winapp.h"

int main(int argc, char** argv)
{
    CProgramLine line("zorlists", {"[--sorted] [QT-OPTION]..."},
        "Shows a dialog with a toolbar over a sortable list and a virtual list of a million rows.",
        {{{"--sorted"}, "", "start with the sortable list sorted by its date column"}});
    line.setWindowProgram(true);
    line.setOperands(0, 0);
    return zorRunApplication(argc, argv, line);
}
