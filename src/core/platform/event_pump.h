#pragma once

namespace cd::platform {

/// Lets queued window events run once; fetches call it between reads so the
/// window stays responsive and handlers can nest.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void runPending() = 0;
};

/// For the command-line tool and tests that need no window.
class NoEventPump : public EventPump {
public:
    void runPending() override {}
};

}  // namespace cd::platform
