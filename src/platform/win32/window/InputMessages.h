#pragma once

#include <windows.h>

namespace velmora::win32 {

struct MessageRange {
    UINT first;
    UINT last;
};

// The user's keys and clicks, in the client area and on the frame, and a click posted to a
// button, as a window's thread receives them.
inline constexpr MessageRange kUserInput[] = {{WM_KEYFIRST, WM_KEYLAST},
                                              {WM_MOUSEFIRST, WM_MOUSELAST},
                                              {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
                                              {BM_CLICK, BM_CLICK}};

inline bool isUserInput(UINT message) {
    for (const MessageRange& range : kUserInput) {
        if (message >= range.first && message <= range.last) {
            return true;
        }
    }
    return false;
}

}  // namespace velmora::win32
