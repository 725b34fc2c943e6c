#include "mainwindow/layout.h"

#include <cstdlib>

namespace cd::mainwindow {

namespace {

// Margins the layout keeps, in twips.
constexpr int kRightMargin = 600;
constexpr int kBottomMargin = 1000;
constexpr int kPanelBelowVideo = 140;
constexpr int kGap = 60;
constexpr int kFileBrowserReserve = 600;
constexpr int kEditionGap = 60;
constexpr int kStatusGap = 45;

}  // namespace

void ApplyEditionButtons(ui::Form1& form, const std::string& companyName) {
    const bool full = companyName == kFullEditionCompany;
    for (ui::Control* c : {form.cmdSports, form.cmdExtras, form.cmdXXX}) c->setVisible(full);
    for (int i = 5; i <= 7; ++i) form.mnuCatItem[static_cast<std::size_t>(i)]->setVisible(full);
    if (full) form.cmdWebsite->setLeft(form.cmdXXX->left() + form.cmdXXX->width() + kEditionGap);
}

void LayoutMainWindow(ui::Form1& f, bool bannerShown, int bannerHeight) {
    ui::Control& video = *f.WindowsMediaPlayer1;
    video.setWidth(std::abs(f.width() - video.left() - kRightMargin));
    video.setHeight(std::abs(f.height() - video.top() - kBottomMargin));

    f.wbyoutube->move(video.left(), video.top(), video.width(), video.height());
    // The status line sits in the margin below the player.
    f.PlayerStatus->move(video.left(), video.top() + video.height() + kStatusGap, video.width(),
                         f.PlayerStatus->height());

    ui::Control& offline = *f.imgOffline;
    offline.setTop(std::abs(video.height() / 2 - offline.height() / 2 + video.top()));
    offline.setLeft(std::abs(video.width() / 2 - offline.width() / 2 + video.left()));

    // Start-up moved the video area down by the banner's height; adding it
    // back here keeps the panels ending just below the video area.
    ui::Control& panel = *f.Frame1;
    int panelHeight = video.height() + kPanelBelowVideo;
    if (bannerShown) panelHeight += bannerHeight;
    panel.setHeight(panelHeight);
    for (ui::Control* other : {f.Frame3, f.Frame4, f.Frame5})
        other->move(panel.left(), panel.top(), panel.width(), panel.height());

    ui::ListView& channels = *f.ListView1;
    channels.setHeight(std::abs(panel.height() - channels.top() - kGap));
    f.ListView2->move(channels.left(), channels.top(), channels.width(), channels.height());

    ui::ListView& videos = *f.ListView3;
    ui::Control& status = *f.txtStatus;
    videos.setHeight(std::abs(f.ListView2->height() - status.height() - kGap));
    status.setTop(videos.height() + videos.top() + kGap);

    ui::ListBox& dirs = *f.Dir1;
    ui::ListBox& files = *f.File1;
    dirs.setHeight(std::abs((f.Frame4->height() - dirs.top() - kFileBrowserReserve) / 2));
    files.move(files.left(), std::abs(dirs.height() + dirs.top() + kGap), files.width(), dirs.height());

    ui::Control& website = *f.cmdWebsite;
    website.setWidth(std::abs(f.width() - website.left() - kRightMargin));
}

void Form_Resize(ui::Form1& form, bool minimised, bool bannerShown, int bannerHeight) {
    if (minimised) return;
    LayoutMainWindow(form, bannerShown, bannerHeight);
}

}  // namespace cd::mainwindow
