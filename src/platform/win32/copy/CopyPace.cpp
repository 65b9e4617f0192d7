#include "win32/copy/CopyPace.h"

#include <algorithm>

namespace velmora::win32 {
namespace {

using namespace std::chrono_literals;

constexpr DWORD kFirstBlock = 256u << 10;
constexpr DWORD kSmallestBlock = 64u << 10;
// A write this quick may grow; one this slow shrinks.
constexpr auto kQuickWrite = 100ms;
constexpr auto kSlowWrite = 250ms;

constexpr std::uint64_t kFirstStretch = 1u << 20;
constexpr std::uint64_t kSmallestStretch = 64u << 10;
// A fast disk is flushed this seldom at the most, which costs it next to nothing.
constexpr std::uint64_t kLargestStretch = 256u << 20;
// How long a flush may wait for the drive.
constexpr auto kFlushFor = 250ms;

}  // namespace

CopyPace::CopyPace() : block_(kFirstBlock), stretch_(kFirstStretch) {}

DWORD CopyPace::nextWrite() const {
    return static_cast<DWORD>(std::min<std::uint64_t>(block_, stretch_ - unflushed_));
}

bool CopyPace::wrote(DWORD bytes, Duration took) {
    if (took > kSlowWrite) {
        block_ = std::max(block_ / 2, kSmallestBlock);
    } else if (took < kQuickWrite) {
        block_ = std::min(block_ * 2, CopyPace::kLargestWrite);
    }
    unflushed_ += bytes;
    return unflushed_ >= stretch_;
}

void CopyPace::flushed(Duration took) {
    const std::uint64_t milliseconds = std::max<std::int64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 1);
    // At most twice as much as the last time: a flush that finds the drive has taken the data
    // already says nothing of its speed.
    stretch_ = std::clamp(std::min(unflushed_ * kFlushFor.count() / milliseconds, 2 * unflushed_),
                          kSmallestStretch, kLargestStretch);
    unflushed_ = 0;
}

}  // namespace velmora::win32
