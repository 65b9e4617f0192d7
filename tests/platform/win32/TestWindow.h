#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "support/TempFolder.h"
#include "win32/window/SessionEnd.h"
#include "win32/Win32Platform.h"

namespace velmora::win32 {

// What the test window was sent or posted, beyond what any window gets.
inline std::vector<UINT> handled;

inline LRESULT CALLBACK answerLikeTheWindow(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_APP) {
        handled.push_back(message);
    }
    return message == WM_QUERYENDSESSION ? answerSessionEnd()
                                         : DefWindowProcW(window, message, wParam, lParam);
}

// A top-level window answering WM_QUERYENDSESSION as the program's does, the platform it owns
// and a folder of the test's own; the window goes with the test, even one that fails half way.
class WindowedTest : public ::testing::Test {
  protected:
    WindowedTest() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = answerLikeTheWindow;
        windowClass.lpszClassName = L"VelmoraTestWindow";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, windowClass.lpszClassName, L"Velmora", WS_OVERLAPPEDWINDOW, 0,
                                 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
        platform.setOwner(window);
        handled.clear();
    }
    ~WindowedTest() override { DestroyWindow(window); }
    void SetUp() override { ASSERT_NE(window, nullptr); }

    const test::TempFolder folder;
    HWND window = nullptr;
    Win32Platform platform;
};

}  // namespace velmora::win32
