#pragma once
// A window of the window model: its name and caption, its size in twips,
// and its controls in the fixed control order that the localization writer
// and reader walk.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/change.h"
#include "ui/control.h"

namespace cd::ui {

struct Geometry {
    int left = 0, top = 0, width = 0, height = 0;
};

class Form {
public:
    Form(std::string name, std::string caption);
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    bool visible() const { return visible_; }
    void setVisible(bool visible);

    /// Outer size of the window in twips (borders and title bar included).
    int width() const { return width_; }
    int height() const { return height_; }
    void resize(int width, int height);
    /// The smallest outer size the user may give the window, in twips; 0
    /// leaves that side free.
    int minimumWidth() const { return minWidth_; }
    int minimumHeight() const { return minHeight_; }
    void setMinimumSize(int width, int height);

    /// The button that Return or Enter presses when nothing in the window
    /// takes the key itself; null for none.
    Control* defaultButton() const { return defaultButton_; }
    void setDefaultButton(Control* button) { defaultButton_ = button; }

    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    /// The control of that name (and array index, when given); null when none.
    Control* find(const std::string& name, std::optional<int> index = std::nullopt) const;

    /// Adds a control at the end of the control order.
    template <typename T>
    T& add(std::unique_ptr<T> control) {
        T& ref = *control;
        controls_.push_back(std::move(control));
        notifyForm(Change::ControlAdded);
        return ref;
    }

    /// Listens to the window's own changes and to every control's, now and
    /// later added ones; the control argument is null for the window itself.
    void subscribeAll(Listener listener);

protected:
    /// Builds a plain control (label, button, frame, menu, picture, ...).
    Control& addPlain(const std::string& type, const std::string& name, const std::string& caption,
                      const std::string& container = {}, Geometry g = {}, std::optional<int> index = std::nullopt,
                      bool visible = true);
    template <typename T>
    T& place(std::unique_ptr<T> c, const std::string& container, Geometry g, bool visible = true) {
        c->setContainer(container);
        c->move(g.left, g.top, g.width, g.height);
        c->setVisible(visible);
        return add(std::move(c));
    }

private:
    void notifyForm(Change what);

    std::string name_;
    std::string caption_;
    bool visible_ = false;
    int width_ = 0, height_ = 0;
    int minWidth_ = 0, minHeight_ = 0;
    Control* defaultButton_ = nullptr;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<Listener> formListeners_;
};

}  // namespace cd::ui
