#pragma once

#include "handset/ByteStream.h"

#include <QByteArray>

#include <atomic>
#include <optional>

// Command and reply frames over a byte stream, with the time limit of a reply
// and cancelling.
//
// Command frame: E1 01, command (2 bytes, high first), length (4 bytes, little
// endian: parameter length + 4), 00, sub-command high, 00, sub-command low, then
// the parameter. Replies have the same layout and begin E1 02; bytes before a
// reply's start are skipped.
class FrameChannel
{
public:
    static constexpr int HeaderLength = 12;
    static constexpr int CancelSliceMilliseconds = 100;
    // How long one wait for the handset may take after a cancel.
    static constexpr int CancelGraceMilliseconds = 500;
    // Frames up to this length go out in one write.
    static constexpr int SmallFrameLength = 4096;

    // A reply read whole (up to the length asked for).
    struct Reply {
        int command = 0;
        int subCommand = 0;
        // What followed the header, at most the length asked for less the header.
        QByteArray payload;
        // What the header announced after itself, all of the payload included.
        qint64 announced = 0;
        bool startsWith(const char* text) const { return payload.startsWith(text); }
    };

    // The command and sub-command a reply carries. The handset's contract gives
    // them only to entry frames (3/0x802) and directory frames (3/0x607); every
    // other reply is known by its place in the conversation, and its echo is
    // not examined.
    struct Echo {
        int command;
        int subCommand;
    };

    void setStream(ByteStream* stream) { m_stream = stream; }
    ByteStream* stream() const { return m_stream; }
    // The time limit of one reply in milliseconds; -1 waits for ever.
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    // While cancel holds true, every wait ends within CancelSliceMilliseconds
    // with Cancelled, except while something that may not be cut goes out.
    void setCancelFlag(const std::atomic<bool>* cancel) { m_cancel = cancel; }
    void checkCancelled() const;
    // Waits the time given, or less when cancelled.
    void pause(int milliseconds);

    // masked: the parameter is a secret, logged as zeros.
    void sendCommand(int command, int subCommand, const char* parameter, int length, bool masked = false);
    // The raw reply: the header always, then (when additionally) what follows up
    // to maxLength bytes in all. Returns the frame's whole length from its header.
    int receiveData(char* buffer, int maxLength, bool additionally);
    Reply receiveReply(int maxLength);
    // One exchange: the command, then its reply (up to maxLength bytes). The
    // reply must carry echo when one is given (else it is an illegal format);
    // without one, whatever it carries is taken, and noted in the protocol log
    // when it is not the command's own.
    Reply request(int command, int subCommand, const char* parameter, int length,
                  std::optional<Echo> echo = std::nullopt, bool masked = false, int maxLength = 4096);
    int sendRawData(const char* data, int length);
    int receiveRawData(char* buffer, int maxLength);

    // Notes in the protocol log a reply header in buffer whose echo is not
    // command and subCommand (an echo that is not examined).
    void noteEcho(const char* buffer, int command, int subCommand) const;
    // Decimal digits, perhaps padded with spaces, NULs or line ends.
    static int parseCount(const char* text, int length);

private:
    friend class Uncancellable;
    void waitFor(bool writing, qint64 deadline);
    qint64 replyDeadline() const;
    // wholeOnceStarted: once part of data is out, a cancel no longer stops the rest.
    void writeAll(const char* data, int length, bool wholeOnceStarted = false);
    int readSome(char* buffer, int maxLength, qint64 deadline);

    ByteStream* m_stream = nullptr;
    int m_timeoutMs = 10000;
    const std::atomic<bool>* m_cancel = nullptr;
    int m_uncancellable = 0;
};

// Suspends cancelling while it lives: what keeps the handset in step is sent whole.
class Uncancellable
{
public:
    explicit Uncancellable(FrameChannel& channel) : m_channel(channel) { ++m_channel.m_uncancellable; }
    ~Uncancellable() { --m_channel.m_uncancellable; }
    Uncancellable(const Uncancellable&) = delete;
    Uncancellable& operator=(const Uncancellable&) = delete;

private:
    FrameChannel& m_channel;
};
