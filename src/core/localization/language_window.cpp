#include "localization/language_window.h"

#include "localization/localization_file.h"
#include "util/files.h"
#include "util/lines.h"
#include "util/text.h"

namespace cd::localization {

namespace {
constexpr const char* kLanguageSetting = "Language";
constexpr const char* kDefaultLanguage = "English";
constexpr const char* kComboPrompt = "Choose Language Here";
}  // namespace

LanguageWindow::LanguageWindow(LanguageWindowContext context) : ctx_(std::move(context)) {}

std::string LanguageWindow::downloadAddress() const {
    return "http://" + ctx_.languageHost + "/Languages/" + util::decimal(ctx_.productNumber) + "/Localization.txt";
}

bool LanguageWindow::fileExists() const {
    return ctx_.languages.LangFileExists(ctx_.languages.localizationFile().string());
}

void LanguageWindow::Form_Load() {
    ClsLanguages& languages = ctx_.languages;
    // Translating twice lets a caption from the file (FRMLANGUAGE_CAPTION)
    // win over the message-table title set in between.
    languages.ChangeLanguage(form(), languages.languageName());
    form().setCaption(languages.getMessages("MSG_TITLELANGUAGE"));
    languages.ChangeLanguage(form(), languages.languageName());
    FillLanguageList();
    if (ctx_.skinning && ctx_.applySkin) ctx_.applySkin(form());
}

void LanguageWindow::FillLanguageList() {
    ui::ComboBox& combo = *form().Combo1;
    combo.clear();
    if (!fileExists()) return;
    const auto bytes = util::readFile(ctx_.languages.localizationFile());
    if (!bytes) return;
    const std::string text = util::joinCrLf(util::readLines(withoutBom(*bytes)));
    const std::string saved = ctx_.settings.get(kLanguageSetting, kDefaultLanguage);
    // Names found before a broken group stay listed; the walk itself stops there.
    walkLanguageGroups(text, [&](const LanguageGroup& group) {
        combo.addItem(std::string(group.name));
        combo.setText(saved);
        return GroupVisit::Continue;
    });
}

void LanguageWindow::Combo1_Click() {
    const std::string chosen = form().Combo1->text();
    if (chosen == kComboPrompt) return;
    if (!ctx_.settings.set(kLanguageSetting, chosen)) return;
    ctx_.languages.ChangeLanguage(ctx_.windows.form1, chosen);
    ctx_.languages.ChangeLanguage(form(), chosen);
}

void LanguageWindow::Command1_Click() {
    // A download cut short (a stall, a broken connection, the window
    // closing) may well hold the marker, and would replace a working file
    // with half of one.
    std::optional<std::string> whole = ctx_.fetcher.HttpGetWhole(downloadAddress());
    if (!whole) return;
    std::string body = std::move(*whole);
    // An error page or an empty answer has no translation items and must
    // not replace a working file either.
    if (!util::icontains(body, "<TRANSLATION_ITEMS>")) return;
    const std::size_t lt = body.find('<');
    if (lt != 0) body.erase(0, lt);
    body += kCrLf;

    std::string error;
    if (!util::writeFileAtomic(ctx_.languages.localizationFile(), body, &error)) {
        std::string text = ctx_.languages.getMessages("MSG_LANGUAGENOTSAVED");
        if (!error.empty()) text += "\n\n" + error;
        ctx_.dialogs.messageBox(text, ctx_.appTitle, platform::Buttons::OK);
        return;
    }
    FillLanguageList();
    ctx_.dialogs.messageBox(ctx_.languages.getMessages("MSG_DOWNLOADED"), ctx_.appTitle, platform::Buttons::OK);
}

void LanguageWindow::Command2_Click() { ctx_.windows.unload(form()); }

void LanguageWindow::Command3_Click() {
    if (!fileExists()) return;
    ctx_.shell.open(ctx_.languages.localizationFile().string());
}

}  // namespace cd::localization
