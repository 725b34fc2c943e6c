#pragma once
// A typed signal of the window model: the shell emits it when the user acts
// on a control, and the subsystem that owns the behaviour has connected its
// handler in its constructor. No event is routed by name.
#include <functional>
#include <utility>
#include <vector>

namespace cd::ui {

template <typename... Args>
class Signal {
public:
    using Slot = std::function<void(Args...)>;

    /// Handlers run in the order they were connected.
    void connect(Slot slot) { handlers_.push_back(std::move(slot)); }
    /// Runs every handler connected now; one may connect more, or end the
    /// window, while it runs, so a copy is called.
    void raise(Args... args) const {
        const auto handlers = handlers_;
        for (const Slot& handler : handlers) handler(args...);
    }
    bool connected() const { return !handlers_.empty(); }

private:
    std::vector<Slot> handlers_;
};

}  // namespace cd::ui
