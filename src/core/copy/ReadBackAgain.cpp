#include "copy/ReadBackAgain.h"

#include <string>

#include "app/MainForm.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "psp/VideoFolder.h"

namespace velmora {
namespace {

// A copy that can't be read is lost; a source that can't be read (moved meanwhile) says
// nothing of the stick, and its copy stays.
bool givesBack(Platform& platform, const std::string& from, const std::string& copy) {
    try {
        return platform.readsBack(from, copy);
    } catch (const PlatformError& failure) {
        return failure.path() != copy;
    }
}

bool allGiveBack(Platform& platform, const CopiedItem& item) {
    for (const auto& [from, copy] : item.files) {
        if (!givesBack(platform, from, copy)) {
            return false;
        }
    }
    return true;
}

// False when the stick refuses to let a file go.
bool removeCopies(Platform& platform, const CopiedItem& item) {
    bool removed = true;
    for (const auto& file : item.files) {
        try {
            platform.deleteFile(file.second);
        } catch (const PlatformError&) {
            removed = false;
        }
    }
    return removed;
}

std::string quoted(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) {
        list += (list.empty() ? "\"" : ", \"") + name + "\"";
    }
    return list;
}

std::string lostMessage(const std::vector<std::string>& lost,
                        const std::vector<std::string>& kept) {
    std::string text =
        "The stick did not give back these videos after they were copied: " + quoted(lost) +
        ". It may be failing, or hold less than it claims. ";
    if (kept.empty()) {
        return text + "They were removed from the stick and are selected again.";
    }
    return text + "They are selected again; the stick did not let the copies of " + quoted(kept) +
           " be removed: delete them on the PSP.";
}

bool stickStillThere(MainForm& form) {
    const std::optional<VolumeId> volume = form.drivePSP.pickedVolume();
    return volume && isOnVolume(form.platform(), form.listPSP.Path(), *volume);
}

}  // namespace

bool readBackAgain(MainForm& form, const std::vector<CopiedItem>& copied) {
    if (copied.empty() || !stickStillThere(form)) {
        return true;
    }
    Platform& platform = form.platform();
    std::vector<std::string> lost;
    std::vector<std::string> kept;
    for (const CopiedItem& item : copied) {
        if (allGiveBack(platform, item)) {
            continue;
        }
        const std::string& video = form.listSource.List(item.item);
        lost.push_back(video);
        if (!removeCopies(platform, item)) {
            kept.push_back(video);
        }
        form.listSource.setSelected(item.item, true);
    }
    if (lost.empty()) {
        return true;
    }
    form.listPSP_KeyPress(key::kCtrlR);
    platform.messageBox(lostMessage(lost, kept), mb::kOk | mb::kIconError);
    return false;
}

}  // namespace velmora
