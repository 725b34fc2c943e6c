#include "catalogue/channel_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/list_view.h"

namespace cd::catalogue {
namespace {

std::vector<std::string> shownNames(const ui::ListView& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.count(); ++i) out.emplace_back(list.text(i));
    return out;
}

// Catches a list view whose rows are out of step with the channels it shows:
// a wrong address behind a sorted row, a selection that moves to another
// channel when the order changes, or rows lost when the list turns the
// records into rows of its own for a change.
TEST(ChannelList, ListViewShowsTheChannelsSortedAndKeepsTheSelectedChannel) {
    auto channels = std::make_shared<ChannelList>();
    channels->add("zeta", "http://z/", "TV", "English");
    channels->add("Alpha", "http://a/", "TV", "German/English");
    channels->add("", "", "TV", "");  // a record with empty fields stays a row
    channels->add("beta", "http://b/", "TV", "English");
    EXPECT_EQ(channels->channel(1), (formats::Channel{"Alpha", "http://a/", "TV", "German/English"}));
    EXPECT_EQ(channels->subItem(0, ChannelList::kLanguagesColumn), "English");
    EXPECT_EQ(channels->subItem(0, 3), "");

    ui::ListView list("channels");
    list.setSorted(true);
    list.showRecords(channels);
    ASSERT_EQ(shownNames(list), (std::vector<std::string>{"", "Alpha", "beta", "zeta"}));
    EXPECT_EQ(list.tag(1), "http://a/");
    EXPECT_EQ(list.column(1, 2), "German/English");
    EXPECT_EQ(list.item(3).subItem(1), "TV");

    list.select(2);  // beta
    list.setSortOrder(ui::SortOrder::Descending);
    ASSERT_EQ(shownNames(list), (std::vector<std::string>{"zeta", "beta", "Alpha", ""}));
    ASSERT_TRUE(list.selectedItem().has_value());
    EXPECT_EQ(list.selectedItem()->tag, "http://b/");

    // A change makes the rows the list's own: every channel and the
    // selection come along, and the shown records are left as they were.
    ui::ListItem added;
    added.text = "omega";
    added.tag = "http://o/";
    list.addItem(added);
    EXPECT_FALSE(list.showsRecords());
    EXPECT_EQ(shownNames(list), (std::vector<std::string>{"zeta", "omega", "beta", "Alpha", ""}));
    EXPECT_EQ(list.selectedItem()->tag, "http://b/");
    EXPECT_EQ(channels->size(), 4u);

    // Showing other records drops the selection, which named a row of the old ones.
    list.showRecords(std::make_shared<ChannelList>());
    EXPECT_EQ(list.count(), 0);
    EXPECT_FALSE(list.selectedItem().has_value());
}

// Catches records cut or mixed up where the list's text blocks end: a record
// bigger than a block, records across many blocks, sizes past one byte.
TEST(ChannelList, KeepsEveryRecordWholeAcrossBlocks) {
    ChannelList channels;
    const std::string huge(3u << 20, 'n');
    for (int i = 0; i < 40'000; ++i) {
        if (i == 20'000) channels.add(huge, "http://huge/", "Radio", "");
        channels.add("Channel " + std::to_string(i), "http://h/" + std::string(static_cast<std::size_t>(i % 300), 'a'),
                     "TV", i % 2 ? "English" : "German");
    }
    ASSERT_EQ(channels.size(), 40'001u);
    EXPECT_EQ(channels.name(20'000), huge);
    EXPECT_EQ(channels.address(20'000), "http://huge/");
    EXPECT_EQ(channels.subItem(20'000, ChannelList::kCategoryColumn), "Radio");
    for (std::size_t i : {0u, 1u, 19'999u, 20'001u, 40'000u}) {
        const int n = static_cast<int>(i > 20'000 ? i - 1 : i);
        EXPECT_EQ(channels.channel(i),
                  (formats::Channel{"Channel " + std::to_string(n),
                                    "http://h/" + std::string(static_cast<std::size_t>(n % 300), 'a'), "TV",
                                    n % 2 ? "English" : "German"}))
            << i;
    }
}

// Catches addresses that come back other than they went in once their server
// is kept apart: odd shapes, and more servers than the shared table holds.
TEST(ChannelList, GivesBackEveryAddressAsItWasAdded) {
    const std::vector<std::string> odd = {"",           "plain text",   "://nohost/x",       "http://",
                                          "http:///p",  "rtsp://h:554", "mms://h?x=1",       "http://h#f",
                                          "HTTP://H/a", "http://h/",    "file:///tmp/a.mp3", "udp://@239.0.0.1:1234"};
    ChannelList channels;
    for (const auto& a : odd) channels.add("n", a, "TV", "");
    for (int i = 0; i < 70'000; ++i) channels.add("n", "http://s" + std::to_string(i) + ".tv/live", "TV", "");
    for (std::size_t i = 0; i < odd.size(); ++i) EXPECT_EQ(channels.address(i), odd[i]);
    for (int i : {0, 65'534, 65'535, 65'536, 69'999})
        EXPECT_EQ(channels.address(odd.size() + static_cast<std::size_t>(i)),
                  "http://s" + std::to_string(i) + ".tv/live");
}

}  // namespace
}  // namespace cd::catalogue
