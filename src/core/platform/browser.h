#pragma once
#include <string>

namespace cd::platform {

/// An embedded web view. Visibility and geometry live on its window-model
/// control (videoPage, banner).
class Browser {
public:
    virtual ~Browser() = default;
    /// Shows an address.
    virtual void navigate(const std::string& address) = 0;
    /// Loads a local file anew, even when the path is the one shown.
    virtual void navigate2(const std::string& path) = 0;
};

}  // namespace cd::platform
