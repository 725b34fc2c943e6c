#pragma once
// The channels a category lists, kept once: names and addresses back to back
// in blocks of text, each distinct pair of category and languages fields (a
// few hundred over a whole catalogue) and each address's scheme and host
// (most channels of a catalogue come from a few thousand servers) stored once. The channel list view shows
// these records as its rows without copying them, so half a million listed
// channels cost about their names, the paths of their addresses and 8 bytes each. Nothing is ever reallocated
// while the list grows: a growing single buffer would copy itself and leave
// its old copies to the allocator at every doubling.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "formats/channel.h"
#include "ui/row_source.h"

namespace cd::catalogue {

class ChannelList final : public ui::RowSource {
public:
    /// Sub-items of a listed channel, as the list's columns count them.
    static constexpr int kCategoryColumn = 1;
    static constexpr int kLanguagesColumn = 2;

    void add(std::string_view name, std::string_view address, std::string_view category, std::string_view languages);

    std::size_t size() const override { return size_; }
    std::string_view text(std::size_t i) const override { return name(i); }
    std::string tag(std::size_t i) const override { return address(i); }
    int subItemCount() const override { return 2; }
    std::string_view subItem(std::size_t i, int n) const override;

    std::string_view name(std::size_t i) const;
    std::string address(std::size_t i) const;
    formats::Channel channel(std::size_t i) const;

private:
    struct Record {
        std::uint32_t fields;
        std::uint32_t server;
        std::string_view name;
        std::string_view addressRest;  // the address after servers_[server]
    };
    struct SharedFields {
        std::string category;
        std::string languages;
    };
    struct ViewHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view v) const { return std::hash<std::string_view>{}(v); }
    };
    static constexpr std::size_t kBlockBits = 20;  // blocks of 1 MiB
    static constexpr std::size_t kBlockSize = std::size_t{1} << kBlockBits;
    static constexpr std::size_t kEntriesPerChunk = 16384;

    std::uint32_t sharedFields(std::string_view category, std::string_view languages);
    std::uint32_t sharedServer(std::string_view address);
    Record record(std::size_t i) const;

    // A record is four numbers (its shared fields, its server, the sizes of
    // its name and of the rest of its address, 7 bits a byte) and then the
    // name and the rest of the address, all in one block; a record bigger than a block has a block of its own. Its
    // entry is where it starts: block number above kBlockBits, offset below.
    std::vector<std::string> text_;
    std::vector<std::unique_ptr<std::uint32_t[]>> entries_;
    std::size_t size_ = 0;
    std::vector<SharedFields> fields_;
    // "category|languages": no field holds a "|", so the key is unique.
    std::unordered_map<std::string, std::uint32_t, ViewHash, std::equal_to<>> fieldsIndex_;
    std::string keyScratch_;
    // servers_[0] is "": an address without "scheme://host", or one past
    // the table's bound, is kept whole.
    std::vector<std::string> servers_{std::string()};
    std::unordered_map<std::string, std::uint32_t, ViewHash, std::equal_to<>> serversIndex_;
};

}  // namespace cd::catalogue
