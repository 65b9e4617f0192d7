#pragma once

#include <windows.h>

namespace velmora::win32 {

// The per-window dpi calls came with Windows 10 1607, the per-monitor dpi with Windows 8.1.
// They are looked up when first used, so that the program also starts on Windows 7, where
// the screen's dpi stands in.
UINT windowDpi(HWND window);
// The window's outer frame around a client area of frame's size.
void adjustFrameForDpi(RECT& frame, DWORD style, DWORD extendedStyle, UINT dpi);

}  // namespace velmora::win32
