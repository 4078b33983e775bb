#pragma once

#include "handset/ByteStream.h"

#include <memory>

#include <termios.h>

// The handset's serial device, held for one conversation: opened without
// becoming the controlling terminal, claimed exclusively, set to raw 8-bit
// with hardware flow control, and on destruction released and given back its
// former attributes.
class SerialPort : public ByteStream
{
public:
    // The port at path, ready for a conversation (what an interrupted one left
    // on the line is dropped); nothing when path does not exist. Every other
    // failure is raised as VedORovavException with the path, the system's reason
    // and what to do.
    // Its steps go to log.
    static std::unique_ptr<SerialPort> open(const QString& path, std::shared_ptr<ProtocolLog> log = {});
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    int fileDescriptor() const { return m_fd; }

    // Gives every port this process holds its claim and former attributes back,
    // for a process that ends at once on a signal: async-signal-safe.
    static void releaseHeldPortsNow() noexcept;

    bool waitReadable(int timeoutMs) override;
    bool waitWritable(int timeoutMs) override;
    qint64 read(char* buffer, qint64 maxLength) override;
    qint64 write(const char* data, qint64 length) override;
    QString name() const override { return m_path; }

    // The line counts as quiet when nothing arrived for this long after the open.
    static constexpr int QuietMilliseconds = 40;
    // The conversation on this port ended in step (every request answered, the
    // logout sent): the next open of the same path in this process need not wait
    // for the line to be quiet.
    void endsInStep() { m_endsInStep = true; }

    // Whether the last conversation on this port may have been abandoned while
    // the handset was sending (it was not ended in step by this process).
    bool mayHaveStaleInput() const { return m_mayBeStale; }
    // Drops what arrives until the line has been quiet for quietMs: the bytes
    // dropped (at most about a megabyte a call), or -1 once it was quiet.
    qint64 dropArriving(int quietMs);

private:
    SerialPort(int fd, const QString& path, std::shared_ptr<ProtocolLog> log)
        : ByteStream(std::move(log)), m_fd(fd), m_path(path)
    {
    }
    // Claims and sets up the descriptor; raises (and closes it) on failure.
    void setUp();
    [[noreturn]] void failOptions(const char* step);
    void dropStaleInput();
    bool wait(short events, int timeoutMs);

    int m_fd;
    QString m_path;
    struct termios m_original {
    };
    bool m_restore = false; // m_original holds what to give back
    bool m_endsInStep = false;
    bool m_mayBeStale = false;
    int m_heldSlot = -1; // where releaseHeldPortsNow finds this port
};
