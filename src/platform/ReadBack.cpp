#include "ReadBack.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

namespace velmora::read_back {
namespace {

// A card that loses data loses whole blocks of it, a page or more: one sector read from a
// block tells whether the stick still holds it. So a video is read at samples of a sector, at
// least 64 of them, spread so that no stretch left unread is a 64th of the video long, and at
// its first and last page. On a USB 2 stick each sample is one request of about a millisecond:
// the read-back of a video costs some 70 requests and 40 KiB, a tenth of a second, whatever
// its size, where writing even a 2 MiB video took a quarter of a second at the stick's 8 MB/s;
// and a card that dropped or wrapped any 64th of the video is caught.
constexpr std::uint64_t kSampleBytes = kSector;
constexpr std::uint64_t kSamples = 64;
constexpr std::uint64_t kEndBytes = kAlignment;
// Files up to this size (every thumbnail) are read whole: a few requests more than samples.
constexpr std::uint64_t kWholeUpTo = 1u << 20;
// The largest read, and batch of reads, at once: what the comparison holds in memory, and how
// long a Cancel waits.
constexpr std::uint64_t kChunkBytes = 1u << 20;
constexpr std::size_t kReadsAtOnce = 8;

std::uint64_t alignedDown(std::uint64_t offset) {
    return offset / kAlignment * kAlignment;
}

std::uint64_t alignedUp(std::uint64_t length) {
    return (length + kAlignment - 1) / kAlignment * kAlignment;
}

// Unbuffered reads take whole sectors, also at the end of a file.
std::uint64_t inSectors(std::uint64_t length) {
    return (length + kSector - 1) / kSector * kSector;
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
        read(offset, std::span<std::byte>(into, static_cast<std::size_t>(inSectors(length))));
    return got >= length;
}

// A stretch, or a part of one, read into its own place of a batch's buffer.
struct Piece {
    std::uint64_t offset = 0;
    std::size_t length = 0;
    std::size_t at = 0;  // in the buffer, on kAlignment
};

// The stretches in batches of at most kChunkBytes of buffer each.
std::vector<std::vector<Piece>> batchesOf(const std::vector<Stretch>& stretches) {
    std::vector<std::vector<Piece>> batches;
    std::size_t used = kChunkBytes;
    for (const Stretch& stretch : stretches) {
        for (std::uint64_t done = 0; done < stretch.length; done += kChunkBytes) {
            const auto length =
                static_cast<std::size_t>(std::min(kChunkBytes, stretch.length - done));
            const auto room = static_cast<std::size_t>(alignedUp(length));
            if (used + room > kChunkBytes) {
                batches.emplace_back();
                used = 0;
            }
            batches.back().push_back({stretch.offset + done, length, used});
            used += room;
        }
    }
    return batches;
}

// Reads each piece of the batch into its place, several at once: a read of a sector waits on
// the drive's answer rather than on its speed, so a drive that serves several requests at a
// time (UAS, a FUSE server, a disk) answers a video's samples in about the time of a few, and
// one that serves one at a time (a USB 2 stick) loses nothing. Returns the bytes of each;
// rethrows the first failure once every read has come back.
std::vector<std::size_t> readAtOnce(const ReadAt& read, const std::vector<Piece>& batch,
                                    std::byte* buffer) {
    std::vector<std::size_t> got(batch.size());
    std::atomic<std::size_t> next = 0;
    std::exception_ptr failure;
    std::mutex failing;
    const auto reader = [&] {
        for (std::size_t i; (i = next++) < batch.size();) {
            try {
                got[i] = read(
                    batch[i].offset,
                    {buffer + batch[i].at, static_cast<std::size_t>(inSectors(batch[i].length))});
            } catch (...) {
                const std::lock_guard lock(failing);
                failure = failure ? failure : std::current_exception();
                next = batch.size();
            }
        }
    };
    {
        std::vector<std::jthread> helpers(std::min(kReadsAtOnce, batch.size()) - 1);
        for (std::jthread& helper : helpers) {
            helper = std::jthread(reader);
        }
        reader();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    return got;
}

}  // namespace

std::vector<Stretch> stretchesToReadBack(std::uint64_t size, std::uint64_t draw) {
    if (size <= kWholeUpTo) {
        return size == 0 ? std::vector<Stretch>{} : std::vector<Stretch>{{0, size}};
    }
    const auto sample = [size](std::uint64_t at, std::uint64_t length) {
        const std::uint64_t start = alignedDown(at);
        return Stretch{start, std::min(length, size - start)};
    };
    std::vector<Stretch> stretches{sample(0, kEndBytes), sample(size - 1, kEndBytes)};
    // Sample starts are aligned down, so two of them may lie up to a page further apart than
    // planned: planning them a page closer keeps every unread stretch under a 64th.
    const std::uint64_t apart = size / kSamples - kAlignment;
    for (std::uint64_t at = draw % apart; at < size; at += apart) {
        stretches.push_back(sample(at, kSampleBytes));
    }
    return joined(std::move(stretches));
}

Comparison compareStretches(const std::vector<Stretch>& stretches, const ReadAt& source,
                            const ReadAt& copy, const std::function<bool()>& keepGoing) {
    const AlignedBuffer expected = alignedBuffer(kChunkBytes);
    const AlignedBuffer actual = alignedBuffer(kChunkBytes);
    for (const std::vector<Piece>& batch : batchesOf(stretches)) {
        if (keepGoing && !keepGoing()) {
            return Comparison::Cancelled;
        }
        const std::vector<std::size_t> got = readAtOnce(copy, batch, actual.get());
        for (std::size_t i = 0; i < batch.size(); ++i) {
            const Piece& piece = batch[i];
            std::byte* const wanted = expected.get() + piece.at;
            if (got[i] < piece.length || !readFully(source, piece.offset, piece.length, wanted) ||
                std::memcmp(wanted, actual.get() + piece.at, piece.length) != 0) {
                return Comparison::Differs;
            }
        }
    }
    return Comparison::Same;
}

}  // namespace velmora::read_back
