#pragma once

#include <objbase.h>

namespace velmora::win32 {

// COM for the calling thread while this object lives: the folder browser and the picture
// decoder need it.
class ComApartment {
  public:
    ComApartment()
        : initialised_(SUCCEEDED(
              CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (initialised_) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool initialised_;
};

// COM for the calling thread until it ends, for a thread that runs one call after another,
// such as a drive's (see DriveCalls): the shell's copy and the picture decoder need it.
inline void useComOnThisThread() {
    thread_local const bool initialised =
        SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    static_cast<void>(initialised);
}

// Holds one COM interface and releases it.
template <typename T>
class ComRef {
  public:
    ComRef() = default;
    ~ComRef() {
        if (object_ != nullptr) {
            object_->Release();
        }
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    T* operator->() const { return object_; }
    T* get() const { return object_; }
    T** put() { return &object_; }

  private:
    T* object_ = nullptr;
};

}  // namespace velmora::win32
