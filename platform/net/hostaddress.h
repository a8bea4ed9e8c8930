#pragma once

// Host names and dotted addresses: the stand-in for the socket library's inet_addr,
// gethostbyname and inet_ntoa, safe to call from any thread.

#include <cstdint>
#include <string>

// The IPv4 address a host text stands for, in network byte order: the text read as a dotted
// address first (the forms inet_addr reads, "10.0.0.1" as well as "10.1"), else the first IPv4
// address the system resolver gives for it as a name; 0 when neither gives one, and for an
// empty text, which is never looked up.
std::uint32_t zorResolveHost(const std::string& host);

// The dotted-decimal text of an address in network byte order; 0 gives "0.0.0.0".
std::string zorDottedAddress(std::uint32_t address);
