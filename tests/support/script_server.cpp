#include "support/script_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace cd::test {

std::string httpHead(int status, const std::string& contentType, const std::string& extra) {
    std::string head = "HTTP/1.1 " + std::to_string(status) + " X\r\n";
    if (!contentType.empty()) head += "Content-Type: " + contentType + "\r\n";
    head += extra;
    head += "Connection: close\r\n\r\n";
    return head;
}

ScriptServer::ScriptServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(listener_, 64);
    socklen_t len = sizeof addr;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    acceptor_ = std::thread([this] { acceptLoop(); });
}

ScriptServer::~ScriptServer() {
    stop_ = true;
    ::shutdown(listener_, SHUT_RDWR);
    acceptor_.join();
    ::close(listener_);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (int fd : open_) ::shutdown(fd, SHUT_RDWR);
    }
    for (auto& t : workers_) t.join();
}

void ScriptServer::on(const std::string& path, Script script) {
    std::lock_guard<std::mutex> lock(mutex_);
    scripts_[path] = std::move(script);
}

std::string ScriptServer::host() const { return "127.0.0.1:" + std::to_string(port_); }

std::string ScriptServer::url(const std::string& path) const { return "http://" + host() + path; }

int ScriptServer::requests(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = counts_.find(path);
    return it == counts_.end() ? 0 : it->second;
}

void ScriptServer::acceptLoop() {
    while (!stop_) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        // Each step leaves when its time comes, not when the peer's delayed
        // acknowledgement lets Nagle's algorithm send it.
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        std::lock_guard<std::mutex> lock(mutex_);
        open_.push_back(fd);
        workers_.emplace_back([this, fd] { serve(fd); });
    }
}

bool ScriptServer::pause(std::chrono::milliseconds d) const {
    const auto until = std::chrono::steady_clock::now() + d;
    while (std::chrono::steady_clock::now() < until) {
        if (stop_) return false;
        std::this_thread::sleep_for(std::min(std::chrono::milliseconds(5), d));
    }
    return !stop_;
}

void ScriptServer::serve(int fd) {
    std::string request;
    char buf[4096];
    while (request.find("\r\n\r\n") == std::string::npos && !stop_) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) break;
        request.append(buf, static_cast<std::size_t>(n));
    }
    std::string path;
    const std::size_t sp = request.find(' ');
    if (sp != std::string::npos) path = request.substr(sp + 1, request.find(' ', sp + 1) - sp - 1);
    path = path.substr(0, path.find('?'));  // scripts are per path, whatever the query
    Script script;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++counts_[path];
        const auto it = scripts_.find(path);
        if (it != scripts_.end())
            script = it->second;
        else
            script.steps = {{std::chrono::milliseconds(0), httpHead(404, "text/plain") + "no such path"}};
    }
    bool gone = false;
    do {
        for (const ScriptStep& step : script.steps) {
            if (!pause(step.wait)) {
                gone = true;
                break;
            }
            if (!step.bytes.empty() && ::send(fd, step.bytes.data(), step.bytes.size(), MSG_NOSIGNAL) !=
                                           static_cast<ssize_t>(step.bytes.size())) {
                gone = true;
                break;
            }
        }
    } while (script.repeat && !gone && !stop_);
    if (script.hangAtEnd) {
        // Silent until the client hangs up or the server goes.
        while (!stop_) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0 && ::recv(fd, buf, sizeof buf, 0) <= 0) break;
        }
    }
    ::shutdown(fd, SHUT_WR);
    {
        // Out of the list first, so the destructor never shuts down a
        // number the system has already given to someone else.
        std::lock_guard<std::mutex> lock(mutex_);
        std::erase(open_, fd);
    }
    ::close(fd);
}

}  // namespace cd::test
