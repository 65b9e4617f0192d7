#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string_view>

#include "FileOperations.h"
#include "LoopStick.h"
#include "platform/PlatformError.h"
#include "support/TempFolder.h"

namespace velmora {

void PrintTo(const StickFormat& format, std::ostream* out) {
    *out << format.name;
}

namespace {

using Clock = std::chrono::steady_clock;
using Outcome = FileOperations::CopyOutcome;
constexpr std::uint64_t kMegabyte = 1 << 20;
constexpr std::uint64_t kRate = 4 * kMegabyte;  // bytes a second a held stick takes
constexpr const char* kChanged = "The file changed while it was copied";

// A video on the computer's disk and a stick of 16 MiB of its own, held to kRate, formatted
// as the test's parameter says. FAT needs a kernel with its driver: scripts/uml-run.sh runs
// these tests in one (velmora_posix_tests_uml).
class StickCopy : public ::testing::TestWithParam<StickFormat> {
  protected:
    void SetUp() override {
        if (!stick.ready() || !stick.limitWrites(kRate)) {
            GTEST_SKIP() << "No " << GetParam().name
                         << " stick held to a write rate: needs root, a loop device, the blkio "
                            "controller of cgroup v1 and the file system's driver (for FAT, "
                            "velmora_posix_tests_uml runs them in User-Mode Linux).";
        }
        source.writeSized("clip.MP4", 2 * kRate);
    }
    Outcome copy(const FileOperations::Progress& progress = {}) {
        return FileOperations().copyFile(source.at("clip.MP4"), target, progress);
    }
    std::string reasonCopyFails(const FileOperations::Progress& progress = {}) {
        try {
            copy(progress);
        } catch (const PlatformError& e) {
            return e.reason();
        }
        return "copied";
    }
    bool onFat() const { return std::string_view(GetParam().mkfs) == kFat.mkfs; }
    bool stickHoldsNothing() const {
        for (const auto& entry : std::filesystem::directory_iterator(mountPoint.path())) {
            if (entry.path().filename() != "lost+found") {
                return false;
            }
        }
        return true;
    }
    std::uint64_t stickFreeBytes() const {
        struct statvfs info {};
        statvfs(mountPoint.path().c_str(), &info);
        return info.f_bavail * info.f_frsize;
    }
    test::TempFolder source;
    test::TempFolder mountPoint;
    const std::string target = mountPoint.at("MAQ10001.MP4");
    LoopStick stick{mountPoint.path(), 16, false, GetParam()};
};

TEST_P(StickCopy, AFullOrReadOnlyStickOrOneTooSmallAFileSystemKeepsNothingAndSaysWhy) {
    stick.limitWrites(0);
    struct Case {
        std::uint64_t size;
        const char* reason;
    };
    const Case cases[] = {
        {stickFreeBytes() + kMegabyte, "No space left on device"},
        // FAT holds files below 4 GiB: refused before anything is written, not once the stick
        // is full.
        {4096 * kMegabyte, onFat() ? "File too large" : "No space left on device"},
    };
    for (const Case& c : cases) {
        source.writeSized("clip.MP4", c.size);
        EXPECT_EQ(reasonCopyFails(), c.reason) << c.size;
        EXPECT_TRUE(stickHoldsNothing());
    }
    source.writeSized("clip.MP4", kMegabyte);
    ASSERT_TRUE(stick.makeReadOnly());
    EXPECT_EQ(reasonCopyFails(), "Read-only file system");
}

TEST_P(StickCopy, ProgressNeverRunsAheadOfTheStickAndDoneMeansOnIt) {
    const auto start = Clock::now();
    int reports = 0;
    EXPECT_EQ(copy([&](std::uint64_t copied, std::uint64_t) {
                  const std::chrono::duration<double> elapsed = Clock::now() - start;
                  EXPECT_LE(copied, elapsed.count() * kRate + kMegabyte) << elapsed.count();
                  return ++reports > 0;
              }),
              Outcome::Copied);
    EXPECT_GT(reports, 4);
    if (onFat()) {
        return;  // only ext4's journal tells what is left to commit; FAT has the power-cut test
    }
    // Neither the video nor its name in the folder is left for the system to commit.
    const long commits = stick.commits();
    const int fd = open(mountPoint.path().c_str(), O_RDONLY | O_DIRECTORY);
    syncfs(fd);
    close(fd);
    EXPECT_EQ(stick.commits(), commits);
}

TEST_P(StickCopy, CancelHalfWayAnswersWithinASecondAndLeavesNothing) {
    Clock::time_point cancelled;
    EXPECT_EQ(copy([&](std::uint64_t copied, std::uint64_t total) {
                  cancelled = Clock::now();
                  return copied < total / 2;
              }),
              Outcome::Cancelled);
    EXPECT_LT(Clock::now() - cancelled, std::chrono::seconds(1));
    EXPECT_TRUE(stickHoldsNothing());
}

// A source that changes under the copy, or a Cancel at its last moments, leaves nothing.
TEST_P(StickCopy, ASourceThatChangesOrALateCancelLeavesNothing) {
    struct Case {
        const char* what;
        // At each report, with the source's path: whether the copy goes on.
        std::function<bool(int report, std::uint64_t copied, std::uint64_t total,
                           const std::string& source)>
            atReport;
        const char* reason;  // "" for a cancel
    };
    const Case cases[] = {
        {"shrinks",
         [](int report, auto, auto total, const std::string& path) {
             return report > 1 || truncate(path.c_str(), static_cast<off_t>(total / 2)) == 0;
         },
         kChanged},
        {"grows",
         [](int report, auto, auto total, const std::string& path) {
             return report > 1 || truncate(path.c_str(), static_cast<off_t>(total * 2)) == 0;
         },
         kChanged},
        {"cancelled before the rename",
         [](int, auto copied, auto total, const std::string&) { return copied < total; }, ""},
        {"cancelled after the rename",
         [finals = 0](int, auto copied, auto total, const std::string&) mutable {
             return copied < total || ++finals < 2;
         },
         ""},
    };
    for (const Case& c : cases) {
        source.writeSized("clip.MP4", 2 * kRate);
        int reports = 0;
        const auto progress = [&](std::uint64_t copied, std::uint64_t total) {
            EXPECT_LE(copied, total) << c.what;
            return c.atReport(++reports, copied, total, source.at("clip.MP4"));
        };
        if (*c.reason != '\0') {
            EXPECT_EQ(reasonCopyFails(progress), c.reason) << c.what;
        } else {
            EXPECT_EQ(copy(progress), Outcome::Cancelled) << c.what;
        }
        EXPECT_TRUE(stickHoldsNothing()) << c.what;
    }
}

// Anyone who may write to the stick can copy onto it, whoever owns it: on FAT only the owner
// may set a file's mode or times.
TEST_P(StickCopy, AnotherUserCopiesOntoAStickOpenToAll) {
    if (std::string_view(GetParam().name) == kFat.name) {
        GTEST_SKIP() << "This stick is mounted for its user alone.";
    }
    stick.limitWrites(0);
    chmod(mountPoint.path().c_str(), 0777);  // FAT's mount options already say so
    chmod(source.path().c_str(), 0755);
    source.write("clip.MP4", std::string(3 * kMegabyte, 'v'));
    const pid_t child = fork();
    if (child == 0) {
        try {
            _exit(setresgid(65534, 65534, 65534) == 0 && setresuid(65534, 65534, 65534) == 0 &&
                          copy() == Outcome::Copied
                      ? 0
                      : 1);
        } catch (const PlatformError& e) {
            std::fprintf(stderr, "%s\n", e.what());
            _exit(2);
        }
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(source.read("clip.MP4") == mountPoint.read("MAQ10001.MP4"));
}

INSTANTIATE_TEST_SUITE_P(Formats, StickCopy, ::testing::Values(kExt4, kFat, kFatOpenToAll),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace velmora
