#pragma once
// Brand values and host names of this build, with run-time overrides. Every
// network host is configuration so tests can point it at a loopback server.
#include <string>
#include <vector>

namespace cd::platform {

struct Hosts {
    std::string catalogue;      // receives reports: /webtv/getData.asp
    std::string language;       // serves /Languages/26/Localization.txt
    std::string banner;         // serves /banner.html
    std::string video;          // listing pages
    std::string videoRegional;  // search pages
    std::string videoPlayer;    // embedded player: /embed/ID
};

/// What the version information of the program file carried.
struct VersionInfo {
    std::string productName;
    std::string companyName;
    std::string website;  // the comments field
    int major = 0, minor = 0, patch = 0;
};

struct Configuration {
    Hosts hosts;
    VersionInfo version;
    std::string dataDir;  // --data-dir; empty when not given
    /// Where on the catalogue host the owner's export is published.
    std::string catalogueListPath = "/webtv/Data.htm";

    /// The build's defaults.
    static Configuration defaults();
    /// Overrides from CHANNELDECK_* environment variables (CHANNELDECK_CATALOGUE_HOST,
    /// CHANNELDECK_LANGUAGE_HOST, CHANNELDECK_BANNER_HOST, CHANNELDECK_VIDEO_HOST,
    /// CHANNELDECK_VIDEO_REGIONAL_HOST, CHANNELDECK_VIDEO_PLAYER_HOST,
    /// CHANNELDECK_COMPANY_NAME, CHANNELDECK_DATA_DIR,
    /// CHANNELDECK_CATALOGUE_LIST_PATH).
    void applyEnvironment();
    /// Takes the options of the same names from args (--catalogue-host H,
    /// --company-name N, --data-dir D, ...; also --name=value) and returns the
    /// arguments it did not take, in order. error is set for an option that
    /// lacks its value.
    std::vector<std::string> applyArguments(const std::vector<std::string>& args, std::string* error = nullptr);

    /// Usage lines for the options above.
    static std::string optionsHelp();
};

}  // namespace cd::platform
