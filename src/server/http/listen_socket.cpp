#include "http/listen_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace cd::server::http {

int openListenSocket(const std::string& hostPort, std::string* error) {
    std::string host, port;
    if (!hostPort.empty() && hostPort.front() == '[') {
        const auto close = hostPort.find("]:");
        if (close == std::string::npos) {
            if (error) *error = "expected [ADDRESS]:PORT, got " + hostPort;
            return -1;
        }
        host = hostPort.substr(1, close - 1);
        port = hostPort.substr(close + 2);
    } else {
        const auto colon = hostPort.rfind(':');
        if (colon == std::string::npos) {
            if (error) *error = "expected ADDRESS:PORT, got " + hostPort;
            return -1;
        }
        host = hostPort.substr(0, colon);
        port = hostPort.substr(colon + 1);
    }
    if (port.empty() || port.find_first_not_of("0123456789") != std::string::npos || port.size() > 5 ||
        std::stoi(port) > 65535) {
        if (error) *error = "bad port in " + hostPort;
        return -1;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int rc = ::getaddrinfo(host.empty() ? nullptr : host.c_str(), port.c_str(), &hints, &found);
    if (rc != 0) {
        if (error) *error = "cannot resolve " + hostPort + ": " + ::gai_strerror(rc);
        return -1;
    }
    std::string lastError = "no address";
    int fd = -1;
    for (addrinfo* ai = found; ai; ai = ai->ai_next) {
        fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd < 0) {
            lastError = std::strerror(errno);
            continue;
        }
        const int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        // Accepted connections inherit it: answers go out at once, also
        // behind a pipelined one that is not yet acknowledged.
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        if (::bind(fd, ai->ai_addr, ai->ai_addrlen) == 0 && ::listen(fd, 4096) == 0) break;
        lastError = std::strerror(errno);
        ::close(fd);
        fd = -1;
    }
    ::freeaddrinfo(found);
    if (fd < 0 && error) *error = "cannot listen on " + hostPort + ": " + lastError;
    return fd;
}

std::string addressText(const sockaddr* address) {
    char buf[INET6_ADDRSTRLEN] = {};
    if (address->sa_family == AF_INET) {
        const auto* in = reinterpret_cast<const sockaddr_in*>(address);
        ::inet_ntop(AF_INET, &in->sin_addr, buf, sizeof buf);
    } else if (address->sa_family == AF_INET6) {
        const auto* in6 = reinterpret_cast<const sockaddr_in6*>(address);
        if (IN6_IS_ADDR_V4MAPPED(&in6->sin6_addr))
            ::inet_ntop(AF_INET, &in6->sin6_addr.s6_addr[12], buf, sizeof buf);
        else
            ::inet_ntop(AF_INET6, &in6->sin6_addr, buf, sizeof buf);
    } else {
        return "unknown";
    }
    return buf;
}

std::string localAddressOf(int fd) {
    sockaddr_storage ss{};
    socklen_t len = sizeof ss;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&ss), &len) != 0) return "";
    const std::string host = addressText(reinterpret_cast<sockaddr*>(&ss));
    const std::string port = std::to_string(localPortOf(fd));
    return ss.ss_family == AF_INET6 ? "[" + host + "]:" + port : host + ":" + port;
}

int localPortOf(int fd) {
    sockaddr_storage ss{};
    socklen_t len = sizeof ss;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&ss), &len) != 0) return 0;
    if (ss.ss_family == AF_INET) return ntohs(reinterpret_cast<sockaddr_in*>(&ss)->sin_port);
    if (ss.ss_family == AF_INET6) return ntohs(reinterpret_cast<sockaddr_in6*>(&ss)->sin6_port);
    return 0;
}

}  // namespace cd::server::http
