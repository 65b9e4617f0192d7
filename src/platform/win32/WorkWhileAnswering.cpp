#include "win32/WorkWhileAnswering.h"

#include <exception>
#include <optional>

namespace velmora::win32 {
namespace {

// Half the time in which Cancel has to take effect.
constexpr ULONGLONG kWatchMilliseconds = 50;

struct Job {
    const std::function<void()>& work;
    std::exception_ptr failure;
};

DWORD WINAPI runJob(void* data) {
    auto* job = static_cast<Job*>(data);
    try {
        job->work();
    } catch (...) {
        job->failure = std::current_exception();
    }
    return 0;
}

// Dispatches everything queued for this thread.
void answerMessages(std::optional<WPARAM>& quit) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = message.wParam;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Answers until the thread has ended, calling watch on time whatever the flow of messages.
void answerUntilEnded(HANDLE thread, const std::function<void()>& watch) {
    std::optional<WPARAM> quit;
    ULONGLONG nextWatch = GetTickCount64() + kWatchMilliseconds;
    for (bool ended = false; !ended;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD wait = now < nextWatch ? static_cast<DWORD>(nextWatch - now) : 0;
        ended = MsgWaitForMultipleObjectsEx(1, &thread, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
                WAIT_OBJECT_0;
        answerMessages(quit);
        if (watch && GetTickCount64() >= nextWatch) {
            watch();
            nextWatch = GetTickCount64() + kWatchMilliseconds;
        }
    }
    if (quit) {
        PostQuitMessage(static_cast<int>(*quit));
    }
}

}  // namespace

void runWhileAnswering(const std::function<void()>& work, const std::function<void()>& watch) {
    Job job{work, nullptr};
    const HANDLE thread = CreateThread(nullptr, 0, runJob, &job, 0, nullptr);
    if (thread == nullptr) {
        work();
        return;
    }
    answerUntilEnded(thread, watch);
    CloseHandle(thread);
    if (job.failure) {
        std::rethrow_exception(job.failure);
    }
}

}  // namespace velmora::win32
