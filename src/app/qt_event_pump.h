#pragma once
#include "platform/event_pump.h"

namespace cd::app {

/// Lets the window's queued events run while a fetch waits, so clicks and
/// repaints are handled and handlers can nest as the program expects.
class QtEventPump : public platform::EventPump {
public:
    void runPending() override;
};

}  // namespace cd::app
