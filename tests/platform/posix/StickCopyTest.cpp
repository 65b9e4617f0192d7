#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "FileOperations.h"
#include "LoopStick.h"
#include "platform/PlatformError.h"
#include "support/TempFolder.h"

namespace velmora {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint64_t kMegabyte = 1 << 20;
constexpr std::uint64_t kRate = 4 * kMegabyte;  // bytes a second a held stick takes

// A video on the computer's disk and a stick of 16 MiB (13 free) of its own, held to kRate.
class StickCopy : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!stick.ready() || !stick.limitWrites(kRate)) {
            GTEST_SKIP() << "No stick held to a write rate: needs root, a loop device and the "
                            "blkio controller of cgroup v1.";
        }
        source.writeSized("clip.MP4", 2 * kRate);
    }
    FileOperations::CopyOutcome copy(const FileOperations::Progress& progress = {}) {
        return FileOperations().copyFile(source.at("clip.MP4"), mountPoint.at("MAQ10001.MP4"),
                                         progress);
    }
    bool stickHoldsNothing() const {  // but lost+found
        return std::distance(std::filesystem::directory_iterator(mountPoint.path()), {}) == 1;
    }
    test::TempFolder source;
    test::TempFolder mountPoint;
    LoopStick stick{mountPoint.path(), 16};
};

TEST_F(StickCopy, AFullOrReadOnlyStickKeepsNothingAndSaysWhy) {
    stick.limitWrites(0);
    source.writeSized("clip.MP4", 14 * kMegabyte);
    for (const char* reason : {"No space left on device", "Read-only file system"}) {
        try {
            copy();
            ADD_FAILURE() << "expected: " << reason;
        } catch (const PlatformError& e) {
            EXPECT_EQ(e.reason(), reason);
        }
        EXPECT_TRUE(stickHoldsNothing());
        ASSERT_TRUE(stick.makeReadOnly());
    }
}

TEST_F(StickCopy, ProgressNeverRunsAheadOfTheStickAndDoneMeansOnIt) {
    const auto start = Clock::now();
    int reports = 0;
    EXPECT_EQ(copy([&](std::uint64_t copied, std::uint64_t) {
                  const std::chrono::duration<double> elapsed = Clock::now() - start;
                  EXPECT_LE(copied, elapsed.count() * kRate + kMegabyte) << elapsed.count();
                  return ++reports > 0;
              }),
              FileOperations::CopyOutcome::Copied);
    EXPECT_GT(reports, 4);
    // Neither the video nor its name in the folder is left for the system to commit.
    const long commits = stick.commits();
    const int fd = open(mountPoint.path().c_str(), O_RDONLY | O_DIRECTORY);
    syncfs(fd);
    close(fd);
    EXPECT_EQ(stick.commits(), commits);
}

TEST_F(StickCopy, CancelHalfWayAnswersWithinASecondAndLeavesNothing) {
    Clock::time_point cancelled;
    EXPECT_EQ(copy([&](std::uint64_t copied, std::uint64_t total) {
                  cancelled = Clock::now();
                  return copied < total / 2;
              }),
              FileOperations::CopyOutcome::Cancelled);
    EXPECT_LT(Clock::now() - cancelled, std::chrono::seconds(1));
    EXPECT_TRUE(stickHoldsNothing());
}

}  // namespace
}  // namespace velmora
