#include "presentation/banner.h"

#include <memory>

namespace cd::presentation {

ui::Control& ShowBanner(ui::MainWindow& form, platform::Browser& wbBanner, const BrandValues& brand,
                        bool scaleIsPixels) {
    ui::Control* box = form.find("picBox");
    if (!box) {
        // Made hidden and added before it is placed, so the shell creates the
        // widget first and then follows each change like any other control's.
        auto created = std::make_unique<ui::Control>("PictureBox", "picBox");
        created->setVisible(false);
        box = &form.add(std::move(created));
    }
    ui::Control& banner = *form.banner;
    // A second call finds the banner in its box already; placing the box at
    // the banner's (now inner) position would move it to the window's corner.
    if (banner.container() != "picBox") {
        const int clip = scaleIsPixels ? kBannerClipPixels : kBannerClipTwips;
        box->setContainer(banner.container());
        box->move(banner.left(), banner.top(), banner.width() - clip, banner.height());
        banner.setContainer("picBox");
        banner.move(0, 0, banner.width(), banner.height());
    }

    box->setVisible(true);
    banner.setVisible(true);
    form.bannerPicture->setVisible(false);
    wbBanner.navigate(brand.bannerAddress);
    return *box;
}

}  // namespace cd::presentation
