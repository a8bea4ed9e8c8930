// zorsample: a small program on the framework, to see its dialogs as a user sees them.

#include "platform/ui/programline.h"
#include "platform/ui/winapp.h"

int main(int argc, char** argv)
{
    CProgramLine line("zorsample", {"[QT-OPTION]..."},
        "Shows a small program on the suite's framework: its application frame and a resizable "
        "dialog with anchored controls, tooltips and a remembered window position.");
    line.setWindowProgram(true);
    line.setOperands(0, 0);
    return zorRunApplication(argc, argv, line);
}
