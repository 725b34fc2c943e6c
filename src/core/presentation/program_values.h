#pragma once
// The few values the whole program shares beside the localization object:
// the brand values and switches, the request word the website window acts
// on, and the skin object the windows borrow. Start-up owns one
// ProgramValues and passes it to every window that reads or writes it;
// nothing reaches it through a global.
#include <string>

#include "platform/configuration.h"
#include "presentation/brand_values.h"

namespace cd::presentation {

class SkinObject;

struct ProgramValues {
    BrandValues brand;
    /// "Website", "Sports" or "Extras", set by the main window's buttons
    /// before the website window loads; the website window clears it.
    std::string websiteRequest;
    /// The skin every window borrows: the splash window's skin holder, once
    /// the splash has made it the skin object (only with skinning on).
    SkinObject* skin = nullptr;
};

/// SetBrandValues: fills program.brand from the build's version information
/// and banner host. Running it again gives the same values.
void SetBrandValues(ProgramValues& program, const platform::Configuration& config);

}  // namespace cd::presentation
