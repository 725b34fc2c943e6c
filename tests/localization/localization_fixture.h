#pragma once
// Shared pieces of the localization tests: a program folder in a TempDir,
// the window model, one localization object, and builders for
// Localization.txt texts.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <string>
#include <utility>
#include <vector>

#include "localization/cls_languages.h"
#include "support/temp_dir.h"
#include "ui/windows.h"

namespace cd::localization::testing {

inline platform::VersionInfo testBrand() {
    platform::VersionInfo brand;
    brand.productName = "ChannelDeck";
    brand.companyName = "Quenmark Software";
    brand.website = "www.channeldeck.org";
    return brand;
}

using Items = std::vector<std::pair<std::string, std::string>>;

/// One language group with its elements, lines ending in CR LF.
inline std::string group(const std::string& name, const Items& items, const std::string& code = "xx") {
    std::string g = "<LANGUAGE_GROUP xml:lang=\"" + code + "\">\r\n\t<LANGUAGE_NAME>" + name +
                    "</LANGUAGE_NAME>\r\n\t<TRANSLATION_ITEMS>\r\n";
    for (const auto& [element, text] : items) g += "\t\t<" + element + ">" + text + "</" + element + ">\r\n";
    g += "\t</TRANSLATION_ITEMS>\r\n</LANGUAGE_GROUP>\r\n";
    return g;
}

/// A whole file around the given groups.
inline std::string file(const std::string& groups) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<XML_DIZ_INFO>\r\n" + groups + "</XML_DIZ_INFO>\r\n";
}

inline std::string lfOnly(std::string text) {
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

class LocalizationTest : public ::testing::Test {
protected:
    void writeFile(const std::string& text) { dir.write("Localization.txt", text); }

    test::TempDir dir;
    ui::Windows windows;
    ClsLanguages languages{testBrand(), dir.path(), windows};
};

}  // namespace cd::localization::testing

namespace cd::localization::testing {

/// While alive, this process cannot grow a file past maxBytes: writes beyond
/// fail with EFBIG instead of raising SIGXFSZ. It makes a write fail half-way
/// even for root, whom folder permissions do not stop.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t maxBytes) {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = maxBytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

}  // namespace cd::localization::testing
