#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <stdexcept>
#include <thread>

#include "DriveCalls.h"
#include "platform/PlatformError.h"

namespace velmora {
namespace {

using namespace std::chrono_literals;

// Answers nothing but counts how often, and how long, the window's thread waited.
struct CountingWait : AnsweringWait {
    int waits = 0;
    void answerUntil(const std::function<bool()>& finished, Clock::time_point deadline) override {
        ++waits;
        while (!finished() && Clock::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
    }
};

class DriveCallsTest : public ::testing::Test {
  protected:
    CountingWait wait;
    // Paths are "<drive>/<name>".
    DriveCalls calls{wait, [](const std::string& path) { return path.substr(0, 2); }};
};

TEST_F(DriveCallsTest, GivesTheAnswerOrTheFailureAndRunsCallsFromItsOwnThreadsThereAndThen) {
    EXPECT_EQ(calls.call("a/x", 1s, [] { return 42; }), 42);
    EXPECT_THROW(
        calls.call("a/x", 1s, []() -> int { throw PlatformError("Reading", "a/x", "no"); }),
        PlatformError);
    const auto inner = [this] {
        return calls.call("b/y", 1s, [] { return std::this_thread::get_id(); });
    };
    EXPECT_NE(calls.call("a/x", 1s, inner), std::this_thread::get_id());
    EXPECT_EQ(wait.waits, 0);  // quick answers need no event loop
    // Work that asks many things has the limit for each answer.
    const auto sixSlowAnswers = [] {
        for (int i = 0; i < 6; ++i) {
            std::this_thread::sleep_for(50ms);
            DriveCalls::answered();
        }
        return 6;
    };
    EXPECT_EQ(calls.call("a/x", 100ms, sixSlowAnswers), 6);
}

// A call stuck in the kernel is left behind; its drive answers nothing more at once until it
// comes back, while other drives answer throughout.
TEST_F(DriveCallsTest, ADriveWithoutAnAnswerInTimeCountsAsGoneUntilItsCallComesBack) {
    auto release = std::make_shared<std::promise<void>>();
    std::shared_future<void> released = release->get_future().share();
    try {
        calls.call("a/x", 100ms, [released] { released.wait(); });
        ADD_FAILURE() << "no DriveNotAnswering";
    } catch (const DriveNotAnswering& silent) {
        EXPECT_EQ(silent.root(), "a/");
    }
    EXPECT_EQ(wait.waits, 1);
    const auto before = AnsweringWait::Clock::now();
    EXPECT_THROW(calls.call("a/z", 10s, [] { return 1; }), DriveNotAnswering);
    EXPECT_LT(AnsweringWait::Clock::now() - before, 1s);
    EXPECT_EQ(calls.call("b/y", 1s, [] { return 2; }), 2);
    release->set_value();
    for (auto until = AnsweringWait::Clock::now() + 5s; AnsweringWait::Clock::now() < until;) {
        try {
            EXPECT_EQ(calls.call("a/z", 1s, [] { return 3; }), 3);
            return;
        } catch (const DriveNotAnswering&) {
            std::this_thread::sleep_for(1ms);
        }
    }
    ADD_FAILURE() << "the drive never answered again";
}

}  // namespace
}  // namespace velmora
