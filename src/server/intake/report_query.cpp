#include "intake/report_query.h"

#include "http/percent_decode.h"
#include "util/text.h"

namespace cd::server::intake {

namespace {

ReportQueryResult refuse(std::string why) { return {std::nullopt, std::move(why)}; }

bool valueFitsType(const std::string& type, const std::string& value) {
    if (type == "OFFLINE") return value.empty() || value == "\"";
    if (type == "FAVORITE") return value.empty();
    return value.size() == 1 && value[0] >= '1' && value[0] <= '5';  // Rate
}

}  // namespace

std::string undoBracketWords(std::string_view item) {
    // The reverse of the program's order (":" first, "/" last), so each word
    // comes back as the character that made it.
    std::string out = util::replaceAll(item, "[slash]", "/");
    out = util::replaceAll(out, "[quest]", "?");
    return util::replaceAll(out, "[colon]", ":");
}

ReportQueryResult parseReportQuery(std::string_view query) {
    std::optional<std::string> type, value, item;
    std::size_t pos = 0;
    while (pos <= query.size()) {
        std::size_t amp = query.find('&', pos);
        if (amp == std::string_view::npos) amp = query.size();
        const std::string_view part = query.substr(pos, amp - pos);
        pos = amp + 1;
        const std::size_t eq = part.find('=');
        if (eq == std::string_view::npos) return refuse("a query part without \"=\" (an unescaped \"&\"?)");
        const std::string_view key = part.substr(0, eq);
        std::optional<std::string>* slot = key == "strType"    ? &type
                                           : key == "strValue" ? &value
                                           : key == "strItem"  ? &item
                                                               : nullptr;
        if (!slot) return refuse("unknown key \"" + std::string(key.substr(0, 20)) + "\"");
        if (*slot) return refuse("key \"" + std::string(key) + "\" given twice");
        // The item is the only long part; refuse a huge one before decoding it.
        const std::string_view raw = part.substr(eq + 1);
        if (raw.size() > kMaxItemBytes * 7) return refuse("the item is longer than 2048 bytes");
        auto decoded = http::percentDecode(raw);
        if (!decoded) return refuse("invalid percent-encoding in \"" + std::string(key) + "\"");
        *slot = std::move(*decoded);
    }
    if (!type || !value || !item) return refuse("strType, strValue and strItem are all needed");
    if (*type != "OFFLINE" && *type != "FAVORITE" && *type != "Rate") return refuse("unknown report type");
    if (!valueFitsType(*type, *value)) return refuse("a value this report type does not take");
    std::string plain = undoBracketWords(*item);
    if (plain.empty()) return refuse("an empty item");
    if (plain.size() > kMaxItemBytes) return refuse("the item is longer than 2048 bytes");
    for (const char ch : plain) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7f) return refuse("a control character in the item");
    }
    return {ReportQuery{std::move(*type), std::move(*value), std::move(plain)}, {}};
}

}  // namespace cd::server::intake
