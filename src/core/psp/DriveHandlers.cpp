#include <exception>

#include "app/MainForm.h"
#include "platform/BusyCursor.h"
#include "platform/Platform.h"
#include "psp/FreeSpace.h"
#include "psp/VideoFolder.h"

namespace velmora {
namespace {

std::string createFolderQuestion(const std::string& drive) {
    return "No Video directory found on drive " + drive + ".\r\n\r\nDo you wish to create one?";
}

}  // namespace

void MainForm::drivePSP_Change() {
    const std::string root = drivePSP.Root();
    // Whatever goes wrong on the new drive, the user gets one plain message; the list and the
    // free space then still show the drive they came from.
    try {
        std::optional<std::string> folder;
        {
            // A slow drive (a disc spinning up, a network drive) keeps the user waiting here.
            const BusyCursor busy(platform_);
            folder = findVideoFolder(platform_, root);
        }
        if (!folder) {
            const int answer = platform_.messageBox(createFolderQuestion(drivePSP.Drive()),
                                                    mb::kYesNo | mb::kDefaultButton2);
            if (answer != mb::kAnswerYes) {
                return;
            }
            folder = makeVideoFolder(platform_, root);
        }
        const BusyCursor busy(platform_);
        listPSP.setPath(*folder);
        freePSP.setCaption(freeSpaceFigure(platform_, root));
    } catch (const std::exception&) {
        platform_.messageBox("Video directory not found!", mb::kOk);
    }
}

void MainForm::drivePSP_KeyPress(std::int16_t keyCode) {
    if (keyCode == key::kCtrlR) {
        drivePSP.Refresh();
    }
}

}  // namespace velmora
