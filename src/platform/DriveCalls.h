#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "AnsweringWait.h"

namespace velmora {

namespace answer_within {
// How long a drive may keep silent, from a call's start or its last answer, before it counts
// as gone. One limit for every call, lookups and writes alike, since a write is no surer to
// answer than the lookup before it. A disk or stick spinning up from sleep takes a few
// seconds, and one call can be many requests to the drive, each late on a slow link or behind
// what the stick still writes: opening a new file looks up every folder on the way and, where
// names' letter case doesn't count, reads the folder through; under Wine that was up to twenty
// requests to a FUSE stick, half a minute at 1.5 s each. The window answers throughout, and
// its waiting window offers Cancel after a second, so the limit only ends a wait that nobody
// ends sooner.
inline constexpr std::chrono::milliseconds kSilence{60000};
// How long a copy may take to stop after the user's Cancel before it is left behind: a
// healthy drive finishes the step under way within moments.
inline constexpr std::chrono::milliseconds kAfterCancel{2000};
}  // namespace answer_within

// Calls that may wait on a drive (a stick that stops answering, a share whose server has gone,
// a FUSE program that hangs): each runs on a thread of its own while the window's thread keeps
// answering through an AnsweringWait, so a handler still reads as one sequence. A call whose
// drive keeps silent for the limit (see answer_within::kSilence), or that the user gives up on
// in the waiting window, is left behind, and its drive counts as gone: until that call comes back,
// every new call on the drive fails at once, so stuck threads don't pile up. Calls on other
// drives go on as usual. Work must own all it touches: it may outlive the caller, and a call
// stuck in the kernel ends only with the program.
class DriveCalls {
  public:
    // The root of the drive that holds path, ending in the path separator.
    using DriveOf = std::function<std::string(const std::string& path)>;

    // Work under way, for a caller that waits for it in its own way (a copy, with its
    // progress window and Cancel).
    class Running {
      public:
        virtual ~Running() = default;
        virtual bool finished() const = 0;
        // Gives up on the work if it has not finished: the drive it was waiting on (see
        // waitingOn) then counts as not answering until it does. False when it had finished
        // by then.
        virtual bool abandon() = 0;
        // The drive the work was started on, and the one it waits on now: another where it
        // reads a file of another drive, such as a copy's source.
        virtual const std::string& drive() const = 0;
        virtual std::string waitedOnDrive() const = 0;
        // Once finished: rethrows what the work threw.
        virtual void rethrowFailure() const = 0;
        // Calls wake, on the drive's thread, as the work finishes (here and now if it has), so
        // that a waiting event loop need not look again and again; an empty one stops that.
        virtual void whenFinished(std::function<void()> wake) = 0;
    };

    DriveCalls(AnsweringWait& wait, DriveOf driveOf,
               std::chrono::milliseconds silence = answer_within::kSilence);
    // Threads still waiting on a drive are left to end with the program.
    ~DriveCalls();
    DriveCalls(const DriveCalls&) = delete;
    DriveCalls& operator=(const DriveCalls&) = delete;

    // Work that asks the drive many things in turn calls this after each answer: the limit
    // then holds for each, not for the whole.
    static void answered();
    // Work that also touches another drive (a copy reads its source) says before each system
    // call which path it waits on: a call given up then blames that path's drive, and the
    // drive the work was started on stays usable.
    static void waitingOn(const std::string& path);

    // Starts work on the drive of path. Throws DriveNotAnswering while an earlier call on
    // that drive has been given up and not come back.
    std::shared_ptr<Running> start(const std::string& path, std::function<void()> work);

    // The work's answer, or what it threw. Throws DriveNotAnswering when the drive keeps
    // silent for the limit, when the user gives up waiting, or when the drive has not answered
    // an earlier call. Called from work already running on a drive's thread, it runs the work
    // there and then.
    template <typename Work>
    std::invoke_result_t<Work&> call(const std::string& path, Work work) {
        using Answer = std::invoke_result_t<Work&>;
        if (onDriveThread()) {
            return work();
        }
        if constexpr (std::is_void_v<Answer>) {
            await(*start(path, std::move(work)));
        } else {
            auto answer = std::make_shared<std::optional<Answer>>();
            await(*start(path, [answer, work = std::move(work)]() mutable { *answer = work(); }));
            return std::move(**answer);
        }
    }

  private:
    struct Pool;
    static bool onDriveThread();
    // Returns once the work has finished, rethrowing its failure; abandons it once its drive
    // has kept silent for the limit, or the user gave up.
    void await(Running& running);

    AnsweringWait& wait_;
    std::chrono::milliseconds silence_;
    std::shared_ptr<Pool> pool_;
};

}  // namespace velmora
