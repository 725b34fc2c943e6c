#include "ui/stored_names.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "ui/windows.h"
#include "util/files.h"

namespace cd::ui {
namespace {

// Catches a control added to a window without a row (its stored name would
// be invented where the table cannot see it), a stale row, or a role given
// twice in one window.
TEST(StoredNames, EveryWindowAndControlHasExactlyOneRow) {
    Windows windows;
    windows.loadAll();
    std::set<std::pair<std::string, std::string>> rows;
    std::map<std::string, std::set<std::string>> roles;
    for (const StoredName& n : storedNames()) {
        EXPECT_TRUE(rows.emplace(std::string(n.window), std::string(n.control)).second)
            << n.window << " " << n.control << " has two rows";
        EXPECT_TRUE(roles[std::string(n.window)].insert(std::string(n.role)).second) << n.window << " " << n.role;
        EXPECT_FALSE(n.meaning.empty()) << n.role;
    }
    std::set<std::pair<std::string, std::string>> seen;
    for (const Form* window : windows.loaded()) {
        EXPECT_TRUE(rows.count({window->name(), ""})) << window->name();
        seen.emplace(window->name(), "");
        for (const auto& control : window->controls()) {
            EXPECT_TRUE(rows.count({window->name(), control->name()})) << window->name() << " " << control->name();
            seen.emplace(window->name(), control->name());
        }
    }
    for (const auto& row : rows) EXPECT_TRUE(seen.count(row)) << row.first << " " << row.second << " is in no window";
}

// Catches the documentation's table drifting from the program's.
TEST(StoredNames, ArchitectureDocumentShowsTheTable) {
    const auto doc = util::readFile(std::string(CD_SOURCE_DIR) + "/docs/architecture.md");
    ASSERT_TRUE(doc.has_value());
    EXPECT_NE(doc->find(storedNamesMarkdown()), std::string::npos)
        << "docs/architecture.md must hold the table as `channeldeck-tool stored-names` prints it";
}

}  // namespace
}  // namespace cd::ui
