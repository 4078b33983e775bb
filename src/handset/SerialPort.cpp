#include "handset/SerialPort.h"

#include "handset/LinkTexts.h"
#include "handset/ProtocolLog.h"
#include "handset/VedORovavException.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <mutex>
#include <poll.h>
#include <set>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// The ports this process holds with their former attributes, where a signal
// handler may read them: a slot's descriptor is published only once the
// attributes beside it are written.
struct HeldPort {
    std::atomic<int> fd{-1}; // -1 free, -2 being filled
    struct termios original {
    };
};
HeldPort heldPorts[4];
static_assert(std::atomic<int>::is_always_lock_free);

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
    const QString cause = QStringLiteral("%1: %2.").arg(path, systemErrorText(error));
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
// Ports whose last conversation in this process ended in step.
std::mutex inStepMutex;
std::set<QString> inStep;

bool takeInStep(const QString& path)
{
    std::lock_guard lock(inStepMutex);
    return inStep.erase(path) > 0;
}
} // namespace

std::unique_ptr<SerialPort> SerialPort::open(const QString& devicePath, std::shared_ptr<ProtocolLog> log)
{
    auto note = [&](ProtocolLog::Kind kind, const QString& text) {
        if (log)
            log->step(kind, text);
    };
    auto fail = [&](const QString& details) {
        note(ProtocolLog::Kind::Error, details);
        return VedORovavException(LinkTexts::CouldNotOpen, details);
    };
    const QByteArray path = QFile::encodeName(devicePath);
    // Only a character device is opened: a regular file, a FIFO or a folder given
    // as the device is refused before anything touches it.
    struct stat node;
    if (::stat(path.constData(), &node) == -1) {
        if (errno == ENOENT)
            return nullptr;
        throw fail(openFailure(devicePath, errno));
    }
    if (!S_ISCHR(node.st_mode))
        throw fail(QCoreApplication::translate("VedORovav", "%1 is not a serial port: it is %2.")
                       .arg(devicePath, fileKind(node.st_mode)));

    // O_NOCTTY: the handset never becomes the controlling terminal (an unplug would
    // send SIGHUP); O_CLOEXEC: no program started later inherits the port.
    note(ProtocolLog::Kind::Open, devicePath);
    const int fd = ::open(path.constData(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd == -1) {
        const int error = errno;
        note(ProtocolLog::Kind::Error, systemErrorText(error));
        if (error == ENOENT)
            return nullptr;
        throw VedORovavException(LinkTexts::CouldNotOpen, openFailure(devicePath, error));
    }
    std::unique_ptr<SerialPort> port(new SerialPort(fd, devicePath, std::move(log)));
    port->setUp();
    return port;
}

void SerialPort::setUp()
{
    // Reading the attributes first tells a terminal from any other device.
    if (tcgetattr(m_fd, &m_original) == -1) {
        if (errno != ENOTTY && errno != EINVAL)
            failOptions("reading the attributes (tcgetattr)");
        const QString details =
            QCoreApplication::translate("VedORovav", "%1 is not a serial port.").arg(m_path);
        logStep(ProtocolLog::Kind::Error, details);
        throw VedORovavException(LinkTexts::CouldNotOpen, details);
    }
    if (ioctl(m_fd, TIOCEXCL) == -1)
        failOptions("exclusive claim (TIOCEXCL)");
    logStep(ProtocolLog::Kind::Setting, QStringLiteral("exclusive claim (TIOCEXCL)"));
    if (fcntl(m_fd, F_SETFL, 0) == -1)
        failOptions("status flags 0 (F_SETFL)");
    logStep(ProtocolLog::Kind::Setting, QStringLiteral("attributes read: ") + describe(m_original));
    struct termios options = m_original;
    options.c_iflag = IGNBRK | IGNPAR;
    options.c_oflag = 0;
    // The speed stays as it was; Linux keeps it among the control flags.
    options.c_cflag = CS8 | CREAD | HUPCL | CLOCAL | CRTSCTS | (m_original.c_cflag & (CBAUD | CIBAUD));
    options.c_lflag = 0;
    std::memset(options.c_cc, 0, sizeof options.c_cc);
    options.c_cc[VMIN] = 1;
    options.c_cc[VTIME] = 0;
    m_restore = true;
    for (int i = 0; i < int(std::size(heldPorts)) && m_heldSlot < 0; ++i) {
        int free = -1;
        if (heldPorts[i].fd.compare_exchange_strong(free, -2)) {
            heldPorts[i].original = m_original;
            heldPorts[i].fd.store(m_fd);
            m_heldSlot = i;
        }
    }
    if (tcsetattr(m_fd, TCSANOW, &options) == -1)
        failOptions("applying the attributes (tcsetattr)");
    logStep(ProtocolLog::Kind::Setting, QStringLiteral("attributes set: ") + describe(options));
    m_mayBeStale = !takeInStep(m_path);
    dropStaleInput();
}

// A conversation starts clean: whatever an interrupted one left on the line is
// dropped, never taken for a reply. A handset still finishing the reply of an
// interrupted conversation goes on sending it; the conversation waits for that
// (dropArriving) unless this process ended the last conversation on the port
// in step.
void SerialPort::dropStaleInput()
{
    tcflush(m_fd, TCIFLUSH);
    logStep(ProtocolLog::Kind::Setting, QStringLiteral("pending input discarded (TCIFLUSH)"));
}

qint64 SerialPort::dropArriving(int quietMs)
{
    qint64 dropped = 0;
    char stale[4096];
    while (dropped < (1 << 20)) {
        struct pollfd p {
            m_fd, POLLIN, 0
        };
        if (::poll(&p, 1, dropped == 0 ? quietMs : 0) <= 0 || !(p.revents & POLLIN))
            break;
        const ssize_t n = ::read(m_fd, stale, sizeof stale);
        if (n <= 0)
            break;
        logData(ProtocolLog::Kind::Skipped, stale, n);
        dropped += n;
    }
    return dropped > 0 ? dropped : -1;
}

void SerialPort::failOptions(const char* step)
{
    const QString details =
        QStringLiteral("%1: %2: %3.").arg(m_path, QLatin1String(step), systemErrorText(errno));
    logStep(ProtocolLog::Kind::Error, details);
    throw VedORovavException(LinkTexts::CouldNotSetOptions, details); // the destructor releases the port
}

// Waits for what was written to leave, but not for ever: a handset that has
// stopped taking bytes (hardware flow control held off) would keep tcdrain, and
// close() after it, waiting without end. What is still queued then is dropped.
static void drainBriefly(int fd)
{
    constexpr int LimitMilliseconds = 2000;
    constexpr int StepMilliseconds = 10;
    for (int waited = 0;; waited += StepMilliseconds) {
        int queued = 0;
        if (ioctl(fd, TIOCOUTQ, &queued) != 0 || queued <= 0)
            return;
        if (waited >= LimitMilliseconds)
            break;
        ::poll(nullptr, 0, StepMilliseconds);
    }
    tcflush(fd, TCOFLUSH);
}

SerialPort::~SerialPort()
{
    drainBriefly(m_fd);
    // Release the exclusive claim: a descriptor that another process still holds
    // (a second program, or the handset's simulator) would otherwise keep every
    // later open out with EBUSY.
    ioctl(m_fd, TIOCNXCL);
    if (m_restore)
        tcsetattr(m_fd, TCSANOW, &m_original);
    if (m_heldSlot >= 0)
        heldPorts[m_heldSlot].fd.store(-1);
    ::close(m_fd);
    if (m_endsInStep) {
        std::lock_guard lock(inStepMutex);
        inStep.insert(m_path);
    }
    logStep(ProtocolLog::Kind::Close, m_path);
}

void SerialPort::releaseHeldPortsNow() noexcept
{
    for (HeldPort& held : heldPorts) {
        const int fd = held.fd.load();
        if (fd < 0)
            continue;
        ioctl(fd, TIOCNXCL);
        tcsetattr(fd, TCSANOW, &held.original);
    }
}

bool SerialPort::wait(short events, int timeoutMs)
{
    struct pollfd p {
        m_fd, events, 0
    };
    // Ready, hung up or failed: the read or write that follows says which.
    const int ready = ::poll(&p, 1, timeoutMs);
    return ready > 0 || (ready == -1 && errno != EINTR);
}

bool SerialPort::waitReadable(int timeoutMs)
{
    return wait(POLLIN, timeoutMs);
}

bool SerialPort::waitWritable(int timeoutMs)
{
    return wait(POLLOUT, timeoutMs);
}

qint64 SerialPort::read(char* buffer, qint64 maxLength)
{
    return ::read(m_fd, buffer, size_t(maxLength));
}

qint64 SerialPort::write(const char* data, qint64 length)
{
    return ::write(m_fd, data, size_t(length));
}
