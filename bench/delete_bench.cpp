// Deleting the PSP's videos through the window's handler (Backspace, then Yes), with and without
// a thumbnail each, from a folder of 3,000 and of 10,000: a folder's videos go in a time linear
// in their number, and videos without thumbnails go no slower than those with.
#include <QGuiApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "Offscreen.h"
#include "Ratio.h"
#include "ScratchFolder.h"
#include "app/MainForm.h"
#include "qt/QtPlatform.h"

namespace velmora::bench {
namespace {

// The Linux platform with a user who answers Yes to the question.
class YesPlatform : public qt::QtPlatform {
  public:
    int messageBox(const std::string&, int, const std::optional<std::string>&) override {
        return mb::kAnswerYes;
    }
};

// The median seconds of deleting every one of n videos, made anew outside the timing.
double deletion(const ScratchFolder& folder, int videos, bool thumbnails) {
    YesPlatform platform;
    MainForm form(platform);
    std::vector<double> rounds;
    for (int round = 0; round < 3; ++round) {
        char name[32];
        for (int i = 0; i < videos; ++i) {
            std::snprintf(name, sizeof name, "MAQ%05d", i);
            folder.write(std::string(name) + ".MP4");
            if (thumbnails) {
                folder.write(std::string(name) + ".THM");
            }
        }
        form.listPSP.setPath(folder.path());
        form.listPSP.setListIndex(0);
        form.drivePSP.setPickedVolume(platform.volumeOf(folder.path()));  // as a pick does
        for (int i = 0; i < form.listPSP.ListCount(); ++i) {
            form.listPSP.setSelected(i, true);
        }
        rounds.push_back(secondsOf([&] { form.listPSP_KeyPress(key::kBackspace); }, 1));
        if (form.listPSP.ListCount() != 0) {
            std::fprintf(stderr, "delete_bench: the videos were not deleted\n");
            std::exit(1);
        }
    }
    return median(rounds);
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    using namespace velmora::bench;
    useOffscreenUnlessSet();
    QGuiApplication app(argc, argv);
    const ScratchFolder folder("velmora-delete-bench");
    const double few = deletion(folder, 3000, false);
    const double many = deletion(folder, 10000, false);
    const double withThumbnails = deletion(folder, 3000, true);
    report("Deleting 3,000 videos without thumbnails / with one each", {few, withThumbnails}, 1.2);
    report("Deleting 10,000 videos / 3,000, without thumbnails", {many, few}, 4.0);
    return 0;
}
