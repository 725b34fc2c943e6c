#include "presentation/brand_values.h"

#include <gtest/gtest.h>

#include "presentation/machine_store.h"
#include "presentation/program_values.h"

namespace cd::presentation {
namespace {

platform::Configuration configWith(const std::string& company, const std::string& bannerHost) {
    platform::Configuration c = platform::Configuration::defaults();
    c.version = platform::VersionInfo{"ChannelDeck", company, "www.channeldeck.test", 1, 0, 7};
    c.hosts.banner = bannerHost;
    return c;
}

// Catches a brand value taken from the wrong version field or a switch set wrongly.
TEST(SetBrandValues, CopiesTheVersionFieldsAndSetsTheSwitches) {
    ProgramValues program;
    SetBrandValues(program, configWith("Quenmark Software", "127.0.0.1:8123"));
    const BrandValues& b = program.brand;
    EXPECT_EQ(b.productName, "ChannelDeck");
    EXPECT_EQ(b.companyName, "Quenmark Software");
    EXPECT_EQ(b.website, "www.channeldeck.test");
    EXPECT_EQ(b.productNumber, 26);
    EXPECT_TRUE(b.bannerFlag);
    EXPECT_EQ(b.bannerAddress, "http://127.0.0.1:8123/banner.html");
    EXPECT_FALSE(b.skinning);
    EXPECT_EQ(b.versionMajor, 1);
    EXPECT_EQ(b.versionMinor, 0);
}

// Catches a second run changing the values or touching the website request.
TEST(SetBrandValues, RunningAgainGivesTheSameValuesAndLeavesTheRequest) {
    ProgramValues program;
    const auto config = configWith("Other Co", "banner.test");
    SetBrandValues(program, config);
    program.websiteRequest = "Extras";
    const BrandValues first = program.brand;
    SetBrandValues(program, config);
    EXPECT_EQ(program.brand.companyName, first.companyName);
    EXPECT_EQ(program.brand.bannerAddress, "http://banner.test/banner.html");
    EXPECT_EQ(program.websiteRequest, "Extras");
}

// Catches the build's defaults not reaching the brand values.
TEST(SetBrandValues, DefaultsOfThisBuild) {
    ProgramValues program;
    const auto config = platform::Configuration::defaults();
    SetBrandValues(program, config);
    EXPECT_EQ(program.brand.productName, config.version.productName);
    EXPECT_EQ(program.brand.bannerAddress, "http://" + config.hosts.banner + "/banner.html");
}

// A store with the registry store's shape, for the adapter.
struct ShapedLikeMachineSettings {
    std::string get(const std::string& key, const std::string& fallback) {
        return key == "chkSplash" ? std::string("1") : fallback;
    }
    bool set(const std::string& key, const std::string& value) {
        last = key + "=" + value;
        return key != "readonly";
    }
    std::string last;
};

// Catches the adapter dropping the fallback or the write's result.
TEST(MachineStoreAdapter, PassesCallsAndResultsThrough) {
    ShapedLikeMachineSettings settings;
    MachineStoreAdapter<ShapedLikeMachineSettings> store(settings);
    MachineStore& machine = store;
    EXPECT_EQ(machine.get("chkSplash", "0"), "1");
    EXPECT_EQ(machine.get("missing", "fallback"), "fallback");
    EXPECT_TRUE(machine.set("showHelp", "0"));
    EXPECT_EQ(settings.last, "showHelp=0");
    EXPECT_FALSE(machine.set("readonly", "x"));
}

}  // namespace
}  // namespace cd::presentation
