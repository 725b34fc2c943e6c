#include "formats/category_filter.h"

#include "util/text.h"

namespace cd::formats {

CategoryFilter::CategoryFilter(std::string category, std::string language)
    : category_(category.empty() ? "TV" : std::move(category)),
      language_(language.empty() ? "All" : std::move(language)),
      everyLanguage_(language_ == "All") {}

bool CategoryFilter::matchesLanguage(std::string_view languages) const {
    return everyLanguage_ || util::icontains(languages, language_);
}

}  // namespace cd::formats
