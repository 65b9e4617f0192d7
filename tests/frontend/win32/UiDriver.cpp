// Drives the real Velmora.exe from outside, by window messages only, as an automation client
// would: checks the program file's resources; finds the window and every control and checks
// them against the layout table; copies two videos to a stand-in stick and deletes one; and,
// given a second, small stick, copies onto it more than fits.
//
// Usage: velmora_ui_driver.exe PATH\Velmora.exe STICK-LETTER STICK-LABEL
//            [--full-stick LETTER LABEL] [--hold FILE]
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

#include "Checks.h"
#include "CopyScenario.h"
#include "FullStickScenario.h"
#include "ResourceChecks.h"
#include "Session.h"
#include "TestData.h"
#include "WindowChecks.h"

int wmain(int argc, wchar_t** argv) {
    using namespace velmora::uitest;
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: velmora_ui_driver PROGRAM STICK-LETTER STICK-LABEL "
                     "[--full-stick LETTER LABEL] [--hold FILE]\n");
        return 2;
    }
    const std::wstring program = argv[1];
    const Stick stick{argv[2][0], toUtf8(argv[3])};
    std::optional<Stick> fullStick;
    std::wstring holdFile;
    for (int i = 4; i < argc; ++i) {
        const std::wstring option = argv[i];
        if (option == L"--full-stick" && i + 2 < argc) {
            fullStick = Stick{argv[i + 1][0], toUtf8(argv[i + 2])};
            i += 2;
        } else if (option == L"--hold" && i + 1 < argc) {
            holdFile = argv[++i];
        }
    }

    Checks checks;
    checkResources(checks, program);
    const TestFolders folders;
    {
        Session session(checks, program);
        if (session.start(folders.work)) {
            checkWindowAtStart(session);
            copyToStick(session, folders, stick, holdFile);
            session.close();
        }
    }
    if (fullStick) {
        Session session(checks, program);
        if (session.start(folders.work)) {
            copyOntoFullStick(session, folders, *fullStick);
            session.close();
        }
    }
    return checks.finish();
}
