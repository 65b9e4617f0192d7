#pragma once

#include "ControlView.h"
#include "controls/PictureBox.h"

namespace velmora::win32 {

// A sunken box in the system's window colour that shows the picture last painted into its
// model, stretched over its whole inside, and shows it again whenever it is uncovered.
class PictureBoxView : public ControlView {
  public:
    PictureBoxView(MainForm& form, PictureBox& model, HWND parent);

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void paint();

    PictureBox& box_;
};

}  // namespace velmora::win32
