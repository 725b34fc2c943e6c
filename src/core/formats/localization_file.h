#pragma once
// The shape of Localization.txt: where it lives, the lines the writer puts
// out, and the walk over its language groups that the language loader and
// the language window's list share. The file is XML in shape only; it is
// read by searching for literal tag texts, every search ignoring case.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace cd::formats {

inline constexpr std::string_view kLocalizationFileName = "Localization.txt";
inline constexpr std::string_view kCrLf = "\r\n";

/// The localization file of folder: the file there whose name is
/// "Localization.txt" without regard to letter case (the exact spelling
/// preferred), else folder/"Localization.txt". Reading and replacing go
/// through the same name, so a folder never ends up with two copies.
std::filesystem::path localizationPath(const std::filesystem::path& folder);

/// text without a UTF-8 byte-order mark at its start.
std::string_view withoutBom(std::string_view text);

/// Lines 1 to 9 of a written file, each ending with CR LF: the declaration,
/// the file info and the opening of the "English" group up to
/// "<TRANSLATION_ITEMS>".
std::string fileHeader();
/// The three closing lines, each ending with CR LF.
std::string fileFooter();
/// One translation element: two TABs, <name>text</name>, CR LF. Nothing is
/// escaped.
std::string elementLine(std::string_view name, std::string_view text);

/// One language group as the walk finds it; both views point into the text
/// that was walked.
struct LanguageGroup {
    std::string_view text;  // from "<LANGUAGE_GROUP" up to its closing tag
    std::string_view name;  // between the name tags, untrimmed
};

enum class GroupVisit { Continue, Stop };

/// Walks the groups of text in file order and calls visit for each. The
/// search for a group's closing tag starts where the previous group's
/// closing tag ended. Returns false when the walk broke off at a group
/// without its closing tag or without its name pair (visit is not called
/// for that group), true when it ran out of groups or visit stopped it.
bool walkLanguageGroups(std::string_view text, const std::function<GroupVisit(const LanguageGroup&)>& visit);

/// The text between the end of the first "<TRANSLATION_ITEMS>" and the first
/// "</TRANSLATION_ITEMS>" of a group; nothing when the pair is missing.
std::optional<std::string_view> translationItems(std::string_view groupText);

}  // namespace cd::formats
