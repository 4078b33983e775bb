#include "handset/VedORovav.h"

#include "handset/DriverCheck.h"
#include "handset/HandsetDevices.h"
#include "handset/ProtocolLog.h"
#include "handset/SerialPort.h"

#include "document/PropertyList.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>

#include <cstring>
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
QString tr(const char* text)
{
    return QCoreApplication::translate("VedORovav", text);
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
    close();
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

QString VedORovav::driverInstructions(bool programQuits)
{
    if (!usesDriverBundle()) {
        const QString modules = DriverCheck::runningKernelModulesDir();
        const QString advice =
            tr("The running kernel has no cdc_acm module (looked for in /sys and %1). Install the modules "
               "of the running kernel (on Debian, its linux-image package) and load the driver with "
               "\"sudo modprobe cdc_acm\".")
                .arg(modules);
        return programQuits ? tr("%1 The application will now quit.").arg(advice) : advice;
    }
    if (!programQuits)
        return tr("You need to install the %1 or later.").arg(humanReadableDriverName());
    return tr("You need to install the %1 or later. The application will be quited.")
        .arg(humanReadableDriverName());
}

void VedORovav::open()
{
    // A second open never leaks the first port or its saved attributes.
    close();
    if (!m_timeoutMs)
        throw VedORovavException(
            BadTimeout,
            QStringLiteral("EDGEMARKS_TIMEOUT=%1").arg(qEnvironmentVariable("EDGEMARKS_TIMEOUT")));
    m_frames.setTimeout(*m_timeoutMs);
    if (m_opener) {
        m_stream = m_opener();
        if (!m_stream)
            throw VedORovavException(NotConnected);
    }
    QString missing;
    for (int attempt = 1; !m_stream; ++attempt) {
        // The handset may show up between attempts: look for it each time.
        const HandsetDevices::Choice choice = HandsetDevices::chosenDevice();
        if (choice.source == HandsetDevices::Source::None) {
            missing =
                tr("No AH-K3001V (USB ID %1:%2) was found. Plug it in with its data cable.")
                    .arg(QLatin1String(HandsetDevices::VendorId), QLatin1String(HandsetDevices::ProductId));
        } else if ((m_stream = SerialPort::open(choice.path))) {
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
        m_frames.pause(RetryPauseMilliseconds);
    }
    m_frames.setStream(m_stream.get());
}

void VedORovav::close()
{
    if (!m_stream)
        return;
    {
        Uncancellable whileClosing(m_frames);
        try {
            m_session.logout();
        } catch (const VedORovavException&) {
            // The handset is gone; the port is still restored and closed.
        }
    }
    m_frames.setStream(nullptr);
    m_stream.reset();
}

int VedORovav::fileDescriptor() const
{
    const auto* port = dynamic_cast<const SerialPort*>(m_stream.get());
    return port ? port->fileDescriptor() : -1;
}

void VedORovav::sendCommand(int command, int subCommand, const char* parameter, int length)
{
    m_frames.sendCommand(command, subCommand, parameter, length);
}

void VedORovav::sendCommand(int command, int subCommand, const char* parameter)
{
    sendCommand(command, subCommand, parameter, parameter ? int(std::strlen(parameter)) : 0);
}

int VedORovav::receiveData(char* buffer, int maxLength, bool additionally)
{
    return m_frames.receiveData(buffer, maxLength, additionally);
}

int VedORovav::sendRawData(const char* data, int length)
{
    return m_frames.sendRawData(data, length);
}

int VedORovav::receiveRawData(char* buffer, int maxLength)
{
    return m_frames.receiveRawData(buffer, maxLength);
}

bool VedORovav::loginWithPassword(const QString& password)
{
    return m_session.login(password);
}

void VedORovav::logout()
{
    m_session.logout();
}
