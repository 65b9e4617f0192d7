// The copy to the PSP through the window's own handler and the Linux platform, against `cp`
// followed by `sync` of the same files, and the peak resident memory while it copies.
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Offscreen.h"
#include "QtPlatform.h"
#include "Ratio.h"
#include "ScratchFolder.h"
#include "app/MainForm.h"

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

// Videos of bytes that differ from block to block, so no file system can share or skip them.
void makeVideos(const std::string& folder, int count, std::uint64_t megabytes) {
    std::filesystem::create_directories(folder);
    std::string block(kMegabyte, '\0');
    std::uint64_t state = 88172645463325252ull;
    for (int v = 0; v < count; ++v) {
        std::ofstream out(folder + "/clip" + std::to_string(1000 + v) + ".MP4", std::ios::binary);
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
}

void emptyFolder(const std::string& folder) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    sync();
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

// Starts a new peak: the kernel forgets the high-water mark of the resident set.
void resetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct Scenario {
    int videos;
    std::uint64_t megabytes;
    int rounds;
};

// Median seconds of each way of copying. Every round empties the targets first, outside the
// timing, and the ways take turns so that all see the same caches and load; the first
// round only warms up.
struct Medians {
    double window = 0;
    double platformAlone = 0;
    double cpAndSync = 0;
};

template <typename Prepare, typename Window, typename PlatformAlone, typename CpAndSync>
Medians timeInTurns(int rounds, Prepare&& prepare, Window&& window, PlatformAlone&& platformAlone,
                    CpAndSync&& cpAndSync) {
    std::vector<double> windowTimes, platformTimes, cpTimes;
    for (int round = 0; round <= rounds; ++round) {
        prepare();
        const double w = secondsOf(window, 1);
        prepare();
        const double p = secondsOf(platformAlone, 1);
        prepare();
        const double c = secondsOf(cpAndSync, 1);
        if (round > 0) {
            windowTimes.push_back(w);
            platformTimes.push_back(p);
            cpTimes.push_back(c);
        }
    }
    return {median(windowTimes), median(platformTimes), median(cpTimes)};
}

void run(const Scenario& scenario) {
    const ScratchFolder scratch("velmora-copy-bench");
    const std::string source = scratch.at("source");
    const std::string stick = scratch.at("stick/MP_ROOT/100ANV01");
    const std::string reference = scratch.at("reference");
    makeVideos(source, scenario.videos, scenario.megabytes);

    YesPlatform platform;
    MainForm form(platform);
    form.listSource.setPath(source);
    const auto prepare = [&] {
        emptyFolder(stick);
        emptyFolder(reference);
        form.listPSP.setPath(stick);
        for (int i = 0; i < form.listSource.ListCount(); ++i) {
            form.listSource.setSelected(i, true);
        }
        form.listSource_Click();
        form.freePSP.setCaption("100000000");
    };

    long peakKilobytes = 0;
    const long before = statusKilobytes("VmRSS:");
    const auto copyThroughTheWindow = [&] {
        resetPeakResident();
        form.btnCopy_Click();
        peakKilobytes = std::max(peakKilobytes, statusKilobytes("VmHWM:"));
        if (form.listPSP.ListCount() != scenario.videos) {
            std::fprintf(stderr, "the copy did not finish\n");
            std::exit(1);
        }
    };
    // The platform's copy alone, file by file, tells the handler's share from the platform's.
    const auto copyByPlatform = [&] {
        for (int i = 0; i < form.listSource.ListCount(); ++i) {
            const std::string& name = form.listSource.List(i);
            platform.shellCopy(source + "/" + name, stick + "/" + name);
        }
    };
    const std::string cpAndSync = "cp " + source + "/*.MP4 " + reference + "/ && sync";
    const auto copyByCp = [&] {
        if (std::system(cpAndSync.c_str()) != 0) {
            std::fprintf(stderr, "cp failed\n");
            std::exit(1);
        }
    };

    const Medians m =
        timeInTurns(scenario.rounds, prepare, copyThroughTheWindow, copyByPlatform, copyByCp);
    const double ratio = m.window / m.cpAndSync;
    std::printf("Copy of %d videos of %llu MiB against cp + sync (median of %d rounds)\n",
                scenario.videos, static_cast<unsigned long long>(scenario.megabytes),
                scenario.rounds);
    std::printf(
        "  program   %9.3f ms\n  reference %9.3f ms\n  ratio     %9.3f (aim: at most "
        "1.05, %s)\n",
        m.window * 1e3, m.cpAndSync * 1e3, ratio, ratio <= 1.05 ? "met" : "NOT met");
    std::printf("  the platform's copy alone, file by file: %9.3f ms, ratio %.3f\n",
                m.platformAlone * 1e3, m.platformAlone / m.cpAndSync);
    std::printf(
        "  peak resident while copying %.1f MiB (resident before: %.1f MiB; aim: under "
        "64 MiB, %s)\n",
        static_cast<double>(peakKilobytes) / 1024, static_cast<double>(before) / 1024,
        peakKilobytes < 64 * 1024 ? "met" : "NOT met");
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    using namespace velmora;
    bench::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    bench::run({4, 256, 5});
    bench::run({200, 2, 5});
    return 0;
}
