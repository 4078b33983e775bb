#include "handset/VedORovav.h"

#include "handset/HandsetDevices.h"
#include "handset/ProtocolLog.h"
#include "handset/SerialPort.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QScopeGuard>

#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
QString tr(const char* text)
{
    return QCoreApplication::translate("VedORovav", text);
}

} // namespace

VedORovav::VedORovav(LinkSettings settings, QObject* parentWindow)
    : m_parentWindow(parentWindow), m_settings(std::move(settings))
{
}

VedORovav::~VedORovav()
{
    close();
}

void VedORovav::note(ProtocolLog::Kind kind, const QString& text) const
{
    if (m_stream)
        m_stream->logStep(kind, text);
}

void VedORovav::testConnection(ProgressProtocol& progress, Stage* reached)
{
    *reached = Stage::Port;
    progress.openProgressForWindow(m_parentWindow, 2.0, tr(LinkTexts::TestingConnection));
    const auto cleanUp = qScopeGuard([&] {
        progress.closeProgress();
        close();
    });
    try {
        open();
        *reached = Stage::TopScreen;
        progress.updateProgressDoubleValue(1.0);
        m_session.probeTopScreen();
        *reached = Stage::Done;
        progress.updateProgressDoubleValue(2.0);
    } catch (const VedORovavException& e) {
        note(ProtocolLog::Kind::Error, e.reason());
        progress.notifyException(e);
        throw;
    }
}

void VedORovav::open()
{
    // A second open never leaks the first port or its saved attributes.
    close();
    if (!m_settings.replyTimeoutMs)
        throw VedORovavException(LinkTexts::BadTimeout, m_settings.timeoutSource);
    m_frames.setTimeout(*m_settings.replyTimeoutMs);
    if (m_opener) {
        m_stream = m_opener();
        if (!m_stream)
            throw VedORovavException(LinkTexts::NotConnected);
        if (m_settings.log)
            m_stream->setLog(m_settings.log);
    }
    QString missing;
    for (int attempt = 1; !m_stream; ++attempt) {
        // The handset may show up between attempts: look for it each time.
        const HandsetDevices::Choice choice = HandsetDevices::chosenDevice(m_settings.device);
        if (choice.source == HandsetDevices::Source::None) {
            missing =
                tr("No AH-K3001V (USB ID %1:%2) was found. Plug it in with its data cable.")
                    .arg(QLatin1String(HandsetDevices::VendorId), QLatin1String(HandsetDevices::ProductId));
        } else if ((m_stream = SerialPort::open(choice.path, m_settings.log))) {
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
        if (attempt == Attempts)
            throw VedORovavException(LinkTexts::NotConnected, missing);
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

bool VedORovav::transfer(ProgressProtocol& progress, double maxValue, const QString& message,
                         const QString& password, const std::function<void()>& work,
                         const std::function<void()>& finish)
{
    progress.openProgressForWindow(m_parentWindow, maxValue, message);
    // However the conversation ends: the sheet closed, the logout, the port given back.
    const auto cleanUp = qScopeGuard([&] {
        progress.closeProgress();
        close();
    });
    std::optional<VedORovavException> failure;
    auto fail = [&](const VedORovavException& e) {
        failure = e;
        note(ProtocolLog::Kind::Error,
             e.details().isEmpty() ? e.reason() : e.reason() + QLatin1Char(' ') + e.details());
        progress.notifyException(e);
    };
    bool loggedIn = false;
    try {
        open();
        bool stale = waitForQuietLine(progress);
        for (;;) {
            try {
                loggedIn = loginWithPassword(password);
                break;
            } catch (const VedORovavException& e) {
                // A pause in the old stream looked like its end, and more of it
                // came for a reply: wait on, as long as it keeps coming.
                const QByteArray reason = e.reason().toUtf8();
                if (!stale || (reason != LinkTexts::IllegalLength && reason != LinkTexts::IllegalFormat))
                    throw;
                stale = waitForQuietLine(progress);
            }
        }
        if (loggedIn)
            work();
    } catch (const VedORovavException& e) {
        fail(e);
    }
    if (finish) {
        try {
            Uncancellable closing(m_frames);
            finish();
        } catch (const VedORovavException& e) {
            // The first failure is the one the user needs to see.
            if (!failure)
                fail(e);
        }
    }
    if (failure)
        throw *failure;
    // Nothing is left unanswered: the next conversation need not wait for a quiet line.
    if (auto* port = dynamic_cast<SerialPort*>(m_stream.get()))
        port->endsInStep();
    return loggedIn;
}

bool VedORovav::waitForQuietLine(ProgressProtocol& progress)
{
    auto* port = dynamic_cast<SerialPort*>(m_stream.get());
    if (!port || !port->mayHaveStaleInput())
        return false;
    note(ProtocolLog::Kind::Setting, QStringLiteral("waiting for a quiet line"));
    qint64 dropped = 0;
    for (;;) {
        m_frames.checkCancelled();
        // Once the handset is seen sending, a short pause is not yet the end of
        // its frame; nothing at all for a moment means there was none.
        const qint64 n = port->dropArriving(dropped == 0 ? SerialPort::QuietMilliseconds : StaleQuietMilliseconds);
        if (n < 0)
            break;
        if (dropped == 0)
            progress.updateProgressMessage(QString::fromUtf8(LinkTexts::StillSending));
        dropped += n;
        // No frame of the handset is longer than its signed 32-bit length field.
        if (dropped > qint64(0x7FFFFFFF))
            throw VedORovavException(LinkTexts::IllegalLength);
    }
    if (dropped > 0) {
        note(ProtocolLog::Kind::Setting,
             QStringLiteral("%1 bytes of an interrupted transfer dropped").arg(dropped));
        progress.updateProgressMessage(QString());
    }
    return dropped > 0;
}

int VedORovav::queryCount(int subCommand)
{
    const FrameChannel::Reply reply = m_frames.request(2, subCommand, "", 0);
    return FrameChannel::parseCount(reply.payload.constData(), int(reply.payload.size()));
}

int VedORovav::readRecords(int countSubCommand, int listSubCommand, int maxLength, bool emptyIsIllegal,
                           ProgressProtocol& progress, const std::function<void(const QByteArray&)>& take)
{
    const int count = queryCount(countSubCommand);
    if (count <= 0)
        return count;
    // The request brings the first record, each acknowledgement the next; every
    // record echoes the request, and the last acknowledgement brings nothing.
    const FrameChannel::Echo echo{3, listSubCommand};
    for (int i = 0; i < count; ++i) {
        progress.updateProgressDoubleValue(double(i + 1) / double(count));
        const FrameChannel::Reply record =
            i == 0 ? m_frames.request(3, listSubCommand, "", 0, echo, false, maxLength)
                   : m_frames.request(0x10, 0x910, "0", 1, echo, false, maxLength);
        if (emptyIsIllegal && record.payload.isEmpty())
            throw VedORovavException(LinkTexts::IllegalFormat);
        take(record.payload);
    }
    sendCommand(0x10, 0x910, "0");
    return count;
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
