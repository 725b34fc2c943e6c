#pragma once
// The search field over the channel list: the channels of the category whose
// names hold the typed text (letter case and accents ignored), shown as a
// view of the listed channels, never a copy. The search keys are made at the
// first keystroke after a refill, so a category switch without a search pays
// nothing for them.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/channel_list.h"
#include "formats/search_filter.h"
#include "ui/row_source.h"

namespace cd::catalogue {

class ChannelSearch {
public:
    /// The channels searched from now on (the category's list after a refill).
    void setChannels(std::shared_ptr<const ChannelList> channels);
    /// The rows to show for typed: every channel when its key is empty,
    /// else those whose names match, in the list's order.
    std::shared_ptr<const ui::RowSource> rowsFor(std::string_view typed);

private:
    std::shared_ptr<const ChannelList> channels_;
    formats::SearchIndex index_;
    bool indexed_ = false;
};

}  // namespace cd::catalogue
