#pragma once

#include "handset/ByteStream.h"

#include <QByteArray>
#include <QList>

#include <functional>

// A stream in memory: what the program reads comes from a script fed in
// advance (or by a responder that answers each frame written), what it writes is
// kept. Once the script is read, the stream either has hung up or stays silent
// (a wait then takes its whole time, as on a quiet line).
class MemoryStream : public ByteStream
{
public:
    explicit MemoryStream(const QString& name = QStringLiteral("memory")) : m_name(name) {}

    // Bytes for the program to read, after those fed before.
    void feed(const QByteArray& bytes) { m_input += bytes; }
    // Called with every complete command frame the program writes (header and
    // parameter); what it returns is fed.
    void setResponder(std::function<QByteArray(const QByteArray& frame)> responder)
    {
        m_responder = std::move(responder);
    }
    void setHungUpAtEnd(bool hungUp) { m_hungUpAtEnd = hungUp; }
    // At most this many bytes per read and per write (0: no limit), as a slow
    // line or a full buffer gives them.
    void setPieceLength(qint64 read, qint64 write)
    {
        m_readPiece = read;
        m_writePiece = write;
    }

    // Writes fail with these errors, one per write, before they take bytes again.
    void failWrites(const QList<int>& errors) { m_writeErrors = errors; }

    const QByteArray& written() const { return m_written; }
    qint64 unread() const { return m_input.size() - m_readPosition; }
    // Calls the program made (each one system call on a port), kept here or
    // where countCallsInto says, so that they outlive the stream.
    struct Calls {
        qint64 waits = 0;
        qint64 reads = 0;
        qint64 writes = 0;
    };
    void countCallsInto(Calls* calls) { m_calls = calls ? calls : &m_ownCalls; }
    qint64 waits() const { return m_calls->waits; }
    qint64 reads() const { return m_calls->reads; }
    qint64 writes() const { return m_calls->writes; }

    bool waitReadable(int timeoutMs) override;
    bool waitWritable(int timeoutMs) override;
    qint64 read(char* buffer, qint64 maxLength) override;
    qint64 write(const char* data, qint64 length) override;
    QString name() const override { return m_name; }

private:
    void answerFrames();

    QString m_name;
    QByteArray m_input;
    qint64 m_readPosition = 0;
    QByteArray m_written;
    qint64 m_framePosition = 0; // the start of the next frame in m_written
    std::function<QByteArray(const QByteArray&)> m_responder;
    bool m_hungUpAtEnd = true;
    qint64 m_readPiece = 0;
    qint64 m_writePiece = 0;
    QList<int> m_writeErrors;
    Calls m_ownCalls;
    Calls* m_calls = &m_ownCalls;
};
