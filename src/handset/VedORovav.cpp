#include "VedORovav.h"

#include "ShiftJIS.h"

#include <plist/plist.h>

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

QString VedORovavException::localizedReason() const
{
    return QCoreApplication::translate("VedORovav", m_reason.constData());
}

namespace {
constexpr int HeaderLength = 12;
constexpr int LoginBufferLength = 4096;

// The leading integer of a version component, read as atoi reads it.
int leadingInteger(const QString& component)
{
    const QByteArray bytes = component.toUtf8();
    return std::atoi(bytes.constData());
}
} // namespace

VedORovav::VedORovav(QObject* parentWindow) : m_parentWindow(parentWindow), m_timeoutMs(timeoutMilliseconds()) {}

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
    const QByteArray env = qgetenv("EDGEMARKS_DEVICE");
    return env.isEmpty() ? QString::fromLatin1(DefaultDevicePath) : QString::fromLocal8Bit(env);
}

QString VedORovav::driverBundlePath()
{
    const QByteArray env = qgetenv("EDGEMARKS_DRIVER_BUNDLE");
    return env.isEmpty() ? QString::fromLatin1(DefaultDriverBundle) : QString::fromLocal8Bit(env);
}

int VedORovav::timeoutMilliseconds()
{
    bool ok = false;
    const double seconds = qEnvironmentVariable("EDGEMARKS_TIMEOUT").toDouble(&ok);
    if (!ok || seconds < 0)
        return DefaultTimeoutSeconds * 1000;
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
    QFile info(driverBundlePath() + QStringLiteral("/Contents/Info.plist"));
    if (!info.open(QIODevice::ReadOnly) || info.size() > (1 << 20))
        return false;
    const QByteArray bytes = info.readAll();
    plist_t root = nullptr;
    plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &root);
    if (!root)
        return false;
    QString version;
    if (plist_get_node_type(root) == PLIST_DICT) {
        plist_t node = plist_dict_get_item(root, "CFBundleShortVersionString");
        if (node && plist_get_node_type(node) == PLIST_STRING) {
            uint64_t length = 0;
            const char* p = plist_get_string_ptr(node, &length);
            version = QString::fromUtf8(p, qsizetype(length));
        }
    }
    plist_free(root);
    return !version.isNull() && isAcceptedDriverVersion(version);
}

QString VedORovav::humanReadableDriverName()
{
    return QCoreApplication::translate("VedORovav", "AH-K3001V USB Driver %1.%2").arg(1).arg(2);
}

void VedORovav::pause()
{
    struct timespec t {0, RetryPauseMilliseconds * 1000000L};
    while (nanosleep(&t, &t) == -1 && errno == EINTR) {
    }
}

void VedORovav::open()
{
    const QByteArray path = QFile::encodeName(devicePath());
    for (int attempt = 1;; ++attempt) {
        m_fileDescriptor = ::open(path.constData(), O_RDWR | O_NONBLOCK);
        if (m_fileDescriptor != -1)
            break;
        if (errno != ENOENT)
            throw VedORovavException(CouldNotOpen);
        if (attempt == Attempts)
            throw VedORovavException(NotConnected);
        pause();
    }

    bool ok = ioctl(m_fileDescriptor, TIOCEXCL) != -1 && fcntl(m_fileDescriptor, F_SETFL, 0) != -1 &&
              tcgetattr(m_fileDescriptor, &m_originalTTYAttrs) != -1;
    if (ok) {
        struct termios options = m_originalTTYAttrs;
        options.c_iflag = IGNBRK | IGNPAR;
        options.c_oflag = 0;
        // The speed stays as it was; Linux keeps it among the control flags.
        options.c_cflag = CS8 | CREAD | HUPCL | CLOCAL | CRTSCTS | (m_originalTTYAttrs.c_cflag & (CBAUD | CIBAUD));
        options.c_lflag = 0;
        std::memset(options.c_cc, 0, sizeof options.c_cc);
        options.c_cc[VMIN] = 1;
        options.c_cc[VTIME] = 0;
        ok = tcsetattr(m_fileDescriptor, TCSANOW, &options) != -1;
    }
    if (!ok) {
        ::close(m_fileDescriptor);
        m_fileDescriptor = -1;
        throw VedORovavException(CouldNotSetOptions);
    }
    m_loggedin = false;
}

void VedORovav::close()
{
    if (m_fileDescriptor == -1)
        return;
    try {
        logout();
    } catch (const VedORovavException&) {
        // The handset is gone; the port is still restored and closed.
        m_loggedin = false;
    }
    tcdrain(m_fileDescriptor);
    tcsetattr(m_fileDescriptor, TCSANOW, &m_originalTTYAttrs);
    ::close(m_fileDescriptor);
    m_fileDescriptor = -1;
}

void VedORovav::sendCommand(int command, int subCommand, const char* parameter, int length)
{
    const quint32 field = quint32(length) + 4;
    const unsigned char header[HeaderLength] = {
        0xE1, 0x01, uchar(command >> 8), uchar(command), uchar(field), uchar(field >> 8), uchar(field >> 16),
        uchar(field >> 24), 0x00, uchar(subCommand >> 8), 0x00, uchar(subCommand)};
    sendRawData(reinterpret_cast<const char*>(header), HeaderLength);
    if (parameter)
        sendRawData(parameter, length);
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

    int held = 0;
    while (held < HeaderLength) {
        held += receiveRawData(buffer + held, HeaderLength - held);
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
            std::memmove(buffer, buffer + start, size_t(held - start));
            held -= start;
        }
    }

    const quint32 field = quint32(b[4]) | quint32(b[5]) << 8 | quint32(b[6]) << 16 | quint32(b[7]) << 24;
    // A length that would not fit the signed total is as illegal as one below 4.
    const int total = field > quint32(0x7FFFFFFF - 8) ? -1 : int(field) + 8;
    if (additionally) {
        if (total < HeaderLength)
            throw VedORovavException(IllegalLength);
        const int limit = std::min(total, maxLength);
        while (held < limit)
            held += receiveRawData(buffer + held, limit - held);
    }
    return total;
}

int VedORovav::sendRawData(const char* data, int length)
{
    const ssize_t written = ::write(m_fileDescriptor, data, size_t(length));
    if (written != length)
        throw VedORovavException(CouldNotWrite);
    return int(written);
}

int VedORovav::receiveRawData(char* buffer, int maxLength)
{
    // A handset that stops answering would otherwise hold the program for ever.
    struct pollfd p {m_fileDescriptor, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&p, 1, m_timeoutMs);
    } while (ready == -1 && errno == EINTR);
    if (ready == 0)
        throw VedORovavException(NoAnswer);
    const ssize_t count = ::read(m_fileDescriptor, buffer, size_t(maxLength));
    if (count == -1)
        throw VedORovavException(CouldNotRead);
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
    sendCommand(1, 0x201, buffer, int(converted->size()));
    receiveData(buffer, LoginBufferLength, true);
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
