#include "fetch/online_test.h"

#include "util/text.h"

namespace cd::fetch {

bool IsOnline(std::string_view text) {
    if (util::trimSpaces(text).empty()) return false;
    static constexpr std::string_view kOfflineMarkers[] = {"[Reference]", "Not Available", "404",
                                                           "Error",       "Not Found",     "No web site is configured"};
    for (const auto marker : kOfflineMarkers)
        if (util::icontains(text, marker)) return false;
    return true;
}

}  // namespace cd::fetch
