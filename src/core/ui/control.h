#pragma once
// A control of the window model: what the program's logic reads and writes
// of a widget, with no toolkit behind it. The Qt shell shows it and forwards
// events; tests drive it directly.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/change.h"
#include "ui/signal.h"

namespace cd::ui {

/// How the shell turns a control's texts into Unicode. Captions are UTF-8
/// (they come from the localization file); texts that hold catalogue, page
/// or favourites bytes stay in the single-byte code page until shown.
enum class TextKind { Utf8, CodePage };

class Control {
public:
    Control(std::string typeName, std::string name, std::optional<int> index = std::nullopt);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& typeName() const { return typeName_; }
    const std::string& name() const { return name_; }
    /// Control-array index; empty for a control that is not in an array.
    std::optional<int> index() const { return index_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    const std::string& text() const { return text_; }
    void setText(std::string text);

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void setLeft(int v);
    void setTop(int v);
    void setWidth(int v);
    void setHeight(int v);
    void move(int left, int top, int width, int height);

    /// Name of the frame, picture box or parent menu that holds the control;
    /// empty for the window itself.
    const std::string& container() const { return container_; }
    void setContainer(std::string container);

    /// Background and text colours as 0x00BBGGRR values; empty until the
    /// program sets one, which leaves the shell's own look.
    std::optional<std::int32_t> backColor() const { return backColor_; }
    std::optional<std::int32_t> foreColor() const { return foreColor_; }
    /// False, and nothing changes, when this kind of control carries no such
    /// colour (a component without the property).
    virtual bool setBackColor(std::int32_t colour);
    virtual bool setForeColor(std::int32_t colour);

    TextKind textKind() const { return textKind_; }
    void setTextKind(TextKind kind) { textKind_ = kind; }

    // What the user did, as the shell reports it. The model has already
    // taken the input (typed text, check state, selection) when one fires.
    /// A button, label, picture, check box or menu entry clicked; an entry
    /// picked from a combo box.
    Signal<> clicked;
    /// Text typed into a text box or combo box; a drive picked.
    Signal<> changed;
    /// A key pressed in a text box (13: Enter).
    Signal<int> keyPressed;
    /// A window timer's interval passed.
    Signal<> ticked;

    /// Listener ids are never reused; unsubscribe with the id subscribe gave.
    int subscribe(Listener listener);
    void unsubscribe(int id);

protected:
    void notify(Change what, int first = 0, int count = 0);

private:
    std::string typeName_;
    std::string name_;
    std::optional<int> index_;
    std::string caption_;
    std::string text_;
    bool visible_ = true;
    bool enabled_ = true;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::string container_;
    std::optional<std::int32_t> backColor_;
    std::optional<std::int32_t> foreColor_;
    TextKind textKind_ = TextKind::Utf8;
    std::vector<std::pair<int, Listener>> listeners_;
    int nextListenerId_ = 1;
};

}  // namespace cd::ui
