#include <exception>

#include "app/MainForm.h"
#include "platform/BusyCursor.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "psp/FreeSpace.h"
#include "psp/PickedStick.h"
#include "psp/VideoFolder.h"

namespace velmora {
namespace {

std::string createFolderQuestion(const std::string& drive) {
    return "No Video directory found on drive " + drive + ".\r\n\r\nDo you wish to create one?";
}

}  // namespace

void MainForm::drivePSP_Change() {
    const std::string root = drivePSP.Root();
    // Until this pick has found or made a video folder, nothing is copied or deleted.
    drivePSP.setPickedVolume(std::nullopt);
    // Whatever goes wrong on the new drive, the user gets one plain message; the list and the
    // free space then still show the drive they came from.
    try {
        VolumeId volume = 0;
        std::optional<std::string> folder;
        {
            // A slow drive (a disc spinning up, a network drive) keeps the user waiting here.
            const BusyCursor busy(platform_);
            volume = volumeOfDrive(platform_, root);
            folder = findVideoFolder(platform_, root, volume);
        }
        if (!folder) {
            const int answer = platform_.messageBox(createFolderQuestion(drivePSP.Drive()),
                                                    mb::kYesNo | mb::kDefaultButton2);
            if (answer != mb::kAnswerYes) {
                return;
            }
            // Pulled while the question was up, the stick may have left its mount point behind
            // as an empty folder of the computer's own disk.
            if (!isOnVolume(platform_, root, volume)) {
                reportStickGone(*this);
                return;
            }
            folder = makeVideoFolder(platform_, root, volume);
        }
        const BusyCursor busy(platform_);
        listPSP.setPath(*folder);
        freePSP.setCaption(freeSpaceFigure(platform_, root));
        drivePSP.setPickedVolume(volume);
    } catch (const DriveNotAnswering&) {
        throw;  // the window tells it, once, and clears the PSP side
    } catch (const std::exception&) {
        platform_.messageBox(kVideoFolderNotFound, mb::kOk);
    }
}

void MainForm::drivePSP_KeyPress(std::int16_t keyCode) {
    if (keyCode == key::kCtrlR) {
        refreshDriveList(*this);
    }
}

}  // namespace velmora
