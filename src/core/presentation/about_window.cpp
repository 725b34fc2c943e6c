#include "presentation/about_window.h"

#include "presentation/skin.h"
#include "util/text.h"

namespace cd::presentation {

std::string VersionText(const BrandValues& brand) {
    return util::decimal(brand.versionMajor) + "." + util::decimal(brand.versionMinor);
}

AboutWindow::AboutWindow(ui::FrmAbout& form, const ProgramValues& program, WindowRegions* regions)
    : form_(form), program_(program), regions_(regions) {}

void AboutWindow::Form_Load() {
    const BrandValues& brand = program_.brand;
    form_.setCaption("About " + brand.productName);
    form_.Label1->setCaption(brand.productName);
    form_.lblCompany->setCaption(brand.companyName);
    form_.lblVersion->setCaption(VersionText(brand));
    form_.lblWebsite->setCaption(brand.website);
    SkinWindowAtLoad(form_, program_, false, regions_);
}

}  // namespace cd::presentation
