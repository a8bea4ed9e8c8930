// zorsamplerhelper: runs sampling passes of one host slot against a monitor database where a
// test puts it (inside a test network's client namespace), as the main window does: a start
// record, the passes, a stop record.
//
//     zorsamplerhelper PROGRAM_DIR HOST TIMEOUT_MS REPEAT STEP...
//         STEP is "sample" (one pass; prints "sample up=U recorded=R") or
//         "run=PROGRAM,ARG,ARG..." (runs a program between passes, by argument vector).

#include "monitor/availability.h"
#include "monitor/monitordatabase.h"
#include "monitor/slotsampler.h"
#include "tests/monitor/hostslot/recordingslotview.h"

#include <QtCore/QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

bool runProgram(const std::string& commandText)
{
    std::vector<std::string> words;
    std::string::size_type begin = 0;
    while (begin <= commandText.size()) {
        const std::string::size_type comma = commandText.find(',', begin);
        const std::string::size_type end = comma == std::string::npos ? commandText.size() : comma;
        words.push_back(commandText.substr(begin, end - begin));
        begin = end + 1;
    }
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)
        && WEXITSTATUS(status) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 6) {
        std::fprintf(
            stderr, "usage: zorsamplerhelper PROGRAM_DIR HOST TIMEOUT_MS REPEAT STEP...\n");
        return 2;
    }
    const std::string host = argv[2];
    const int timeout = std::atoi(argv[3]);
    const int repeat = std::atoi(argv[4]);

    CMonitorDatabase database;
    if (!database.open(argv[1]))
        return 1;

    RecordingSlotView view;
    HostSlot slot;
    slot.bind(&view, slotControlIds(0));
    slot.setHost(host);
    writeStatus(database, host, true, true);

    for (int i = 5; i < argc; ++i) {
        const std::string step = argv[i];
        if (step == "sample") {
            const SampleOutcome outcome = sampleSlot(slot, database, timeout, repeat);
            std::printf("sample up=%d recorded=%d\n", outcome.up ? 1 : 0, outcome.recorded ? 1 : 0);
            std::fflush(stdout);
        } else if (step.rfind("run=", 0) == 0) {
            if (!runProgram(step.substr(4))) {
                std::fprintf(stderr, "zorsamplerhelper: %s failed\n", step.c_str());
                return 1;
            }
        } else {
            std::fprintf(stderr, "zorsamplerhelper: unknown step %s\n", step.c_str());
            return 2;
        }
    }
    writeStatus(database, host, false, true);
    database.close();
    return 0;
}
