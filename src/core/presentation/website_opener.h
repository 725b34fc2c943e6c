#pragma once
// The website window: never shown. Its load opens the product's website in
// the desktop's browser when the request is "Website"; its one-second timer
// unloads it whatever happened.
#include <functional>
#include <string>

#include "platform/configuration.h"
#include "platform/shell.h"
#include "presentation/program_values.h"
#include "ui/website_window.h"

namespace cd::presentation {

/// The address to open for a website value: unchanged when it holds
/// "https://" or "http://" anywhere (letter case ignored), else with
/// "http://" in front.
std::string WebsiteAddress(const std::string& website);

class WebsiteOpener {
public:
    /// unload takes the window out of the loaded windows (the shell's
    /// Windows::unload, or a test's recorder).
    /// notOpened hears the address the desktop could not open (no browser).
    WebsiteOpener(ui::WebsiteWindow& form, ProgramValues& program, const platform::Configuration& config,
                  platform::Shell& shell, std::function<void()> unload,
                  std::function<void(const std::string& address)> notOpened = {});

    /// Load: sets the brand values; for the request "Website" opens the
    /// website and clears the request; any other request opens nothing and
    /// stays as it is. Starts openTimer again, as a freshly loaded window has it.
    void load();
    /// openTimer: stops the timer and unloads the window.
    void tick();

private:
    ui::WebsiteWindow& form_;
    ProgramValues& program_;
    const platform::Configuration& config_;
    platform::Shell& shell_;
    std::function<void()> unload_;
    std::function<void(const std::string&)> notOpened_;
};

}  // namespace cd::presentation
