#include "platform/net/icmpapi.h"

#include "platform/net/echomatch.h"

#include <arpa/inet.h>
#include <cerrno>
#include <ifaddrs.h>
#include <linux/errqueue.h>
#include <linux/icmp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <limits>
#include <mutex>
#include <new>
#include <random>
#include <set>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t RECEIVE_BUFFER_SIZE = 65536;

// The state behind one ICMP handle.
struct IcmpFile
{
    int socket {-1};
    eICMPSOCKET kind {eICMPDATAGRAM};
    // The identifier of this handle's requests: chosen by the kernel for a datagram socket
    // (its bound port), by this service for a raw socket.
    std::uint16_t identifier {0};
    int ttl {-1}; // -1: the system's default
    int tos {0};
    ULONGLONG lastRoundTripMicros {0};
    std::vector<std::uint8_t> buffer = std::vector<std::uint8_t>(RECEIVE_BUFFER_SIZE);
};

thread_local DWORD t_lastError {ERROR_SUCCESS};

// The socket kind new handles open; shared by the whole process because a tool or a test
// chooses it once for every handle the code under it opens.
std::atomic<int> s_socketKind {eICMPDATAGRAM};

std::uint16_t initialSequence()
{
    std::random_device random;
    return static_cast<std::uint16_t>(random());
}

// The next sequence number, shared by all handles of the process: every request of the process
// has a number of its own (until 65536 requests later), so a late reply to one request never
// answers another, even on a new handle of the same identifier. It starts at a random number
// so that replies to a process that ran before under the same identifier do not match either.
std::atomic<std::uint16_t> s_sequence {initialSequence()};

// Counts the raw handles made, so that handles open at the same time get different
// identifiers.
std::atomic<unsigned> s_rawSerial {0};

// The open handles: a handle is used only while it is in this set, so a closed or made-up
// handle fails with ERROR_INVALID_HANDLE instead of touching freed memory.
std::mutex s_filesMutex;
std::set<IcmpFile*> s_files;

IcmpFile* openFile(HANDLE handle)
{
    std::lock_guard<std::mutex> lock(s_filesMutex);
    const auto found = s_files.find(static_cast<IcmpFile*>(handle));
    return found == s_files.end() ? nullptr : *found;
}

template<typename T> void setOption(int socket, int level, int name, T value)
{
    setsockopt(socket, level, name, &value, sizeof value);
}

// A datagram ICMP socket bound to a port of its own: the kernel puts that port into the
// identifier of every request and hands the socket only replies that carry it.
bool openDatagramSocket(IcmpFile& file)
{
    const int s = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (s < 0)
        return false;
    sockaddr_in any {};
    any.sin_family = AF_INET;
    any.sin_addr.s_addr = htonl(INADDR_ANY);
    sockaddr_in bound {};
    socklen_t boundSize = sizeof bound;
    if (bind(s, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0
        || getsockname(s, reinterpret_cast<sockaddr*>(&bound), &boundSize) != 0) {
        close(s);
        return false;
    }
    // ICMP errors for the socket's requests arrive on its error queue.
    setOption(s, IPPROTO_IP, IP_RECVERR, 1);
    setOption(s, IPPROTO_IP, IP_RECVTTL, 1);
    setOption(s, IPPROTO_IP, IP_RECVTOS, 1);
    setOption(s, SOL_SOCKET, SO_TIMESTAMPNS, 1);
    file.socket = s;
    file.kind = eICMPDATAGRAM;
    file.identifier = ntohs(bound.sin_port);
    return true;
}

// A raw ICMP socket, which receives every ICMP message of the host: the kernel is asked to
// pass on only the types that can end a wait.
bool openRawSocket(IcmpFile& file)
{
    const int s = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (s < 0)
        return false;
    icmp_filter filter {};
    filter.data = ~((1U << ICMP_ECHOREPLY) | (1U << ICMP_DEST_UNREACH) | (1U << ICMP_TIME_EXCEEDED)
        | (1U << ICMP_PARAMETERPROB));
    setsockopt(s, SOL_RAW, ICMP_FILTER, &filter, sizeof filter);
    setOption(s, SOL_SOCKET, SO_TIMESTAMPNS, 1);
    file.socket = s;
    file.kind = eICMPRAW;
    const unsigned serial = s_rawSerial.fetch_add(1);
    file.identifier
        = static_cast<std::uint16_t>(static_cast<unsigned>(getpid()) ^ (serial * 40503U));
    return true;
}

ULONG sendErrorStatus(int error)
{
    switch (error) {
    case ENETUNREACH:
    case ENETDOWN:
        return IP_DEST_NET_UNREACHABLE;
    case EHOSTUNREACH:
    case EHOSTDOWN:
        return IP_DEST_HOST_UNREACHABLE;
    case ENOBUFS:
    case ENOMEM:
        return IP_NO_RESOURCES;
    case EMSGSIZE:
        return IP_PACKET_TOO_BIG;
    default:
        return IP_GENERAL_FAILURE;
    }
}

// Whether the link a request to the destination leaves through is usable. The route is looked
// up by connecting a UDP socket (which sends nothing); its source address names the link. A
// link that is down or has lost its carrier fails the echo at once instead of after the
// timeout; a destination that is one of this host's own addresses is delivered locally.
ULONG outgoingLinkStatus(std::uint32_t destination)
{
    const int probe = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (probe < 0)
        return IP_SUCCESS;
    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_port = htons(9);
    to.sin_addr.s_addr = destination;
    sockaddr_in from {};
    socklen_t fromSize = sizeof from;
    ULONG status = IP_SUCCESS;
    if (connect(probe, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
        if (errno == ENETUNREACH || errno == EHOSTUNREACH || errno == ENETDOWN)
            status = sendErrorStatus(errno);
        close(probe);
        return status;
    }
    const bool haveSource = getsockname(probe, reinterpret_cast<sockaddr*>(&from), &fromSize) == 0;
    close(probe);
    if (!haveSource)
        return IP_SUCCESS;

    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return IP_SUCCESS;
    bool local = false;
    bool linkDown = false;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        const std::uint32_t address
            = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr;
        if (address == destination)
            local = true;
        // The carrier flag changes the moment the link goes down; the running flag follows
        // only when the kernel next looks at the link.
        if (address == from.sin_addr.s_addr
            && (entry->ifa_flags & (IFF_UP | IFF_LOWER_UP)) != (IFF_UP | IFF_LOWER_UP))
            linkDown = true;
    }
    freeifaddrs(list);
    return linkDown && !local ? IP_DEST_NET_UNREACHABLE : IP_SUCCESS;
}

// The options of the request, set on the socket only when they differ from the last ones.
bool applyOptions(IcmpFile& file, const IP_OPTION_INFORMATION* options)
{
    const int ttl = options && options->Ttl ? options->Ttl : -1;
    const int tos = options ? options->Tos : 0;
    if (ttl != file.ttl) {
        if (setsockopt(file.socket, IPPROTO_IP, IP_TTL, &ttl, sizeof ttl) != 0)
            return false;
        file.ttl = ttl;
    }
    if (tos != file.tos) {
        if (setsockopt(file.socket, IPPROTO_IP, IP_TOS, &tos, sizeof tos) != 0)
            return false;
        file.tos = tos;
    }
    return true;
}

// One received packet and what came with it.
struct Received
{
    EchoMatchResult match;
    Clock::time_point at; // when this process had it
    std::int64_t kernelLagNanos {-1}; // from the kernel's receive stamp to `at`; -1 unknown
};

std::int64_t lagSince(const timespec& stamp)
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return (static_cast<std::int64_t>(now.tv_sec) - stamp.tv_sec) * 1000000000LL
        + (now.tv_nsec - stamp.tv_nsec);
}

// Reads one packet of the socket's receive queue; false when there is none.
bool receivePacket(IcmpFile& file, const EchoRequestKey& key, Received& received)
{
    sockaddr_in source {};
    iovec data {file.buffer.data(), file.buffer.size()};
    alignas(cmsghdr) char control[512];
    msghdr message {};
    message.msg_name = &source;
    message.msg_namelen = sizeof source;
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t length = recvmsg(file.socket, &message, MSG_DONTWAIT);
    if (length < 0)
        return false;
    received.at = Clock::now();

    int ttl = -1;
    int tos = -1;
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
            timespec stamp {};
            std::memcpy(&stamp, CMSG_DATA(c), sizeof stamp);
            received.kernelLagNanos = lagSince(stamp);
        } else if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_TTL) {
            std::memcpy(&ttl, CMSG_DATA(c), sizeof ttl);
        } else if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_TOS) {
            tos = *reinterpret_cast<const unsigned char*>(CMSG_DATA(c));
        }
    }

    const std::size_t size = std::min(static_cast<std::size_t>(length), file.buffer.size());
    if (message.msg_flags & MSG_TRUNC) {
        received.match = EchoMatchResult {};
        return true;
    }
    if (file.kind == eICMPRAW) {
        received.match = matchIpPacket(file.buffer.data(), size, key);
    } else {
        received.match = matchIcmpMessage(file.buffer.data(), size, source.sin_addr.s_addr, key);
        if (ttl >= 0)
            received.match.ttl = static_cast<std::uint8_t>(ttl);
        if (tos >= 0)
            received.match.tos = static_cast<std::uint8_t>(tos);
    }
    return true;
}

// Reads one entry of a datagram socket's error queue; false when it is empty.
bool receiveError(IcmpFile& file, const EchoRequestKey& key, Received& received)
{
    iovec data {file.buffer.data(), file.buffer.size()};
    alignas(cmsghdr) char control[512];
    msghdr message {};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t length = recvmsg(file.socket, &message, MSG_ERRQUEUE | MSG_DONTWAIT);
    if (length < 0)
        return false;
    received.at = Clock::now();
    received.match = EchoMatchResult {};
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level != IPPROTO_IP || c->cmsg_type != IP_RECVERR)
            continue;
        sock_extended_err error {};
        std::memcpy(&error, CMSG_DATA(c), sizeof error);
        // Local errors (of the send itself) were already reported by sendto.
        if (error.ee_origin != SO_EE_ORIGIN_ICMP)
            continue;
        sockaddr_in reporter {};
        const auto* offender = reinterpret_cast<const unsigned char*>(CMSG_DATA(c)) + sizeof error;
        if (c->cmsg_len >= CMSG_LEN(sizeof error + sizeof reporter))
            std::memcpy(&reporter, offender, sizeof reporter);
        const std::size_t size = std::min(static_cast<std::size_t>(length), file.buffer.size());
        received.match = matchQueuedError(
            error.ee_type, error.ee_code, reporter.sin_addr.s_addr, file.buffer.data(), size, key);
    }
    return true;
}

ULONGLONG roundTripMicros(Clock::time_point sent, const Received& received)
{
    std::int64_t nanos
        = std::chrono::duration_cast<std::chrono::nanoseconds>(received.at - sent).count();
    // The time from the kernel's receipt to this process's wake-up is not part of the trip.
    // Both ends of it are wall-clock readings; a lag outside the trip means the wall clock
    // was set meanwhile, and then the monotonic reading stands alone.
    if (received.kernelLagNanos >= 0 && received.kernelLagNanos <= nanos)
        nanos -= received.kernelLagNanos;
    return static_cast<ULONGLONG>((std::max<std::int64_t>(nanos, 0) + 500) / 1000);
}

ULONG wholeMilliseconds(ULONGLONG micros)
{
    return static_cast<ULONG>(std::max<ULONGLONG>(1, (micros + 500) / 1000));
}

ICMP_ECHO_REPLY* failedRecord(void* replyBuffer, DWORD replySize, IPAddr address, ULONG status)
{
    if (!replyBuffer || replySize < sizeof(ICMP_ECHO_REPLY))
        return nullptr;
    ICMP_ECHO_REPLY* record = new (replyBuffer) ICMP_ECHO_REPLY;
    record->Address = address;
    record->Status = status;
    return record;
}

DWORD fail(DWORD error)
{
    t_lastError = error;
    return 0;
}

} // namespace

HANDLE IcmpCreateFile()
{
    auto* file = new (std::nothrow) IcmpFile;
    if (!file) {
        t_lastError = IP_NO_RESOURCES;
        return INVALID_HANDLE_VALUE;
    }
    const bool open = (s_socketKind.load() == eICMPDATAGRAM && openDatagramSocket(*file))
        || openRawSocket(*file);
    if (!open) {
        t_lastError = (errno == EPERM || errno == EACCES) ? ERROR_ACCESS_DENIED : IP_NO_RESOURCES;
        delete file;
        return INVALID_HANDLE_VALUE;
    }
    {
        std::lock_guard<std::mutex> lock(s_filesMutex);
        s_files.insert(file);
    }
    return file;
}

BOOL IcmpCloseHandle(HANDLE IcmpHandle)
{
    IcmpFile* file = nullptr;
    {
        std::lock_guard<std::mutex> lock(s_filesMutex);
        const auto found = s_files.find(static_cast<IcmpFile*>(IcmpHandle));
        if (found != s_files.end()) {
            file = *found;
            s_files.erase(found);
        }
    }
    if (!file) {
        t_lastError = ERROR_INVALID_HANDLE;
        return FALSE;
    }
    close(file->socket);
    delete file;
    return TRUE;
}

DWORD IcmpSendEcho(HANDLE IcmpHandle, IPAddr DestinationAddress, LPVOID RequestData,
    WORD RequestSize, PIP_OPTION_INFORMATION RequestOptions, LPVOID ReplyBuffer, DWORD ReplySize,
    DWORD Timeout)
{
    IcmpFile* file = openFile(IcmpHandle);
    if (!file)
        return fail(ERROR_INVALID_HANDLE);
    file->lastRoundTripMicros = 0;
    if (!ReplyBuffer || (RequestSize > 0 && !RequestData))
        return fail(ERROR_INVALID_PARAMETER);
    if (ReplySize < zorIcmpReplySize(RequestSize)) {
        failedRecord(ReplyBuffer, ReplySize, DestinationAddress, IP_BUF_TOO_SMALL);
        return fail(IP_BUF_TOO_SMALL);
    }
    if (RequestOptions && RequestOptions->OptionsSize != 0) {
        failedRecord(ReplyBuffer, ReplySize, DestinationAddress, IP_BAD_OPTION);
        return fail(IP_BAD_OPTION);
    }
    if (DestinationAddress == htonl(INADDR_ANY) || DestinationAddress == htonl(INADDR_BROADCAST)) {
        failedRecord(ReplyBuffer, ReplySize, DestinationAddress, IP_BAD_DESTINATION);
        return fail(IP_BAD_DESTINATION);
    }
    const ULONG linkStatus = outgoingLinkStatus(DestinationAddress);
    if (linkStatus != IP_SUCCESS) {
        failedRecord(ReplyBuffer, ReplySize, DestinationAddress, linkStatus);
        return fail(linkStatus);
    }
    if (!applyOptions(*file, RequestOptions)) {
        failedRecord(ReplyBuffer, ReplySize, DestinationAddress, IP_BAD_OPTION);
        return fail(IP_BAD_OPTION);
    }

    EchoRequestKey key;
    key.destination = DestinationAddress;
    key.identifier = file->identifier;
    key.sequence = s_sequence.fetch_add(1);
    const std::vector<std::uint8_t> request = makeEchoRequest(
        key.identifier, key.sequence, static_cast<const std::uint8_t*>(RequestData), RequestSize);
    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = DestinationAddress;

    const Clock::time_point sent = Clock::now();
    const Clock::time_point deadline = sent + std::chrono::milliseconds(Timeout);
    if (sendto(file->socket, request.data(), request.size(), 0,
            reinterpret_cast<const sockaddr*>(&to), sizeof to)
        < 0) {
        const ULONG status = sendErrorStatus(errno);
        failedRecord(ReplyBuffer, ReplySize, DestinationAddress, status);
        return fail(status);
    }

    Received received;
    for (;;) {
        const auto left
            = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now())
                  .count();
        const int waitMs = static_cast<int>(
            std::clamp<std::int64_t>((left + 999) / 1000, 0, std::numeric_limits<int>::max()));
        pollfd ready {file->socket, POLLIN, 0};
        const int polled = poll(&ready, 1, waitMs);
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            break;

        bool ended = false;
        if (ready.revents & POLLERR) {
            bool queued = false;
            while (!ended && receiveError(*file, key, received)) {
                queued = true;
                ended = received.match.endsWait();
            }
            // A pending socket error without a queued message is taken off the socket, so that
            // the next poll waits again.
            if (!queued) {
                int error = 0;
                socklen_t errorSize = sizeof error;
                getsockopt(file->socket, SOL_SOCKET, SO_ERROR, &error, &errorSize);
            }
        }
        if (!ended && (ready.revents & POLLIN)) {
            while (!ended && receivePacket(*file, key, received))
                ended = received.match.endsWait();
        }
        if (ended) {
            ICMP_ECHO_REPLY* record = new (ReplyBuffer) ICMP_ECHO_REPLY;
            auto* area = static_cast<std::uint8_t*>(ReplyBuffer) + sizeof(ICMP_ECHO_REPLY);
            record->Address = received.match.from;
            record->Status = received.match.status;
            record->Data = area;
            record->Options.Ttl = received.match.ttl;
            record->Options.Tos = received.match.tos;
            if (received.match.match == eECHOREPLY) {
                file->lastRoundTripMicros = roundTripMicros(sent, received);
                record->RoundTripTime = wholeMilliseconds(file->lastRoundTripMicros);
                const std::size_t size
                    = std::min<std::size_t>(received.match.dataSize, RequestSize);
                if (size > 0)
                    std::memcpy(area, received.match.data, size);
                record->DataSize = static_cast<USHORT>(size);
                t_lastError = ERROR_SUCCESS;
            } else {
                t_lastError = received.match.status;
            }
            return 1;
        }
        if (Clock::now() >= deadline)
            break;
    }
    failedRecord(ReplyBuffer, ReplySize, DestinationAddress, IP_REQ_TIMED_OUT);
    return fail(IP_REQ_TIMED_OUT);
}

DWORD zorIcmpLastError()
{
    return t_lastError;
}

void zorIcmpSetSocketKind(eICMPSOCKET kind)
{
    s_socketKind.store(kind == eICMPRAW ? eICMPRAW : eICMPDATAGRAM);
}

eICMPSOCKET zorIcmpSocketKind()
{
    return static_cast<eICMPSOCKET>(s_socketKind.load());
}

int zorIcmpHandleSocketKind(HANDLE IcmpHandle)
{
    const IcmpFile* file = openFile(IcmpHandle);
    return file ? file->kind : 0;
}

ULONGLONG zorIcmpLastRoundTripMicros(HANDLE IcmpHandle)
{
    const IcmpFile* file = openFile(IcmpHandle);
    return file ? file->lastRoundTripMicros : 0;
}
