#pragma once
// "Download Most Recent Channel List": the owner's export (Data.htm) is
// fetched from the catalogue host and, once it has passed the export check,
// replaces Data.txt whole. Nothing else is touched: the user's Imported.txt
// stays as it is. The validators of the last download (ETag,
// Last-Modified) are kept beside Data.txt, so asking about an unchanged
// list costs one small request; they are only sent while Data.txt is still
// the file that download wrote, so a catalogue changed by hand is replaced.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

#include "fetch/fetcher.h"
#include "formats/export_check.h"
#include "util/task.h"

namespace cd::catalogue {

/// The most a downloaded channel list may hold.
inline constexpr std::size_t kChannelListCap = 64u << 20;

enum class DownloadOutcome {
    Replaced,         // Data.txt now holds the downloaded records
    Unchanged,        // the server said the list has not changed since the last download
    NotFetched,       // no whole answer: fetchError says why
    HttpError,        // the server answered with httpStatus
    NotAChannelList,  // the answer failed the export check: check says why
    NotWritten,       // Data.txt could not be replaced: writeError says why
};

struct DownloadResult {
    DownloadOutcome outcome = DownloadOutcome::NotFetched;
    std::size_t records = 0;
    /// Records left out because this program cannot store them: a plain
    /// export may carry bytes the line cipher does not (its address or
    /// category; names and languages are mended instead).
    std::size_t leftOut = 0;
    fetch::FetchError fetchError = fetch::FetchError::None;
    long httpStatus = 0;
    formats::ExportCheck check;
    std::string writeError;
    /// The request carried the last download's validators.
    bool conditional = false;
};

/// "http://" + host + path.
std::string channelListAddress(const std::string& host, const std::string& path);

/// The file beside catalogue that keeps the validators of its last download.
std::filesystem::path validatorsFileFor(const std::filesystem::path& catalogue);

/// Fetches address and replaces catalogue with its records; onProgress,
/// when given, hears the body bytes so far.
util::Task<DownloadResult> downloadChannelList(fetch::Fetcher& fetcher, std::string address,
                                               std::filesystem::path catalogue,
                                               std::function<void(std::size_t bytes)> onProgress = {});

/// One line in English, for the command line.
std::string describe(const DownloadResult& result);

}  // namespace cd::catalogue
