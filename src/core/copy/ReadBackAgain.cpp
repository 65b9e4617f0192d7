#include "copy/ReadBackAgain.h"

#include <algorithm>
#include <string>

#include "app/MainForm.h"
#include "platform/Platform.h"
#include "psp/PickedStick.h"
#include "psp/VideoFolder.h"

namespace velmora {
namespace {

std::vector<CopiedFile> filesOf(const std::vector<CopiedItem>& copied) {
    std::vector<CopiedFile> files;
    for (const CopiedItem& item : copied) {
        for (const auto& [from, copy] : item.files) {
            files.push_back({from, copy});
        }
    }
    return files;
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
    try {
        return volume && isOnVolume(form.platform(), form.listPSP.Path(), *volume);
    } catch (const DriveNotAnswering&) {
        return false;
    }
}

// Takes the items whose copies gave other bytes back off the stick, where it lets them go, and
// selects them again; returns their names, and in kept those still on the stick.
std::vector<std::string> dropLost(MainForm& form, const std::vector<CopiedItem>& copied,
                                  const std::vector<Recheck>& verdicts,
                                  std::vector<std::string>& kept) {
    std::vector<std::string> lost;
    auto verdict = verdicts.begin();
    for (const CopiedItem& item : copied) {
        const auto end = verdict + static_cast<std::ptrdiff_t>(item.files.size());
        const bool differs = std::find(verdict, end, Recheck::Differs) != end;
        verdict = end;
        if (!differs) {
            continue;
        }
        const std::string& video = form.listSource.List(item.item);
        lost.push_back(video);
        if (!removeCopies(form.platform(), item)) {
            kept.push_back(video);
        }
        form.listSource.setSelected(item.item, true);
    }
    return lost;
}

// A check that did not reach every copy says nothing of those left: each was read back as it
// was copied. It only tells whether the stick went meanwhile.
bool stickWent(MainForm& form, const RecheckResult& result) {
    if (!result.silentDrive.empty()) {
        return holdsPspSide(form, result.silentDrive);
    }
    return std::find(result.files.begin(), result.files.end(), Recheck::Unchecked) !=
               result.files.end() &&
           !stickStillThere(form);
}

}  // namespace

bool readBackAgain(MainForm& form, const std::vector<CopiedItem>& copied) {
    if (copied.empty() || !stickStillThere(form)) {
        return true;
    }
    const RecheckResult result = form.platform().recheckCopies(filesOf(copied));
    std::vector<std::string> kept;
    const std::vector<std::string> lost = dropLost(form, copied, result.files, kept);
    const bool went = stickWent(form, result);
    if (!lost.empty()) {
        if (!went) {
            form.listPSP_KeyPress(key::kCtrlR);
        }
        form.platform().messageBox(lostMessage(lost, kept), mb::kOk | mb::kIconError);
    }
    if (went) {
        reportStickGone(form);
    }
    return lost.empty() && !went;
}

}  // namespace velmora
