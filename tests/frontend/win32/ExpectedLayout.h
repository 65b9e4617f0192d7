#pragma once

#include <array>
#include <string_view>

namespace velmora::uitest {

// The window's table as a user sees it: every control with its window class, its place in
// the client area in twips (a frame's contents already moved by the frame's origin), its tab
// index (its identifier is 1000 plus the tab index) and its initial text.
struct ExpectedControl {
    std::string_view name;
    std::string_view windowClass;
    int left;
    int top;
    int width;
    int height;
    int tabIndex;
    std::string_view text;
};

inline constexpr int kClientWidthTwips = 9855;
inline constexpr int kClientHeightTwips = 5895;

inline constexpr std::array<ExpectedControl, 19> kLayout{{
    {"frameSource", "Button", 120, 120, 4095, 5655, 8, "Source"},
    {"dirSource", "Edit", 240, 390, 2775, 315, 4, "Select a folder"},
    {"btnBrowse", "Button", 3120, 360, 975, 375, 6, "Browse.."},
    {"listSource", "ListBox", 240, 840, 3855, 4575, 0, ""},
    {"labelSelected", "Static", 2280, 5470, 1095, 255, 10, "Selected (MB):"},
    {"sizeSource", "Static", 3480, 5470, 495, 255, 17, "0"},
    {"framePSP", "Button", 5640, 120, 4095, 5655, 7, "PSP"},
    {"drivePSP", "ComboBox", 5760, 360, 3855, 315, 5, ""},
    {"listPSP", "ListBox", 5760, 840, 3855, 4575, 1, ""},
    {"labelSizePSP", "Static", 5880, 5470, 1095, 255, 12, "Selected (MB):"},
    {"sizePSP", "Static", 6960, 5470, 495, 255, 16, "0"},
    {"labelPSP", "Static", 7680, 5470, 1335, 255, 2, "Free space (MB):"},
    {"freePSP", "Static", 9000, 5470, 495, 255, 9, "0"},
    {"labelSource", "Static", 4320, 720, 1215, 255, 13, "Selected Source:"},
    {"picSource", "VelmoraPictureBox", 4290, 1080, 1260, 960, 15, ""},
    {"btnCopy", "Button", 4320, 2640, 1215, 495, 18, "Copy to PSP"},
    {"labelSelPSP", "Static", 4320, 3600, 1215, 255, 11, "Selected PSP:"},
    {"picPSP", "VelmoraPictureBox", 4290, 3960, 1260, 960, 14, ""},
    {"copyRight", "Static", 4320, 5280, 1215, 495, 3, ""},
}};

}  // namespace velmora::uitest
