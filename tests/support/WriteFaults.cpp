#include "support/WriteFaults.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<bool> active{false};
char folder[PATH_MAX];
qint64 room = -1;
bool syncFails = false;
int failure = ENOSPC;

template <typename F> F real(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// Whether fd is a regular file inside the folder.
bool affected(int fd)
{
    if (!active.load())
        return false;
    char link[64], target[PATH_MAX];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, target, sizeof target - 1);
    if (n <= 0)
        return false;
    target[n] = 0;
    const size_t length = std::strlen(folder);
    return std::strncmp(target, folder, length) == 0 && target[length] == '/';
}

} // namespace

WriteFault::WriteFault(const QString& path, qint64 bytes, bool sync, int error)
{
    // As /proc names it: with symbolic links followed.
    std::snprintf(folder, sizeof folder, "%s", QFile::encodeName(QFileInfo(path).canonicalFilePath()).constData());
    room = bytes;
    syncFails = sync;
    failure = error;
    active = true;
}

WriteFault::~WriteFault()
{
    active = false;
}

extern "C" ssize_t write(int fd, const void* buffer, size_t count)
{
    static const auto next = real<ssize_t (*)(int, const void*, size_t)>("write");
    if (room >= 0 && affected(fd)) {
        const qint64 left = room - qint64(::lseek(fd, 0, SEEK_CUR));
        if (left <= 0) {
            errno = failure;
            return -1;
        }
        count = size_t(std::min<qint64>(qint64(count), left));
    }
    return next(fd, buffer, count);
}

extern "C" int fsync(int fd)
{
    static const auto next = real<int (*)(int)>("fsync");
    if (syncFails && affected(fd)) {
        errno = EIO;
        return -1;
    }
    return next(fd);
}
