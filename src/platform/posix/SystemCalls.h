#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstdio>

#include "DriveCalls.h"

// The system calls that may wait on a drive, each telling DriveCalls that the drive answered
// once it returns, whatever it returns: one operation asks a slow drive many things (a path
// resolved folder by folder, a listing read in parts, a copy written block by block), and the
// drive counts as gone only after it has been silent, not after the whole has taken long.
// errno is as the call left it.
namespace velmora::posix::sys {

template <typename Result>
Result answered(Result result) {
    DriveCalls::answered();
    return result;
}

inline int stat(const char* path, struct stat* info) {
    return answered(::stat(path, info));
}
inline int lstat(const char* path, struct stat* info) {
    return answered(::lstat(path, info));
}
inline int fstat(int fd, struct stat* info) {
    return answered(::fstat(fd, info));
}
inline int fstatat(int folder, const char* name, struct stat* info, int flags) {
    return answered(::fstatat(folder, name, info, flags));
}
inline int statx(int folder, const char* path, int flags, unsigned mask, struct statx* info) {
    return answered(::statx(folder, path, flags, mask, info));
}
inline int statvfs(const char* path, struct statvfs* info) {
    return answered(::statvfs(path, info));
}
inline int open(const char* path, int flags, mode_t mode = 0) {
    return answered(::open(path, flags, mode));
}
inline int openat(int folder, const char* name, int flags, mode_t mode = 0) {
    return answered(::openat(folder, name, flags, mode));
}
inline int close(int fd) {
    return answered(::close(fd));
}
inline DIR* opendir(const char* path) {
    return answered(::opendir(path));
}
inline DIR* fdopendir(int fd) {
    return answered(::fdopendir(fd));
}
inline dirent* readdir(DIR* dir) {
    return answered(::readdir(dir));
}
inline int closedir(DIR* dir) {
    return answered(::closedir(dir));
}
inline ssize_t read(int fd, void* buffer, std::size_t size) {
    return answered(::read(fd, buffer, size));
}
inline ssize_t pread(int fd, void* buffer, std::size_t size, off_t at) {
    return answered(::pread(fd, buffer, size, at));
}
inline ssize_t write(int fd, const void* data, std::size_t size) {
    return answered(::write(fd, data, size));
}
inline ssize_t copy_file_range(int from, off_t* fromAt, int to, off_t* toAt, std::size_t size,
                               unsigned flags) {
    return answered(::copy_file_range(from, fromAt, to, toAt, size, flags));
}
inline int sync_file_range(int fd, off_t start, off_t length, unsigned flags) {
    return answered(::sync_file_range(fd, start, length, flags));
}
inline int fsync(int fd) {
    return answered(::fsync(fd));
}
inline int fallocate(int fd, int mode, off_t start, off_t length) {
    return answered(::fallocate(fd, mode, start, length));
}
inline int futimens(int fd, const struct timespec times[2]) {
    return answered(::futimens(fd, times));
}
inline int fchmod(int fd, mode_t mode) {
    return answered(::fchmod(fd, mode));
}
inline int flock(int fd, int operation) {
    return answered(::flock(fd, operation));
}
inline int mkdir(const char* path, mode_t mode) {
    return answered(::mkdir(path, mode));
}
inline int unlink(const char* path) {
    return answered(::unlink(path));
}
inline int unlinkat(int folder, const char* name, int flags) {
    return answered(::unlinkat(folder, name, flags));
}
inline int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
    return answered(::renameat(fromFolder, from, toFolder, to));
}
inline int renameat2(int fromFolder, const char* from, int toFolder, const char* to,
                     unsigned flags) {
    return answered(::renameat2(fromFolder, from, toFolder, to, flags));
}

}  // namespace velmora::posix::sys
