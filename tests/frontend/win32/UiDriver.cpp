// Drives the real Velmora.exe from outside, by window messages only, as an automation client
// would: finds the window and every control, checks them against the layout table, types a
// source folder, selects videos, picks the stand-in stick, answers the message boxes by their
// texts and copies two videos, then checks the stick byte for byte and deletes one video.
//
// Usage: velmora_ui_driver.exe PATH\Velmora.exe STICK-LETTER STICK-LABEL [HOLD-FILE]
// With HOLD-FILE, the driver stops before the deletion, writes HOLD-FILE.ready with the
// window's place on the screen and waits until HOLD-FILE exists (for a screenshot).
#include <windows.h>
// needs the types that windows.h declares
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

#include "Checks.h"
#include "ExpectedLayout.h"
#include "Remote.h"
#include "ResourceChecks.h"
#include "SampleJpeg.h"
#include "TestFiles.h"

namespace velmora::uitest {
namespace {

struct Video {
    const wchar_t* name;
    std::size_t size;
    std::string thumbnail;  // empty: none
};

// Sorted as the list shows them: the selected ones (0 and 2) become positions 1 and 3.
const Video kVideos[] = {
    {L"Beach.MP4", 1'572'864, test::kSampleJpeg},
    {L"city.mp4", 1'258'291, {}},
    {L"Dunes.MP4", 2'621'440, test::kOtherSampleJpeg},
};

std::wstring withoutExtension(const std::wstring& name) {
    return name.substr(0, name.size() - 4);
}

class Session {
  public:
    Session(std::wstring program, wchar_t stick, std::string stickLabel)
        : program_(std::move(program)), stick_(stick), stickLabel_(std::move(stickLabel)) {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        root_ = std::wstring(temp) + L"velmora-ui-" + std::to_wstring(GetCurrentProcessId());
        source_ = root_ + L"\\source";
        work_ = root_ + L"\\work";
        videoFolder_ = std::wstring(1, stick_) + L":\\MP_ROOT\\100ANV01";
    }
    ~Session() {
        if (process_.hProcess != nullptr) {
            TerminateProcess(process_.hProcess, 1);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
        removeTree(root_);
    }

    int run(const std::wstring& holdFile) {
        checkResources(checks_, program_);
        makeFiles();
        if (launch() && findControls()) {
            checkWindow();
            checkStartUp();
            cancelFolderBrowser();
            typeSourceFolder();
            selectVideos();
            pickStick();
            copyVideos();
            selectFirstOnStick();
            if (!holdFile.empty()) {
                holdForScreenshot(holdFile);
            }
            deleteFirstOnStick();
            close();
        }
        return checks_.finish();
    }

  private:
    void makeFiles() const {
        CreateDirectoryW(root_.c_str(), nullptr);
        CreateDirectoryW(source_.c_str(), nullptr);
        CreateDirectoryW(work_.c_str(), nullptr);
        writeFile(work_ + L"\\start.mp4", "x");
        int seed = 0;
        for (const Video& video : kVideos) {
            writeFile(source_ + L"\\" + video.name, videoBytes(video.size, ++seed));
            if (!video.thumbnail.empty()) {
                writeFile(source_ + L"\\" + withoutExtension(video.name) + L".THM",
                          video.thumbnail);
            }
        }
    }

    bool launch() {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring commandLine = L"\"" + program_ + L"\"";
        if (!checks_.check(CreateProcessW(program_.c_str(), commandLine.data(), nullptr, nullptr,
                                          FALSE, 0, nullptr, work_.c_str(), &startup, &process_),
                           "Velmora.exe starts")) {
            return false;
        }
        waitFor([&] {
            return (window_ = topLevelWindow(process_.dwProcessId, L"VelmoraMainForm")) != nullptr;
        });
        return checks_.check(window_ != nullptr, "its window appears");
    }

    bool findControls() {
        const std::map<int, HWND> children = childrenById(window_);
        for (const ExpectedControl& expected : kLayout) {
            const auto it = children.find(1000 + expected.tabIndex);
            controls_[std::string(expected.name)] = it == children.end() ? nullptr : it->second;
        }
        bool all = children.size() >= kLayout.size();
        for (const auto& [name, control] : controls_) {
            all = all && control != nullptr;
        }
        return checks_.check(all, "every control is found by its identifier");
    }

    HWND control(const std::string& name) { return controls_.at(name); }

    int pixels(int twips) const { return MulDiv(twips, static_cast<int>(dpi_), 1440); }

    void checkWindow() {
        dpi_ = GetDpiForWindow(window_);
        checks_.equal(textOf(window_), "Velmora", "the window's caption");
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
        checks_.check((style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) == 0 &&
                          (style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU) != 0,
                      "a fixed single border: no resizing, no maximize");
        checks_.check(GetMenu(window_) == nullptr, "no menu");
        RECT client{};
        GetClientRect(window_, &client);
        checks_.closeTo(client.right, pixels(kClientWidthTwips), "client width");
        checks_.closeTo(client.bottom, pixels(kClientHeightTwips), "client height");
        RECT screen{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
        RECT frame{};
        GetWindowRect(window_, &frame);
        checks_.closeTo(frame.left - screen.left, screen.right - frame.right, "centred across");
        checks_.closeTo(frame.top - screen.top, screen.bottom - frame.bottom, "centred down");
        for (const ExpectedControl& expected : kLayout) {
            checkControl(expected);
        }
    }

    void checkControl(const ExpectedControl& expected) {
        const std::string name(expected.name);
        const HWND handle = control(name);
        checks_.equal(classOf(handle), std::string(expected.windowClass), name + " kind");
        const RECT place = placeInClient(handle, window_);
        checks_.closeTo(place.left, pixels(expected.left), name + " left");
        checks_.closeTo(place.top, pixels(expected.top), name + " top");
        checks_.closeTo(place.right, pixels(expected.left + expected.width), name + " right");
        checks_.closeTo(place.bottom, pixels(expected.top + expected.height), name + " bottom");
        if (!expected.text.empty()) {
            checks_.equal(textOf(handle), std::string(expected.text), name + " text");
        }
    }

    void checkStartUp() {
        const auto style = [&](const char* name) {
            return static_cast<DWORD>(GetWindowLongPtrW(control(name), GWL_STYLE));
        };
        checks_.check((style("listSource") & LBS_EXTENDEDSEL) != 0 &&
                          (style("listPSP") & LBS_EXTENDEDSEL) != 0,
                      "both file lists have extended selection");
        checks_.check((style("drivePSP") & 3) == CBS_DROPDOWNLIST, "the drive list drops down");
        checks_.check(textOf(control("copyRight")).find("Velmora") != std::string::npos,
                      "the credit names Velmora");
        for (const char* list : {"listSource", "listPSP"}) {
            checks_.check(
                send(control(list), LB_GETCOUNT) == 1 && listItem(control(list), 0) == "start.mp4",
                std::string(list) + " starts on the working folder's videos");
        }
        checkPointerOverCredit();
        checkToolTips();
        GUITHREADINFO thread{};
        thread.cbSize = sizeof(thread);
        GetGUIThreadInfo(process_.dwThreadId, &thread);
        checks_.check(thread.hwndFocus == control("listSource"), "the focus starts in listSource");
    }

    // Puts the mouse pointer on the middle of a control.
    void pointAt(const std::string& name) {
        const RECT place = placeInClient(control(name), window_);
        POINT middle{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
        ClientToScreen(window_, &middle);
        SetCursorPos(middle.x, middle.y);
    }

    static HCURSOR pointer() {
        CURSORINFO cursor{};
        cursor.cbSize = sizeof(cursor);
        GetCursorInfo(&cursor);
        return cursor.hCursor;
    }

    // Pointer handles can't be compared with this program's own under Wine, only with each
    // other: the credit's differs from the one over a plain label, which comes back after.
    void checkPointerOverCredit() {
        pointAt("labelSelPSP");
        Sleep(500);
        const HCURSOR plain = pointer();
        pointAt("copyRight");
        const bool own = waitFor([&] { return pointer() != plain; }, std::chrono::seconds(5));
        pointAt("picPSP");
        const bool back = waitFor([&] { return pointer() == plain; }, std::chrono::seconds(5));
        checks_.check(own && back,
                      "a pointer of its own over the credit, the default one elsewhere");
        SetCursorPos(0, 0);
    }

    void checkToolTips() {
        std::pair<DWORD, HWND> found{process_.dwProcessId, nullptr};
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
        checks_.check(found.second != nullptr && send(found.second, TTM_GETTOOLCOUNT) == 3,
                      "tool tips for the two file lists and the drive list");
    }

    void cancelFolderBrowser() {
        PostMessageW(control("btnBrowse"), BM_CLICK, 0, 0);
        const MessageBoxSeen browser = waitForMessageBox(process_.dwProcessId);
        if (!checks_.check(browser.window != nullptr, "Browse.. opens the folder browser")) {
            return;
        }
        const std::vector<std::string> texts = staticTexts(browser.window);
        checks_.check(std::find(texts.begin(), texts.end(),
                                "Select the folder where your video files reside") != texts.end(),
                      "the folder browser shows its instruction");
        checks_.check(GetWindow(browser.window, GW_OWNER) == window_,
                      "the folder browser is modal over the window");
        checks_.check(!IsWindowEnabled(window_), "the window takes no input meanwhile");
        press(browser, IDCANCEL);
        checks_.equal(textOf(control("dirSource")), "Select a folder", "Cancel changes nothing");
    }

    void typeSourceFolder() {
        send(control("dirSource"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(source_.c_str()));
        send(control("dirSource"), WM_CHAR, 13, 0);
        const HWND list = control("listSource");
        const bool listed = send(list, LB_GETCOUNT) == 3 && listItem(list, 0) == "Beach.MP4" &&
                            listItem(list, 1) == "city.mp4" && listItem(list, 2) == "Dunes.MP4";
        checks_.check(listed, "Enter in dirSource lists the typed folder's videos in order");
    }

    // A list box selected from another process says nothing to its window: tell it.
    void selectionChanged(const std::string& name) {
        send(window_, WM_COMMAND, MAKEWPARAM(1000 + tabIndexOf(name), LBN_SELCHANGE),
             reinterpret_cast<LPARAM>(control(name)));
    }

    static int tabIndexOf(const std::string& name) {
        for (const ExpectedControl& expected : kLayout) {
            if (expected.name == name) {
                return expected.tabIndex;
            }
        }
        return -1;
    }

    void selectVideos() {
        send(control("listSource"), LB_SETSEL, TRUE, 0);
        send(control("listSource"), LB_SETSEL, TRUE, 2);
        selectionChanged("listSource");
        checks_.equal(textOf(control("sizeSource")), "3", "the selection counts 1 + 2 MB");
    }

    MessageBoxSeen expectMessageBox(const std::string& title, const std::string& text) {
        const MessageBoxSeen box = waitForMessageBox(process_.dwProcessId);
        checks_.equal(box.title, title, "message box title");
        checks_.equal(box.text, text, "message box text");
        return box;
    }

    void pickStick() {
        const HWND drives = control("drivePSP");
        const std::string entry =
            std::string(1, static_cast<char>(stick_)) + ": [" + stickLabel_ + "]";
        int index = -1;
        for (int i = 0; i < static_cast<int>(send(drives, CB_GETCOUNT)); ++i) {
            index = comboItem(drives, i) == entry ? i : index;
        }
        if (!checks_.check(index >= 0, "the drive list shows " + entry)) {
            return;
        }
        send(drives, CB_SETCURSEL, static_cast<WPARAM>(index));
        PostMessageW(window_, WM_COMMAND, MAKEWPARAM(1000 + tabIndexOf("drivePSP"), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(drives));
        press(expectMessageBox("Velmora", "No Video directory found on drive " + entry +
                                              ".\n\nDo you wish to create one?"),
              IDYES);
        checks_.check(waitFor([&] { return textOf(control("freePSP")) != "0"; }),
                      "the stick's free space is shown");
        checks_.check(exists(videoFolder_), "Yes made MP_ROOT\\100ANV01 on the stick");
        checks_.check(send(control("listPSP"), LB_GETCOUNT) == 0, "listPSP shows the empty folder");
    }

    void copyVideos() {
        PostMessageW(control("btnCopy"), BM_CLICK, 0, 0);
        press(
            expectMessageBox("Confirm Copy", "Do you wish to copy the selected files to your PSP?"),
            IDYES);
        const bool done = waitFor([&] {
            return send(control("listPSP"), LB_GETCOUNT) == 2 &&
                   send(control("listSource"), LB_GETSELCOUNT) == 0;
        });
        checks_.check(done, "both videos are copied, listed and deselected");
        if (const HWND box = topLevelWindow(process_.dwProcessId, L"#32770")) {
            checks_.check(false, "no message after the copy: " +
                                     waitForMessageBox(process_.dwProcessId).text);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        checkStick();
    }

    void checkStick() {
        const std::vector<std::wstring> copies = namesIn(videoFolder_, L"MAQ*.MP4");
        if (!checks_.check(copies.size() == 2, "two MAQ videos on the stick")) {
            return;
        }
        const std::wstring prefix = copies[0].substr(0, 6);
        const std::wstring first = prefix + L"01";
        const std::wstring third = prefix + L"03";
        const std::string names = toUtf8(copies[0] + L" " + copies[1]);
        checks_.check(copies[1].substr(0, 6) == prefix &&
                          ((copies[0] == first + L".MP4" && copies[1] == third + L".MP4") ||
                           (copies[1] == first + L".MP4" && copies[0] == third + L".MP4")),
                      "the copies are named by one prefix and positions 1 and 3: " + names);
        checks_.check(
            readFile(videoFolder_ + L"\\" + first + L".MP4") == readFile(source_ + L"\\Beach.MP4"),
            "the first copy holds Beach.MP4's bytes");
        checks_.check(
            readFile(videoFolder_ + L"\\" + third + L".MP4") == readFile(source_ + L"\\Dunes.MP4"),
            "the second copy holds Dunes.MP4's bytes");
        checks_.check(readFile(videoFolder_ + L"\\" + first + L".THM") == kVideos[0].thumbnail,
                      "Beach's thumbnail is copied under its PSP name");
        checks_.check(readFile(videoFolder_ + L"\\" + third + L".THM") == kVideos[2].thumbnail,
                      "Dunes' thumbnail is copied under its PSP name");
        checks_.check(namesIn(videoFolder_, L"*").size() == 4, "nothing else is left on the stick");
        firstCopy_ = first;
    }

    void selectFirstOnStick() {
        const HWND list = control("listPSP");
        send(list, LB_SETSEL, TRUE, 0);
        send(list, LB_SETCARETINDEX, 0, 0);
        selectionChanged("listPSP");
        checks_.equal(textOf(control("sizePSP")), "1", "the PSP selection counts 1 MB");
    }

    void holdForScreenshot(const std::wstring& holdFile) {
        SetCursorPos(0, 0);  // away from the window, which then shows no hover effect
        RECT frame{};
        GetWindowRect(window_, &frame);
        const std::string place = std::to_string(frame.left) + " " + std::to_string(frame.top) +
                                  " " + std::to_string(frame.right - frame.left) + " " +
                                  std::to_string(frame.bottom - frame.top) + "\n";
        writeFile(holdFile + L".ready", place);
        waitFor([&] { return exists(holdFile); }, std::chrono::seconds(120));
    }

    void deleteFirstOnStick() {
        PostMessageW(control("listPSP"), WM_CHAR, 8, 0);
        press(expectMessageBox("Confirm Deletion",
                               "Do you wish to delete the selected files from your PSP?"),
              IDYES);
        checks_.check(waitFor([&] { return send(control("listPSP"), LB_GETCOUNT) == 1; }),
                      "Backspace deleted the selected video from the list");
        checks_.check(!exists(videoFolder_ + L"\\" + firstCopy_ + L".MP4") &&
                          !exists(videoFolder_ + L"\\" + firstCopy_ + L".THM"),
                      "the video and its thumbnail are gone from the stick");
    }

    void close() {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        DWORD exitCode = 1;
        const bool ended = WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0 &&
                           GetExitCodeProcess(process_.hProcess, &exitCode) && exitCode == 0;
        checks_.check(ended, "closing the window ends the program");
    }

    Checks checks_;
    std::wstring program_;
    wchar_t stick_;
    std::string stickLabel_;
    std::wstring root_;
    std::wstring source_;
    std::wstring work_;
    std::wstring videoFolder_;
    std::wstring firstCopy_;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    std::map<std::string, HWND> controls_;
};

}  // namespace
}  // namespace velmora::uitest

int wmain(int argc, wchar_t** argv) {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (argc < 4) {
        std::fprintf(stderr, "usage: velmora_ui_driver PROGRAM STICK-LETTER STICK-LABEL [HOLD]\n");
        return 2;
    }
    velmora::uitest::Session session(argv[1], argv[2][0], velmora::uitest::toUtf8(argv[3]));
    return session.run(argc > 4 ? argv[4] : L"");
}
