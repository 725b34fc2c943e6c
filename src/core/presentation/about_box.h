#pragma once
// The about window: product, company, version and website from the brand
// values. No language is applied to it; it always shows these texts.
#include <string>

#include "presentation/program_values.h"
#include "presentation/skin_object.h"
#include "ui/about_window.h"

namespace cd::presentation {

/// "major.minor" of the version, without the revision.
std::string VersionText(const BrandValues& brand);

class AboutBox {
public:
    AboutBox(ui::AboutWindow& form, const ProgramValues& program, WindowRegions* regions = nullptr);

    /// Load: caption "About " + product name; productLabel the product name,
    /// companyValue the company, versionValue "major.minor", websiteValue the
    /// website; with skinning on, skin labels over the plain labels and the
    /// skin applied.
    void load();

private:
    ui::AboutWindow& form_;
    const ProgramValues& program_;
    WindowRegions* regions_;
};

}  // namespace cd::presentation
