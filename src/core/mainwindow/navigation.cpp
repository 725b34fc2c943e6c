#include "mainwindow/navigation.h"

namespace cd::mainwindow {

std::string AdultConsentText() {
    return "In order to have access to this adult section you must be at least 18 years old or 21 years old, in "
           "some jurisdictions, and your must have the legal right to view adult material in the country from "
           "which you are accessing this section."
           "\r\n\r\n"
           "By the act of entering this adult section you are agreeing, under penalty of purjury, that you are "
           "legal age and that you will not permit any person under the legal age or anyone who may be offended, "
           "to have access to this section."
           "\r\n\r\n"
           "You also agree that you are not offended by nudity or sexually explicit adult images and you are "
           "choosing to view such material."
           "\r\n\r\n"
           "You also agree to be responsible for any violation to your local law and to release and hold "
           "harmless the legal owner of this software, its creators, employees or contractors from any liability "
           "which might arise and to indemnify them from any losses, costs, and expenses incurred by them as a "
           "result of your viewing materials from this adult section.";
}

std::string LanguageKeyFor(const std::string& category) {
    if (category == "TV") return "TVLang";
    if (category == "Radio") return "RadioLang";
    return "VideoLang";  // Video, and the adult category, which has no key of its own
}

Navigation::Navigation(ui::MainWindow& form, catalogue::NavigationState& state, catalogue::CategoryView& categoryView,
                       platform::SettingsStore& settings, platform::Dialogs& dialogs,
                       playback::PlaybackController& playback, NavigationHooks hooks)
    : form_(form),
      state_(state),
      categoryView_(categoryView),
      settings_(settings),
      dialogs_(dialogs),
      playback_(playback),
      hooks_(std::move(hooks)) {}

void Navigation::showOnly(ui::Control* frame) {
    for (ui::Control* f : {form_.channelPanel, form_.favouritesPanel, form_.filesPanel, form_.videoSitePanel}) f->setVisible(f == frame);
}

void Navigation::ChannelCategorySwitch(const std::string& category) {
    showOnly(form_.channelPanel);
    form_.videoPage->setVisible(false);
    form_.player->setVisible(true);
    state_.currentCategory = category;
    form_.channelList->clear();
    state_.currentLanguage = settings_.get(LanguageKeyFor(category), "English");
    state_.languageRefresh = true;
    categoryView_.LoadCategory();
}

void Navigation::cmdFavorites_Click() {
    showOnly(form_.favouritesPanel);
    form_.videoPage->setVisible(false);
    form_.player->setVisible(true);
}

void Navigation::cmdFiles_Click() {
    showOnly(form_.filesPanel);
    form_.videoPage->setVisible(false);
    form_.player->setVisible(true);
}

void Navigation::cmdSports_Click() {
    if (hooks_.openWebsite) hooks_.openWebsite("Sports");
}

void Navigation::cmdExtras_Click() {
    if (hooks_.openWebsite) hooks_.openWebsite("Extras");
}

void Navigation::cmdWebsite_Click() {
    if (hooks_.openWebsite) hooks_.openWebsite("Website");
}

void Navigation::cmdXXX_Click() {
    const auto answer = dialogs_.messageBox(AdultConsentText(), kAdultConsentTitle, platform::Buttons::OKCancel);
    if (answer != platform::Answer::OK) return;
    ChannelCategorySwitch("XXX");
}

void Navigation::cmdYouTube_Click() {
    if (hooks_.openVideoTab) hooks_.openVideoTab();
}

void Navigation::mnuCatItem_Click(int index) {
    switch (index) {
        case 0:
            cmdTV_Click();
            break;
        case 1:
            cmdRadio_Click();
            break;
        case 2:
            cmdVideo_Click();
            break;
        case 3:
            cmdFavorites_Click();
            break;
        case 4:
            cmdFiles_Click();
            break;
        case 5:
            cmdSports_Click();
            break;
        case 6:
            cmdExtras_Click();
            break;
        case 7:
            cmdXXX_Click();
            break;
        case 8:
            cmdYouTube_Click();
            break;
        default:
            break;
    }
}

void Navigation::ListView1_Click() {
    form_.offlinePicture->setVisible(false);
    const ui::ListItem* selected = form_.channelList->selectedItem();
    if (!selected) return;  // nothing may be played or reported without a channel
    if (state_.editorMode && hooks_.editorSelectRow) hooks_.editorSelectRow();
    if (form_.dontLoadWhileEditingCheck->checked()) return;
    playback_.playChannel(selected->text, selected->tag, "");
}

}  // namespace cd::mainwindow
