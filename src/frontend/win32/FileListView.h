#pragma once

#include "ControlView.h"
#include "controls/FileList.h"

namespace velmora::win32 {

// A list box with extended selection showing a file list's names in the model's order.
// A change of selection by the user, with the mouse or the keyboard, sets the model's
// selected flags and current position, then raises the list's Click event; while a handler
// runs, the box keeps the model's selection instead.
class FileListView : public ControlView {
  public:
    FileListView(MainForm& form, FileList& model, HWND parent);

    void command(WORD code) override;
    bool keyPress(std::int16_t code) override;

  private:
    void renderNames();
    void renderSelection();
    void takeCurrentPosition();

    FileList& list_;
};

}  // namespace velmora::win32
