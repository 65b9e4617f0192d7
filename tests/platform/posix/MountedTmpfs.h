#pragma once

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace velmora::test {

// A tmpfs of a fixed size mounted on an existing folder for the life of the object: a small
// volume of its own that can fill up or be made read-only. Only root may mount.
class MountedTmpfs {
  public:
    MountedTmpfs(std::string mountPoint, const std::string& size)
        : mountPoint_(std::move(mountPoint)) {
        if (geteuid() != 0) {
            error_ = "mounting needs root";
        } else if (mount("velmora-test", mountPoint_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                         ("size=" + size + ",mode=0755").c_str()) != 0) {
            error_ = std::strerror(errno);
        }
    }
    ~MountedTmpfs() {
        if (error_.empty()) {
            umount2(mountPoint_.c_str(), MNT_DETACH);
        }
    }
    MountedTmpfs(const MountedTmpfs&) = delete;
    MountedTmpfs& operator=(const MountedTmpfs&) = delete;

    // Why it could not be mounted; empty when it is.
    const std::string& error() const { return error_; }

    // From now on nothing can be written on it, not even by root.
    bool makeReadOnly() const {
        return mount(nullptr, mountPoint_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

  private:
    std::string mountPoint_;
    std::string error_;
};

}  // namespace velmora::test
