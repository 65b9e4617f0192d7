#include "win32/window/InputPause.h"

#include "win32/window/InputMessages.h"

namespace velmora::win32 {
namespace {

// One window per thread pauses at a time: the hook has no other way to learn it.
thread_local HWND paused = nullptr;

LRESULT CALLBACK dropInput(int code, WPARAM removed, LPARAM data) {
    auto* message = reinterpret_cast<MSG*>(data);
    if (code == HC_ACTION && removed == PM_REMOVE && isUserInput(message->message) &&
        (message->hwnd == paused || IsChild(paused, message->hwnd))) {
        message->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, removed, data);
}

// The window and its controls are this thread's only windows by now: the copy's windows
// have closed.
void dropQueuedInput() {
    MSG message{};
    for (const MessageRange& range : kUserInput) {
        while (PeekMessageW(&message, nullptr, range.first, range.last, PM_REMOVE)) {
        }
    }
}

}  // namespace

InputPause::InputPause(HWND window)
    : window_(window),
      hook_(SetWindowsHookExW(WH_GETMESSAGE, dropInput, nullptr, GetCurrentThreadId())) {
    paused = window;
}

InputPause::~InputPause() {
    dropQueuedInput();
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
    }
    paused = nullptr;
    if (window_ != nullptr) {
        SetForegroundWindow(window_);  // its activation brings the keyboard focus back
    }
}

}  // namespace velmora::win32
