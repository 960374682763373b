#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "record/FileDescriptor.h"

namespace zefa::server {

// Where the server listens: a numeric IPv4 address or a bracketed IPv6 one,
// and a port ("127.0.0.1:8080", "[::1]:8080"; port 0: any free one).
struct ListenAddress {
    std::string host;
    std::uint16_t port = 0;
};

[[nodiscard]] std::optional<ListenAddress> parseListenAddress(std::string_view text);

// A socket listening there; empty, with the reason, when there is none.
[[nodiscard]] record::FileDescriptor listenOn(const ListenAddress& address, std::string& whyNot);

// The port a listening socket was given.
[[nodiscard]] std::uint16_t boundPort(int socket);

}  // namespace zefa::server
