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

CatalogueEditor::CatalogueEditor(ui::Form1& form, platform::Dialogs& dialogs,
                                 const localization::MessageTable& messages, std::filesystem::path programFolder,
                                 std::string appTitle)
    : form_(form),
      dialogs_(dialogs),
      messages_(messages),
      title_(appTitle),
      file_(form, dialogs, std::move(programFolder), std::move(appTitle)) {}

void CatalogueEditor::SelectRow() {
    const ui::ListItem* row = form_.ListView1->selectedItem();
    if (!row) return;
    form_.txtEditName->setText(row->text);
    form_.cmbEditCateogy->setText(row->subItem(kCategory));
    form_.txtEditType->setText(row->subItem(kLanguage));
    form_.txtEditURL->setText(row->subItem(kAddress));
}

void CatalogueEditor::cmdAdd_Click() {
    ui::ListItem row;
    row.text = form_.txtAddName->text();
    row.subItems = {form_.cmbAddCategory->text(), form_.txtAddType->text(), form_.txtAddURL->text()};
    form_.ListView1->addItem(std::move(row));
}

void CatalogueEditor::cmdEdit_Click() {
    ui::ListView& list = *form_.ListView1;
    const int i = list.selectedIndex();
    if (i < 0) return;
    ui::ListItem row = list.item(i);
    row.text = form_.txtEditName->text();
    row.setSubItem(kCategory, form_.cmbEditCateogy->text());
    row.setSubItem(kLanguage, form_.txtEditType->text());
    row.setSubItem(kAddress, form_.txtEditURL->text());
    list.setItem(i, std::move(row));
}

void CatalogueEditor::cmdReplace_Click() {
    const std::string& find = form_.Text2->text();
    const std::string& with = form_.Text3->text();
    const std::string& column = form_.Combo2->text();
    if (find.empty()) return;
    const bool inNames = column == "Channel";
    if (!inNames && column != "Language") return;

    ui::ListView& list = *form_.ListView1;
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

bool CatalogueEditor::Text2_KeyPress(int keyAscii) {
    if (keyAscii != kEnterKey) return false;
    cmdReplace_Click();
    return true;
}

bool CatalogueEditor::Text3_KeyPress(int keyAscii) { return Text2_KeyPress(keyAscii); }

int CatalogueEditor::cmdDupes_Click() {
    ui::ListView& list = *form_.ListView1;
    // Rows are the same channel when they play the same address. A row with
    // no address is nobody's duplicate: removing such rows would lose
    // channels on no evidence.
    std::unordered_set<std::string> seen;
    std::vector<bool> keep(static_cast<std::size_t>(list.count()), true);
    int deleted = 0;
    for (int i = 0; i < list.count(); ++i) {
        const std::string& address = list.item(i).subItem(kAddress);
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

void CatalogueEditor::DELChannel_Click() {
    ui::ListView& list = *form_.ListView1;
    const int i = list.selectedIndex();
    if (i < 0) return;
    list.removeItem(i);
}

void CatalogueEditor::Clear_Click() { form_.ListView1->clear(); }

void CatalogueEditor::Command2_Click() {
    form_.chkLoad->setChecked(false);
    form_.Frame2->setVisible(false);
}

}  // namespace cd::editor
