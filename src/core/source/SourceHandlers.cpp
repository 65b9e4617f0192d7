#include "app/MainForm.h"
#include "platform/Platform.h"

namespace velmora {
namespace {

// Where the folder browser opens: at the folder listed, since the one wanted is most often
// that one or near it. The browser looks at its start folder on the window's thread, so the
// folder is asked here first, where a drive that doesn't answer can't freeze the window; one
// that has gone, or that the user stopped waiting for, leaves the browser at its top.
std::string browserStart(Platform& platform, const std::string& listed) {
    try {
        return platform.isFolder(listed) ? listed : std::string();
    } catch (const DriveNotAnswering&) {
        return {};
    }
}

}  // namespace

void MainForm::btnBrowse_Click() {
    const std::optional<std::string> folder =
        platform_.browseForFolder("Select the folder where your video files reside",
                                  browserStart(platform_, listSource.Path()));
    if (!folder) {
        return;
    }
    // The list first: a folder it can't read then changes nothing. Setting the path reads
    // the folder afresh, so no refresh is needed after it.
    listSource.setPath(*folder);
    dirSource.setText(*folder);
}

void MainForm::dirSource_KeyPress(std::int16_t keyCode) {
    if (keyCode != key::kEnter) {
        return;
    }
    const std::string typed = dirSource.Text();
    if (!platform_.isFolder(typed)) {
        return;
    }
    // The box keeps what was typed; the list, and every path built from it, gets the folder
    // as the system names it ("C:/Videos" copies as "C:\Videos").
    listSource.setPath(platform_.fullPath(typed));
    listSource_KeyPress(key::kCtrlR);
}

void MainForm::listSource_KeyPress(std::int16_t keyCode) {
    if (keyCode == key::kCtrlC) {
        btnCopy_Click();
        return;
    }
    if (keyCode == key::kCtrlR) {
        listSource.Refresh();
    }
    listSource_Click();
}

}  // namespace velmora
