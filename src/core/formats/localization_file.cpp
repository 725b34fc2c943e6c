#include "formats/localization_file.h"

#include <system_error>

#include "util/text.h"

namespace cd::formats {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kGroupOpen = "<LANGUAGE_GROUP";
constexpr std::string_view kGroupClose = "</LANGUAGE_GROUP>";
constexpr std::string_view kNameOpen = "<LANGUAGE_NAME>";
constexpr std::string_view kNameClose = "</LANGUAGE_NAME>";
constexpr std::string_view kItemsOpen = "<TRANSLATION_ITEMS>";
constexpr std::string_view kItemsClose = "</TRANSLATION_ITEMS>";
constexpr std::string_view kBom = "\xEF\xBB\xBF";

constexpr std::string_view kDescription =
    "This file contains various translations of program buttons, messages and menus in XML format.  The "
    "original document was created using translation software, and may sound strange when read by people.  "
    "We invite you to make modifications to existing languages and translate new languages.  Please send "
    "them to us so that we can update this file and make your translation available to all users.  Our "
    "current email address is located on our homepage which can be visited through the software or our "
    "program folder on your Start Menu.  Before making changes to a localization file please use the "
    "program to download the most recent localization file using the 'Check for Language Updates' button "
    "in the Languages window.";

/// The text between the end of the first open and the first close in text;
/// nothing when either is missing or they overlap.
std::optional<std::string_view> between(std::string_view text, std::string_view open, std::string_view close) {
    const std::size_t o = util::ifind(text, open);
    const std::size_t c = util::ifind(text, close);
    if (o == std::string_view::npos || c == std::string_view::npos) return std::nullopt;
    const std::size_t from = o + open.size();
    if (c < from) return std::nullopt;
    return text.substr(from, c - from);
}

}  // namespace

fs::path localizationPath(const fs::path& folder) {
    const fs::path exact = folder / std::string(kLocalizationFileName);
    std::error_code ec;
    if (fs::is_regular_file(exact, ec)) return exact;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!util::iequals(it->path().filename().string(), kLocalizationFileName)) continue;
        std::error_code typeError;
        if (it->is_regular_file(typeError)) return it->path();
    }
    return exact;
}

std::string_view withoutBom(std::string_view text) {
    if (util::startsWith(text, kBom)) text.remove_prefix(kBom.size());
    return text;
}

std::string fileHeader() {
    std::string h;
    h += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
    h += "<XML_DIZ_INFO>\r\n";
    h += "\t<LOCALIZATION_FILE_INFO>\r\n";
    h += "\t\t<LOCALIZATION_FILE_VERSION>1.0</LOCALIZATION_FILE_VERSION>\r\n";
    h += "\t</LOCALIZATION_FILE_INFO>\r\n";
    h += "<LANGUAGE_GROUP xml:lang=\"en\">\r\n";
    h += "\t<LANGUAGE_NAME>English</LANGUAGE_NAME>\r\n";
    h += "\t<DESCRIPTION>";
    h += kDescription;
    h += "</DESCRIPTION>\r\n";
    h += "\t<TRANSLATION_ITEMS>\r\n";
    return h;
}

std::string fileFooter() { return "\t</TRANSLATION_ITEMS>\r\n</LANGUAGE_GROUP>\r\n</XML_DIZ_INFO>\r\n"; }

std::string elementLine(std::string_view name, std::string_view text) {
    std::string line;
    line.reserve(2 * name.size() + text.size() + 9);
    line += "\t\t<";
    line += name;
    line += '>';
    line += text;
    line += "</";
    line += name;
    line += ">\r\n";
    return line;
}

bool walkLanguageGroups(std::string_view text, const std::function<GroupVisit(const LanguageGroup&)>& visit) {
    std::size_t pos = 0;
    for (;;) {
        const std::size_t start = util::ifind(text, kGroupOpen, pos);
        if (start == std::string_view::npos) return true;
        // The closing tag is looked for from the search position, not from
        // the group's start; a stray closing tag before the group therefore
        // counts as a group without its end.
        const std::size_t end = util::ifind(text, kGroupClose, pos);
        if (end == std::string_view::npos || end < start) return false;
        pos = end + kGroupClose.size();
        const std::string_view group = text.substr(start, end - start);
        const auto name = between(group, kNameOpen, kNameClose);
        if (!name) return false;
        if (visit(LanguageGroup{group, *name}) == GroupVisit::Stop) return true;
    }
}

std::optional<std::string_view> translationItems(std::string_view groupText) {
    return between(groupText, kItemsOpen, kItemsClose);
}

}  // namespace cd::formats
