#pragma once

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace velmora {

// How a stick is made and mounted: the mount command takes the device and the mount point.
struct StickFormat {
    const char* name;
    const char* mkfs;
    const char* mount;
};
inline constexpr StickFormat kExt4{"ext4", "mkfs.ext4 -q -F", "mount -o noinit_itable"};
// FAT as a desktop's automounter mounts a stick for its user.
inline constexpr StickFormat kFat{"FAT", "mkfs.fat",
                                  "mount -o uid=0,gid=0,shortname=mixed,utf8,showexec,flush"};
// FAT as an fstab entry mounts it for everyone: the files are root's, open to all.
inline constexpr StickFormat kFatOpenToAll{"FATOpenToAll", "mkfs.fat",
                                           "mount -o uid=0,gid=0,umask=000"};
// FAT and exFAT through FUSE, as machines whose kernel lacks the driver mount them; both
// refuse some calls (a mode, room taken ahead, a rename that must not replace).
inline constexpr StickFormat kFuseFat{"fusefat", "mkfs.fat", "fusefat -o rw+"};
inline constexpr StickFormat kExfatFuse{"exfatFuse", "mkfs.exfat", "mount.exfat-fuse"};

// An image on a loop device mounted on an existing folder for the life of the object: a stick
// of its own that fills up, turns read-only or writes slowly. Only root may mount, and only a
// kernel with the file system's driver. The stick tests and the copy benchmark copy onto one.
class LoopStick {
  public:
    // directIo: the device writes straight to the disk, keeping nothing of the image in the
    // page cache (the image's own file system must allow it).
    LoopStick(const std::string& mountPoint, int megabytes, bool directIo = false,
              const StickFormat& format = kExt4)
        : mountPoint_(mountPoint), mount_(format.mount) {
        const std::string image = mountPoint + ".img";  // removed once the device holds it
        const std::string direct = directIo ? " --direct-io=on " : " ";
        ready_ = geteuid() == 0 &&
                 run("truncate -s " + std::to_string(megabytes) + "M " + image + " && " +
                     format.mkfs + " " + image + " >/dev/null && losetup -f --show" + direct +
                     image + " >" + image + ".dev && rm " + image) &&
                 std::ifstream(image + ".dev") >> device_ && run("rm " + image + ".dev") && mount();
    }
    ~LoopStick() {
        limitWrites(0);
        limitReads(0);
        run("umount -l " + mountPoint_ + "; losetup -d " + device_);
    }
    LoopStick(const LoopStick&) = delete;
    LoopStick& operator=(const LoopStick&) = delete;

    bool ready() const { return ready_; }
    const std::string& device() const { return device_; }
    // Straight through the kernel: FUSE's mount helpers can't remount.
    bool makeReadOnly() const { return run("mount -i -o remount,ro " + mountPoint_); }
    // Detaches the stick from its mount point as a desktop does when it is pulled: files open
    // on it stay open, and the stick is unmounted once the last one is closed.
    bool detach() const { return run("umount -l " + mountPoint_); }
    // Mounts the stick on its mount point: once made, and again after detach(). A FUSE driver
    // may say it mounted where it could not (no /dev/fuse): only a mount point counts.
    bool mount() const {
        return run(mount_ + " " + device_ + " " + mountPoint_ + " >/dev/null && mountpoint -q " +
                   mountPoint_);
    }
    // Holds the device's writes, or its reads, to a rate (0 lifts it) through cgroup v1's
    // blkio controller; false where the machine can't.
    bool limitWrites(unsigned long bytesPerSecond) const { return limit("write", bytesPerSecond); }
    bool limitReads(unsigned long bytesPerSecond) const { return limit("read", bytesPerSecond); }
    // Transactions its journal has committed so far (ext4).
    long commits() const {
        std::ifstream info("/proc/fs/jbd2/" + device_.substr(device_.rfind('/') + 1) + "-8/info");
        long count = -1;
        info >> count;
        return count;
    }

  private:
    bool limit(const std::string& direction, unsigned long bytesPerSecond) const {
        struct stat info {};
        return stat(device_.c_str(), &info) == 0 &&
               std::ofstream("/sys/fs/cgroup/blkio/blkio.throttle." + direction + "_bps_device")
                   << major(info.st_rdev) << ":" << minor(info.st_rdev) << " " << bytesPerSecond
                   << std::endl;
    }
    static bool run(const std::string& command) {
        return std::system(("{ " + command + "; } 2>/dev/null").c_str()) == 0;
    }
    std::string mountPoint_;
    std::string mount_;
    std::string device_;
    bool ready_ = false;
};

}  // namespace velmora
