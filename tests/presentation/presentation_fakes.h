#pragma once
// Test doubles for the presentation windows: a machine-wide store, a skin
// object, a region recorder, and a clock that fires window timers as the
// shell's event loop would.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "presentation/machine_store.h"
#include "presentation/skin_object.h"
#include "ui/simple_controls.h"

namespace cd::presentation::test {

class FakeMachineStore : public MachineStore {
public:
    std::string get(const std::string& key, const std::string& fallback) override {
        reads.push_back(key);
        const auto it = values.find(key);
        return it == values.end() ? fallback : it->second;
    }
    bool set(const std::string& key, const std::string& value) override {
        writes.push_back(key + "=" + value);
        if (!writable) return false;
        values[key] = value;
        return true;
    }
    std::map<std::string, std::string> values;
    std::vector<std::string> reads;
    std::vector<std::string> writes;
    bool writable = true;
};

class FakeSkinObject : public SkinObject {
public:
    std::optional<std::int32_t> backgroundColour() override { return read(background); }
    std::optional<std::int32_t> textColour() override { return read(text); }
    std::optional<std::int32_t> pictureColour() override { return read(picture); }
    std::optional<std::int32_t> extraValue() override { return read(extra); }
    bool attach(const ui::Form& window) override {
        attached.push_back(&window);
        return true;
    }
    std::optional<std::int32_t> background = 0x00112233;
    std::optional<std::int32_t> text = 0x00445566;
    std::optional<std::int32_t> picture = 0x00778899;
    std::optional<std::int32_t> extra = 4;
    int reads = 0;
    std::vector<const ui::Form*> attached;

private:
    std::optional<std::int32_t> read(std::optional<std::int32_t> v) {
        ++reads;
        return v;
    }
};

class FakeWindowRegions : public WindowRegions {
public:
    void setWindowRegion(const ui::Form& window, WindowRegion region, bool repaint) override {
        calls.push_back({&window, region, repaint});
    }
    struct Call {
        const ui::Form* window;
        WindowRegion region;
        bool repaint;
    };
    std::vector<Call> calls;
};

/// A control whose component lacks a colour property: setting it fails.
class ColourlessControl : public ui::Control {
public:
    ColourlessControl(std::string type, std::string name, bool refuseBack, bool refuseFore)
        : Control(std::move(type), std::move(name)), refuseBack_(refuseBack), refuseFore_(refuseFore) {}
    bool setBackColor(std::int32_t c) override { return refuseBack_ ? false : Control::setBackColor(c); }
    bool setForeColor(std::int32_t c) override { return refuseFore_ ? false : Control::setForeColor(c); }

private:
    bool refuseBack_, refuseFore_;
};

/// Fires a timer's handler once per interval of fake time while the timer
/// is enabled, as the shell's event loop does; the handler may stop it.
class FakeTimerClock {
public:
    void attach(ui::Timer& timer, std::function<void()> onTick) { timers_.push_back({&timer, std::move(onTick), 0}); }
    /// Lets ms milliseconds pass.
    void advance(int ms) {
        for (int t = 0; t < ms; ++t) {
            ++now_;
            for (auto& entry : timers_) {
                if (!entry.timer->enabled()) {
                    entry.elapsed = 0;
                    continue;
                }
                if (++entry.elapsed >= entry.timer->interval()) {
                    entry.elapsed = 0;
                    ++ticks;
                    entry.onTick();
                }
            }
        }
    }
    int now() const { return now_; }
    int ticks = 0;

private:
    struct Entry {
        ui::Timer* timer;
        std::function<void()> onTick;
        int elapsed;
    };
    std::vector<Entry> timers_;
    int now_ = 0;
};

}  // namespace cd::presentation::test
