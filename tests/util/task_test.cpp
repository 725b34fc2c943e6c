#include "util/task.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace cd::util {
namespace {

// Something a task waits for, released by the test; destroying the waiting
// frame withdraws it (as a cancelled fetch does).
struct Gate {
    std::coroutine_handle<> waiting;
    int withdrawn = 0;

    struct Awaiter {
        Gate& gate;
        bool registered = false;
        bool await_ready() const { return false; }
        void await_suspend(std::coroutine_handle<> h) {
            gate.waiting = h;
            registered = true;
        }
        void await_resume() { registered = false; }
        ~Awaiter() {
            if (registered) {
                ++gate.withdrawn;
                gate.waiting = {};
            }
        }
    };
    Awaiter operator co_await() { return Awaiter{*this}; }
    bool open() {
        if (!waiting) return false;
        auto h = std::exchange(waiting, {});
        h.resume();
        return true;
    }
};

Task<int> wait(Gate& gate, int value, std::vector<std::string>& log) {
    log.push_back("wait " + std::to_string(value));
    co_await gate;
    log.push_back("woke " + std::to_string(value));
    co_return value * 2;
}

Task<> waitOnly(Gate& gate, int value, std::vector<std::string>& log) { co_await wait(gate, value, log); }

Task<> sequence(Gate& first, Gate& second, std::vector<std::string>& log) {
    const int a = co_await wait(first, 1, log);
    const int b = co_await wait(second, a, log);
    log.push_back("sum " + std::to_string(a + b));
}

// Catches a task that runs before it is started, loses a result between
// awaited tasks, or resumes in the wrong order.
TEST(TaskTest, SequenceRunsAsStraightLineCode) {
    Gate first, second;
    std::vector<std::string> log;
    TaskSlot slot;
    auto task = sequence(first, second, log);
    EXPECT_TRUE(log.empty()) << "lazy until started";
    slot.start(std::move(task));
    EXPECT_EQ(log, (std::vector<std::string>{"wait 1"}));
    EXPECT_TRUE(slot.running());
    ASSERT_TRUE(first.open());
    ASSERT_TRUE(second.open());
    EXPECT_EQ(log, (std::vector<std::string>{"wait 1", "woke 1", "wait 2", "woke 2", "sum 6"}));
    EXPECT_FALSE(slot.running());
}

// Catches a replaced task that goes on (the older channel plays over the
// newer), or whose pending wait is not withdrawn.
TEST(TaskTest, StartingANewTaskCancelsTheOldOneAndWhatItWaitsFor) {
    Gate first, second, other;
    std::vector<std::string> log;
    TaskSlot slot;
    slot.start(sequence(first, second, log));
    ASSERT_TRUE(first.open());
    slot.start(sequence(other, other, log));
    EXPECT_EQ(second.withdrawn, 1);
    EXPECT_FALSE(second.open()) << "nothing waits there any more";
    ASSERT_TRUE(other.open());
    ASSERT_TRUE(other.open());
    EXPECT_EQ(log.back(), "sum 6");
    EXPECT_EQ(std::count(log.begin(), log.end(), "woke 2"), 1);
}

// Catches a task destroyed under its own feet when it gives itself up while
// it runs (a nested loop let a newer request in), and code after its next
// suspension point running anyway.
TEST(TaskTest, TaskGivenUpWhileRunningEndsAtItsNextSuspension) {
    Gate gate, later;
    std::vector<std::string> log;
    TaskSlot slot;
    std::function<void()> replaceFromInside;
    auto selfReplacing = [&]() -> Task<> {
        log.push_back("start");
        replaceFromInside();
        log.push_back("still running");
        co_await gate;
        log.push_back("must not run");
    };
    replaceFromInside = [&] { slot.start(waitOnly(later, 5, log)); };
    slot.start(selfReplacing());
    EXPECT_EQ(log, (std::vector<std::string>{"start", "wait 5", "still running"}));
    EXPECT_FALSE(gate.waiting) << "it ended instead of waiting";
    ASSERT_TRUE(later.open());
    EXPECT_EQ(log.back(), "woke 5");
}

// Catches a fire-and-forget task that leaks, is lost when it finishes at
// once, or survives its group's cancellation.
TEST(TaskTest, GroupTasksEndThemselvesOrWithTheGroup) {
    Gate a, b;
    std::vector<std::string> log;
    TaskGroup group;
    auto immediate = [&]() -> Task<> {
        log.push_back("at once");
        co_return;
    };
    auto waiting = [&](Gate& g) -> Task<> {
        co_await g;
        log.push_back("done");
    };
    group.spawn(immediate());
    EXPECT_EQ(group.size(), 0u);
    group.spawn(waiting(a));
    group.spawn(waiting(b));
    EXPECT_EQ(group.size(), 2u);
    ASSERT_TRUE(a.open());
    EXPECT_EQ(group.size(), 1u);
    group.cancelAll();
    EXPECT_EQ(group.size(), 0u);
    EXPECT_EQ(b.withdrawn, 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "done"), 1);
}

// Catches a nested task whose cancellation leaves the inner frame waiting.
TEST(TaskTest, DestroyingTheOuterTaskWithdrawsTheInnermostWait) {
    Gate first, second;
    std::vector<std::string> log;
    {
        TaskSlot slot;
        slot.start(sequence(first, second, log));
    }
    EXPECT_EQ(first.withdrawn, 1);
    EXPECT_FALSE(first.waiting);
}

}  // namespace
}  // namespace cd::util
