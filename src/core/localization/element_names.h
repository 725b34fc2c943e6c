#pragma once
// The element names that tie a control's texts to the localization file.
// The writer and the reader both build names here, so they cannot drift
// apart. The writer passes upper-cased window and control names; the reader
// passes them as the window model holds them and relies on the lookup
// ignoring case.
#include <optional>
#include <string>
#include <string_view>

namespace cd::localization {

/// Which of a control's texts are translated, by its type name.
enum class Translated {
    Nothing,
    Caption,         // "Label", "CommandButton", "SkinLabel", "Frame", "CheckBox": FORM_CONTROL
    Tabs,            // "TabStrip": FORM_CONTROL_TABSi
    Columns,         // "ListView": FORM_CONTROL_COLi
    IndexedCaption,  // "OptionButton", "Menu": FORM_CONTROLn
};

/// The type name compared exactly as the window model reports it.
Translated translatedParts(std::string_view typeName);
/// The type name trimmed of spaces and compared in lower case (MDI windows).
Translated translatedPartsLoose(std::string_view typeName);

/// FORM_CONTROL: the caption of a label-like control. Every member of a
/// control array of such controls shares this one name.
std::string captionElement(std::string_view form, std::string_view control);
/// FORM_CONTROL_TABSi, tab i counted from 1.
std::string tabElement(std::string_view form, std::string_view control, int i);
/// FORM_CONTROL_COLi, column header i counted from 1.
std::string columnElement(std::string_view form, std::string_view control, int i);
/// FORM_CONTROLn for an option button or a menu with control-array index n,
/// no separator before n. A control outside a control array counts as
/// index 0: the rule menus have always followed, and the one chosen for
/// option buttons too, so both kinds read and write names the same way.
std::string indexedElement(std::string_view form, std::string_view control, std::optional<int> index);
/// FORM_CAPTION, the window's own caption; the window name is upper-cased.
std::string windowCaptionElement(std::string_view form);

}  // namespace cd::localization
