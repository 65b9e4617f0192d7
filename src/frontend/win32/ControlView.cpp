#include "ControlView.h"

#include <commctrl.h>

#include "Layout.h"
#include "win32/text/Wide.h"

namespace velmora::win32 {
namespace {

bool isDialogKey(const MSG* message) {
    return message != nullptr && message->message == WM_KEYDOWN &&
           (message->wParam == VK_RETURN || message->wParam == VK_ESCAPE);
}

LRESULT CALLBACK keyPresses(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR data) {
    auto* view = reinterpret_cast<ControlView*>(data);
    switch (message) {
        case WM_CHAR:
            if (!view->keyPress(static_cast<std::int16_t>(wParam))) {
                return 0;
            }
            break;
        case WM_GETDLGCODE:
            if (isDialogKey(reinterpret_cast<const MSG*>(lParam))) {
                return DefSubclassProc(window, message, wParam, lParam) | DLGC_WANTMESSAGE;
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

ControlView::ControlView(MainForm& form, Control& model, HWND window)
    : form_(form), model_(model), window_(window) {
    model_.focusRequested.connect([this] { SetFocus(window_); });
}

ControlView::~ControlView() {
    RemoveWindowSubclass(window_, keyPresses, 0);
}

void ControlView::place(const RECT& pixels, HFONT font) {
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowPos(window_, nullptr, pixels.left, pixels.top, pixels.right - pixels.left,
                 pixels.bottom - pixels.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool ControlView::keyPress(std::int16_t code) {
    raise(EventKind::KeyPress, code);
    return true;
}

void ControlView::receiveKeyPresses() {
    SetWindowSubclass(window_, keyPresses, 0, reinterpret_cast<DWORD_PTR>(this));
}

void ControlView::raise(EventKind kind, std::int16_t keyCode) {
    form_.raise(model_.name(), kind, keyCode);
}

HWND createChild(HWND parent, const Control& model, const wchar_t* windowClass, DWORD style,
                 DWORD extendedStyle) {
    return CreateWindowExW(extendedStyle, windowClass, toWide(model.description().text).c_str(),
                           WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(model))),
                           GetModuleHandleW(nullptr), nullptr);
}

}  // namespace velmora::win32
