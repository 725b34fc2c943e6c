#include "catalogue/load2_import.h"

#include "util/lines.h"

namespace cd::catalogue {

namespace {

std::string withoutBrackets(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    for (const char c : line)
        if (c != '[' && c != ']') out += c;
    return out;
}

}  // namespace

std::vector<ui::ListItem> ParseSectionedImport(std::string_view text, std::string_view type) {
    enum class Expect { NameOrHeader, LineAfterHeader, SecondValue };
    std::vector<ui::ListItem> rows;
    std::string section;
    std::string_view name;
    Expect expect = Expect::NameOrHeader;
    util::forEachLine(text, [&](std::string_view line) {
        switch (expect) {
            case Expect::LineAfterHeader:
                expect = Expect::NameOrHeader;
                break;
            case Expect::SecondValue: {
                ui::ListItem row;
                row.text.assign(name);
                row.subItems = {std::string(line), std::string(type), section};
                rows.push_back(std::move(row));
                expect = Expect::NameOrHeader;
                break;
            }
            case Expect::NameOrHeader:
                if (line.empty() || line == " ") break;
                if (line.find('[') != std::string_view::npos) {
                    section = withoutBrackets(line);
                    expect = Expect::LineAfterHeader;
                } else {
                    name = line;
                    expect = Expect::SecondValue;
                }
                break;
        }
        return true;
    });
    return rows;
}

}  // namespace cd::catalogue
