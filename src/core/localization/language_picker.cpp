#include "localization/language_picker.h"

#include "formats/localization_file.h"
#include "localization/fetch_error_text.h"
#include "util/files.h"
#include "util/lines.h"
#include "util/text.h"

namespace cd::localization {

namespace {
constexpr const char* kLanguageSetting = "Language";
constexpr const char* kDefaultLanguage = "English";
constexpr const char* kComboPrompt = "Choose Language Here";
}  // namespace

LanguagePicker::LanguagePicker(LanguagePickerContext context) : ctx_(std::move(context)) {
    ui::LanguageWindow& w = form();
    w.languageBox->clicked.connect([this] { chooseLanguage(); });
    w.checkUpdatesButton->clicked.connect([this] { checkForUpdates(); });
    w.okButton->clicked.connect([this] { close(); });
    w.translateButton->clicked.connect([this] { openFileForTranslation(); });
}

std::string LanguagePicker::downloadAddress() const {
    return "http://" + ctx_.languageHost + "/Languages/" + util::decimal(ctx_.productNumber) + "/Localization.txt";
}

bool LanguagePicker::fileExists() const {
    return ctx_.languages.LangFileExists(ctx_.languages.localizationFile().string());
}

void LanguagePicker::load() {
    ClsLanguages& languages = ctx_.languages;
    // Translating twice lets a caption from the file (FRMLANGUAGE_CAPTION)
    // win over the message-table title set in between.
    languages.ChangeLanguage(form(), languages.languageName());
    form().setCaption(languages.getMessages("MSG_TITLELANGUAGE"));
    languages.ChangeLanguage(form(), languages.languageName());
    FillLanguageList();
    if (ctx_.skinning && ctx_.applySkin) ctx_.applySkin(form());
}

void LanguagePicker::FillLanguageList() {
    ui::ComboBox& combo = *form().languageBox;
    combo.clear();
    if (!fileExists()) return;
    const auto bytes = util::readFile(ctx_.languages.localizationFile());
    if (!bytes) return;
    const std::string text = util::joinCrLf(util::readLines(formats::withoutBom(*bytes)));
    const std::string saved = ctx_.settings.get(kLanguageSetting, kDefaultLanguage);
    // Names found before a broken group stay listed; the walk itself stops there.
    formats::walkLanguageGroups(text, [&](const formats::LanguageGroup& group) {
        combo.addItem(std::string(group.name));
        combo.setText(saved);
        return formats::GroupVisit::Continue;
    });
}

void LanguagePicker::chooseLanguage() {
    const std::string chosen = form().languageBox->text();
    if (chosen == kComboPrompt) return;
    if (!ctx_.settings.set(kLanguageSetting, chosen)) return;
    ctx_.languages.ChangeLanguage(ctx_.windows.mainWindow, chosen);
    ctx_.languages.ChangeLanguage(form(), chosen);
}

void LanguagePicker::checkForUpdates() { download_.start(downloadLanguages()); }

namespace {
bool holdsALanguage(const std::string& text) {
    bool any = false;
    formats::walkLanguageGroups(text, [&any](const formats::LanguageGroup&) {
        any = true;
        return formats::GroupVisit::Stop;
    });
    return any;
}
}  // namespace

util::Task<> LanguagePicker::downloadLanguages() {
    ui::Control& status = *form().downloadStatus;
    fetch::FetchRequest request;
    request.address = downloadAddress();
    request.bounds = fetch::watchedBounds(fetch::kLanguageFileCap);
    request.onProgress = [&status](std::size_t bytes) {
        status.setCaption("Downloaded " + util::decimal(static_cast<long long>(bytes)) + " bytes.");
    };
    status.setCaption(util::fillPlaceholders(ctx_.languages.getMessages("MSG_STATUS_CONNECTING"), {ctx_.languageHost}));
    fetch::FetchResult result = co_await fetch::fetchAsync(ctx_.fetcher, std::move(request));
    status.setCaption("");

    // A download cut short (a stall, a broken connection, the cap) may well
    // hold the marker and would replace a working file with part of one;
    // an error page or a file without a readable language group has nothing
    // to offer either.
    if (!result.whole) {
        const auto error = result.error == fetch::FetchError::None ? fetch::FetchError::Broken : result.error;
        tellUser(util::fillPlaceholders(ctx_.languages.getMessages("MSG_LANGUAGENOTDOWNLOADED"),
                                        {fetchErrorText(ctx_.languages.messages(), error)}));
        co_return;
    }
    // An error page is no language file, whatever it happens to hold.
    if (result.head.status >= 400) {
        tellUser(
            util::fillPlaceholders(ctx_.languages.getMessages("MSG_LANGUAGENOTDOWNLOADED"),
                                   {util::fillPlaceholders(ctx_.languages.messages().fragment("MSG_REASON_HTTPERROR"),
                                                           {util::decimal(result.head.status)})}));
        co_return;
    }
    std::string body = std::move(result.body);
    const std::size_t lt = body.find('<');
    if (lt != std::string::npos && lt != 0) body.erase(0, lt);
    body += formats::kCrLf;
    const std::string text = util::joinCrLf(util::readLines(formats::withoutBom(body)));
    if (!util::icontains(body, "<TRANSLATION_ITEMS>") || !holdsALanguage(text)) {
        tellUser(util::fillPlaceholders(ctx_.languages.getMessages("MSG_LANGUAGENOTDOWNLOADED"),
                                        {ctx_.languages.messages().fragment("MSG_REASON_NOLANGUAGE")}));
        co_return;
    }

    std::string error;
    if (!util::writeFileAtomic(ctx_.languages.localizationFile(), body, &error)) {
        std::string message = ctx_.languages.getMessages("MSG_LANGUAGENOTSAVED");
        if (!error.empty()) message += "\n\n" + error;
        tellUser(message);
        co_return;
    }
    FillLanguageList();
    tellUser(ctx_.languages.getMessages("MSG_DOWNLOADED"));
}

void LanguagePicker::close() {
    download_.cancel();
    form().downloadStatus->setCaption("");
    ctx_.windows.unload(form());
}

void LanguagePicker::tellUser(const std::string& text) {
    ctx_.dialogs.messageBox(text, ctx_.appTitle, platform::Buttons::OK);
}

void LanguagePicker::openFileForTranslation() {
    if (!fileExists()) return;
    ctx_.shell.open(ctx_.languages.localizationFile().string());
}

}  // namespace cd::localization
