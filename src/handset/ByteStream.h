#pragma once

#include <QString>
#include <QtGlobal>

#include <cstring>

// The bytes between the program and the handset: the serial port, or a stream
// in memory for tests and benchmarks. Calls never block for long: the frame
// layer waits (with its time limits and cancelling) before it reads or writes.
class ByteStream
{
public:
    virtual ~ByteStream() = default;

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
    // Waits until what was written has gone out.
    virtual void drain() {}
    // The stream in messages: the device's path.
    virtual QString name() const = 0;
};

// What the system says of an errno value, for messages about a stream.
inline QString systemErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
