#pragma once
// The reports a scripted fetcher was asked to send, read back from their
// addresses as the catalogue server would read them (query values
// percent-decoded, bracket words left as sent).
#include <string>
#include <vector>

#include "support/scripted_fetcher.h"

namespace cd::test {

struct SentReport {
    std::string type, value, item;
    bool operator==(const SentReport&) const = default;
};

inline std::string percentDecoded(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

inline std::string queryValue(const std::string& address, const std::string& key) {
    const std::size_t at = address.find(key + "=");
    if (at == std::string::npos) return {};
    const std::size_t start = at + key.size() + 1;
    const std::size_t end = address.find('&', start);
    return percentDecoded(address.substr(start, end == std::string::npos ? std::string::npos : end - start));
}

inline std::vector<SentReport> sentReports(const ScriptedFetcher& fetcher) {
    std::vector<SentReport> out;
    for (const std::string& a : fetcher.startedContaining("/webtv/getData.asp?"))
        out.push_back({queryValue(a, "strType"), queryValue(a, "strValue"), queryValue(a, "strItem")});
    return out;
}

}  // namespace cd::test
