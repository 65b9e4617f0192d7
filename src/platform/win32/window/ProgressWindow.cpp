#include "win32/window/ProgressWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "CopyStepText.h"
#include "win32/text/Wide.h"

namespace velmora::win32 {
namespace {

constexpr wchar_t kClass[] = L"VelmoraProgressWindow";
enum Part : int { kFirstLine = 100, kSecondLine, kStepLine, kBar };

thread_local HWND shown = nullptr;

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

LRESULT CALLBACK answerProgress(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* cancelled = reinterpret_cast<bool*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    // The close box cancels too; the window closes once its owner is done with it.
    if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
        *cancelled = true;
        return 0;
    }
    if (message == WM_SETFOCUS) {
        SetFocus(GetDlgItem(window, IDCANCEL));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
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
    if (!std::exchange(opened_, true)) {
        open();
    }
    if (window_ != nullptr && text_.measures) {
        const int thousandths =
            text_.step ? runThousandths(*text_.step, copied, total)
                       : static_cast<int>(total == 0 ? 0 : std::min(copied, total) * 1000 / total);
        SendDlgItemMessageW(window_, kBar, PBM_SETPOS, static_cast<WPARAM>(thousandths), 0);
        SetDlgItemTextW(window_, kStepLine, stepLine(copied).c_str());
    }
    return !cancelled_;
}

std::wstring ProgressWindow::stepLine(std::uint64_t copied) const {
    return text_.step ? toWide(copyStepText(*text_.step, copied,
                                            std::chrono::steady_clock::now() - openedAt_))
                      : std::wstring();
}

void ProgressWindow::close() {
    if (window_ != nullptr) {
        shown = shownBefore_;
        DestroyWindow(window_);  // the activation goes back to the owner, on this thread
        window_ = nullptr;
    }
    if (font_ != nullptr) {
        DeleteObject(font_);
        font_ = nullptr;
    }
}

// Laid out in the system's message font, so that it scales with the screen's dpi: three lines,
// the bar, and Cancel under it on the right.
void ProgressWindow::open() {
    registerClass();
    openedAt_ = std::chrono::steady_clock::now();
    NONCLIENTMETRICSW system{};
    system.cbSize = sizeof(system);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(system), &system, 0);
    font_ = CreateFontIndirectW(&system.lfMessageFont);
    const SIZE unit = measure(font_);
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
    const POINT corner = centredOver(owner_, size);
    window_ =
        CreateWindowExW(extendedStyle, kClass, text_.title.c_str(), style, corner.x, corner.y,
                        size.cx, size.cy, owner_, nullptr, GetModuleHandleW(nullptr), &cancelled_);
    if (window_ == nullptr) {
        return;
    }
    const auto add = [&](const wchar_t* kind, const std::wstring& text, DWORD look, int id,
                         Place place) {
        const HWND control =
            CreateWindowExW(0, kind, text.c_str(), WS_CHILD | WS_VISIBLE | look, place.left,
                            place.top, place.width, place.height, window_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return control;
    };
    const DWORD line = SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS;
    add(WC_STATICW, text_.first, line, kFirstLine, {margin, margin, width, unit.cy});
    add(WC_STATICW, text_.second, line, kSecondLine, {margin, margin + unit.cy, width, unit.cy});
    add(WC_STATICW, stepLine(0), line, kStepLine, {margin, margin + 2 * unit.cy, width, unit.cy});
    const HWND bar = add(PROGRESS_CLASSW, L"", text_.measures ? 0 : PBS_MARQUEE, kBar,
                         {margin, barTop, width, unit.cy});
    SendMessageW(bar, PBM_SETRANGE32, 0, 1000);
    SendMessageW(bar, PBM_SETMARQUEE, text_.measures ? FALSE : TRUE, 0);
    add(WC_BUTTONW, L"Cancel", BS_DEFPUSHBUTTON | WS_TABSTOP, IDCANCEL,
        {margin + width - button.cx, buttonTop, button.cx, button.cy});
    shownBefore_ = std::exchange(shown, window_);
    ShowWindow(window_, SW_SHOW);
}

bool progressWindowTook(MSG& message) {
    return shown != nullptr && (message.hwnd == shown || IsChild(shown, message.hwnd)) &&
           IsDialogMessageW(shown, &message);
}

HWND progressWindowShown() {
    return shown;
}

}  // namespace velmora::win32
