#include "fetch/http_client.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <new>

#include "util/text.h"

namespace cd::fetch {

namespace {

using Clock = std::chrono::steady_clock;

/// How often the stall and speed bounds are looked at while fetches run.
constexpr milliseconds kWatchdogInterval{250};
/// libcurl hands over the body in pieces of up to this size (its default is
/// 16 KiB); fewer, larger pieces mean fewer appends on fast links.
constexpr long kReadBufferBytes = 64 * 1024;
/// A lying Content-Length must not make us grab gigabytes up front.
constexpr curl_off_t kMaxReserve = 64 * 1024 * 1024;

// curl_global_init is not safe to race; a function-local static runs it once.
bool curlReady() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

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

}  // namespace

struct HttpClient::Transfer {
    FetchId id = 0;
    FetchRequest request;
    std::function<void(FetchResult)> done;
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    bool added = false;     // in the multi handle
    bool finished = false;  // the result is final and waits to be delivered
    FetchResult result;

    ResponseHead block;  // the response head being read
    bool reserved = false;
    bool capHit = false;
    Clock::time_point started = Clock::now();
    Clock::time_point lastActivity = started;
    std::size_t wireBytes = 0;  // header and body bytes, for the speed bound
    std::deque<std::pair<Clock::time_point, std::size_t>> samples;

    ~Transfer() {
        if (easy) curl_easy_cleanup(easy);
        if (headers) curl_slist_free_all(headers);
    }
};

namespace {

using Transfer = HttpClient::Transfer;

void noteActivity(Transfer& t, std::size_t bytes) {
    t.wireBytes += bytes;
    t.lastActivity = Clock::now();
}

bool startsStatusLine(std::string_view line) {
    return util::startsWith(line, "HTTP/") || util::startsWith(line, "ICY ");
}

long statusOf(std::string_view line) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) return 0;
    long status = 0;
    for (std::size_t i = space + 1; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
        status = status * 10 + (line[i] - '0');
    return status;
}

// The final response head: interim (1xx) and followed redirects are not it.
bool isFinalHead(const ResponseHead& head) {
    if (head.status >= 100 && head.status < 200) return false;
    if (head.status >= 300 && head.status < 400 && !head.header("Location").empty()) return false;
    return true;
}

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto& t = *static_cast<Transfer*>(user);
    const std::size_t len = size * count;
    noteActivity(t, len);
    const std::string_view line = util::trimWhitespace(std::string_view(data, len));
    if (startsStatusLine(line)) {
        t.block = ResponseHead{};
        t.block.status = statusOf(line);
        return len;
    }
    if (!line.empty()) {
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos)
            t.block.headers.emplace_back(std::string(util::trimWhitespace(line.substr(0, colon))),
                                         std::string(util::trimWhitespace(line.substr(colon + 1))));
        return len;
    }
    // The blank line that ends a head.
    if (!isFinalHead(t.block) || t.result.gotHead) return len;
    t.result.gotHead = true;
    t.result.head = std::move(t.block);
    t.block = ResponseHead{};
    if (t.request.onHead && !t.request.onHead(t.result.head)) {
        t.result.stopped = true;
        return 0;  // ends the transfer
    }
    return len;
}

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& t = *static_cast<Transfer*>(user);
    const std::size_t len = size * count;
    noteActivity(t, len);
    FetchResult& r = t.result;
    std::size_t take = len;
    const std::size_t cap = t.request.bounds.maxBytes;
    if (cap > 0 && r.bodyBytes + len > cap) {
        take = cap - r.bodyBytes;
        t.capHit = true;
    }
    // No exception may unwind through libcurl: running out of memory ends
    // the fetch as a failed one.
    try {
        if (t.request.keepBody && take > 0) {
            if (!t.reserved) {
                t.reserved = true;
                curl_off_t announced = -1;
                if (curl_easy_getinfo(t.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) == CURLE_OK &&
                    announced > 0) {
                    curl_off_t want = std::min(announced, kMaxReserve);
                    if (cap > 0) want = std::min(want, static_cast<curl_off_t>(cap));
                    reserveBody(r.body, static_cast<std::size_t>(want));
                }
            }
            if (r.body.size() + take > r.body.capacity())
                reserveBody(r.body, std::max(2 * r.body.capacity(), r.body.size() + take));
            r.body.append(data, take);
        }
    } catch (const std::bad_alloc&) {
        r.error = FetchError::Failed;
        r.errorText = "out of memory";
        return 0;
    }
    r.bodyBytes += take;
    if (t.capHit) {
        if (!t.request.bounds.capIsError && t.request.onBody && take > 0) t.request.onBody(r.body);
        return 0;  // fewer bytes than offered end the transfer
    }
    if (t.request.onProgress) t.request.onProgress(r.bodyBytes);
    if (t.request.onBody && !t.request.onBody(r.body)) {
        r.stopped = true;
        return 0;
    }
    return len;
}

FetchError errorOf(CURLcode code, const Transfer& t) {
    switch (code) {
        case CURLE_OK:
            return FetchError::None;
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_URL_MALFORMAT:
            return FetchError::BadAddress;
        case CURLE_COULDNT_RESOLVE_HOST:
            return FetchError::UnknownHost;
        case CURLE_COULDNT_CONNECT:
            return FetchError::Refused;
        case CURLE_OPERATION_TIMEDOUT: {
            if (t.result.gotHead) return FetchError::Deadline;
            curl_off_t connected = 0;
            curl_easy_getinfo(t.easy, CURLINFO_CONNECT_TIME_T, &connected);
            if (connected > 0) return FetchError::NoAnswer;
            const auto deadline = t.request.bounds.deadline;
            const bool deadlineFirst = deadline.count() > 0 && deadline <= t.request.bounds.connect;
            return deadlineFirst ? FetchError::NoAnswer : FetchError::ConnectTimeout;
        }
        case CURLE_PEER_FAILED_VERIFICATION:
            return FetchError::Certificate;
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
        case CURLE_PARTIAL_FILE:
        case CURLE_GOT_NOTHING:
            return FetchError::Broken;
        default:
            return FetchError::Failed;
    }
}

bool configure(Transfer& t) {
    CURL* e = t.easy;
    const FetchBounds& b = t.request.bounds;
    bool ok = curl_easy_setopt(e, CURLOPT_URL, t.request.address.c_str()) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMaxRedirects) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_USERAGENT, "Mozilla") == CURLE_OK;
    // An empty proxy means a direct connection, whatever the environment says.
    ok = ok && curl_easy_setopt(e, CURLOPT_PROXY, "") == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_HTTPHEADER, t.headers) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(b.connect.count())) == CURLE_OK;
    if (b.deadline.count() > 0)
        ok = ok && curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(b.deadline.count())) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    // Shoutcast servers answer "ICY 200 OK", which libcurl files under
    // HTTP/0.9; internet radio is what this program is for.
    ok = ok && curl_easy_setopt(e, CURLOPT_HTTP09_ALLOWED, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_BUFFERSIZE, kReadBufferBytes) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &onBody) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_WRITEDATA, &t) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &onHeader) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_HEADERDATA, &t) == CURLE_OK;
    ok = ok && curl_easy_setopt(e, CURLOPT_PRIVATE, &t) == CURLE_OK;
    return ok;
}

}  // namespace

HttpClient::HttpClient(platform::EventLoop& loop) : loop_(loop), alive_(std::make_shared<bool>(true)) {
    if (!curlReady()) return;
    multi_ = curl_multi_init();
    if (!multi_) return;
    curl_multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, &HttpClient::onSocket);
    curl_multi_setopt(multi_, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, &HttpClient::onTimer);
    curl_multi_setopt(multi_, CURLMOPT_TIMERDATA, this);
    curlTimer_ = loop_.makeTimer([this] { curlTimeout(); });
    watchdogTimer_ = loop_.makeTimer([this] { watchdog(); });
}

HttpClient::~HttpClient() {
    *alive_ = false;
    for (auto& [id, t] : transfers_) remove(*t);
    transfers_.clear();
    if (multi_) curl_multi_cleanup(multi_);
    sockets_.clear();
}

FetchId HttpClient::start(FetchRequest request, std::function<void(FetchResult)> done) {
    if (shutDown_) return 0;
    const FetchId id = nextId_++;
    auto t = std::make_unique<Transfer>();
    t->id = id;
    t->request = std::move(request);
    t->done = std::move(done);
    Transfer& ref = *t;
    ref.samples.emplace_back(ref.started, 0);
    transfers_[id] = std::move(t);

    if (!isWebAddress(ref.request.address)) {
        finish(ref, FetchError::BadAddress);
        return id;
    }
    ref.easy = multi_ ? curl_easy_init() : nullptr;
    bool ok = ref.easy != nullptr;
    ok = ok && (ref.headers = curl_slist_append(nullptr, "Cache-Control: no-cache")) != nullptr;
    ok = ok && curl_slist_append(ref.headers, "Pragma: no-cache") != nullptr;
    for (const std::string& h : ref.request.headers) ok = ok && curl_slist_append(ref.headers, h.c_str()) != nullptr;
    ok = ok && configure(ref);
    ok = ok && curl_multi_add_handle(multi_, ref.easy) == CURLM_OK;
    if (!ok) {
        finish(ref, FetchError::Failed, "the fetch could not be set up");
        return id;
    }
    ref.added = true;
    armWatchdog();
    return id;
}

void HttpClient::cancel(FetchId id) {
    const auto it = transfers_.find(id);
    if (it == transfers_.end()) return;
    remove(*it->second);
    transfers_.erase(it);
}

void HttpClient::shutDown() {
    shutDown_ = true;
    for (auto& [id, t] : transfers_) remove(*t);
    transfers_.clear();
    if (watchdogTimer_) watchdogTimer_->stop();
}

void HttpClient::remove(Transfer& t) {
    if (t.added) curl_multi_remove_handle(multi_, t.easy);
    t.added = false;
}

int HttpClient::onSocket(CURL*, curl_socket_t fd, int what, void* self, void*) {
    auto& client = *static_cast<HttpClient*>(self);
    if (what == CURL_POLL_REMOVE) {
        client.sockets_.erase(fd);
        return 0;
    }
    auto& watch = client.sockets_[fd];
    if (!watch) {
        watch = client.loop_.watchSocket(
            fd, [&client, fd](bool readable, bool writable) { client.socketReady(fd, readable, writable); });
    }
    watch->want(what == CURL_POLL_IN || what == CURL_POLL_INOUT, what == CURL_POLL_OUT || what == CURL_POLL_INOUT);
    return 0;
}

int HttpClient::onTimer(CURLM*, long timeoutMs, void* self) {
    auto& client = *static_cast<HttpClient*>(self);
    if (timeoutMs < 0) {
        client.curlTimer_->stop();
    } else {
        client.curlTimer_->start(milliseconds{timeoutMs});
    }
    return 0;
}

void HttpClient::socketReady(curl_socket_t fd, bool readable, bool writable) {
    int mask = 0;
    if (readable) mask |= CURL_CSELECT_IN;
    if (writable) mask |= CURL_CSELECT_OUT;
    int running = 0;
    curl_multi_socket_action(multi_, fd, mask, &running);
    collectFinished();
}

void HttpClient::curlTimeout() {
    int running = 0;
    curl_multi_socket_action(multi_, CURL_SOCKET_TIMEOUT, 0, &running);
    collectFinished();
}

void HttpClient::collectFinished() {
    int queued = 0;
    while (CURLMsg* m = curl_multi_info_read(multi_, &queued)) {
        if (m->msg != CURLMSG_DONE) continue;
        Transfer* t = nullptr;
        curl_easy_getinfo(m->easy_handle, CURLINFO_PRIVATE, reinterpret_cast<char**>(&t));
        if (!t || t->finished) continue;
        const CURLcode code = m->data.result;
        FetchResult& r = t->result;
        if (r.error != FetchError::None) {
            finish(*t, r.error);  // set by the body callback
        } else if (t->capHit) {
            r.capped = !t->request.bounds.capIsError;
            finish(*t, t->request.bounds.capIsError ? FetchError::TooLarge : FetchError::None);
        } else if (r.stopped) {
            finish(*t, FetchError::None);
        } else {
            r.whole = code == CURLE_OK;
            finish(*t, errorOf(code, *t), code == CURLE_OK ? nullptr : curl_easy_strerror(code));
        }
    }
}

void HttpClient::finish(Transfer& t, FetchError error, const char* text) {
    if (t.finished) return;
    t.finished = true;
    remove(t);
    FetchResult& r = t.result;
    r.error = error;
    if (text && r.errorText.empty()) r.errorText = text;
    if (error != FetchError::None) r.whole = false;
    // A body past its cap is not applied, so it need not be kept either.
    if (error == FetchError::TooLarge) std::string().swap(r.body);
    if (r.body.capacity() > 2 * r.body.size() + 4096) r.body.shrink_to_fit();
    deliverLater(t.id);
}

void HttpClient::deliverLater(FetchId id) {
    loop_.post([alive = alive_, this, id] {
        if (!*alive) return;
        const auto it = transfers_.find(id);
        if (it == transfers_.end()) return;  // cancelled meanwhile
        std::unique_ptr<Transfer> t = std::move(it->second);
        transfers_.erase(it);
        auto done = std::move(t->done);
        FetchResult result = std::move(t->result);
        t.reset();
        if (done) done(std::move(result));
    });
}

void HttpClient::armWatchdog() {
    if (watchdogTimer_) watchdogTimer_->start(kWatchdogInterval);
}

void HttpClient::watchdog() {
    const auto now = Clock::now();
    std::vector<Transfer*> running;
    for (auto& [id, t] : transfers_)
        if (!t->finished && t->added) running.push_back(t.get());
    for (Transfer* t : running) {
        const FetchBounds& b = t->request.bounds;
        if (now - t->lastActivity >= b.stall) {
            finish(*t, FetchError::Stalled, "nothing arrived for too long");
            continue;
        }
        if (b.minBytesPerWindow == 0) continue;
        t->samples.emplace_back(now, t->wireBytes);
        // The oldest sample kept is the last one at or before a window ago.
        while (t->samples.size() > 1 && t->samples[1].first <= now - b.speedWindow) t->samples.pop_front();
        const auto& [when, bytes] = t->samples.front();
        if (when <= now - b.speedWindow && t->wireBytes - bytes < b.minBytesPerWindow)
            finish(*t, FetchError::TooSlow, "slower than the download allows");
    }
    const bool any = std::any_of(transfers_.begin(), transfers_.end(),
                                 [](const auto& e) { return !e.second->finished && e.second->added; });
    if (any) armWatchdog();
}

}  // namespace cd::fetch
