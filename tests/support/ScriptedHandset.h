#pragma once

#include "handset/VedORovav.h"
#include "support/MemoryStream.h"
#include "support/TestLink.h"

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
        QByteArray next = replies.size() == 1 ? replies.first() : replies.takeFirst();
        // Only entry and directory frames (3/0x802, 3/0x607) are known by their echo.
        const int echoedCommand = next.size() >= 12 ? uchar(next[2]) << 8 | uchar(next[3]) : 0;
        const int echoedSub = next.size() >= 12 ? uchar(next[9]) << 8 | uchar(next[11]) : 0;
        const bool record = echoedCommand == 3 && (echoedSub == 0x802 || echoedSub == 0x607);
        if (zeroEchoes && next.size() >= 12 && !record)
            next[2] = next[3] = next[9] = next[11] = 0;
        return next;
    }

    // Every reply whose echo is not examined carries zeros for it.
    bool zeroEchoes = false;

private:
    static int key(int command, int subCommand) { return (command & 0xFFFF) << 16 | (subCommand & 0xFFFF); }
    QMap<int, QList<QByteArray>> m_replies;
    QList<QByteArray> m_frames;
};

// A link to a ScriptedHandset, with the handset's side of the transfers
// scripted by what it holds; what the link sent is in handset.frames().
struct ScriptedLink {
    ScriptedHandset handset;
    VedORovav link{testLink()};
    ScriptedLink()
    {
        link.setStreamOpener([this] {
            auto stream = handset.stream();
            stream->setPieceLength(4096, 0); // what a terminal gives per read
            return stream;
        });
    }

    // A listing: the count (2, countSub), then the records (3, listSub), the next
    // one for each acknowledgement.
    void holdRecords(int countSub, int listSub, const QList<QByteArray>& payloads)
    {
        handset.on(2, countSub, {ScriptedHandset::reply(2, countSub, QByteArray::number(payloads.size()))});
        QList<QByteArray> replies;
        for (const QByteArray& p : payloads)
            replies << ScriptedHandset::reply(3, listSub, p);
        replies << QByteArray(); // nothing after the last one
        handset.on(3, listSub, {replies.takeFirst()});
        handset.on(0x10, 0x910, replies);
    }
    void holdEntries(const QList<QByteArray>& payloads) { holdRecords(0x801, 0x802, payloads); }
    void holdDirectory(const QList<QByteArray>& payloads) { holdRecords(0x601, 0x607, payloads); }
    // Downloads, answered in order: name TAB type TAB content.
    void holdDownloads(const QList<QByteArray>& payloads)
    {
        QList<QByteArray> replies;
        for (const QByteArray& p : payloads)
            replies << ScriptedHandset::reply(3, 0x602, p);
        handset.on(3, 0x602, replies << QByteArray());
    }
    // A bookmark upload's exchanges, each entry answered with entryReply.
    void takeEntries(const QByteArray& entryReply = "0")
    {
        for (int sub : {0x804, 0x805, 0x806})
            handset.on(3, sub, {ScriptedHandset::reply(3, sub, "0")});
        handset.on(3, 0x803, {ScriptedHandset::reply(3, 0x803, entryReply)});
    }
    void refusePassword() { handset.on(1, 0x201, {ScriptedHandset::reply(1, 0x201, "NG")}); }
};
