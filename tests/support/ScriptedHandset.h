#pragma once

#include "MemoryStream.h"

#include <QByteArray>
#include <QList>
#include <QMap>

#include <memory>

// The handset's side of a conversation as a script, for a MemoryStream: every
// command frame written is answered with the next reply scripted for its
// command and sub-command (the last one again when they run out), or with
// nothing when none is. Probe and password are answered "OK" unless scripted
// otherwise.
class ScriptedHandset
{
public:
    // A reply frame: E1 02, command, length (payload + 4 + extra), sub-command, payload.
    static QByteArray reply(int command, int subCommand, const QByteArray& payload, qint64 extra = 0)
    {
        const quint32 field = quint32(payload.size() + 4 + extra);
        const char header[12] = {char(0xE1),
                                 char(0x02),
                                 char(command >> 8),
                                 char(command),
                                 char(field),
                                 char(field >> 8),
                                 char(field >> 16),
                                 char(field >> 24),
                                 0,
                                 char(subCommand >> 8),
                                 0,
                                 char(subCommand)};
        return QByteArray(header, 12) + payload;
    }

    ScriptedHandset()
    {
        on(0, 0x101, {reply(0, 0x101, "OK")});
        on(1, 0x201, {reply(1, 0x201, "OK")});
    }

    void on(int command, int subCommand, const QList<QByteArray>& replies)
    {
        m_replies[key(command, subCommand)] = replies;
    }
    // Frames received so far, whole.
    const QList<QByteArray>& frames() const { return m_frames; }

    // A stream served by this script; it hangs up once its replies are read
    // unless silent is asked for.
    std::unique_ptr<MemoryStream> stream(bool silentAtEnd = false)
    {
        auto s = std::make_unique<MemoryStream>();
        s->setHungUpAtEnd(!silentAtEnd);
        s->setResponder([this](const QByteArray& frame) { return answer(frame); });
        return s;
    }

    QByteArray answer(const QByteArray& frame)
    {
        m_frames << frame;
        const int command = uchar(frame[2]) << 8 | uchar(frame[3]);
        const int subCommand = uchar(frame[9]) << 8 | uchar(frame[11]);
        QList<QByteArray>& replies = m_replies[key(command, subCommand)];
        if (replies.isEmpty())
            return {};
        return replies.size() == 1 ? replies.first() : replies.takeFirst();
    }

private:
    static int key(int command, int subCommand) { return (command & 0xFFFF) << 16 | (subCommand & 0xFFFF); }
    QMap<int, QList<QByteArray>> m_replies;
    QList<QByteArray> m_frames;
};
