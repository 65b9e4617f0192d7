// Drives the real Velmora.exe by window messages (the scenes: wmain). Usage: PROGRAM STICK
// [FULL-STICK] [--hold FILE], or PROGRAM STICK --slow DELAY SOURCE HELD [IDLE]. --hold: before
// the deletion, writes FILE.ready with the window's place and waits for FILE (for a screenshot).
// --slow: the stick answers every request DELAY seconds late, or later after IDLE seconds without
// one (see slowStick).
// The driver may call Windows 10; the program itself is built for Windows 7.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0A00
#undef WINVER
#define WINVER 0x0A00
#include <windows.h>

#include <dbt.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win32/SampleJpeg.h"
#include "support/WindowLayout.h"
#include "win32/WindowPinger.h"
#include "win32/text/Wide.h"

namespace {

using velmora::test::ControlPlace;
using velmora::test::kWindowLayout;
using velmora::win32::toUtf8;
using velmora::win32::toWide;
namespace fs = std::filesystem;

int passed = 0, failed = 0;
bool check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    std::fflush(stdout);
    (ok ? passed : failed)++;
    return ok;
}
bool expect(const std::string& actual, const std::string& expected, std::string what) {
    return check(actual == expected, what + (actual == expected ? "" : ": \"" + actual + "\""));
}

bool waitFor(const std::function<bool()>& condition, int seconds = 30) {
    for (int tick = 0; tick < seconds * 20 && !condition(); ++tick) {
        Sleep(50);
    }
    return condition();
}

// A message with a time-out, so a hung program can't hang the test.
LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result);
    return static_cast<LRESULT>(result);
}

std::string textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(send(window, WM_GETTEXTLENGTH)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    std::erase(text, L'\r');
    return toUtf8(text);
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

std::vector<std::wstring> namesIn(const fs::path& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().wstring());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A visible top-level window of a process by its class: "#32770" for a dialog, though not the
// progress window of a copy or of a wait on a slow drive, which the user needn't answer.
HWND topLevel(DWORD process, const wchar_t* windowClass) {
    HWND window = nullptr;
    DWORD owner = 0;
    while ((window = FindWindowExW(nullptr, window, windowClass, nullptr)) != nullptr) {
        GetWindowThreadProcessId(window, &owner);
        if (owner == process && IsWindowVisible(window) &&
            FindWindowExW(window, nullptr, L"msctls_progress32", nullptr) == nullptr) {
            return window;
        }
    }
    return nullptr;
}

// One run of Velmora.exe, driven from outside by window messages only.
class Session {
  public:
    // patience: seconds for the window to show, and for the last handler to end once closed.
    Session(const std::wstring& program, const std::wstring& workFolder, int patience = 30)
        : patience_(patience) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring commandLine = L"\"" + program + L"\"";
        CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       workFolder.c_str(), &startup, &process_);
        waitFor(
            [&] {
                return (window = topLevel(process_.dwProcessId, L"VelmoraMainForm")) != nullptr;
            },
            patience);
    }
    ~Session() {
        PostMessageW(window, WM_CLOSE, 0, 0);
        // A close waits for the handler under way, which may still have a message to show.
        const auto ended = [&] {
            return dismiss("closing").empty() &&
                   WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
        };
        DWORD code = 1;
        check(
            waitFor(ended, patience_) && GetExitCodeProcess(process_.hProcess, &code) && code == 0,
            "closing the window ends the program");
        TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }

    // As a crash does; with the code of a program closed, which is all the closing check sees.
    void kill() { TerminateProcess(process_.hProcess, 0); }
    // The window's own ("mainForm"), or a control, identified by 1000 + its tab index.
    HWND control(const std::string& name) const {
        const auto place = std::ranges::find(kWindowLayout, name, &ControlPlace::name);
        return place == std::end(kWindowLayout) ? window
                                                : GetDlgItem(window, 1000 + place->tabIndex);
    }
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
        for (wchar_t item[MAX_PATH] = {};
             send(control(list), LB_GETTEXT, items.size(), reinterpret_cast<LPARAM>(item)) > 0;) {
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
    LRESULT driveIndex(const std::string& entry) {
        return send(control("drivePSP"), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                    reinterpret_cast<LPARAM>(toWide(entry).c_str()));
    }
    // By the arrow keys (the list closed), or confirmed in the open list.
    bool pickDrive(const std::string& entry, WORD how = CBN_SELCHANGE) {
        LRESULT index = -1;  // the entry shows once its drive's label is read
        waitFor([&] { return (index = driveIndex(entry)) >= 0; }, patience_);
        send(control("drivePSP"), CB_SETCURSEL, static_cast<WPARAM>(index));
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control("drivePSP")), how),
                     reinterpret_cast<LPARAM>(control("drivePSP")));
        return check(index >= 0, "the drive list shows " + entry);
    }
    // Waits for a message box; gives its title and text, and presses one of its buttons.
    std::string answer(int button, int seconds = 30) {
        HWND box = nullptr;
        waitFor([&] { return (box = dialog()) != nullptr; }, seconds);
        std::string seen = textOf(box) + ": ";
        for (HWND text = nullptr; (text = FindWindowExW(box, text, L"Static", nullptr));) {
            seen += textOf(text);
        }
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
        waitFor([&] { return !IsWindow(box); });
        return seen;
    }
    // Posts what asks a question (a click, a key), and answers it Yes; gives the question.
    std::string confirm(const std::string& name, UINT message, WPARAM wParam = 0,
                        int seconds = 30) {
        post(name, message, wParam);
        return answer(IDYES, seconds);
    }
    // Answers OK to a message showing, if one is, and prints it; gives it, or "" for none.
    std::string dismiss(const std::string& during) {
        const std::string seen = dialog() != nullptr ? answer(IDOK) : "";
        if (!seen.empty()) {
            std::printf("%s, the window says: %s\n", during.c_str(), seen.c_str());
        }
        return seen;
    }

    HWND window = nullptr;

  private:
    int patience_;
    PROCESS_INFORMATION process_{};
};

// The videos' folders; their bytes differ from video to video, so a mixed-up copy shows. The
// run script removes them: Wine removes nothing deeper than MAX_PATH.
struct Folders {
    fs::path root =
        fs::temp_directory_path() / ("velmora-ui-" + std::to_string(GetCurrentProcessId()));
    fs::path work = root / "work";
    // Beside the others: Wine's browser shows no folder that holds a path this deep.
    fs::path deep = fs::path(root.wstring() + L"-deep") / std::wstring(120, L'd') /
                    std::wstring(120, L'e') / L"Vid\u00E9os";
    fs::path large = root / "large";

    Folders() {
        write(work / "start.mp4", "x");
        write(deep / "Beach.MP4", std::string(1'572'864, 1));
        write(deep / "Beach.THM", velmora::test::kSampleJpeg);
        write(deep / "city.mp4", std::string(1'258'291, 2));
        write(deep / L"Dunes \u2603.MP4", std::string(2'621'440, 3));
        write(deep / L"Dunes \u2603.THM", velmora::test::kSampleJpeg);
        // Counted 1 MB each, both pass the space test on a stick with 3 MB free; one fits.
        write(large / "Trip 1.MP4", std::string(2'000'000, 4));
        write(large / "Trip 2.MP4", std::string(2'000'000, 5));
        write(large / "Trip 3.MP4", std::string(400'000'000, 6));  // long enough to be cut off
    }
    static void write(const fs::path& path, const std::string& bytes) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
};

void checkWindowAtStart(Session& session) {
    const int dpi = static_cast<int>(GetDpiForWindow(session.window));
    // Within a pixel of the twips at the window's dpi.
    const auto at = [&](long pixels, int twips) {
        return std::abs(pixels - MulDiv(twips, dpi, 1440)) <= 1;
    };
    RECT client{}, frame{}, screen{};
    GetClientRect(session.window, &client);
    GetWindowRect(session.window, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    const auto style = GetWindowLongPtrW(session.window, GWL_STYLE);
    check(textOf(session.window) == "Velmora" && (style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) == 0 &&
              at(client.right, 9855) && at(client.bottom, 5895),
          "the window: its caption, a fixed border and 657 x 393 pixels at 96 dpi");
    check(std::abs((frame.left - screen.left) - (screen.right - frame.right)) <= 1 &&
              std::abs((frame.top - screen.top) - (screen.bottom - frame.bottom)) <= 1,
          "the window is centred");
    for (const ControlPlace& expected : kWindowLayout) {
        const HWND control = session.control(expected.name);
        // Its place in its container: a frame's client area (no border), or the window's.
        RECT place{};
        GetWindowRect(control, &place);
        MapWindowPoints(HWND_DESKTOP, session.control(expected.container),
                        reinterpret_cast<POINT*>(&place), 2);
        wchar_t windowClass[64] = {};
        GetClassNameW(control, windowClass, 64);
        const int left = expected.left, top = expected.top;
        check(toUtf8(windowClass) == expected.windowClass && at(place.left, left) &&
                  at(place.top, top) && at(place.right, left + expected.width) &&
                  at(place.bottom, top + expected.height) &&
                  (*expected.text == '\0' || textOf(control) == expected.text),
              std::string(expected.name) + ": its kind, place and text");
    }
    check(session.names("listPSP") == std::vector<std::string>{"start.mp4"} &&
              session.focus() == session.control("listSource"),
          "the PSP list starts on the working folder, the focus in listSource");
}

// A click on the credit, and F1 in the focused list, each open the help page in the browser (the
// run script's stand-in); the button or key is then let go (WM_LBUTTONUP, WM_KEYUP).
void openHelpPage(Session& session) {
    const fs::path opened = _wgetenv(L"VELMORA_UI_OPENED");
    for (const auto& [way, control, press, wParam] :
         {std::tuple{"a click on the credit", "copyRight", WM_LBUTTONDOWN, MK_LBUTTON},
          std::tuple{"F1", "listSource", WM_KEYDOWN, VK_F1}}) {
        fs::remove(opened);
        session.post(control, press, wParam);
        session.post(control, press + 1, wParam);
        check(waitFor([&] { return readFile(opened).ends_with("/Velmora.html\n"); }),
              std::string(way) + " opens the help page");
    }
}

void chooseSourceFolder(Session& session, const Folders& folders) {
    session.post("btnBrowse", BM_CLICK);
    check(waitFor([&] { return session.dialog() != nullptr; }) &&
              GetWindow(session.dialog(), GW_OWNER) == session.window &&
              !IsWindowEnabled(session.window),
          "the folder browser is modal over the window");
    session.answer(IDCANCEL);
    session.post("btnBrowse", BM_CLICK);
    session.answer(IDOK);
    check(waitFor([&] {
              return fs::equivalent(fs::path(toWide(session.text("dirSource"))), folders.work);
          }),
          "the folder browser opens at the folder listed: OK takes it");

    const std::wstring typed = folders.deep.generic_wstring();
    session.typeSourceFolder(typed);
    check(session.text("dirSource") == toUtf8(typed) &&
              session.names("listSource") ==
                  std::vector<std::string>{"Beach.MP4", "city.mp4", "Dunes \xE2\x98\x83.MP4"},
          "Enter takes a folder deeper than MAX_PATH typed with forward slashes; the box keeps it");
}

// Declined once, the question comes again when the entry shown is picked again.
void pickNewStick(Session& session, const fs::path& stick) {
    const std::string entry = stick.string().substr(0, 2) + " [PSPSTICK]";
    const std::string question =
        "Velmora: No Video directory found on drive " + entry + ".\n\nDo you wish to create one?";
    if (session.pickDrive(entry)) {
        expect(session.answer(IDNO), question, "a stick without video folder: the question");
        session.pickDrive(entry, CBN_SELENDOK);
        expect(session.answer(IDYES), question, "picked again, the stick shown is asked again");
        check(waitFor([&] { return session.text("freePSP") != "0"; }),
              "the stick's free space is shown");
    }
}

void copyAndDelete(Session& session, const Folders& folders, const fs::path& stick,
                   const std::wstring& hold) {
    session.select("listSource", {0, 2});
    session.confirm("btnCopy", BM_CLICK);
    check(waitFor([&] {
              return session.names("listPSP").size() == 2 && !session.selected("listSource", 0) &&
                     !session.selected("listSource", 2);
          }),
          "both videos are copied, listed and deselected");
    // The run ends with the check of its copies, after the last one is deselected.
    check(waitFor([&] {
              return session.dialog() == nullptr && GetForegroundWindow() == session.window &&
                     session.focus() == session.control("listSource");
          }),
          "no message, and the window is in front with the focus in listSource");
    const std::vector<std::wstring> copies = namesIn(stick);
    const std::wstring prefix = copies.empty() ? L"" : copies[0].substr(0, 6);
    check(
        copies == std::vector<std::wstring>{prefix + L"01.MP4", prefix + L"01.THM",
                                            prefix + L"03.MP4", prefix + L"03.THM"} &&
            readFile(stick / (prefix + L"01.MP4")) == readFile(folders.deep / "Beach.MP4") &&
            readFile(stick / (prefix + L"03.MP4")) == readFile(folders.deep / L"Dunes \u2603.MP4"),
        "the stick holds the two videos, each with its source's bytes, named by one prefix and "
        "their positions, and their thumbnails");
    session.select("listPSP", {0});
    if (!hold.empty()) {
        RECT f{};
        GetWindowRect(session.window, &f);
        std::ofstream(fs::path(hold + L".ready"))
            << f.left << ' ' << f.top << ' ' << f.right - f.left << ' ' << f.bottom - f.top << '\n';
        waitFor([&] { return fs::exists(hold); }, 120);
    }
    session.confirm("listPSP", WM_CHAR, 8);
    check(waitFor([&] { return session.names("listPSP").size() == 1; }) &&
              namesIn(stick) == std::vector<std::wstring>{prefix + L"03.MP4", prefix + L"03.THM"},
          "Backspace deleted the selected video and its thumbnail");
}

// The first video fits, the second doesn't: it stays selected, nothing of it on the stick.
void copyOntoFullStick(Session& session, const Folders& folders, const fs::path& stick) {
    session.typeSourceFolder(folders.large.wstring());
    session.select("listSource", {0, 1});
    pickNewStick(session, stick);
    expect(session.text("freePSP"), "3", "the small stick has 3 MB free");
    session.confirm("btnCopy", BM_CLICK);
    auto quietSince = std::chrono::steady_clock::now();
    waitFor([&] {
        if (!session.dismiss("copying").empty()) {
            quietSince = std::chrono::steady_clock::now();
        }
        return !session.selected("listSource", 0) && session.selected("listSource", 1) &&
               std::chrono::steady_clock::now() - quietSince > std::chrono::seconds(2);
    });
    const std::vector<std::wstring> left = namesIn(stick);
    check(left.size() == 1 && left[0].ends_with(L"01.MP4") &&
              readFile(stick / left[0]) == readFile(folders.large / "Trip 1.MP4") &&
              session.names("listPSP").size() == 1 && session.selected("listSource", 1),
          "only the first video is on the stick, whole; the second stays selected");
}

// A copy killed midway leaves a temporary, which the next copy removes.
void copyAfterAKill(const std::wstring& program, const Folders& folders, const fs::path& stick) {
    const std::vector<std::wstring> before = namesIn(stick);
    for (const bool killed : {true, false}) {
        Session session(program, folders.large.wstring());
        session.select("listSource", {killed ? 2 : 0});
        session.pickDrive(stick.string().substr(0, 2) + " [PSPSTICK]");
        session.confirm("btnCopy", BM_CLICK);
        if (killed) {
            check(waitFor([&] { return namesIn(stick).back()[0] == L'~'; }),
                  "the copy of a large video is under way");
            session.kill();
        } else {
            waitFor([&] { return !session.selected("listSource", 0); });
        }
    }
    std::vector<std::wstring> added;
    std::ranges::set_difference(namesIn(stick), before, std::back_inserter(added));
    check(added.size() == 1 && added[0].ends_with(L"01.MP4") &&
              readFile(stick / added[0]) == readFile(folders.large / "Trip 1.MP4"),
          "after a copy killed midway, the next copy leaves only whole videos on the stick");
}

// Wine announces no drive letter that a program defines, so the test does, for R:, as Windows
// would; the current entry, the PSP list and the absence of questions stay throughout.
void followDrives(Session& session, const fs::path& stickFolder) {
    const auto announce = [&](WPARAM event) {
        DEV_BROADCAST_VOLUME volume{sizeof(volume), DBT_DEVTYP_VOLUME, 0, 1u << ('R' - 'A'), 0};
        send(session.window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume));
    };
    const auto seen = [&] {
        return std::tuple(session.text("drivePSP"), session.names("listPSP"), session.dialog());
    };
    const auto before = seen();
    const auto listed = [&] { return session.driveIndex("r:") >= 0; };
    if (!check(!listed() && DefineDosDeviceW(0, L"R:", stickFolder.c_str()), "R: is defined")) {
        return;
    }
    // Twice in a row, as a stick with two volumes does.
    announce(DBT_DEVICEARRIVAL);
    announce(DBT_DEVICEARRIVAL);
    check(waitFor(listed, 2) && seen() == before, "a volume that arrives is listed within 2 s");
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"R:", nullptr);
    announce(DBT_DEVICEREMOVECOMPLETE);
    check(waitFor([&] { return !listed(); }, 2) && seen() == before,
          "a volume that goes leaves the list within 2 s");
}

// Clicks a window at a spot of its client area, as a user does.
void click(HWND window, POINT spot) {
    ClientToScreen(window, &spot);
    SetCursorPos(spot.x, spot.y);
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, press, sizeof(INPUT));
}

// Whether the middle of a control shows this colour on the screen, give or take a JPEG's error.
bool shows(HWND control, COLORREF colour) {
    RECT place{};
    GetWindowRect(control, &place);
    const HDC screen = GetDC(nullptr);
    const COLORREF seen =
        GetPixel(screen, (place.left + place.right) / 2, (place.top + place.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return std::abs(GetRValue(seen) - GetRValue(colour)) < 40 &&
           std::abs(GetGValue(seen) - GetGValue(colour)) < 40 &&
           std::abs(GetBValue(seen) - GetBValue(colour)) < 40;
}

// A stick that answers every request DELAY seconds late (the run script's FUSE server) and holds
// videos with red thumbnails; SOURCE holds clip.MP4, its thumbnail and lime.jpg. Each step works,
// however long it takes, with no message; the window answers another process within half a
// second throughout. What the stick holds is read in HELD, the server's own folder, so that
// the test neither waits on the stick nor makes the program wait longer.
void slowStick(const std::wstring& program, const std::wstring& letter, const fs::path& held,
               const fs::path& source, double delay, double idle) {
    // A step asks the stick up to a few hundred things (a copy about 280), and under Wine each
    // file call asks it for every folder on the way.
    const int seconds = std::max(120, static_cast<int>(1500 * delay));
    // Wine starts its desktop with a program's first window and gives up on it when that takes
    // long, as it does while a slow stick is there (Wine asks every drive about itself). So the
    // stick answers at once until the desktop is up, and slows down once this file is gone.
    GetDesktopWindow();
    const fs::path desktopUp = source / ".desktop-up";
    std::ofstream(desktopUp).close();
    waitFor([&] { return !fs::exists(desktopUp); }, seconds);
    Session session(program, source.wstring(), seconds);
    const WindowPinger pinger(session.window, 50);  // from here, another process
    const auto videos = [&] {
        std::vector<std::wstring> names = namesIn(held);
        std::erase_if(names, [](const std::wstring& name) { return !name.ends_with(L".MP4"); });
        return names;
    };
    const std::size_t count = videos().size();
    const auto listed = [&] {
        return session.names("listPSP").size() == videos().size() && session.text("freePSP") != "0";
    };
    // Where the stick wakes from sleep (IDLE seconds without a request), each act comes after
    // such a pause, so that its first request waits the longest. The window is then in front,
    // as after a click: the waiting windows take the activation from it.
    const auto pause = [&] {
        Sleep(static_cast<DWORD>(idle > 0 ? (idle + 0.5) * 1000 : 0));
        click(session.window, {2, 2});  // a blank spot of the window
        check(waitFor([&] { return GetForegroundWindow() == session.window; }),
              "a click brings the window to the front");
    };
    const auto step = [&](const std::string& what, const std::function<bool()>& done) {
        const auto started = std::chrono::steady_clock::now();
        waitFor([&] { return session.dialog() != nullptr || done(); }, seconds);
        const bool quiet = session.dismiss(what).empty();  // a message is printed
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        check(quiet && done(),
              what + " (" + std::to_string(static_cast<int>(took.count())) + " s)");
    };
    const auto asks = [&](const std::string& title, const std::string& seen) {
        check(seen.starts_with(title + ":"), "the question is " + title + ": " + seen);
    };

    session.typeSourceFolder(source.wstring());
    pause();
    session.pickDrive(toUtf8(letter) + ": [PSPSTICK]");
    step("the pick lists the stick's videos and its free space", listed);
    pause();
    session.select("listPSP", {0});
    step("a click on a video shows its size and preview", [&] {
        return session.text("sizePSP") == "0" && shows(session.control("picPSP"), RGB(255, 0, 0));
    });
    const fs::path first = held / videos()[0];
    Folders::write(fs::path(first).replace_extension(".THM"), readFile(source / "lime.jpg"));
    pause();
    session.post("listPSP", WM_CHAR, 18);  // Ctrl-R
    step("Ctrl-R shows the new thumbnail",
         [&] { return listed() && shows(session.control("picPSP"), RGB(0, 255, 0)); });
    pause();
    asks("Confirm Deletion", session.confirm("listPSP", WM_CHAR, 8, seconds));
    step("Backspace with Yes deletes the video",
         [&] { return videos().size() == count - 1 && !fs::exists(first) && listed(); });
    const std::vector<std::wstring> before = namesIn(held);
    pause();
    // Selected again while the end of the last step still takes the window's selection over.
    step("a click on clip.MP4 selects it", [&] {
        return session.text("sizeSource") == "1" || (session.select("listSource", {0}), false);
    });
    asks("Confirm Copy", session.confirm("btnCopy", BM_CLICK, 0, seconds));
    step("the copy ends with the video listed", [&] {
        return !session.selected("listSource", 0) && videos().size() == count && listed();
    });
    std::vector<std::wstring> added;
    std::ranges::set_difference(namesIn(held), before, std::back_inserter(added));
    check(added.size() == 2 && readFile(held / added[0]) == readFile(source / "clip.MP4") &&
              readFile(held / added[1]) == readFile(source / "clip.THM"),
          "the stick holds clip.MP4 and its thumbnail beside what it had");
    check(pinger.longest() < 0.5,
          "the window answered within 0.5 s throughout: " + std::to_string(pinger.longest()) +
              " s (raw: " + std::to_string(pinger.longestWithStalls()) + " s)");
}

// On stand-in sticks that answer at once.
void quickSticks(int argc, wchar_t** argv) {
    const bool holding = argc > 4 && std::wstring(argv[argc - 2]) == L"--hold";
    const Folders folders;
    const auto videoFolder = [](const wchar_t* letter) {
        return fs::path(std::wstring{letter[0]} + L":\\MP_ROOT\\100ANV01");
    };
    if (Session session(argv[1], folders.work.wstring());
        check(session.window != nullptr, "Velmora.exe starts and shows its window")) {
        checkWindowAtStart(session);
        openHelpPage(session);
        chooseSourceFolder(session, folders);
        pickNewStick(session, videoFolder(argv[2]));
        copyAndDelete(session, folders, videoFolder(argv[2]), holding ? argv[argc - 1] : L"");
        followDrives(session, folders.work);
        if (argc == 4 || argc == 6) {
            copyOntoFullStick(session, folders, videoFolder(argv[3]));
        }
    }
    copyAfterAKill(argv[1], folders, videoFolder(argv[2]));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (argc >= 7 && std::wstring(argv[3]) == L"--slow") {
        slowStick(argv[1], argv[2], argv[6], argv[5], std::stod(argv[4]),
                  argc > 7 ? std::stod(argv[7]) : 0);
    } else if (argc >= 3) {
        quickSticks(argc, argv);
    } else {
        std::fprintf(stderr, "usage: see the head of UiDriver.cpp\n");
        return 2;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
