#include "ui/control.h"

#include <algorithm>

namespace cd::ui {

Control::Control(std::string typeName, std::string name, std::optional<int> index)
    : typeName_(std::move(typeName)), name_(std::move(name)), index_(index) {}

void Control::setCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    notify(Change::Caption);
}

void Control::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    notify(Change::Text);
}

void Control::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    notify(Change::Visible);
}

void Control::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    notify(Change::Enabled);
}

void Control::setLeft(int v) { move(v, top_, width_, height_); }
void Control::setTop(int v) { move(left_, v, width_, height_); }
void Control::setWidth(int v) { move(left_, top_, v, height_); }
void Control::setHeight(int v) { move(left_, top_, width_, v); }

void Control::move(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    notify(Change::Geometry);
}

void Control::setContainer(std::string container) {
    container_ = std::move(container);
    notify(Change::Geometry);
}

bool Control::setBackColor(std::int32_t colour) {
    if (backColor_ != colour) {
        backColor_ = colour;
        notify(Change::Colours);
    }
    return true;
}

bool Control::setForeColor(std::int32_t colour) {
    if (foreColor_ != colour) {
        foreColor_ = colour;
        notify(Change::Colours);
    }
    return true;
}

int Control::subscribe(Listener listener) {
    const int id = nextListenerId_++;
    listeners_.emplace_back(id, std::move(listener));
    return id;
}

void Control::unsubscribe(int id) {
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void Control::notify(Change what, int first, int count) {
    if (listeners_.empty()) return;
    const ChangeEvent event{what, first, count};
    // A listener may unsubscribe while being called; walk a copy.
    const auto listeners = listeners_;
    for (const auto& [id, listener] : listeners) listener(this, event);
}

}  // namespace cd::ui
