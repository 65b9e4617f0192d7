#include "win32/window/MessagePump.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "win32/text/Wide.h"
#include "win32/window/InputMessages.h"
#include "win32/window/ProgressWindow.h"

namespace velmora::win32 {
namespace {

using Clock = std::chrono::steady_clock;

// Half the time in which Cancel has to take effect.
constexpr auto kWatchEvery = std::chrono::milliseconds(50);
// How often finished() is looked at: a copy of many small videos waits this long for each.
constexpr auto kLookEvery = std::chrono::milliseconds(5);

// Messages that act for the user however they come: held back while the window waits for a
// drive, since a handler is running.
bool actsForTheUser(UINT message) {
    return isUserInput(message) || message == WM_CLOSE || message == WM_COMMAND ||
           message == WM_SYSCOMMAND;
}

struct Pump {
    Taking taking;
    std::optional<WPARAM> quit;
    std::vector<MSG> heldBack;

    // Dispatches what is queued for this thread, as far as it takes it.
    void answer() {
        const UINT which = taking == Taking::Everything
                               ? PM_REMOVE
                               : PM_REMOVE | PM_QS_SENDMESSAGE | PM_QS_POSTMESSAGE | PM_QS_PAINT;
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, which)) {
            if (message.message == WM_QUIT) {
                quit = message.wParam;
            } else if (taking == Taking::AllButInput && actsForTheUser(message.message)) {
                heldBack.push_back(message);
            } else {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }

    // Waits for a message it takes, at most until then.
    void sleepUntil(Clock::time_point until) const {
        const auto now = Clock::now();
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(
            std::clamp<Clock::duration>(until - now, Clock::duration::zero(), kLookEvery));
        const DWORD wakeOn = taking == Taking::Everything ? QS_ALLINPUT : QS_ALLINPUT & ~QS_INPUT;
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(wait.count()), wakeOn,
                                    MWMO_INPUTAVAILABLE);
    }

    // What it held back goes back into the queue, behind what came meanwhile.
    void release() const {
        for (const MSG& message : heldBack) {
            if (message.hwnd != nullptr) {
                PostMessageW(message.hwnd, message.message, message.wParam, message.lParam);
            } else {
                PostThreadMessageW(GetCurrentThreadId(), message.message, message.wParam,
                                   message.lParam);
            }
        }
        if (quit) {
            PostQuitMessage(static_cast<int>(*quit));
        }
    }
};

}  // namespace

void answerMessagesUntil(const std::function<bool()>& finished, Clock::time_point deadline,
                         Taking taking, const std::function<void()>& watch) {
    Pump pump{taking, std::nullopt, {}};
    auto nextWatch = Clock::now() + kWatchEvery;
    for (;;) {
        pump.answer();
        if (finished() || Clock::now() >= deadline) {
            break;
        }
        if (watch && Clock::now() >= nextWatch) {
            watch();
            nextWatch = Clock::now() + kWatchEvery;
            continue;  // what the watch changed is looked at at once
        }
        pump.sleepUntil(std::min(deadline, watch ? nextWatch : deadline));
    }
    pump.release();
}

bool MessagePumpWait::answerUntil(const std::function<bool()>& over, const std::string& root) {
    const bool outer = !std::exchange(waiting_, true);
    const HCURSOR before = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    const auto since = Clock::now();
    ProgressWindow window(owner_, waitProgressText(L"Velmora", toWide(waitingText(root))));
    bool gaveUp = false;
    answerMessagesUntil([&] { return gaveUp || over(); }, Clock::time_point::max(),
                        Taking::AllButInput,
                        [&] {
                            if (Clock::now() - since >= kShowWaitingAfter && !window.show(0, 0)) {
                                gaveUp = true;
                            }
                        });
    window.close();
    SetCursor(before);
    waiting_ = !outer;
    return !gaveUp;
}

}  // namespace velmora::win32
