// A refresh of the PSP side on a folder of 10,000 files, half of them videos, against a bare
// scan of the same folder.
#include <dirent.h>

#include <QGuiApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "Offscreen.h"
#include "qt/QtPlatform.h"
#include "Ratio.h"
#include "ScratchFolder.h"
#include "app/MainForm.h"

namespace velmora::bench {
namespace {

constexpr int kFiles = 10000;

void makeVideosAndThumbnails(const ScratchFolder& folder) {
    char name[32];
    for (int i = 0; i < kFiles / 2; ++i) {
        std::snprintf(name, sizeof name, "MAQ%05d", i);
        folder.write(std::string(name) + ".MP4");
        folder.write(std::string(name) + ".THM");
    }
}

std::vector<std::string> scan(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    while (const dirent* entry = readdir(dir)) {
        names.emplace_back(entry->d_name);
    }
    closedir(dir);
    return names;
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    using namespace velmora;
    bench::useOffscreenUnlessSet();
    QGuiApplication app(argc, argv);
    const bench::ScratchFolder folder("velmora-refresh-bench");
    bench::makeVideosAndThumbnails(folder);

    qt::QtPlatform platform;
    MainForm form(platform);
    form.listPSP.setPath(folder.path());
    std::size_t scanned = 0;

    const bench::Timing timing = bench::compare(
        15, 10, [&] { form.listPSP_KeyPress(key::kCtrlR); },
        [&] { scanned = bench::scan(folder.path()).size(); });
    std::printf("listPSP shows %d videos of %zu entries\n", form.listPSP.ListCount(), scanned);
    bench::report("Refresh of the PSP side on 10,000 files / bare directory scan", timing, 1.5);
    return 0;
}
