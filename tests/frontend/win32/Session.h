#pragma once

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/MainForm.h"
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
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
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
    for (const auto& entry :
         fs::directory_iterator(folder, fs::directory_options::skip_permission_denied)) {
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

// One run of Velmora.exe, driven from outside by window messages only.
class Session {
  public:
    Session(const std::wstring& program, const std::wstring& workFolder, const MainForm& form) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring commandLine = L"\"" + program + L"\"";
        CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       workFolder.c_str(), &startup, &process_);
        waitFor([&] {
            return (window = topLevel(process_.dwProcessId, L"VelmoraMainForm")) != nullptr;
        });
        for (const Control* control : form.controls()) {
            controls_[control->name()] = GetDlgItem(window, 1000 + control->description().tabIndex);
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
    HANDLE process() const { return process_.hProcess; }
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
        for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
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
