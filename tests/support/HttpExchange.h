#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace zefa::test {

// An answer as it came over the wire: its status, headers and body.
struct HttpAnswer {
    int status = 0;  // 0: no answer
    std::string head;
    std::string body;
};

// Sends `request` as it is, byte for byte, to 127.0.0.1:`port` and reads the
// answer until the server closes the connection (requests say
// "Connection: close"), for at most 10 seconds.
inline HttpAnswer exchange(std::uint16_t port, const std::string& request) {
    HttpAnswer answer;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const timeval wait{10, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        // A server may answer and close before it has read everything.
        (void)::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
        std::string received;
        std::array<char, 65536> buffer{};
        for (ssize_t got; (got = ::recv(fd, buffer.data(), buffer.size(), 0)) > 0;)
            received.append(buffer.data(), static_cast<std::size_t>(got));
        const std::size_t end = received.find("\r\n\r\n");
        if (received.starts_with("HTTP/1.") && received.size() > 12 && end != std::string::npos) {
            answer.status = std::atoi(received.c_str() + 9);
            answer.head = received.substr(0, end + 2);
            answer.body = received.substr(end + 4);
        }
    }
    ::close(fd);
    return answer;
}

// A request of the upload API: `token` empty sends no Authorization.
inline std::string uploadRequest(const std::string& token, const std::string& log,
                                 const std::string& query = "",
                                 const std::string& type = "application/octet-stream") {
    return "POST /api/v1/recordings" + query +
           " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" +
           (token.empty() ? "" : "Authorization: Bearer " + token + "\r\n") +
           "Content-Type: " + type + "\r\nContent-Length: " + std::to_string(log.size()) +
           "\r\n\r\n" + log;
}

}  // namespace zefa::test
