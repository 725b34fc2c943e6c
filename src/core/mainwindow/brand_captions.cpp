#include "mainwindow/brand_captions.h"

#include "util/text.h"

namespace cd::mainwindow {

void ApplyBrandCaptions(ui::MainWindow& form, const localization::MessageTable& messages, const std::string& website) {
    form.setCaption(messages.getMessages("MSG_MAINCAPTION"));
    form.websiteButton->setCaption(util::fillPlaceholders(messages.getMessages("MSG_VISITWEBSITE"), {website}));
}

}  // namespace cd::mainwindow
