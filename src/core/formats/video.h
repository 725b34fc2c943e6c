#pragma once
// A video as a listing or search page names it: the id the player page
// and the favourites take ("youtube=" and the id), and its title.
#include <string>

namespace cd::formats {

struct Video {
    std::string id;     // as it stands in the link, not decoded
    std::string title;  // "&amp;" and "&quot;" decoded

    bool operator==(const Video&) const = default;
};

}  // namespace cd::formats
