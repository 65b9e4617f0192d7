#include "MainWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "CaptionView.h"
#include "Dpi.h"
#include "DriveListView.h"
#include "FileListView.h"
#include "Layout.h"
#include "PictureBoxView.h"
#include "TextBoxView.h"
#include "resources/ResourceIds.h"
#include "win32/text/Wide.h"
#include "win32/window/SessionEnd.h"

namespace velmora::win32 {
namespace {

// A fixed single border with a title bar, a system menu and minimize; no resizing.
// The window paints under its children: the group boxes are transparent inside.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExtendedStyle = WS_EX_CONTROLPARENT;

void registerClass(WNDPROC windowProc) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(kIconId));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(windowClass.hInstance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = MainWindow::kClassName;
    RegisterClassExW(&windowClass);
}

std::unique_ptr<ControlView> makeView(MainForm& form, Control& control, HWND parent) {
    switch (control.kind()) {
        case ControlKind::FileList:
            return std::make_unique<FileListView>(form, static_cast<FileList&>(control), parent);
        case ControlKind::DriveList:
            return std::make_unique<DriveListView>(form, static_cast<DriveList&>(control), parent);
        case ControlKind::TextBox:
            return std::make_unique<TextBoxView>(form, static_cast<TextBox&>(control), parent);
        case ControlKind::PictureBox:
            return std::make_unique<PictureBoxView>(form, static_cast<PictureBox&>(control),
                                                    parent);
        case ControlKind::Frame:
        case ControlKind::Button:
        case ControlKind::Label:
            break;
    }
    return std::make_unique<CaptionView>(form, static_cast<Label&>(control), parent);
}

}  // namespace

// F1 in the window or any of its controls, wherever the focus is: Tab never reaches the credit.
bool MainWindow::isHelpKey(const MSG& message) const {
    return message.message == WM_KEYDOWN && message.wParam == VK_F1 &&
           (message.hwnd == window_ || IsChild(window_, message.hwnd));
}

MainWindow::MainWindow(MainForm& form, Win32Platform& platform) : form_(form), platform_(platform) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    registerClass(windowProc);
    window_ = CreateWindowExW(kExtendedStyle, kClassName, toWide(MainForm::kCaption).c_str(),
                              kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), this);
    platform_.setOwner(window_);
    createViews();
    addToolTips();
    layOut(windowDpi(window_));
}

MainWindow::~MainWindow() {
    views_.clear();
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

void MainWindow::createViews() {
    // Created in tab order, which is the order Tab moves the focus in.
    std::vector<Control*> controls = form_.controls();
    std::sort(controls.begin(), controls.end(), [](const Control* a, const Control* b) {
        return a->description().tabIndex < b->description().tabIndex;
    });
    for (Control* control : controls) {
        views_.push_back(makeView(form_, *control, window_));
    }
    // Frames go below everything else, so the controls in them are drawn over them.
    for (const auto& view : views_) {
        if (view->model().kind() == ControlKind::Frame) {
            SetWindowPos(view->handle(), HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

void MainWindow::addToolTips() {
    toolTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    for (const auto& view : views_) {
        const std::string& tip = view->model().description().toolTip;
        if (tip.empty()) {
            continue;
        }
        std::wstring text = toWide(tip);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(view->handle());
        tool.lpszText = text.data();
        SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

SIZE MainWindow::windowSize(UINT dpi) const {
    const SIZE client = clientSizeInPixels(dpi);
    RECT frame{0, 0, client.cx, client.cy};
    adjustFrameForDpi(frame, kStyle, kExtendedStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void MainWindow::layOut(UINT dpi) {
    fonts_ = std::make_unique<Fonts>(dpi);
    for (const auto& view : views_) {
        view->place(placeInPixels(form_, view->model(), dpi), fonts_->forControl(view->model()));
    }
    const SIZE size = windowSize(dpi);
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::show(int showCommand) {
    RECT screen{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    RECT window{};
    GetWindowRect(window_, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    SetWindowPos(window_, nullptr, screen.left + (screen.right - screen.left - width) / 2,
                 screen.top + (screen.bottom - screen.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    form_.listSource.SetFocus();
}

int MainWindow::run() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Then the dialog keys: Tab and Shift-Tab move through the controls in tab order.
        if (isHelpKey(message)) {
            form_.raise("copyRight", EventKind::Click);
        } else if (!IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        // Every handler has ended here: a close held meanwhile goes ahead.
        if (std::exchange(closeHeld_, false) && window_ != nullptr) {
            PostMessageW(window_, WM_CLOSE, 0, 0);
        }
    }
    return static_cast<int>(message.wParam);
}

ControlView* MainWindow::viewWithId(int id) const {
    for (const auto& view : views_) {
        if (controlId(view->model()) == id) {
            return view.get();
        }
    }
    return nullptr;
}

ControlView* MainWindow::viewOf(HWND control) const {
    for (const auto& view : views_) {
        if (view->handle() == control) {
            return view.get();
        }
    }
    return nullptr;
}

bool MainWindow::setCursor(HWND over) {
    if (platform_.busy()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return true;
    }
    const ControlView* view = viewOf(over);
    if (view != nullptr && view->model().description().pointer == Pointer::PointingHand) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return true;
    }
    return false;
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<MainWindow*>(create->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY && self != nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self = nullptr;
    }
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handleMessage(message, wParam, lParam);
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (ControlView* view = viewWithId(LOWORD(wParam)); view != nullptr && lParam != 0) {
                view->command(HIWORD(wParam));
            }
            return 0;
        case WM_DRAWITEM:
            if (ControlView* view = viewWithId(static_cast<int>(wParam)); view != nullptr) {
                view->draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            }
            break;
        case WM_SETCURSOR:
            if (setCursor(reinterpret_cast<HWND>(wParam))) {
                return TRUE;
            }
            break;
        case WM_DEVICECHANGE:
            volumeChanges_.deviceChange(window_, wParam, lParam);
            break;
        case WM_ACTIVATE:
            // The focus comes back to the control that had it when the window was left.
            if (LOWORD(wParam) == WA_INACTIVE) {
                focus_ = GetFocus();
            } else if (focus_ != nullptr) {
                SetFocus(focus_);
                return 0;
            }
            break;
        case WM_DPICHANGED: {
            layOut(HIWORD(wParam));
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_CLOSE:
            // Closing now would pull the window from under the handler that runs inside it,
            // such as one waiting on a drive: the close goes ahead once it has ended.
            if (form_.handlerRunning() || platform_.busy()) {
                closeHeld_ = true;
                return 0;
            }
            break;
        case WM_QUERYENDSESSION:
            return answerSessionEnd();
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace velmora::win32
