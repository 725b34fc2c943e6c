#include "formats/channel_file.h"

#include "formats/line_cipher.h"
#include "formats/search_filter.h"
#include "util/file_lines.h"
#include "util/lines.h"
#include "util/text.h"

namespace cd::formats {

void addAddressesOf(std::string_view fileBytes, KnownAddresses& known) {
    std::string decoded;
    util::forEachLine(fileBytes, [&](std::string_view line) {
        DecodeLineInto(line, decoded);
        const std::size_t first = decoded.find(kFieldSeparator);
        if (first == std::string::npos) return true;
        const std::size_t second = decoded.find(kFieldSeparator, first + 1);
        known.emplace(decoded, first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
        return true;
    });
}

std::string withRecordsAppended(std::string_view fileBytes, const std::vector<Channel>& channels) {
    std::string out;
    std::size_t size = fileBytes.size() + 2;
    for (const Channel& c : channels)
        size += c.name.size() + c.address.size() + c.category.size() + c.languages.size() + 5;
    out.reserve(size);
    out.append(fileBytes);
    // A line ends at CR (an LF after it belongs to it); a lone LF does not end one.
    const bool lineEnded = out.empty() || out.back() == '\r' || out.ends_with("\r\n");
    if (!lineEnded) out += "\r\n";
    for (const Channel& c : channels) {
        out += EncodeLine(recordLine(c));
        out += "\r\n";
    }
    return out;
}

ListedChannels listChannels(const std::filesystem::path& file, const CategoryFilter& filter, std::string_view search) {
    ListedChannels listed;
    const std::string wanted = searchKey(search);
    std::string decoded, key;
    std::size_t lineNumber = 0;
    const util::FileLinesResult result = util::forEachLineOfFile(file, kCipherLineLimit, [&](std::string_view line) {
        ++lineNumber;
        DecodeLineInto(line, decoded);
        std::size_t fields = 0;
        auto channel = parseRecordLine(decoded, &fields);
        if (!channel) return true;
        if (fields < 3) {
            listed.problem = "line " + util::decimal(static_cast<long long>(lineNumber)) +
                             " is a record with fewer than three fields";
            return false;
        }
        if (!filter.matchesCategory(channel->category)) return true;
        if (fields < 4) {
            listed.problem = "line " + util::decimal(static_cast<long long>(lineNumber)) +
                             " is a record of the category with fewer than four fields";
            return false;
        }
        if (!filter.matchesLanguage(channel->languages)) return true;
        if (!wanted.empty()) {
            key.clear();
            appendSearchKey(channel->name, key);
            if (key.find(wanted) == std::string::npos) return true;
        }
        listed.channels.push_back(std::move(*channel));
        return true;
    });
    switch (result) {
        case util::FileLinesResult::Complete:
            listed.complete = true;
            break;
        case util::FileLinesResult::TooLong:
            listed.problem = "line " + util::decimal(static_cast<long long>(lineNumber + 1)) + " is longer than " +
                             util::decimal(static_cast<long long>(kCipherLineLimit)) + " bytes";
            break;
        case util::FileLinesResult::Unreadable:
            listed.problem = "it cannot be read";
            break;
        case util::FileLinesResult::Stopped:
            break;
    }
    return listed;
}

}  // namespace cd::formats
