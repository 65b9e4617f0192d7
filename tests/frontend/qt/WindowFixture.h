#pragma once

#include <gtest/gtest.h>

#include <QAccessible>
#include <string_view>

#include "MainWindow.h"
#include "app/MainForm.h"
#include "support/ScriptedPlatform.h"
#include "support/TempFolder.h"

namespace velmora::test {

// The whole window on the test double, started in a temporary folder that holds two videos
// and a text file, with that folder as a second drive.
class WindowFixture : public ::testing::Test {
  protected:
    static ScriptedPlatform platformIn(const TempFolder& folder) {
        folder.write("b.MP4", std::string(3 << 20, 'b'));
        folder.write("A.mp4", "a");
        folder.write("notes.txt");
        ScriptedPlatform platform;
        platform.setWorkingFolder(folder.path());
        platform.setDrives({{"/", "/"}, {folder.path() + " [CARD]", folder.path() + "/"}});
        return platform;
    }

    QWidget& view(std::string_view name) {
        QWidget* widget = window.view(name);
        EXPECT_NE(widget, nullptr) << "no view named " << name;
        return widget != nullptr ? *widget : window;
    }

    // What a screen reader is told about a control.
    QAccessibleInterface& accessible(std::string_view name) {
        return *QAccessible::queryAccessibleInterface(&view(name));
    }

    TempFolder folder;
    ScriptedPlatform platform = platformIn(folder);
    MainForm form{platform};
    qt::MainWindow window{form};
};

}  // namespace velmora::test
