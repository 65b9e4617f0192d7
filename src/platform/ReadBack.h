#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace velmora {

// Cards that claim more than they hold, and worn ones, take writes and give other bytes back
// later: a copy counts only once what the stick gives back matches its source. Both platforms
// read a copy back with these, each past its own caches.
namespace read_back {

// Unbuffered reads (O_DIRECT, FILE_FLAG_NO_BUFFERING) take offsets, lengths and buffers in
// whole sectors. Stretches start on kAlignment, which covers both 512-byte and 4K sectors, and
// are read in whole kSector units, past the end of the file where it ends first; a system whose
// sectors are larger reads more around them (Windows) or reads through its cache instead
// (Linux, where O_DIRECT then refuses the read).
inline constexpr std::uint64_t kAlignment = 4096;
inline constexpr std::uint64_t kSector = 512;

// A stretch of a file, in bytes.
struct Stretch {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    bool operator==(const Stretch&) const = default;
};

// What of a copy of `size` bytes is read back, sorted and apart, each stretch starting on
// kAlignment. A small file (a thumbnail) is read whole. A video is read at its first and last
// pages and at samples of a sector, under a 64th of it apart, from a place that `draw` sets, so
// the places vary from copy to copy: a run of lost bytes of a 64th of the video always holds a
// sample.
std::vector<Stretch> stretchesToReadBack(std::uint64_t size, std::uint64_t draw);

// Reads into `into` from offset (on kAlignment), a whole number of kSector bytes into a buffer
// aligned to kAlignment; returns the bytes read, fewer only at the end of the file. The copy's
// reader is called from several threads at once. Throws PlatformError when the
// file can't be read.
using ReadAt = std::function<std::size_t(std::uint64_t offset, std::span<std::byte> into)>;

enum class Comparison { Same, Differs, Cancelled };

// Whether the copy gives back the source's bytes in every stretch. keepGoing (if any) is
// asked before each read of the copy, at most a megabyte apart, so that a Cancel takes
// effect at once even on a slow stick.
Comparison compareStretches(const std::vector<Stretch>& stretches, const ReadAt& source,
                            const ReadAt& copy, const std::function<bool()>& keepGoing = {});

}  // namespace read_back
}  // namespace velmora
