#include "io/OutsideFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

OutsideFile::~OutsideFile()
{
    close();
}

void OutsideFile::close()
{
    if (m_fd != -1)
        ::close(m_fd);
    m_fd = -1;
}

bool OutsideFile::fail(Problem problem, const QString& text)
{
    close();
    m_problem = problem;
    m_errorString = text;
    return false;
}

bool OutsideFile::open(const QString& path, qint64 limit)
{
    close();
    m_path = path;
    m_limit = limit;
    m_problem = Problem::None;
    m_errorString.clear();
    const QString name = QFileInfo(path).fileName();
    // Without O_NONBLOCK a pipe with no writer would hold open() for ever.
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (m_fd == -1) {
        const int error = errno;
        if (error == ELOOP)
            return fail(Problem::CannotOpen, tr("%1 is a symbolic link that leads round in a loop.").arg(name));
        return fail(Problem::CannotOpen,
                    tr("%1 could not be opened: %2").arg(name, QString::fromLocal8Bit(std::strerror(error))));
    }
    // Judged on what was opened, not on the name, which may have changed since.
    struct stat info;
    if (::fstat(m_fd, &info) == -1)
        return fail(Problem::CannotOpen,
                    tr("%1 could not be opened: %2").arg(name, QString::fromLocal8Bit(std::strerror(errno))));
    if (S_ISDIR(info.st_mode))
        return fail(Problem::NotAFile, tr("%1 is a folder, not a file.").arg(name));
    if (S_ISFIFO(info.st_mode))
        return fail(Problem::NotAFile, tr("%1 is a named pipe, not a file.").arg(name));
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return fail(Problem::NotAFile, tr("%1 is a device, not a file.").arg(name));
    if (!S_ISREG(info.st_mode))
        return fail(Problem::NotAFile, tr("%1 is not a file.").arg(name));
    m_size = qint64(info.st_size);
    if (m_size > limit)
        return fail(Problem::TooLarge, tr("%1 is too large: at most %2 are read.")
                                           .arg(name, QLocale().formattedDataSize(limit, 0)));
    return true;
}

std::optional<QByteArray> OutsideFile::readAll()
{
    if (m_fd == -1)
        return std::nullopt;
    const QString name = QFileInfo(m_path).fileName();
    // One byte more than the limit tells a file that grew past it.
    const qint64 most = m_limit + 1;
    QByteArray bytes;
    bytes.resize(std::min(m_size + 1, most));
    qint64 got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got >= most)
                break;
            // A file that says it is empty may still have content (/proc).
            bytes.resize(std::min(most, std::max<qint64>(got * 2, 4096)));
        }
        const ssize_t n = ::read(m_fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n > 0) {
            got += n;
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            const int error = errno;
            fail(Problem::CannotRead,
                 tr("%1 could not be read: %2").arg(name, QString::fromLocal8Bit(std::strerror(error))));
            return std::nullopt;
        }
    }
    close();
    if (got > m_limit) {
        fail(Problem::TooLarge,
             tr("%1 is too large: at most %2 are read.").arg(name, QLocale().formattedDataSize(m_limit, 0)));
        return std::nullopt;
    }
    bytes.truncate(got);
    return bytes;
}

std::optional<QByteArray> OutsideFile::read(const QString& path, qint64 limit, QString* error, Problem* problem)
{
    OutsideFile file;
    std::optional<QByteArray> bytes;
    if (file.open(path, limit))
        bytes = file.readAll();
    if (!bytes) {
        if (error)
            *error = file.errorString();
        if (problem)
            *problem = file.problem();
    }
    return bytes;
}
