// zorcontainer: the control test container.

#include "tools/zorcontainer/containerapp.h"
#include "tools/zorcontainer/containeroptions.h"

#include "platform/ui/programline.h"
#include "platform/ui/winapp.h"

int main(int argc, char** argv)
{
    auto* app = static_cast<CContainerApp*>(AfxGetApp());
    CProgramLine line("zorcontainer", {"[OPTION]... [QT-OPTION]..."},
        "Hosts one registered control: reads and writes its properties, calls its methods, logs "
        "its events, opens its property frame and saves or loads its persisted state; the "
        "options script it.",
        containerOptionTable());
    line.setWindowProgram(true);
    line.setOperands(0, 0);
    line.setNotes("Exit status: 0 on success, 1 when no window can be opened or a scripted step "
                  "failed, 2 for a wrong command line.");
    line.setCheck([app](const std::vector<std::string>& words, std::string* error) {
        return app->readCommandLine(words, error);
    });
    return zorRunApplication(argc, argv, line);
}
