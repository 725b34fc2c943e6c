#include "catalogue/language_setting.h"

namespace cd::catalogue {

LanguageSetting languageSettingFor(std::string_view category) {
    if (category == "TV") return {"TVLang", true};
    if (category == "Radio") return {"RadioLang", true};
    if (category == "Video") return {"VideoLang", true};
    if (category == "XXX") return {"VideoLang", false};
    return {};
}

}  // namespace cd::catalogue
