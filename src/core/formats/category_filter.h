#pragma once
// Which records the category view lists: the rule on its own, so the view,
// the playlist export and anything else that lists "the channels of a
// category in a language" cannot drift apart.
#include <string>
#include <string_view>

namespace cd::formats {

class CategoryFilter {
public:
    /// The category word and the language as the navigation state holds
    /// them; an empty category reads as "TV" and an empty language as "All".
    CategoryFilter(std::string category, std::string language);

    /// A record's category field is exactly the category (letter case counts).
    bool matchesCategory(std::string_view category) const { return category == category_; }
    /// A record's languages field lists it: always for exactly "All", else when
    /// the field contains the language anywhere, ignoring letter case.
    bool matchesLanguage(std::string_view languages) const;
    /// Both of the above.
    bool lists(std::string_view category, std::string_view languages) const {
        return matchesCategory(category) && matchesLanguage(languages);
    }

    const std::string& category() const { return category_; }
    const std::string& language() const { return language_; }

private:
    std::string category_;
    std::string language_;
    bool everyLanguage_;
};

}  // namespace cd::formats
