#include "generated_catalogue.h"

#include <cstddef>
#include <vector>

#include "catalogue/line_cipher.h"

namespace cd::bench {
namespace {

const std::vector<std::string> kLanguages = {
    "English",  "French",    "German",    "Spanish", "Italian", "Dutch",      "Portuguese", "Russian",
    "Arabic",   "Turkish",   "Polish",    "Greek",   "Swedish", "Danish",     "Finnish",    "Norwegian",
    "Czech",    "Hungarian", "Hindi",     "Bengali", "Urdu",    "Persian",    "Hebrew",     "Chinese",
    "Japanese", "Korean",    "Thai",      "Malay",   "Tagalog", "Vietnamese", "Romanian",   "Serbian",
    "Croatian", "Albanian",  "Ukrainian", "Music",   "News",    "Sports",     "Kids",       "Movies"};

}  // namespace

std::string generateCatalogue(int records, const std::string& category) {
    static const char* kMix[] = {"TV", "TV", "TV",    "TV",    "TV",    "TV",    "TV",    "TV",    "TV",    "TV",
                                 "TV", "TV", "Radio", "Radio", "Radio", "Radio", "Radio", "Video", "Video", "XXX"};
    std::string out;
    out.reserve(static_cast<std::size_t>(records) * 80);
    for (int i = 0; i < records; ++i) {
        const std::size_t n = static_cast<std::size_t>(i);
        std::string languages = kLanguages[n % kLanguages.size()];
        if (i % 3 == 0) languages += "/" + kLanguages[(n * 7 + 3) % kLanguages.size()];
        if (i % 7 == 0) languages += "/" + kLanguages[(n * 13 + 5) % kLanguages.size()];
        const std::string cat = category.empty() ? kMix[n % 20] : category;
        const std::string line = "Channel " + std::to_string(i) + " Live|http://stream" + std::to_string(i % 500) +
                                 ".example.net/live/" + std::to_string(i) + "/playlist.m3u8|" + cat + "|" + languages;
        out += cd::catalogue::EncodeLine(line);
        out += "\r\n";
    }
    return out;
}

}  // namespace cd::bench
