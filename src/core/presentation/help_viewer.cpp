#include "presentation/help_viewer.h"

#include <system_error>

#include "util/files.h"
#include "util/text.h"

namespace cd::presentation {

namespace fs = std::filesystem;

HelpViewer::HelpViewer(ui::HelpWindow& form, fs::path programFolder, platform::Shell& shell, MachineStore& machine)
    : form_(form), folder_(std::move(programFolder)), shell_(shell), machine_(machine) {}

fs::path HelpViewer::HelpFilePath() const {
    const fs::path expected = folder_ / kHelpFileName;
    if (!util::fileExists(expected)) return {};
    std::error_code ec;
    if (fs::is_regular_file(expected, ec)) return expected;
    // The file test ignores letter case; the desktop's opener does not, so
    // hand it the name the folder really holds.
    fs::directory_iterator it(folder_, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        if (util::iequals(it->path().filename().string(), kHelpFileName) && it->is_regular_file(typeError))
            return it->path();
    }
    return {};
}

void HelpViewer::load() {
    form_.resize(0, 0);
    form_.setVisible(false);
    const fs::path help = HelpFilePath();
    if (help.empty()) return;
    (void)shell_.open(help.string());  // a viewer that does not start is not reported
    machine_.set("showHelp", "0");
}

}  // namespace cd::presentation
