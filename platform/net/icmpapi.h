#pragma once

// The ICMP echo service: the stand-in for the platform's ICMP library (IcmpCreateFile,
// IcmpSendEcho, IcmpCloseHandle) on Linux sockets.
//
// A handle owns one ICMP socket. It is a datagram ICMP socket where the system lets this
// process open one (net.ipv4.ping_group_range names one of its groups), a raw ICMP socket
// otherwise (which needs CAP_NET_RAW); zorIcmpSetSocketKind forces the raw kind for tools and
// tests. Each IcmpSendEcho sends one echo request and waits for the reply to that request
// alone: a reply counts only when its identifier, its sequence number and its source match the
// request, so replies meant for other processes or hosts, duplicates and late replies to
// earlier requests are passed over (platform/net/echomatch.h). An ICMP error that quotes the
// request (destination unreachable, time exceeded, parameter problem) ends the wait as a
// failed echo with the matching status.
//
// The round-trip time comes from the monotonic clock, from just before the request is sent to
// the moment the kernel received the reply (its receive time stamp, where the socket gives
// one, takes out the time this process needed to wake up). It is reported in whole
// milliseconds, rounded to the nearest, and at least 1.
//
// Where the platform's library reports failures through the thread's last-error value, this
// one keeps it per thread too: zorIcmpLastError.
//
// A handle is used by one thread at a time; different handles may be used at the same time.

#include "platform/types/wintypes.h"

#include <cstdint>

// Handles of the platform's kernel objects; an ICMP handle is one of them.
using HANDLE = void*;
inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

// An IPv4 address in network byte order.
using IPAddr = ULONG;

// Status values of an echo reply and last-error values of the calls.
constexpr ULONG IP_SUCCESS = 0;
constexpr ULONG IP_STATUS_BASE = 11000;
constexpr ULONG IP_BUF_TOO_SMALL = 11001;
constexpr ULONG IP_DEST_NET_UNREACHABLE = 11002;
constexpr ULONG IP_DEST_HOST_UNREACHABLE = 11003;
constexpr ULONG IP_DEST_PROT_UNREACHABLE = 11004;
constexpr ULONG IP_DEST_PORT_UNREACHABLE = 11005;
constexpr ULONG IP_NO_RESOURCES = 11006;
constexpr ULONG IP_BAD_OPTION = 11007;
constexpr ULONG IP_HW_ERROR = 11008;
constexpr ULONG IP_PACKET_TOO_BIG = 11009;
constexpr ULONG IP_REQ_TIMED_OUT = 11010;
constexpr ULONG IP_BAD_REQ = 11011;
constexpr ULONG IP_BAD_ROUTE = 11012;
constexpr ULONG IP_TTL_EXPIRED_TRANSIT = 11013;
constexpr ULONG IP_TTL_EXPIRED_REASSEM = 11014;
constexpr ULONG IP_PARAM_PROBLEM = 11015;
constexpr ULONG IP_SOURCE_QUENCH = 11016;
constexpr ULONG IP_OPTION_TOO_BIG = 11017;
constexpr ULONG IP_BAD_DESTINATION = 11018;
constexpr ULONG IP_GENERAL_FAILURE = 11050;

// IP options of a request (Ttl and Tos are applied; option bytes are not supported, so
// OptionsSize must be 0) and of a reply (Ttl and Tos of the received reply where the socket
// reports them, else 0).
struct IP_OPTION_INFORMATION
{
    BYTE Ttl {0};
    BYTE Tos {0};
    BYTE Flags {0};
    BYTE OptionsSize {0};
    BYTE* OptionsData {nullptr};
};
using PIP_OPTION_INFORMATION = IP_OPTION_INFORMATION*;

// One reply record. Data points at the returned echo data, which IcmpSendEcho stores in the
// reply buffer after the record.
struct ICMP_ECHO_REPLY
{
    IPAddr Address {0}; // the replying host, or the one that reported the error
    ULONG Status {0}; // IP_SUCCESS or one of the IP_ values above
    ULONG RoundTripTime {0}; // milliseconds
    USHORT DataSize {0};
    USHORT Reserved {0};
    void* Data {nullptr};
    IP_OPTION_INFORMATION Options;
};
using PICMP_ECHO_REPLY = ICMP_ECHO_REPLY*;

// The reply buffer IcmpSendEcho needs for a request of requestSize data bytes: one record, the
// data and 8 bytes more, which the platform's library asks for room for an ICMP error.
constexpr DWORD zorIcmpReplySize(WORD requestSize)
{
    return static_cast<DWORD>(sizeof(ICMP_ECHO_REPLY)) + requestSize + 8;
}

// Opens an ICMP handle; INVALID_HANDLE_VALUE when no ICMP socket can be opened (the reason is
// the last error: IP_NO_RESOURCES, or ERROR_ACCESS_DENIED without the right to either kind).
HANDLE IcmpCreateFile();
// Closes the handle; FALSE for a handle that is not open (last error ERROR_INVALID_HANDLE).
BOOL IcmpCloseHandle(HANDLE IcmpHandle);
// Sends one echo request with RequestSize bytes of RequestData to the destination and waits up
// to Timeout milliseconds for the reply. Returns the number of reply records stored in the
// buffer: 1 for a reply (Status IP_SUCCESS) or an ICMP error quoting the request (Status says
// which); 0 when nothing came back in time or the request could not be sent, with the reason
// as the last error and, when the buffer holds a record, as the record's Status
// (IP_REQ_TIMED_OUT; IP_DEST_NET_UNREACHABLE when there is no route or the own link is down;
// IP_BAD_DESTINATION for 0.0.0.0 and 255.255.255.255; IP_BUF_TOO_SMALL when ReplySize is below
// zorIcmpReplySize(RequestSize); ERROR_INVALID_HANDLE, ERROR_INVALID_PARAMETER).
DWORD IcmpSendEcho(HANDLE IcmpHandle, IPAddr DestinationAddress, LPVOID RequestData,
    WORD RequestSize, PIP_OPTION_INFORMATION RequestOptions, LPVOID ReplyBuffer, DWORD ReplySize,
    DWORD Timeout);

// The last error of an ICMP call on this thread: set by every call that fails, and by
// IcmpSendEcho to ERROR_SUCCESS after a reply; other calls that succeed leave it as it was.
DWORD zorIcmpLastError();

// The kinds of ICMP socket a handle can own.
enum eICMPSOCKET : int {
    eICMPDATAGRAM = 1, // a datagram socket where the system allows it, else a raw socket
    eICMPRAW = 2, // a raw socket only
};

// The kind later IcmpCreateFile calls of this process open (eICMPDATAGRAM at start). Tools
// and tests use it to compare the two kinds.
void zorIcmpSetSocketKind(eICMPSOCKET kind);
eICMPSOCKET zorIcmpSocketKind();
// The kind of socket the handle owns; 0 for a handle that is not open.
int zorIcmpHandleSocketKind(HANDLE IcmpHandle);
// The round-trip time of the handle's last reply in microseconds (the record's RoundTripTime
// before rounding); 0 when the last request had no reply.
ULONGLONG zorIcmpLastRoundTripMicros(HANDLE IcmpHandle);
