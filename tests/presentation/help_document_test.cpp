// The bundled help document: what the help window opens.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "presentation/help_viewer.h"
#include "util/files.h"
#include "util/text.h"

namespace cd::presentation {
namespace {

std::string helpDocument() {
    const auto text = util::readFile(std::string(CD_SOURCE_DIR) + "/data/" + kHelpFileName);
    return text ? *text : std::string();
}

// The values of every src= and href= attribute, in order.
std::vector<std::string> attributeValues(const std::string& html) {
    std::vector<std::string> out;
    for (const char* name : {"src=", "href="}) {
        for (std::size_t at = util::ifind(html, name); at != std::string::npos; at = util::ifind(html, name, at + 1)) {
            std::size_t start = at + std::char_traits<char>::length(name);
            char quote = ' ';
            if (start < html.size() && (html[start] == '"' || html[start] == '\'')) quote = html[start++];
            const std::size_t end = html.find_first_of(quote == ' ' ? std::string(" >") : std::string(1, quote), start);
            out.push_back(html.substr(start, end == std::string::npos ? std::string::npos : end - start));
        }
    }
    return out;
}

// Catches a help page that reaches out to the network (it must work offline, from the program's folder).
TEST(HelpDocument, IsSelfContained) {
    const std::string html = helpDocument();
    ASSERT_FALSE(html.empty()) << "data/" << kHelpFileName << " is missing";
    const auto values = attributeValues(html);
    EXPECT_FALSE(values.empty());
    for (const auto& v : values) EXPECT_TRUE(util::startsWith(v, "#")) << "only links within the page: " << v;
    EXPECT_EQ(util::ifind(html, "<link"), std::string::npos);
    EXPECT_EQ(util::ifind(html, "<script"), std::string::npos);
    EXPECT_EQ(util::ifind(html, "url("), std::string::npos);
    EXPECT_NE(html.find("</html>"), std::string::npos);
}

// Catches internal links pointing at sections that do not exist.
TEST(HelpDocument, EveryInternalLinkHasItsSection) {
    const std::string html = helpDocument();
    int links = 0;
    for (const auto& v : attributeValues(html)) {
        if (!util::startsWith(v, "#")) continue;
        ++links;
        EXPECT_NE(html.find("id=\"" + v.substr(1) + "\""), std::string::npos) << v;
    }
    EXPECT_GE(links, 10);
}

// Catches the help leaving out a topic users need (editor marker, data folder, probe bounds, ...).
TEST(HelpDocument, CoversTheProgramsTopics) {
    const std::string html = helpDocument();
    for (const char* topic : {"Favorites", "Rate 5 Stars", "Search", "My Files", "Change Language", "admin.txt",
                              "--data-dir", "Data.txt", "Favorites.txt", "Localization.txt", "showHelp", "chkSplash",
                              "64 KiB", "4 seconds", "offline", "dvr-ms", "Adult"})
        EXPECT_NE(html.find(topic), std::string::npos) << topic;
}

}  // namespace
}  // namespace cd::presentation
