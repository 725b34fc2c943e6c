// Writing the English localization file from the captions the loaded
// windows show now and the message table.
#include "formats/localization_file.h"
#include "localization/cls_languages.h"
#include "ui/list_view.h"
#include "ui/simple_controls.h"
#include "util/files.h"
#include "util/text.h"

namespace cd::localization {

std::string ClsLanguages::localizationFileText() const {
    std::string out = formats::fileHeader();
    for (const ui::Form* window : windows_.loaded()) {
        const std::string form = util::toUpper(window->name());
        for (const auto& owned : window->controls()) {
            const ui::Control& control = *owned;
            const std::string name = util::toUpper(control.name());
            switch (translatedParts(control.typeName())) {
                case Translated::Nothing:
                    break;
                case Translated::Caption:
                    out += formats::elementLine(captionElement(form, name), control.caption());
                    break;
                case Translated::Tabs:
                    if (const auto* tabs = dynamic_cast<const ui::TabStrip*>(&control)) {
                        for (int i = 1; i <= tabs->tabCount(); ++i)
                            out += formats::elementLine(tabElement(form, name, i), tabs->tabCaption(i));
                    }
                    break;
                case Translated::Columns:
                    if (const auto* list = dynamic_cast<const ui::ListView*>(&control)) {
                        for (int i = 1; i <= list->columnCount(); ++i)
                            out += formats::elementLine(columnElement(form, name, i), list->columnText(i));
                    }
                    break;
                case Translated::IndexedCaption:
                    out += formats::elementLine(indexedElement(form, name, control.index()), control.caption());
                    break;
            }
        }
        out += formats::elementLine(windowCaptionElement(window->name()), window->caption());
    }
    for (const MessageEntry& entry : messages_.entries()) {
        if (!entry.inUse) break;
        out += formats::elementLine(util::toUpper(entry.key), entry.text);
    }
    out += formats::fileFooter();
    return out;
}

bool ClsLanguages::makeLocalizationFile() {
    // Replacing by rename rather than deleting first: a write that fails
    // half-way must not cost the user the file they had.
    return util::writeFileAtomic(localizationFile(), localizationFileText());
}

}  // namespace cd::localization
