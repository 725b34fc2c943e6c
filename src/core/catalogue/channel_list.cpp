#include "catalogue/channel_list.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace cd::catalogue {

std::uint32_t ChannelList::sharedFields(std::string_view category, std::string_view languages) {
    keyScratch_.assign(category);
    keyScratch_ += '|';
    keyScratch_ += languages;
    if (const auto it = fieldsIndex_.find(keyScratch_); it != fieldsIndex_.end()) return it->second;
    const auto index = static_cast<std::uint32_t>(fields_.size());
    fields_.push_back(SharedFields{std::string(category), std::string(languages)});
    fieldsIndex_.emplace(keyScratch_, index);
    return index;
}

namespace {

void putNumber(std::string& out, std::size_t n) {
    while (n >= 0x80) {
        out += static_cast<char>((n & 0x7f) | 0x80);
        n >>= 7;
    }
    out += static_cast<char>(n);
}

std::size_t takeNumber(const char*& p) {
    std::size_t n = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*p++);
        n |= static_cast<std::size_t>(byte & 0x7f) << shift;
        if (byte < 0x80) return n;
    }
}

}  // namespace

std::uint32_t ChannelList::sharedServer(std::string_view address) {
    // "scheme://host:port", up to the path. A catalogue of channels each on
    // a server of its own would make the table cost more than it saves, so
    // it stops growing at a bound and later servers are kept in the record.
    constexpr std::size_t kMaxServers = 65'536;
    const std::size_t scheme = address.find("://");
    if (scheme == std::string_view::npos || scheme == 0) return 0;
    const std::size_t path = address.find_first_of("/?#", scheme + 3);
    const std::string_view server = address.substr(0, path);
    if (server.size() <= scheme + 3) return 0;
    if (const auto it = serversIndex_.find(server); it != serversIndex_.end()) return it->second;
    if (servers_.size() >= kMaxServers) return 0;
    const auto index = static_cast<std::uint32_t>(servers_.size());
    servers_.emplace_back(server);
    serversIndex_.emplace(server, index);
    return index;
}

void ChannelList::add(std::string_view name, std::string_view address, std::string_view category,
                      std::string_view languages) {
    const std::uint32_t server = sharedServer(address);
    address.remove_prefix(servers_[server].size());
    constexpr std::size_t kNumbers = 4 * 5;  // four 32-bit numbers, 7 bits a byte
    const std::size_t need = kNumbers + name.size() + address.size();
    // The entry must be able to say where the record starts: 4096 blocks of
    // 1 MiB. No catalogue comes near (a line is at most a few kilobytes);
    // one that did must fail loudly, not lose channels.
    constexpr std::size_t kMaxBlocks = std::size_t{1} << (32 - kBlockBits);
    if (size_ >= std::numeric_limits<std::uint32_t>::max()) throw std::length_error("channel list too long");

    if (text_.empty() || text_.back().size() >= kBlockSize || text_.back().capacity() - text_.back().size() < need) {
        // A record bigger than a block has a block of its own, so every
        // record starts at an offset below kBlockSize.
        if (text_.size() >= kMaxBlocks) throw std::length_error("channel list too long");
        text_.emplace_back();
        text_.back().reserve(std::max(kBlockSize, need));
    }
    std::string& block = text_.back();
    if (size_ % kEntriesPerChunk == 0)
        entries_.push_back(std::make_unique_for_overwrite<std::uint32_t[]>(kEntriesPerChunk));
    entries_.back()[size_ % kEntriesPerChunk] =
        static_cast<std::uint32_t>(((text_.size() - 1) << kBlockBits) | block.size());
    putNumber(block, sharedFields(category, languages));
    putNumber(block, server);
    putNumber(block, name.size());
    putNumber(block, address.size());
    block.append(name);
    block.append(address);
    ++size_;
}

ChannelList::Record ChannelList::record(std::size_t i) const {
    const std::uint32_t at = entries_[i / kEntriesPerChunk][i % kEntriesPerChunk];
    const char* p = text_[at >> kBlockBits].data() + (at & (kBlockSize - 1));
    Record r;
    r.fields = static_cast<std::uint32_t>(takeNumber(p));
    r.server = static_cast<std::uint32_t>(takeNumber(p));
    const std::size_t nameSize = takeNumber(p);
    const std::size_t restSize = takeNumber(p);
    r.name = std::string_view(p, nameSize);
    r.addressRest = std::string_view(p + nameSize, restSize);
    return r;
}

std::string_view ChannelList::name(std::size_t i) const { return record(i).name; }

std::string ChannelList::address(std::size_t i) const {
    const Record r = record(i);
    std::string out;
    out.reserve(servers_[r.server].size() + r.addressRest.size());
    out += servers_[r.server];
    out += r.addressRest;
    return out;
}

std::string_view ChannelList::subItem(std::size_t i, int n) const {
    const SharedFields& f = fields_[record(i).fields];
    if (n == kCategoryColumn) return f.category;
    if (n == kLanguagesColumn) return f.languages;
    return {};
}

formats::Channel ChannelList::channel(std::size_t i) const {
    return formats::Channel{std::string(name(i)), address(i), std::string(subItem(i, kCategoryColumn)),
                            std::string(subItem(i, kLanguagesColumn))};
}

}  // namespace cd::catalogue
