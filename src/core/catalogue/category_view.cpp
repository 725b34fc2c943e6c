#include "catalogue/category_view.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "catalogue/channel_list.h"
#include "catalogue/channel_record.h"
#include "catalogue/language_setting.h"
#include "catalogue/line_cipher.h"
#include "formats/category_filter.h"
#include "util/file_lines.h"
#include "util/files.h"
#include "util/lines.h"
#include "util/text.h"

namespace cd::catalogue {

namespace {

constexpr const char* kAll = "All";

/// Lets a set of strings be searched with a string_view, without a copy.
struct ViewHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view v) const { return std::hash<std::string_view>{}(v); }
};

// The distinct language names of a category as one text, each name followed
// by "|". A name is added unless the text already holds it followed by "|",
// letter case ignored, so a name that is the tail of a listed one ("man"
// after "German") is never added either.
class LanguageList {
public:
    void add(std::string_view name) {
        lower(name, lowered_);
        // The text only grows, so a name once found stays found: each
        // distinct name is searched for once, not once per record.
        if (known_.count(lowered_)) return;
        const bool present = containsLowered(lowered_);
        known_.insert(lowered_);
        if (present) return;
        text_.append(name);
        text_ += '|';
        lowerText_.append(lowered_);
        lowerText_ += '|';
    }

    bool contains(std::string_view name) const {
        std::string l;
        lower(name, l);
        return containsLowered(l);
    }

    /// The text split on "|" (so the last element is empty), sorted by byte value.
    std::vector<std::string> sortedElements() const {
        std::vector<std::string> elements = util::split(text_, "|");
        // std::string compares bytes as unsigned char: "A" < "a" < "\xE9".
        std::sort(elements.begin(), elements.end());
        return elements;
    }

private:
    static void lower(std::string_view s, std::string& out) {
        out.assign(s);
        for (char& c : out) c = util::asciiLower(c);
    }
    bool containsLowered(const std::string& l) const {
        needle_.assign(l);
        needle_ += '|';
        return lowerText_.find(needle_) != std::string::npos;
    }

    std::string text_;
    std::string lowerText_;
    std::unordered_set<std::string> known_;
    std::string lowered_;
    mutable std::string needle_;
};

void gatherLanguages(std::string_view languages, LanguageList& list) {
    if (languages.find('/') == std::string_view::npos) {
        list.add(languages);
        return;
    }
    for (const std::string_view piece : util::splitView(languages, '/'))
        if (!piece.empty()) list.add(piece);
}

// Holds channelList in one batch, so the shell hears one reset for the whole
// refill (also when the load stops early) and a sorted list stays sorted.
class ListBatch {
public:
    explicit ListBatch(ui::ListView& list) : list_(list) { list_.beginUpdate(); }
    ~ListBatch() { end(); }
    ListBatch(const ListBatch&) = delete;
    ListBatch& operator=(const ListBatch&) = delete;
    void end() {
        if (open_) list_.endUpdate();
        open_ = false;
    }

private:
    ui::ListView& list_;
    bool open_ = true;
};

}  // namespace

CategoryView::CategoryView(ui::MainWindow& form, NavigationState& state, platform::SettingsStore& settings,
                           platform::Dialogs& dialogs, const localization::MessageTable& messages,
                           std::filesystem::path programFolder, std::string appTitle)
    : form_(form),
      state_(state),
      settings_(settings),
      dialogs_(dialogs),
      messages_(messages),
      catalogueFile_(programFolder / "Data.txt"),
      importedFile_(programFolder / "Imported.txt"),
      appTitle_(std::move(appTitle)) {
    form_.languageBox->clicked.connect([this] { chooseLanguage(); });
    form_.channelSearch->changed.connect([this] { search(); });
    form_.channelSearch->keyPressed.connect([this](int key) {
        constexpr int kEscape = 27;
        if (key != kEscape || form_.channelSearch->text().empty()) return;
        form_.channelSearch->setText("");
        search();
    });
}

void CategoryView::search() {
    // A new set of rows: the selection was a row of the old one.
    form_.channelList->showRecords(search_.rowsFor(form_.channelSearch->text()));
}

void CategoryView::LoadCategory() {
    if (state_.currentCategory.empty()) state_.currentCategory = "TV";
    if (state_.currentLanguage.empty()) state_.currentLanguage = kAll;
    const formats::CategoryFilter filter(state_.currentCategory, state_.currentLanguage);
    const bool refresh = state_.languageRefresh;

    ui::ListView& list = *form_.channelList;
    ListBatch batch(list);
    list.clear();

    LanguageList languages;
    // Many records share one languages field; gathering a field twice adds
    // nothing, so each distinct field is gathered once.
    std::unordered_set<std::string, ViewHash, std::equal_to<>> gathered;
    // The rows are views of these channels, not copies of their fields.
    auto channels = std::make_shared<ChannelList>();
    std::string decoded;  // one line at a time: the file is never held whole
    const auto readRecords = [&](const std::filesystem::path& file) {
        return util::forEachLineOfFile(file, kCipherLineLimit, [&](std::string_view line) {
            DecodeLineInto(line, decoded);
            const auto fields = SplitRecordFields(decoded);
            if (!fields) return true;
            // A record too short to have a category cannot be compared at all.
            if (fields->fieldCount < 3) return false;
            if (!filter.matchesCategory(fields->category)) return true;
            if (fields->fieldCount < 4) return false;
            if (filter.matchesLanguage(fields->languages))
                channels->add(fields->name, fields->address, fields->category, fields->languages);
            if (refresh && !gathered.contains(fields->languages)) {
                gathered.emplace(fields->languages);
                gatherLanguages(fields->languages, languages);
            }
            return true;
        });
    };
    const util::FileLinesResult result = readRecords(catalogueFile_);
    // The user's imported channels follow the catalogue's. The file is this
    // program's own writing; when it is missing or damaged, what it gave is
    // listed and the catalogue's message is not shown for it.
    if (result == util::FileLinesResult::Complete && !importedFile_.empty() && util::fileExists(importedFile_))
        readRecords(importedFile_);
    if (result == util::FileLinesResult::Unreadable) {
        // As if the file had never been read: nothing of it is listed.
        list.clear();
        batch.end();
        showNotFound();
        return;
    }
    search_.setChannels(std::move(channels));
    list.showRecords(search_.rowsFor(form_.channelSearch->text()));
    batch.end();
    if (result != util::FileLinesResult::Complete) {
        showNotFound();
        return;
    }
    if (!refresh) return;

    ui::ComboBox& box = *form_.languageBox;
    box.clear();
    box.addItem(kAll);
    for (auto& name : languages.sortedElements()) box.addItem(std::move(name));
    state_.languageRefresh = false;
    if (languages.contains(state_.currentLanguage)) box.setText(state_.currentLanguage);
}

void CategoryView::chooseLanguage() {
    state_.currentLanguage = form_.languageBox->text();
    const LanguageSetting setting = languageSettingFor(state_.currentCategory);
    if (setting.written) settings_.set(setting.key, state_.currentLanguage);
    LoadCategory();
}

void CategoryView::showNotFound() {
    dialogs_.messageBox(messages_.getMessages("MSG_NOTFOUND"), appTitle_, platform::Buttons::OK);
}

}  // namespace cd::catalogue
