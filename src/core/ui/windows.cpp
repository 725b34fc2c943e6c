#include "ui/windows.h"

#include <algorithm>

namespace cd::ui {

void Windows::load(Form& form) {
    if (!isLoaded(form)) loaded_.push_back(&form);
}

void Windows::unload(Form& form) {
    std::erase(loaded_, &form);
    form.setVisible(false);
}

bool Windows::isLoaded(const Form& form) const {
    return std::find(loaded_.begin(), loaded_.end(), &form) != loaded_.end();
}

void Windows::loadAll() {
    for (Form* f : std::initializer_list<Form*>{&splashWindow, &mainWindow, &languageWindow, &aboutWindow, &helpWindow,
                                                &websiteWindow})
        load(*f);
}

}  // namespace cd::ui
