#include "app/MainForm.h"
#include "platform/Platform.h"

namespace velmora {

void MainForm::btnBrowse_Click() {
    const std::optional<std::string> folder =
        platform_.browseForFolder("Select the folder where your video files reside");
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
