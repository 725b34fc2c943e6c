#include "intake/report_intake.h"

#include "intake/report_query.h"

namespace cd::server::intake {

ReportIntake::ReportIntake(GroupCommitter& committer, RateLimiter& limiter, const Clock& clock)
    : committer_(committer), limiter_(limiter), clock_(clock) {}

void ReportIntake::handle(const http::Request& request, const http::Responder& respond) {
    if (request.method != "GET") {
        respond(http::Response::text(405, "Reports are sent with GET.\n").set("allow", "GET"));
        return;
    }
    if (!limiter_.allow(request.peer, clock_.steadyNow())) {
        respond(http::Response::text(429, "Too many reports from this address; slow down.\n").set("retry-after", "1"));
        return;
    }
    ReportQueryResult parsed = parseReportQuery(request.query);
    if (!parsed.report) {
        respond(http::Response::text(400, "Report not recorded: " + parsed.error + ".\n"));
        return;
    }
    const std::int64_t now = clock_.unixSeconds();
    storage::StoredReport report{std::move(parsed.report->type),
                                 std::move(parsed.report->value),
                                 std::move(parsed.report->item),
                                 request.peer,
                                 dayOf(now),
                                 now};
    const bool queued = committer_.submit(std::move(report), [respond](bool stored) {
        if (stored)
            respond(http::Response::text(200, "OK\n"));
        else
            respond(http::Response::text(503, "Report not recorded: the store is unavailable; try again later.\n")
                        .set("retry-after", "5"));
    });
    if (!queued) respond(http::Response::text(503, "Report not recorded: the server is busy; try again later.\n"));
}

}  // namespace cd::server::intake
