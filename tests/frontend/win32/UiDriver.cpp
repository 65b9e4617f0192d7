// Drives the real Velmora.exe from outside, by window messages only, as an automation client
// would: the window against its layout table; the folder browser; one copy from a folder
// deeper than MAX_PATH, typed with forward slashes, to a stand-in stick, and a deletion
// there; and, given a second, small stick, a copy of more than fits.
//
// Usage: velmora_ui_driver.exe PATH\Velmora.exe STICK-LETTER [FULL-STICK-LETTER] [--hold FILE]
//   --hold FILE: before the deletion, writes FILE.ready with the window's place and waits
//   for FILE to appear (for a screenshot).
#include <windows.h>

#include <algorithm>

#include "SampleJpeg.h"
#include "Session.h"

using namespace velmora::uitest;

namespace {

// The videos' folders; their bytes differ from video to video, so a mixed-up copy shows.
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
        // Just under 2 MB each: they count 1 MB each, so both pass the space test on a stick
        // with 3 MB free, where the second can't fit.
        write(large / "Trip 1.MP4", std::string(2'000'000, 4));
        write(large / "Trip 2.MP4", std::string(2'000'000, 5));
    }
    ~Folders() {
        std::error_code ignored;  // Wine removes nothing deeper than MAX_PATH: the script does
        fs::remove_all(root, ignored);
        fs::remove_all(root.wstring() + L"-deep", ignored);
    }
    static void write(const fs::path& path, const std::string& bytes) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
};

// Within a pixel of the twips at the window's dpi.
bool atTwips(long pixels, int twips, UINT dpi) {
    return std::abs(pixels - MulDiv(twips, static_cast<int>(dpi), 1440)) <= 1;
}

void checkWindowAtStart(Session& session) {
    const UINT dpi = GetDpiForWindow(session.window);
    RECT client{}, frame{}, screen{};
    GetClientRect(session.window, &client);
    GetWindowRect(session.window, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    const auto style = GetWindowLongPtrW(session.window, GWL_STYLE);
    check(textOf(session.window) == "Velmora" && (style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) == 0 &&
              atTwips(client.right, 9855, dpi) && atTwips(client.bottom, 5895, dpi),
          "the window: its caption, a fixed border and 657 x 393 pixels at 96 dpi");
    check(std::abs((frame.left - screen.left) - (screen.right - frame.right)) <= 1 &&
              std::abs((frame.top - screen.top) - (screen.bottom - frame.bottom)) <= 1,
          "the window is centred");
    for (const Expected& expected : kLayout) {
        const HWND control = session.control(expected.name);
        RECT place{};
        GetWindowRect(control, &place);
        MapWindowPoints(HWND_DESKTOP, session.window, reinterpret_cast<POINT*>(&place), 2);
        wchar_t windowClass[64] = {};
        GetClassNameW(control, windowClass, 64);
        check(toUtf8(windowClass) == expected.windowClass &&
                  atTwips(place.left, expected.left, dpi) &&
                  atTwips(place.top, expected.top, dpi) &&
                  atTwips(place.right, expected.left + expected.width, dpi) &&
                  atTwips(place.bottom, expected.top + expected.height, dpi) &&
                  (*expected.text == '\0' || textOf(control) == expected.text),
              std::string(expected.name) + ": its kind, place and text");
    }
    check(session.names("listSource") == std::vector<std::string>{"start.mp4"} &&
              session.names("listPSP") == session.names("listSource") &&
              session.focus() == session.control("listSource"),
          "both lists start on the working folder, the focus in listSource");
}

void chooseSourceFolder(Session& session, const Folders& folders) {
    session.post("btnBrowse", BM_CLICK);
    HWND browser = nullptr;
    waitFor([&] { return (browser = session.dialog()) != nullptr; });
    check(GetWindow(browser, GW_OWNER) == session.window && !IsWindowEnabled(session.window),
          "the folder browser is modal over the window");
    session.answer(IDCANCEL);

    std::wstring typed = folders.deep.wstring();
    std::replace(typed.begin(), typed.end(), L'\\', L'/');
    session.typeSourceFolder(typed);
    check(session.text("dirSource") == toUtf8(typed) &&
              session.names("listSource") ==
                  std::vector<std::string>{"Beach.MP4", "city.mp4", "Dunes \xE2\x98\x83.MP4"},
          "Enter takes a folder deeper than MAX_PATH typed with forward slashes; the box keeps it");
}

void pickNewStick(Session& session, const fs::path& stick) {
    const std::string entry = stick.string().substr(0, 2) + " [PSPSTICK]";
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
    session.answer(IDYES);
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
    check(
        readFile(stick / (prefix + L"01.MP4")) == readFile(folders.deep / "Beach.MP4") &&
            readFile(stick / (prefix + L"03.MP4")) == readFile(folders.deep / L"Dunes \u2603.MP4"),
        "each copy holds its own source's bytes");
    session.select("listPSP", {0});
    if (!hold.empty()) {
        RECT f{};
        GetWindowRect(session.window, &f);
        std::ofstream(fs::path(hold + L".ready"))
            << f.left << ' ' << f.top << ' ' << f.right - f.left << ' ' << f.bottom - f.top << '\n';
        waitFor([&] { return fs::exists(hold); }, 120);
    }
    session.post("listPSP", WM_CHAR, 8);
    session.answer(IDYES);
    check(waitFor([&] { return session.names("listPSP").size() == 1; }) &&
              namesIn(stick) == std::vector<std::wstring>{prefix + L"03.MP4", prefix + L"03.THM"},
          "Backspace deleted the selected video and its thumbnail");
}

// The first video fits, the second doesn't: the shell's messages are answered, the first
// stays copied and deselected, the second selected, and nothing of it is left on the stick.
void copyOntoFullStick(Session& session, const Folders& folders, const fs::path& stick) {
    session.typeSourceFolder(folders.large.wstring());
    session.select("listSource", {0, 1});
    pickNewStick(session, stick);
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
        std::fprintf(stderr, "usage: velmora_ui_driver PROGRAM STICK [FULL-STICK] [--hold FILE]\n");
        return 2;
    }
    const bool holding = argc > 4 && std::wstring(argv[argc - 2]) == L"--hold";
    const auto videoFolder = [](const wchar_t* letter) {
        return fs::path(std::wstring(1, letter[0]) + L":\\MP_ROOT\\100ANV01");
    };
    const Folders folders;
    if (Session session(argv[1], folders.work.wstring());
        check(session.window != nullptr, "Velmora.exe starts and shows its window")) {
        checkWindowAtStart(session);
        chooseSourceFolder(session, folders);
        pickNewStick(session, videoFolder(argv[2]));
        copyAndDelete(session, folders, videoFolder(argv[2]), holding ? argv[argc - 1] : L"");
        if (argc == 4 || argc == 6) {
            copyOntoFullStick(session, folders, videoFolder(argv[3]));
        }
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
