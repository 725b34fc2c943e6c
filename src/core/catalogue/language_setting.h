#pragma once
// Which per-user setting holds a category's chosen language: one rule for
// the category switch that reads it and the language box that writes it.
#include <string>
#include <string_view>

namespace cd::catalogue {

struct LanguageSetting {
    /// The key a switch to the category reads ("TVLang", "RadioLang",
    /// "VideoLang"); empty for a category that has none.
    std::string key;
    /// Whether a language picked while the category is shown is stored
    /// under the key. The adult category reads Video's language and stores
    /// nothing: a pick there lasts until the next switch.
    bool written = false;
};

LanguageSetting languageSettingFor(std::string_view category);

}  // namespace cd::catalogue
