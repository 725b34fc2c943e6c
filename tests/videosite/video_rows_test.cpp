#include "videosite/video_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace cd::videosite {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

Rows rows(const ui::ListView& list) {
    Rows out;
    for (int i = 0; i < list.count(); ++i) out.emplace_back(list.item(i).key, list.item(i).text);
    return out;
}

// Catches a video whose id repeats on a page being listed twice, the later
// title winning, a video an earlier page listed coming back, and a link
// without an id swallowing the next one.
TEST(AddVideoRows, FirstVideoOfAnIdWins) {
    ui::ListView list("ListView3");
    EXPECT_EQ(AddVideoRows({{"one", "First"}, {"two", "Second"}, {"one", "First again"}}, list), 2);
    EXPECT_EQ(rows(list), (Rows{{"one", "First"}, {"two", "Second"}}));
    EXPECT_EQ(AddVideoRows({{"two", "Second on page two"}, {"", "No id"}, {"", "No id either"}}, list), 2);
    EXPECT_EQ(rows(list), (Rows{{"one", "First"}, {"two", "Second"}, {"", "No id"}, {"", "No id either"}}));
    EXPECT_EQ(AddVideoRows({}, list), 0);
    EXPECT_EQ(list.count(), 4);
}

}  // namespace
}  // namespace cd::videosite
