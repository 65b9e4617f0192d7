#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <string>
#include <thread>
#include <utility>

#include "DriveCalls.h"
#include "OffWindowFiles.h"
#include "platform/PlatformError.h"
#include "support/TempFolder.h"

namespace velmora {
namespace {

using namespace std::chrono_literals;
using Clock = AnsweringWait::Clock;

// Counts the window thread's waits and their drive; gives up (as Cancel) after giveUpAfter.
struct CountingWait : AnsweringWait {
    int waits = 0;
    std::string root;
    Clock::duration giveUpAfter = 10s;
    bool answerUntil(const std::function<bool()>& over, const std::string& drive) override {
        ++waits;
        root = drive;
        const auto since = Clock::now();
        for (; !over(); std::this_thread::sleep_for(1ms)) {
            if (Clock::now() - since >= giveUpAfter) {
                EXPECT_LT(giveUpAfter, 10s) << "the wait for a silent drive never gave up";
                return false;
            }
        }
        return true;
    }
};

// A quick call gives its answer or failure, run there and then from the calls' own threads. A
// stuck call is left behind; its drive fails at once until it comes back, others answer. A call
// stuck on another drive (a copy's source) blames that one. Work that answers every 100 ms may
// take a second, the sizes of a selection too; silence of the limit, from the start or after
// answers, is given up on soon after, and Cancel gives up at once.
TEST(DriveCalls, ADriveSilentPastTheLimitNotWorkingCountsAsGoneUntilItsCallComesBack) {
    CountingWait wait;
    // Paths are "<drive>/<name>"; a drive may keep silent for 200 ms between answers.
    DriveCalls calls{wait, [](const std::string& path) { return path.substr(0, 2); }, 200ms};
    EXPECT_EQ(calls.call("a/x", [] { return 42; }), 42);
    EXPECT_THROW(calls.call("a/x", []() -> int { throw PlatformError("Reading", "a/x", "no"); }),
                 PlatformError);
    const auto inner = [&calls] {
        return calls.call("b/y", [] { return std::this_thread::get_id(); });
    };
    EXPECT_NE(calls.call("a/x", inner), std::this_thread::get_id());
    EXPECT_EQ(wait.waits, 0);  // quick answers need no event loop
    auto release = std::make_shared<std::promise<void>>();
    std::shared_future<void> released = release->get_future().share();
    const auto goneOf = [&](const std::string& path, const std::string& blamed) {
        try {
            calls.call(path, [released, blamed] {
                DriveCalls::waitingOn(blamed);
                released.wait();
            });
        } catch (const DriveNotAnswering& silent) {
            return silent.root();
        }
        return std::string("none");
    };
    EXPECT_EQ(goneOf("a/x", "a/x"), "a/");
    EXPECT_EQ(goneOf("b/x", "c/source"), "c/") << "a stuck source was blamed on the destination";
    EXPECT_EQ(wait.waits, 2);
    const auto before = Clock::now();
    EXPECT_THROW(calls.call("a/z", [] { return 1; }), DriveNotAnswering);
    EXPECT_THROW(calls.call("c/z", [] { return 1; }), DriveNotAnswering);
    EXPECT_LT(Clock::now() - before, 1s);
    EXPECT_EQ(calls.call("b/y", [] { return 2; }), 2);
    const auto timed = [](DriveCalls& on, const std::string& path, int answers, auto silence) {
        const auto started = Clock::now();
        bool gone = false;
        try {
            on.call(path, [answers, silence] {
                for (int i = 0; i < answers; ++i, DriveCalls::answered()) {
                    std::this_thread::sleep_for(100ms);
                }
                std::this_thread::sleep_for(silence);
            });
        } catch (const DriveNotAnswering&) {
            gone = true;
        }
        return std::pair(gone, Clock::now() - started);
    };
    const auto [workGone, work] = timed(calls, "w/x", 10, 0ms);
    EXPECT_FALSE(workGone) << "work answering every 100 ms was taken for silence";
    EXPECT_GE(work, 1s);
    EXPECT_EQ(wait.root, "w/");
    for (const int answers : {0, 3}) {
        const auto [gone, after] = timed(calls, std::to_string(answers) + "/x", answers, 2s);
        EXPECT_TRUE(gone) << "a drive silent past the limit was waited for";
        EXPECT_GE(after, answers * 100ms + 200ms) << "given up before its limit";
        EXPECT_LT(after, answers * 100ms + 1500ms) << "given up long after its limit";
    }
    // The sizes of a large selection, asked in one call, take far longer than the limit.
    const test::TempFolder folder;
    folder.write("clip.MP4", "abc");
    OffWindowFiles files(
        wait, [](const std::string&) { return std::string("/"); }, 20ms);
    const std::vector<std::string> selection(50'000, folder.at("clip.MP4"));
    std::vector<FileSize> sizes;
    EXPECT_NO_THROW(sizes = files.fileLengths(selection)) << "each size is an answer";
    ASSERT_EQ(sizes.size(), selection.size());
    EXPECT_EQ(sizes.back().bytes, 3);
    DriveCalls patient{wait, [](const std::string& path) { return path.substr(0, 2); }, 1h};
    wait.giveUpAfter = 50ms;
    const auto [cancelled, after] = timed(patient, "d/x", 0, 2s);
    EXPECT_TRUE(cancelled) << "Cancel did not count the drive as gone";
    EXPECT_LT(after, 500ms) << "Cancel did not end the wait at once";
    release->set_value();
    for (auto until = Clock::now() + 5s; Clock::now() < until;) {
        try {
            EXPECT_EQ(calls.call("a/z", [] { return 3; }), 3);
            EXPECT_EQ(calls.call("c/z", [] { return 4; }), 4);
            return;
        } catch (const DriveNotAnswering&) {
            std::this_thread::sleep_for(1ms);
        }
    }
    ADD_FAILURE() << "the drive never answered again";
}

}  // namespace
}  // namespace velmora
