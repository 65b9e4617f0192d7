#include "copy/CopyItem.h"

#include <optional>
#include <string>

#include "app/MainForm.h"
#include "copy/PspNames.h"
#include "platform/BusyCursor.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "summary/ThumbnailNames.h"

namespace velmora {
namespace {

// The busy pointer shows while a video is copied, and not while its thumbnail is.
bool copyVideo(Platform& platform, const std::string& from, const std::string& to) {
    const BusyCursor busy(platform);
    const ShellCopyResult result = platform.shellCopy(from, to);
    return result.code == 0 && !result.aborted;
}

void copyThumbnail(Platform& platform, const std::string& from, const std::string& to,
                   const std::string& video) {
    try {
        if (!platform.findFirst(from, lookup::kFilesOnly | lookup::kNameAsWritten).empty()) {
            platform.copyFile(from, to);
        }
    } catch (...) {
        // The item stays selected, so it must not be on the PSP: the user copies it again
        // once the cause is gone. The thumbnail's failure is the one worth reporting.
        try {
            platform.deleteFile(video);
        } catch (...) {
        }
        throw;
    }
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

}  // namespace

bool copyItemToPsp(MainForm& form, int prefix, int i) {
    Platform& platform = form.platform();
    const std::string& video = form.listSource.List(i);
    const std::optional<std::string> pspName = pspVideoName(prefix, i + 1);
    if (!pspName) {
        platform.messageBox(noNameMessage(video), mb::kOk);
        return false;
    }
    const std::string& sourceFolder = form.listSource.Path();
    const std::string& pspFolder = form.listPSP.Path();
    const std::string target = joinPath(pspFolder, *pspName);
    const std::string targetThumbnail = joinPath(pspFolder, pspThumbnailName(*pspName));
    // Something may have taken a name of the run since its prefix was drawn: another program,
    // another window, the PSP itself. What the stick holds is never replaced.
    for (const std::string& path : {target, targetThumbnail}) {
        if (nameTaken(platform, path)) {
            platform.messageBox(takenNameMessage(path), mb::kOk);
            return false;
        }
    }
    if (!copyVideo(platform, joinPath(sourceFolder, video), target)) {
        return false;
    }
    copyThumbnail(platform, joinPath(sourceFolder, sourceThumbnailName(video)), targetThumbnail,
                  target);
    return true;
}

}  // namespace velmora
