/* A stick that answers slowly: serves FOLDER at MOUNTPOINT, the kernel caching nothing, and answers
 * each request DELAY seconds late; after IDLE seconds without a request, WAKE seconds late, as a
 * stick waking from sleep. Runs until unmounted (a missing fsync the kernel then takes as done).
 * With --quick-until-usr1, it answers at once until it gets SIGUSR1. SIGUSR2 holds renames,
 * each with a file FOLDER.held while it waits, until the next SIGUSR2: a stick that finishes
 * a step long after it was asked.
 * Usage: slow_fuse FOLDER MOUNTPOINT DELAY [IDLE WAKE] [--quick-until-usr1] [FUSE OPTIONS...] */
#define FUSE_USE_VERSION 26
#define _GNU_SOURCE
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <pthread.h>
#include <signal.h>
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
static volatile sig_atomic_t slow = 1;
static pthread_mutex_t timing = PTHREAD_MUTEX_INITIALIZER;

static double now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

static volatile sig_atomic_t holdRenames = 0;
static void toggleRenames(int number) {
    (void)number;
    holdRenames = !holdRenames;
}

static void slowDown(int number) {
    (void)number;
    slow = 1;
}

static void answerLater(void) {
    if (!slow) {
        return;
    }
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
#define PATH_OPERATION(name, parameters, call) \
    static int name parameters {               \
        INSIDE(path);                          \
        RESULT(call);                          \
    }

PATH_OPERATION(slowGetattr, (const char* path, struct stat* info), lstat(real, info))
PATH_OPERATION(slowMkdir, (const char* path, mode_t mode), mkdir(real, mode))
PATH_OPERATION(slowUnlink, (const char* path), unlink(real))
PATH_OPERATION(slowChmod, (const char* path, mode_t mode), chmod(real, mode))
PATH_OPERATION(slowStatfs, (const char* path, struct statvfs* info), statvfs(real, info))
PATH_OPERATION(slowUtimens, (const char* path, const struct timespec times[2]),
               utimensat(AT_FDCWD, real, times, AT_SYMLINK_NOFOLLOW))

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
static int slowRename(const char* from, const char* to) {
    INSIDE(from);
    char target[4096], held[4096];
    snprintf(target, sizeof target, "%s%s", folder, to);
    snprintf(held, sizeof held, "%s.held", folder);
    for (const struct timespec tick = {0, 10000000}; holdRenames; nanosleep(&tick, NULL)) {
        close(open(held, O_CREAT | O_WRONLY, 0600));
    }
    unlink(held);
    RESULT(rename(real, target));
}
/* Without O_DIRECT: the kernel takes care of it for the program, and this server's own reads
 * into its unaligned buffers would then fail now and then (EINVAL). */
static int slowCreate(const char* path, mode_t mode, struct fuse_file_info* file) {
    INSIDE(path);
    const int fd = open(real, file->flags & ~O_DIRECT, mode);
    file->fh = (uint64_t)fd;
    return fd == -1 ? -errno : 0;
}
static int slowOpen(const char* path, struct fuse_file_info* file) {
    return slowCreate(path, 0, file);
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
static int slowRelease(const char* path, struct fuse_file_info* file) {
    (void)path;
    close((int)file->fh);
    return 0;
}

static struct fuse_operations operations = {
    .getattr = slowGetattr,
    .readdir = slowReaddir,
    .mkdir = slowMkdir,
    .unlink = slowUnlink,
    .rename = slowRename,
    .chmod = slowChmod,
    .utimens = slowUtimens,
    .open = slowOpen,
    .create = slowCreate,
    .read = slowRead,
    .write = slowWrite,
    .statfs = slowStatfs,
    .release = slowRelease,
};

int main(int argc, char** argv) {
    if (argc < 4) {
        return 2;  // see the usage above
    }
    folder = realpath(argv[1], NULL);
    delay = atof(argv[3]);
    int next = 4;
    if (argc >= 6 && argv[4][0] != '-') {
        idle = atof(argv[4]);
        wake = atof(argv[5]);
        next = 6;
    }
    if (next < argc && strcmp(argv[next], "--quick-until-usr1") == 0) {
        slow = 0;
        signal(SIGUSR1, slowDown);
        ++next;
    }
    signal(SIGUSR2, toggleRenames);
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
