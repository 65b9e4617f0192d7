#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>

namespace velmora::win32 {

// The pace of the program's own copy: how much it writes at a time, and how much it lets wait
// in the system's cache before it flushes. Large writes keep a fast disk busy; on a slow
// stick a write or a flush lasts as long as its data take to go out, and the progress and a
// cancel wait for it. So the writes shrink while they are slow and grow while they are quick,
// and what waits in the cache is flushed once it is as much as the drive took in about a
// quarter of a second at the last flush: the bar then follows what the stick holds, a cancel
// takes effect within moments, and the closing flush is short, however slow the stick.
class CopyPace {
  public:
    using Duration = std::chrono::steady_clock::duration;

    // No write is larger.
    static constexpr DWORD kLargestWrite = 8u << 20;

    CopyPace();

    // The most to write next.
    DWORD nextWrite() const;
    // After a write of bytes that lasted took; true when what waits is to be flushed now.
    bool wrote(DWORD bytes, Duration took);
    // After that flush, which lasted took.
    void flushed(Duration took);

  private:
    DWORD block_;
    std::uint64_t stretch_;
    std::uint64_t unflushed_ = 0;
};

}  // namespace velmora::win32
