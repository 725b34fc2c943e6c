// The Localization.txt the program ships: English generated from the windows,
// and complete German, French and Spanish groups.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "formats/localization_file.h"
#include "localization_fixture.h"
#include "util/files.h"

namespace cd::localization {
namespace {

const char* const kLanguages[] = {"English", "Deutsch",
                                  "Fran\xC3\xA7"
                                  "ais",
                                  "Espa\xC3\xB1"
                                  "ol"};

std::string shippedFile() {
    const auto bytes = util::readFile(std::string(CD_SOURCE_DIR) + "/data/Localization.txt");
    return bytes.value_or("");
}

/// Element names and texts of a translation list, in order.
std::vector<std::pair<std::string, std::string>> elementsOf(const std::vector<std::string>& list) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const std::string& line : list) {
        const std::size_t lt = line.find('<');
        const std::size_t gt = line.find('>');
        if (lt == std::string::npos || gt == std::string::npos) continue;
        const std::string name = line.substr(lt + 1, gt - lt - 1);
        const std::size_t close = line.find("</" + name + ">");
        out.emplace_back(name, line.substr(gt + 1, close - gt - 1));
    }
    return out;
}

bool validUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

class ShippedLocalizationTest : public testing::LocalizationTest {
protected:
    void SetUp() override {
        text = shippedFile();
        ASSERT_FALSE(text.empty()) << "data/Localization.txt is missing";
        writeFile(text);
        windows.loadAll();
        addDefaultMessages(languages.messages());
    }
    std::string text;
};

// Catches a shipped file with a byte-order mark, LF-only or stray CR line ends, or broken UTF-8.
TEST_F(ShippedLocalizationTest, EncodingAndLineEnds) {
    EXPECT_FALSE(text.starts_with("\xEF\xBB\xBF"));
    EXPECT_TRUE(validUtf8(text));
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "LF without CR at byte " << i;
        }
        if (text[i] == '\r') {
            ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "CR without LF at byte " << i;
        }
    }
    EXPECT_TRUE(text.ends_with("</XML_DIZ_INFO>\r\n"));
}

// Catches an English group that no longer matches the windows' built-in
// captions (regenerate it with channeldeck-tool make-localization).
TEST_F(ShippedLocalizationTest, EnglishGroupIsWhatTheWriterProduces) {
    std::string generated = languages.localizationFileText();
    generated.erase(generated.size() - std::string("</XML_DIZ_INFO>\r\n").size());
    EXPECT_TRUE(text.starts_with(generated));
}

// Catches a language missing from the list, listed twice, or out of order.
TEST_F(ShippedLocalizationTest, ListsTheFourLanguages) {
    std::vector<std::string> names;
    EXPECT_TRUE(formats::walkLanguageGroups(text, [&](const formats::LanguageGroup& g) {
        names.emplace_back(g.name);
        return formats::GroupVisit::Continue;
    }));
    EXPECT_EQ(names, (std::vector<std::string>{std::begin(kLanguages), std::end(kLanguages)}));
}

// Catches an element a translation forgot, left empty, misnamed or added,
// a separator translated, or the product name changed.
TEST_F(ShippedLocalizationTest, EveryLanguageTranslatesEveryElement) {
    ASSERT_EQ(languages.LoadLanguage("English"), LoadResult::Loaded);
    const auto english = elementsOf(*languages.translationList());
    ASSERT_GT(english.size(), 100u);
    for (const char* language : kLanguages) {
        SCOPED_TRACE(language);
        ASSERT_EQ(languages.LoadLanguage(language), LoadResult::Loaded);
        const auto translated = elementsOf(*languages.translationList());
        ASSERT_EQ(translated.size(), english.size());
        for (std::size_t i = 0; i < english.size(); ++i) {
            const auto& [name, englishText] = english[i];
            EXPECT_EQ(translated[i].first, name);
            const std::string translation = languages.GetTranslation(name);
            // An element that is empty in English (a label the program fills
            // at run time) has nothing to translate.
            if (englishText.empty()) continue;
            EXPECT_FALSE(translation.empty()) << name;
            if (englishText == "-") {
                EXPECT_EQ(translation, "-") << name;
            }
            if (englishText.find("ChannelDeck") != std::string::npos) {
                EXPECT_NE(translation.find("ChannelDeck"), std::string::npos) << name;
            }
        }
    }
}

// Catches a shipped language that does not reach the main window's controls.
TEST_F(ShippedLocalizationTest, GermanAppliesToTheMainWindow) {
    languages.ChangeLanguage(windows.mainWindow, "deutsch");
    EXPECT_EQ(languages.languageName(), "deutsch");
    EXPECT_EQ(windows.mainWindow.fileMenu->caption(), "Datei");
    EXPECT_EQ(windows.mainWindow.channelList->columnText(1), "Sender");
    EXPECT_EQ(windows.mainWindow.channelActionItems[1]->caption(), "-");
    EXPECT_EQ(languages.getMessages("MSG_DELETED"), "Gel\xC3\xB6scht ");
}

}  // namespace
}  // namespace cd::localization
