#pragma once
// The about window: product, company, version and website from the brand
// values. No language is applied to it; it always shows these texts.
#include <string>

#include "presentation/program_values.h"
#include "presentation/skin_object.h"
#include "ui/frm_about.h"

namespace cd::presentation {

/// "major.minor" of the version, without the revision.
std::string VersionText(const BrandValues& brand);

class AboutWindow {
public:
    AboutWindow(ui::FrmAbout& form, const ProgramValues& program, WindowRegions* regions = nullptr);

    /// Load: caption "About " + product name; Label1 the product name,
    /// lblCompany the company, lblVersion "major.minor", lblWebsite the
    /// website; with skinning on, skin labels over the plain labels and the
    /// skin applied.
    void Form_Load();

private:
    ui::FrmAbout& form_;
    const ProgramValues& program_;
    WindowRegions* regions_;
};

}  // namespace cd::presentation
