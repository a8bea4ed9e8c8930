#include "platform/net/echomatch.h"

#include <cstring>

namespace {

// ICMP message types (RFC 792).
constexpr std::uint8_t ICMP_TYPE_ECHOREPLY = 0;
constexpr std::uint8_t ICMP_TYPE_UNREACHABLE = 3;
constexpr std::uint8_t ICMP_TYPE_ECHO = 8;
constexpr std::uint8_t ICMP_TYPE_TIMEEXCEEDED = 11;
constexpr std::uint8_t ICMP_TYPE_PARAMETERPROBLEM = 12;

constexpr std::uint8_t IPPROTO_ICMP_NUMBER = 1;
constexpr std::size_t ICMP_HEADER_SIZE = 8;
constexpr std::size_t IP_HEADER_MIN_SIZE = 20;

std::uint16_t read16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

// An address field as it lies in the packet, which is network byte order.
std::uint32_t readAddress(const std::uint8_t* bytes)
{
    std::uint32_t address {0};
    std::memcpy(&address, bytes, sizeof address);
    return address;
}

// The IPv4 header length of the datagram in bytes, or 0 when the bytes are no IPv4 header or
// its options run past the end.
std::size_t ipHeaderLength(const std::uint8_t* packet, std::size_t length)
{
    if (length < IP_HEADER_MIN_SIZE || (packet[0] >> 4) != 4)
        return 0;
    const std::size_t headerLength = static_cast<std::size_t>(packet[0] & 0x0F) * 4;
    if (headerLength < IP_HEADER_MIN_SIZE || headerLength > length)
        return 0;
    return headerLength;
}

EchoMatchResult result(eECHOMATCH match)
{
    EchoMatchResult r;
    r.match = match;
    return r;
}

// Whether an ICMP message (quoted, from its type byte on) is the echo request of the key.
bool isTheRequest(const std::uint8_t* icmp, const EchoRequestKey& key)
{
    return icmp[0] == ICMP_TYPE_ECHO && read16(icmp + 4) == key.identifier
        && read16(icmp + 6) == key.sequence;
}

// An ICMP error that quotes an IP datagram: the error ends the wait when the quoted datagram is
// the request, sent to the key's destination.
EchoMatchResult matchQuotedDatagram(ULONG status, std::uint32_t reporter,
    const std::uint8_t* quoted, std::size_t length, const EchoRequestKey& key)
{
    const std::size_t headerLength = ipHeaderLength(quoted, length);
    // Routers quote the IP header and at least the first 8 bytes of what it carried.
    if (headerLength == 0 || length < headerLength + ICMP_HEADER_SIZE)
        return result(eECHOTRUNCATED);
    if (quoted[9] != IPPROTO_ICMP_NUMBER || readAddress(quoted + 16) != key.destination
        || !isTheRequest(quoted + headerLength, key))
        return result(eECHOFOREIGNERROR);
    EchoMatchResult r = result(eECHOERROR);
    r.from = reporter;
    r.status = status;
    return r;
}

} // namespace

std::uint16_t icmpChecksum(const std::uint8_t* bytes, std::size_t length)
{
    std::uint32_t sum {0};
    std::size_t i {0};
    for (; i + 1 < length; i += 2)
        sum += static_cast<std::uint32_t>(bytes[i] << 8 | bytes[i + 1]);
    if (i < length)
        sum += static_cast<std::uint32_t>(bytes[i] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum & 0xFFFF);
}

std::vector<std::uint8_t> makeEchoRequest(std::uint16_t identifier, std::uint16_t sequence,
    const std::uint8_t* data, std::size_t dataSize)
{
    std::vector<std::uint8_t> message(ICMP_HEADER_SIZE + dataSize, 0);
    message[0] = ICMP_TYPE_ECHO;
    message[4] = static_cast<std::uint8_t>(identifier >> 8);
    message[5] = static_cast<std::uint8_t>(identifier & 0xFF);
    message[6] = static_cast<std::uint8_t>(sequence >> 8);
    message[7] = static_cast<std::uint8_t>(sequence & 0xFF);
    if (dataSize > 0)
        std::memcpy(message.data() + ICMP_HEADER_SIZE, data, dataSize);
    const std::uint16_t checksum = icmpChecksum(message.data(), message.size());
    message[2] = static_cast<std::uint8_t>(checksum >> 8);
    message[3] = static_cast<std::uint8_t>(checksum & 0xFF);
    return message;
}

ULONG icmpErrorStatus(std::uint8_t type, std::uint8_t code)
{
    switch (type) {
    case ICMP_TYPE_UNREACHABLE:
        switch (code) {
        case 0: // network unreachable
        case 6: // network unknown
        case 9: // network administratively prohibited
        case 11: // network unreachable for the type of service
            return IP_DEST_NET_UNREACHABLE;
        case 2:
            return IP_DEST_PROT_UNREACHABLE;
        case 3:
            return IP_DEST_PORT_UNREACHABLE;
        case 4: // fragmentation needed and the request said not to fragment
            return IP_PACKET_TOO_BIG;
        case 5:
            return IP_BAD_ROUTE;
        default: // host unreachable, unknown, prohibited, and codes added later
            return IP_DEST_HOST_UNREACHABLE;
        }
    case ICMP_TYPE_TIMEEXCEEDED:
        return code == 1 ? IP_TTL_EXPIRED_REASSEM : IP_TTL_EXPIRED_TRANSIT;
    case ICMP_TYPE_PARAMETERPROBLEM:
        return IP_PARAM_PROBLEM;
    default:
        return IP_SUCCESS;
    }
}

EchoMatchResult matchIcmpMessage(const std::uint8_t* message, std::size_t length,
    std::uint32_t source, const EchoRequestKey& key)
{
    if (!message || length < ICMP_HEADER_SIZE)
        return result(eECHOTRUNCATED);
    if (icmpChecksum(message, length) != 0)
        return result(eECHOBADCHECKSUM);

    const std::uint8_t type = message[0];
    if (type == ICMP_TYPE_ECHO)
        return result(eECHOREQUEST);
    if (type == ICMP_TYPE_ECHOREPLY) {
        if (read16(message + 4) != key.identifier)
            return result(eECHOFOREIGNID);
        if (source != key.destination)
            return result(eECHOWRONGSOURCE);
        if (read16(message + 6) != key.sequence)
            return result(eECHOWRONGSEQUENCE);
        EchoMatchResult r = result(eECHOREPLY);
        r.from = source;
        r.status = IP_SUCCESS;
        r.data = message + ICMP_HEADER_SIZE;
        r.dataSize = length - ICMP_HEADER_SIZE;
        return r;
    }
    const ULONG status = icmpErrorStatus(type, message[1]);
    if (status == IP_SUCCESS)
        return result(eECHOOTHERTYPE);
    return matchQuotedDatagram(
        status, source, message + ICMP_HEADER_SIZE, length - ICMP_HEADER_SIZE, key);
}

EchoMatchResult matchIpPacket(
    const std::uint8_t* packet, std::size_t length, const EchoRequestKey& key)
{
    if (!packet)
        return result(eECHOTRUNCATED);
    const std::size_t headerLength = ipHeaderLength(packet, length);
    if (headerLength == 0 || packet[9] != IPPROTO_ICMP_NUMBER)
        return result(eECHOTRUNCATED);
    // The total length says where the datagram ends; a shorter read lost part of it.
    const std::size_t totalLength = read16(packet + 2);
    if (totalLength < headerLength || totalLength > length)
        return result(eECHOTRUNCATED);

    EchoMatchResult r = matchIcmpMessage(
        packet + headerLength, totalLength - headerLength, readAddress(packet + 12), key);
    r.tos = packet[1];
    r.ttl = packet[8];
    return r;
}

EchoMatchResult matchQueuedError(std::uint8_t type, std::uint8_t code, std::uint32_t reporter,
    const std::uint8_t* quoted, std::size_t length, const EchoRequestKey& key)
{
    const ULONG status = icmpErrorStatus(type, code);
    if (status == IP_SUCCESS)
        return result(eECHOOTHERTYPE);
    if (!quoted || length < ICMP_HEADER_SIZE)
        return result(eECHOTRUNCATED);
    if (!isTheRequest(quoted, key))
        return result(eECHOFOREIGNERROR);
    EchoMatchResult r = result(eECHOERROR);
    r.from = reporter;
    r.status = status;
    return r;
}
