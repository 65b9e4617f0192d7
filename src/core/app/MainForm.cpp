#include "app/MainForm.h"

#include <algorithm>

#include "platform/Platform.h"
#include "platform/PlatformError.h"

namespace velmora {
namespace {

constexpr std::string_view kSourceListTip = "Ctrl-R to refresh, Ctrl-C to copy selected files";
constexpr std::string_view kPspListTip = "Ctrl-R to refresh, Backspace to delete selected files";
constexpr std::string_view kVideoPattern = "*.MP4";

ControlDescription description(std::string name, ControlKind kind, std::string container,
                               TwipsRect place, int tabIndex, std::string text = {},
                               Alignment alignment = Alignment::Left) {
    ControlDescription s;
    s.name = std::move(name);
    s.kind = kind;
    s.container = std::move(container);
    s.place = place;
    s.tabIndex = tabIndex;
    s.text = std::move(text);
    s.alignment = alignment;
    return s;
}

ControlDescription withToolTip(ControlDescription s, std::string_view tip) {
    s.toolTip = tip;
    return s;
}

ControlDescription previewBox(std::string name, TwipsRect place, int tabIndex) {
    ControlDescription s =
        description(std::move(name), ControlKind::PictureBox, {}, place, tabIndex);
    s.background.role = Colour::Role::SystemWindow;
    s.foreground.role = Colour::Role::SystemWindowText;
    return s;
}

ControlDescription creditLabel() {
    ControlDescription s = description("copyRight", ControlKind::Label, {}, {4320, 5280, 1215, 495},
                                       3, std::string(MainForm::kCredit), Alignment::Center);
    s.foreground = Colour{Colour::Role::Rgb, 0, 0, 255};
    s.font.underline = true;
    s.pointer = Pointer::PointingHand;
    return s;
}

constexpr auto kRight = Alignment::Right;
constexpr auto kCentre = Alignment::Center;
constexpr auto kLabel = ControlKind::Label;

}  // namespace

MainForm::MainForm(Platform& platform)
    : frameSource(
          description("frameSource", ControlKind::Frame, {}, {120, 120, 4095, 5655}, 8, "Source")),
      dirSource(description("dirSource", ControlKind::TextBox, "frameSource", {120, 270, 2775, 315},
                            4, "Select a folder")),
      btnBrowse(description("btnBrowse", ControlKind::Button, "frameSource", {3000, 240, 975, 375},
                            6, "Browse..")),
      listSource(withToolTip(description("listSource", ControlKind::FileList, "frameSource",
                                         {120, 720, 3855, 4575}, 0),
                             kSourceListTip),
                 platform, std::string(kVideoPattern)),
      labelSelected(description("labelSelected", kLabel, "frameSource", {2160, 5350, 1095, 255}, 10,
                                "Selected (MB):", kRight)),
      sizeSource(description("sizeSource", kLabel, "frameSource", {3360, 5350, 495, 255}, 17, "0",
                             kRight)),
      framePSP(description("framePSP", ControlKind::Frame, {}, {5640, 120, 4095, 5655}, 7, "PSP")),
      drivePSP(withToolTip(description("drivePSP", ControlKind::DriveList, "framePSP",
                                       {120, 240, 3855, 315}, 5),
                           "Ctrl-R to refresh"),
               platform),
      listPSP(withToolTip(description("listPSP", ControlKind::FileList, "framePSP",
                                      {120, 720, 3855, 4575}, 1),
                          kPspListTip),
              platform, std::string(kVideoPattern)),
      labelSizePSP(description("labelSizePSP", kLabel, "framePSP", {240, 5350, 1095, 255}, 12,
                               "Selected (MB):", kRight)),
      sizePSP(description("sizePSP", kLabel, "framePSP", {1320, 5350, 495, 255}, 16, "0", kRight)),
      labelPSP(description("labelPSP", kLabel, "framePSP", {2040, 5350, 1335, 255}, 2,
                           "Free space (MB):", kRight)),
      freePSP(description("freePSP", kLabel, "framePSP", {3360, 5350, 495, 255}, 9, "0", kRight)),
      labelSource(description("labelSource", kLabel, {}, {4320, 720, 1215, 255}, 13,
                              "Selected Source:", kCentre)),
      picSource(previewBox("picSource", {4290, 1080, 1260, 960}, 15)),
      btnCopy(description("btnCopy", ControlKind::Button, {}, {4320, 2640, 1215, 495}, 18,
                          "Copy to PSP")),
      labelSelPSP(description("labelSelPSP", kLabel, {}, {4320, 3600, 1215, 255}, 11,
                              "Selected PSP:", kCentre)),
      picPSP(previewBox("picPSP", {4290, 3960, 1260, 960}, 14)),
      copyRight(creditLabel()),
      platform_(platform),
      controls_{&frameSource, &dirSource,   &btnBrowse, &listSource,  &labelSelected,
                &sizeSource,  &framePSP,    &drivePSP,  &listPSP,     &labelSizePSP,
                &sizePSP,     &labelPSP,    &freePSP,   &labelSource, &picSource,
                &btnCopy,     &labelSelPSP, &picPSP,    &copyRight} {
    startInWorkingFolder();
}

void MainForm::startInWorkingFolder() {
    const std::string folder = platform_.workingFolder();
    drivePSP.selectDriveHolding(folder);
    try {
        listSource.setPath(folder);
        listPSP.setPath(folder);
    } catch (const PlatformError&) {
        // A working folder that can't be read leaves both lists empty; the user picks
        // folders from there.
    } catch (const DriveNotAnswering&) {
        // Nor can one whose drive doesn't answer.
    }
}

Control* MainForm::control(std::string_view name) const {
    auto it = std::find_if(controls_.begin(), controls_.end(),
                           [name](const Control* c) { return c->name() == name; });
    return it == controls_.end() ? nullptr : *it;
}

}  // namespace velmora
