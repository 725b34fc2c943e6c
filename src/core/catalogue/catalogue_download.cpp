#include "catalogue/catalogue_download.h"

#include <charconv>
#include <optional>
#include <system_error>
#include <vector>

#include "formats/line_cipher.h"
#include "formats/stored_text.h"
#include "util/file_lock.h"
#include "util/files.h"
#include "util/lines.h"
#include "util/text.h"

namespace cd::catalogue {

namespace fs = std::filesystem;

namespace {

// What identifies Data.txt as written by the last download: if its size or
// time differ, someone changed it since, and the server's "unchanged" would
// keep that change instead of the published list.
struct FileStamp {
    std::uintmax_t size = 0;
    long long modified = 0;
    bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> stampOf(const fs::path& file) {
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (ec) return std::nullopt;
    const auto time = fs::last_write_time(file, ec);
    if (ec) return std::nullopt;
    return FileStamp{size, static_cast<long long>(time.time_since_epoch().count())};
}

struct Validators {
    std::string address, etag, lastModified;
    FileStamp stamp;
};

constexpr std::string_view kAddress = "Address: ", kEtag = "ETag: ", kLastModified = "Last-Modified: ",
                           kSize = "Size: ", kModified = "Modified: ";

std::optional<long long> number(std::string_view text) {
    long long n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return n;
}

// The validators worth sending: those of the download from this address
// that wrote the catalogue as it is now. Another server's dates say nothing
// about this one's list.
std::optional<Validators> currentValidators(const fs::path& catalogue, std::string_view address) {
    const auto stamp = stampOf(catalogue);
    const auto text = util::readFile(validatorsFileFor(catalogue));
    if (!stamp || !text) return std::nullopt;
    Validators v;
    std::optional<long long> size, modified;
    util::forEachLine(*text, [&](std::string_view line) {
        if (util::startsWith(line, kAddress)) v.address = line.substr(kAddress.size());
        if (util::startsWith(line, kEtag)) v.etag = line.substr(kEtag.size());
        if (util::startsWith(line, kLastModified)) v.lastModified = line.substr(kLastModified.size());
        if (util::startsWith(line, kSize)) size = number(line.substr(kSize.size()));
        if (util::startsWith(line, kModified)) modified = number(line.substr(kModified.size()));
        return true;
    });
    if (!size || *size < 0 || !modified) return std::nullopt;
    v.stamp = FileStamp{static_cast<std::uintmax_t>(*size), *modified};
    if (v.address != address || !(v.stamp == *stamp) || (v.etag.empty() && v.lastModified.empty())) return std::nullopt;
    return v;
}

// Header values go on a request line of their own; a server that put a
// line break in one gets no say in the next request.
bool fitsOnALine(std::string_view value) { return value.find_first_of("\r\n") == std::string_view::npos; }

void keepValidators(const fs::path& catalogue, const std::string& address, const fetch::ResponseHead& head) {
    const auto stamp = stampOf(catalogue);
    std::string etag = head.header("ETag"), lastModified = head.header("Last-Modified");
    if (!fitsOnALine(etag)) etag.clear();
    if (!fitsOnALine(lastModified)) lastModified.clear();
    if (!stamp || (etag.empty() && lastModified.empty())) {
        // Nothing to ask with next time; an old file would ask about a list
        // this catalogue no longer is.
        util::removeFile(validatorsFileFor(catalogue));
        return;
    }
    std::string text = std::string(kAddress) + address + "\r\n";
    if (!etag.empty()) text += std::string(kEtag) + etag + "\r\n";
    if (!lastModified.empty()) text += std::string(kLastModified) + lastModified + "\r\n";
    text += std::string(kSize) + std::to_string(stamp->size) + "\r\n";
    text += std::string(kModified) + std::to_string(stamp->modified) + "\r\n";
    // Without it the next download is a whole one, which is only slower.
    util::writeFileAtomic(validatorsFileFor(catalogue), text);
}

DownloadResult ended(DownloadOutcome outcome, DownloadResult result) {
    result.outcome = outcome;
    return result;
}

}  // namespace

std::string channelListAddress(const std::string& host, const std::string& path) {
    return "http://" + host + (path.empty() || path[0] != '/' ? "/" : "") + path;
}

fs::path validatorsFileFor(const fs::path& catalogue) {
    return catalogue.parent_path() / ("." + catalogue.filename().string() + ".download");
}

util::Task<DownloadResult> downloadChannelList(fetch::Fetcher& fetcher, std::string address, fs::path catalogue,
                                               std::function<void(std::size_t bytes)> onProgress) {
    DownloadResult result;
    fetch::FetchRequest request;
    request.address = std::move(address);
    request.bounds = fetch::watchedBounds(kChannelListCap);
    request.onProgress = std::move(onProgress);
    const std::string from = request.address;
    if (const auto v = currentValidators(catalogue, from)) {
        if (!v->etag.empty()) request.headers.push_back("If-None-Match: " + v->etag);
        if (!v->lastModified.empty()) request.headers.push_back("If-Modified-Since: " + v->lastModified);
        result.conditional = true;
    }
    fetch::FetchResult fetched = co_await fetch::fetchAsync(fetcher, std::move(request));
    if (!fetched.whole) {
        result.fetchError = fetched.error == fetch::FetchError::None ? fetch::FetchError::Broken : fetched.error;
        co_return ended(DownloadOutcome::NotFetched, std::move(result));
    }
    result.httpStatus = fetched.head.status;
    if (fetched.head.status == 304 && result.conditional)
        co_return ended(DownloadOutcome::Unchanged, std::move(result));
    if (fetched.head.status != 200) co_return ended(DownloadOutcome::HttpError, std::move(result));

    result.check = formats::checkExport(fetched.body);
    fetched.body = {};
    if (!result.check.ok) co_return ended(DownloadOutcome::NotAChannelList, std::move(result));

    // Data.txt holds every record encoded, whichever way the owner exported
    // it. A plain export may hold bytes the cipher cannot carry (one would
    // split the record's line): a name or languages field is then stored as
    // the playlist import stores text, and a record still not carried is
    // left out rather than written broken.
    std::string text;
    for (const formats::Channel& channel : result.check.records) {
        std::string line = formats::recordLine(channel);
        if (!formats::EncodesIntact(line)) {
            formats::Channel mended = channel;
            mended.name = formats::storedText(channel.name);
            mended.languages = formats::storedText(channel.languages);
            line = formats::recordLine(mended);
        }
        if (!formats::EncodesIntact(line) || line.size() > formats::kCipherLineLimit) {
            ++result.leftOut;
            continue;
        }
        text += formats::EncodeLine(line) + "\r\n";
        ++result.records;
    }
    if (result.records == 0) {
        result.check.ok = false;
        result.check.problem = formats::ExportProblem::NoRecord;
        result.check.error = "no record of the list can be stored here";
        co_return ended(DownloadOutcome::NotAChannelList, std::move(result));
    }
    {
        const auto lock = util::FileWriteLock::acquire(catalogue, &result.writeError);
        if (!lock) co_return ended(DownloadOutcome::NotWritten, std::move(result));
        if (!util::writeFileAtomic(catalogue, text, &result.writeError))
            co_return ended(DownloadOutcome::NotWritten, std::move(result));
        keepValidators(catalogue, from, fetched.head);
    }
    co_return ended(DownloadOutcome::Replaced, std::move(result));
}

std::string describe(const DownloadResult& result) {
    switch (result.outcome) {
        case DownloadOutcome::Replaced:
            return "downloaded " + util::decimal(static_cast<long long>(result.records)) + " channels" +
                   (result.leftOut ? ", left out " + util::decimal(static_cast<long long>(result.leftOut)) +
                                         " that cannot be stored here"
                                   : std::string());
        case DownloadOutcome::Unchanged:
            return "the channel list has not changed since the last download";
        case DownloadOutcome::NotFetched:
            return "not downloaded: " + std::string(fetch::describe(result.fetchError));
        case DownloadOutcome::HttpError:
            return "not downloaded: the server answered with error " + util::decimal(result.httpStatus);
        case DownloadOutcome::NotAChannelList:
            return "not a channel list: " + result.check.error;
        case DownloadOutcome::NotWritten:
            return "not written: " + result.writeError;
    }
    return {};
}

}  // namespace cd::catalogue
