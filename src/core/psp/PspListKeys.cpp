#include "app/MainForm.h"
#include "psp/FreeSpace.h"
#include "psp/VideoDeletion.h"

namespace velmora {

void MainForm::listPSP_KeyPress(std::int16_t keyCode) {
    // The free space is measured on the drive that was current when the key came, even if
    // the refresh below finds it gone.
    const std::string root = drivePSP.Root();
    if (keyCode == key::kCtrlR) {
        drivePSP.Refresh();
        listPSP.Refresh();
        freePSP.setCaption(freeSpaceFigure(platform_, root));
        listPSP_Click();
    } else if (keyCode == key::kBackspace && !listPSP.FileName().empty()) {
        deleteSelectedVideos(*this);
    }
}

}  // namespace velmora
