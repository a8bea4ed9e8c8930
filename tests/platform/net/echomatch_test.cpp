#include "platform/net/echomatch.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::uint32_t CLIENT = inet_addr("198.18.0.1");
const std::uint32_t HOST = inet_addr("198.18.0.2");
const std::uint32_t OTHER_HOST = inet_addr("198.18.0.9");
const std::uint32_t ROUTER = inet_addr("198.18.0.254");
constexpr std::uint16_t OUR_ID = 0x4D2A;
constexpr std::uint16_t FOREIGN_ID = 0x0101;
constexpr std::uint8_t PROTOCOL_ICMP = 1;
constexpr std::uint8_t PROTOCOL_UDP = 17;

void put16(Bytes& bytes, std::size_t at, std::uint16_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value >> 8);
    bytes[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

void putAddress(Bytes& bytes, std::size_t at, std::uint32_t address)
{
    std::memcpy(bytes.data() + at, &address, sizeof address);
}

// Appends with a loop: the optimiser warns wrongly about inserting an empty range.
void append(Bytes& bytes, const Bytes& more)
{
    for (std::uint8_t byte : more)
        bytes.push_back(byte);
}

void sealChecksum(Bytes& message)
{
    put16(message, 2, 0);
    put16(message, 2, icmpChecksum(message.data(), message.size()));
}

// An ICMP echo message (type 0 reply or 8 request) with a good checksum.
Bytes echoMessage(std::uint8_t type, std::uint16_t id, std::uint16_t sequence, Bytes data = {})
{
    Bytes message(8, 0);
    message[0] = type;
    put16(message, 4, id);
    put16(message, 6, sequence);
    append(message, data);
    sealChecksum(message);
    return message;
}

Bytes reply(std::uint16_t id, std::uint16_t sequence, Bytes data = {})
{
    return echoMessage(0, id, sequence, std::move(data));
}

// An IPv4 datagram around a body; optionWords 32-bit words of no-operation options make the
// header longer than 20 bytes.
Bytes datagram(std::uint32_t source, std::uint32_t destination, std::uint8_t protocol,
    const Bytes& body, int optionWords = 0, std::uint8_t ttl = 64)
{
    const std::size_t headerLength = 20 + 4 * static_cast<std::size_t>(optionWords);
    Bytes packet(headerLength, 0);
    packet[0] = static_cast<std::uint8_t>(0x40 | (headerLength / 4));
    put16(packet, 2, static_cast<std::uint16_t>(headerLength + body.size()));
    packet[8] = ttl;
    packet[9] = protocol;
    putAddress(packet, 12, source);
    putAddress(packet, 16, destination);
    for (std::size_t i = 20; i < headerLength; ++i)
        packet[i] = 1; // no-operation option
    append(packet, body);
    return packet;
}

// An ICMP error message quoting the given bytes.
Bytes errorMessage(std::uint8_t type, std::uint8_t code, const Bytes& quoted)
{
    Bytes message(8, 0);
    message[0] = type;
    message[1] = code;
    append(message, quoted);
    sealChecksum(message);
    return message;
}

// The request of the key as the client sent it, as an error quotes it.
Bytes ourRequestDatagram(std::uint16_t sequence, int optionWords = 0)
{
    return datagram(CLIENT, HOST, PROTOCOL_ICMP, echoMessage(8, OUR_ID, sequence), optionWords);
}

EchoRequestKey keyFor(std::uint16_t sequence)
{
    EchoRequestKey key;
    key.destination = HOST;
    key.identifier = OUR_ID;
    key.sequence = sequence;
    return key;
}

Bytes cut(Bytes bytes, std::size_t length)
{
    bytes.resize(length);
    return bytes;
}

Bytes corrupt(Bytes bytes, std::size_t at)
{
    bytes[at] ^= 0x5A;
    return bytes;
}

} // namespace

// How the bytes reach the matcher.
enum class Delivery {
    Message, // a datagram socket's ICMP message with its source
    Packet, // a raw socket's IPv4 datagram
};

struct MatchCase
{
    std::string name;
    Delivery delivery;
    Bytes bytes;
    std::uint32_t source; // for Delivery::Message
    EchoRequestKey key;
    eECHOMATCH expected;
    ULONG expectedStatus;
    std::uint32_t expectedFrom;
};

void PrintTo(const MatchCase& c, std::ostream* os)
{
    *os << c.name;
}

class EchoReplyMatch : public testing::TestWithParam<MatchCase>
{
};

TEST_P(EchoReplyMatch, Classifies)
{
    const MatchCase& c = GetParam();
    const EchoMatchResult r = c.delivery == Delivery::Message
        ? matchIcmpMessage(c.bytes.data(), c.bytes.size(), c.source, c.key)
        : matchIpPacket(c.bytes.data(), c.bytes.size(), c.key);
    EXPECT_EQ(r.match, c.expected);
    EXPECT_EQ(r.endsWait(), c.expected == eECHOREPLY || c.expected == eECHOERROR);
    if (r.endsWait()) {
        EXPECT_EQ(r.status, c.expectedStatus);
        EXPECT_EQ(r.from, c.expectedFrom);
    }
}

std::vector<MatchCase> matchCases()
{
    const std::uint16_t seq = 7;
    const Bytes ours = reply(OUR_ID, seq);
    const Bytes unreachableOurs = errorMessage(3, 1, ourRequestDatagram(seq));
    return {
        {"OurReplyOnDatagramSocket", Delivery::Message, ours, HOST, keyFor(seq), eECHOREPLY,
            IP_SUCCESS, HOST},
        {"OurReplyOnRawSocket", Delivery::Packet, datagram(HOST, CLIENT, PROTOCOL_ICMP, ours), 0,
            keyFor(seq), eECHOREPLY, IP_SUCCESS, HOST},
        {"OurReplyWithIpOptions", Delivery::Packet, datagram(HOST, CLIENT, PROTOCOL_ICMP, ours, 3),
            0, keyFor(seq), eECHOREPLY, IP_SUCCESS, HOST},
        {"OurReplyWithLongestIpHeader", Delivery::Packet,
            datagram(HOST, CLIENT, PROTOCOL_ICMP, ours, 10), 0, keyFor(seq), eECHOREPLY, IP_SUCCESS,
            HOST},
        {"ForeignIdentifier", Delivery::Message, reply(FOREIGN_ID, seq), HOST, keyFor(seq),
            eECHOFOREIGNID, 0, 0},
        {"ForeignIdentifierOnRawSocket", Delivery::Packet,
            datagram(HOST, CLIENT, PROTOCOL_ICMP, reply(FOREIGN_ID, seq)), 0, keyFor(seq),
            eECHOFOREIGNID, 0, 0},
        {"WrongSource", Delivery::Message, ours, OTHER_HOST, keyFor(seq), eECHOWRONGSOURCE, 0, 0},
        {"WrongSourceOnRawSocket", Delivery::Packet,
            datagram(OTHER_HOST, CLIENT, PROTOCOL_ICMP, ours), 0, keyFor(seq), eECHOWRONGSOURCE, 0,
            0},
        {"LateReplyToEarlierRequest", Delivery::Message, reply(OUR_ID, seq - 1), HOST, keyFor(seq),
            eECHOWRONGSEQUENCE, 0, 0},
        {"DuplicateOfEarlierAnswer", Delivery::Packet,
            datagram(HOST, CLIENT, PROTOCOL_ICMP, reply(OUR_ID, seq - 1)), 0, keyFor(seq),
            eECHOWRONGSEQUENCE, 0, 0},
        {"ReplyToLaterSequence", Delivery::Message, reply(OUR_ID, seq + 1), HOST, keyFor(seq),
            eECHOWRONGSEQUENCE, 0, 0},
        {"WrapLateReplyBeforeZero", Delivery::Message, reply(OUR_ID, 65535), HOST, keyFor(0),
            eECHOWRONGSEQUENCE, 0, 0},
        {"WrapReplyAtZero", Delivery::Message, reply(OUR_ID, 0), HOST, keyFor(0), eECHOREPLY,
            IP_SUCCESS, HOST},
        {"WrapReplyAtLast", Delivery::Message, reply(OUR_ID, 65535), HOST, keyFor(65535),
            eECHOREPLY, IP_SUCCESS, HOST},
        {"WrapZeroIsNotLast", Delivery::Message, reply(OUR_ID, 0), HOST, keyFor(65535),
            eECHOWRONGSEQUENCE, 0, 0},
        {"OwnRequestLoopedBack", Delivery::Packet,
            datagram(CLIENT, HOST, PROTOCOL_ICMP, echoMessage(8, OUR_ID, seq)), 0, keyFor(seq),
            eECHOREQUEST, 0, 0},
        {"UnreachableQuotingOurRequest", Delivery::Packet,
            datagram(ROUTER, CLIENT, PROTOCOL_ICMP, unreachableOurs), 0, keyFor(seq), eECHOERROR,
            IP_DEST_HOST_UNREACHABLE, ROUTER},
        {"UnreachableQuotingOurRequestWithOptions", Delivery::Packet,
            datagram(
                ROUTER, CLIENT, PROTOCOL_ICMP, errorMessage(3, 0, ourRequestDatagram(seq, 2)), 1),
            0, keyFor(seq), eECHOERROR, IP_DEST_NET_UNREACHABLE, ROUTER},
        {"UnreachableFromTheHostItself", Delivery::Message, unreachableOurs, HOST, keyFor(seq),
            eECHOERROR, IP_DEST_HOST_UNREACHABLE, HOST},
        {"TimeExceededQuotingOurRequest", Delivery::Packet,
            datagram(ROUTER, CLIENT, PROTOCOL_ICMP, errorMessage(11, 0, ourRequestDatagram(seq))),
            0, keyFor(seq), eECHOERROR, IP_TTL_EXPIRED_TRANSIT, ROUTER},
        {"ParameterProblemQuotingOurRequest", Delivery::Message,
            errorMessage(12, 0, ourRequestDatagram(seq)), ROUTER, keyFor(seq), eECHOERROR,
            IP_PARAM_PROBLEM, ROUTER},
        {"UnreachableQuotingForeignIdentifier", Delivery::Packet,
            datagram(ROUTER, CLIENT, PROTOCOL_ICMP,
                errorMessage(
                    3, 1, datagram(CLIENT, HOST, PROTOCOL_ICMP, echoMessage(8, FOREIGN_ID, seq)))),
            0, keyFor(seq), eECHOFOREIGNERROR, 0, 0},
        {"UnreachableQuotingEarlierRequest", Delivery::Packet,
            datagram(
                ROUTER, CLIENT, PROTOCOL_ICMP, errorMessage(3, 1, ourRequestDatagram(seq - 1))),
            0, keyFor(seq), eECHOFOREIGNERROR, 0, 0},
        {"UnreachableQuotingOtherDestination", Delivery::Packet,
            datagram(ROUTER, CLIENT, PROTOCOL_ICMP,
                errorMessage(3, 1,
                    datagram(CLIENT, OTHER_HOST, PROTOCOL_ICMP, echoMessage(8, OUR_ID, seq)))),
            0, keyFor(seq), eECHOFOREIGNERROR, 0, 0},
        {"UnreachableQuotingUdp", Delivery::Packet,
            datagram(ROUTER, CLIENT, PROTOCOL_ICMP,
                errorMessage(3, 3, datagram(CLIENT, HOST, PROTOCOL_UDP, Bytes(8, 0x11)))),
            0, keyFor(seq), eECHOFOREIGNERROR, 0, 0},
        {"UnreachableQuotingOurReply", Delivery::Message,
            errorMessage(3, 1, datagram(CLIENT, HOST, PROTOCOL_ICMP, ours)), ROUTER, keyFor(seq),
            eECHOFOREIGNERROR, 0, 0},
        {"RedirectQuotingOurRequest", Delivery::Packet,
            datagram(ROUTER, CLIENT, PROTOCOL_ICMP, errorMessage(5, 1, ourRequestDatagram(seq))), 0,
            keyFor(seq), eECHOOTHERTYPE, 0, 0},
        {"SourceQuenchQuotingOurRequest", Delivery::Message,
            errorMessage(4, 0, ourRequestDatagram(seq)), ROUTER, keyFor(seq), eECHOOTHERTYPE, 0, 0},
        {"TimestampReply", Delivery::Message, errorMessage(14, 0, Bytes(12, 0)), HOST, keyFor(seq),
            eECHOOTHERTYPE, 0, 0},
        {"ShortIcmpMessage", Delivery::Message, cut(ours, 7), HOST, keyFor(seq), eECHOTRUNCATED, 0,
            0},
        {"EmptyMessage", Delivery::Message, Bytes {}, HOST, keyFor(seq), eECHOTRUNCATED, 0, 0},
        {"BadChecksum", Delivery::Message, corrupt(ours, 6), HOST, keyFor(seq), eECHOBADCHECKSUM, 0,
            0},
        {"BadChecksumOnRawSocket", Delivery::Packet,
            datagram(HOST, CLIENT, PROTOCOL_ICMP, corrupt(reply(OUR_ID, seq, {1, 2, 3}), 9)), 0,
            keyFor(seq), eECHOBADCHECKSUM, 0, 0},
        {"ShorterThanIpHeader", Delivery::Packet,
            cut(datagram(HOST, CLIENT, PROTOCOL_ICMP, ours), 19), 0, keyFor(seq), eECHOTRUNCATED, 0,
            0},
        {"IpOptionsRunPastTheEnd", Delivery::Packet,
            cut(datagram(HOST, CLIENT, PROTOCOL_ICMP, ours, 3), 28), 0, keyFor(seq), eECHOTRUNCATED,
            0, 0},
        {"IcmpCutAfterIpOptions", Delivery::Packet,
            cut(datagram(HOST, CLIENT, PROTOCOL_ICMP, ours, 3), 38), 0, keyFor(seq), eECHOTRUNCATED,
            0, 0},
        {"HeaderLengthBelowFiveWords", Delivery::Packet,
            [&] {
                Bytes p = datagram(HOST, CLIENT, PROTOCOL_ICMP, ours);
                p[0] = 0x44;
                return p;
            }(),
            0, keyFor(seq), eECHOTRUNCATED, 0, 0},
        {"NotIpVersion4", Delivery::Packet,
            [&] {
                Bytes p = datagram(HOST, CLIENT, PROTOCOL_ICMP, ours);
                p[0] = 0x65;
                return p;
            }(),
            0, keyFor(seq), eECHOTRUNCATED, 0, 0},
        {"RawPacketNotIcmp", Delivery::Packet, datagram(HOST, CLIENT, PROTOCOL_UDP, ours), 0,
            keyFor(seq), eECHOTRUNCATED, 0, 0},
        {"ErrorWithQuoteCutShort", Delivery::Packet,
            datagram(ROUTER, CLIENT, PROTOCOL_ICMP,
                errorMessage(3, 1, cut(ourRequestDatagram(seq), 24))),
            0, keyFor(seq), eECHOTRUNCATED, 0, 0},
        {"ErrorQuotingOnlyAnIpHeader", Delivery::Message,
            errorMessage(3, 1, cut(ourRequestDatagram(seq), 20)), ROUTER, keyFor(seq),
            eECHOTRUNCATED, 0, 0},
    };
}

INSTANTIATE_TEST_SUITE_P(Packets, EchoReplyMatch, testing::ValuesIn(matchCases()),
    [](const testing::TestParamInfo<MatchCase>& info) { return info.param.name; });

TEST(EchoReplyMatch, RawPacketTotalLengthBeyondTheReadIsTruncated)
{
    Bytes packet = datagram(HOST, CLIENT, PROTOCOL_ICMP, reply(OUR_ID, 3));
    put16(packet, 2, static_cast<std::uint16_t>(packet.size() + 4));
    EXPECT_EQ(matchIpPacket(packet.data(), packet.size(), keyFor(3)).match, eECHOTRUNCATED);
}

TEST(EchoReplyMatch, RawPacketPaddingAfterTotalLengthIsNotData)
{
    Bytes packet = datagram(HOST, CLIENT, PROTOCOL_ICMP, reply(OUR_ID, 3, {9, 8, 7}));
    append(packet, {0, 0, 0, 0});
    const EchoMatchResult r = matchIpPacket(packet.data(), packet.size(), keyFor(3));
    ASSERT_EQ(r.match, eECHOREPLY);
    ASSERT_EQ(r.dataSize, 3U);
    EXPECT_EQ(r.data[0], 9);
    EXPECT_EQ(r.data[2], 7);
}

TEST(EchoReplyMatch, RawReplyCarriesTimeToLive)
{
    const Bytes packet = datagram(HOST, CLIENT, PROTOCOL_ICMP, reply(OUR_ID, 3), 0, 57);
    const EchoMatchResult r = matchIpPacket(packet.data(), packet.size(), keyFor(3));
    ASSERT_EQ(r.match, eECHOREPLY);
    EXPECT_EQ(r.ttl, 57);
}

struct QueuedCase
{
    std::string name;
    std::uint8_t type;
    std::uint8_t code;
    Bytes quoted;
    eECHOMATCH expected;
    ULONG expectedStatus;
};

void PrintTo(const QueuedCase& c, std::ostream* os)
{
    *os << c.name;
}

class QueuedErrorMatch : public testing::TestWithParam<QueuedCase>
{
};

TEST_P(QueuedErrorMatch, Classifies)
{
    const QueuedCase& c = GetParam();
    const EchoMatchResult r
        = matchQueuedError(c.type, c.code, ROUTER, c.quoted.data(), c.quoted.size(), keyFor(40));
    EXPECT_EQ(r.match, c.expected);
    if (c.expected == eECHOERROR) {
        EXPECT_EQ(r.status, c.expectedStatus);
        EXPECT_EQ(r.from, ROUTER);
    }
}

INSTANTIATE_TEST_SUITE_P(ErrorQueue, QueuedErrorMatch,
    testing::Values(QueuedCase {"HostUnreachableForOurRequest", 3, 1, echoMessage(8, OUR_ID, 40),
                        eECHOERROR, IP_DEST_HOST_UNREACHABLE},
        QueuedCase {"TimeExceededForOurRequest", 11, 0, echoMessage(8, OUR_ID, 40), eECHOERROR,
            IP_TTL_EXPIRED_TRANSIT},
        QueuedCase {
            "ErrorForEarlierRequest", 3, 1, echoMessage(8, OUR_ID, 39), eECHOFOREIGNERROR, 0},
        QueuedCase {"ErrorForAnotherIdentifier", 3, 1, echoMessage(8, FOREIGN_ID, 40),
            eECHOFOREIGNERROR, 0},
        QueuedCase {"QuoteCutShort", 3, 1, cut(echoMessage(8, OUR_ID, 40), 6), eECHOTRUNCATED, 0},
        QueuedCase {"SourceQuench", 4, 0, echoMessage(8, OUR_ID, 40), eECHOOTHERTYPE, 0}),
    [](const testing::TestParamInfo<QueuedCase>& info) { return info.param.name; });

TEST(EchoRequestMessage, HeaderFieldsAndChecksum)
{
    const Bytes request = makeEchoRequest(0x1234, 0x0001, nullptr, 0);
    // Type 8 code 0, identifier 0x1234, sequence 1: the one's complement of 0x0800 + 0x1234 +
    // 0x0001.
    EXPECT_EQ(request, (Bytes {0x08, 0x00, 0xE5, 0xCA, 0x12, 0x34, 0x00, 0x01}));
}

TEST(EchoRequestMessage, OddLengthDataSumsToZero)
{
    const std::uint8_t data[] = {0xFF, 0x01, 0x7E};
    const Bytes request = makeEchoRequest(0xFFFF, 0xFFFF, data, sizeof data);
    ASSERT_EQ(request.size(), 11U);
    EXPECT_EQ(icmpChecksum(request.data(), request.size()), 0);
    EXPECT_EQ(request[8], 0xFF);
    EXPECT_EQ(request[10], 0x7E);
}
