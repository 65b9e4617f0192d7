#include "copy/CopyItem.h"

#include <exception>
#include <optional>
#include <string>

#include "app/MainForm.h"
#include "copy/NamePrefix.h"
#include "copy/PspNames.h"
#include "platform/BusyCursor.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "psp/PickedStick.h"
#include "summary/ThumbnailNames.h"

namespace velmora {
namespace {

// How often one item draws a new prefix when a name of it is found taken: two windows that
// drew one prefix meet once; names taken again and again say that something else is wrong.
constexpr int kRedraws = 3;

// The busy pointer shows while a video is copied, and not while its thumbnail is.
ShellCopyResult copyVideo(Platform& platform, const std::string& from, const std::string& to,
                          const CopyStep& step) {
    const BusyCursor busy(platform);
    return platform.shellCopy(from, to, step);
}

// Whether the video is still on the stick once it was to be taken back off it: a stick that
// stopped answering fails every call at once, and a deletion that fails may leave the file.
bool stillOnStick(Platform& platform, const std::string& video) {
    try {
        platform.deleteFile(video);
        return false;
    } catch (...) {
    }
    try {
        return !platform.findFirst(video, lookup::kFilesOnly | lookup::kNameAsWritten).empty();
    } catch (...) {
        return true;
    }
}

std::string landedMessage(const std::string& video, const std::string& pspName) {
    return "\"" + video + "\" is on the PSP as \"" + pspName +
           "\" and counts as copied, but its thumbnail may be missing.";
}

// True when the source folder holds a thumbnail, which was copied beside its video. When its
// step fails, the video is taken back off the stick so that the item, which stays selected, is
// not on the PSP, and the failure goes on to the caller; where the video can't be taken back,
// it counts as copied without its thumbnail and the user is told so, and the failure is left
// for the caller in failedAfter: the next copy must not put the video there a second time.
bool copyThumbnail(Platform& platform, const std::string& from, const std::string& to,
                   const std::string& video, const std::string& landed,
                   std::exception_ptr& failedAfter) {
    try {
        if (platform.findFirst(from, lookup::kFilesOnly | lookup::kNameAsWritten).empty()) {
            return false;
        }
        platform.copyFile(from, to);
        return true;
    } catch (...) {
        if (!stillOnStick(platform, video)) {
            throw;  // the thumbnail's failure is the one worth reporting
        }
        failedAfter = std::current_exception();
    }
    platform.messageBox(landed, mb::kOk | mb::kIconError);
    return false;
}

// Whether a file or folder has this name, in any letter case.
bool nameTaken(Platform& platform, const std::string& path) {
    return !platform.findFirst(path, lookup::kFoldersToo | lookup::kNameAsWritten).empty();
}

std::string takenNameMessage(const std::string& path) {
    return "\"" + path +
           "\" is already on the PSP and stays as it is. Copy again: the videos still selected "
           "then get new names.";
}

std::string noNameMessage(const std::string& video) {
    return "Only the first " + std::to_string(kLastNamedPosition) +
           " files of a folder can be copied to the PSP. Move \"" + video +
           "\" and the files after it to another folder and copy them from there.";
}

// Where one item goes under one prefix.
struct Targets {
    std::string video;
    std::string thumbnail;
};

Targets targetsOf(const std::string& pspFolder, int prefix, int position) {
    const std::string name = *pspVideoName(prefix, position);
    return {joinPath(pspFolder, name), joinPath(pspFolder, pspThumbnailName(name))};
}

// The name of the two that is taken already; empty when neither is.
std::string takenOf(Platform& platform, const Targets& targets) {
    for (const std::string& path : {targets.video, targets.thumbnail}) {
        if (nameTaken(platform, path)) {
            return path;
        }
    }
    return {};
}

// Draws the prefix anew after `taken` was found taken; false (and the user told why) when
// no more draws are left.
bool drawAgain(Platform& platform, const std::string& pspFolder, int& prefix, int& draws,
               const std::string& taken) {
    if (++draws > kRedraws) {
        platform.messageBox(takenNameMessage(taken), mb::kOk);
        return false;
    }
    const std::optional<int> next = drawNamePrefix(platform, pspFolder);
    if (!next) {
        platform.messageBox(kNoNamesLeft, mb::kOk);
        return false;
    }
    prefix = *next;
    return true;
}

}  // namespace

bool copyItemToPsp(MainForm& form, int& prefix, int i, const CopyStep& step,
                   std::vector<CopiedItem>& copied, std::exception_ptr& failedAfter) {
    Platform& platform = form.platform();
    const std::string& video = form.listSource.List(i);
    if (!pspVideoName(prefix, i + 1)) {
        platform.messageBox(noNameMessage(video), mb::kOk);
        return false;
    }
    const std::string from = joinPath(form.listSource.Path(), video);
    const std::string thumbnail = joinPath(form.listSource.Path(), sourceThumbnailName(video));
    const std::string& pspFolder = form.listPSP.Path();
    // Something may have taken a name of the run since its prefix was drawn: another program,
    // another window, the PSP itself. What the stick holds is never replaced.
    for (int draws = 0;;) {
        const Targets targets = targetsOf(pspFolder, prefix, i + 1);
        std::string taken = takenOf(platform, targets);
        if (taken.empty()) {
            const ShellCopyResult result = copyVideo(platform, from, targets.video, step);
            if (!result.silentDrive.empty()) {
                // As for a stick that went, unless only the source stopped answering; the copy
                // has told the user.
                if (holdsPspSide(form, result.silentDrive)) {
                    clearPspSide(form);
                }
                return false;
            }
            if (!result.nameTaken) {
                if (result.code != 0 || result.aborted) {
                    return false;
                }
                CopiedItem item{i, {{from, targets.video}}};
                if (copyThumbnail(platform, thumbnail, targets.thumbnail, targets.video,
                                  landedMessage(video, *pspVideoName(prefix, i + 1)),
                                  failedAfter)) {
                    item.files.emplace_back(thumbnail, targets.thumbnail);
                }
                copied.push_back(std::move(item));
                return true;
            }
            taken = targets.video;
        }
        if (!drawAgain(platform, pspFolder, prefix, draws, taken)) {
            return false;
        }
    }
}

}  // namespace velmora
