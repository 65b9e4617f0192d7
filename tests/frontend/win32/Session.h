#pragma once

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "win32/Wide.h"

namespace velmora::uitest {

using win32::toUtf8;
using win32::toWide;
namespace fs = std::filesystem;

inline int passed = 0;
inline int failed = 0;
inline bool check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    std::fflush(stdout);
    (ok ? passed : failed)++;
    return ok;
}
inline bool expect(const std::string& actual, const std::string& expected,
                   const std::string& what) {
    return check(actual == expected, what + (actual == expected ? "" : ": \"" + actual + "\""));
}

inline bool waitFor(const std::function<bool()>& condition, int seconds = 30) {
    for (int tick = 0; tick < seconds * 20 && !condition(); ++tick) {
        Sleep(50);
    }
    return condition();
}

// A message with a time-out, so a hung program can't hang the test.
inline LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result);
    return static_cast<LRESULT>(result);
}

inline std::string textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(send(window, WM_GETTEXTLENGTH)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    std::erase(text, L'\r');
    return toUtf8(text);
}

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

inline std::vector<std::wstring> namesIn(const fs::path& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().wstring());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A visible top-level window of a process by its class: "#32770" for a dialog.
inline HWND topLevel(DWORD process, const wchar_t* windowClass) {
    HWND window = nullptr;
    DWORD owner = 0;
    while ((window = FindWindowExW(nullptr, window, windowClass, nullptr)) != nullptr) {
        GetWindowThreadProcessId(window, &owner);
        if (owner == process && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

// The window's table: every control with its class, its place in the client area in twips
// (inside a frame, moved by the frame's origin), its tab index (its identifier is 1000 plus
// that) and its initial text.
struct Expected {
    const char* name;
    const char* windowClass;
    int left, top, width, height, tabIndex;
    const char* text;
};
inline constexpr Expected kLayout[] = {
    {"frameSource", "Button", 120, 120, 4095, 5655, 8, "Source"},
    {"dirSource", "Edit", 240, 390, 2775, 315, 4, "Select a folder"},
    {"btnBrowse", "Button", 3120, 360, 975, 375, 6, "Browse.."},
    {"listSource", "ListBox", 240, 840, 3855, 4575, 0, ""},
    {"labelSelected", "Static", 2280, 5470, 1095, 255, 10, "Selected (MB):"},
    {"sizeSource", "Static", 3480, 5470, 495, 255, 17, "0"},
    {"framePSP", "Button", 5640, 120, 4095, 5655, 7, "PSP"},
    {"drivePSP", "ComboBox", 5760, 360, 3855, 315, 5, ""},
    {"listPSP", "ListBox", 5760, 840, 3855, 4575, 1, ""},
    {"labelSizePSP", "Static", 5880, 5470, 1095, 255, 12, "Selected (MB):"},
    {"sizePSP", "Static", 6960, 5470, 495, 255, 16, "0"},
    {"labelPSP", "Static", 7680, 5470, 1335, 255, 2, "Free space (MB):"},
    {"freePSP", "Static", 9000, 5470, 495, 255, 9, "0"},
    {"labelSource", "Static", 4320, 720, 1215, 255, 13, "Selected Source:"},
    {"picSource", "VelmoraPictureBox", 4290, 1080, 1260, 960, 15, ""},
    {"btnCopy", "Button", 4320, 2640, 1215, 495, 18, "Copy to PSP"},
    {"labelSelPSP", "Static", 4320, 3600, 1215, 255, 11, "Selected PSP:"},
    {"picPSP", "VelmoraPictureBox", 4290, 3960, 1260, 960, 14, ""},
    {"copyRight", "Static", 4320, 5280, 1215, 495, 3, ""},
};

// One run of Velmora.exe, driven from outside by window messages only.
class Session {
  public:
    Session(const std::wstring& program, const std::wstring& workFolder) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring commandLine = L"\"" + program + L"\"";
        CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       workFolder.c_str(), &startup, &process_);
        waitFor([&] {
            return (window = topLevel(process_.dwProcessId, L"VelmoraMainForm")) != nullptr;
        });
        for (const Expected& expected : kLayout) {
            controls_[expected.name] = GetDlgItem(window, 1000 + expected.tabIndex);
        }
    }
    ~Session() {
        PostMessageW(window, WM_CLOSE, 0, 0);
        DWORD code = 1;
        check(WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0 &&
                  GetExitCodeProcess(process_.hProcess, &code) && code == 0,
              "closing the window ends the program");
        TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    HWND control(const std::string& name) { return controls_[name]; }
    std::string text(const std::string& name) { return textOf(control(name)); }
    HWND dialog() const { return topLevel(process_.dwProcessId, L"#32770"); }
    HWND focus() const {
        GUITHREADINFO thread{};
        thread.cbSize = sizeof(thread);
        GetGUIThreadInfo(process_.dwThreadId, &thread);
        return thread.hwndFocus;
    }
    std::vector<std::string> names(const std::string& list) {
        std::vector<std::string> items;
        wchar_t item[MAX_PATH] = {};
        for (WPARAM i = 0; send(control(list), LB_GETTEXT, i, reinterpret_cast<LPARAM>(item)) > 0;
             ++i) {
            items.push_back(toUtf8(item));
        }
        return items;
    }
    bool selected(const std::string& list, int index) {
        return send(control(list), LB_GETSEL, static_cast<WPARAM>(index)) > 0;
    }
    // Selects as a user does; a list box selected from another process tells its window nothing.
    void select(const std::string& list, std::initializer_list<int> indices) {
        for (const int index : indices) {
            send(control(list), LB_SETSEL, TRUE, index);
        }
        send(control(list), LB_SETCARETINDEX, static_cast<WPARAM>(*indices.begin()));
        send(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control(list)), LBN_SELCHANGE),
             reinterpret_cast<LPARAM>(control(list)));
    }
    void typeSourceFolder(const std::wstring& folder) {
        send(control("dirSource"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
        send(control("dirSource"), WM_CHAR, 13);
    }
    // Posted: what follows asks a question, which waits for an answer from here.
    void post(const std::string& name, UINT message, WPARAM wParam = 0) {
        PostMessageW(control(name), message, wParam, 0);
    }
    bool pickDrive(const std::string& entry) {
        const LRESULT index = send(control("drivePSP"), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(toWide(entry).c_str()));
        send(control("drivePSP"), CB_SETCURSEL, static_cast<WPARAM>(index));
        PostMessageW(window, WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(control("drivePSP")), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(control("drivePSP")));
        return check(index >= 0, "the drive list shows " + entry);
    }
    // Waits for a message box; gives its title and text, and presses one of its buttons.
    std::string answer(int button) {
        HWND box = nullptr;
        waitFor([&] { return (box = dialog()) != nullptr; });
        std::string seen = textOf(box) + ": ";
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[16] = {};
            GetClassNameW(child, name, 16);
            seen += std::wstring(name) == L"Static" ? textOf(child) : "";
        }
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
        waitFor([&] { return !IsWindow(box); });
        return seen;
    }

    HWND window = nullptr;

  private:
    PROCESS_INFORMATION process_{};
    std::map<std::string, HWND> controls_;
};

}  // namespace velmora::uitest
