#include "DriveCalls.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "platform/PlatformError.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmora {
namespace {

#ifdef _WIN32
// The calling thread, for another to cancel the system call it is stuck in once that call is
// given up (a share whose server has gone): Windows then ends it as soon as it can, and the
// program's exit never waits on it. Linux has no such cancel for a call on a file.
class StuckCall {
  public:
    static HANDLE ofThisThread() {
        thread_local const StuckCall call;
        return call.thread_;
    }
    static void cancel(HANDLE thread) {
        if (thread != nullptr) {
            CancelSynchronousIo(thread);
        }
    }
    StuckCall(const StuckCall&) = delete;
    StuckCall& operator=(const StuckCall&) = delete;

  private:
    StuckCall() {
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &thread_,
                        THREAD_TERMINATE, FALSE, 0);
    }
    ~StuckCall() { CloseHandle(thread_); }

    HANDLE thread_ = nullptr;
};
#endif

// Most calls answer within microseconds: the window's thread waits this long without
// answering before it starts an event loop, which costs more than such a call.
constexpr auto kQuickAnswer = std::chrono::milliseconds(20);
thread_local bool onDriveThread_ = false;

}  // namespace

// The threads and the drives that have not answered. Shared with every thread, so it lives
// as long as the last of them.
struct DriveCalls::Pool {
    class Job;
    class Worker;

    explicit Pool(DriveOf whose) : driveOf(std::move(whose)) {}

    const DriveOf driveOf;
    std::mutex mutex;
    std::vector<std::shared_ptr<Worker>> idle;
    std::map<std::string, int> unanswered;  // given-up calls by drive
    bool closing = false;

    void gaveUp(const std::string& drive, int change) {
        const std::lock_guard lock(mutex);
        if ((unanswered[drive] += change) == 0) {
            unanswered.erase(drive);
        }
    }
};

class DriveCalls::Pool::Job : public DriveCalls::Running {
  public:
    Job(std::shared_ptr<Pool> pool, std::string drive, std::function<void()> work)
        : pool_(std::move(pool)), drive_(std::move(drive)), work_(std::move(work)) {}

    // The job running on this thread, if any; see DriveCalls::answered and waitingOn.
    static thread_local Job* running;

    void run() {
#ifdef _WIN32
        {
            const std::lock_guard lock(mutex_);
            thread_ = StuckCall::ofThisThread();
        }
#endif
        running = this;
        try {
            work_();
        } catch (...) {
            failure_ = std::current_exception();
        }
        running = nullptr;
        work_ = nullptr;  // what it captured goes with the call
        std::optional<std::string> blamed;
        {
            const std::lock_guard lock(mutex_);
            finished_ = true;
            blamed = blamed_;
            if (wake_) {
                wake_();
            }
        }
        done_.notify_all();
        if (blamed) {
            pool_->gaveUp(*blamed, -1);
        }
    }

    bool waitFor(std::chrono::milliseconds time) {
        std::unique_lock lock(mutex_);
        return done_.wait_for(lock, time, [this] { return finished_.load(); });
    }
    bool finished() const override {
        return finished_;
    }
    void whenFinished(std::function<void()> wake) override {
        const std::lock_guard lock(mutex_);
        wake_ = std::move(wake);
        if (finished_ && wake_) {
            wake_();
        }
    }
    bool abandon() override {
        std::string blamed;
        {
            const std::lock_guard lock(mutex_);
            if (finished_) {
                return false;
            }
            if (blamed_) {
                return true;
            }
            blamed = waitingOn_.empty() ? drive_ : pool_->driveOf(waitingOn_);
            blamed_ = blamed;
#ifdef _WIN32
            StuckCall::cancel(thread_);  // still in this job's work: it has not finished
#endif
        }
        pool_->gaveUp(blamed, +1);
        return true;
    }
    std::string waitedOnDrive() const override {
        const std::lock_guard lock(mutex_);
        if (blamed_) {
            return *blamed_;
        }
        return waitingOn_.empty() ? drive_ : pool_->driveOf(waitingOn_);
    }
    void waitOn(const std::string& path) {
        const std::lock_guard lock(mutex_);
        if (waitingOn_ != path) {
            waitingOn_ = path;
        }
    }
    void rethrowFailure() const override {
        if (failure_) {
            std::rethrow_exception(failure_);
        }
    }
    const std::string& drive() const override {
        return drive_;
    }

    std::atomic<std::uint64_t> answers = 0;  // see DriveCalls::answered

  private:
    std::shared_ptr<Pool> pool_;
    std::string drive_;
    std::function<void()> work_;
    std::exception_ptr failure_;
    mutable std::mutex mutex_;
    std::condition_variable done_;
    std::atomic<bool> finished_ = false;
    std::string waitingOn_;              // see DriveCalls::waitingOn; empty for its own drive
    std::optional<std::string> blamed_;  // once abandoned: the drive that counts as silent
#ifdef _WIN32
    HANDLE thread_ = nullptr;  // the thread that runs it
#endif
    std::function<void()> wake_;  // set while a thread waits for this job in its event loop
};

thread_local DriveCalls::Pool::Job* DriveCalls::Pool::Job::running = nullptr;

// One thread that runs one job at a time and then waits, idle, for the next. Its thread ends
// only while DriveCalls closes, which waits for it: with MinGW's threads a thread that ends
// while the program exits can deadlock that exit, so a thread whose job comes back after the
// close stays parked until the program ends instead.
class DriveCalls::Pool::Worker : public std::enable_shared_from_this<Worker> {
  public:
    static void startWith(const std::shared_ptr<Pool>& pool, std::shared_ptr<Job> job) {
        auto worker = std::make_shared<Worker>();
        worker->job_ = std::move(job);
        const std::lock_guard lock(worker->mutex_);  // serve waits for it before it starts
        worker->thread_ = std::thread([worker, pool] { worker->serve(*pool); });
    }

    void hand(std::shared_ptr<Job> job) {
        {
            const std::lock_guard lock(mutex_);
            job_ = std::move(job);
        }
        wake_.notify_one();
    }
    // Ends the thread of an idle worker and waits until it has.
    void close() {
        std::thread ending;
        {
            const std::lock_guard lock(mutex_);
            closing_ = true;
            ending = std::move(thread_);
        }
        wake_.notify_one();
        ending.join();
    }

  private:
    void serve(Pool& pool) {
        onDriveThread_ = true;
        for (;;) {
            std::shared_ptr<Job> job;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return job_ || closing_; });
                if (!job_) {
                    return;
                }
                job = std::move(job_);
            }
            job->run();
            job.reset();
            std::unique_lock lock(pool.mutex);
            if (pool.closing) {
                lock.unlock();
                parkForever();
            }
            pool.idle.push_back(shared_from_this());
        }
    }
    [[noreturn]] static void parkForever() {
        std::condition_variable never;
        std::mutex alone;
        std::unique_lock parked(alone);
        for (;;) {
            never.wait(parked);
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::shared_ptr<Job> job_;
    bool closing_ = false;
    std::thread thread_;  // the worker's own, and held by it: joined by close, or never
};

DriveCalls::DriveCalls(AnsweringWait& wait, DriveOf driveOf, std::chrono::milliseconds silence)
    : wait_(wait), silence_(silence), pool_(std::make_shared<Pool>(std::move(driveOf))) {}

DriveCalls::~DriveCalls() {
    std::vector<std::shared_ptr<Pool::Worker>> idle;
    {
        const std::lock_guard lock(pool_->mutex);
        pool_->closing = true;
        idle.swap(pool_->idle);
    }
    for (const auto& worker : idle) {
        worker->close();
    }
}

bool DriveCalls::onDriveThread() {
    return onDriveThread_;
}

void DriveCalls::answered() {
    if (Pool::Job::running != nullptr) {
        ++Pool::Job::running->answers;
    }
}

void DriveCalls::waitingOn(const std::string& path) {
    if (Pool::Job::running != nullptr) {
        Pool::Job::running->waitOn(path);
    }
}

std::shared_ptr<DriveCalls::Running> DriveCalls::start(const std::string& path,
                                                       std::function<void()> work) {
    std::string drive = pool_->driveOf(path);
    std::shared_ptr<Pool::Worker> worker;
    {
        const std::lock_guard lock(pool_->mutex);
        if (pool_->unanswered.contains(drive)) {
            throw DriveNotAnswering(drive);
        }
        if (!pool_->idle.empty()) {
            worker = std::move(pool_->idle.back());
            pool_->idle.pop_back();
        }
    }
    auto job = std::make_shared<Pool::Job>(pool_, std::move(drive), std::move(work));
    if (worker) {
        worker->hand(job);
    } else {
        Pool::Worker::startWith(pool_, job);
    }
    return job;
}

void DriveCalls::await(Running& running) {
    using Clock = AnsweringWait::Clock;
    auto& job = static_cast<Pool::Job&>(running);
    auto lastAnswer = Clock::now();
    if (!job.waitFor(std::min(silence_, std::chrono::milliseconds(kQuickAnswer)))) {
        job.whenFinished([this] { wait_.wake(); });
        // Each answer of work that asks many things gives the next one the whole limit.
        std::uint64_t seen = 0;
        wait_.answerUntil(
            [&] {
                if (job.finished()) {
                    return true;
                }
                const auto now = Clock::now();
                if (const std::uint64_t answers = job.answers; answers != seen) {
                    seen = answers;
                    lastAnswer = now;
                }
                return now - lastAnswer >= silence_;
            },
            job.drive());
        job.whenFinished({});
    }
    if (job.abandon()) {
        throw DriveNotAnswering(job.waitedOnDrive());
    }
    job.rethrowFailure();
}

}  // namespace velmora
