#include "intake/rate_limiter.h"

#include <arpa/inet.h>

#include <algorithm>
#include <vector>

namespace cd::server::intake {

RateLimiter::RateLimiter(double perSecond, std::size_t maxClients)
    : rate_(perSecond > 0 ? perSecond : 0), burst_(rate_ * 10), maxClients_(std::max<std::size_t>(maxClients, 2)) {}

std::string RateLimiter::clientKey(std::string_view address) {
    if (address.find(':') == std::string_view::npos) return std::string(address);
    unsigned char bytes[16];
    if (::inet_pton(AF_INET6, std::string(address).c_str(), bytes) != 1) return std::string(address);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string key;
    for (int i = 0; i < 8; ++i) {
        key += kHex[bytes[i] >> 4];
        key += kHex[bytes[i] & 15];
        if (i % 2 == 1) key += ':';
    }
    return key + ":/64";
}

double RateLimiter::refilled(const Bucket& b, Time now) const {
    const double elapsed = std::chrono::duration<double>(now - b.last).count();
    return std::min(burst_, b.tokens + std::max(0.0, elapsed) * rate_);
}

bool RateLimiter::allow(std::string_view client, Time now) {
    if (!enabled()) return true;
    std::string key = clientKey(client);
    std::lock_guard lock(mutex_);
    auto it = buckets_.find(key);
    if (it == buckets_.end()) {
        if (buckets_.size() >= maxClients_) forgetQuietClients(now);
        it = buckets_.emplace(std::move(key), Bucket{burst_, now}).first;
    }
    Bucket& b = it->second;
    b.tokens = refilled(b, now);
    b.last = std::max(b.last, now);
    if (b.tokens < 1.0) return false;
    b.tokens -= 1.0;
    return true;
}

std::size_t RateLimiter::clientsTracked() const {
    std::lock_guard lock(mutex_);
    return buckets_.size();
}

void RateLimiter::forgetQuietClients(Time now) {
    // A full bucket holds nothing a new one would not: drop those first.
    std::erase_if(buckets_, [&](const auto& entry) { return refilled(entry.second, now) >= burst_; });
    if (buckets_.size() < maxClients_) return;
    // Still full (many clients busy at once): keep the half that spent most.
    std::vector<double> levels;
    levels.reserve(buckets_.size());
    for (const auto& [key, b] : buckets_) levels.push_back(refilled(b, now));
    const auto middle = levels.begin() + static_cast<std::ptrdiff_t>(levels.size() / 2);
    std::nth_element(levels.begin(), middle, levels.end());
    const double cut = *middle;
    std::erase_if(buckets_, [&](const auto& entry) { return refilled(entry.second, now) >= cut; });
}

}  // namespace cd::server::intake
