#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "controls/DriveList.h"
#include "controls/FileList.h"
#include "controls/Label.h"
#include "controls/PictureBox.h"
#include "controls/TextBox.h"

namespace velmora {

class Platform;

enum class EventKind { Click, Change, KeyPress };

// Key codes the handlers share: the character code of the key press.
namespace key {
inline constexpr std::int16_t kCtrlC = 3;
inline constexpr std::int16_t kBackspace = 8;
inline constexpr std::int16_t kEnter = 13;
inline constexpr std::int16_t kCtrlR = 18;
}  // namespace key

// The program's one window. Its controls are the program's whole state; each event handler
// is a method named by its control and event, defined in the folder of its subsystem.
class MainForm {
  public:
    static constexpr std::string_view kCaption = "Velmora";
    static constexpr int kClientWidthTwips = 9855;
    static constexpr int kClientHeightTwips = 5895;
    static constexpr std::string_view kCredit = "Velmora, by the Velmora team";

    explicit MainForm(Platform& platform);
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Front ends call this for every user event of a control. It runs the handler wired to
    // that event, if any, and reports a failure the handler did not catch once, in a
    // message box; the window then goes on as it is. A drive that stops answering while a
    // handler runs is reported once, and takes the PSP side with it where it holds it (see
    // PickedStick.h). An event that arrives while a handler
    // runs (from a nested event loop, a sent message, an assistive tool) is ignored: one
    // handler never starts inside another.
    void raise(std::string_view control, EventKind kind, std::int16_t keyCode = 0);
    bool hasHandler(std::string_view control, EventKind kind) const;
    bool handlerRunning() const { return handlerRunning_; }

    // Front ends call this when the system says drives arrived or went. The drive list is
    // read again as Ctrl-R in it does; while a handler runs, once after it ends, however
    // many changes came meanwhile.
    void drivesChanged();

    // Every control in the order of the window's table; containers come before their contents.
    const std::vector<Control*>& controls() const { return controls_; }
    Control* control(std::string_view name) const;

    Platform& platform() const { return platform_; }

    // Source panel
    void btnBrowse_Click();
    void dirSource_KeyPress(std::int16_t keyCode);
    void listSource_KeyPress(std::int16_t keyCode);
    // PSP panel
    void drivePSP_Change();
    void drivePSP_KeyPress(std::int16_t keyCode);
    void listPSP_KeyPress(std::int16_t keyCode);
    // Selection summary
    void listSource_Click();
    void listPSP_Click();
    // Copy engine
    void btnCopy_Click();
    // Credit
    void copyRight_Click();

    Frame frameSource;
    TextBox dirSource;
    Button btnBrowse;
    FileList listSource;
    Label labelSelected;
    Label sizeSource;
    Frame framePSP;
    DriveList drivePSP;
    FileList listPSP;
    Label labelSizePSP;
    Label sizePSP;
    Label labelPSP;
    Label freePSP;
    Label labelSource;
    PictureBox picSource;
    Button btnCopy;
    Label labelSelPSP;
    PictureBox picPSP;
    Label copyRight;

  private:
    void startInWorkingFolder();
    template <typename Handler>
    void runHandler(Handler&& handler);
    void reportFailure(const std::exception& failure);

    Platform& platform_;
    std::vector<Control*> controls_;
    bool handlerRunning_ = false;
    bool drivesChangedMeanwhile_ = false;
};

}  // namespace velmora
