// Times a Windows program from its start to its first shown top-level window, several runs,
// and prints each time and the median. Run with --bare-window, it is itself the reference: a
// program that shows an empty window and does nothing else.
// Usage: startup-timer.exe RUNS PROGRAM.exe [ARGUMENTS...] | startup-timer.exe --bare-window
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD process;
    bool shown = false;
};

BOOL CALLBACK findShown(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.process && IsWindowVisible(window)) {
        search.shown = true;
        PostMessageW(window, WM_CLOSE, 0, 0);
        return FALSE;
    }
    return TRUE;
}

double secondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Milliseconds to the first shown window; negative when none came within 60 seconds.
double timeOneStart(const std::wstring& program, std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start{};
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return -1;
    }
    Search search{process.dwProcessId};
    double elapsed = -1;
    while (secondsSince(start) < 60) {
        EnumWindows(findShown, reinterpret_cast<LPARAM>(&search));
        if (search.shown) {
            elapsed = secondsSince(start) * 1000;
            break;
        }
        Sleep(1);
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return elapsed;
}

int showBareWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_DESTROY) {
            PostQuitMessage(0);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    };
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"BareWindow";
    RegisterClassW(&windowClass);
    const HWND window = CreateWindowW(L"BareWindow", L"Bare", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                      nullptr, nullptr, windowClass.hInstance, nullptr);
    ShowWindow(window, SW_SHOW);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wstring(argv[1]) == L"--bare-window") {
        return showBareWindow();
    }
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: startup-timer RUNS PROGRAM.exe [ARGUMENTS...] | --bare-window\n");
        return 2;
    }
    std::wstring commandLine = L"\"" + std::wstring(argv[2]) + L"\"";
    for (int i = 3; i < argc; ++i) {
        commandLine += L" " + std::wstring(argv[i]);
    }
    std::vector<double> times;
    for (int run = 0; run < std::stoi(argv[1]); ++run) {
        const double ms = timeOneStart(argv[2], commandLine);
        if (ms < 0) {
            std::fprintf(stderr, "run %d: no window\n", run + 1);
            return 1;
        }
        times.push_back(ms);
        std::printf("run %d: %.0f ms\n", run + 1, ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("median: %.0f ms\n", times[times.size() / 2]);
    return 0;
}
