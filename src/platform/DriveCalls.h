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

// How long a call on a drive may go without an answer before the drive counts as gone.
namespace answer_within {
// A lookup, a listing, a size, the drive's identity or free space: long enough for a stick or
// a disc to wake and for a server on the local network to answer, short enough that the user
// soon learns that a drive has stopped answering.
inline constexpr std::chrono::milliseconds kLookup{2000};
// Making a folder, deleting a file or copying a thumbnail, which may queue behind what the
// stick is still writing.
inline constexpr std::chrono::milliseconds kWrite{10000};
}  // namespace answer_within

// Calls that may wait on a drive (a stick that stops answering, a share whose server has gone,
// a FUSE program that hangs): each runs on a thread of its own while the window's thread keeps
// answering through an AnsweringWait, so a handler still reads as one sequence. A call without
// an answer in time is left behind, and its drive counts as gone: until that call comes back,
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
        // Gives up on the work if it has not finished: its drive then counts as not answering
        // until it does. False when it had finished by then.
        virtual bool abandon() = 0;
        // Once finished: rethrows what the work threw.
        virtual void rethrowFailure() const = 0;
        // Calls wake, on the drive's thread, as the work finishes (here and now if it has), so
        // that a waiting event loop need not look again and again; an empty one stops that.
        virtual void whenFinished(std::function<void()> wake) = 0;
    };

    DriveCalls(AnsweringWait& wait, DriveOf driveOf);
    // Threads still waiting on a drive are left to end with the program.
    ~DriveCalls();
    DriveCalls(const DriveCalls&) = delete;
    DriveCalls& operator=(const DriveCalls&) = delete;

    // Work that asks the drive many things in turn calls this after each answer: the limit
    // then holds for each, not for the whole.
    static void answered();

    // Starts work on the drive of path. Throws DriveNotAnswering while an earlier call on
    // that drive has been given up and not come back.
    std::shared_ptr<Running> start(const std::string& path, std::function<void()> work);

    // The work's answer, or what it threw. Throws DriveNotAnswering when it has no answer
    // within the limit, or when the drive has not answered an earlier call. Called from work
    // already running on a drive's thread, it runs the work there and then.
    template <typename Work>
    std::invoke_result_t<Work&> call(const std::string& path, std::chrono::milliseconds limit,
                                     Work work) {
        using Answer = std::invoke_result_t<Work&>;
        if (onDriveThread()) {
            return work();
        }
        if constexpr (std::is_void_v<Answer>) {
            await(*start(path, std::move(work)), limit);
        } else {
            auto answer = std::make_shared<std::optional<Answer>>();
            await(*start(path, [answer, work = std::move(work)]() mutable { *answer = work(); }),
                  limit);
            return std::move(**answer);
        }
    }

  private:
    struct Pool;
    static bool onDriveThread();
    // Returns once the work has finished, rethrowing its failure; abandons it at the limit.
    void await(Running& running, std::chrono::milliseconds limit);

    AnsweringWait& wait_;
    DriveOf driveOf_;
    std::shared_ptr<Pool> pool_;
};

}  // namespace velmora
