#include "Remote.h"

#include <thread>
#include <vector>

namespace velmora::uitest {

std::wstring toWide(const std::string& utf8) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

std::string toUtf8(const std::wstring& utf16) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), utf8.data(), size,
                        nullptr, nullptr);
    return utf8;
}

LRESULT send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result);
    return static_cast<LRESULT>(result);
}

std::string textOf(HWND window) {
    const auto length = static_cast<std::size_t>(send(window, WM_GETTEXTLENGTH));
    std::wstring text(length + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        send(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()))));
    return toUtf8(text);
}

std::string classOf(HWND window) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return toUtf8(name);
}

RECT placeInClient(HWND control, HWND topLevel) {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(HWND_DESKTOP, topLevel, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

std::map<int, HWND> childrenById(HWND window) {
    std::map<int, HWND> children;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) {
            if (GetParent(child) == GetAncestor(child, GA_ROOT)) {
                (*reinterpret_cast<std::map<int, HWND>*>(data))[GetDlgCtrlID(child)] = child;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

std::string listItem(HWND list, int index) {
    const auto length = send(list, LB_GETTEXTLEN, static_cast<WPARAM>(index));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    send(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return toUtf8(text);
}

std::string comboItem(HWND combo, int index) {
    const auto length = send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    send(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return toUtf8(text);
}

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

namespace {

struct WindowSearch {
    DWORD process;
    std::wstring windowClass;
    HWND found = nullptr;
};

BOOL CALLBACK matchTopLevel(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    if (owner == search.process && IsWindowVisible(window) && search.windowClass == name) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

std::string withoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

}  // namespace

HWND topLevelWindow(DWORD process, const wchar_t* windowClass) {
    WindowSearch search{process, windowClass};
    EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

MessageBoxSeen waitForMessageBox(DWORD process) {
    MessageBoxSeen box;
    waitFor([&] { return (box.window = topLevelWindow(process, L"#32770")) != nullptr; });
    if (box.window == nullptr) {
        return box;
    }
    box.title = textOf(box.window);
    // The message is the static control with text; the icon, if any, is one without.
    const std::vector<std::string> texts = staticTexts(box.window);
    if (!texts.empty()) {
        box.text = texts.back();
    }
    return box;
}

std::vector<std::string> staticTexts(HWND dialog) {
    std::vector<std::string> texts;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) {
            if (classOf(child) == "Static" && !textOf(child).empty()) {
                reinterpret_cast<std::vector<std::string>*>(data)->push_back(
                    withoutCarriageReturns(textOf(child)));
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

void press(const MessageBoxSeen& box, int button) {
    PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box.window, button)));
    waitFor([&] { return !IsWindow(box.window); });
}

}  // namespace velmora::uitest
