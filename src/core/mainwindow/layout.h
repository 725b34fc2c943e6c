#pragma once
// The main window's layout: the edition's extra buttons, and the routine that
// stretches the video area, the four panels and their lists to the window's
// size. Every size the routine computes from a difference is taken as its
// absolute value, so a window smaller than the fixed margins still gives
// positive sizes.
#include <string>

#include "ui/main_window.h"

namespace cd::mainwindow {

/// The company name that builds the edition with Live Sports, Extras and Adult.
inline constexpr const char* kFullEditionCompany = "Quenmark Software";

/// Start-up's edition step: for exactly kFullEditionCompany (letter case and
/// blanks count) shows sportsButton, extrasButton, adultButton and the Categories menu
/// entries 5 to 7, and moves websiteButton 60 twips right of adultButton; for any
/// other name the six stay hidden and websiteButton stays.
void ApplyEditionButtons(ui::MainWindow& form, const std::string& companyName);

/// The layout: from the window's outer size, the video area's size; the
/// video page on the video area; the offline picture centred on it; the
/// panels 140 twips (plus bannerHeight while the banner is shown) taller
/// than the video area, all four on channelPanel's rectangle; the lists and the
/// file browser stretched inside them; the website button to the right
/// margin. Nothing else moves.
void LayoutMainWindow(ui::MainWindow& form, bool bannerShown, int bannerHeight);

/// The window's resize event: the shell calls it on every resize and once
/// when the window is first shown. A minimised window is left as it is.
void resizeMainWindow(ui::MainWindow& form, bool minimised, bool bannerShown, int bannerHeight);

}  // namespace cd::mainwindow
