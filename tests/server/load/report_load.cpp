// channeldeck_report_load: replays the program's own report requests against
// channeldeck-server and prints what it saw. Each report is built by the
// core's ReportAddress, as the program builds it; clients are loopback
// source addresses 127.0.x.y, so the server sees as many client addresses
// as asked for. Requests are sent at a fixed rate (open loop): a late answer
// delays nothing but itself, and its latency counts from when it was due,
// so a stalled server shows in the figures instead of slowing the load.
//
// After the run it reads the stored totals from /owner/api/summary and
// compares them with the distinct reports (client, type, item) answered 200.
//
//   channeldeck_report_load --server PATH --data DIR [--database URL]
//       [--seconds 60] [--rate 10000] [--connections 256] [--per-connection 1]
//       [--clients 1000] [--items 5000] [--server-arg ARG]...
//   channeldeck_report_load --target HOST:PORT --token TOKEN ...   (a running server)
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "fetch/report.h"
#include "support/server_process.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    std::string server;  // channeldeck-server to start, or "" with target
    std::string dataDir;
    std::string databaseUrl;
    std::vector<std::string> serverArgs;
    std::string target;  // 127.0.0.1:PORT of a running server
    std::string token;
    double seconds = 60;
    double rate = 10000;
    int connections = 256;
    int perConnection = 1;
    int clients = 1000;
    int items = 5000;
    std::uint64_t seed = 1;
};

const char* kTypes[] = {"OFFLINE", "FAVORITE", "Rate"};

// A small, fast generator; the load must not be limited by its own choices.
struct Random {
    std::uint64_t s;
    std::uint64_t next() {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
};

// A channel of the generated catalogue: a name in the catalogue's code page
// (with bytes above 127 and the characters the escaping must carry) and an
// address with a scheme, path and query.
std::string channelName(int i) { return "Channel " + std::to_string(i) + " T\xe9l\xe9 & Co #" + std::to_string(i % 7); }
std::string channelAddress(int i) {
    return "http://stream" + std::to_string(i % 97) + ".example.invalid/live/" + std::to_string(i) + "?key=a&b=c d/e:f";
}

struct Report {
    int client, type, item;
    std::string value;
};

struct Connection {
    int fd = -1;
    int client = 0;
    int sentOnThis = 0;
    bool connected = false;
    Report report{};
    Clock::time_point due{};
    std::string request;
    std::size_t written = 0;
    std::string response;
};

std::string clientAddress(int c) { return "127.0." + std::to_string(1 + c / 250) + "." + std::to_string(1 + c % 250); }

class LoadRun {
public:
    LoadRun(const Options& o, std::string host, int port) : o_(o), host_(std::move(host)), port_(port) {
        rnd_.s = 0x9E3779B97F4A7C15ULL ^ o.seed;
        epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
        conns_.resize(static_cast<std::size_t>(o.connections));
        for (auto& c : conns_) idle_.push_back(&c);
    }
    ~LoadRun() {
        for (auto& c : conns_)
            if (c.fd >= 0) ::close(c.fd);
        ::close(epoll_);
    }

    void run() {
        const auto start = Clock::now();
        const auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(o_.seconds));
        const auto interval =
            o_.rate > 0 ? std::chrono::duration<double>(1.0 / o_.rate) : std::chrono::duration<double>(0);
        std::uint64_t issued = 0;
        std::vector<epoll_event> events(512);
        for (;;) {
            const auto now = Clock::now();
            const bool sending = now < end;
            // Start every request that is due, while a connection is free.
            while (sending && !idle_.empty()) {
                const auto due =
                    start + std::chrono::duration_cast<Clock::duration>(interval * static_cast<double>(issued));
                if (o_.rate > 0 && due > now) break;
                Connection* c = idle_.back();
                idle_.pop_back();
                ++issued;
                begin(*c, o_.rate > 0 ? due : now);
            }
            if (!sending && busy_ == 0) break;
            if (!sending && now > end + std::chrono::seconds(15)) {
                for (auto& c : conns_)
                    if (c.fd >= 0 && c.due != Clock::time_point{}) fail(c);
                break;
            }
            // Waits at least a millisecond: requests due within it go out
            // together after it (their latency still counts from when they
            // were due), rather than the generator spinning on the clock.
            int waitMs = 10;
            if (o_.rate > 0 && sending && !idle_.empty()) {
                const auto due =
                    start + std::chrono::duration_cast<Clock::duration>(interval * static_cast<double>(issued));
                waitMs =
                    static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now()).count());
            }
            const int n =
                ::epoll_wait(epoll_, events.data(), static_cast<int>(events.size()), std::clamp(waitMs, 1, 10));
            for (int i = 0; i < n; ++i) {
                auto* c = static_cast<Connection*>(events[static_cast<std::size_t>(i)].data.ptr);
                onEvent(*c, events[static_cast<std::size_t>(i)].events);
            }
        }
        elapsed_ = std::chrono::duration<double>(std::min(Clock::now(), end) - start).count();
    }

    void print(std::ostream& out) {
        std::sort(latenciesUs_.begin(), latenciesUs_.end());
        auto pct = [&](double p) {
            if (latenciesUs_.empty()) return 0.0;
            const auto i = static_cast<std::size_t>(p * static_cast<double>(latenciesUs_.size() - 1));
            return latenciesUs_[i] / 1000.0;
        };
        char line[512];
        std::snprintf(line, sizeof line,
                      "reports: %" PRIu64
                      " answered in %.1f s = %.0f reports/s (offered %.0f/s, %d connections, %d "
                      "per connection, %d clients)\n",
                      answered_, elapsed_, static_cast<double>(answered_) / elapsed_, o_.rate, o_.connections,
                      o_.perConnection, o_.clients);
        out << line;
        std::snprintf(line, sizeof line,
                      "answers: 200: %" PRIu64 ", 429: %" PRIu64 ", other: %" PRIu64 ", failed connections: %" PRIu64
                      "\n",
                      ok_, limited_, other_, failed_);
        out << line;
        std::snprintf(line, sizeof line, "latency ms: p50 %.2f  p90 %.2f  p99 %.2f  p99.9 %.2f  max %.2f\n", pct(0.5),
                      pct(0.9), pct(0.99), pct(0.999), pct(1.0));
        out << line;
        std::snprintf(line, sizeof line, "distinct reports answered 200: %zu (OFFLINE %zu, FAVORITE %zu, Rate %zu)\n",
                      distinct_.size(), perType_[0], perType_[1], perType_[2]);
        out << line;
    }

    std::size_t distinct() const { return distinct_.size(); }
    std::size_t distinctOf(int type) const { return perType_[type]; }
    std::uint64_t failures() const { return other_ + failed_; }
    std::uint64_t answered() const { return answered_; }
    double p99Ms() const {
        if (latenciesUs_.empty()) return 0;
        return latenciesUs_[static_cast<std::size_t>(0.99 * static_cast<double>(latenciesUs_.size() - 1))] / 1000.0;
    }

private:
    Report pick(int client) {
        Report r;
        r.client = client;
        const int t = rnd_.below(4);
        r.type = t < 2 ? 0 : t == 2 ? 1 : 2;
        r.item = rnd_.below(o_.items);
        if (r.type == 0) r.value = rnd_.below(2) ? "" : "\"";
        if (r.type == 2) r.value = std::to_string(1 + rnd_.below(5));
        return r;
    }

    std::string requestFor(const Report& r) const {
        const std::string item = r.type == 0 ? channelAddress(r.item) : channelName(r.item);
        const std::string address = cd::fetch::ReportAddress(host_, item, kTypes[r.type], r.value);
        const std::string target = address.substr(std::string("http://").size() + host_.size());
        // The headers the program's fetch sends.
        return "GET " + target + " HTTP/1.1\r\nHost: " + host_ +
               "\r\nUser-Agent: Mozilla\r\nAccept: */*\r\nPragma: no-cache\r\nCache-Control: no-cache\r\n\r\n";
    }

    void begin(Connection& c, Clock::time_point due) {
        ++busy_;
        c.due = due;
        if (c.fd < 0) {
            c.client = rnd_.below(o_.clients);
            c.sentOnThis = 0;
            if (!open(c)) return;
        }
        c.report = pick(c.client);
        c.request = requestFor(c.report);
        c.written = 0;
        c.response.clear();
        if (c.connected) write(c);
    }

    bool open(Connection& c) {
        c.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        const int on = 1;
        // The port is picked at connect, per destination, so a thousand source
        // addresses do not each hold a port of their own from the bind.
        ::setsockopt(c.fd, IPPROTO_IP, IP_BIND_ADDRESS_NO_PORT, &on, sizeof on);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        ::inet_pton(AF_INET, clientAddress(c.client).c_str(), &local.sin_addr);
        sockaddr_in remote{};
        remote.sin_family = AF_INET;
        remote.sin_port = htons(static_cast<std::uint16_t>(port_));
        ::inet_pton(AF_INET, "127.0.0.1", &remote.sin_addr);
        if (::bind(c.fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
            (::connect(c.fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0 && errno != EINPROGRESS)) {
            fail(c);
            return false;
        }
        c.connected = false;
        // Edge-triggered and registered once: the generator spends its
        // system calls on the requests, not on changing what it waits for.
        epoll_event ev{};
        ev.events = EPOLLOUT | EPOLLIN | EPOLLET;
        ev.data.ptr = &c;
        ::epoll_ctl(epoll_, EPOLL_CTL_ADD, c.fd, &ev);
        return true;
    }

    void write(Connection& c) {
        while (c.written < c.request.size()) {
            const ssize_t n = ::send(c.fd, c.request.data() + c.written, c.request.size() - c.written, MSG_NOSIGNAL);
            if (n < 0) {
                if (errno == EAGAIN) return;
                fail(c);
                return;
            }
            c.written += static_cast<std::size_t>(n);
        }
    }

    void onEvent(Connection& c, std::uint32_t events) {
        if (c.fd < 0) return;
        if (events & EPOLLERR) {
            fail(c);
            return;
        }
        if (!c.connected && (events & EPOLLOUT)) {
            c.connected = true;
            if (c.due != Clock::time_point{}) write(c);
            if (c.fd < 0) return;
        }
        if (events & (EPOLLIN | EPOLLHUP | EPOLLERR)) read(c);
    }

    void read(Connection& c) {
        char buf[4096];
        for (;;) {
            const ssize_t n = ::recv(c.fd, buf, sizeof buf, 0);
            if (n < 0 && errno == EAGAIN) break;
            if (n <= 0) {
                fail(c);
                return;
            }
            c.response.append(buf, static_cast<std::size_t>(n));
            if (static_cast<std::size_t>(n) < sizeof buf) break;  // emptied; the next arrival is a new event
        }
        const auto headEnd = c.response.find("\r\n\r\n");
        if (headEnd == std::string::npos) return;
        const auto cl = c.response.find("content-length: ");
        const std::size_t length = cl == std::string::npos ? 0 : std::stoul(c.response.substr(cl + 16));
        if (c.response.size() < headEnd + 4 + length) return;
        const int status = std::stoi(c.response.substr(9, 3));
        finish(c, status, c.response.find("connection: close") != std::string::npos);
    }

    void finish(Connection& c, int status, bool serverCloses) {
        latenciesUs_.push_back(static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - c.due).count()));
        ++answered_;
        if (status == 200) {
            ++ok_;
            const std::uint64_t key =
                (static_cast<std::uint64_t>(c.report.client) * 3 + static_cast<std::uint64_t>(c.report.type)) *
                    static_cast<std::uint64_t>(o_.items) +
                static_cast<std::uint64_t>(c.report.item);
            if (distinct_.insert(key).second) ++perType_[c.report.type];
        } else if (status == 429) {
            ++limited_;
        } else {
            ++other_;
        }
        c.due = {};
        --busy_;
        if (++c.sentOnThis >= o_.perConnection || serverCloses) {
            ::close(c.fd);
            c.fd = -1;
        }
        idle_.push_back(&c);
    }

    void fail(Connection& c) {
        ++failed_;
        if (c.fd >= 0) ::close(c.fd);
        c.fd = -1;
        if (c.due != Clock::time_point{}) {
            c.due = {};
            --busy_;
            idle_.push_back(&c);
        }
    }

    const Options& o_;
    std::string host_;
    int port_;
    Random rnd_{};
    int epoll_ = -1;
    std::vector<Connection> conns_;
    std::vector<Connection*> idle_;
    int busy_ = 0;
    double elapsed_ = 0;
    std::uint64_t answered_ = 0, ok_ = 0, limited_ = 0, other_ = 0, failed_ = 0;
    std::vector<std::uint32_t> latenciesUs_;
    std::unordered_set<std::uint64_t> distinct_;
    std::size_t perType_[3] = {0, 0, 0};
};

// CPU seconds: the machine's busy time (all cores) and one process's.
struct CpuSample {
    double machineBusy = 0, machineTotal = 0;
    double server = 0, self = 0;
};

double processCpu(pid_t pid) {
    std::FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
    if (!f) return 0;
    char buf[1024];
    const std::size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    buf[n] = 0;
    // Fields after the command's closing parenthesis; utime and stime are the 12th and 13th of them.
    const char* p = std::strrchr(buf, ')');
    unsigned long long utime = 0, stime = 0;
    if (p) std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime, &stime);
    return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

CpuSample sampleCpu(pid_t server) {
    CpuSample s;
    if (std::FILE* f = std::fopen("/proc/stat", "r")) {
        unsigned long long v[8] = {};
        if (std::fscanf(f, "cpu %llu %llu %llu %llu %llu %llu %llu %llu", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5],
                        &v[6], &v[7]) == 8) {
            const double tick = static_cast<double>(::sysconf(_SC_CLK_TCK));
            const unsigned long long idle = v[3] + v[4];
            unsigned long long total = 0;
            for (const auto x : v) total += x;
            s.machineTotal = static_cast<double>(total) / tick;
            s.machineBusy = static_cast<double>(total - idle) / tick;
        }
        std::fclose(f);
    }
    s.server = server > 0 ? processCpu(server) : 0;
    s.self = processCpu(::getpid());
    return s;
}

void printCpu(const CpuSample& a, const CpuSample& b, std::uint64_t answered, bool haveServer) {
    const double wall = b.machineTotal - a.machineTotal;
    if (wall <= 0) return;
    auto pct = [&](double x) { return 100.0 * x / wall; };
    const double server = b.server - a.server, self = b.self - a.self;
    const double busy = b.machineBusy - a.machineBusy;
    std::printf(
        "machine: %ld cores busy %.0f%% during the run: channeldeck-server %.0f%%, generator %.0f%%, "
        "everything else %.0f%%\n",
        ::sysconf(_SC_NPROCESSORS_ONLN), pct(busy), pct(server), pct(self), pct(std::max(0.0, busy - server - self)));
    if (haveServer && answered)
        std::printf("channeldeck-server CPU: %.1f us per report (generator %.1f us)\n",
                    server * 1e6 / static_cast<double>(answered), self * 1e6 / static_cast<double>(answered));
}

// One blocking GET with the owner's token; the body, or nothing.
std::optional<std::string> ownerGet(const std::string& host, int port, const std::string& path,
                                    const std::string& token) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(static_cast<std::uint16_t>(port));
    ::inet_pton(AF_INET, "127.0.0.1", &remote.sin_addr);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    const std::string req = "GET " + path + " HTTP/1.1\r\nHost: " + host + "\r\nAuthorization: Bearer " + token +
                            "\r\nConnection: close\r\n\r\n";
    ::send(fd, req.data(), req.size(), MSG_NOSIGNAL);
    std::string out;
    char buf[4096];
    for (ssize_t n; (n = ::recv(fd, buf, sizeof buf, 0)) > 0;) out.append(buf, static_cast<std::size_t>(n));
    ::close(fd);
    const auto body = out.find("\r\n\r\n");
    if (out.compare(0, 12, "HTTP/1.1 200") != 0 || body == std::string::npos) return std::nullopt;
    return out.substr(body + 4);
}

long long jsonNumber(const std::string& json, const std::string& key) {
    const auto at = json.find("\"" + key + "\": ");
    return at == std::string::npos ? -1 : std::stoll(json.substr(at + key.size() + 4));
}

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) return false;
        const std::string v = argv[++i];
        if (a == "--server")
            o.server = v;
        else if (a == "--data")
            o.dataDir = v;
        else if (a == "--database")
            o.databaseUrl = v;
        else if (a == "--server-arg")
            o.serverArgs.push_back(v);
        else if (a == "--target")
            o.target = v;
        else if (a == "--token")
            o.token = v;
        else if (a == "--seconds")
            o.seconds = std::stod(v);
        else if (a == "--rate")
            o.rate = std::stod(v);
        else if (a == "--connections")
            o.connections = std::stoi(v);
        else if (a == "--per-connection")
            o.perConnection = std::stoi(v);
        else if (a == "--clients")
            o.clients = std::stoi(v);
        else if (a == "--items")
            o.items = std::stoi(v);
        else if (a == "--seed")
            o.seed = std::stoull(v);
        else
            return false;
    }
    return (!o.server.empty() && !o.dataDir.empty()) || (!o.target.empty() && !o.token.empty());
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o) || o.connections < 1 || o.perConnection < 1 || o.clients < 1 || o.clients > 60000 ||
        o.items < 1) {
        std::cerr << "usage: channeldeck_report_load (--server PATH --data DIR [--database URL] [--server-arg ARG]... |"
                     " --target 127.0.0.1:PORT --token TOKEN)\n"
                     "       [--seconds S] [--rate R (0: as fast as answered)] [--connections C]"
                     " [--per-connection K] [--clients N] [--items M] [--seed X]\n";
        return 2;
    }
    ::signal(SIGPIPE, SIG_IGN);
    std::optional<cd::test::ServerProcess> server;
    std::string host = o.target;
    int port = 0;
    if (!o.server.empty()) {
        server.emplace(cd::test::ServerProcessOptions{o.server, o.dataDir, o.databaseUrl, o.serverArgs});
        std::string error;
        if (!server->start(&error)) {
            std::cerr << error << "\n";
            return 1;
        }
        std::printf("start-up: %.1f ms from exec to listening (%s)\n",
                    std::chrono::duration<double, std::milli>(server->startupTime()).count(),
                    o.databaseUrl.empty() ? "sqlite" : "postgresql");
        host = server->host();
        port = server->port();
        o.token = server->ownerToken();
    } else {
        port = std::stoi(host.substr(host.rfind(':') + 1));
    }
    const auto initial = ownerGet(host, port, "/owner/api/summary", o.token);
    const long long storedBefore = initial ? jsonNumber(*initial, "all") : -1;

    double loadBefore = 0;
    if (std::FILE* f = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(f, "%lf", &loadBefore) != 1) loadBefore = 0;
        std::fclose(f);
    }
    const pid_t serverPid = server ? server->pid() : -1;
    LoadRun load(o, host, port);
    const CpuSample before = sampleCpu(serverPid);
    load.run();
    const CpuSample after = sampleCpu(serverPid);
    load.print(std::cout);
    std::printf("load average before the run: %.2f\n", loadBefore);
    printCpu(before, after, load.answered(), serverPid > 0);

    const auto summary = ownerGet(host, port, "/owner/api/summary", o.token);
    int status = load.failures() == 0 && load.answered() > 0 ? 0 : 1;
    if (!summary || storedBefore < 0) {
        std::cout << "stored reports: cannot read /owner/api/summary\n";
        status = 1;
    } else {
        const long long stored = jsonNumber(*summary, "all") - storedBefore;
        const bool fresh = storedBefore == 0;
        std::printf("stored reports: %lld (OFFLINE %lld, FAVORITE %lld, Rate %lld)%s\n", stored,
                    jsonNumber(*summary, "OFFLINE"), jsonNumber(*summary, "FAVORITE"), jsonNumber(*summary, "Rate"),
                    fresh ? "" : " (store was not empty: types not compared)");
        bool same = stored == static_cast<long long>(load.distinct());
        if (fresh)
            for (int t = 0; t < 3; ++t)
                same = same && jsonNumber(*summary, kTypes[t]) == static_cast<long long>(load.distinctOf(t));
        std::cout << (same ? "counts: stored = distinct reports answered 200\n"
                           : "counts: MISMATCH between stored and distinct reports answered 200\n");
        if (!same) status = 1;
    }
    if (server) {
        const int exit = server->stop();
        if (exit != 0) {
            std::cout << "channeldeck-server exited with " << exit << "\n";
            status = 1;
        }
    }
    return status;
}
