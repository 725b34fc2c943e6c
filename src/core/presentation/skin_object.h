#pragma once
// The skinning component as the program uses it: three colours to read (and
// a fourth value read with them and not used) and one call that skins a
// window. The component is outside this program; with the skinning flag off,
// as this build has it, nothing calls it.
#include <cstdint>
#include <optional>

#include "ui/form.h"

namespace cd::presentation {

class SkinObject {
public:
    virtual ~SkinObject() = default;
    /// Colours of the loaded skin as 0x00BBGGRR; empty when the component
    /// cannot give the value.
    virtual std::optional<std::int32_t> backgroundColour() = 0;
    virtual std::optional<std::int32_t> textColour() = 0;
    virtual std::optional<std::int32_t> pictureColour() = 0;
    /// The fourth value the component reports beside the colours.
    virtual std::optional<std::int32_t> extraValue() = 0;
    /// Skins a window. The model window stands for its handle: whoever
    /// implements this finds the native window the shell made for it.
    /// False when the window could not be skinned.
    virtual bool attach(const ui::Form& window) = 0;
};

/// A rectangle in a window's own units (twips for every window here).
struct WindowRegion {
    int left = 0, top = 0, right = 0, bottom = 0;
};

/// Clips a window to a region; the shell turns twips into pixels.
class WindowRegions {
public:
    virtual ~WindowRegions() = default;
    virtual void setWindowRegion(const ui::Form& window, WindowRegion region, bool repaint) = 0;
};

}  // namespace cd::presentation
