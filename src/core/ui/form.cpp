#include "ui/form.h"

namespace cd::ui {

Form::Form(std::string name, std::string caption) : name_(std::move(name)), caption_(std::move(caption)) {}

void Form::setCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    notifyForm(Change::Caption);
}

void Form::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    notifyForm(Change::Visible);
}

void Form::resize(int width, int height) {
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    notifyForm(Change::Geometry);
}

void Form::setMinimumSize(int width, int height) {
    if (width == minWidth_ && height == minHeight_) return;
    minWidth_ = width;
    minHeight_ = height;
    notifyForm(Change::Geometry);
}

Control* Form::find(const std::string& name, std::optional<int> index) const {
    for (const auto& c : controls_) {
        if (c->name() != name) continue;
        if (index && c->index() != index) continue;
        return c.get();
    }
    return nullptr;
}

void Form::subscribeAll(Listener listener) {
    formListeners_.push_back(listener);
    for (const auto& c : controls_) c->subscribe(listener);
}

Control& Form::addPlain(const std::string& type, const std::string& name, const std::string& caption,
                        const std::string& container, Geometry g, std::optional<int> index, bool visible) {
    auto c = std::make_unique<Control>(type, name, index);
    c->setCaption(caption);
    return place(std::move(c), container, g, visible);
}

void Form::notifyForm(Change what) {
    if (what == Change::ControlAdded && !controls_.empty()) {
        for (const auto& l : formListeners_) controls_.back()->subscribe(l);
    }
    const auto listeners = formListeners_;
    for (const auto& l : listeners) l(nullptr, ChangeEvent{what});
}

}  // namespace cd::ui
