/* A stick that answers slowly: serves a folder through FUSE and answers every request only after
 * a set delay, and the first request after an idle pause after a longer one, as a stick or disk
 * waking from sleep does. Nothing is cached by the kernel, so every look at the stick waits.
 * Usage: slow_fuse FOLDER MOUNTPOINT DELAY [IDLE WAKE] [FUSE OPTIONS...]
 *   DELAY seconds before each answer; after IDLE seconds without a request, WAKE seconds
 *   before the next answer instead. Runs in the foreground until unmounted. */
#define FUSE_USE_VERSION 26
#define _GNU_SOURCE
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <time.h>
#include <unistd.h>

static const char* folder;
static double delay, idle, wake;
static double lastAnswer;
static pthread_mutex_t timing = PTHREAD_MUTEX_INITIALIZER;

static double now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

static void answerLater(void) {
    pthread_mutex_lock(&timing);
    const int waking = idle > 0 && now() - lastAnswer >= idle;
    pthread_mutex_unlock(&timing);
    const double seconds = waking ? wake : delay;
    struct timespec pause = {(time_t)seconds, (long)((seconds - (time_t)seconds) * 1e9)};
    while (nanosleep(&pause, &pause) != 0 && errno == EINTR) {
    }
    pthread_mutex_lock(&timing);
    lastAnswer = now();
    pthread_mutex_unlock(&timing);
}

/* The path inside the served folder; each operation waits first. */
#define INSIDE(path) \
    char real[4096]; \
    answerLater();   \
    snprintf(real, sizeof real, "%s%s", folder, path)
#define RESULT(call) return (call) == -1 ? -errno : 0

static int slowGetattr(const char* path, struct stat* info) {
    INSIDE(path);
    RESULT(lstat(real, info));
}
static int slowAccess(const char* path, int mask) {
    INSIDE(path);
    RESULT(access(real, mask));
}
static int slowReaddir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t offset,
                       struct fuse_file_info* file) {
    (void)offset;
    (void)file;
    INSIDE(path);
    DIR* dir = opendir(real);
    if (dir == NULL) {
        return -errno;
    }
    for (struct dirent* entry; (entry = readdir(dir)) != NULL;) {
        struct stat info = {.st_ino = entry->d_ino, .st_mode = (mode_t)DTTOIF(entry->d_type)};
        if (fill(buffer, entry->d_name, &info, 0)) {
            break;
        }
    }
    closedir(dir);
    return 0;
}
static int slowMkdir(const char* path, mode_t mode) {
    INSIDE(path);
    RESULT(mkdir(real, mode));
}
static int slowUnlink(const char* path) {
    INSIDE(path);
    RESULT(unlink(real));
}
static int slowRmdir(const char* path) {
    INSIDE(path);
    RESULT(rmdir(real));
}
static int slowRename(const char* from, const char* to) {
    INSIDE(from);
    char target[4096];
    snprintf(target, sizeof target, "%s%s", folder, to);
    RESULT(rename(real, target));
}
static int slowChmod(const char* path, mode_t mode) {
    INSIDE(path);
    RESULT(chmod(real, mode));
}
static int slowTruncate(const char* path, off_t size) {
    INSIDE(path);
    RESULT(truncate(real, size));
}
static int slowUtimens(const char* path, const struct timespec times[2]) {
    INSIDE(path);
    RESULT(utimensat(AT_FDCWD, real, times, AT_SYMLINK_NOFOLLOW));
}
static int slowOpen(const char* path, struct fuse_file_info* file) {
    INSIDE(path);
    const int fd = open(real, file->flags);
    file->fh = (uint64_t)fd;
    return fd == -1 ? -errno : 0;
}
static int slowCreate(const char* path, mode_t mode, struct fuse_file_info* file) {
    INSIDE(path);
    const int fd = open(real, file->flags, mode);
    file->fh = (uint64_t)fd;
    return fd == -1 ? -errno : 0;
}
static int slowRead(const char* path, char* buffer, size_t size, off_t offset,
                    struct fuse_file_info* file) {
    (void)path;
    answerLater();
    const ssize_t n = pread((int)file->fh, buffer, size, offset);
    return n == -1 ? -errno : (int)n;
}
static int slowWrite(const char* path, const char* data, size_t size, off_t offset,
                     struct fuse_file_info* file) {
    (void)path;
    answerLater();
    const ssize_t n = pwrite((int)file->fh, data, size, offset);
    return n == -1 ? -errno : (int)n;
}
static int slowStatfs(const char* path, struct statvfs* info) {
    INSIDE(path);
    RESULT(statvfs(real, info));
}
static int slowRelease(const char* path, struct fuse_file_info* file) {
    (void)path;
    close((int)file->fh);
    return 0;
}
static int slowFsync(const char* path, int dataOnly, struct fuse_file_info* file) {
    (void)path;
    answerLater();
    RESULT(dataOnly ? fdatasync((int)file->fh) : fsync((int)file->fh));
}

static struct fuse_operations operations = {
    .getattr = slowGetattr,
    .access = slowAccess,
    .readdir = slowReaddir,
    .mkdir = slowMkdir,
    .unlink = slowUnlink,
    .rmdir = slowRmdir,
    .rename = slowRename,
    .chmod = slowChmod,
    .truncate = slowTruncate,
    .utimens = slowUtimens,
    .open = slowOpen,
    .create = slowCreate,
    .read = slowRead,
    .write = slowWrite,
    .statfs = slowStatfs,
    .release = slowRelease,
    .fsync = slowFsync,
};

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: %s FOLDER MOUNTPOINT DELAY [IDLE WAKE] [FUSE OPTIONS...]\n",
                argv[0]);
        return 2;
    }
    folder = realpath(argv[1], NULL);
    delay = atof(argv[3]);
    int next = 4;
    if (argc >= 6 && argv[4][0] != '-') {
        idle = atof(argv[4]);
        wake = atof(argv[5]);
        next = 6;
    }
    lastAnswer = now();
    /* Foreground; no kernel cache of names or attributes, so every look waits on the server. */
    char* fuseArgs[64] = {argv[0], argv[2], "-f", "-o",
                          "entry_timeout=0,attr_timeout=0,negative_timeout=0,fsname=slowstick"};
    int count = 5;
    for (int i = next; i < argc && count < 63; ++i) {
        fuseArgs[count++] = argv[i];
    }
    return fuse_main(count, fuseArgs, &operations, NULL);
}
