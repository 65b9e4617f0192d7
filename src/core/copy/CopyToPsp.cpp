#include <charconv>
#include <exception>
#include <optional>
#include <string>

#include "app/MainForm.h"
#include "copy/CopyItem.h"
#include "copy/NamePrefix.h"
#include "copy/ReadBackAgain.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "psp/PickedStick.h"

namespace velmora {
namespace {

constexpr const char* kNotEnoughSpace = "There is not enough free space on the PSP!";
constexpr const char* kConfirmCopy = "Do you wish to copy the selected files to your PSP?";
constexpr const char* kConfirmCopyTitle = "Confirm Copy";

// A megabyte figure read back from its label; a caption that is no number counts 0.
double figureOf(const Label& label) {
    const std::string& caption = label.Caption();
    double figure = 0;
    std::from_chars(caption.data(), caption.data() + caption.size(), figure);
    return figure;
}

// Both figures drop each file's fraction of a megabyte, so the PSP needs at least one
// megabyte more free than is selected: equal figures are refused.
bool hasRoomFor(double freeMegabytes, double selectedMegabytes) {
    return freeMegabytes >= selectedMegabytes + 1;
}

// Copies the selected items in list order, each deselected and the PSP side refreshed once
// it is on the PSP, each only while the stick is still the one picked. True when every
// selected item was copied; false when one was not, which then stays selected with all after
// it. `copied` holds the items deselected. An item whose video landed but whose thumbnail
// failed counts as copied, and its failure then stops the run.
bool copyEachSelected(MainForm& form, int& prefix, std::vector<CopiedItem>& copied) {
    const int count = form.listSource.ListCount();
    for (int i = 0; i < count; ++i) {
        if (!form.listSource.Selected(i)) {
            continue;
        }
        std::exception_ptr failedAfter;
        if (!stickStillPicked(form) || !copyItemToPsp(form, prefix, i, copied, failedAfter)) {
            return false;
        }
        form.listSource.setSelected(i, false);
        form.listPSP_KeyPress(key::kCtrlR);
        if (failedAfter) {
            std::rethrow_exception(failedAfter);
        }
        if (!form.drivePSP.pickedVolume()) {
            return false;  // the stick went, which the refresh has said
        }
    }
    return true;
}

// The next copy reads the source figure back, so it follows the selection however the run
// stops. A selected file that can no longer be read keeps the old figure: the run has already
// told the user why it stopped. Recomputed once at the end rather than after every item,
// which would read every remaining selected file again for each one copied.
void recomputeSourceFigure(MainForm& form, const std::vector<CopiedItem>& copied) {
    if (copied.empty()) {
        return;
    }
    try {
        form.listSource_Click();
    } catch (const PlatformError&) {
    }
}

// True when every selected item was copied, and still reads back at the end of the run. A run
// that a failure ends reads back what it copied too, before the failure is reported.
bool copySelected(MainForm& form, int prefix) {
    std::vector<CopiedItem> copied;
    try {
        const bool finished = copyEachSelected(form, prefix, copied);
        const bool keptAll = readBackAgain(form, copied);
        recomputeSourceFigure(form, copied);
        return finished && keptAll;
    } catch (const PlatformError&) {
        readBackAgain(form, copied);
        recomputeSourceFigure(form, copied);
        throw;
    } catch (...) {
        recomputeSourceFigure(form, copied);
        throw;
    }
}

}  // namespace

void MainForm::btnCopy_Click() {
    if (!hasRoomFor(figureOf(freePSP), figureOf(sizeSource))) {
        platform_.messageBox(kNotEnoughSpace, mb::kOk);
        return;
    }
    if (figureOf(sizeSource) == 0 || !stickStillPicked(*this)) {
        return;
    }
    const std::optional<int> prefix = drawNamePrefix(platform_, listPSP.Path());
    if (!prefix) {
        platform_.messageBox(kNoNamesLeft, mb::kOk);
        return;
    }
    if (platform_.messageBox(kConfirmCopy, mb::kYesNo | mb::kIconQuestion, kConfirmCopyTitle) !=
        mb::kAnswerYes) {
        return;
    }
    platform_.removeLeftovers(listPSP.Path());
    if (copySelected(*this, *prefix)) {
        listSource.SetFocus();
    }
}

}  // namespace velmora
