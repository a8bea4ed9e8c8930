#pragma once

// Reading received ICMP messages against the one echo request an ICMP handle waits for.
//
// Pure functions over bytes, so that every kind of packet can be tried without a socket. A
// datagram ICMP socket hands over the ICMP message alone, with its source beside it; a raw
// ICMP socket the whole IPv4 datagram (header of IHL 32-bit words, options included); the error
// queue of a datagram socket the quoted request alone, with the type and code of the error
// and the address of the host that reported it.
//
// A reply is an answer only when it is an echo reply with a good checksum, from the request's
// destination, with the request's identifier and sequence number. Each request of a process
// has a sequence number of its own, so a reply to an earlier request (late, or a duplicate of
// one already taken) never matches the request being waited for. An ICMP error ends the wait
// only when the packet it quotes is this request.

#include "platform/net/icmpapi.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The request waited for. The destination in network byte order, identifier and sequence
// number as numbers (host order).
struct EchoRequestKey
{
    std::uint32_t destination {0};
    std::uint16_t identifier {0};
    std::uint16_t sequence {0};
};

// What a received packet is to the request.
enum eECHOMATCH : int {
    eECHOREPLY, // the reply: the request was answered
    eECHOERROR, // an ICMP error quoting the request: the echo failed
    eECHOTRUNCATED, // too short for its headers, or not IPv4 carrying ICMP
    eECHOBADCHECKSUM, // the ICMP checksum does not add up
    eECHOREQUEST, // an echo request (a raw socket sees its own requests looped back)
    eECHOFOREIGNID, // a reply with another identifier: another process's
    eECHOWRONGSOURCE, // a reply from another host
    eECHOWRONGSEQUENCE, // a reply to another request of this identifier: late or a duplicate
    eECHOFOREIGNERROR, // an ICMP error quoting a packet that is not the request
    eECHOOTHERTYPE, // any other ICMP message (redirect, source quench, timestamp, ...)
};

struct EchoMatchResult
{
    eECHOMATCH match {eECHOTRUNCATED};
    // For a reply or an error: the replying host or the reporter of the error (network order).
    std::uint32_t from {0};
    // IP_SUCCESS for a reply, the status the error stands for otherwise.
    ULONG status {IP_REQ_TIMED_OUT};
    // The reply's echo data (inside the examined bytes) and, from a raw packet, its IP header's
    // time to live and type of service.
    const std::uint8_t* data {nullptr};
    std::size_t dataSize {0};
    std::uint8_t ttl {0};
    std::uint8_t tos {0};

    bool endsWait() const { return match == eECHOREPLY || match == eECHOERROR; }
};

// An ICMP message (from its type byte on) that came from source (network order).
EchoMatchResult matchIcmpMessage(const std::uint8_t* message, std::size_t length,
    std::uint32_t source, const EchoRequestKey& key);
// A whole IPv4 datagram carrying ICMP, as a raw socket receives it.
EchoMatchResult matchIpPacket(
    const std::uint8_t* packet, std::size_t length, const EchoRequestKey& key);
// An ICMP error from a datagram socket's error queue: its type and code, the reporter
// (network order), and the quoted ICMP message of the request (from its type byte on).
EchoMatchResult matchQueuedError(std::uint8_t type, std::uint8_t code, std::uint32_t reporter,
    const std::uint8_t* quoted, std::size_t length, const EchoRequestKey& key);

// The status an ICMP error of this type and code stands for, or IP_SUCCESS when a message of
// that type does not end a wait (source quench, redirect, and every type that is no error).
ULONG icmpErrorStatus(std::uint8_t type, std::uint8_t code);

// The Internet checksum (RFC 1071) of the bytes, as stored in a header: a message whose checksum
// field holds it sums to 0.
std::uint16_t icmpChecksum(const std::uint8_t* bytes, std::size_t length);

// An echo request message: type 8, code 0, the checksum, identifier and sequence in network
// order, then the data.
std::vector<std::uint8_t> makeEchoRequest(std::uint16_t identifier, std::uint16_t sequence,
    const std::uint8_t* data, std::size_t dataSize);
