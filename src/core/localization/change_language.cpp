// Applying a loaded language to one window: its controls in control order,
// its caption, then the message table.
#include "localization/cls_languages.h"
#include "ui/list_view.h"
#include "ui/simple_controls.h"

namespace cd::localization {

void ClsLanguages::ChangeLanguage(ui::Form& window, const std::string& languageName) {
    applyLanguage(window, languageName, &translatedParts);
}

void ClsLanguages::ChangeLanguageMDI(ui::Form& window, const std::string& languageName) {
    applyLanguage(window, languageName, &translatedPartsLoose);
}

void ClsLanguages::translateCaption(ui::Control& control, const std::string& element) const {
    std::string text = GetTranslation(element);
    if (!text.empty()) control.setCaption(std::move(text));
}

void ClsLanguages::applyLanguage(ui::Form& window, const std::string& languageName,
                                 Translated (*partsOf)(std::string_view)) {
    LoadLanguage(languageName);
    // A missing list, or one of a single line (a file with LF line ends, or
    // an empty group), cannot translate anything: English is the fallback.
    // A longer list from an earlier load stays in effect.
    if (!translations_ || translations_->size() == 1) LoadLanguage("English");

    const std::string& form = window.name();
    for (const auto& owned : window.controls()) {
        ui::Control& control = *owned;
        switch (partsOf(control.typeName())) {
            case Translated::Nothing:
                break;
            case Translated::Caption:
                translateCaption(control, captionElement(form, control.name()));
                break;
            case Translated::Tabs:
                if (auto* tabs = dynamic_cast<ui::TabStrip*>(&control)) {
                    for (int i = 1; i <= tabs->tabCount(); ++i) {
                        std::string text = GetTranslation(tabElement(form, control.name(), i));
                        if (!text.empty()) tabs->setTabCaption(i, std::move(text));
                    }
                }
                break;
            case Translated::Columns:
                if (auto* list = dynamic_cast<ui::ListView*>(&control)) {
                    for (int i = 1; i <= list->columnCount(); ++i) {
                        std::string text = GetTranslation(columnElement(form, control.name(), i));
                        if (!text.empty()) list->setColumnText(i, std::move(text));
                    }
                }
                break;
            case Translated::IndexedCaption:
                translateCaption(control, indexedElement(form, control.name(), control.index()));
                break;
        }
    }

    std::string caption = GetTranslation(windowCaptionElement(form));
    if (!caption.empty()) window.setCaption(std::move(caption));

    const auto& entries = messages_.entries();
    for (int i = 0; i < MessageTable::kSize; ++i) {
        const MessageEntry& entry = entries[static_cast<std::size_t>(i)];
        if (!entry.inUse) continue;
        std::string text = GetTranslation(entry.key);
        if (!text.empty()) messages_.setText(i, std::move(text));
    }
}

}  // namespace cd::localization
