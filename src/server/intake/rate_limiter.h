#pragma once
// A token bucket per client address, in this process's memory: each client
// may send perSecond reports a second on average and a burst of ten seconds'
// worth. IPv6 clients count per /64, the block one subscriber usually holds.
#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace cd::server::intake {

class RateLimiter {
public:
    using Time = std::chrono::steady_clock::time_point;

    /// perSecond 0 lets every report through. At most maxClients buckets are
    /// kept; past that the fullest (the quietest clients) are forgotten first.
    explicit RateLimiter(double perSecond, std::size_t maxClients = 100000);

    /// True, taking one token, when client may send a report at now.
    bool allow(std::string_view client, Time now);
    bool enabled() const { return rate_ > 0; }
    std::size_t clientsTracked() const;

    /// The key a client's address is counted under.
    static std::string clientKey(std::string_view address);

private:
    struct Bucket {
        double tokens;
        Time last;
    };
    double refilled(const Bucket& b, Time now) const;
    void forgetQuietClients(Time now);

    double rate_;
    double burst_;
    std::size_t maxClients_;
    mutable std::mutex mutex_;
    std::unordered_map<std::string, Bucket> buckets_;
};

}  // namespace cd::server::intake
