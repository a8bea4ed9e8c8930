// zorslothelper: drives one host slot where a test puts it (inside a test network's client
// namespace, with the namespace's hosts and resolver files) and prints what the slot did as
// key=value fields. Texts with blanks are printed with '_' for each blank.
//
//     zorslothelper probe HOST TIMEOUT_MS REPEAT COUNT [COMMAND...]
//         sets the host, then probes COUNT times; COMMAND, when given, runs between probes:
//         probe result=R up=U light=S latencyShown=V latencyLabel=T sample=N
//     zorslothelper sethost FIRST SECOND
//         sets FIRST, then SECOND with a 100-ms timer running, probes once, and waits for the
//         work item of SECOND to be freed:
//         sethost elapsed=MS address=A addressText=T addressLabel=L hostEdit=E live=K ticks=N
//         probe result=R up=U ...
//         freed after=MS live=K

#include "monitor/hostslot.h"
#include "platform/net/hostaddress.h"
#include "tests/monitor/hostslot/recordingslotview.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

long long millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

std::string printable(std::string text)
{
    for (char& c : text) {
        if (c == ' ')
            c = '_';
    }
    return text.empty() ? "(empty)" : text;
}

void printProbe(const HostSlot& slot, const RecordingSlotView& view)
{
    std::printf("probe result=%d up=%d light=%ld latencyShown=%d latencyLabel=%s sample=%d\n",
        slot.m_sampleCount > 0 ? slot.m_samples[slot.m_sampleCount - 1] : -1, slot.m_up ? 1 : 0,
        view.lightState(slot.m_lightId), view.shown(slot.m_latencyLabelId),
        printable(view.text(slot.m_latencyLabelId)).c_str(), slot.m_sampleCount);
    std::fflush(stdout);
}

bool runCommand(char** argv)
{
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv);
        _exit(127);
    }
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)
        && WEXITSTATUS(status) == 0;
}

int probe(int argc, char** argv)
{
    if (argc < 6)
        return 2;
    const int timeout = std::atoi(argv[3]);
    const int repeat = std::atoi(argv[4]);
    const int count = std::atoi(argv[5]);
    char** command = argc > 6 ? argv + 6 : nullptr;

    RecordingSlotView view;
    HostSlot slot;
    slot.bind(&view, slotControlIds(0));
    slot.setHost(argv[2]);
    for (int i = 0; i < count; ++i) {
        if (i > 0 && command && !runCommand(command)) {
            std::fprintf(stderr, "zorslothelper: the command between probes failed\n");
            return 1;
        }
        slot.probe(timeout, repeat);
        printProbe(slot, view);
    }
    return 0;
}

int setHost(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    RecordingSlotView view;
    HostSlot slot;
    slot.bind(&view, slotControlIds(0));
    slot.setHost(argv[2]);

    // Timer ticks dispatched while set host waits show that the thread's events are served.
    int ticks = 0;
    QTimer timer;
    timer.setInterval(100);
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start();
    const Clock::time_point start = Clock::now();
    slot.setHost(argv[3]);
    const long long elapsed = millisecondsSince(start);
    timer.stop();
    std::printf("sethost elapsed=%lld address=%s addressText=%s addressLabel=%s hostEdit=%s "
                "hostText=%s live=%d ticks=%d\n",
        elapsed, zorDottedAddress(slot.m_address).c_str(), printable(slot.m_addressText).c_str(),
        printable(view.text(slot.m_addressLabelId)).c_str(),
        printable(view.text(slot.m_hostEditId)).c_str(), printable(slot.m_hostText).c_str(),
        HostSlot::liveResolveWorks(), ticks);
    std::fflush(stdout);

    slot.probe(1000, 1);
    printProbe(slot, view);

    const Clock::time_point abandoned = Clock::now();
    while (HostSlot::liveResolveWorks() > 0 && millisecondsSince(abandoned) < 10000)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::printf(
        "freed after=%lld live=%d\n", millisecondsSince(abandoned), HostSlot::liveResolveWorks());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "probe")
        return probe(argc, argv);
    if (command == "sethost")
        return setHost(argc, argv);
    std::fprintf(stderr,
        "usage: zorslothelper probe HOST TIMEOUT REPEAT COUNT [COMMAND...]\n"
        "       zorslothelper sethost FIRST SECOND\n");
    return 2;
}
