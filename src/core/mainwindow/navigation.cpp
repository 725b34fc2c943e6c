#include "mainwindow/navigation.h"

#include "catalogue/language_setting.h"

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

Navigation::Navigation(ui::MainWindow& form, catalogue::NavigationState& state, catalogue::CategoryView& categoryView,
                       platform::SettingsStore& settings, platform::Dialogs& dialogs,
                       playback::PlaybackController& playback, NavigationHooks hooks)
    : form_(form),
      state_(state),
      categoryView_(categoryView),
      settings_(settings),
      dialogs_(dialogs),
      playback_(playback),
      hooks_(std::move(hooks)) {
    ui::MainWindow& w = form_;
    w.tvButton->clicked.connect([this] { showTv(); });
    w.radioButton->clicked.connect([this] { showRadio(); });
    w.videoButton->clicked.connect([this] { showVideo(); });
    w.favouritesButton->clicked.connect([this] { showFavourites(); });
    w.myFilesButton->clicked.connect([this] { showMyFiles(); });
    w.sportsButton->clicked.connect([this] { openSports(); });
    w.extrasButton->clicked.connect([this] { openExtras(); });
    w.adultButton->clicked.connect([this] { showAdultAfterConsent(); });
    w.videoSiteButton->clicked.connect([this] { openVideoSite(); });
    w.websiteButton->clicked.connect([this] { openWebsite(); });
    for (std::size_t i = 0; i < w.categoryMenuItems.size(); ++i)
        w.categoryMenuItems[i]->clicked.connect([this, i] { chooseCategoryMenuItem(static_cast<int>(i)); });
    w.channelList->itemClicked.connect([this](int) { playSelectedChannel(); });
}

void Navigation::showOnly(ui::Control* frame) {
    for (ui::Control* f : {form_.channelPanel, form_.favouritesPanel, form_.filesPanel, form_.videoSitePanel})
        f->setVisible(f == frame);
}

void Navigation::switchCategory(const std::string& category) {
    showOnly(form_.channelPanel);
    form_.videoPage->setVisible(false);
    form_.player->setVisible(true);
    state_.currentCategory = category;
    form_.channelList->clear();
    state_.currentLanguage = settings_.get(catalogue::languageSettingFor(category).key, "English");
    state_.languageRefresh = true;
    categoryView_.LoadCategory();
}

void Navigation::showFavourites() {
    showOnly(form_.favouritesPanel);
    form_.videoPage->setVisible(false);
    form_.player->setVisible(true);
}

void Navigation::showMyFiles() {
    showOnly(form_.filesPanel);
    form_.videoPage->setVisible(false);
    form_.player->setVisible(true);
}

void Navigation::openSports() {
    // The video tab with its sports listing: the kind box says which.
    form_.videoKindBox->setText(kSportsListing);
    openVideoSite();
}

void Navigation::openExtras() { openWebsite(); }

void Navigation::openWebsite() {
    if (hooks_.openWebsite) hooks_.openWebsite("Website");
}

void Navigation::showAdultAfterConsent() {
    const auto answer = dialogs_.messageBox(AdultConsentText(), kAdultConsentTitle, platform::Buttons::OKCancel);
    if (answer != platform::Answer::OK) return;
    switchCategory("XXX");
}

void Navigation::openVideoSite() {
    if (hooks_.openVideoTab) hooks_.openVideoTab();
}

void Navigation::chooseCategoryMenuItem(int index) {
    switch (index) {
        case 0:
            showTv();
            break;
        case 1:
            showRadio();
            break;
        case 2:
            showVideo();
            break;
        case 3:
            showFavourites();
            break;
        case 4:
            showMyFiles();
            break;
        case 5:
            openSports();
            break;
        case 6:
            openExtras();
            break;
        case 7:
            showAdultAfterConsent();
            break;
        case 8:
            openVideoSite();
            break;
        default:
            break;
    }
}

void Navigation::playSelectedChannel() {
    form_.offlinePicture->setVisible(false);
    const int selected = form_.channelList->selectedIndex();
    if (selected < 0) return;  // nothing may be played or reported without a channel
    if (state_.editorMode && hooks_.editorSelectRow) hooks_.editorSelectRow();
    if (form_.dontLoadWhileEditingCheck->checked()) return;
    // Name and address straight from the row's record: a whole row copied
    // out would be the channel's every field read for two of them.
    const ui::ListView& list = *form_.channelList;
    playback_.playChannel(std::string(list.text(selected)), list.tag(selected), "");
}

}  // namespace cd::mainwindow
