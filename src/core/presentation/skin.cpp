#include "presentation/skin.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>
#include <vector>

namespace cd::presentation {

namespace {

// Which colours each kind of control takes from the skin.
enum class Paint { Nothing, BackOnly, BackAndText, Picture };

Paint paintFor(const std::string& type) {
    static constexpr std::array<std::string_view, 7> kBoxes = {"TextBox",      "ComboBox", "FileListBox", "DirListBox",
                                                               "DriveListBox", "ListBox",  "ListView"};
    if (type == "CommandButton") return Paint::BackOnly;
    if (type == "PictureBox") return Paint::Picture;
    for (const auto box : kBoxes)
        if (type == box) return Paint::BackAndText;
    return Paint::Nothing;
}

constexpr const char* kSkinLabelArray = "SkinLabel1";

}  // namespace

void ApplySkin(ui::Form& window, SkinObject* skin, bool skinningFlag, WindowRegions* regions) {
    if (skin) {
        const auto background = skin->backgroundColour();
        const auto text = skin->textColour();
        const auto picture = skin->pictureColour();
        (void)skin->extraValue();  // read with the colours, as the component expects; not used
        // Colouring with values the skin could not give would paint the
        // window black, so without all three the colours stay as they are.
        if (background && text && picture) SetSkinColours(window, *background, *text, *picture);
    }
    if (IsVistaOrLater() && skinningFlag && regions) SetFullWindowRegion(window, *regions);
    if (skin) (void)skin->attach(window);
}

bool SetSkinColours(ui::Form& window, std::int32_t background, std::int32_t text, std::int32_t picture) {
    for (const auto& control : window.controls()) {
        switch (paintFor(control->typeName())) {
            case Paint::Nothing:
                break;
            case Paint::BackOnly:
                if (!control->setBackColor(background)) return false;
                break;
            case Paint::BackAndText:
                if (!control->setBackColor(background)) return false;
                if (!control->setForeColor(text)) return false;
                break;
            case Paint::Picture:
                if (!control->setBackColor(picture)) return false;
                break;
        }
    }
    return true;
}

bool IsVistaOrLater() {
    // The skins' full-window region was a need of one family of systems,
    // told apart by their version record; this desktop is none of them.
    return false;
}

void SetFullWindowRegion(const ui::Form& window, WindowRegions& regions) {
    // The region is given in the window's own units so it covers exactly the
    // whole window; the shell converts it to pixels.
    regions.setWindowRegion(window, WindowRegion{0, 0, window.width(), window.height()}, true);
}

int AddSkinLabels(ui::Form& window, bool sameContainerOnly) {
    const ui::Control* first = window.find(kSkinLabelArray, 0);
    if (!first) return 0;
    const std::string container = first->container();

    int highest = 0;
    std::vector<const ui::Control*> labels;
    for (const auto& c : window.controls()) {
        if (c->name() == kSkinLabelArray && c->index()) highest = std::max(highest, *c->index());
        if (c->typeName() != "Label") continue;
        if (sameContainerOnly && c->container() != container) continue;
        labels.push_back(c.get());
    }
    // Collected first: adding controls while walking the list would move it.
    for (const ui::Control* label : labels) {
        auto skinLabel = std::make_unique<ui::Control>("SkinLabel", kSkinLabelArray, ++highest);
        skinLabel->setContainer(container);
        skinLabel->move(label->left(), label->top(), label->width(), label->height());
        skinLabel->setCaption(label->caption());
        skinLabel->setVisible(label->visible());
        window.add(std::move(skinLabel));
    }
    return static_cast<int>(labels.size());
}

void SkinWindowAtLoad(ui::Form& window, const ProgramValues& program, bool mainWindowRule, WindowRegions* regions) {
    if (!program.brand.skinning) return;
    AddSkinLabels(window, mainWindowRule);
    ApplySkin(window, program.skin, program.brand.skinning, regions);
}

}  // namespace cd::presentation
