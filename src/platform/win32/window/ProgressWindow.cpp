#include "win32/window/ProgressWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "CopyStepText.h"
#include "win32/text/Wide.h"

namespace velmora::win32 {
namespace {

constexpr wchar_t kClass[] = L"VelmoraProgressWindow";
enum Part : int { kFirstLine = 100, kSecondLine, kStepLine, kBar };
// Posted by the window's thread: show the bar and step line now in the shared state; close.
constexpr UINT kRefresh = WM_APP + 1;
constexpr UINT kClose = WM_APP + 2;

// A control's place in its window's client area.
struct Place {
    int left, top, width, height;
};

std::wstring lastPart(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring folderPart(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

// What the window's thread and the progress window's own share; the last of them frees it.
struct ProgressShared {
    std::atomic<bool> cancelled = false;
    std::mutex mutex;
    HWND window = nullptr;  // once made
    bool closed = false;    // by the window's thread
    int thousandths = 0;
    std::wstring stepLine;
};

namespace {

ProgressShared& sharedOf(HWND window) {
    return *reinterpret_cast<ProgressShared*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void refresh(HWND window) {
    ProgressShared& shared = sharedOf(window);
    const std::lock_guard lock(shared.mutex);
    SendDlgItemMessageW(window, kBar, PBM_SETPOS, static_cast<WPARAM>(shared.thousandths), 0);
    SetDlgItemTextW(window, kStepLine, shared.stepLine.c_str());
}

LRESULT CALLBACK answerProgress(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    switch (message) {
        case WM_CLOSE:  // the close box cancels too; the window closes once its owner is done
            sharedOf(window).cancelled = true;
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                sharedOf(window).cancelled = true;
            }
            return 0;
        case WM_SETFOCUS:
            SetFocus(GetDlgItem(window, IDCANCEL));
            return 0;
        case kRefresh:
            refresh(window);
            return 0;
        case kClose:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void registerClass() {
    static const bool registered = [] {
        const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = answerProgress;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClass;
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
}

// A line's height and an average character's width in font, in pixels.
SIZE measure(HFONT font) {
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ before = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, before);
    ReleaseDC(nullptr, screen);
    return {metrics.tmAveCharWidth, metrics.tmHeight};
}

// The top left corner of a frame of this size centred over window, or over the screen, and
// kept on the screen.
POINT centredOver(HWND window, SIZE frame) {
    RECT screen{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    RECT over = screen;
    if (window != nullptr) {
        GetWindowRect(window, &over);
    }
    return {std::clamp((over.left + over.right - frame.cx) / 2, screen.left,
                       std::max(screen.left, screen.right - frame.cx)),
            std::clamp((over.top + over.bottom - frame.cy) / 2, screen.top,
                       std::max(screen.top, screen.bottom - frame.cy))};
}

// Laid out in the system's message font, so that it scales with the screen's dpi: three lines,
// the bar, and Cancel under it on the right. Null if it can't be made.
HWND makeWindow(HWND owner, const ProgressText& text, HFONT font, ProgressShared& shared) {
    registerClass();
    const SIZE unit = measure(font);
    const int margin = unit.cy;
    const int width = 60 * unit.cx;
    const int barTop = margin + 7 * unit.cy / 2;
    const SIZE button{12 * unit.cx, 7 * unit.cy / 4};
    const int buttonTop = barTop + 2 * unit.cy;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD extendedStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, width + 2 * margin, buttonTop + button.cy + margin};
    AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
    const POINT corner = centredOver(owner, size);
    const HWND window =
        CreateWindowExW(extendedStyle, kClass, text.title.c_str(), style, corner.x, corner.y,
                        size.cx, size.cy, owner, nullptr, GetModuleHandleW(nullptr), &shared);
    if (window == nullptr) {
        return nullptr;
    }
    const auto add = [&](const wchar_t* kind, const std::wstring& caption, DWORD look, int id,
                         Place place) {
        const HWND control =
            CreateWindowExW(0, kind, caption.c_str(), WS_CHILD | WS_VISIBLE | look, place.left,
                            place.top, place.width, place.height, window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return control;
    };
    const DWORD line = SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS;
    add(WC_STATICW, text.first, line, kFirstLine, {margin, margin, width, unit.cy});
    add(WC_STATICW, text.second, line, kSecondLine, {margin, margin + unit.cy, width, unit.cy});
    add(WC_STATICW, L"", line, kStepLine, {margin, margin + 2 * unit.cy, width, unit.cy});
    const HWND bar = add(PROGRESS_CLASSW, L"", text.measures ? 0 : PBS_MARQUEE, kBar,
                         {margin, barTop, width, unit.cy});
    SendMessageW(bar, PBM_SETRANGE32, 0, 1000);
    SendMessageW(bar, PBM_SETMARQUEE, text.measures ? FALSE : TRUE, 0);
    add(WC_BUTTONW, L"Cancel", BS_DEFPUSHBUTTON | WS_TABSTOP, IDCANCEL,
        {margin + width - button.cx, buttonTop, button.cx, button.cy});
    refresh(window);
    return window;
}

// The progress window's own thread: makes it, unless it was closed first, and answers it until
// it is destroyed.
void runWindow(HWND owner, ProgressText text, std::shared_ptr<ProgressShared> shared) {
    NONCLIENTMETRICSW system{};
    system.cbSize = sizeof(system);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(system), &system, 0);
    const HFONT font = CreateFontIndirectW(&system.lfMessageFont);
    const HWND window = makeWindow(owner, text, font, *shared);
    bool closed = false;
    {
        const std::lock_guard lock(shared->mutex);
        shared->window = window;
        closed = shared->closed;
    }
    if (closed && window != nullptr) {
        DestroyWindow(window);
    } else if (window != nullptr) {
        ShowWindow(window, SW_SHOW);
        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (!IsDialogMessageW(window, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }
    DeleteObject(font);
}

}  // namespace

ProgressText copyProgressText(const std::wstring& from, const std::wstring& to,
                              const CopyStep& step) {
    // The folders by their names only, which fit where whole paths of any depth would not.
    return {L"Copying", lastPart(from),
            L"From " + lastPart(folderPart(from)) + L" to " + lastPart(folderPart(to)), true, step};
}

ProgressText waitProgressText(std::wstring title, std::wstring what) {
    return {std::move(title), std::move(what), {}, false, std::nullopt};
}

bool ProgressWindow::show(std::uint64_t copied, std::uint64_t total) {
    if (shared_ == nullptr) {
        open();
    }
    const int thousandths =
        text_.step ? runThousandths(*text_.step, copied, total)
                   : static_cast<int>(total == 0 ? 0 : std::min(copied, total) * 1000 / total);
    const std::wstring stepLine =
        text_.step ? toWide(copyStepText(*text_.step, copied,
                                         std::chrono::steady_clock::now() - openedAt_))
                   : std::wstring();
    const std::lock_guard lock(shared_->mutex);
    if (text_.measures && (thousandths != shared_->thousandths || stepLine != shared_->stepLine)) {
        shared_->thousandths = thousandths;
        shared_->stepLine = stepLine;
        if (shared_->window != nullptr) {
            PostMessageW(shared_->window, kRefresh, 0, 0);
        }
    }
    return !shared_->cancelled;
}

void ProgressWindow::close() {
    if (shared_ == nullptr) {
        return;
    }
    const std::lock_guard lock(shared_->mutex);
    if (!std::exchange(shared_->closed, true) && shared_->window != nullptr) {
        PostMessageW(shared_->window, kClose, 0, 0);
    }
}

void ProgressWindow::open() {
    openedAt_ = std::chrono::steady_clock::now();
    shared_ = std::make_shared<ProgressShared>();
    try {
        std::thread(runWindow, owner_, text_, shared_).detach();
    } catch (const std::system_error&) {
        // Without a thread for it, the copy goes on without a window.
    }
}

}  // namespace velmora::win32
