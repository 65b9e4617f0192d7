#pragma once
// window_pinger.exe, beside the calling program, asking a window from a process of its own as a
// screen reader does. A thread of the window's own process would not do: Wine answers its
// questions during waits that leave other processes unanswered.
#include <windows.h>

#include <cstdio>
#include <string>

class OtherProcessPinger {
  public:
    explicit OtherProcessPinger(HWND window)
        : stop_(CreateEventW(nullptr, TRUE, FALSE, eventName().c_str())) {
        SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
        HANDLE write = nullptr;
        CreatePipe(&read_, &write, &inherited, 0);
        SetHandleInformation(read_, HANDLE_FLAG_INHERIT, 0);
        wchar_t program[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        std::wstring line = program;
        line = L"\"" + line.substr(0, line.find_last_of(L'\\') + 1) + L"window_pinger.exe\" " +
               std::to_wstring(reinterpret_cast<std::uintptr_t>(window)) + L" " + eventName();
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = write;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                            &startup, &process_)) {
            std::fprintf(stderr, "window_pinger.exe did not start\n");
        }
        CloseHandle(write);
    }
    ~OtherProcessPinger() {
        stop();
        CloseHandle(read_);
        CloseHandle(stop_);
    }
    OtherProcessPinger(const OtherProcessPinger&) = delete;
    OtherProcessPinger& operator=(const OtherProcessPinger&) = delete;

    // Ends the asking, answering the pinger's last question meanwhile (what was posted stays
    // queued), and gives what it printed (see window_pinger.cpp); empty once given, or if it
    // never started.
    std::string stop() {
        if (process_.hProcess == nullptr) {
            return {};
        }
        SetEvent(stop_);
        while (MsgWaitForMultipleObjects(1, &process_.hProcess, FALSE, INFINITE, QS_SENDMESSAGE) !=
               WAIT_OBJECT_0) {
            MSG message{};
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        process_ = {};
        std::string report;
        char part[256];
        for (DWORD got = 0; ReadFile(read_, part, sizeof(part), &got, nullptr) && got > 0;) {
            report.append(part, got);
        }
        return report;
    }
    // The longest wait less Wine's stalls, in seconds, from what the pinger printed.
    static double longestIn(const std::string& report) {
        double seconds = -1;
        const auto colon = report.find(": ");
        return colon != std::string::npos &&
                       std::sscanf(report.c_str() + colon + 2, "%lf", &seconds) == 1
                   ? seconds
                   : -1;
    }

  private:
    std::wstring eventName() const {
        return L"VelmoraPingerStop" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(reinterpret_cast<std::uintptr_t>(this));
    }

    HANDLE stop_;
    HANDLE read_ = nullptr;
    PROCESS_INFORMATION process_{};
};
