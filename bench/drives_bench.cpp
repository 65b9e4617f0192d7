// The drive list read with 1,000 mounts more than the machine has, against a bare read of the
// mount table that lists them. The mounts are made in a mount namespace of the benchmark's
// own, so they vanish with it; that needs root.
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "qt/QtPlatform.h"
#include "Ratio.h"
#include "ScratchFolder.h"

namespace velmora::bench {
namespace {

constexpr int kExtraMounts = 1000;

bool inOwnMountNamespace() {
    return unshare(CLONE_NEWNS) == 0 &&
           mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// Small file systems outside the drives' folders, as containers and snaps mount them.
bool mountExtras(const ScratchFolder& folder) {
    if (mount("extras", folder.path().c_str(), "tmpfs", 0, nullptr) != 0) {
        return false;
    }
    char name[16];
    for (int i = 0; i < kExtraMounts; ++i) {
        std::snprintf(name, sizeof name, "m%04d", i);
        const std::string at = folder.at(name);
        if (mkdir(at.c_str(), 0755) != 0 || mount("extra", at.c_str(), "tmpfs", 0, nullptr) != 0) {
            return false;
        }
    }
    return true;
}

std::size_t readMountTableBare() {
    static char buffer[1 << 16];
    const int fd = open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    std::size_t total = 0;
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) {
        total += static_cast<std::size_t>(got);
    }
    close(fd);
    return total;
}

}  // namespace
}  // namespace velmora::bench

int main() {
    using namespace velmora::bench;
    if (!inOwnMountNamespace()) {
        std::printf("drives_bench: skipped: a mount namespace of its own needs root\n");
        return 0;
    }
    const ScratchFolder folder("velmora-mounts");
    if (!mountExtras(folder)) {
        std::printf("drives_bench: skipped: the extra mounts could not be made\n");
        return 0;
    }
    std::size_t drives = 0;
    velmora::qt::QtPlatform platform;
    const Timing timing = compare(
        7, 20, [&] { drives = platform.listDrives().size(); },
        [] { readMountTableBare(); });
    std::printf("%zu drives among %zu bytes of mount table\n", drives, readMountTableBare());
    report("The drive list with 1,000 extra mounts / a bare read of the mount table", timing, 3.0);
    umount2(folder.path().c_str(), MNT_DETACH);
    return 0;
}
