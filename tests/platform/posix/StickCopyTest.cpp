#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <latch>
#include <string_view>
#include <thread>

#include "FileOperations.h"
#include "LoopStick.h"
#include "OffWindowFiles.h"
#include "platform/PlatformError.h"
#include "posix/UniqueFd.h"
#include "support/TempFolder.h"

namespace velmora {

void PrintTo(const StickFormat& format, std::ostream* out) {
    *out << format.name;
}

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint64_t kMegabyte = 1 << 20;
constexpr std::uint64_t kRate = 4 * kMegabyte;  // bytes a second a held stick takes
constexpr const char* kChanged = "The file changed while it was copied";
constexpr const char* kTaken =
    "taken: There is already a file named \"MAQ10001.MP4\" there; it stays as it is";
constexpr const char* kGone = "The folder was removed, or its drive unmounted, during the copy";

// A video on the disk and a stick of 16 MiB held to kRate, of the parameter's format.
class StickCopy : public ::testing::TestWithParam<StickFormat> {
  protected:
    void SetUp() override {
        if (!stick.ready() || !stick.limitWrites(kRate)) {
            GTEST_SKIP() << "No " << GetParam().name
                         << " stick held to a write rate: needs root, a loop device, cgroup v1's "
                            "blkio controller and the driver (FAT: velmora_posix_tests_uml runs "
                            "them in User-Mode Linux; FUSE: /dev/fuse, fusefat, exfat-fuse).";
        }
        source.writeSized("clip.MP4", 2 * kRate);
    }
    // "copied", "cancelled", or why it failed ("taken: " and the reason for a name found taken).
    static std::string copy(const std::string& from, const std::string& to,
                            const FileOperations::Progress& progress = {}) {
        try {
            const auto outcome = FileOperations().copyFile(from, to, progress);
            return outcome == FileOperations::CopyOutcome::Copied ? "copied" : "cancelled";
        } catch (const NameTaken& e) {
            return "taken: " + e.reason();
        } catch (const PlatformError& e) {
            return e.reason();
        }
    }
    std::string copy(const FileOperations::Progress& progress = {}) {
        return copy(source.at("clip.MP4"), target, progress);
    }
    bool on(const StickFormat& format) const {
        return GetParam().name == std::string_view(format.name);
    }
    bool onKernelFat() const { return on(kFat) || on(kFatOpenToAll); }
    bool throughFuse() const { return on(kFuseFat) || on(kExfatFuse); }
    std::vector<std::string> namesOnStick() const {
        std::vector<std::string> names = mountPoint.names("");
        std::erase(names, "lost+found");
        return names;
    }
    // Changes the temporary's first block on the device only, not in the page cache.
    void changeOnTheDeviceOnly() const {
        const std::string temporary = namesOnStick().at(0), written = mountPoint.read(temporary);
        const posix::UniqueFd file(open(mountPoint.at(temporary).c_str(), O_RDONLY));
        const posix::UniqueFd device(open(stick.device().c_str(), O_WRONLY));
        int size = 0, block = 0;  // the file's first block, then where the device holds it
        ASSERT_TRUE(ioctl(file.get(), FIGETBSZ, &size) == 0 &&
                    ioctl(file.get(), FIBMAP, &block) == 0);
        const std::string changed(size, static_cast<char>(written[0] ^ 1));
        ASSERT_TRUE(pwrite(device.get(), changed.data(), size, off_t{block} * size) == size &&
                    fdatasync(device.get()) == 0);
        ASSERT_EQ(mountPoint.read(temporary), written);  // still, through the cache
    }
    test::TempFolder source;
    test::TempFolder mountPoint;
    const std::string target = mountPoint.at("MAQ10001.MP4");
    LoopStick stick{mountPoint.path(), 16, false, GetParam()};
};

TEST_P(StickCopy, ProgressNeverRunsAheadOfTheStickAndDoneMeansOnIt) {
    if (throughFuse()) {
        GTEST_SKIP() << "Through FUSE the writes wait in the driver's own buffers, which no range "
                        "sync reaches: the progress runs ahead, and only the file's sync waits "
                        "for the stick, where the driver passes it on (exfat-fuse does, fusefat "
                        "doesn't).";
    }
    const auto start = Clock::now();
    int reports = 0;
    EXPECT_EQ(copy([&](std::uint64_t copied, std::uint64_t) {
                  const std::chrono::duration<double> elapsed = Clock::now() - start;
                  EXPECT_LE(copied, elapsed.count() * kRate + kMegabyte) << elapsed.count();
                  return ++reports > 0;
              }),
              "copied");
    EXPECT_GT(reports, 4);
    if (!on(kExt4)) {
        return;  // only ext4's journal tells what is left to commit; FAT has the power-cut test
    }
    // Neither the video nor its name in the folder is left for the system to commit.
    const long commits = stick.commits();
    syncfs(posix::UniqueFd(open(mountPoint.path().c_str(), O_RDONLY | O_DIRECTORY)).get());
    EXPECT_EQ(stick.commits(), commits);
}

// A Cancel before the copy is whole under its name leaves nothing, and is answered within a
// second. So does a failure, which says why.
TEST_P(StickCopy, ACancelOrAFailureLeavesNothingOfTheCopyAndAFailureSaysWhy) {
    const std::string theirs = on(kExt4) ? "MAQ10001.MP4" : "maq10001.mp4";
    const char* const full = on(kFuseFat) ? "Operation not permitted" : "No space left on device";
    struct Case {
        const char* what;
        std::uint64_t size;
        std::function<void(std::uint64_t total)> atFirstReport;
        const char* reason;            // why the copy fails (none: it is cancelled)
        std::uint64_t cancelFrom = 0;  // once this many halves are copied ...
        int cancelAt = 0;              // ... at the n-th report from then on (0: never)
        bool whole = false;            // atFirstReport once the copy is whole and synced
    };
    const auto resize = [this](std::uint64_t total) { source.writeSized("clip.MP4", total / 2); };
    for (const Case& c :
         {Case{"cancelled half way", 2 * kRate, {}, nullptr, 1, 1},
          Case{"cancelled before the read-back", 2 * kRate, {}, nullptr, 2, 1},
          Case{"cancelled during the read-back", 2 * kRate, {}, nullptr, 2, 2},
          Case{"more than the stick holds", 17 * kMegabyte, {}, full},
          Case{"4 GiB", 4096 * kMegabyte, {}, onKernelFat() ? "File too large" : full},
          Case{"shrinks", 2 * kRate, resize, kChanged},
          Case{"grows", 2 * kRate, [&](auto total) { resize(total * 4); }, kChanged},
          Case{"name taken", 2 * kRate, [&](auto) { mountPoint.write(theirs, "theirs"); }, kTaken},
          Case{"detached", 2 * kRate, [this](auto) { ASSERT_TRUE(stick.detach()); }, kGone},
          Case{"not given back", 2 * kRate, [this](auto) { changeOnTheDeviceOnly(); }, kNotReadBack,
               0, 0, true}}) {
        // Through FUSE the source is read whole before any write, and no block is mapped.
        if ((c.reason == kChanged || c.reason == kNotReadBack) && throughFuse()) {
            continue;
        }
        source.writeSized("clip.MP4", c.size);
        int reports = 0, reached = 0;
        Clock::time_point cancelled;
        const auto progress = [&](std::uint64_t copied, std::uint64_t total) {
            EXPECT_LE(copied, total) << c.what;
            if (c.atFirstReport && (!c.whole || copied == total) && reports++ == 0) {
                c.atFirstReport(total);
            }
            cancelled = Clock::now();
            return copied < total * c.cancelFrom / 2 || ++reached != c.cancelAt;
        };
        EXPECT_EQ(copy(progress), c.reason ? c.reason : "cancelled") << c.what;
        if (c.reason == nullptr) {
            EXPECT_LT(Clock::now() - cancelled, std::chrono::seconds(1)) << c.what;
        }
        if (c.reason == kTaken) {
            EXPECT_EQ(mountPoint.read(theirs), "theirs") << c.what;
            mountPoint.remove(theirs);
        }
        if (c.reason == kGone) {
            EXPECT_TRUE(namesOnStick().empty());
            ASSERT_TRUE(stick.mount());
        }
        EXPECT_TRUE(namesOnStick().empty()) << c.what;
    }
    ASSERT_TRUE(stick.makeReadOnly());
    EXPECT_EQ(copy(), "Read-only file system");
}

// Two windows' copies to one name, released together: one lands whole, the other fails with
// NameTaken and leaves nothing. A sweep meanwhile takes only a cut copy's temporary. Then anyone
// who may write to the stick copies onto it, whoever owns it: on FAT only the owner may set a
// file's mode or times.
TEST_P(StickCopy, TwoCopiesOfOneNameReleasedTogetherNeverBothLandAndAnotherUserCopiesToo) {
    stick.limitWrites(0);
    const std::string videos[] = {"a.MP4", "b.MP4"};
    for (const std::string& video : videos) {
        source.write(video, std::string(64 << 10, video[0]));
    }
    const std::string other = mountPoint.at("MAQ10002.MP4");
    // Where the kernel's rename refuses to replace, it alone decides, and fewer rounds do.
    const int rounds = throughFuse() ? 100 : 10;
    for (int round = 0; round < rounds; ++round) {
        std::latch waiting(2), released(1);
        std::string outcomes[2];
        {
            std::jthread copies[2];
            for (int i = 0; i < 2; ++i) {
                copies[i] = std::jthread([&, i] {
                    bool arrived = false;
                    outcomes[i] = copy(source.at(videos[i]), target, [&](auto copied, auto total) {
                        if (copied == total && !std::exchange(arrived, true)) {
                            waiting.count_down();
                            released.wait();
                        }
                        return true;
                    });
                    if (!arrived) {
                        waiting.count_down();
                    }
                });
            }
            waiting.wait();
            mountPoint.write(".velmora-copy-Cut000", "cut");
            FileOperations().removeLeftovers(mountPoint.path());
            EXPECT_EQ(copy(source.at(videos[0]), other), "copied");
            released.count_down();
        }
        const int winner = outcomes[0] == "copied" ? 0 : 1;
        ASSERT_EQ(outcomes[winner], "copied") << round;
        ASSERT_EQ(outcomes[1 - winner], kTaken) << round;
        EXPECT_EQ(mountPoint.read("MAQ10001.MP4"), source.read(videos[winner])) << round;
        ASSERT_EQ(namesOnStick(), (std::vector<std::string>{"MAQ10001.MP4", "MAQ10002.MP4"}));
        mountPoint.remove("MAQ10001.MP4");
        mountPoint.remove("MAQ10002.MP4");
    }
    if (on(kFat) || on(kFuseFat)) {
        return;  // this stick is mounted for its user alone
    }
    chmod(mountPoint.path().c_str(), 0777);  // FAT's mount options already say so
    chmod(source.path().c_str(), 0755);
    source.write("clip.MP4", std::string(3 * kMegabyte, 'v'));
    const pid_t child = fork();
    if (child == 0) {  // as nobody
        _exit(setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0 ||
              copy() != "copied");
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(source.read("clip.MP4") == mountPoint.read("MAQ10001.MP4"));
}

INSTANTIATE_TEST_SUITE_P(Formats, StickCopy,
                         ::testing::Values(kExt4, kFat, kFatOpenToAll, kFuseFat, kExfatFuse),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace velmora
