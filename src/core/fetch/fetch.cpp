#include "fetch/fetch.h"

#include <curl/curl.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>

#include "util/text.h"

namespace cd::fetch {

namespace {

using Clock = std::chrono::steady_clock;

// curl_global_init is not safe to race; a function-local static runs it once.
bool curlReady() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

// Only web addresses are fetched: a catalogue line could otherwise make the
// program read a local file (file://) or speak some other protocol.
bool isWebAddress(const std::string& address) {
    const std::size_t colon = address.find("://");
    if (colon == std::string::npos) return false;
    const std::string_view scheme(address.data(), colon);
    return util::iequals(scheme, "http") || util::iequals(scheme, "https");
}

// A lying Content-Length must not make us grab gigabytes up front.
constexpr curl_off_t kMaxReserve = 64 * 1024 * 1024;

// Makes room for a body of capacity bytes. A large body asks for transparent
// huge pages: faulting in tens of megabytes 4 KiB at a time costs more than
// receiving them over loopback (measured: 0.3 s against 10 ms for 50 MB).
void reserveBody(std::string& body, std::size_t capacity) {
    body.reserve(capacity);
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kHugePage = 2u << 20;
    if (body.capacity() < 2 * kHugePage) return;
    const auto start = reinterpret_cast<std::uintptr_t>(body.data());
    const std::uintptr_t begin = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + body.capacity()) & ~(kHugePage - 1);
    // Advice only: where the kernel says no, pages stay small.
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}

// What the libcurl callbacks share with the read loop.
struct Transfer {
    CURL* easy = nullptr;
    std::string body;
    std::size_t maxBytes = 0;
    std::size_t headerBytes = 0;
    bool reserved = false;
    bool enough = false;  // no more bytes wanted: cap reached or memory gone
    /// When events last ran, or when the first read came; unset before it.
    Clock::time_point lastPump{};
    /// The body callback paused the transfer because events are due.
    bool pumpDue = false;
};

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& t = *static_cast<Transfer*>(user);
    const std::size_t len = size * count;
    // On a fast link one curl_multi_perform can read for tens of
    // milliseconds; pausing here hands the thread back to the loop so
    // events run on time. libcurl keeps these bytes and delivers them again
    // when the loop resumes the transfer.
    if (t.lastPump != Clock::time_point{} && Clock::now() - t.lastPump >= kPumpInterval) {
        t.pumpDue = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    if (t.lastPump == Clock::time_point{} && len > 0) t.lastPump = Clock::now();  // the first read
    // No exception may unwind through libcurl: running out of memory ends
    // the read like a failed read, keeping what came before.
    try {
        if (!t.reserved) {
            t.reserved = true;
            curl_off_t announced = -1;
            if (curl_easy_getinfo(t.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) == CURLE_OK &&
                announced > 0) {
                curl_off_t want = std::min(announced, kMaxReserve);
                if (t.maxBytes > 0) want = std::min(want, static_cast<curl_off_t>(t.maxBytes));
                reserveBody(t.body, static_cast<std::size_t>(want));
            }
        }
        std::size_t take = len;
        if (t.maxBytes > 0 && t.body.size() + len >= t.maxBytes) {
            take = t.maxBytes - t.body.size();
            t.enough = true;
        }
        if (t.body.size() + take > t.body.capacity())
            reserveBody(t.body, std::max(2 * t.body.capacity(), t.body.size() + take));
        t.body.append(data, take);
        // Returning less than len makes libcurl abort the transfer, which is
        // what a full probe wants.
        return take;
    } catch (const std::bad_alloc&) {
        t.enough = true;
        return 0;
    }
}

std::size_t onHeader(char*, std::size_t size, std::size_t count, void* user) {
    static_cast<Transfer*>(user)->headerBytes += size * count;
    return size * count;
}

struct EasyDeleter {
    void operator()(CURL* e) const { curl_easy_cleanup(e); }
};
struct SlistDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

// Owns one multi handle with one easy handle in it. Each fetch has its own,
// so a fetch started by a handler inside an outer fetch's pump runs on its
// own without touching the outer one.
class MultiTransfer {
public:
    MultiTransfer(CURL* easy) : multi_(curl_multi_init()), easy_(easy) {
        added_ = multi_ && curl_multi_add_handle(multi_, easy_) == CURLM_OK;
    }
    ~MultiTransfer() {
        if (added_) curl_multi_remove_handle(multi_, easy_);
        if (multi_) curl_multi_cleanup(multi_);
    }
    MultiTransfer(const MultiTransfer&) = delete;
    MultiTransfer& operator=(const MultiTransfer&) = delete;

    bool ok() const { return added_; }
    /// Runs libcurl; false once the transfer has ended (or failed).
    bool perform() {
        int running = 0;
        return curl_multi_perform(multi_, &running) == CURLM_OK && running > 0;
    }
    /// After perform() returned false: true when libcurl ended the transfer
    /// without an error (the server sent the whole body).
    bool endedCleanly() {
        int queued = 0;
        while (CURLMsg* m = curl_multi_info_read(multi_, &queued)) {
            if (m->msg == CURLMSG_DONE && m->easy_handle == easy_) return m->data.result == CURLE_OK;
        }
        return false;
    }
    void wait(milliseconds timeout) {
        curl_multi_poll(multi_, nullptr, 0, static_cast<int>(std::max<long long>(timeout.count(), 0)), nullptr);
    }

private:
    CURLM* multi_;
    CURL* easy_;
    bool added_ = false;
};

bool configure(CURL* e, const std::string& address, const FetchLimits& limits, curl_slist* headers, Transfer& t) {
    bool ok = curl_easy_setopt(e, CURLOPT_URL, address.c_str()) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMaxRedirects) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_USERAGENT, "Mozilla") == CURLE_OK;
    // An empty proxy means a direct connection, whatever the environment says.
    ok = ok && curl_easy_setopt(e, CURLOPT_PROXY, "") == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers) == CURLE_OK;
    ok = ok &&
         curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count())) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_BUFFERSIZE, kReadBufferBytes) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &onBody) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_WRITEDATA, &t) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &onHeader) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_HEADERDATA, &t) == CURLE_OK;
    return ok;
}

milliseconds ceilMs(Clock::duration d) { return std::chrono::ceil<milliseconds>(d); }

}  // namespace

FetchLimits standardLimits() { return FetchLimits{}; }

FetchLimits probeLimits() {
    FetchLimits limits;
    limits.maxBytes = kProbeMaxBytes;
    limits.maxBodyTime = kProbeMaxBodyTime;
    return limits;
}

FetchLimits probeLimits(const util::RequestSequence& requests, util::RequestSequence::Ticket ticket) {
    FetchLimits limits = probeLimits();
    limits.stillWanted = [&requests, ticket] { return requests.isLatest(ticket); };
    return limits;
}

HttpFetcher::HttpFetcher(platform::EventPump& pump) : pump_(pump) {}

std::string HttpFetcher::HttpGetText(const std::string& address, const FetchLimits& limits) {
    return fetch(address, limits, nullptr, nullptr);
}

std::optional<std::string> HttpFetcher::HttpGetWhole(const std::string& address) {
    bool whole = false;
    std::string body = fetch(address, standardLimits(), nullptr, &whole);
    if (!whole) return std::nullopt;
    return body;
}

std::string HttpFetcher::HttpGetWithProgress(const std::string& address, ui::Control& statusBox,
                                             const FetchLimits& limits) {
    return fetch(address, limits, &statusBox, nullptr);
}

std::string HttpFetcher::fetch(const std::string& address, const FetchLimits& limits, ui::Control* statusBox,
                               bool* whole) {
    if (whole) *whole = false;
    if (shutDown_ || !isWebAddress(address) || !curlReady()) return {};
    Transfer t;
    t.maxBytes = limits.maxBytes;
    bool bodyStarted = false;  // the first read has delivered bytes
    bool abandoned = false;    // superseded or shut down: nobody waits for more events
    bool endedCleanly = false;  // the server ended the body, not a bound or an error
    {
        std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
        if (!easy) return {};
        t.easy = easy.get();
        std::unique_ptr<curl_slist, SlistDeleter> headers(curl_slist_append(nullptr, "Cache-Control: no-cache"));
        if (!headers || !curl_slist_append(headers.get(), "Pragma: no-cache")) return {};
        if (!configure(easy.get(), address, limits, headers.get(), t)) return {};
        MultiTransfer transfer(easy.get());
        if (!transfer.ok()) return {};

        auto lastActivity = Clock::now();  // last header or body byte
        Clock::time_point bodyStart{};
        std::size_t seenBody = 0;
        std::size_t seenHeader = 0;
        for (;;) {
            const bool running = transfer.perform();
            auto now = Clock::now();
            if (t.body.size() != seenBody || t.headerBytes != seenHeader) lastActivity = now;
            if (t.body.size() != seenBody && !bodyStarted) {
                // The first read: events wait until the next one, as they always have.
                bodyStarted = true;
                bodyStart = now;
            }
            seenBody = t.body.size();
            seenHeader = t.headerBytes;
            if (!running && !t.pumpDue) {
                endedCleanly = transfer.endedCleanly();
                break;
            }
            if (t.enough) break;
            if (now - lastActivity >= limits.stallTimeout) break;
            if (bodyStarted && limits.maxBodyTime.count() > 0 && now - bodyStart >= limits.maxBodyTime) break;

            // Events run when the body callback asked for them, and while a
            // started body waits for more bytes.
            if (t.pumpDue || (bodyStarted && now - t.lastPump >= kPumpInterval)) {
                if (statusBox)
                    statusBox->setText("Downloaded " + util::decimal(static_cast<long long>(seenBody)) + " bytes.");
                pump_.runPending();
                if (shutDown_ || (limits.stillWanted && !limits.stillWanted())) {
                    abandoned = true;
                    break;
                }
                // Time spent in nested handlers is not the server's silence.
                const auto after = Clock::now();
                lastActivity += after - now;
                bodyStart += after - now;
                now = after;
                t.lastPump = after;
                if (t.pumpDue) {
                    t.pumpDue = false;
                    // Hands the held bytes to the body callback right away.
                    if (curl_easy_pause(easy.get(), CURLPAUSE_CONT) != CURLE_OK) break;
                    continue;
                }
            }

            auto wait = limits.stallTimeout - ceilMs(now - lastActivity);
            if (bodyStarted) {
                wait = std::min(wait, kPumpInterval - ceilMs(now - t.lastPump));
                if (limits.maxBodyTime.count() > 0) wait = std::min(wait, limits.maxBodyTime - ceilMs(now - bodyStart));
            }
            transfer.wait(std::clamp(wait, milliseconds{1}, milliseconds{1000}));
        }
    }
    if (bodyStarted && !abandoned) {
        // The closing empty read: the total, then events once more.
        if (statusBox)
            statusBox->setText("Downloaded " + util::decimal(static_cast<long long>(t.body.size())) + " bytes.");
        pump_.runPending();
    }
    // Nobody will use the text of an abandoned fetch, and a part of a body
    // must not pass for the whole (a language file saved cut off).
    if (abandoned) return {};
    // The closing events may have shut the program down meanwhile.
    if (whole) *whole = endedCleanly && !t.enough && !shutDown_;
    if (t.body.capacity() > 2 * t.body.size() + 4096) t.body.shrink_to_fit();
    return std::move(t.body);
}

}  // namespace cd::fetch
