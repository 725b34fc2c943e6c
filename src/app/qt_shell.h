#pragma once
#include "platform/shell.h"

namespace cd::app {

/// Opens files and addresses with the desktop's default program.
class QtShell : public platform::Shell {
public:
    /// A path (absolute, or naming an existing file) opens as a local file;
    /// anything else as an address ("www.host.org" gets http://). A local
    /// file the desktop cannot open shows in the program's document window.
    /// False when nothing could be opened.
    bool open(const std::string& pathOrAddress) override;
};

}  // namespace cd::app
