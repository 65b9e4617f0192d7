#include "win32/window/CopyWait.h"

#include <optional>
#include <utility>

#include "win32/window/InputPause.h"
#include "win32/window/MessagePump.h"
#include "win32/window/ProgressWindow.h"

namespace velmora::win32 {
namespace {

using Clock = std::chrono::steady_clock;

// A copy that ends sooner shows no window, which would only flash up.
constexpr auto kShowAfter = std::chrono::milliseconds(200);
// A copy with nothing to show by then may hang before its first byte: Cancel must be at hand.
constexpr auto kShowNothingAfter = AnsweringWait::kShowWaitingAfter;
// The shell's copy shows a window of its own, once it has weighed the copy up.
constexpr auto kShellShowsWithin = std::chrono::seconds(3);

// Whether a window that owner owns shows, such as the shell's progress window.
bool ownsShownWindow(HWND owner) {
    std::pair<HWND, bool> search{owner, false};
    EnumWindows(
        [](HWND window, LPARAM data) {
            auto* found = reinterpret_cast<std::pair<HWND, bool>*>(data);
            found->second = GetWindow(window, GW_OWNER) == found->first && IsWindowVisible(window);
            return found->second ? FALSE : TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// Shows the copy's progress and takes its Cancel, on the window's thread.
class CopyWatch {
  public:
    CopyWatch(HWND owner, CopyProgress& progress, ProgressText text)
        : owner_(owner), progress_(progress), window_(owner, std::move(text)) {}

    void look() {
        if (progress_.cancelled) {
            return;
        }
        const auto now = Clock::now();
        const auto waited = now - started_;
        if (waited < kShowAfter || (progress_.total == 0 && waited < kShowNothingAfter)) {
            return;
        }
        // The shell shows its copy itself; one that has shown nothing a while later gets ours.
        if (progress_.total == 0 && !shown_ && progress_.shellShows &&
            (waited < kShellShowsWithin || ownsShownWindow(owner_))) {
            return;
        }
        shown_ = true;
        if (!window_.show(progress_.copied, progress_.total)) {
            progress_.cancelled = true;
            window_.close();
            giveUpAt_ = now + answer_within::kAfterCancel;
        }
    }
    bool givenUp() const { return giveUpAt_ && Clock::now() >= *giveUpAt_; }

  private:
    HWND owner_;
    CopyProgress& progress_;
    ProgressWindow window_;
    bool shown_ = false;
    Clock::time_point started_ = Clock::now();
    std::optional<Clock::time_point> giveUpAt_;
};

}  // namespace

bool waitForCopy(HWND owner, DriveCalls::Running& copy, CopyProgress& progress, ProgressText text) {
    // The window stays enabled but takes no input: a second click on the button would start a
    // second copy inside this one.
    const InputPause pause(owner);
    CopyWatch watch(owner, progress, std::move(text));
    answerMessagesUntil([&] { return copy.finished() || watch.givenUp(); },
                        Clock::time_point::max(), Taking::Everything, [&] { watch.look(); });
    return copy.finished() || !copy.abandon();
}

}  // namespace velmora::win32
