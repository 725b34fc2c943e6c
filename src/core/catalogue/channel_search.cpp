#include "catalogue/channel_search.h"

namespace cd::catalogue {

namespace {

// Some of a list's records: the rows a search leaves.
class MatchingChannels final : public ui::RowSource {
public:
    MatchingChannels(std::shared_ptr<const ChannelList> all, std::vector<std::uint32_t> rows)
        : all_(std::move(all)), rows_(std::move(rows)) {}
    std::size_t size() const override { return rows_.size(); }
    std::string_view text(std::size_t i) const override { return all_->text(rows_[i]); }
    std::string tag(std::size_t i) const override { return all_->tag(rows_[i]); }
    int subItemCount() const override { return all_->subItemCount(); }
    std::string_view subItem(std::size_t i, int n) const override { return all_->subItem(rows_[i], n); }

private:
    std::shared_ptr<const ChannelList> all_;
    std::vector<std::uint32_t> rows_;
};

}  // namespace

void ChannelSearch::setChannels(std::shared_ptr<const ChannelList> channels) {
    channels_ = std::move(channels);
    index_.clear();
    indexed_ = false;
}

std::shared_ptr<const ui::RowSource> ChannelSearch::rowsFor(std::string_view typed) {
    if (!channels_) channels_ = std::make_shared<ChannelList>();
    if (formats::searchKey(typed).empty()) return channels_;
    if (!indexed_) {
        index_.clear();
        for (std::size_t i = 0; i < channels_->size(); ++i) index_.add(channels_->name(i));
        indexed_ = true;
    }
    return std::make_shared<MatchingChannels>(channels_, index_.find(typed));
}

}  // namespace cd::catalogue
