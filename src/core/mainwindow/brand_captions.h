#pragma once
// The main window's caption and website button, which name the brand. Their
// texts are messages, so the language applied at start-up translates them
// like every other caption.
#include <string>

#include "localization/message_table.h"
#include "ui/main_window.h"

namespace cd::mainwindow {

/// Sets the window caption from "MSG_MAINCAPTION" and the website button
/// from "MSG_VISITWEBSITE" with website for %1, both in the current
/// language with the brand's names filled in.
void ApplyBrandCaptions(ui::MainWindow& form, const localization::MessageTable& messages, const std::string& website);

}  // namespace cd::mainwindow
