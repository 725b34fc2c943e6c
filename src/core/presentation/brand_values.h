#pragma once
// The program-wide brand values and presentation switches. They are set once
// per start-up from the version information of this build (and again by the
// website window, which reads them fresh); every window reads the same copy.
#include <string>

#include "platform/configuration.h"

namespace cd::presentation {

struct BrandValues {
    std::string productName;    // "[ProgramName]", captions
    std::string companyName;    // "[CompanyName]", caption, edition test
    std::string website;        // "[Website]", website window and button
    int productNumber = 0;      // language download address
    bool bannerFlag = false;    // the banner is shown above the player
    std::string bannerAddress;  // the page the banner browser shows
    bool skinning = false;      // windows apply the skin when true
    // What the about window shows as the version.
    int versionMajor = 0;
    int versionMinor = 0;
};

/// The product number the language server knows this program by.
inline constexpr int kProductNumber = 26;

/// The brand values of this build: names and website from version,
/// product number 26, banner on at "http://" + bannerHost + "/banner.html",
/// skinning off.
BrandValues MakeBrandValues(const platform::VersionInfo& version, const std::string& bannerHost);

}  // namespace cd::presentation
