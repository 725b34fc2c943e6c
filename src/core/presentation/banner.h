#pragma once
// The banner above the player: the banner browser sits in a borderless box
// a little narrower than itself, so the page's right edge (where its scroll
// bar would be) is cut off.
#include "platform/browser.h"
#include "presentation/brand_values.h"
#include "ui/main_window.h"

namespace cd::presentation {

/// How much of the banner's right edge the box hides: 280 twips, or 20 in a
/// window measured in pixels.
inline constexpr int kBannerClipTwips = 280;
inline constexpr int kBannerClipPixels = 20;

/// ShowBanner: adds the picture box "picBox" at run time (once; a second call
/// reuses it) at banner's place, as high as banner and narrower by the
/// clip, moves banner into it at 0, 0 with its full size, shows both,
/// hides bannerPicture and navigates banner to the banner address. picBox has
/// no border, as every picture box of the window model. Returns picBox.
ui::Control& ShowBanner(ui::MainWindow& form, platform::Browser& wbBanner, const BrandValues& brand,
                        bool scaleIsPixels);

}  // namespace cd::presentation
