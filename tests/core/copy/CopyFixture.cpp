#include "core/copy/CopyFixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace velmora::test {

bool CopyTest::stickHas(const std::string& name) const {
    return std::filesystem::exists(onStick(name));
}

std::string CopyTest::stickRead(const std::string& name) const {
    std::ifstream in(onStick(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> CopyTest::stickFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(onStick(""))) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void CopyTest::showStick(MainForm& form) const {
    std::filesystem::create_directories(onStick(""));
    form.drivePSP.Refresh();
    form.drivePSP.selectDriveHolding(stick + "/");
    form.listPSP.setPath(stick + "/" + kVideoFolder);
    form.freePSP.setCaption("500");
}

void CopyTest::select(MainForm& form, std::initializer_list<int> items) const {
    for (int i : items) {
        form.listSource.setSelected(i, true);
    }
    form.listSource_Click();
}

std::vector<int> CopyTest::selected(const MainForm& form) const {
    std::vector<int> items;
    for (int i = 0; i < form.listSource.ListCount(); ++i) {
        if (form.listSource.Selected(i)) {
            items.push_back(i);
        }
    }
    return items;
}

std::vector<std::string> CopyTest::listed(const FileList& list) const {
    std::vector<std::string> names;
    for (int i = 0; i < list.ListCount(); ++i) {
        names.push_back(list.List(i));
    }
    return names;
}

}  // namespace velmora::test
