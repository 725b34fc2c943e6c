#include "localization/element_names.h"

#include "util/text.h"

namespace cd::localization {

namespace {

Translated byExactName(std::string_view t, std::string_view label, std::string_view button, std::string_view skinLabel,
                       std::string_view frame, std::string_view checkBox, std::string_view tabStrip,
                       std::string_view listView, std::string_view option, std::string_view menu) {
    if (t == label || t == button || t == skinLabel || t == frame || t == checkBox) return Translated::Caption;
    if (t == tabStrip) return Translated::Tabs;
    if (t == listView) return Translated::Columns;
    if (t == option || t == menu) return Translated::IndexedCaption;
    return Translated::Nothing;
}

std::string joined(std::string_view form, std::string_view control) {
    std::string name(form);
    name += '_';
    name += control;
    return name;
}

}  // namespace

Translated translatedParts(std::string_view typeName) {
    return byExactName(typeName, "Label", "CommandButton", "SkinLabel", "Frame", "CheckBox", "TabStrip", "ListView",
                       "OptionButton", "Menu");
}

Translated translatedPartsLoose(std::string_view typeName) {
    const std::string t = util::toLower(util::trimSpaces(typeName));
    return byExactName(t, "label", "commandbutton", "skinlabel", "frame", "checkbox", "tabstrip", "listview",
                       "optionbutton", "menu");
}

std::string captionElement(std::string_view form, std::string_view control) { return joined(form, control); }

std::string tabElement(std::string_view form, std::string_view control, int i) {
    return joined(form, control) + "_TABS" + util::decimal(i);
}

std::string columnElement(std::string_view form, std::string_view control, int i) {
    return joined(form, control) + "_COL" + util::decimal(i);
}

std::string indexedElement(std::string_view form, std::string_view control, std::optional<int> index) {
    return joined(form, control) + util::decimal(index.value_or(0));
}

std::string windowCaptionElement(std::string_view form) { return util::toUpper(form) + "_CAPTION"; }

}  // namespace cd::localization
