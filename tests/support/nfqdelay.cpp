// nfqdelay: holds every packet of a netfilter queue for a fixed time, then lets it pass.
//
//     nfqdelay --queue N --delay MS
//
// The network tests give a test host a slow link with it: an NFQUEUE rule in the host's
// network namespace sends the echo requests to queue N, and this program, started in the same
// namespace, accepts each one MS milliseconds after it arrived. Packets are held side by side,
// so a packet never waits for the one before it. "ready" on standard output says the queue is
// bound; SIGTERM or SIGINT ends the program, and the packets still held are let pass.

// The C library's network headers come before the kernel's, which then leave their
// definitions to them.
#include <arpa/inet.h>
#include <netinet/in.h>

#include <libnetfilter_queue/libnetfilter_queue.h>
#include <linux/netfilter.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <poll.h>
#include <sched.h>
#include <string>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct HeldPacket
{
    std::uint32_t id {0};
    Clock::time_point due;
};

struct Queue
{
    nfq_q_handle* handle {nullptr};
    std::chrono::milliseconds delay {0};
    std::deque<HeldPacket> held;
};

volatile std::sig_atomic_t s_stop = 0;

void onSignal(int)
{
    s_stop = 1;
}

// When the kernel received the packet, on the monotonic clock: the packet's receive stamp
// where the queue reports one (it is wall-clock time), else now. Holding from the receipt
// rather than from this program's wake-up keeps a busy machine from adding to the delay.
Clock::time_point receivedAt(nfq_data* data)
{
    const Clock::time_point now = Clock::now();
    timeval stamp {};
    if (nfq_get_timestamp(data, &stamp) != 0 || stamp.tv_sec == 0)
        return now;
    timespec wallClock {};
    clock_gettime(CLOCK_REALTIME, &wallClock);
    const long long ageMicros
        = (static_cast<long long>(wallClock.tv_sec) - stamp.tv_sec) * 1000000LL
        + (wallClock.tv_nsec / 1000 - stamp.tv_usec);
    // A stamp from the future or from long ago means the wall clock was set meanwhile.
    if (ageMicros < 0 || ageMicros > 1000000)
        return now;
    return now - std::chrono::microseconds(ageMicros);
}

int onPacket(nfq_q_handle*, nfgenmsg*, nfq_data* data, void* context)
{
    auto* queue = static_cast<Queue*>(context);
    const nfqnl_msg_packet_hdr* header = nfq_get_msg_packet_hdr(data);
    if (!header)
        return 0;
    // Every packet gets the same delay, so they leave in the order they came.
    queue->held.push_back({ntohl(header->packet_id), receivedAt(data) + queue->delay});
    return 0;
}

void releaseDue(Queue& queue, bool all)
{
    const Clock::time_point now = Clock::now();
    while (!queue.held.empty() && (all || queue.held.front().due <= now)) {
        nfq_set_verdict(queue.handle, queue.held.front().id, NF_ACCEPT, 0, nullptr);
        queue.held.pop_front();
    }
}

int usage()
{
    std::fprintf(stderr, "usage: nfqdelay --queue N --delay MS\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    int queueNumber = -1;
    int delayMs = -1;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--queue")
            queueNumber = std::atoi(argv[i + 1]);
        else if (option == "--delay")
            delayMs = std::atoi(argv[i + 1]);
        else
            return usage();
    }
    if (queueNumber < 0 || queueNumber > 65535 || delayMs < 0)
        return usage();

    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
    // Wakes up on time even when the machine is busy: a real-time priority where the program
    // may take one (it sleeps nearly all the time), and the least timer slack.
    sched_param priority {};
    priority.sched_priority = 10;
    sched_setscheduler(0, SCHED_FIFO, &priority);
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);

    nfq_handle* netlink = nfq_open();
    if (!netlink) {
        std::perror("nfqdelay: nfq_open");
        return 1;
    }
    Queue queue;
    queue.delay = std::chrono::milliseconds(delayMs);
    queue.handle
        = nfq_create_queue(netlink, static_cast<std::uint16_t>(queueNumber), onPacket, &queue);
    if (!queue.handle) {
        std::perror("nfqdelay: nfq_create_queue");
        nfq_close(netlink);
        return 1;
    }
    // Only the packet identifier is needed, not the packet.
    if (nfq_set_mode(queue.handle, NFQNL_COPY_META, 0) < 0) {
        std::perror("nfqdelay: nfq_set_mode");
        nfq_destroy_queue(queue.handle);
        nfq_close(netlink);
        return 1;
    }
    const int fd = nfq_fd(netlink);
    std::printf("ready\n");
    std::fflush(stdout);

    alignas(8) char buffer[65536];
    while (!s_stop) {
        // Waits to the nanosecond, so a packet leaves as close to its time as the timer allows.
        timespec wait {};
        timespec* timeout = nullptr;
        if (!queue.held.empty()) {
            const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(
                queue.held.front().due - Clock::now())
                                  .count();
            const long long nanos = left > 0 ? left : 0;
            wait.tv_sec = static_cast<time_t>(nanos / 1000000000LL);
            wait.tv_nsec = static_cast<long>(nanos % 1000000000LL);
            timeout = &wait;
        }
        pollfd ready {fd, POLLIN, 0};
        const int polled = ppoll(&ready, 1, timeout, nullptr);
        if (polled < 0 && errno != EINTR)
            break;
        if (polled > 0 && (ready.revents & POLLIN)) {
            const ssize_t length = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
            if (length > 0)
                nfq_handle_packet(netlink, buffer, static_cast<int>(length));
        }
        releaseDue(queue, false);
    }
    releaseDue(queue, true);
    nfq_destroy_queue(queue.handle);
    nfq_close(netlink);
    return 0;
}
