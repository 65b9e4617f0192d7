#include "psp/PickedStick.h"

#include "app/MainForm.h"
#include "platform/Names.h"
#include "psp/VideoFolder.h"
#include "summary/Megabytes.h"

namespace velmora {
namespace {

constexpr const char* kNoVideoFolder = "Pick the PSP's drive first.";

}  // namespace

bool stickStillPicked(MainForm& form) {
    const std::optional<VolumeId> volume = form.drivePSP.pickedVolume();
    if (!volume) {
        form.platform().messageBox(kNoVideoFolder, mb::kOk);
        return false;
    }
    if (!isOnVolume(form.platform(), form.listPSP.Path(), *volume)) {
        reportStickGone(form);
        return false;
    }
    return true;
}

void clearPspSide(MainForm& form) {
    form.drivePSP.clearCurrent();
    form.listPSP.clear();
    form.freePSP.setCaption(megabyteFigure(0));
    form.listPSP_Click();
}

void reportStickGone(MainForm& form) {
    form.platform().messageBox(kVideoFolderNotFound, mb::kOk);
    clearPspSide(form);
}

bool holdsPspSide(const MainForm& form, const std::string& root) {
    const std::string& folder = form.listPSP.Path();
    return equalsIgnoreCase(root, form.drivePSP.Root()) ||
           (root.size() <= folder.size() &&
            equalsIgnoreCase(root, std::string_view(folder).substr(0, root.size())));
}

void refreshDriveList(MainForm& form) {
    const bool hadDrive = form.drivePSP.ListIndex() >= 0;
    form.drivePSP.Refresh();
    if (hadDrive && form.drivePSP.ListIndex() < 0) {
        clearPspSide(form);
    }
}

}  // namespace velmora
