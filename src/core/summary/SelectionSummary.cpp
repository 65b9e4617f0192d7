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
            keep(std::current_exception());
        }
    }
    void keep(std::exception_ptr failure) {
        if (!failure_) {
            failure_ = std::move(failure);
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

// Each video counts in whole megabytes, so fractions never add up across videos.
std::uint64_t totalMegabytes(const std::vector<FileSize>& sizes, FirstFailure& failure) {
    std::uint64_t total = 0;
    for (const FileSize& size : sizes) {
        if (size.failure) {
            failure.keep(size.failure);
        } else {
            total +=
                wholeMegabytes(static_cast<std::uint64_t>(std::max<std::int64_t>(0, size.bytes)));
        }
    }
    return total;
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
    const std::string& folder = list.Path();
    const int count = list.ListCount();
    std::vector<std::string> videos;
    for (int i = 0; i < count; ++i) {
        if (list.Selected(i)) {
            videos.push_back(joinPath(folder, list.List(i)));
        }
    }
    const std::uint64_t total = totalMegabytes(platform.fileLengths(videos), failure);
    NameIndex stored;
    if (!videos.empty()) {
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
