#pragma once

#include "handset/ProtocolLog.h"

#include <QString>
#include <QtGlobal>

#include <cstring>
#include <memory>

// The bytes between the program and the handset: the serial port, or a stream
// in memory for tests and benchmarks. Calls never block for long: the frame
// layer waits (with its time limits and cancelling) before it reads or writes.
//
// The stream keeps the protocol log it was handed: what the layers above say
// of the conversation (frames, steps, failures) is written through it, so that
// one conversation's account goes to one place and nothing needs a global log.
class ByteStream
{
public:
    explicit ByteStream(std::shared_ptr<ProtocolLog> log = {}) : m_log(std::move(log)) {}
    virtual ~ByteStream() = default;

    void setLog(std::shared_ptr<ProtocolLog> log) { m_log = std::move(log); }
    const std::shared_ptr<ProtocolLog>& log() const { return m_log; }
    void logStep(ProtocolLog::Kind kind, const QString& text) const
    {
        if (m_log)
            m_log->step(kind, text);
    }
    void logFrame(ProtocolLog::Kind kind, const QByteArray& bytes, qint64 size, int maskedFrom = -1) const
    {
        if (m_log)
            m_log->frame(kind, bytes, size, maskedFrom);
    }
    void logData(ProtocolLog::Kind kind, const char* bytes, qint64 size) const
    {
        if (m_log)
            m_log->data(kind, bytes, size);
    }

    // Waits up to timeoutMs (-1: no limit) until a read (or a write) would not
    // block. True when it would not, hung-up and failed streams included (the
    // read or write then says which); false when the time ran out or a signal
    // came first.
    virtual bool waitReadable(int timeoutMs) = 0;
    virtual bool waitWritable(int timeoutMs) = 0;
    // What is there, up to maxLength bytes; 0 once the other end hung up; -1
    // with errno set on failure (EAGAIN and EINTR: try again).
    virtual qint64 read(char* buffer, qint64 maxLength) = 0;
    // Takes what it can of data; the same results as read.
    virtual qint64 write(const char* data, qint64 length) = 0;
    // The stream in messages: the device's path.
    virtual QString name() const = 0;

private:
    std::shared_ptr<ProtocolLog> m_log;
};

// What the system says of an errno value, for messages about a stream.
inline QString systemErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
