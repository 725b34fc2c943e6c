// Localization.txt: the walk over its language groups (as the loader and
// the language window's list run it), LoadLanguage, GetTranslation and a
// whole window translated from it. The input's first line (up to LF, at
// most 64 bytes) is the language asked for; the rest is the file.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/localization_file.h"
#include "fuzz_support.h"
#include "localization/cls_languages.h"
#include "util/lines.h"
#include "util/text.h"

namespace {

using namespace cd;

bool inside(std::string_view part, std::string_view whole) {
    return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

// The walk only ever hands out views into the text it walks, in file order.
int checkWalk(std::string_view text) {
    int groups = 0;
    const char* previousEnd = text.data();
    formats::walkLanguageGroups(text, [&](const formats::LanguageGroup& group) {
        CD_FUZZ_CHECK(inside(group.text, text));
        CD_FUZZ_CHECK(inside(group.name, group.text));
        CD_FUZZ_CHECK(group.text.data() >= previousEnd);
        previousEnd = group.text.data() + group.text.size();
        if (const auto items = formats::translationItems(group.text)) CD_FUZZ_CHECK(inside(*items, group.text));
        ++groups;
        return formats::GroupVisit::Continue;
    });
    return groups;
}

// The element name a translation line would answer to: the text between
// its first "<" and first ">".
std::string elementOf(const std::string& line) {
    const std::size_t lt = line.find('<');
    const std::size_t gt = line.find('>');
    if (lt == std::string::npos || gt == std::string::npos || gt <= lt) return {};
    return line.substr(lt + 1, gt - lt - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::asText(data, size);
    // Without a short first line the whole input is the file and English is asked for.
    const std::size_t lf = input.substr(0, 65).find('\n');
    const bool named = lf != std::string_view::npos;
    const std::string language = named ? std::string(input.substr(0, lf)) : std::string("English");
    const std::string_view file = named ? input.substr(lf + 1) : input;

    checkWalk(formats::withoutBom(file));
    const std::string listed = util::joinCrLf(util::readLines(formats::withoutBom(file)));
    checkWalk(listed);

    fuzz::ScratchFolder::write(std::string(formats::kLocalizationFileName), file);
    ui::Windows windows;
    localization::ClsLanguages languages({"ChannelDeck", "Quenmark Software", "www.channeldeck.org", 1, 0, 0},
                                         fuzz::ScratchFolder::path(), windows);
    languages.setMessage("MSG_NOTFOUND", "TV Channel file was not found.");
    languages.setMessage("MSG_TITLELANGUAGE", "Languages");

    const auto result = languages.LoadLanguage(language);
    CD_FUZZ_CHECK(languages.languageName() == language);
    CD_FUZZ_CHECK((result == localization::LoadResult::Loaded) == languages.translationList().has_value());
    if (const auto& list = languages.translationList()) {
        int asked = 0;
        for (const auto& line : *list) {
            const std::string element = elementOf(line);
            if (element.empty()) continue;
            const std::string text = languages.GetTranslation(element);
            // Placeholders are filled in, and no replacement can build one anew.
            CD_FUZZ_CHECK(!util::icontains(text, "[ProgramName]"));
            if (++asked == 32) break;
        }
    }

    languages.ChangeLanguage(windows.mainWindow, language);
    languages.ChangeLanguageMDI(windows.languageWindow, language);
    return 0;
}
