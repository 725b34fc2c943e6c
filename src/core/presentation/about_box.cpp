#include "presentation/about_box.h"

#include "presentation/skin.h"
#include "util/text.h"

namespace cd::presentation {

std::string VersionText(const BrandValues& brand) {
    return util::decimal(brand.versionMajor) + "." + util::decimal(brand.versionMinor);
}

AboutBox::AboutBox(ui::AboutWindow& form, const ProgramValues& program, WindowRegions* regions)
    : form_(form), program_(program), regions_(regions) {}

void AboutBox::load() {
    const BrandValues& brand = program_.brand;
    form_.setCaption("About " + brand.productName);
    form_.productLabel->setCaption(brand.productName);
    form_.companyValue->setCaption(brand.companyName);
    form_.versionValue->setCaption(VersionText(brand));
    form_.websiteValue->setCaption(brand.website);
    SkinWindowAtLoad(form_, program_, false, regions_);
}

}  // namespace cd::presentation
