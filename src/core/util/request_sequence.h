#pragma once
// Fetches let window events run, so a click can start inside another
// click's wait. Each request takes a ticket; when the outer one resumes, a
// newer ticket means the user has moved on and its result must not be
// applied over the newer one's.
#include <cstdint>

namespace cd::util {

class RequestSequence {
public:
    using Ticket = std::uint64_t;

    /// A new request: every earlier ticket is superseded.
    Ticket begin() { return ++latest_; }
    bool isLatest(Ticket ticket) const { return ticket == latest_; }
    /// Supersedes every outstanding request without starting one (closing).
    void supersedeAll() { ++latest_; }

private:
    Ticket latest_ = 0;
};

}  // namespace cd::util
