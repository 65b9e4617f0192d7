#include "app/MainForm.h"
#include "psp/FreeSpace.h"
#include "psp/PickedStick.h"
#include "psp/VideoDeletion.h"

namespace velmora {

void MainForm::listPSP_KeyPress(std::int16_t keyCode) {
    if (keyCode == key::kCtrlR) {
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
