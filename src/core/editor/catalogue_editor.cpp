#include "editor/catalogue_editor.h"

#include <unordered_set>
#include <utility>
#include <vector>

#include "util/text.h"

namespace cd::editor {

namespace {

// Editor row layout.
constexpr int kCategory = 1;
constexpr int kLanguage = 2;
constexpr int kAddress = 3;

}  // namespace

CatalogueEditor::CatalogueEditor(ui::MainWindow& form, platform::Dialogs& dialogs,
                                 const localization::MessageTable& messages, std::filesystem::path programFolder,
                                 std::string appTitle)
    : form_(form),
      dialogs_(dialogs),
      messages_(messages),
      title_(appTitle),
      file_(form, dialogs, std::move(programFolder), std::move(appTitle)) {
    // The panel's buttons act only while the panel is there to click.
    const auto whenShown = [this](auto handler) {
        return [this, handler] {
            if (form_.editorPanel->visible()) (void)(this->*handler)();
        };
    };
    ui::MainWindow& w = form_;
    w.addButton->clicked.connect(whenShown(&CatalogueEditor::addEntry));
    w.editButton->clicked.connect(whenShown(&CatalogueEditor::applyEdit));
    w.replaceButton->clicked.connect(whenShown(&CatalogueEditor::findAndReplace));
    w.removeDuplicatesButton->clicked.connect(whenShown(&CatalogueEditor::removeDuplicates));
    w.deleteChannelButton->clicked.connect(whenShown(&CatalogueEditor::deleteSelectedChannel));
    w.clearListButton->clicked.connect(whenShown(&CatalogueEditor::clearList));
    w.closeEditorButton->clicked.connect(whenShown(&CatalogueEditor::closeEditor));
    w.decryptAndLoadButton->clicked.connect(whenShown(&CatalogueEditor::decryptAndLoad));
    w.encryptAndSaveButton->clicked.connect(whenShown(&CatalogueEditor::encryptAndSave));
    w.importSectionedButton->clicked.connect(whenShown(&CatalogueEditor::importSectioned));
    w.findText->keyPressed.connect([this](int key) { findTextKeyPressed(key); });
    w.replaceWithText->keyPressed.connect([this](int key) { replaceTextKeyPressed(key); });
}

void CatalogueEditor::fillFieldsFromSelectedRow() {
    const auto row = form_.channelList->selectedItem();
    if (!row) return;
    form_.editNameText->setText(row->text);
    form_.editCategoryBox->setText(row->subItem(kCategory));
    form_.editLanguagesText->setText(row->subItem(kLanguage));
    form_.editAddressText->setText(row->subItem(kAddress));
}

void CatalogueEditor::addEntry() {
    ui::ListItem row;
    row.text = form_.addNameText->text();
    row.subItems = {form_.addCategoryBox->text(), form_.addLanguagesText->text(), form_.addAddressText->text()};
    form_.channelList->addItem(std::move(row));
}

void CatalogueEditor::applyEdit() {
    ui::ListView& list = *form_.channelList;
    const int i = list.selectedIndex();
    if (i < 0) return;
    ui::ListItem row = list.item(i);
    row.text = form_.editNameText->text();
    row.setSubItem(kCategory, form_.editCategoryBox->text());
    row.setSubItem(kLanguage, form_.editLanguagesText->text());
    row.setSubItem(kAddress, form_.editAddressText->text());
    list.setItem(i, std::move(row));
}

void CatalogueEditor::findAndReplace() {
    const std::string& find = form_.findText->text();
    const std::string& with = form_.replaceWithText->text();
    const std::string& column = form_.replaceColumnBox->text();
    if (find.empty()) return;
    const bool inNames = column == "Channel";
    if (!inNames && column != "Language") return;

    ui::ListView& list = *form_.channelList;
    // One batch: a sorted list would otherwise re-sort after every row.
    list.beginUpdate();
    for (int i = 0; i < list.count(); ++i) {
        const ui::ListItem& old = list.item(i);
        if (inNames) {
            std::string name = util::ireplaceAll(old.text, find, with);
            if (name == old.text) continue;
            ui::ListItem row = old;
            row.text = std::move(name);
            list.setItem(i, std::move(row));
        } else if (old.subItem(kLanguage) == find) {
            ui::ListItem row = old;
            row.setSubItem(kLanguage, with);
            list.setItem(i, std::move(row));
        }
    }
    list.endUpdate();
}

bool CatalogueEditor::findTextKeyPressed(int keyAscii) {
    if (keyAscii != kEnterKey) return false;
    findAndReplace();
    return true;
}

bool CatalogueEditor::replaceTextKeyPressed(int keyAscii) { return findTextKeyPressed(keyAscii); }

int CatalogueEditor::removeDuplicates() {
    ui::ListView& list = *form_.channelList;
    // Rows are the same channel when they play the same address. A row with
    // no address is nobody's duplicate: removing such rows would lose
    // channels on no evidence.
    std::unordered_set<std::string> seen;
    std::vector<bool> keep(static_cast<std::size_t>(list.count()), true);
    int deleted = 0;
    for (int i = 0; i < list.count(); ++i) {
        const std::string_view address = list.column(i, kAddress);
        if (address.empty()) continue;
        if (!seen.insert(util::toLower(address)).second) {
            keep[static_cast<std::size_t>(i)] = false;
            ++deleted;
        }
    }
    if (deleted > 0) {
        // Rebuilt in one batch rather than removed one by one, which would
        // move the rows below every removed one.
        const int selected = list.selectedIndex();
        std::vector<ui::ListItem> rows = list.items();
        int newSelected = -1;
        list.beginUpdate();
        list.clear();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (!keep[i]) continue;
            const int pos = list.addItem(std::move(rows[i]));
            if (static_cast<int>(i) == selected) newSelected = pos;
        }
        list.endUpdate();
        list.select(newSelected);
    }
    dialogs_.messageBox(messages_.getMessages("MSG_DELETED") + util::decimal(deleted), title_, platform::Buttons::OK);
    return deleted;
}

void CatalogueEditor::deleteSelectedChannel() {
    ui::ListView& list = *form_.channelList;
    const int i = list.selectedIndex();
    if (i < 0) return;
    list.removeItem(i);
}

void CatalogueEditor::clearList() { form_.channelList->clear(); }

void CatalogueEditor::closeEditor() {
    form_.dontLoadWhileEditingCheck->setChecked(false);
    form_.editorPanel->setVisible(false);
}

}  // namespace cd::editor
