#pragma once

#include <cstdint>
#include <string>

namespace velmora::win32 {

// The process that writes a temporary: its id and its start time, which together name one
// process on one machine (an id alone is soon given to another process); 0 for a start time that
// could not be read.
struct TemporaryWriter {
    std::uint32_t processId;
    std::uint64_t startTime;
};

// This process.
TemporaryWriter thisWriter();

// A full path beside target where a copy grows until it is whole, named after target and its
// writer: "~MAQ12301.MP4.1234-1dc2f0e8a3b4c5d-0.velmora-tmp". It never matches *.MP4 or
// *.THM and never starts with a PSP name, so no list shows it and no name prefix counts it;
// no file of another program has its form.
std::wstring temporaryBeside(const std::wstring& target,
                             const TemporaryWriter& writer = thisWriter());

// Removes a temporary by its path, whatever its attributes (the shell's copy gives it the
// source's, read-only among them); failures are ignored. One still open by a program that shares
// no deletion, as a copy holds its temporary, is left exactly as it is.
void removeTemporary(const std::wstring& path);

// Removes from folder (a full path) the temporaries of copies that were cut off by a crash, a
// kill or a pulled stick: those whose writer surely no longer runs. A temporary still open, by
// another Velmora or by the shell's copy for one, stays: Windows deletes no open file that
// was opened without sharing its deletion. So does one that may be its target's file itself.
// Failures are ignored; the next copy tries again.
void removeLeftoverTemporaries(const std::wstring& folder);

}  // namespace velmora::win32
