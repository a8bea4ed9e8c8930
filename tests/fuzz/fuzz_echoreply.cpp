// libFuzzer target: received ICMP packets through the echo reply matcher.
//
// Input: one byte of form (low two bits: 0 a raw socket's whole IPv4 datagram, 1 a datagram
// socket's ICMP message, 2 an entry of its error queue; bit 2: the target fixes the ICMP
// checksum so that the fuzzer reaches past it), eight bytes of the request waited for
// (destination, identifier, sequence), for the datagram forms four bytes of source address and
// for the error queue a type and code, then the packet.
// Invariants, checked against the packet's own fields: a reply or an error is accepted only when
// it is the request's (echo reply type, identifier, sequence, source; the quoted request and its
// destination), a packet that ends the wait is one that was accepted, and the reply's data lies
// inside the packet and covers the ICMP message after its header, no more.

#include "platform/net/echomatch.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

std::uint16_t read16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

std::uint32_t readAddress(const std::uint8_t* p)
{
    std::uint32_t address = 0;
    std::memcpy(&address, p, sizeof address);
    return address;
}

// Writes the checksum of an ICMP message into it.
void fixChecksum(std::uint8_t* icmp, std::size_t length)
{
    if (length < 4)
        return;
    icmp[2] = icmp[3] = 0;
    const std::uint16_t sum = icmpChecksum(icmp, length);
    icmp[2] = static_cast<std::uint8_t>(sum >> 8);
    icmp[3] = static_cast<std::uint8_t>(sum & 0xFF);
}

bool isRequest(const std::uint8_t* icmp, const EchoRequestKey& key)
{
    return icmp[0] == 8 && read16(icmp + 4) == key.identifier && read16(icmp + 6) == key.sequence;
}

// The checks every result keeps, given the ICMP message it came from.
void checkMessageResult(const EchoMatchResult& r, const std::uint8_t* icmp, std::size_t length,
    std::uint32_t source, const EchoRequestKey& key)
{
    check(r.endsWait() == (r.match == eECHOREPLY || r.match == eECHOERROR));
    if (r.match != eECHOREPLY)
        check(r.data == nullptr && r.dataSize == 0);
    if (r.match == eECHOREPLY) {
        check(length >= 8 && icmpChecksum(icmp, length) == 0);
        check(icmp[0] == 0 && read16(icmp + 4) == key.identifier && read16(icmp + 6) == key.sequence
            && source == key.destination);
        check(r.from == source && r.status == IP_SUCCESS);
        check(r.data == icmp + 8 && r.dataSize == length - 8);
    }
    if (r.match == eECHOERROR) {
        check(length >= 8 && icmpChecksum(icmp, length) == 0);
        check(r.status != IP_SUCCESS && r.status == icmpErrorStatus(icmp[0], icmp[1]));
        check(r.from == source);
        // The quoted datagram: a sound IPv4 header of ICMP to the destination, then the request.
        const std::uint8_t* quoted = icmp + 8;
        const std::size_t quotedLength = length - 8;
        check(quotedLength >= 20 && (quoted[0] >> 4) == 4);
        const std::size_t header = static_cast<std::size_t>(quoted[0] & 0x0F) * 4;
        check(header >= 20 && quotedLength >= header + 8);
        check(quoted[9] == 1 && readAddress(quoted + 16) == key.destination);
        check(isRequest(quoted + header, key));
    }
    if (r.match == eECHOBADCHECKSUM)
        check(length >= 8 && icmpChecksum(icmp, length) != 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 9)
        return 0;
    const int form = data[0] & 3;
    const bool fix = (data[0] & 4) != 0;
    EchoRequestKey key;
    key.destination = readAddress(data + 1);
    key.identifier = read16(data + 5);
    key.sequence = read16(data + 7);
    data += 9;
    size -= 9;

    if (form == 0) {
        std::vector<std::uint8_t> packet(data, data + size);
        std::size_t header = 0;
        std::size_t total = 0;
        const bool sound = size >= 20 && (packet[0] >> 4) == 4 && packet[9] == 1
            && (header = std::size_t(packet[0] & 0x0F) * 4) >= 20 && header <= size
            && (total = read16(packet.data() + 2)) >= header && total <= size;
        if (sound && fix)
            fixChecksum(packet.data() + header, total - header);
        const EchoMatchResult r = matchIpPacket(packet.data(), packet.size(), key);
        if (!sound) {
            check(r.match == eECHOTRUNCATED && !r.endsWait());
            return 0;
        }
        checkMessageResult(
            r, packet.data() + header, total - header, readAddress(&packet[12]), key);
        check(r.ttl == packet[8] && r.tos == packet[1]);
        // Bytes after the datagram's total length are not its own.
        if (r.match == eECHOREPLY)
            check(r.data + r.dataSize == packet.data() + total);
    } else if (form == 1) {
        if (size < 4)
            return 0;
        const std::uint32_t source = readAddress(data);
        std::vector<std::uint8_t> message(data + 4, data + size);
        if (fix)
            fixChecksum(message.data(), message.size());
        const EchoMatchResult r = matchIcmpMessage(message.data(), message.size(), source, key);
        checkMessageResult(r, message.data(), message.size(), source, key);
        if (message.size() < 8)
            check(r.match == eECHOTRUNCATED);
    } else {
        if (size < 6)
            return 0;
        const std::uint8_t type = data[0];
        const std::uint8_t code = data[1];
        const std::uint32_t reporter = readAddress(data + 2);
        const std::vector<std::uint8_t> quoted(data + 6, data + size);
        const EchoMatchResult r
            = matchQueuedError(type, code, reporter, quoted.data(), quoted.size(), key);
        check(r.endsWait() == (r.match == eECHOERROR));
        check(r.data == nullptr && r.dataSize == 0);
        if (r.match == eECHOERROR) {
            check(r.status != IP_SUCCESS && r.status == icmpErrorStatus(type, code));
            check(r.from == reporter && quoted.size() >= 8 && isRequest(quoted.data(), key));
        }
        if (icmpErrorStatus(type, code) == IP_SUCCESS)
            check(r.match == eECHOOTHERTYPE);
    }
    return 0;
}
