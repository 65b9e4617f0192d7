#pragma once

#include <windows.h>

#include <string>

namespace velmora::win32 {

// A copy growing under a temporary name (see TemporaryFiles.h), open for writing and held without
// sharing its deletion, so no other Velmora takes it for a leftover; only reading is shared. Let go
// before it has taken its final name, it is removed.
class TemporaryCopy {
  public:
    // A new hidden temporary, for the program's own copy; check valid().
    static TemporaryCopy create(const std::wstring& path);
    // One that the shell has written, with its attributes cleared (the shell gives it the
    // source's, read-only among them).
    static TemporaryCopy open(const std::wstring& path);
    ~TemporaryCopy();
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

    // Puts its data on the device; 0 or the system's error.
    DWORD flush();
    // Gives it target's name, as a plain visible file, only if no file has that name
    // (ERROR_ALREADY_EXISTS otherwise), then puts the name on the device too: only then is the
    // copy whole on the stick under its name, and it stays. 0 or the system's error; on an
    // error it is removed when let go, under whichever name it has.
    DWORD takeName(const std::wstring& target);
    // Takes the name given back off the drive: the copy goes once let go. For a copy that the
    // window gave up on while its name was being written. False where the system refused, and
    // the copy stays.
    bool takeNameBack();

  private:
    explicit TemporaryCopy(HANDLE handle) : handle_(handle) {}

    HANDLE handle_;
    bool named_ = false;
};

// What the user is told for an error of takeName: a name found taken says so.
std::string namingFailureReason(DWORD error);

}  // namespace velmora::win32
