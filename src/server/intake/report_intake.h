#pragma once
// "/webtv/getData.asp": a report request is limited per client, read,
// queued for the next commit and answered once it is stored.
#include "clock.h"
#include "http/request.h"
#include "http/responder.h"
#include "intake/group_committer.h"
#include "intake/rate_limiter.h"

namespace cd::server::intake {

class ReportIntake {
public:
    ReportIntake(GroupCommitter& committer, RateLimiter& limiter, const Clock& clock);

    /// 200 "OK" once stored (or already stored today), 400 for a report the
    /// program would not send, 429 over the client's rate, 503 when the
    /// store cannot take it. Only 200 means stored.
    void handle(const http::Request& request, const http::Responder& respond);

private:
    GroupCommitter& committer_;
    RateLimiter& limiter_;
    const Clock& clock_;
};

}  // namespace cd::server::intake
