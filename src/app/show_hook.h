#pragma once
// Runs a function each time a widget is about to show.
#include <QWidget>
#include <functional>

namespace cd::app {

/// action runs before widget shows, every time; it goes with the widget.
void OnShow(QWidget* widget, std::function<void()> action);

}  // namespace cd::app
