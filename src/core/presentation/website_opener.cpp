#include "presentation/website_opener.h"

#include "util/text.h"

namespace cd::presentation {

std::string WebsiteAddress(const std::string& website) {
    if (util::icontains(website, "https://") || util::icontains(website, "http://")) return website;
    return "http://" + website;
}

WebsiteOpener::WebsiteOpener(ui::WebsiteWindow& form, ProgramValues& program, const platform::Configuration& config,
                             platform::Shell& shell, std::function<void()> unload,
                             std::function<void(const std::string& address)> notOpened)
    : form_(form),
      program_(program),
      config_(config),
      shell_(shell),
      unload_(std::move(unload)),
      notOpened_(std::move(notOpened)) {
    form_.openTimer->ticked.connect([this] { tick(); });
}

void WebsiteOpener::load() {
    // The window object outlives its unloads; a load starts its timer as the
    // window is designed, so every request gets its one second.
    form_.openTimer->setEnabled(true);
    SetBrandValues(program_, config_);
    if (program_.websiteRequest != "Website") return;
    // A build without a website address has nothing to open; "http://" alone
    // would only show the browser an error.
    if (!program_.brand.website.empty()) {
        const std::string address = WebsiteAddress(program_.brand.website);
        if (!shell_.open(address) && notOpened_) notOpened_(address);
    }
    program_.websiteRequest.clear();
}

void WebsiteOpener::tick() {
    form_.openTimer->setEnabled(false);
    if (unload_) unload_();
}

}  // namespace cd::presentation
