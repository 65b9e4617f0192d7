#pragma once

#include <QWidget>
#include <map>
#include <string>
#include <string_view>

namespace velmora {
class MainForm;
}

namespace velmora::qt {

// The program's window: every control of the form as a widget at its place, a fixed client
// area of 9855 x 5895 twips, centred on its screen, with the focus in the control of tab
// index 0. Each control's accessible name is the caption or text it shows. The drive list
// follows the file systems mounted and unmounted; F1 does what a click on the credit does.
// The form must outlive the window.
class MainWindow : public QWidget {
  public:
    explicit MainWindow(MainForm& form, QWidget* parent = nullptr);

    // The widget of a control, by the control's name; nullptr for an unknown name.
    QWidget* view(std::string_view name) const;

  private:
    void createViews();
    void orderTabs();
    void placeOnScreen();

    MainForm& form_;
    std::map<std::string, QWidget*, std::less<>> views_;
};

}  // namespace velmora::qt
