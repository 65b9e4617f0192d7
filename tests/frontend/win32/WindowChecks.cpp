#include "WindowChecks.h"

#include <windows.h>
// needs the types that windows.h declares
#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "ExpectedLayout.h"

namespace velmora::uitest {
namespace {

int pixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

void checkFrame(Session& session) {
    Checks& checks = session.checks;
    const HWND window = session.window();
    const UINT dpi = GetDpiForWindow(window);
    checks.equal(textOf(window), "Velmora", "the window's caption");
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    checks.check((style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) == 0 &&
                     (style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU) != 0,
                 "a fixed single border: no resizing, no maximize");
    checks.check(GetMenu(window) == nullptr, "no menu");
    RECT client{};
    GetClientRect(window, &client);
    checks.closeTo(client.right, pixels(kClientWidthTwips, dpi), "client width");
    checks.closeTo(client.bottom, pixels(kClientHeightTwips, dpi), "client height");
    RECT screen{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    RECT frame{};
    GetWindowRect(window, &frame);
    checks.closeTo(frame.left - screen.left, screen.right - frame.right, "centred across");
    checks.closeTo(frame.top - screen.top, screen.bottom - frame.bottom, "centred down");
}

void checkControls(Session& session) {
    Checks& checks = session.checks;
    const UINT dpi = GetDpiForWindow(session.window());
    for (const ExpectedControl& expected : kLayout) {
        const std::string name(expected.name);
        const HWND handle = session.control(name);
        checks.equal(classOf(handle), std::string(expected.windowClass), name + " kind");
        const RECT place = placeInClient(handle, session.window());
        checks.closeTo(place.left, pixels(expected.left, dpi), name + " left");
        checks.closeTo(place.top, pixels(expected.top, dpi), name + " top");
        checks.closeTo(place.right, pixels(expected.left + expected.width, dpi), name + " right");
        checks.closeTo(place.bottom, pixels(expected.top + expected.height, dpi), name + " bottom");
        if (!expected.text.empty()) {
            checks.equal(textOf(handle), std::string(expected.text), name + " text");
        }
    }
}

void checkStartingState(Session& session) {
    Checks& checks = session.checks;
    const auto style = [&](const char* name) {
        return static_cast<DWORD>(GetWindowLongPtrW(session.control(name), GWL_STYLE));
    };
    checks.check(
        (style("listSource") & LBS_EXTENDEDSEL) != 0 && (style("listPSP") & LBS_EXTENDEDSEL) != 0,
        "both file lists have extended selection");
    checks.check((style("drivePSP") & 3) == CBS_DROPDOWNLIST, "the drive list drops down");
    checks.check(session.text("copyRight").find("Velmora") != std::string::npos,
                 "the credit names Velmora");
    for (const char* list : {"listSource", "listPSP"}) {
        checks.check(session.names(list) == std::vector<std::string>{"start.mp4"},
                     std::string(list) + " starts on the working folder's videos");
    }
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    GetGUIThreadInfo(session.thread(), &thread);
    checks.check(thread.hwndFocus == session.control("listSource"),
                 "the focus starts in listSource");
}

// Puts the mouse pointer on the middle of a control.
void pointAt(Session& session, const std::string& name) {
    const RECT place = placeInClient(session.control(name), session.window());
    POINT middle{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    ClientToScreen(session.window(), &middle);
    SetCursorPos(middle.x, middle.y);
}

HCURSOR pointer() {
    CURSORINFO cursor{};
    cursor.cbSize = sizeof(cursor);
    GetCursorInfo(&cursor);
    return cursor.hCursor;
}

// Pointer handles can't be compared with this program's own under Wine, only with each
// other: the credit's differs from the one over a plain label, which comes back after.
void checkPointerOverCredit(Session& session) {
    pointAt(session, "labelSelPSP");
    Sleep(500);
    const HCURSOR plain = pointer();
    pointAt(session, "copyRight");
    const bool own = waitFor([&] { return pointer() != plain; }, std::chrono::seconds(5));
    pointAt(session, "picPSP");
    const bool back = waitFor([&] { return pointer() == plain; }, std::chrono::seconds(5));
    session.checks.check(own && back,
                         "a pointer of its own over the credit, the default one elsewhere");
    SetCursorPos(0, 0);
}

void checkToolTips(Session& session) {
    std::pair<DWORD, HWND> found{session.process(), nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) {
            auto& search = *reinterpret_cast<std::pair<DWORD, HWND>*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == search.first && classOf(window) == "tooltips_class32") {
                search.second = window;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    session.checks.check(found.second != nullptr && send(found.second, TTM_GETTOOLCOUNT) == 3,
                         "tool tips for the two file lists and the drive list");
}

void cancelFolderBrowser(Session& session) {
    Checks& checks = session.checks;
    PostMessageW(session.control("btnBrowse"), BM_CLICK, 0, 0);
    const MessageBoxSeen browser = waitForMessageBox(session.process());
    if (!checks.check(browser.window != nullptr, "Browse.. opens the folder browser")) {
        return;
    }
    const std::vector<std::string> texts = staticTexts(browser.window);
    checks.check(std::find(texts.begin(), texts.end(),
                           "Select the folder where your video files reside") != texts.end(),
                 "the folder browser shows its instruction");
    checks.check(GetWindow(browser.window, GW_OWNER) == session.window(),
                 "the folder browser is modal over the window");
    checks.check(!IsWindowEnabled(session.window()), "the window takes no input meanwhile");
    press(browser, IDCANCEL);
    checks.equal(session.text("dirSource"), "Select a folder", "Cancel changes nothing");
}

}  // namespace

void checkWindowAtStart(Session& session) {
    checkFrame(session);
    checkControls(session);
    checkStartingState(session);
    checkPointerOverCredit(session);
    checkToolTips(session);
    cancelFolderBrowser(session);
}

}  // namespace velmora::uitest
