#include "FullStickScenario.h"

#include <algorithm>
#include <cstdio>

#include "TestFiles.h"

namespace velmora::uitest {
namespace {

bool selected(Session& session, int index) {
    return send(session.control("listSource"), LB_GETSEL, static_cast<WPARAM>(index)) > 0;
}

// Answers every message box until the copy has ended: the first video copied and
// deselected, the second still selected, and no box for a moment.
void waitForTheCopyToStop(Session& session) {
    auto quietSince = std::chrono::steady_clock::now();
    waitFor([&] {
        if (const HWND box = topLevelWindow(session.process(), L"#32770")) {
            std::printf("the copy says: %s\n", waitForMessageBox(session.process()).text.c_str());
            press({box, {}, {}}, IDOK);
            quietSince = std::chrono::steady_clock::now();
            return false;
        }
        return !selected(session, 0) && selected(session, 1) &&
               std::chrono::steady_clock::now() - quietSince > std::chrono::seconds(2);
    });
}

}  // namespace

void copyOntoFullStick(Session& session, const TestFolders& folders, const Stick& stick) {
    Checks& checks = session.checks;
    session.typeSourceFolder(folders.large);
    session.select("listSource", {0, 1});
    checks.equal(session.text("sizeSource"), "2", "two videos just under 2 MB count 2 MB");
    if (!session.pickDrive(stick.entry())) {
        return;
    }
    session.answer(
        "Velmora",
        "No Video directory found on drive " + stick.entry() + ".\n\nDo you wish to create one?",
        IDYES);
    checks.check(waitFor([&] { return session.text("freePSP") == "3"; }),
                 "the small stick has 3 MB free");

    PostMessageW(session.control("btnCopy"), BM_CLICK, 0, 0);
    session.answer("Confirm Copy", "Do you wish to copy the selected files to your PSP?", IDYES);
    waitForTheCopyToStop(session);
    checks.check(!selected(session, 0) && selected(session, 1),
                 "the copied video is deselected, the one that didn't fit stays selected");
    std::vector<std::wstring> left = namesIn(stick.videoFolder(), L"*");
    std::sort(left.begin(), left.end());
    const bool onlyFirst =
        left.size() == 2 && left[0].ends_with(L"01.MP4") && left[1].ends_with(L"01.THM");
    checks.check(onlyFirst, "only the first video and its thumbnail are on the stick");
    if (onlyFirst) {
        checks.check(readFile(stick.videoFolder() + L"\\" + left[0]) ==
                         readFile(folders.large + L"\\Trip 1.MP4"),
                     "the first video arrived whole");
    }
    checks.check(session.names("listPSP").size() == 1, "listPSP shows the one copied video");
}

}  // namespace velmora::uitest
