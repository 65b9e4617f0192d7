#include "win32/copy/CopyReadBack.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <span>

#include "DriveCalls.h"
#include "ReadBack.h"
#include "win32/files/FileHandle.h"
#include "win32/files/FullPath.h"
#include "win32/files/SystemCalls.h"
#include "win32/text/SystemError.h"

namespace velmora {
using namespace win32;  // the wide strings and system errors of this platform
namespace {

using read_back::Comparison;

// A failed read: the system's error, and whether it was the copy's rather than the source's.
struct ReadFailure {
    DWORD error;
    bool ofCopy;
};

// Reads up to length bytes at offset; fewer only at the end of the file.
std::size_t readAt(HANDLE file, std::uint64_t offset, void* into, std::size_t length, bool ofCopy) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    if (!sys::ReadFile(file, into, static_cast<DWORD>(length), &read, &at) &&
        GetLastError() != ERROR_HANDLE_EOF) {
        throw ReadFailure{GetLastError(), ofCopy};
    }
    return read;
}

// The volume's sector: an unbuffered handle takes offsets, lengths and memory in whole ones.
// read_back::kAlignment where the system does not say.
std::uint64_t sectorOf(const std::wstring& path) {
    wchar_t root[MAX_PATH + 1] = {};
    DWORD sectorsPerCluster = 0;
    DWORD sector = 0;
    DWORD freeClusters = 0;
    DWORD clusters = 0;
    if (!sys::GetVolumePathNameW(withLongPrefix(path).c_str(), root, MAX_PATH + 1) ||
        !sys::GetDiskFreeSpaceW(root, &sectorsPerCluster, &sector, &freeClusters, &clusters) ||
        sector == 0) {
        return read_back::kAlignment;
    }
    return sector;
}

// Reads the copy in whole sectors. The shared buffers hold whole sectors of every common
// volume (512 bytes, 4 KiB); a volume of larger ones is read into memory of its own, which
// VirtualAlloc aligns to 64 KiB, and what was asked for is taken from there.
std::size_t readCopyAt(HANDLE copy, std::uint64_t sector, std::uint64_t offset,
                       std::span<std::byte> into) {
    if (offset % sector == 0 && into.size() % sector == 0) {
        return readAt(copy, offset, into.data(), into.size(), true);
    }
    const std::uint64_t start = offset / sector * sector;
    const std::uint64_t length = (offset + into.size() - start + sector - 1) / sector * sector;
    const auto release = [](void* memory) { VirtualFree(memory, 0, MEM_RELEASE); };
    const std::unique_ptr<void, decltype(release)> sectors(
        VirtualAlloc(nullptr, length, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE), release);
    if (!sectors) {
        throw ReadFailure{GetLastError(), true};
    }
    const std::size_t read = readAt(copy, start, sectors.get(), length, true);
    const std::size_t skipped = offset - start;
    const std::size_t wanted = read > skipped ? std::min(read - skipped, into.size()) : 0;
    std::memcpy(into.data(), static_cast<const std::byte*>(sectors.get()) + skipped, wanted);
    return wanted;
}

std::uint64_t sizeOf(HANDLE file, bool ofCopy) {
    LARGE_INTEGER size{};
    if (!sys::GetFileSizeEx(file, &size)) {
        throw ReadFailure{GetLastError(), ofCopy};
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

// Reads the copy at path (full, or with the long-path prefix) back past the system's cache
// and compares it with source, whose reads are waits on the drive of sourcePath. Throws
// ReadFailure.
Comparison compareWithCopy(HANDLE source, const std::string& sourcePath, std::uint64_t size,
                           const std::wstring& path, const std::function<bool()>& keepGoing = {}) {
    const FileHandle copy = openForReading(withLongPrefix(path), FILE_FLAG_NO_BUFFERING);
    if (!copy.valid()) {
        throw ReadFailure{GetLastError(), true};
    }
    if (sizeOf(copy.get(), true) != size) {
        return Comparison::Differs;
    }
    const std::uint64_t sector = sectorOf(path);
    std::random_device entropy;
    const std::uint64_t draw = (std::uint64_t{entropy()} << 32) | entropy();
    return read_back::compareStretches(
        read_back::stretchesToReadBack(size, draw),
        [source, &sourcePath](std::uint64_t offset, std::span<std::byte> into) {
            DriveCalls::waitingOn(sourcePath);
            const std::size_t read = readAt(source, offset, into.data(), into.size(), false);
            DriveCalls::waitingOn({});
            return read;
        },
        [&copy, sector](std::uint64_t offset, std::span<std::byte> into) {
            return readCopyAt(copy.get(), sector, offset, into);
        },
        keepGoing);
}

}  // namespace

DWORD win32::readBackBeforeNaming(HANDLE source, const std::string& sourcePath, std::uint64_t size,
                                  const std::wstring& temporary,
                                  const FileOperations::Progress& progress) {
    try {
        switch (compareWithCopy(source, sourcePath, size, temporary,
                                [&] { return !progress || progress(size, size); })) {
            case Comparison::Same:
                return ERROR_SUCCESS;
            case Comparison::Cancelled:
                return ERROR_CANCELLED;
            case Comparison::Differs:
                return kNotGivenBack;
        }
    } catch (const ReadFailure& failure) {
        return failure.ofCopy ? kNotGivenBack : failure.error;
    }
    return kNotGivenBack;
}

Comparison FileOperations::readsBack(const std::string& from, const std::string& copy,
                                     const std::function<bool()>& keepGoing) const {
    const FileHandle source = openForReading(filePath(from));
    if (!source.valid()) {
        fail("Reading the file", from);
    }
    try {
        DriveCalls::waitingOn(from);
        const std::uint64_t size = sizeOf(source.get(), false);
        DriveCalls::waitingOn({});
        return compareWithCopy(source.get(), from, size, filePath(copy), keepGoing);
    } catch (const ReadFailure& failure) {
        fail("Reading the file", failure.ofCopy ? copy : from, failure.error);
    }
}

}  // namespace velmora
