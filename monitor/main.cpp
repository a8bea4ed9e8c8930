// corvane: the host monitor.

#include "monitor/corvaneapp.h"

#include "platform/ui/programline.h"
#include "platform/ui/winapp.h"

namespace {

// The one application object, made before start-up.
CCorvaneApp s_theApp;

} // namespace

int main(int argc, char** argv)
{
    CProgramLine line("corvane", {"[QT-OPTION]..."},
        "Watches up to five hosts with ICMP echo requests, shows whether each one answers and how "
        "fast, and records their outages and response times in its database.");
    line.setWindowProgram(true);
    line.setOperands(0, 0);
    line.setNotes("Exit status: 1 when no window can be opened or the start gave up (such as "
                  "without a database), 2 for a wrong command line, 0 otherwise. Where the "
                  "database and the settings live: see corvane(1).");
    return zorRunApplication(argc, argv, line);
}
