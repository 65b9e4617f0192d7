#include "app/MainForm.h"
#include "psp/FreeSpace.h"
#include "psp/PickedStick.h"
#include "psp/VideoDeletion.h"
#include "psp/VideoFolder.h"

namespace velmora {

void MainForm::listPSP_KeyPress(std::int16_t keyCode) {
    if (keyCode == key::kCtrlR) {
        // A picked stick that went, was swapped or stopped answering is told, as Backspace
        // tells it, whatever the drive list now shows of it: Windows may show a silent drive
        // as one without a medium, or none.
        const std::optional<VolumeId> picked = drivePSP.pickedVolume();
        if (picked && !isOnVolume(platform_, listPSP.Path(), *picked)) {
            reportStickGone(*this);
        }
        // A drive found gone takes the PSP side with it: the free space is then that of no
        // drive, not of the empty folder a stick leaves behind.
        refreshDriveList(*this);
        listPSP.Refresh();
        freePSP.setCaption(freeSpaceFigure(platform_, drivePSP.Root()));
        listPSP_Click();
    } else if (keyCode == key::kBackspace && !listPSP.FileName().empty()) {
        deleteSelectedVideos(*this);
    }
}

}  // namespace velmora
