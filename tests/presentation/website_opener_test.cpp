#include "presentation/website_opener.h"

#include <gtest/gtest.h>

#include "presentation/presentation_fakes.h"
#include "support/fakes.h"
#include "ui/website_window.h"

namespace cd::presentation {
namespace {

// Catches the scheme test missing a case: prefix only when neither scheme appears anywhere, any case.
TEST(WebsiteAddress, PrefixesHttpOnlyWhenNoSchemeAppearsAnywhere) {
    EXPECT_EQ(WebsiteAddress("www.channeldeck.test/start"), "http://www.channeldeck.test/start");
    EXPECT_EQ(WebsiteAddress("http://www.channeldeck.test"), "http://www.channeldeck.test");
    EXPECT_EQ(WebsiteAddress("https://www.channeldeck.test"), "https://www.channeldeck.test");
    EXPECT_EQ(WebsiteAddress("HTTPS://WWW.CHANNELDECK.TEST"), "HTTPS://WWW.CHANNELDECK.TEST");
    EXPECT_EQ(WebsiteAddress("Http://mixed.test"), "Http://mixed.test");
    EXPECT_EQ(WebsiteAddress("go.test/?next=hTTp://other.test"), "go.test/?next=hTTp://other.test")
        << "a scheme that is not at the start still counts";
    EXPECT_EQ(WebsiteAddress("ftp://files.test"), "http://ftp://files.test");
    EXPECT_EQ(WebsiteAddress("http:/broken.test"), "http://http:/broken.test");
}

class WebsiteWindowTest : public ::testing::Test {
protected:
    WebsiteWindowTest() {
        config.version = platform::VersionInfo{"ChannelDeck", "Quenmark Software", "www.channeldeck.test", 1, 0, 0};
        clock.attach(*form.openTimer, [this] { window.tick(); });
    }
    ui::WebsiteWindow form;
    ProgramValues program;
    platform::Configuration config;
    cd::test::FakeShell shell;
    int unloads = 0;
    test::FakeTimerClock clock;
    std::vector<std::string> notOpened;
    WebsiteOpener window{form,
                         program,
                         config,
                         shell,
                         [this] { ++unloads; },
                         [this](const std::string& address) { notOpened.push_back(address); }};
};

// Catches the website request not being acted on, or not cleared afterwards.
TEST_F(WebsiteWindowTest, WebsiteRequestOpensTheWebsiteAndIsCleared) {
    program.websiteRequest = "Website";
    window.load();
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"http://www.channeldeck.test"}));
    EXPECT_EQ(program.websiteRequest, "");
    EXPECT_EQ(program.brand.website, "www.channeldeck.test") << "the load sets the brand values itself";
}

// Catches an address with a scheme getting a second one.
TEST_F(WebsiteWindowTest, WebsiteWithSchemeOpensUnchanged) {
    config.version.website = "HTTPS://secure.channeldeck.test/home";
    program.websiteRequest = "Website";
    window.load();
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"HTTPS://secure.channeldeck.test/home"}));
}

// Catches other requests opening something or being cleared.
TEST_F(WebsiteWindowTest, OtherRequestsOpenNothingAndStay) {
    for (const char* request : {"Extras", "Sports", "", "website"}) {
        program.websiteRequest = request;
        window.load();
        EXPECT_TRUE(shell.opened.empty()) << request;
        EXPECT_EQ(program.websiteRequest, request);
    }
}

// Catches the window staying loaded: one second after loading it unloads, whatever happened.
TEST_F(WebsiteWindowTest, UnloadsOneSecondAfterLoading) {
    program.websiteRequest = "Extras";
    window.load();
    clock.advance(999);
    EXPECT_EQ(unloads, 0);
    clock.advance(1);
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(form.openTimer->enabled());
    clock.advance(5000);
    EXPECT_EQ(unloads, 1);
    EXPECT_EQ(program.websiteRequest, "Extras");

    // The next request loads the window again, and it gets its second again.
    program.websiteRequest = "Website";
    window.load();
    clock.advance(1000);
    EXPECT_EQ(unloads, 2);
    EXPECT_EQ(shell.opened.size(), 1u);
}

// Catches a failed browser start keeping the request, or passing in
// silence; and a success reported as a failure.
TEST_F(WebsiteWindowTest, FailedOpenStillClearsTheRequestAndIsTold) {
    program.websiteRequest = "Website";
    window.load();
    EXPECT_TRUE(notOpened.empty());
    shell.result = false;
    program.websiteRequest = "Website";
    window.load();
    EXPECT_EQ(shell.opened.size(), 2u);
    EXPECT_EQ(program.websiteRequest, "");
    EXPECT_EQ(notOpened, std::vector<std::string>{"http://www.channeldeck.test"});
}

// Catches a build without a website opening a bare "http://".
TEST_F(WebsiteWindowTest, EmptyWebsiteOpensNothing) {
    config.version.website.clear();
    program.websiteRequest = "Website";
    window.load();
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(program.websiteRequest, "");
}

}  // namespace
}  // namespace cd::presentation
