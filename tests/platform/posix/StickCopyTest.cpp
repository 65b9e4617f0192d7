#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "FileOperations.h"
#include "platform/posix/LoopStick.h"
#include "support/TempFolder.h"

namespace velmora {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint64_t kMegabyte = 1 << 20;
constexpr std::uint64_t kRate = 4 * kMegabyte;  // bytes a second the stick takes
constexpr std::uint64_t kVideo = 8 * kMegabyte;

// A video on the computer's disk and a stick that writes no faster than kRate.
class ThrottledCopy : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!stick.ready() || !stick.limitWrites(kRate)) {
            GTEST_SKIP() << "No stick held to a write rate: needs root, a loop device and the "
                            "blkio controller of cgroup v1.";
        }
        source.writeSized("clip.MP4", kVideo);
    }
    FileOperations::CopyOutcome copy(const FileOperations::Progress& progress) {
        return FileOperations().copyFile(source.at("clip.MP4"), mountPoint.at("MAQ10001.MP4"),
                                         progress);
    }
    test::TempFolder source;
    test::TempFolder mountPoint;
    test::LoopStick stick{mountPoint.path(), 64};
};

TEST_F(ThrottledCopy, ProgressNeverRunsAheadOfTheStickAndDoneMeansOnTheStick) {
    const auto start = Clock::now();
    std::uint64_t reports = 0;
    const auto outcome = copy([&](std::uint64_t copied, std::uint64_t) {
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        EXPECT_LE(copied, elapsed.count() * kRate + kMegabyte) << "after " << elapsed.count();
        ++reports;
        return true;
    });
    ASSERT_EQ(outcome, FileOperations::CopyOutcome::Copied);
    EXPECT_GT(reports, 4u);
    // Neither the video nor its name in the folder is left for the system to commit.
    const long commits = stick.commits();
    const int fd = open(mountPoint.path().c_str(), O_RDONLY | O_DIRECTORY);
    syncfs(fd);
    close(fd);
    EXPECT_EQ(stick.commits(), commits);
}

TEST_F(ThrottledCopy, CancelHalfWayAnswersWithinASecondAndLeavesNothing) {
    Clock::time_point cancelled;
    const auto outcome = copy([&](std::uint64_t copied, std::uint64_t total) {
        if (copied < total / 2) {
            return true;
        }
        cancelled = Clock::now();
        return false;
    });
    EXPECT_EQ(outcome, FileOperations::CopyOutcome::Cancelled);
    EXPECT_LT(Clock::now() - cancelled, std::chrono::seconds(1));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(mountPoint.path()), {}), 1);
}

}  // namespace
}  // namespace velmora
