#include "storage/schema.h"

#include "util/text.h"

namespace cd::server::storage {

namespace {

// {int}, {bytes} and {keyed} are filled in per engine.
constexpr const char* kSchema[] = {
    // One row per client address, type, item and day: a report sent again
    // the same day finds its row and changes nothing. Rankings look reports
    // up by type and item, then narrow by day: the key's order.
    "CREATE TABLE IF NOT EXISTS reports ("
    " type TEXT NOT NULL,"
    " item {bytes} NOT NULL,"
    " day {int} NOT NULL,"
    " client TEXT NOT NULL,"
    " value TEXT NOT NULL,"
    " at {int} NOT NULL,"
    " PRIMARY KEY (type, item, day, client)){keyed}",
    // The published Data.htm as uploaded: one row, replaced by each publish.
    "CREATE TABLE IF NOT EXISTS catalogue ("
    " slot {int} PRIMARY KEY,"
    " version {int} NOT NULL,"
    " published_at {int} NOT NULL,"
    " etag TEXT NOT NULL,"
    " records {int} NOT NULL,"
    " body {bytes} NOT NULL)",
    // The records of the published catalogue, by version, so the rankings
    // read one catalogue even while the next one is being published.
    "CREATE TABLE IF NOT EXISTS channels ("
    " version {int} NOT NULL,"
    " position {int} NOT NULL,"
    " name {bytes} NOT NULL,"
    " address {bytes} NOT NULL,"
    " category {bytes} NOT NULL,"
    " languages {bytes} NOT NULL,"
    " PRIMARY KEY (version, position))",
    "CREATE INDEX IF NOT EXISTS channels_by_address ON channels (version, address)",
    "CREATE INDEX IF NOT EXISTS channels_by_name ON channels (version, name)",
    "CREATE TABLE IF NOT EXISTS settings ("
    " name TEXT PRIMARY KEY,"
    " value TEXT NOT NULL)",
};

}  // namespace

std::vector<std::string> schemaStatements(const SqlDriver& driver) {
    std::vector<std::string> out;
    for (const char* s : kSchema) {
        std::string text = util::replaceAll(s, "{int}", driver.integerType());
        text = util::replaceAll(text, "{bytes}", driver.bytesType());
        out.push_back(util::replaceAll(text, "{keyed}", driver.keyedTableClause()));
    }
    return out;
}

}  // namespace cd::server::storage
