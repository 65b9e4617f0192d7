#include <charconv>
#include <exception>
#include <optional>
#include <string>

#include "app/MainForm.h"
#include "copy/CopyItem.h"
#include "copy/NamePrefix.h"
#include "copy/ReadBackAgain.h"
#include "platform/Paths.h"
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

std::vector<int> selectedItems(const FileList& list) {
    std::vector<int> selected;
    for (int i = 0; i < list.ListCount(); ++i) {
        if (list.Selected(i)) {
            selected.push_back(i);
        }
    }
    return selected;
}

std::vector<std::string> sourcePaths(const MainForm& form, const std::vector<int>& items) {
    std::vector<std::string> paths;
    for (const int i : items) {
        paths.push_back(joinPath(form.listSource.Path(), form.listSource.List(i)));
    }
    return paths;
}

// What the progress window counts the run in: 0 where a size can't be read, since then it
// can't say how far the run is.
std::uint64_t runBytes(const std::vector<FileSize>& sizes) {
    std::uint64_t total = 0;
    for (const FileSize& size : sizes) {
        if (size.failure) {
            return 0;
        }
        total += static_cast<std::uint64_t>(size.bytes);
    }
    return total;
}

// Copies the selected items in list order, each deselected and the PSP side refreshed once
// it is on the PSP, each only while the stick is still the one picked. True when every
// selected item was copied; false when one was not, which then stays selected with all after
// it. `copied` holds the items deselected. An item whose video landed but whose thumbnail
// failed counts as copied, and its failure then stops the run.
bool copyEachSelected(MainForm& form, int& prefix, std::vector<CopiedItem>& copied) {
    const std::vector<int> selected = selectedItems(form.listSource);
    const std::vector<FileSize> sizes = form.platform().fileLengths(sourcePaths(form, selected));
    CopyStep step{0, static_cast<int>(selected.size()), 0, runBytes(sizes)};
    for (std::size_t n = 0; n < selected.size(); ++n) {
        const int i = selected[n];
        step.number = static_cast<int>(n) + 1;
        std::exception_ptr failedAfter;
        if (!stickStillPicked(form) || !copyItemToPsp(form, prefix, i, step, copied, failedAfter)) {
            return false;
        }
        step.bytesBefore += static_cast<std::uint64_t>(sizes[n].bytes);
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
