#include "presentation/brand_values.h"

namespace cd::presentation {

BrandValues MakeBrandValues(const platform::VersionInfo& version, const std::string& bannerHost) {
    BrandValues b;
    b.productName = version.productName;
    b.companyName = version.companyName;
    b.website = version.website;
    b.productNumber = kProductNumber;
    b.bannerFlag = true;
    b.bannerAddress = "http://" + bannerHost + "/banner.html";
    // The skinning component has no counterpart on this desktop; the windows
    // keep the desktop's own look.
    b.skinning = false;
    b.versionMajor = version.major;
    b.versionMinor = version.minor;
    return b;
}

}  // namespace cd::presentation
