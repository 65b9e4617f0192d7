#pragma once

#include <QAccessible>
#include <string_view>

#include "MainWindow.h"
#include "support/StickFixture.h"

namespace velmora::test {

// The whole window on the stick's world, started in home, which holds two videos and a text file.
class WindowFixture : public StickTest {
  protected:
    QWidget& view(std::string_view name) {
        QWidget* widget = window.view(name);
        EXPECT_NE(widget, nullptr) << "no view named " << name;
        return widget != nullptr ? *widget : window;
    }

    // What a screen reader is told about a control.
    QAccessibleInterface& accessible(std::string_view name) {
        return *QAccessible::queryAccessibleInterface(&view(name));
    }

    // Written before the window lists them.
    const bool written = (home.write("b.MP4", std::string(3 << 20, 'b')), home.write("A.mp4", "a"),
                          home.write("notes.txt"), true);
    MainForm form{platform};
    qt::MainWindow window{form};
};

}  // namespace velmora::test
