#pragma once
// What the main window's size means beyond the stretched areas: how much of
// a width beyond the start width the channel panels get, and the smallest
// size at which every control can still be reached.
#include "ui/main_window.h"

namespace cd::mainwindow {

/// The outer width the window starts with, in twips.
inline constexpr int kStartWindowWidth = ui::MainWindow::kClientWidth + 240;

/// Of the width beyond kStartWindowWidth, the part the channel panels take
/// (the player gets the rest): two fifths, nothing in a narrower window.
int PanelShareOfExtraWidth(int windowWidth);

/// Widens the four panels, their lists and status box by that share, keeps
/// the panels' buttons at the panels' right edge, and moves the player, the
/// banner, the banner picture and the editor panel right by it. Runs before
/// the video area is stretched, which then starts from the moved player.
void ShareExtraWidth(ui::MainWindow& form);

/// The smallest outer size (twips) at which the category buttons, the
/// website button, the panels' controls and, in editor mode, the whole
/// editor panel stay inside the window and usable.
struct MinimumSize {
    int width = 0;
    int height = 0;
};
MinimumSize MinimumMainWindowSize(const ui::MainWindow& form, bool bannerShown, int bannerHeight);

}  // namespace cd::mainwindow
