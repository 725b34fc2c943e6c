#pragma once
// How the videos of a page show in the video list: the title as the row's
// text, keyed by the id, so a video a page links twice, or an earlier page
// of the same listing already showed, is listed once.
#include <vector>

#include "formats/video.h"
#include "ui/list_view.h"

namespace cd::videosite {

/// Adds a row for every video whose id the list does not hold yet, in one
/// update. Returns the number of rows added.
int AddVideoRows(std::vector<formats::Video> videos, ui::ListView& list);

}  // namespace cd::videosite
