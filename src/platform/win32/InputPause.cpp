#include "win32/InputPause.h"

namespace velmora::win32 {
namespace {

// One window per thread pauses at a time: the hook has no other way to learn it.
thread_local HWND paused = nullptr;

bool isInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

LRESULT CALLBACK dropInput(int code, WPARAM removed, LPARAM data) {
    auto* message = reinterpret_cast<MSG*>(data);
    if (code == HC_ACTION && removed == PM_REMOVE && isInput(message->message) &&
        (message->hwnd == paused || IsChild(paused, message->hwnd))) {
        message->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, removed, data);
}

}  // namespace

InputPause::InputPause(HWND window)
    : hook_(SetWindowsHookExW(WH_GETMESSAGE, dropInput, nullptr, GetCurrentThreadId())) {
    paused = window;
}

InputPause::~InputPause() {
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
    }
    paused = nullptr;
}

}  // namespace velmora::win32
