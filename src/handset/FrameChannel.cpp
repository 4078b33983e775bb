#include "handset/FrameChannel.h"

#include "handset/LinkTexts.h"
#include "handset/ProtocolLog.h"
#include "handset/VedORovavException.h"

#include <QDateTime>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <optional>

namespace
{
bool echoes(int command, int subCommand, int expectedCommand, int expectedSubCommand)
{
    return uchar(command) == uchar(expectedCommand) && subCommand == (expectedSubCommand & 0xFFFF);
}

void noteOtherEcho(const ByteStream& stream, int command, int subCommand, int sentCommand, int sentSubCommand)
{
    stream.logStep(
        ProtocolLog::Kind::Note,
        QStringLiteral("the reply to command 0x%1, sub-command 0x%2 echoes 0x%3, 0x%4 (not examined)")
            .arg(sentCommand, 4, 16, QLatin1Char('0'))
            .arg(sentSubCommand & 0xFFFF, 4, 16, QLatin1Char('0'))
            .arg(command, 4, 16, QLatin1Char('0'))
            .arg(subCommand, 4, 16, QLatin1Char('0')));
}
} // namespace

void FrameChannel::checkCancelled() const
{
    if (m_cancel && m_uncancellable == 0 && m_cancel->load())
        throw VedORovavException(LinkTexts::Cancelled);
}

void FrameChannel::pause(int milliseconds)
{
    const qint64 end = QDateTime::currentMSecsSinceEpoch() + milliseconds;
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

qint64 FrameChannel::replyDeadline() const
{
    return m_timeoutMs < 0 ? -1 : QDateTime::currentMSecsSinceEpoch() + m_timeoutMs;
}

void FrameChannel::waitFor(bool writing, qint64 deadline)
{
    if (!m_stream)
        throw VedORovavException(writing ? LinkTexts::CouldNotWrite : LinkTexts::CouldNotRead,
                                 QStringLiteral("The port is not open."));
    qint64 graceEnd = -1;
    for (;;) {
        checkCancelled();
        int slice = m_cancel ? CancelSliceMilliseconds : -1;
        // After a cancel, what keeps the handset in step goes on while bytes move,
        // but a wait for a handset that stopped answering gets a short grace
        // instead of the whole reply limit.
        bool inGrace = false;
        if (m_cancel && m_cancel->load()) {
            if (graceEnd < 0)
                graceEnd = QDateTime::currentMSecsSinceEpoch() + CancelGraceMilliseconds;
            inGrace = deadline < 0 || graceEnd < deadline;
            if (inGrace)
                deadline = graceEnd;
        }
        if (deadline >= 0) {
            const qint64 left = deadline - QDateTime::currentMSecsSinceEpoch();
            // Bytes already there or room already free still count at the limit.
            if (left <= 0 && (writing ? m_stream->waitWritable(0) : m_stream->waitReadable(0)))
                return;
            if (left <= 0 && inGrace)
                throw VedORovavException(LinkTexts::Cancelled); // what ended it was the cancel
            if (left <= 0)
                throw VedORovavException(
                    writing ? LinkTexts::CouldNotWrite : LinkTexts::NoAnswer,
                    writing ? QStringLiteral("%1: the port took nothing for too long.").arg(m_stream->name())
                            : QString());
            slice = slice < 0 ? int(std::min<qint64>(left, INT_MAX)) : int(std::min<qint64>(left, slice));
        }
        if (writing ? m_stream->waitWritable(slice) : m_stream->waitReadable(slice))
            return;
    }
}

void FrameChannel::noteEcho(const char* buffer, int command, int subCommand) const
{
    const auto* b = reinterpret_cast<const uchar*>(buffer);
    const int echoedCommand = b[2] << 8 | b[3];
    const int echoedSubCommand = b[9] << 8 | b[11];
    if (!echoes(echoedCommand, echoedSubCommand, command, subCommand))
        noteOtherEcho(*m_stream, echoedCommand, echoedSubCommand, command, subCommand);
}

int FrameChannel::parseCount(const char* text, int length)
{
    // Decimal digits, perhaps padded; anything else is not a count.
    int begin = 0, end = length;
    auto padding = [](char c) { return c == ' ' || c == '\0' || c == '\r' || c == '\n'; };
    while (begin < end && padding(text[begin]))
        ++begin;
    while (end > begin && padding(text[end - 1]))
        --end;
    if (begin == end || end - begin > 9)
        throw VedORovavException(LinkTexts::IllegalFormat);
    int value = 0;
    for (int i = begin; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9')
            throw VedORovavException(LinkTexts::IllegalFormat);
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

void FrameChannel::sendCommand(int command, int subCommand, const char* parameter, int length, bool masked)
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
    if (m_stream)
        m_stream->logFrame(ProtocolLog::Kind::Sent, logged, HeaderLength + (parameter ? qint64(length) : 0),
                           masked ? HeaderLength : -1);
    // Once any of a frame is out, all of it goes out: a cancel in the middle would
    // leave the handset taking the next frame for this one's rest.
    if (parameter && length <= SmallFrameLength - HeaderLength) {
        // A small frame goes out in one write.
        char frame[SmallFrameLength];
        std::memcpy(frame, header, HeaderLength);
        std::memcpy(frame + HeaderLength, parameter, size_t(length));
        writeAll(frame, HeaderLength + length, true);
        if (masked)
            std::memset(frame, 0, sizeof frame);
        return;
    }
    writeAll(reinterpret_cast<const char*>(header), HeaderLength, true);
    Uncancellable wholeFrame(*this);
    if (parameter)
        writeAll(parameter, length);
}

int FrameChannel::receiveData(char* buffer, int maxLength, bool additionally)
{
    auto* b = reinterpret_cast<unsigned char*>(buffer);
    b[12] = 0xFF;
    b[13] = 0x00;

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
            m_stream->logFrame(ProtocolLog::Kind::Skipped, QByteArray(buffer, start), start);
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
    m_stream->logFrame(ProtocolLog::Kind::Received, QByteArray(buffer, held),
                       total < HeaderLength ? held : total);
    if (additionally && total < HeaderLength)
        throw VedORovavException(LinkTexts::IllegalLength);
    return total;
}

FrameChannel::Reply FrameChannel::receiveReply(int maxLength)
{
    QByteArray buffer(std::max(maxLength, HeaderLength + 2), Qt::Uninitialized);
    const int total = receiveData(buffer.data(), maxLength, true);
    const auto* b = reinterpret_cast<const uchar*>(buffer.constData());
    Reply reply;
    reply.command = b[2] << 8 | b[3];
    reply.subCommand = b[9] << 8 | b[11];
    reply.announced = total - HeaderLength;
    reply.payload = buffer.mid(HeaderLength, std::min(total, maxLength) - HeaderLength);
    return reply;
}

FrameChannel::Reply FrameChannel::request(int command, int subCommand, const char* parameter, int length,
                                          std::optional<Echo> echo, bool masked, int maxLength)
{
    sendCommand(command, subCommand, parameter, length, masked);
    Reply reply = receiveReply(maxLength);
    if (echo) {
        if (!echoes(reply.command, reply.subCommand, echo->command, echo->subCommand))
            throw VedORovavException(LinkTexts::IllegalFormat);
    } else if (!echoes(reply.command, reply.subCommand, command, subCommand)) {
        noteOtherEcho(*m_stream, reply.command, reply.subCommand, command, subCommand);
    }
    return reply;
}

int FrameChannel::sendRawData(const char* data, int length)
{
    if (m_stream)
        m_stream->logData(ProtocolLog::Kind::Sent, data, length);
    writeAll(data, length);
    return length;
}

void FrameChannel::writeAll(const char* data, int length, bool wholeOnceStarted)
{
    // A write may take only part of the bytes (a slow line, a full buffer, a
    // signal); the rest follows once there is room.
    const qint64 deadline = replyDeadline();
    std::optional<Uncancellable> started;
    while (length > 0) {
        waitFor(true, deadline); // also where a cancel stops the rest
        const qint64 written = m_stream->write(data, length);
        if (written > 0 && wholeOnceStarted && !started)
            started.emplace(*this);
        if (written > 0) {
            data += written;
            length -= int(written);
        } else if (written == 0 || (errno != EAGAIN && errno != EINTR)) {
            throw VedORovavException(
                LinkTexts::CouldNotWrite,
                written == -1 ? QStringLiteral("%1: %2.").arg(m_stream->name(), systemErrorText(errno))
                              : QString());
        }
    }
}

int FrameChannel::receiveRawData(char* buffer, int maxLength)
{
    const int count = readSome(buffer, maxLength, replyDeadline());
    m_stream->logData(ProtocolLog::Kind::Received, buffer, count);
    return count;
}

int FrameChannel::readSome(char* buffer, int maxLength, qint64 deadline)
{
    // A handset that stops answering would otherwise hold the program for ever.
    for (;;) {
        waitFor(false, deadline);
        const qint64 count = m_stream->read(buffer, maxLength);
        if (count > 0 || (count == 0 && maxLength == 0))
            return int(count);
        if (count == 0)
            throw VedORovavException(LinkTexts::Disconnected);
        if (errno != EAGAIN && errno != EINTR)
            throw VedORovavException(LinkTexts::CouldNotRead,
                                     QStringLiteral("%1: %2.").arg(m_stream->name(), systemErrorText(errno)));
    }
}
