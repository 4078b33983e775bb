#include "VedORovav.h"

#include "DriverCheck.h"
#include "HandsetDevices.h"
#include "ProtocolLog.h"
#include "ShiftJIS.h"

#include "PropertyList.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

QString VedORovavException::localizedReason() const
{
    return QCoreApplication::translate("VedORovav", m_reason.constData());
}

QString VedORovavException::localizedMessage() const
{
    return m_details.isEmpty() ? localizedReason() : localizedReason() + QLatin1Char('\n') + m_details;
}

namespace
{
constexpr int HeaderLength = 12;
constexpr int LoginBufferLength = 4096;

QString tr(const char* text)
{
    return QCoreApplication::translate("VedORovav", text);
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(strerror(error));
}

QString describe(const struct termios& t)
{
    return QStringLiteral("iflag 0x%1, oflag 0x%2, cflag 0x%3, lflag 0x%4, VMIN %5, VTIME %6")
        .arg(t.c_iflag, 0, 16)
        .arg(t.c_oflag, 0, 16)
        .arg(t.c_cflag, 0, 16)
        .arg(t.c_lflag, 0, 16)
        .arg(t.c_cc[VMIN])
        .arg(t.c_cc[VTIME]);
}

// Why a path could not be opened, and what to do about it.
QString openFailure(const QString& path, int error)
{
    const QString cause = QStringLiteral("%1: %2.").arg(path, systemError(error));
    switch (error) {
    case EACCES:
    case EPERM:
        return cause + QLatin1Char(' ') +
               QCoreApplication::translate(
                   "VedORovav",
                   "You may not use this port. Install the udev rule that comes with EdgeMarks "
                   "(it lets the desktop's user open the AIR-EDGE PHONE), or join the group \"dialout\" "
                   "and log in again.");
    case EBUSY:
        return cause + QLatin1Char(' ') +
               QCoreApplication::translate(
                   "VedORovav",
                   "Another program holds the port, for example ModemManager or a second EdgeMarks. "
                   "Close it; the udev rule that comes with EdgeMarks keeps ModemManager away.");
    default:
        return cause;
    }
}

QString fileKind(mode_t mode)
{
    if (S_ISREG(mode))
        return QCoreApplication::translate("VedORovav", "a regular file");
    if (S_ISDIR(mode))
        return QCoreApplication::translate("VedORovav", "a folder");
    if (S_ISFIFO(mode))
        return QCoreApplication::translate("VedORovav", "a FIFO");
    if (S_ISSOCK(mode))
        return QCoreApplication::translate("VedORovav", "a socket");
    if (S_ISBLK(mode))
        return QCoreApplication::translate("VedORovav", "a block device");
    return QCoreApplication::translate("VedORovav", "not a terminal");
}

// The leading integer of a version component, read as atoi reads it.
int leadingInteger(const QString& component)
{
    const QByteArray bytes = component.toUtf8();
    return std::atoi(bytes.constData());
}
} // namespace

VedORovav::VedORovav(QObject* parentWindow) : m_parentWindow(parentWindow), m_timeoutMs(timeoutSetting()) {}

VedORovav::~VedORovav()
{
    try {
        close();
    } catch (...) {
        // Destruction never raises; close() itself completes on its own.
    }
}

QString VedORovav::devicePath()
{
    return HandsetDevices::chosenDevice().path;
}

bool VedORovav::usesDriverBundle()
{
#ifdef Q_OS_LINUX
    return !qEnvironmentVariableIsEmpty("EDGEMARKS_DRIVER_BUNDLE");
#else
    return true;
#endif
}

QString VedORovav::driverBundlePath()
{
    const QByteArray env = qgetenv("EDGEMARKS_DRIVER_BUNDLE");
    return env.isEmpty() ? QString::fromLatin1(DefaultDriverBundle) : QString::fromLocal8Bit(env);
}

std::optional<int> VedORovav::timeoutSetting()
{
    const QString text = qEnvironmentVariable("EDGEMARKS_TIMEOUT").trimmed();
    if (text.isEmpty())
        return DefaultTimeoutSeconds * 1000;
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !(seconds >= 0))
        return std::nullopt;
    if (seconds == 0 || seconds > 86400)
        return -1; // wait for ever
    return std::max(1, int(seconds * 1000));
}

bool VedORovav::isAcceptedDriverVersion(const QString& version)
{
    const QStringList components = version.split(QLatin1Char('.'));
    if (components.size() < 2)
        return false;
    const int major = leadingInteger(components[0]);
    const int minor = leadingInteger(components[1]);
    return major > 1 || (major == 1 && minor > 1);
}

bool VedORovav::existsDriver()
{
    if (!usesDriverBundle())
        return DriverCheck::cdcAcm() != DriverCheck::CdcAcm::Missing;
    QFile info(driverBundlePath() + QStringLiteral("/Contents/Info.plist"));
    if (!info.open(QIODevice::ReadOnly) || info.size() > (1 << 20))
        return false;
    QString version;
    try {
        const PropertyList plist = PropertyList::fromData(info.readAll());
        if (plist.type(plist.root()) == PropertyList::Type::Dictionary) {
            const PropertyList::Ref v = plist.find(plist.root(), u"CFBundleShortVersionString");
            if (v >= 0 && plist.type(v) == PropertyList::Type::String)
                version = plist.string(v);
        }
    } catch (const PropertyListError&) {
        return false;
    }
    return !version.isNull() && isAcceptedDriverVersion(version);
}

QString VedORovav::humanReadableDriverName()
{
    if (!usesDriverBundle())
        return tr("USB modem driver of the Linux kernel (cdc_acm)");
    return tr("AH-K3001V USB Driver %1.%2").arg(1).arg(2);
}

QString VedORovav::driverInstructions()
{
    if (!usesDriverBundle()) {
        const QString modules = DriverCheck::runningKernelModulesDir();
        return tr("The running kernel has no cdc_acm module (looked for in /sys and %1). Install the modules "
                  "of the running kernel (on Debian, its linux-image package) and load the driver with "
                  "\"sudo modprobe cdc_acm\". The application will now quit.")
            .arg(modules);
    }
    return tr("You need to install the %1 or later. The application will be quited.")
        .arg(humanReadableDriverName());
}

void VedORovav::pause()
{
    const qint64 end = QDateTime::currentMSecsSinceEpoch() + RetryPauseMilliseconds;
    for (qint64 now = QDateTime::currentMSecsSinceEpoch(); now < end;
         now = QDateTime::currentMSecsSinceEpoch()) {
        checkCancelled();
        const qint64 slice = std::min<qint64>(end - now, CancelSliceMilliseconds);
        struct timespec t {
            0, long(slice) * 1000000L
        };
        nanosleep(&t, nullptr); // a signal ends the slice early, which is what it is for
    }
    checkCancelled();
}

void VedORovav::checkCancelled() const
{
    if (m_cancel && m_uncancellable == 0 && m_cancel->load())
        throw VedORovavException(Cancelled);
}

qint64 VedORovav::replyDeadline() const
{
    return *m_timeoutMs < 0 ? -1 : QDateTime::currentMSecsSinceEpoch() + *m_timeoutMs;
}

void VedORovav::waitFor(short events, qint64 deadline)
{
    for (;;) {
        checkCancelled();
        int slice = m_cancel ? CancelSliceMilliseconds : -1;
        if (deadline >= 0) {
            const qint64 left = deadline - QDateTime::currentMSecsSinceEpoch();
            if (left <= 0)
                throw VedORovavException(
                    events == POLLIN ? NoAnswer : CouldNotWrite,
                    events == POLLIN
                        ? QString()
                        : QStringLiteral("%1: the port took nothing for too long.").arg(m_openPath));
            slice = slice < 0 ? int(std::min<qint64>(left, INT_MAX)) : int(std::min<qint64>(left, slice));
        }
        struct pollfd p {
            m_fileDescriptor, events, 0
        };
        const int ready = ::poll(&p, 1, slice);
        // Ready, hung up or failed: the read or write that follows says which.
        if (ready > 0 || (ready == -1 && errno != EINTR))
            return;
    }
}

void VedORovav::expectEcho(const char* buffer, int command, int subCommand)
{
    if (uchar(buffer[3]) != uchar(command) || uchar(buffer[9]) != uchar(subCommand >> 8) ||
        uchar(buffer[11]) != uchar(subCommand))
        throw VedORovavException(IllegalFormat);
}

int VedORovav::parseCount(const char* text, int length)
{
    // Decimal digits, perhaps padded with spaces or NULs; anything else is not a count.
    int begin = 0, end = length;
    auto padding = [](char c) { return c == ' ' || c == '\0' || c == '\r' || c == '\n'; };
    while (begin < end && padding(text[begin]))
        ++begin;
    while (end > begin && padding(text[end - 1]))
        --end;
    if (begin == end || end - begin > 9)
        throw VedORovavException(IllegalFormat);
    int value = 0;
    for (int i = begin; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9')
            throw VedORovavException(IllegalFormat);
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

void VedORovav::open()
{
    // A second open never leaks the first descriptor or its saved attributes.
    close();
    if (!m_timeoutMs)
        throw VedORovavException(
            BadTimeout,
            QStringLiteral("EDGEMARKS_TIMEOUT=%1").arg(qEnvironmentVariable("EDGEMARKS_TIMEOUT")));
    QString missing;
    for (int attempt = 1;; ++attempt) {
        // The handset may show up between attempts: look for it each time.
        const HandsetDevices::Choice choice = HandsetDevices::chosenDevice();
        if (choice.source == HandsetDevices::Source::None) {
            missing =
                tr("No AH-K3001V (USB ID %1:%2) was found. Plug it in with its data cable.")
                    .arg(QLatin1String(HandsetDevices::VendorId), QLatin1String(HandsetDevices::ProductId));
        } else if (openPath(choice.path)) {
            break;
        } else {
            missing = tr("%1 does not exist.").arg(choice.path);
            struct stat link;
            char target[4096];
            const QByteArray path = QFile::encodeName(choice.path);
            if (::lstat(path.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
                const ssize_t n = ::readlink(path.constData(), target, sizeof target - 1);
                missing = tr("%1 is a link to %2, which does not exist.")
                              .arg(choice.path,
                                   QFile::decodeName(QByteArray(target, int(std::max<ssize_t>(n, 0)))));
            }
        }
        if (attempt == Attempts) {
            ProtocolLog::shared().step(ProtocolLog::Kind::Open, missing);
            throw VedORovavException(NotConnected, missing);
        }
        pause();
    }
    m_loggedin = false;
}

bool VedORovav::openPath(const QString& devicePath)
{
    ProtocolLog& log = ProtocolLog::shared();
    const QByteArray path = QFile::encodeName(devicePath);
    // Only a character device is opened: a regular file, a FIFO or a folder given
    // as the device is refused before anything touches it.
    struct stat node;
    if (::stat(path.constData(), &node) == -1) {
        if (errno == ENOENT)
            return false;
        throw VedORovavException(CouldNotOpen, openFailure(devicePath, errno));
    }
    if (!S_ISCHR(node.st_mode))
        throw VedORovavException(
            CouldNotOpen, tr("%1 is not a serial port: it is %2.").arg(devicePath, fileKind(node.st_mode)));

    // O_NOCTTY: the handset never becomes the controlling terminal (an unplug would
    // send SIGHUP); O_CLOEXEC: no program started later inherits the port.
    log.step(ProtocolLog::Kind::Open, devicePath);
    m_fileDescriptor = ::open(path.constData(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (m_fileDescriptor == -1) {
        const int error = errno;
        log.step(ProtocolLog::Kind::Error, systemError(error));
        if (error == ENOENT)
            return false;
        throw VedORovavException(CouldNotOpen, openFailure(devicePath, error));
    }
    m_openPath = devicePath;
    // Reading the attributes first tells a terminal from any other device.
    if (tcgetattr(m_fileDescriptor, &m_originalTTYAttrs) == -1) {
        if (errno != ENOTTY && errno != EINVAL)
            failOptions("reading the attributes (tcgetattr)");
        ::close(m_fileDescriptor);
        m_fileDescriptor = -1;
        throw VedORovavException(CouldNotOpen, tr("%1 is not a serial port.").arg(devicePath));
    }
    if (ioctl(m_fileDescriptor, TIOCEXCL) == -1)
        failOptions("exclusive claim (TIOCEXCL)");
    log.step(ProtocolLog::Kind::Setting, QStringLiteral("exclusive claim (TIOCEXCL)"));
    if (fcntl(m_fileDescriptor, F_SETFL, 0) == -1)
        failOptions("status flags 0 (F_SETFL)");
    log.step(ProtocolLog::Kind::Setting, QStringLiteral("attributes read: ") + describe(m_originalTTYAttrs));
    struct termios options = m_originalTTYAttrs;
    options.c_iflag = IGNBRK | IGNPAR;
    options.c_oflag = 0;
    // The speed stays as it was; Linux keeps it among the control flags.
    options.c_cflag =
        CS8 | CREAD | HUPCL | CLOCAL | CRTSCTS | (m_originalTTYAttrs.c_cflag & (CBAUD | CIBAUD));
    options.c_lflag = 0;
    std::memset(options.c_cc, 0, sizeof options.c_cc);
    options.c_cc[VMIN] = 1;
    options.c_cc[VTIME] = 0;
    if (tcsetattr(m_fileDescriptor, TCSANOW, &options) == -1)
        failOptions("applying the attributes (tcsetattr)");
    log.step(ProtocolLog::Kind::Setting, QStringLiteral("attributes set: ") + describe(options));
    // A conversation starts clean: whatever an interrupted one left on the line is
    // dropped, never taken for a reply.
    tcflush(m_fileDescriptor, TCIFLUSH);
    log.step(ProtocolLog::Kind::Setting, QStringLiteral("pending input discarded (TCIFLUSH)"));
    // A handset still finishing the reply of an interrupted conversation sends
    // it now: what arrives before the line has been quiet for a moment is
    // dropped too (for half a second at most).
    const qint64 end = QDateTime::currentMSecsSinceEpoch() + 500;
    for (;;) {
        struct pollfd p {
            m_fileDescriptor, POLLIN, 0
        };
        const qint64 left = end - QDateTime::currentMSecsSinceEpoch();
        if (left <= 0 || ::poll(&p, 1, int(std::min<qint64>(left, QuietMilliseconds))) <= 0 ||
            !(p.revents & POLLIN))
            break;
        char stale[256];
        const ssize_t n = ::read(m_fileDescriptor, stale, sizeof stale);
        if (n <= 0)
            break;
        log.frame(ProtocolLog::Kind::Skipped, QByteArray(stale, int(n)), n);
    }
    return true;
}

void VedORovav::failOptions(const char* step)
{
    const QString details =
        QStringLiteral("%1: %2: %3.").arg(m_openPath, QLatin1String(step), systemError(errno));
    ProtocolLog::shared().step(ProtocolLog::Kind::Error, details);
    // The claim goes with the descriptor; release it anyway, as close() does.
    ioctl(m_fileDescriptor, TIOCNXCL);
    ::close(m_fileDescriptor);
    m_fileDescriptor = -1;
    throw VedORovavException(CouldNotSetOptions, details);
}

void VedORovav::close()
{
    if (m_fileDescriptor == -1)
        return;
    Uncancellable whileClosing(*this);
    try {
        logout();
    } catch (const VedORovavException&) {
        // The handset is gone; the port is still restored and closed.
        m_loggedin = false;
    }
    tcdrain(m_fileDescriptor);
    // Release the exclusive claim: a descriptor that another process still holds
    // (a second program, or the handset's simulator) would otherwise keep every
    // later open out with EBUSY.
    ioctl(m_fileDescriptor, TIOCNXCL);
    tcsetattr(m_fileDescriptor, TCSANOW, &m_originalTTYAttrs);
    ::close(m_fileDescriptor);
    m_fileDescriptor = -1;
    ProtocolLog::shared().step(ProtocolLog::Kind::Close, m_openPath);
}

void VedORovav::sendCommand(int command, int subCommand, const char* parameter, int length)
{
    const quint32 field = quint32(length) + 4;
    const unsigned char header[HeaderLength] = {0xE1,
                                                0x01,
                                                uchar(command >> 8),
                                                uchar(command),
                                                uchar(field),
                                                uchar(field >> 8),
                                                uchar(field >> 16),
                                                uchar(field >> 24),
                                                0x00,
                                                uchar(subCommand >> 8),
                                                0x00,
                                                uchar(subCommand)};
    QByteArray logged(reinterpret_cast<const char*>(header), HeaderLength);
    if (parameter)
        logged.append(parameter, std::min(length, ProtocolLog::MaxBytesPerEntry));
    ProtocolLog::shared().frame(ProtocolLog::Kind::Sent, logged,
                                HeaderLength + (parameter ? qint64(length) : 0),
                                m_maskParameter ? HeaderLength : -1);
    writeAll(reinterpret_cast<const char*>(header), HeaderLength);
    // Once the header is out, the frame goes out whole: a cancel between the two
    // writes would leave the handset taking the next frame for this one's rest.
    Uncancellable wholeFrame(*this);
    if (parameter)
        writeAll(parameter, length);
}

void VedORovav::sendCommand(int command, int subCommand, const char* parameter)
{
    sendCommand(command, subCommand, parameter, parameter ? int(std::strlen(parameter)) : 0);
}

int VedORovav::receiveData(char* buffer, int maxLength, bool additionally)
{
    auto* b = reinterpret_cast<unsigned char*>(buffer);
    b[12] = 0xFF;
    b[13] = 0x00;

    ProtocolLog& log = ProtocolLog::shared();
    // The limit holds for the whole reply: a peer that keeps sending noise cannot
    // hold the transfer past it.
    const qint64 deadline = replyDeadline();
    int held = 0;
    while (held < HeaderLength) {
        held += readSome(buffer + held, HeaderLength - held, deadline);
        if (held < 2)
            continue;
        int start = held - 1;
        for (int i = 0; i <= held - 2; ++i) {
            if (b[i] == 0xE1 && b[i + 1] == 0x02) {
                start = i;
                break;
            }
        }
        if (start > 0) {
            log.frame(ProtocolLog::Kind::Skipped, QByteArray(buffer, start), start);
            std::memmove(buffer, buffer + start, size_t(held - start));
            held -= start;
        }
    }

    const quint32 field = quint32(b[4]) | quint32(b[5]) << 8 | quint32(b[6]) << 16 | quint32(b[7]) << 24;
    // A length that would not fit the signed total is as illegal as one below 4.
    const int total = field > quint32(0x7FFFFFFF - 8) ? -1 : int(field) + 8;
    if (additionally && total >= HeaderLength) {
        const int limit = std::min(total, maxLength);
        while (held < limit)
            held += readSome(buffer + held, limit - held, deadline);
    }
    log.frame(ProtocolLog::Kind::Received, QByteArray(buffer, held), total < HeaderLength ? held : total);
    if (additionally && total < HeaderLength)
        throw VedORovavException(IllegalLength);
    return total;
}

int VedORovav::sendRawData(const char* data, int length)
{
    ProtocolLog::shared().data(ProtocolLog::Kind::Sent, data, length);
    writeAll(data, length);
    return length;
}

void VedORovav::writeAll(const char* data, int length)
{
    // The port is non-blocking: a write may take only part of the bytes (a slow
    // line, a full buffer, a signal); the rest follows once there is room.
    const qint64 deadline = replyDeadline();
    while (length > 0) {
        waitFor(POLLOUT, deadline); // also where a cancel stops the rest
        const ssize_t written = ::write(m_fileDescriptor, data, size_t(length));
        if (written > 0) {
            data += written;
            length -= int(written);
        } else if (written == 0 || (errno != EAGAIN && errno != EINTR)) {
            throw VedORovavException(
                CouldNotWrite,
                written == -1 ? QStringLiteral("%1: %2.").arg(m_openPath, systemError(errno)) : QString());
        }
    }
}

int VedORovav::receiveRawData(char* buffer, int maxLength)
{
    const int count = readSome(buffer, maxLength, replyDeadline());
    ProtocolLog::shared().data(ProtocolLog::Kind::Received, buffer, count);
    return count;
}

int VedORovav::readSome(char* buffer, int maxLength, qint64 deadline)
{
    // A handset that stops answering would otherwise hold the program for ever.
    waitFor(POLLIN, deadline);
    const ssize_t count = ::read(m_fileDescriptor, buffer, size_t(maxLength));
    if (count == -1)
        throw VedORovavException(CouldNotRead, QStringLiteral("%1: %2.").arg(m_openPath, systemError(errno)));
    if (count == 0 && maxLength > 0)
        throw VedORovavException(Disconnected);
    return int(count);
}

bool VedORovav::loginWithPassword(const QString& password)
{
    char buffer[LoginBufferLength];
    for (int attempt = 1;; ++attempt) {
        sendCommand(0, 0x101, "1");
        receiveData(buffer, LoginBufferLength, true);
        expectEcho(buffer, 0, 0x101);
        if (buffer[12] == 'O' && buffer[13] == 'K')
            break;
        if (attempt == Attempts)
            throw VedORovavException(NotTopScreen);
        pause();
    }
    m_loggedin = true;

    const std::optional<QByteArray> converted = ShiftJIS::encode(password);
    if (!converted || converted->isEmpty() || converted->size() > 4)
        return false;
    std::memcpy(buffer, converted->constData(), size_t(converted->size()));
    buffer[converted->size()] = 0;
    m_maskParameter = true;
    try {
        sendCommand(1, 0x201, buffer, int(converted->size()));
    } catch (...) {
        m_maskParameter = false;
        throw;
    }
    m_maskParameter = false;
    // The password's bytes do not stay in memory longer than they must.
    std::memset(buffer, 0, sizeof buffer);
    receiveData(buffer, LoginBufferLength, true);
    expectEcho(buffer, 1, 0x201);
    return buffer[12] == 'O' && buffer[13] == 'K';
}

void VedORovav::logout()
{
    if (!m_loggedin)
        return;
    // The flag drops first: a logout that cannot be written is not tried again.
    m_loggedin = false;
    sendCommand(0xFF, 0x102, "");
}
