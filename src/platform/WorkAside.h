#pragma once

#include <chrono>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>

#include "AnsweringWait.h"

namespace velmora {

// Runs work of the program's own, such as decoding a large picture, on a thread of its own while
// the window's thread keeps answering, and gives its answer or rethrows what it threw. Unlike a
// drive call it has no limit: it touches no drive, so however long it takes, it is work, not a
// drive's silence. The user may still give up waiting for it in the waiting window, which names
// the drive at root that the work's input came from: then the answer is nothing, and the work
// is left to end on its own.
template <typename Work>
std::optional<std::invoke_result_t<Work&>> workAside(AnsweringWait& wait, const std::string& root,
                                                     Work work) {
    using Answer = std::invoke_result_t<Work&>;
    struct State {
        std::mutex mutex;
        bool done = false;
        bool givenUp = false;
        std::optional<Answer> answer;
        std::exception_ptr failure;
    };
    auto state = std::make_shared<State>();
    std::thread([state, &wait, work = std::move(work)]() mutable {
        std::optional<Answer> answer;
        std::exception_ptr failure;
        try {
            answer = work();
        } catch (...) {
            failure = std::current_exception();
        }
        // Woken under the lock: once the waiting thread sees the work done, or has given up
        // on it, this thread no longer touches the wait, which may then go.
        const std::lock_guard lock(state->mutex);
        state->answer = std::move(answer);
        state->failure = failure;
        state->done = true;
        if (!state->givenUp) {
            wait.wake();
        }
    }).detach();
    const auto done = [&state] {
        const std::lock_guard lock(state->mutex);
        return state->done;
    };
    if (!wait.answerUntil(done, root)) {
        const std::lock_guard lock(state->mutex);
        state->givenUp = !state->done;
        if (state->givenUp) {
            return std::nullopt;
        }
    }
    if (state->failure) {
        std::rethrow_exception(state->failure);
    }
    return std::move(*state->answer);
}

}  // namespace velmora
