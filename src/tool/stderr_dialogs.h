#pragma once
// The message boxes of the core's operations, on the command line: each
// becomes one line on standard error, answered OK, and is remembered so a
// command can tell a failed operation (which shows one) from a good one.
#include <ostream>
#include <string>

#include "platform/dialogs.h"

namespace cd::tool {

class StderrDialogs : public platform::Dialogs {
public:
    explicit StderrDialogs(std::ostream& err) : err_(err) {}
    platform::Answer messageBox(const std::string& text, const std::string&, platform::Buttons) override {
        err_ << "channeldeck-tool: " << text << "\n";
        shown = true;
        return platform::Answer::OK;
    }
    /// A message box was shown.
    bool shown = false;

private:
    std::ostream& err_;
};

}  // namespace cd::tool
