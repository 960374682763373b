#include "server/ListenAddress.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <charconv>
#include <cstring>

namespace zefa::server {

namespace {

constexpr int kBacklog = 511;

union SocketAddress {
    sockaddr any;
    sockaddr_in v4;
    sockaddr_in6 v6;
};

}  // namespace

std::optional<ListenAddress> parseListenAddress(std::string_view text) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos) return std::nullopt;
    std::string_view host = text.substr(0, colon);
    const std::string_view port = text.substr(colon + 1);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    unsigned value = 0;
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
    if (port.empty() || error != std::errc() || end != port.data() + port.size() || value > 65535)
        return std::nullopt;
    in6_addr ignored{};
    const std::string hostText(host);
    if (inet_pton(AF_INET, hostText.c_str(), &ignored) != 1 &&
        inet_pton(AF_INET6, hostText.c_str(), &ignored) != 1)
        return std::nullopt;
    return ListenAddress{hostText, static_cast<std::uint16_t>(value)};
}

record::FileDescriptor listenOn(const ListenAddress& address, std::string& whyNot) {
    SocketAddress where{};
    socklen_t length = sizeof where.v4;
    if (inet_pton(AF_INET, address.host.c_str(), &where.v4.sin_addr) == 1) {
        where.v4.sin_family = AF_INET;
        where.v4.sin_port = htons(address.port);
    } else {
        inet_pton(AF_INET6, address.host.c_str(), &where.v6.sin6_addr);
        where.v6.sin6_family = AF_INET6;
        where.v6.sin6_port = htons(address.port);
        length = sizeof where.v6;
    }
    record::FileDescriptor fd(::socket(where.any.sa_family, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const int on = 1;
    if (!fd || ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        ::bind(fd.get(), &where.any, length) != 0 || ::listen(fd.get(), kBacklog) != 0) {
        whyNot = std::strerror(errno);
        return {};
    }
    return fd;
}

std::uint16_t boundPort(int socket) {
    SocketAddress bound{};
    socklen_t length = sizeof bound;
    ::getsockname(socket, &bound.any, &length);
    return ntohs(bound.any.sa_family == AF_INET6 ? bound.v6.sin6_port : bound.v4.sin_port);
}

}  // namespace zefa::server
