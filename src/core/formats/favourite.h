#pragma once
// A favourite as Favorites.txt carries it: the four fields of its line.
// Fields are bytes as stored, like a channel's.
#include <string>

namespace cd::formats {

struct Favourite {
    std::string name;
    std::string address;   // a stream address, or "youtube=" and a video id
    std::string category;  // the channel's category; empty for a video
    std::string type;      // the channel's languages; empty for a video

    bool operator==(const Favourite&) const = default;
};

}  // namespace cd::formats
