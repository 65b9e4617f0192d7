// The copy to the PSP as a user sees it: through the window's own handler and the Linux
// platform, from videos on the computer's disk onto a separate stick, with nothing of either
// in the page cache; against `cp` followed by `sync` of the same files onto the same stick.
// The stick is an ext4 image on a loop device, its writes and its reads held in turn to 8 MiB/s
// as a USB 2 stick's are and to 40 and 80 MiB/s as USB 3 sticks' are (a stick, or a PSP in USB
// mode, reads about as fast as it writes); so the benchmark runs as root. The copy reads each
// video back from the stick before it counts, and once more at the run's end, which the time
// includes: the read-back's own share is measured by reading every copy back once more after
// the copy.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FileOperations.h"
#include "LoopStick.h"
#include "Offscreen.h"
#include "Ratio.h"
#include "ScratchFolder.h"
#include "app/MainForm.h"
#include "qt/QtPlatform.h"

namespace velmora::bench {
namespace {

constexpr std::uint64_t kMegabyte = 1048576;

// The Linux platform with a user who answers Yes to the question.
class YesPlatform : public qt::QtPlatform {
  public:
    int messageBox(const std::string&, int, const std::optional<std::string>&) override {
        return mb::kAnswerYes;
    }
};

void shell(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
}

// Videos of bytes that differ from block to block, so no file system can share or skip them.
std::vector<std::string> makeVideos(const std::string& folder, int count, std::uint64_t megabytes) {
    std::filesystem::create_directories(folder);
    std::vector<std::string> paths;
    std::string block(kMegabyte, '\0');
    std::uint64_t state = 88172645463325252ull;
    for (int v = 0; v < count; ++v) {
        paths.push_back(folder + "/clip" + std::to_string(1000 + v) + ".MP4");
        std::ofstream out(paths.back(), std::ios::binary);
        for (std::uint64_t m = 0; m < megabytes; ++m) {
            for (std::size_t i = 0; i + 8 <= block.size(); i += 8) {
                state ^= state << 13;
                state ^= state >> 7;
                state ^= state << 17;
                std::memcpy(block.data() + i, &state, sizeof state);
            }
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
    }
    sync();
    return paths;
}

// Nothing of the sources or the stick stays in memory: every round reads from the disk.
void dropCaches(const std::vector<std::string>& sources) {
    sync();
    if (std::ofstream("/proc/sys/vm/drop_caches") << "3\n") {
        return;
    }
    for (const std::string& path : sources) {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        close(fd);
    }
}

void emptyFolder(const std::string& folder) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
}

// A field of /proc/self/status in kB.
long statusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(field)) {
            return std::atol(line.c_str() + std::string(field).size() + 1);
        }
    }
    return -1;
}

struct Scenario {
    int videos;
    std::uint64_t megabytes;
    std::uint64_t limit;  // bytes a second, of reads and writes; 0 for none
    double aim;
    int rounds;
};

// The median seconds of the copy through the window and of cp + sync, in turns: each round
// starts from empty targets and cold caches, prepared outside the timing.
void run(const std::string& scratch, const LoopStick& stick, const Scenario& scenario) {
    const std::string onStick = scratch + "/stick/";
    const std::string source = scratch + "/source";
    std::filesystem::remove_all(source);
    const std::vector<std::string> sources =
        makeVideos(source, scenario.videos, scenario.megabytes);
    const std::string videos = onStick + "MP_ROOT/100ANV01";
    const std::string reference = onStick + "reference";
    stick.limitWrites(scenario.limit);
    stick.limitReads(scenario.limit);

    YesPlatform platform;
    MainForm form(platform);
    form.listSource.setPath(source);
    const auto prepare = [&] {
        emptyFolder(videos);
        emptyFolder(reference);
        form.listPSP.setPath(videos);
        form.drivePSP.setPickedVolume(platform.volumeOf(videos));  // as picking the stick does
        for (int i = 0; i < form.listSource.ListCount(); ++i) {
            form.listSource.setSelected(i, true);
        }
        form.listSource_Click();
        form.freePSP.setCaption("100000000");
        dropCaches(sources);
    };
    long peakKilobytes = 0;
    std::vector<double> readBack;
    // One run's copies share a prefix, and their names sort as their sources do.
    const auto readEachBack = [&] {
        for (int i = 0; i < form.listPSP.ListCount(); ++i) {
            const std::string copy = videos + "/" + form.listPSP.List(i);
            if (FileOperations().readsBack(sources[static_cast<std::size_t>(i)], copy) !=
                read_back::Comparison::Same) {
                std::fprintf(stderr, "%s does not read back\n", copy.c_str());
                std::exit(1);
            }
        }
    };
    const auto copyThroughTheWindow = [&] {
        std::ofstream("/proc/self/clear_refs") << "5";  // a new peak of the resident set
        form.btnCopy_Click();
        peakKilobytes = std::max(peakKilobytes, statusKilobytes("VmHWM:"));
        if (form.listPSP.ListCount() != scenario.videos) {
            std::fprintf(stderr, "the copy did not finish\n");
            std::exit(1);
        }
    };
    const std::string cpAndSync = "cp " + source + "/*.MP4 " + reference + "/ && sync";

    std::vector<double> program, cp;
    for (int round = 0; round < scenario.rounds; ++round) {
        prepare();
        program.push_back(secondsOf(copyThroughTheWindow, 1));
        readBack.push_back(secondsOf(readEachBack, 1));
        prepare();
        cp.push_back(secondsOf([&] { shell(cpAndSync); }, 1));
    }
    stick.limitWrites(0);
    stick.limitReads(0);
    const Timing timing{median(program), median(cp)};
    char held[40] = "";
    if (scenario.limit != 0) {
        std::snprintf(held, sizeof held, " held to %llu MiB/s",
                      static_cast<unsigned long long>(scenario.limit / kMegabyte));
    }
    char what[160];
    std::snprintf(what, sizeof what,
                  "Copy of %d x %llu MiB from the disk onto a stick%s, against cp + sync",
                  scenario.videos, static_cast<unsigned long long>(scenario.megabytes), held);
    report(what, timing, scenario.aim);
    // Read in the copy and again at the run's end.
    std::printf("  read-back %.1f ms, %.1f%% of the copy\n", 2 * median(readBack) * 1e3,
                200 * median(readBack) / timing.program);
    std::printf("  peak resident while copying %.1f MiB (aim: under 64 MiB, %s)\n",
                static_cast<double>(peakKilobytes) / 1024,
                peakKilobytes < 64 * 1024 ? "met" : "NOT met");
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    using namespace velmora::bench;
    if (geteuid() != 0) {
        std::printf(
            "copy_bench: skipped: the stand-in stick is a loop-mounted image, which needs root\n");
        return 0;
    }
    useOffscreenUnlessSet();
    QApplication app(argc, argv);
    const ScratchFolder scratch("velmora-copy-bench");
    std::filesystem::create_directories(scratch.at("stick"));
    const velmora::LoopStick stick(scratch.at("stick"), 3072, true);
    if (!stick.ready()) {
        std::fprintf(stderr, "copy_bench: could not mount the stand-in stick\n");
        return 1;
    }
    run(scratch.path(), stick, {4, 256, 0, 1.0, 3});
    run(scratch.path(), stick, {200, 2, 0, 1.3, 3});
    run(scratch.path(), stick, {200, 2, 40 * kMegabyte, 1.2, 3});
    run(scratch.path(), stick, {2, 128, 8 * kMegabyte, 1.05, 3});
    run(scratch.path(), stick, {2, 128, 40 * kMegabyte, 1.05, 3});
    run(scratch.path(), stick, {2, 256, 80 * kMegabyte, 1.05, 3});
    return 0;
}
