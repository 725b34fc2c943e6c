#include "support/loopback_server.h"

#include <chrono>
#include <stdexcept>

namespace cd::test {

LoopbackServer::LoopbackServer() {
    // Short time-outs so a test that leaves a connection hanging cannot hold
    // the server's shutdown for long.
    server_.set_read_timeout(5, 0);
    server_.set_write_timeout(5, 0);
    server_.set_keep_alive_max_count(1);
}

LoopbackServer::~LoopbackServer() { stop(); }

void LoopbackServer::start() {
    port_ = server_.bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("cannot bind a loopback port");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void LoopbackServer::stop() {
    if (!thread_.joinable()) return;
    server_.stop();
    thread_.join();
}

std::string LoopbackServer::host() const { return "127.0.0.1:" + std::to_string(port_); }

std::string LoopbackServer::url(const std::string& path) const { return "http://" + host() + path; }

}  // namespace cd::test
