#include "storage/sql_driver.h"

namespace cd::server::storage {

std::int64_t SqlRow::integer(std::size_t i) const {
    if (i >= columns.size()) return 0;
    if (const auto* v = std::get_if<std::int64_t>(&columns[i])) return *v;
    if (const auto* s = std::get_if<std::string>(&columns[i])) {
        try {
            return std::stoll(*s);
        } catch (...) {
            return 0;
        }
    }
    return 0;
}

std::string SqlRow::string(std::size_t i) const {
    if (i >= columns.size()) return {};
    if (const auto* s = std::get_if<std::string>(&columns[i])) return *s;
    if (const auto* v = std::get_if<std::int64_t>(&columns[i])) return std::to_string(*v);
    return {};
}

}  // namespace cd::server::storage
