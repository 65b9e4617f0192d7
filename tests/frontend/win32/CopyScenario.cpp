#include "CopyScenario.h"

#include "TestFiles.h"

namespace velmora::uitest {
namespace {

void chooseSourceAndVideos(Session& session, const TestFolders& folders) {
    session.typeSourceFolder(folders.source);
    session.checks.check(session.names("listSource") ==
                             std::vector<std::string>{"Beach.MP4", "city.mp4", "Dunes.MP4"},
                         "Enter in dirSource lists the typed folder's videos in order");
    session.select("listSource", {0, 2});
    session.checks.equal(session.text("sizeSource"), "3", "the selection counts 1 + 2 MB");
}

void pickNewStick(Session& session, const Stick& stick) {
    if (!session.pickDrive(stick.entry())) {
        return;
    }
    session.answer(
        "Velmora",
        "No Video directory found on drive " + stick.entry() + ".\n\nDo you wish to create one?",
        IDYES);
    session.checks.check(waitFor([&] { return session.text("freePSP") != "0"; }),
                         "the stick's free space is shown");
    session.checks.check(exists(stick.videoFolder()), "Yes made MP_ROOT\\100ANV01 on the stick");
    session.checks.check(session.names("listPSP").empty(), "listPSP shows the empty folder");
}

// Returns the name of the first copy without its extension ("MAQ12301").
std::wstring copyAndCheckStick(Session& session, const TestFolders& folders, const Stick& stick) {
    Checks& checks = session.checks;
    PostMessageW(session.control("btnCopy"), BM_CLICK, 0, 0);
    session.answer("Confirm Copy", "Do you wish to copy the selected files to your PSP?", IDYES);
    checks.check(waitFor([&] {
                     return session.names("listPSP").size() == 2 &&
                            send(session.control("listSource"), LB_GETSELCOUNT) == 0;
                 }),
                 "both videos are copied, listed and deselected");
    checks.check(topLevelWindow(session.process(), L"#32770") == nullptr,
                 "no message after the copy");

    const std::vector<std::wstring> copies = namesIn(stick.videoFolder(), L"MAQ*.MP4");
    if (!checks.check(copies.size() == 2, "two MAQ videos on the stick")) {
        return {};
    }
    const std::wstring first = copies[0].substr(0, 6) + L"01";
    const std::wstring third = copies[0].substr(0, 6) + L"03";
    checks.check((copies[0] == first + L".MP4" && copies[1] == third + L".MP4") ||
                     (copies[1] == first + L".MP4" && copies[0] == third + L".MP4"),
                 "the copies are named by one prefix and positions 1 and 3: " +
                     toUtf8(copies[0] + L" " + copies[1]));
    const std::wstring folder = stick.videoFolder() + L"\\";
    checks.check(readFile(folder + first + L".MP4") == readFile(folders.source + L"\\Beach.MP4"),
                 "the first copy holds Beach.MP4's bytes");
    checks.check(readFile(folder + third + L".MP4") == readFile(folders.source + L"\\Dunes.MP4"),
                 "the second copy holds Dunes.MP4's bytes");
    checks.check(readFile(folder + first + L".THM") == sourceVideos()[0].thumbnail,
                 "Beach's thumbnail is copied under its PSP name");
    checks.check(readFile(folder + third + L".THM") == sourceVideos()[2].thumbnail,
                 "Dunes' thumbnail is copied under its PSP name");
    checks.check(namesIn(stick.videoFolder(), L"*").size() == 4,
                 "nothing else is left on the stick");
    return first;
}

void holdForScreenshot(Session& session, const std::wstring& holdFile) {
    SetCursorPos(0, 0);  // away from the window, which then shows no hover effect
    RECT frame{};
    GetWindowRect(session.window(), &frame);
    writeFile(holdFile + L".ready", std::to_string(frame.left) + " " + std::to_string(frame.top) +
                                        " " + std::to_string(frame.right - frame.left) + " " +
                                        std::to_string(frame.bottom - frame.top) + "\n");
    waitFor([&] { return exists(holdFile); }, std::chrono::seconds(120));
}

void deleteFirst(Session& session, const Stick& stick, const std::wstring& first) {
    PostMessageW(session.control("listPSP"), WM_CHAR, 8, 0);
    session.answer("Confirm Deletion", "Do you wish to delete the selected files from your PSP?",
                   IDYES);
    session.checks.check(waitFor([&] { return session.names("listPSP").size() == 1; }),
                         "Backspace deleted the selected video from the list");
    const std::wstring folder = stick.videoFolder() + L"\\";
    session.checks.check(!exists(folder + first + L".MP4") && !exists(folder + first + L".THM"),
                         "the video and its thumbnail are gone from the stick");
}

}  // namespace

void copyToStick(Session& session, const TestFolders& folders, const Stick& stick,
                 const std::wstring& holdFile) {
    chooseSourceAndVideos(session, folders);
    pickNewStick(session, stick);
    const std::wstring first = copyAndCheckStick(session, folders, stick);
    session.select("listPSP", {0});
    session.checks.equal(session.text("sizePSP"), "1", "the PSP selection counts 1 MB");
    if (!holdFile.empty()) {
        holdForScreenshot(session, holdFile);
    }
    if (!first.empty()) {
        deleteFirst(session, stick, first);
    }
}

}  // namespace velmora::uitest
