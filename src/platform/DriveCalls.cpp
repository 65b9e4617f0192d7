#include "DriveCalls.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "platform/PlatformError.h"

namespace velmora {
namespace {

// Most calls answer within microseconds: the window's thread waits this long without
// answering before it starts an event loop, which costs more than such a call.
constexpr auto kQuickAnswer = std::chrono::milliseconds(20);
thread_local bool onDriveThread_ = false;
// What the running job on this thread has answered so far; see DriveCalls::answered.
thread_local std::atomic<std::uint64_t>* answers_ = nullptr;

}  // namespace

// The threads and the drives that have not answered. Shared with every thread, so it lives
// as long as the last of them.
struct DriveCalls::Pool {
    class Job;
    class Worker;

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

    void run() {
        answers_ = &answers;
        try {
            work_();
        } catch (...) {
            failure_ = std::current_exception();
        }
        answers_ = nullptr;
        work_ = nullptr;  // what it captured goes with the call
        bool wasAbandoned = false;
        {
            const std::lock_guard lock(mutex_);
            finished_ = true;
            wasAbandoned = abandoned_;
            if (wake_) {
                wake_();
            }
        }
        done_.notify_all();
        if (wasAbandoned) {
            pool_->gaveUp(drive_, -1);
        }
    }

    bool waitFor(std::chrono::milliseconds time) {
        std::unique_lock lock(mutex_);
        return done_.wait_for(lock, time, [this] { return finished_.load(); });
    }
    bool finished() const override { return finished_; }
    void whenFinished(std::function<void()> wake) override {
        const std::lock_guard lock(mutex_);
        wake_ = std::move(wake);
        if (finished_ && wake_) {
            wake_();
        }
    }
    bool abandon() override {
        {
            const std::lock_guard lock(mutex_);
            if (finished_) {
                return false;
            }
            if (std::exchange(abandoned_, true)) {
                return true;
            }
        }
        pool_->gaveUp(drive_, +1);
        return true;
    }
    void rethrowFailure() const override {
        if (failure_) {
            std::rethrow_exception(failure_);
        }
    }
    const std::string& drive() const { return drive_; }

    std::atomic<std::uint64_t> answers = 0;  // see DriveCalls::answered

  private:
    std::shared_ptr<Pool> pool_;
    std::string drive_;
    std::function<void()> work_;
    std::exception_ptr failure_;
    std::mutex mutex_;
    std::condition_variable done_;
    std::atomic<bool> finished_ = false;
    bool abandoned_ = false;
    std::function<void()> wake_;  // set while a thread waits for this job in its event loop
};

// One thread that runs one job at a time and then waits, idle, for the next.
class DriveCalls::Pool::Worker : public std::enable_shared_from_this<Worker> {
  public:
    static void startWith(const std::shared_ptr<Pool>& pool, std::shared_ptr<Job> job) {
        auto worker = std::make_shared<Worker>();
        worker->job_ = std::move(job);
        std::thread([worker, pool] { worker->serve(*pool); }).detach();
    }

    void hand(std::shared_ptr<Job> job) {
        {
            const std::lock_guard lock(mutex_);
            job_ = std::move(job);
        }
        wake_.notify_one();
    }
    void close() {
        {
            const std::lock_guard lock(mutex_);
            closing_ = true;
        }
        wake_.notify_one();
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
            const std::lock_guard lock(pool.mutex);
            if (pool.closing) {
                return;
            }
            pool.idle.push_back(shared_from_this());
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::shared_ptr<Job> job_;
    bool closing_ = false;
};

DriveCalls::DriveCalls(AnsweringWait& wait, DriveOf driveOf)
    : wait_(wait), driveOf_(std::move(driveOf)), pool_(std::make_shared<Pool>()) {}

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
    if (answers_ != nullptr) {
        ++*answers_;
    }
}

std::shared_ptr<DriveCalls::Running> DriveCalls::start(const std::string& path,
                                                       std::function<void()> work) {
    std::string drive = driveOf_(path);
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

void DriveCalls::await(Running& running, std::chrono::milliseconds limit) {
    auto& job = static_cast<Pool::Job&>(running);
    auto deadline = AnsweringWait::Clock::now() + limit;
    if (!job.waitFor(std::min(limit, std::chrono::milliseconds(kQuickAnswer)))) {
        job.whenFinished([this] { wait_.wake(); });
        // Each answer of work that asks many things gives the next one the whole limit.
        for (std::uint64_t seen = job.answers;; seen = job.answers) {
            wait_.answerUntil([&] { return job.finished() || job.answers != seen; }, deadline);
            if (job.finished() || job.answers == seen) {
                break;
            }
            deadline = AnsweringWait::Clock::now() + limit;
        }
        job.whenFinished({});
    }
    if (job.abandon()) {
        throw DriveNotAnswering(job.drive());
    }
    job.rethrowFailure();
}

}  // namespace velmora
