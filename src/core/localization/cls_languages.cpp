#include "localization/cls_languages.h"

#include "formats/localization_file.h"
#include "localization/case_fold.h"
#include "util/files.h"
#include "util/text.h"

namespace cd::localization {

ClsLanguages::ClsLanguages(platform::VersionInfo brand, std::filesystem::path programFolder, ui::Windows& windows)
    : messages_(std::move(brand)), programFolder_(std::move(programFolder)), windows_(windows) {}

void ClsLanguages::setMessage(const std::string& key, const std::string& text) { messages_.setMessage(key, text); }

std::string ClsLanguages::getMessages(const std::string& key) const { return messages_.getMessages(key); }

std::string ClsLanguages::ListLanguages() const { return {}; }

bool ClsLanguages::LangFileExists(const std::string& path) const { return util::fileExists(path); }

std::string ClsLanguages::LangTrimPath(const std::string& path) const {
    std::size_t cut = path.rfind('\\');
    if (cut == std::string::npos) cut = path.rfind('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::filesystem::path ClsLanguages::localizationFile() const { return formats::localizationPath(programFolder_); }

LoadResult ClsLanguages::LoadLanguage(const std::string& languageName) {
    languageName_ = languageName;
    const auto path = localizationFile();
    if (!LangFileExists(path.string())) return LoadResult::NoFile;
    const auto bytes = util::readFile(path);
    if (!bytes) return LoadResult::NoFile;
    const std::string_view text = formats::withoutBom(*bytes);

    std::optional<std::string_view> items;
    bool itemsMissing = false;
    const bool walked = formats::walkLanguageGroups(text, [&](const formats::LanguageGroup& group) {
        if (!equalsIgnoringCase(group.name, languageName)) return formats::GroupVisit::Continue;
        items = formats::translationItems(group.text);
        itemsMissing = !items;
        return formats::GroupVisit::Stop;
    });
    if (!walked || itemsMissing) return LoadResult::Broken;
    if (!items) return LoadResult::NotFound;
    // Empty pieces stay: the list normally starts with the empty rest of the
    // opening tag's line and ends with the indentation of the closing tag.
    translations_ = util::split(*items, formats::kCrLf);
    return LoadResult::Loaded;
}

std::string ClsLanguages::GetTranslation(const std::string& elementName) const {
    std::string result;
    if (translations_) {
        for (const std::string& line : *translations_) {
            if (line.empty()) continue;
            const std::string_view head = std::string_view(line).substr(0, line.find('>'));
            // A head of two characters or fewer cannot hold "<" and a name
            // after indentation; such lines are passed over.
            if (head.size() <= 2) continue;
            const std::size_t lt = head.find('<');
            const std::string_view tag = lt == std::string_view::npos ? head : head.substr(lt + 1);
            if (!equalsIgnoringCase(tag, elementName)) continue;
            const std::string opening = "<" + elementName + ">";
            const std::string closing = "</" + elementName + ">";
            const std::size_t open = util::ifind(line, opening);
            const std::size_t close = util::ifind(line, closing);
            if (open != std::string::npos && close != std::string::npos && close >= open + opening.size())
                result = line.substr(open + opening.size(), close - open - opening.size());
            // The first line with the element decides, even when it is broken.
            break;
        }
    }
    const auto& brand = messages_.brand();
    result = util::ireplaceAll(result, "[ProgramName]", brand.productName);
    result = util::ireplaceAll(result, "[CompanyName]", brand.companyName);
    result = util::ireplaceAll(result, "[Website]", brand.website);
    return raiseFirst(std::move(result));
}

}  // namespace cd::localization
