#include "FileOperations.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <filesystem>

#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "posix/LeftoverSweep.h"
#include "posix/MountTable.h"
#include "posix/UniqueFd.h"
#include "support/TempFolder.h"

// Every fsync of this program, its copies' too, passes here: where no power can be cut, the
// syncs that a cut would test are seen. Counted: those of a folder holding the copy below.
static std::atomic<int> syncsOfTheCopysFolder = 0;
extern "C" int fsync(int fd) {
    struct stat named {};
    syncsOfTheCopysFolder += fstatat(fd, "MAQ12309.MP4", &named, 0) == 0;
    return static_cast<int>(syscall(SYS_fsync, fd));
}

// How the file system takes the read-back's unbuffered reads (see pread below): as today's
// Linux does; as Linux before 5.10 does on FAT, refusing an unaligned one; or refusing the
// third, as a FUSE stick may.
enum class Direct { AsToday, RefusesUnaligned, RefusesThird };
static std::atomic<Direct> direct = Direct::AsToday;
static std::atomic<int> directReads = 0;

extern "C" ssize_t pread(int fd, void* into, size_t size, off_t at) {
    if ((fcntl(fd, F_GETFL) & O_DIRECT) != 0) {
        const int read = ++directReads;
        if ((direct == Direct::RefusesUnaligned && (at % 512 != 0 || size % 512 != 0)) ||
            (direct == Direct::RefusesThird && read == 3)) {
            errno = EINVAL;
            return -1;
        }
    }
    return syscall(SYS_pread64, fd, into, size, at);
}

namespace velmora::posix {
namespace {

// Lookups find names in any letter case, listings show visible files, failures tell why. A name
// taken in any case keeps its file; a failed copy leaves nothing. The sweep removes unlocked
// temporaries and, silent for a day, older versions' temporaries and empty claimed names.
TEST(FileOperationsTest, LookupsListingsCopiesTakingOnlyAFreeNameSweepsAndTheMountTable) {
    FileOperations files;
    test::TempFolder folder;
    folder.write("MP_ROOT/100anv01/CLIP.THM", "thumb");
    folder.write("MP_ROOT/100anv01/clip.mp4", "0123456789");
    folder.write("MP_ROOT/.hidden.THM");
    const auto find = [&](const char* path, int mask) {
        return files.findFirst(folder.at(path), mask);
    };
    EXPECT_EQ(find("MP_ROOT/100ANV01", lookup::kFoldersToo), "100anv01");
    EXPECT_EQ(find("MP_ROOT/100anv01", lookup::kFilesOnly), "");
    EXPECT_EQ(find("mp_root/100ANV01/clip.thm", lookup::kFilesOnly), "CLIP.THM");
    EXPECT_EQ(find("MP_ROOT/100anv01/*.MP4", lookup::kFilesOnly), "clip.mp4");
    EXPECT_EQ(find("MP_ROOT/.hidden.THM", lookup::kFilesOnly) + find("x/y", 16), "");
    const std::string video = folder.at("mp_root/100ANV01/CLIP.MP4");
    EXPECT_TRUE(files.isFolder(folder.at("mp_root/100ANV01")));
    EXPECT_EQ(files.fileLength(video), 10);
    files.deleteFile(video);
    EXPECT_FALSE(folder.exists("MP_ROOT/100anv01/clip.mp4"));
    std::filesystem::create_symlink(folder.at("MP_ROOT/100anv01"), folder.at("MP_ROOT/d.MP4"));
    std::filesystem::create_symlink(folder.at("MP_ROOT/100anv01/CLIP.THM"), folder.at("MP_ROOT/l"));
    EXPECT_EQ(files.listFiles(folder.at("MP_ROOT")), std::vector<std::string>{"l"});
    try {
        files.deleteFile(folder.at("gone.MP4"));
        ADD_FAILURE() << "deleting a missing file must fail";
    } catch (const PlatformError& e) {
        EXPECT_EQ(e.what(), "Deleting the file failed for \"" + folder.at("gone.MP4") +
                                "\": No such file or directory");
    }
    EXPECT_THROW(files.deleteFile(folder.at("MP_ROOT")), PlatformError);
    EXPECT_THROW(files.makeFolder(folder.at("mp_root")), PlatformError);
    EXPECT_THROW(files.fileLength(folder.at("MP_ROOT")), PlatformError);
    EXPECT_THROW(files.listFiles(folder.at("missing")), PlatformError);
    EXPECT_THROW(files.freeBytesAvailable(folder.at("missing")), PlatformError);
    std::filesystem::create_directory_symlink("/proc", folder.at("MP_ROOT/101ANV01"));
    EXPECT_EQ(files.volumeOf(folder.at("mp_root/100ANV01")), files.volumeOf(folder.path()));
    EXPECT_EQ(files.volumeOf(folder.at("MP_ROOT/101ANV01")), files.volumeOf("/proc"));  // a link
    EXPECT_THROW(files.volumeOf(folder.at("missing")), PlatformError);
    folder.write("src/clip.MP4", std::string(3 << 20, 'v'));
    folder.write("dst/MAQ12301.MP4", "old");
    const auto make = [&](const std::string& name, const char* bytes, int hoursSilent) {
        folder.write("dst/" + name, bytes);
        const struct timespec silent[2] = {{0, UTIME_OMIT},
                                           {time(nullptr) - hoursSilent * 3600, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, folder.at("dst/" + name).c_str(), silent, 0), 0);
    };
    std::vector<std::string> staying{"MAQ12301.MP4", "MAQ12308.MP4"};
    make("MAQ12308.MP4", "a video", 25);
    // Empty files: each one's name, the hours that nothing wrote to it, and whether it stays.
    for (const auto& [name, hoursSilent, stays] :
         {std::tuple{".velmora-copy-Ab12Cd", 0, false},
          {".velmora-copy-held00", 0, true},  // locked below
          {".velmora-copy-A.txt", 25, true},
          {".MAQ12302.MP4.velmora-Ab12Cd", 25, false},
          {".maq900100.thm.velmora-x1Y2z3", 25, false},
          {".MAQ12303.MP4.velmora-Ab12Cd", 3, true},
          {".x.velmora-123456", 25, true},
          {".MAQ12304.MP4.velmora-abc", 25, true},
          {".MAQ09904.MP4.velmora-Ab12Cd", 25, true},
          {".MAQ1234.MP4.velmora-Ab12Cd", 25, true},
          {"MAQ12305.THM", 25, false},
          {"maq123b7.mp4", 25, false},
          {"MAQ1237A.MP4", 25, true},
          {"MAQ12306.MP4", 3, true},
          {"MAQ12307.MP4x", 25, true}}) {
        make(name, "", hoursSilent);
        if (stays) {
            staying.emplace_back(name);
        }
    }
    std::sort(staying.begin(), staying.end());
    const UniqueFd held(open(folder.at("dst/.velmora-copy-held00").c_str(), O_RDONLY));
    ASSERT_EQ(flock(held.get(), LOCK_EX), 0);
    files.removeLeftovers(folder.at("DST"));
    const std::string source = folder.at("src/clip.MP4");
    EXPECT_THROW(files.copyFile(source, folder.at("dst/maq12301.mp4")), NameTaken);
    EXPECT_EQ(folder.read("dst/MAQ12301.MP4"), "old");
    for (const std::string& from : {folder.at("src/missing.MP4"), folder.at("src")}) {
        EXPECT_THROW(files.copyFile(from, folder.at("dst/MAQ12309.MP4")), PlatformError);
    }
    EXPECT_THROW(files.copyFile(source, folder.at("nowhere/new.MP4")), PlatformError);
    EXPECT_EQ(folder.names("dst"), staying);

    const struct timespec times[2] = {{1000000000, 0}, {1200000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, source.c_str(), times, 0), 0);
    std::uint64_t reported = 0;
    files.copyFile(source, folder.at("dst/MAQ12309.MP4"),
                   [&](std::uint64_t copied, std::uint64_t total) {
                       reported = copied == total ? total : 0;
                       return true;
                   });
    EXPECT_EQ(reported, 3u << 20);
    EXPECT_GT(syncsOfTheCopysFolder, 0) << "a power cut could still take the copy's name";
    EXPECT_EQ(folder.read("dst/MAQ12309.MP4"), folder.read("src/clip.MP4"));
    struct stat info {};
    ASSERT_EQ(stat(folder.at("dst/MAQ12309.MP4").c_str(), &info), 0);
    EXPECT_EQ(info.st_mtim.tv_sec, 1200000000);
    // A leftover that the sweep opened, then renamed by its copy, another file taking its name.
    folder.write("dst/.velmora-copy-Moved0");
    const UniqueFd opened(open(folder.at("dst/.velmora-copy-Moved0").c_str(), O_RDONLY));
    folder.write("dst/.velmora-copy-Other0", "another");
    std::filesystem::rename(folder.at("dst/.velmora-copy-Other0"),
                            folder.at("dst/.velmora-copy-Moved0"));
    const UniqueFd dst(open(folder.at("dst").c_str(), O_RDONLY | O_DIRECTORY));
    removeOpenedLeftover(dst.get(), ".velmora-copy-Moved0", opened.get());
    EXPECT_EQ(folder.read("dst/.velmora-copy-Moved0"), "another")
        << "the sweep removed a file that took the name of the leftover it had opened";
    // The mount table: optional fields come and go before the "-"; paths carry the kernel's
    // escapes, undone; a line cut short names no mount.
    std::vector<std::string> mounts;
    for (const Mount& mount : parseMountInfo(
             "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
             "40 22 8:17 / /media/me/My\\040Stick rw master:2 shared:7 - vfat /dev/sdb1 rw\n"
             "41 22 0:50 / /mnt/a\\134b\\011c\\04 rw - fuse.sshfs me@host:/x\\040y rw\n"
             "42 22 0:51 / /mnt/cut rw")) {
        mounts.push_back(mount.mountPoint + " of " + mount.source);
    }
    EXPECT_EQ(mounts, (std::vector<std::string>{"/ of /dev/sda1", "/media/me/My Stick of /dev/sdb1",
                                                "/mnt/a\\b\tc\\04 of me@host:/x y"}));
}

// A copy whose end is no whole sector reads back where unaligned unbuffered reads are refused,
// and one whose file system refuses a later one is read through the cache from then on: neither
// is a copy that differs. A cancel seen while the copy takes its name takes the name back.
TEST(FileOperationsTest, ACopyReadsBackWhereverTheFileSystemCanAndACancelAtItsNameLeavesNone) {
    const FileOperations files;
    const test::TempFolder folder;
    folder.write("clip.MP4", std::string((3 << 20) + 7, 'v') + "its end");
    for (const Direct how : {Direct::AsToday, Direct::RefusesUnaligned, Direct::RefusesThird}) {
        direct = how, directReads = 0;
        const std::string copy = folder.at("MAQ1230" + std::to_string(int(how)) + ".MP4");
        EXPECT_EQ(files.copyFile(folder.at("clip.MP4"), copy), FileOperations::CopyOutcome::Copied);
        EXPECT_EQ(files.readsBack(folder.at("clip.MP4"), copy), read_back::Comparison::Same);
        EXPECT_GT(directReads, 2) << "nothing was read past the cache";
    }
    const std::string late = folder.at("MAQ12309.MP4");
    EXPECT_EQ(files.copyFile(folder.at("clip.MP4"), late,
                             [&](auto, auto) { return !std::filesystem::exists(late); }),
              FileOperations::CopyOutcome::Cancelled);
    EXPECT_EQ(folder.names(".").size(), 4u) << "the cancelled copy left something";
}

}  // namespace
}  // namespace velmora::posix
