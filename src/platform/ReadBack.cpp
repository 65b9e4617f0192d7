#include "ReadBack.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace velmora::read_back {
namespace {

// A sample spans two of a FAT stick's usual 32 KiB clusters, wherever it starts. 64 of them
// and the two ends make about 4 MiB, which a USB 2 stick reads in a fraction of a second,
// while the video itself took half a minute or more to write at its 8 MB/s: the read-back
// costs about a hundredth of the copy, and a card that dropped or wrapped any 64th of the
// video is caught.
constexpr std::uint64_t kSampleBytes = 64u << 10;
constexpr std::uint64_t kSamples = 64;
// Files up to this size (every thumbnail) are read whole.
constexpr std::uint64_t kWholeUpTo = 1u << 20;
// The largest read at once: what the comparison holds in memory, and how long a Cancel waits.
constexpr std::uint64_t kChunkBytes = 1u << 20;

std::uint64_t alignedDown(std::uint64_t offset) {
    return offset / kAlignment * kAlignment;
}

std::uint64_t alignedUp(std::uint64_t length) {
    return (length + kAlignment - 1) / kAlignment * kAlignment;
}

// Sorts the stretches and joins those that overlap or touch.
std::vector<Stretch> joined(std::vector<Stretch> stretches) {
    std::sort(stretches.begin(), stretches.end(),
              [](const Stretch& a, const Stretch& b) { return a.offset < b.offset; });
    std::vector<Stretch> result;
    for (const Stretch& stretch : stretches) {
        if (!result.empty() && stretch.offset <= result.back().offset + result.back().length) {
            Stretch& last = result.back();
            last.length = std::max(last.length, stretch.offset + stretch.length - last.offset);
        } else {
            result.push_back(stretch);
        }
    }
    return result;
}

struct AlignedFree {
    void operator()(std::byte* bytes) const {
        ::operator delete[](bytes, std::align_val_t{kAlignment});
    }
};
using AlignedBuffer = std::unique_ptr<std::byte[], AlignedFree>;

AlignedBuffer alignedBuffer(std::uint64_t size) {
    return AlignedBuffer(static_cast<std::byte*>(
        ::operator new[](static_cast<std::size_t>(size), std::align_val_t{kAlignment})));
}

// Reads length bytes at offset; false when the file ends first.
bool readFully(const ReadAt& read, std::uint64_t offset, std::uint64_t length, std::byte* into) {
    const std::size_t got =
        read(offset, std::span<std::byte>(into, static_cast<std::size_t>(alignedUp(length))));
    return got >= length;
}

}  // namespace

std::vector<Stretch> stretchesToReadBack(std::uint64_t size, std::uint64_t draw) {
    if (size <= kWholeUpTo) {
        return size == 0 ? std::vector<Stretch>{} : std::vector<Stretch>{{0, size}};
    }
    const auto sample = [size](std::uint64_t at) {
        const std::uint64_t start = alignedDown(at);
        return Stretch{start, std::min(kSampleBytes, size - start)};
    };
    const std::uint64_t lastBlock = alignedDown(size - kSampleBytes);
    std::vector<Stretch> stretches{sample(0), {lastBlock, size - lastBlock}};
    const std::uint64_t apart = size / kSamples;
    for (std::uint64_t at = draw % apart; at < size; at += apart) {
        stretches.push_back(sample(at));
    }
    return joined(std::move(stretches));
}

Comparison compareStretches(const std::vector<Stretch>& stretches, const ReadAt& source,
                            const ReadAt& copy, const std::function<bool()>& keepGoing) {
    const AlignedBuffer expected = alignedBuffer(kChunkBytes);
    const AlignedBuffer actual = alignedBuffer(kChunkBytes);
    for (const Stretch& stretch : stretches) {
        for (std::uint64_t done = 0; done < stretch.length; done += kChunkBytes) {
            const std::uint64_t offset = stretch.offset + done;
            const std::uint64_t length = std::min(kChunkBytes, stretch.length - done);
            if (keepGoing && !keepGoing()) {
                return Comparison::Cancelled;
            }
            if (!readFully(copy, offset, length, actual.get())) {
                return Comparison::Differs;
            }
            if (!readFully(source, offset, length, expected.get()) ||
                std::memcmp(expected.get(), actual.get(), static_cast<std::size_t>(length)) != 0) {
                return Comparison::Differs;
            }
        }
    }
    return Comparison::Same;
}

}  // namespace velmora::read_back
