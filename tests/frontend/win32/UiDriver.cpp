// Drives the real Velmora.exe from outside, by window messages only, as an automation client
// would: the window against its layout table; the road of one copy from a folder deeper than
// MAX_PATH, chosen in the folder browser and typed with forward slashes, to a stand-in stick,
// and a deletion there; and, given a second, small stick, a copy of more than fits.
//
// Usage: velmora_ui_driver.exe PATH\Velmora.exe STICK-LETTER [FULL-STICK-LETTER] [--hold FILE]
//   --hold FILE: before the deletion, writes FILE.ready with the window's place and waits
//   for FILE to appear (for a screenshot).
#include <windows.h>
// needs the types that windows.h declares
#include <shlobj.h>

#include <algorithm>

#include "SampleJpeg.h"
#include "Session.h"

using namespace velmora::uitest;

namespace {

const std::string kOtherJpeg = velmora::test::kSampleJpeg + "but another picture";

struct Folders {
    fs::path root =
        fs::temp_directory_path() / ("velmora-ui-" + std::to_string(GetCurrentProcessId()));
    fs::path work = root / "work";
    // Beside the others: Wine's browser shows no folder that holds a path this deep.
    fs::path deep = fs::path(root.wstring() + L"-deep") / std::wstring(120, L'd') /
                    std::wstring(120, L'e') / L"Vid\u00E9os";
    fs::path large = root / "large";

    Folders() {
        fs::create_directories(work);
        fs::create_directories(deep);
        fs::create_directories(large);
        write(work / "start.mp4", "x");
        write(deep / "Beach.MP4", bytes(1'572'864, 1));
        write(deep / "Beach.THM", velmora::test::kSampleJpeg);
        write(deep / "city.mp4", bytes(1'258'291, 2));
        write(deep / L"Dunes \u2603.MP4", bytes(2'621'440, 3));
        write(deep / L"Dunes \u2603.THM", kOtherJpeg);
        // Just under 2 MB each: they count 1 MB each, so both pass the space test on a stick
        // with 3 MB free, where the second can't fit.
        write(large / "Trip 1.MP4", bytes(2'000'000, 4));
        write(large / "Trip 2.MP4", bytes(2'000'000, 5));
    }
    ~Folders() {
        std::error_code ignored;  // Wine removes nothing deeper than MAX_PATH: the script does
        fs::remove_all(root, ignored);
        fs::remove_all(root.wstring() + L"-deep", ignored);
    }
    static void write(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    // Bytes that differ from video to video, so a mixed-up copy shows.
    static std::string bytes(std::size_t size, int seed) {
        return std::string(size, static_cast<char>(seed));
    }
};

int pixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}
bool closeTo(long actual, long expected) {
    return actual >= expected - 1 && actual <= expected + 1;
}

void checkWindowAtStart(Session& session) {
    const UINT dpi = GetDpiForWindow(session.window);
    RECT client{}, frame{}, screen{};
    GetClientRect(session.window, &client);
    GetWindowRect(session.window, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    const auto style = GetWindowLongPtrW(session.window, GWL_STYLE);
    check(textOf(session.window) == "Velmora" && (style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) == 0 &&
              closeTo(client.right, pixels(9855, dpi)) && closeTo(client.bottom, pixels(5895, dpi)),
          "the window: its caption, a fixed border and 657 x 393 pixels at 96 dpi");
    check(closeTo(frame.left - screen.left, screen.right - frame.right) &&
              closeTo(frame.top - screen.top, screen.bottom - frame.bottom),
          "the window is centred");
    for (const Expected& expected : kLayout) {
        const HWND control = session.control(expected.name);
        RECT place{};
        GetWindowRect(control, &place);
        MapWindowPoints(HWND_DESKTOP, session.window, reinterpret_cast<POINT*>(&place), 2);
        wchar_t windowClass[64] = {};
        GetClassNameW(control, windowClass, 64);
        check(toUtf8(windowClass) == expected.windowClass &&
                  closeTo(place.left, pixels(expected.left, dpi)) &&
                  closeTo(place.top, pixels(expected.top, dpi)) &&
                  closeTo(place.right, pixels(expected.left + expected.width, dpi)) &&
                  closeTo(place.bottom, pixels(expected.top + expected.height, dpi)) &&
                  (*expected.text == '\0' || textOf(control) == expected.text),
              std::string(expected.name) + ": its kind, place and text");
    }
    check(session.names("listSource") == std::vector<std::string>{"start.mp4"} &&
              session.names("listPSP") == session.names("listSource") &&
              session.focus() == session.control("listSource"),
          "both lists start on the working folder, the focus in listSource");
}

void chooseDeepFolder(Session& session, const Folders& folders) {
    session.post("btnBrowse", BM_CLICK);
    HWND browser = nullptr;
    waitFor([&] { return (browser = session.dialog()) != nullptr; });
    check(GetWindow(browser, GW_OWNER) == session.window && !IsWindowEnabled(session.window),
          "the folder browser is modal over the window");
    // The browser takes the folder to select as text in its own process's memory. Wine's
    // browser can't be told to select a folder deeper than MAX_PATH: that one is typed below.
    const std::wstring chosen = folders.large.wstring();
    const std::wstring deep = folders.deep.wstring();
    const std::size_t size = (chosen.size() + 1) * sizeof(wchar_t);
    void* remote = VirtualAllocEx(session.process(), nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    WriteProcessMemory(session.process(), remote, chosen.c_str(), size, nullptr);
    send(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote));
    session.answer(IDOK);
    VirtualFreeEx(session.process(), remote, 0, MEM_RELEASE);
    const std::vector<std::string> videos{"Beach.MP4", "city.mp4", "Dunes \xE2\x98\x83.MP4"};
    check(session.text("dirSource") == toUtf8(chosen) && session.names("listSource").size() == 2,
          "the folder chosen in the browser is listed");

    std::wstring typed = deep;
    std::replace(typed.begin(), typed.end(), L'\\', L'/');
    session.typeSourceFolder(L"Z:/nowhere");
    session.typeSourceFolder(typed);
    check(session.text("dirSource") == toUtf8(typed) && session.names("listSource") == videos,
          "Enter takes a folder deeper than MAX_PATH typed with forward slashes; the box keeps it");
}

void pickNewStick(Session& session, wchar_t letter) {
    const std::string drive(1, static_cast<char>(letter));
    const std::string entry = drive + ": [PSPSTICK]";
    if (session.pickDrive(entry)) {
        expect(session.answer(IDYES),
               "Velmora: No Video directory found on drive " + entry +
                   ".\n\nDo you wish to create one?",
               "a stick without video folder: the question");
        check(waitFor([&] { return session.text("freePSP") != "0"; }),
              "the stick's free space is shown");
    }
}

void copyAndDelete(Session& session, const Folders& folders, const fs::path& stick,
                   const std::wstring& hold) {
    session.select("listSource", {0, 2});
    expect(session.text("sizeSource"), "3", "the selection counts 1 + 2 MB");
    session.post("btnCopy", BM_CLICK);
    expect(session.answer(IDYES),
           "Confirm Copy: Do you wish to copy the selected files to your PSP?",
           "the copy's question");
    check(waitFor([&] {
              return session.names("listPSP").size() == 2 && !session.selected("listSource", 0) &&
                     !session.selected("listSource", 2);
          }),
          "both videos are copied, listed and deselected");
    check(session.dialog() == nullptr && GetForegroundWindow() == session.window &&
              session.focus() == session.control("listSource"),
          "no message, and the window is in front with the focus in listSource");
    const std::vector<std::wstring> copies = namesIn(stick);
    const std::wstring prefix = copies.empty() ? L"" : copies[0].substr(0, 6);
    check(
        copies == std::vector<std::wstring>{prefix + L"01.MP4", prefix + L"01.THM",
                                            prefix + L"03.MP4", prefix + L"03.THM"},
        "the stick holds two videos named by one prefix and their positions, and their thumbnails");
    check(readFile(stick / (prefix + L"01.MP4")) == readFile(folders.deep / "Beach.MP4") &&
              readFile(stick / (prefix + L"03.MP4")) ==
                  readFile(folders.deep / L"Dunes \u2603.MP4") &&
              readFile(stick / (prefix + L"01.THM")) == velmora::test::kSampleJpeg &&
              readFile(stick / (prefix + L"03.THM")) == kOtherJpeg,
          "each copy and thumbnail holds its own source's bytes");
    session.select("listPSP", {0});
    expect(session.text("sizePSP"), "1", "the PSP selection counts 1 MB");
    if (!hold.empty()) {
        RECT frame{};
        GetWindowRect(session.window, &frame);
        Folders::write(hold + L".ready", std::to_string(frame.left) + " " +
                                             std::to_string(frame.top) + " " +
                                             std::to_string(frame.right - frame.left) + " " +
                                             std::to_string(frame.bottom - frame.top) + "\n");
        waitFor([&] { return fs::exists(hold); }, 120);
    }
    session.post("listPSP", WM_CHAR, 8);
    expect(session.answer(IDYES),
           "Confirm Deletion: Do you wish to delete the selected files from your PSP?",
           "the deletion's question");
    check(waitFor([&] { return session.names("listPSP").size() == 1; }) &&
              namesIn(stick) == std::vector<std::wstring>{prefix + L"03.MP4", prefix + L"03.THM"},
          "Backspace deleted the selected video and its thumbnail");
}

// The first video fits, the second doesn't: the shell's messages are answered, the first
// stays copied and deselected, the second selected, and nothing of it is left on the stick.
void copyOntoFullStick(Session& session, const Folders& folders, const fs::path& stick) {
    session.typeSourceFolder(folders.large.wstring());
    session.select("listSource", {0, 1});
    pickNewStick(session, stick.wstring()[0]);
    expect(session.text("freePSP"), "3", "the small stick has 3 MB free");
    session.post("btnCopy", BM_CLICK);
    session.answer(IDYES);
    auto quietSince = std::chrono::steady_clock::now();
    waitFor([&] {
        if (session.dialog() != nullptr) {
            std::printf("the copy says: %s\n", session.answer(IDOK).c_str());
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (argc < 3) {
        std::fprintf(
            stderr,
            "usage: velmora_ui_driver PROGRAM STICK-LETTER [FULL-STICK-LETTER] [--hold FILE]\n");
        return 2;
    }
    const std::wstring hold =
        argc > 4 && std::wstring(argv[argc - 2]) == L"--hold" ? argv[argc - 1] : L"";
    const bool full = argc == 4 || argc == 6;
    const auto videoFolder = [](const wchar_t* letter) {
        return fs::path(std::wstring(1, letter[0]) + L":\\MP_ROOT\\100ANV01");
    };
    const Folders folders;
    {
        Session session(argv[1], folders.work.wstring());
        if (check(session.window != nullptr, "Velmora.exe starts and shows its window")) {
            checkWindowAtStart(session);
            chooseDeepFolder(session, folders);
            pickNewStick(session, argv[2][0]);
            copyAndDelete(session, folders, videoFolder(argv[2]), hold);
        }
    }
    if (full) {
        Session session(argv[1], folders.work.wstring());
        copyOntoFullStick(session, folders, videoFolder(argv[3]));
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
