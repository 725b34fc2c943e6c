#pragma once
// "/owner" and everything under it: the page, its login and logout, and
// the JSON under "/owner/api/". Every answer but the login form needs the
// owner's token. Handlers query the store, so they run off the loop.
#include <string_view>

#include "clock.h"
#include "http/request.h"
#include "http/response.h"
#include "owner/owner_token.h"
#include "storage/report_store.h"

namespace cd::server::owner {

class OwnerPages {
public:
    OwnerPages(storage::ReportStore& store, OwnerGate& gate, const Clock& clock);

    /// True for "/owner" and paths under "/owner/".
    static bool owns(std::string_view path);
    /// Blocks on the store.
    http::Response handle(const http::Request& request);

private:
    http::Response page(const http::Request& request);
    http::Response api(const http::Request& request);
    http::Response login(const http::Request& request);

    storage::ReportStore& store_;
    OwnerGate& gate_;
    const Clock& clock_;
};

}  // namespace cd::server::owner
