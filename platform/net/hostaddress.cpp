#include "platform/net/hostaddress.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

std::uint32_t zorResolveHost(const std::string& host)
{
    if (host.empty())
        return 0;
    // inet_aton reads what inet_addr reads but tells "255.255.255.255" from a failure.
    in_addr dotted {};
    if (inet_aton(host.c_str(), &dotted) != 0)
        return dotted.s_addr;

    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_RAW; // one entry per address instead of one per socket type
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return 0;
    std::uint32_t address = 0;
    for (const addrinfo* entry = found; entry; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr) {
            address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr;
            break;
        }
    }
    freeaddrinfo(found);
    return address;
}

std::string zorDottedAddress(std::uint32_t address)
{
    in_addr value {};
    value.s_addr = address;
    char text[INET_ADDRSTRLEN] {};
    if (!inet_ntop(AF_INET, &value, text, sizeof text))
        return "0.0.0.0";
    return text;
}
