#include "io/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// A symbolic link is kept: what it points to is replaced.
QString resolved(const QString& path)
{
    struct stat info;
    if (::lstat(native(path).constData(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char target[PATH_MAX];
        if (::realpath(native(path).constData(), target))
            return QFile::decodeName(target);
    }
    return path;
}

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// The temporary names of the files being written, where a signal handler may
// read them: each a copy of its own, freed only after its slot is cleared.
std::atomic<char*> heldTemporaries[8];
static_assert(std::atomic<char*>::is_always_lock_free);

} // namespace

void AtomicFile::holdTemporary()
{
    char* name = ::strdup(m_temporary.constData());
    for (int i = 0; name && i < int(std::size(heldTemporaries)); ++i) {
        char* free = nullptr;
        if (heldTemporaries[i].compare_exchange_strong(free, name)) {
            m_heldSlot = i;
            return;
        }
    }
    std::free(name); // more files at once than slots: left as an interrupted write leaves them
}

void AtomicFile::forgetTemporary()
{
    if (m_heldSlot >= 0)
        std::free(heldTemporaries[m_heldSlot].exchange(nullptr));
    m_heldSlot = -1;
}

void AtomicFile::removeTemporariesNow() noexcept
{
    for (std::atomic<char*>& held : heldTemporaries)
        if (const char* name = held.load())
            ::unlink(name);
}

AtomicFile::AtomicFile(const QString& path, Access access)
{
    open(path, access);
}

AtomicFile::~AtomicFile()
{
    cancel();
}

QByteArray AtomicFile::temporaryName() const
{
    const QByteArray target = native(m_path);
    const qsizetype slash = target.lastIndexOf('/');
    return target.left(slash + 1) + '.' + target.mid(slash + 1) + '.' +
           QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
}

bool AtomicFile::open(const QString& path, Access access, Temporary temporary)
{
    cancel();
    m_error = 0;
    m_path = resolved(path);
    const QByteArray target = native(m_path);
    struct stat old;
    m_targetExisted = ::stat(target.constData(), &old) == 0;
    if (m_targetExisted && S_ISDIR(old.st_mode))
        return failWith(EISDIR);
    // A new file gets what the umask allows (the kernel applies it).
    const mode_t mode = access == Access::Private ? 0600 : 0666;
    // The unnamed file is named at commit through /proc; without either, a named one.
    if (temporary == Temporary::Unnamed && ::access("/proc/self/fd", X_OK) == 0)
        m_fd = ::open(folderOf(target).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    for (int attempt = 0; m_fd == -1 && attempt < 100; ++attempt) {
        m_temporary = temporaryName();
        m_fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (m_fd != -1 || errno != EEXIST)
            break;
    }
    if (m_fd == -1) {
        int error = errno;
        m_temporary.clear();
        // A folder that is there but makes no new files (/proc, /sys) says ENOENT too.
        struct stat folder;
        if (error == ENOENT && ::stat(folderOf(target).constData(), &folder) == 0 && S_ISDIR(folder.st_mode))
            error = EACCES;
        return failWith(error);
    }
    if (!m_temporary.isEmpty())
        holdTemporary();
    // Saving over a file keeps who may read it.
    if (access == Access::Usual && m_targetExisted)
        ::fchmod(m_fd, old.st_mode & 07777);
    return true;
}

bool AtomicFile::write(const char* data, qint64 size)
{
    if (m_fd == -1)
        return false;
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(std::min<qint64>(size, qint64(1) << 30)));
        if (n > 0) {
            data += n;
            size -= n;
        } else if (n == 0 || errno != EINTR) {
            // A write that takes nothing without saying why: the disk has no room.
            return failWith(n == 0 ? ENOSPC : errno);
        }
    }
    return true;
}

bool AtomicFile::commit()
{
    if (m_fd == -1)
        return false;
    if (::fsync(m_fd) == -1 || !nameTemporary())
        return failWith(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) == -1) {
        m_fd = -2; // closed: only the name is left to remove
        return failWith(errno);
    }
    const QByteArray target = native(m_path);
    if (::rename(m_temporary.constData(), target.constData()) == -1) {
        m_fd = -2;
        return failWith(errno);
    }
    forgetTemporary();
    m_temporary.clear();
    // The rename is durable only once the folder is; a folder that cannot be
    // synced (some file systems) has done what it can.
    const int folder = ::open(folderOf(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder != -1) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

bool AtomicFile::nameTemporary()
{
    if (!m_temporary.isEmpty())
        return true;
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_temporary = temporaryName();
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, m_temporary.constData(), AT_SYMLINK_FOLLOW) == 0) {
            holdTemporary();
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    m_temporary.clear();
    return false;
}

void AtomicFile::cancel()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_fd != -1 && !m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    forgetTemporary();
    m_fd = -1;
    m_temporary.clear();
}

void AtomicFile::fail(int error)
{
    failWith(error);
}

bool AtomicFile::failWith(int error)
{
    m_error = error ? error : EIO;
    cancel();
    return false;
}

QString AtomicFile::errorString() const
{
    return m_error ? failureText(m_path, m_error, m_targetExisted) : QString();
}

QString AtomicFile::failureText(const QString& path, int error, bool oldKept)
{
    QString cause;
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        cause = tr("The disk is full");
        break;
    case EFBIG:
        cause = tr("The file is larger than the disk allows");
        break;
    case EROFS:
        cause = tr("The disk is read-only");
        break;
    case EACCES:
    case EPERM:
        cause = tr("You may not write in this folder");
        break;
    case EIO:
        cause = tr("The disk reported an error");
        break;
    case ENOENT:
    case ENOTDIR:
        return tr("The folder of %1 is gone: it was not saved.").arg(QFileInfo(path).fileName());
    case EISDIR:
        return tr("%1 is a folder: it was not saved.").arg(QFileInfo(path).fileName());
    default:
        cause = QString::fromLocal8Bit(std::strerror(error));
    }
    const QString name = QFileInfo(path).fileName();
    return oldKept ? tr("%1: %2 was not saved; the old version is kept.").arg(cause, name)
                   : tr("%1: %2 was not saved.").arg(cause, name);
}

bool AtomicFile::writeAll(const QString& path, const QByteArray& bytes, QString* error, Access access)
{
    AtomicFile file;
    if (file.open(path, access) && file.write(bytes) && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}
