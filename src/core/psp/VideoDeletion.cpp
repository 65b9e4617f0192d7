#include "psp/VideoDeletion.h"

#include <map>

#include "app/MainForm.h"
#include "platform/NameIndex.h"
#include "platform/Names.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "psp/FreeSpace.h"
#include "psp/PickedStick.h"
#include "summary/ThumbnailNames.h"

namespace velmora {
namespace {

constexpr const char* kDeleteQuestion = "Do you wish to delete the selected files from your PSP?";
constexpr const char* kDeleteTitle = "Confirm Deletion";

// Whether the step ran through. A file that is read-only, in use or already gone must not
// stop the others; a stick that stops answering stops them all.
template <typename Step>
bool passOverFailure(Step&& step) {
    try {
        step();
        return true;
    } catch (const PlatformError&) {
        return false;
    }
}

struct LessIgnoringCase {
    bool operator()(const std::string& a, const std::string& b) const {
        return lessIgnoreCase(a, b);
    }
};

// How many of the list's videos still in the folder name each thumbnail. Names behave as on
// Windows, so thumbnails that differ only in case are the same file.
class ThumbnailOwners {
  public:
    explicit ThumbnailOwners(const FileList& list) {
        for (int i = 0; i < list.ListCount(); ++i) {
            ++owners_[pspThumbnailName(list.List(i))];
        }
    }
    void videoGone(const std::string& thumbnail) { --owners_[thumbnail]; }
    bool ownedByOthers(const std::string& thumbnail, bool videoGone) const {
        return owners_.at(thumbnail) > (videoGone ? 0 : 1);
    }

  private:
    std::map<std::string, int, LessIgnoringCase> owners_;
};

// The folder's names, read once before the first deletion: a lookup of each thumbnail would
// read a folder of thousands through for every one that is not there, in case it is there in
// another letter case.
NameIndex namesIn(Platform& platform, const std::string& folder) {
    return NameIndex(platform.listFiles(folder),
                     [&platform](std::string_view name) { return platform.nameKey(name); });
}

void deleteThumbnail(Platform& platform, const std::string& folder, const NameIndex& names,
                     const std::string& thumbnail) {
    if (!names.find(thumbnail).empty()) {
        platform.deleteFile(joinPath(folder, thumbnail));
    }
}

void deleteVideosAndThumbnails(Platform& platform, const FileList& list) {
    ThumbnailOwners owners(list);
    const NameIndex names = namesIn(platform, list.Path());
    // The list is read as it stood before the first deletion: it is not refreshed inside the
    // loop, so positions never shift.
    const std::string& folder = list.Path();
    const int count = list.ListCount();
    for (int i = 0; i < count; ++i) {
        if (!list.Selected(i)) {
            continue;
        }
        const std::string thumbnail = pspThumbnailName(list.List(i));
        const bool gone =
            passOverFailure([&] { platform.deleteFile(joinPath(folder, list.List(i))); });
        if (gone) {
            owners.videoGone(thumbnail);
        }
        if (!owners.ownedByOthers(thumbnail, gone)) {
            passOverFailure([&] { deleteThumbnail(platform, folder, names, thumbnail); });
        }
    }
}

}  // namespace

void deleteSelectedVideos(MainForm& form) {
    Platform& platform = form.platform();
    const std::string root = form.drivePSP.Root();
    if (!stickStillPicked(form)) {
        return;
    }
    const int answer = platform.messageBox(
        kDeleteQuestion, mb::kYesNo | mb::kIconQuestion | mb::kDefaultButton2, kDeleteTitle);
    // The stick may have been pulled or swapped while the question was up.
    if (answer != mb::kAnswerYes || !stickStillPicked(form)) {
        return;
    }
    deleteVideosAndThumbnails(platform, form.listPSP);
    passOverFailure([&] { form.listPSP.Refresh(); });
    passOverFailure([&] { form.freePSP.setCaption(freeSpaceFigure(platform, root)); });
}

}  // namespace velmora
