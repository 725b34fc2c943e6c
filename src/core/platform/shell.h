#pragma once
#include <string>

namespace cd::platform {

/// The desktop's "open with the default program".
class Shell {
public:
    virtual ~Shell() = default;
    /// Opens a file path or an address; false when nothing could be started.
    virtual bool open(const std::string& pathOrAddress) = 0;
};

}  // namespace cd::platform
