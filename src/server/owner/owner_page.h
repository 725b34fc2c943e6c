#pragma once
// The owner's page: the rankings as HTML tables, every value escaped; and
// the login page that sets the token cookie.
#include <string>
#include <string_view>

#include "owner/owner_report.h"

namespace cd::server::owner {

std::string renderOwnerPage(const OwnerReport& report);

/// The login form; message (plain text, escaped here) is shown above it.
std::string renderLoginPage(std::string_view message);

}  // namespace cd::server::owner
