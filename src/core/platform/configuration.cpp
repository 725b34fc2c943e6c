#include "platform/configuration.h"

#include <cstdlib>
#include <utility>

#include "build_config.h"

namespace cd::platform {

namespace {

struct Option {
    const char* flag;
    const char* env;
    std::string Configuration::*field;
    std::string Hosts::*host;
    std::string VersionInfo::*brand;
    const char* help;
};

std::string* target(Configuration& c, const Option& o) {
    if (o.field) return &(c.*o.field);
    if (o.host) return &(c.hosts.*o.host);
    return &(c.version.*o.brand);
}

const Option kOptions[] = {
    {"--catalogue-host", "CHANNELDECK_CATALOGUE_HOST", nullptr, &Hosts::catalogue, nullptr, "catalogue server host"},
    {"--language-host", "CHANNELDECK_LANGUAGE_HOST", nullptr, &Hosts::language, nullptr, "language server host"},
    {"--banner-host", "CHANNELDECK_BANNER_HOST", nullptr, &Hosts::banner, nullptr, "banner server host"},
    {"--video-host", "CHANNELDECK_VIDEO_HOST", nullptr, &Hosts::video, nullptr, "video site host (listings)"},
    {"--video-regional-host", "CHANNELDECK_VIDEO_REGIONAL_HOST", nullptr, &Hosts::videoRegional, nullptr,
     "video site host for searches"},
    {"--video-player-host", "CHANNELDECK_VIDEO_PLAYER_HOST", nullptr, &Hosts::videoPlayer, nullptr,
     "video site player host"},
    {"--company-name", "CHANNELDECK_COMPANY_NAME", nullptr, nullptr, &VersionInfo::companyName,
     "company name (decides the edition)"},
    {"--catalogue-list-path", "CHANNELDECK_CATALOGUE_LIST_PATH", &Configuration::catalogueListPath, nullptr, nullptr,
     "path of the published channel list on the catalogue host"},
    {"--data-dir", "CHANNELDECK_DATA_DIR", &Configuration::dataDir, nullptr, nullptr,
     "the program's folder (catalogue, favourites, localization)"},
};

}  // namespace

Configuration Configuration::defaults() {
    Configuration c;
    c.hosts = Hosts{CD_DEFAULT_CATALOGUE_HOST, CD_DEFAULT_LANGUAGE_HOST,       CD_DEFAULT_BANNER_HOST,
                    CD_DEFAULT_VIDEO_HOST,     CD_DEFAULT_VIDEO_REGIONAL_HOST, CD_DEFAULT_VIDEO_PLAYER_HOST};
    c.version = VersionInfo{CD_DEFAULT_PRODUCT_NAME, CD_DEFAULT_COMPANY_NAME, CD_DEFAULT_WEBSITE,
                            CD_VERSION_MAJOR,        CD_VERSION_MINOR,        CD_VERSION_PATCH};
    return c;
}

void Configuration::applyEnvironment() {
    for (const auto& o : kOptions) {
        if (const char* v = std::getenv(o.env)) *target(*this, o) = v;
    }
}

std::vector<std::string> Configuration::applyArguments(const std::vector<std::string>& args, std::string* error) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool taken = false;
        for (const auto& o : kOptions) {
            const std::string flag = o.flag;
            if (a == flag) {
                if (i + 1 >= args.size()) {
                    if (error) *error = flag + " needs a value";
                    return rest;
                }
                *target(*this, o) = args[++i];
                taken = true;
            } else if (a.rfind(flag + "=", 0) == 0) {
                *target(*this, o) = a.substr(flag.size() + 1);
                taken = true;
            }
            if (taken) break;
        }
        if (!taken) rest.push_back(a);
    }
    return rest;
}

std::string Configuration::optionsHelp() {
    std::string out;
    for (const auto& o : kOptions) {
        out += "  ";
        out += o.flag;
        out += " VALUE";
        out.append(std::string(28 - std::char_traits<char>::length(o.flag), ' '));
        out += o.help;
        out += " (or ";
        out += o.env;
        out += ")\n";
    }
    return out;
}

}  // namespace cd::platform
