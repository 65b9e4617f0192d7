#include <algorithm>
#include <exception>

#include "app/MainForm.h"
#include "platform/NameIndex.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "summary/Megabytes.h"
#include "summary/ThumbnailNames.h"

namespace velmora {
namespace {

using ThumbnailName = std::string (*)(std::string_view video);

// Keeps the first failure of a run and lets the run go on, so that the figure is always
// written for what could be read: the copy reads sizeSource back, and a stale figure there
// would mislead its space test.
class FirstFailure {
  public:
    template <typename Step>
    void run(Step&& step) {
        try {
            step();
        } catch (const PlatformError&) {
            if (!failure_) {
                failure_ = std::current_exception();
            }
        }
    }
    void rethrow() const {
        if (failure_) {
            std::rethrow_exception(failure_);
        }
    }

  private:
    std::exception_ptr failure_;
};

std::uint64_t videoMegabytes(Platform& platform, const std::string& path) {
    return wholeMegabytes(
        static_cast<std::uint64_t>(std::max<std::int64_t>(0, platform.fileLength(path))));
}

// A thumbnail that is not a picture paints nothing.
bool paintThumbnail(Platform& platform, const std::string& path, PictureBox& preview) {
    auto picture = platform.loadPicture(path);
    if (!picture) {
        return false;
    }
    preview.paint(std::move(picture));
    return true;
}

// The total of the selected videos, each counted in whole megabytes, goes into figure.
// The box shows the thumbnail of the highest selected video that has one that loads, so the
// walk for it starts there and stops at the first that paints: a large selection decodes one
// picture, not one for each video. The thumbnails are found in one read of the folder, which
// a lookup of each would read whole for every video that has none. Nothing clears the box. A
// video or thumbnail that can't be read is reported after the figure is written.
void summarizeSelection(Platform& platform, const FileList& list, ThumbnailName thumbnailName,
                        PictureBox& preview, Label& figure) {
    FirstFailure failure;
    std::uint64_t total = 0;
    bool anySelected = false;
    const std::string& folder = list.Path();
    const int count = list.ListCount();
    for (int i = 0; i < count; ++i) {
        if (list.Selected(i)) {
            anySelected = true;
            failure.run([&] { total += videoMegabytes(platform, joinPath(folder, list.List(i))); });
        }
    }
    NameIndex stored;
    if (anySelected) {
        failure.run([&] {
            stored = NameIndex(platform.listFiles(folder), [&platform](std::string_view name) {
                return platform.nameKey(name);
            });
        });
    }
    bool painted = false;
    for (int i = count - 1; i >= 0 && !painted; --i) {
        const std::string thumbnail =
            list.Selected(i) ? stored.find(thumbnailName(list.List(i))) : std::string();
        if (!thumbnail.empty()) {
            failure.run(
                [&] { painted = paintThumbnail(platform, joinPath(folder, thumbnail), preview); });
        }
    }
    figure.setCaption(megabyteFigure(total));
    failure.rethrow();
}

}  // namespace

void MainForm::listSource_Click() {
    summarizeSelection(platform_, listSource, sourceThumbnailName, picSource, sizeSource);
}

void MainForm::listPSP_Click() {
    summarizeSelection(platform_, listPSP, pspThumbnailName, picPSP, sizePSP);
}

}  // namespace velmora
