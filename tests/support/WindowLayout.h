#pragma once

namespace velmora::test {

// Every control of the window: its container and its place in it in twips, its tab index, its
// Win32 class and its first text (empty: none to check).
struct ControlPlace {
    const char* name;
    const char* container;
    int left, top, width, height, tabIndex;
    const char* windowClass;
    const char* text;
};

// clang-format off
inline constexpr ControlPlace kWindowLayout[] = {
    {"frameSource", "mainForm", 120, 120, 4095, 5655, 8, "Button", "Source"},
    {"dirSource", "frameSource", 120, 270, 2775, 315, 4, "Edit", "Select a folder"},
    {"btnBrowse", "frameSource", 3000, 240, 975, 375, 6, "Button", "Browse.."},
    {"listSource", "frameSource", 120, 720, 3855, 4575, 0, "ListBox", ""},
    {"labelSelected", "frameSource", 2160, 5350, 1095, 255, 10, "Static", "Selected (MB):"},
    {"sizeSource", "frameSource", 3360, 5350, 495, 255, 17, "Static", "0"},
    {"framePSP", "mainForm", 5640, 120, 4095, 5655, 7, "Button", "PSP"},
    {"drivePSP", "framePSP", 120, 240, 3855, 315, 5, "ComboBox", ""},
    {"listPSP", "framePSP", 120, 720, 3855, 4575, 1, "ListBox", ""},
    {"labelSizePSP", "framePSP", 240, 5350, 1095, 255, 12, "Static", "Selected (MB):"},
    {"sizePSP", "framePSP", 1320, 5350, 495, 255, 16, "Static", "0"},
    {"labelPSP", "framePSP", 2040, 5350, 1335, 255, 2, "Static", "Free space (MB):"},
    {"freePSP", "framePSP", 3360, 5350, 495, 255, 9, "Static", "0"},
    {"labelSource", "mainForm", 4320, 720, 1215, 255, 13, "Static", "Selected Source:"},
    {"picSource", "mainForm", 4290, 1080, 1260, 960, 15, "VelmoraPictureBox", ""},
    {"btnCopy", "mainForm", 4320, 2640, 1215, 495, 18, "Button", "Copy to PSP"},
    {"labelSelPSP", "mainForm", 4320, 3600, 1215, 255, 11, "Static", "Selected PSP:"},
    {"picPSP", "mainForm", 4290, 3960, 1260, 960, 14, "VelmoraPictureBox", ""},
    {"copyRight", "mainForm", 4320, 5280, 1215, 495, 3, "Static", ""},
};
// clang-format on

}  // namespace velmora::test
