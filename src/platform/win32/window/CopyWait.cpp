#include "win32/window/CopyWait.h"

#include <optional>

#include "win32/window/InputPause.h"
#include "win32/window/MessagePump.h"
#include "win32/window/ProgressWindow.h"
#include "win32/text/Wide.h"

namespace velmora::win32 {
namespace {

using Clock = std::chrono::steady_clock;

// A copy that ends sooner shows no window: opening one holds the window's thread for a moment,
// and for a short copy would cost more than the copy.
constexpr auto kShowAfter = std::chrono::milliseconds(200);

// Shows the copy's progress and takes its Cancel, on the window's thread.
class CopyWatch {
  public:
    CopyWatch(HWND owner, CopyProgress& progress, const std::string& from, const std::string& to)
        : progress_(progress), window_(owner, toWide(from), toWide(to)) {}

    void look() {
        if (progress_.cancelled || progress_.total == 0) {
            return;
        }
        const auto now = Clock::now();
        if (!showingSince_) {
            showingSince_ = now;
        }
        if (now - *showingSince_ >= kShowAfter &&
            !window_.show(progress_.copied, progress_.total)) {
            progress_.cancelled = true;
            window_.close();
            giveUpAt_ = now + answer_within::kLookup;
        }
    }
    bool givenUp() const { return giveUpAt_ && Clock::now() >= *giveUpAt_; }

  private:
    CopyProgress& progress_;
    ProgressWindow window_;
    std::optional<Clock::time_point> showingSince_;
    std::optional<Clock::time_point> giveUpAt_;
};

}  // namespace

bool waitForCopy(HWND owner, DriveCalls::Running& copy, CopyProgress& progress,
                 const std::string& from, const std::string& to) {
    // The window stays enabled but takes no input: a second click on the button would start a
    // second copy inside this one.
    const InputPause pause(owner);
    CopyWatch watch(owner, progress, from, to);
    answerMessagesUntil([&] { return copy.finished() || watch.givenUp(); },
                        Clock::time_point::max(), Taking::Everything, [&] { watch.look(); });
    return copy.finished() || !copy.abandon();
}

}  // namespace velmora::win32
