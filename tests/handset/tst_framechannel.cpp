// The frame layer and the session over a stream in memory: exact frames, every
// way a reply can arrive or fail to, the login's outcomes.
#include "handset/FrameChannel.h"
#include "handset/HandsetSession.h"
#include "handset/VedORovav.h"
#include "support/LinkTestSupport.h"
#include "support/ScriptedHandset.h"

#include <QElapsedTimer>
#include <QTest>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace
{
using Reply = FrameChannel::Reply;

// A channel over a stream, both kept here.
struct Line {
    explicit Line(std::unique_ptr<MemoryStream> s = std::make_unique<MemoryStream>()) : stream(std::move(s))
    {
        channel.setStream(stream.get());
        channel.setTimeout(2000);
    }
    std::unique_ptr<MemoryStream> stream;
    FrameChannel channel;
};
} // namespace

class TestFrameChannel : public QObject
{
    Q_OBJECT
private slots:
    void commandFrames_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("subCommand");
        QTest::addColumn<QByteArray>("parameter"); // null: the header alone, announcing length bytes
        QTest::addColumn<int>("length");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("probe") << 0 << 0x101 << QByteArray("1") << 1 << Probe;
        QTest::newRow("logout") << 0xFF << 0x102 << QByteArray("") << 0 << Logout;
        QTest::newRow("acknowledgement") << 0x10 << 0x910 << QByteArray("0") << 1 << Ack;
        QTest::newRow("upload header")
            << 3 << 0x603 << QByteArray() << 100 << frameBytes("E1 01 00 03 68 00 00 00 00 06 00 03");
        QTest::newRow("only the low 16 bits go out")
            << 0x12345 << 0x10910 << QByteArray("") << 0 << frameBytes("E1 01 23 45 04 00 00 00 00 09 00 10");
        QTest::newRow("a 300-byte entry")
            << 3 << 0x803 << QByteArray(300, 'e') << 300
            << frameBytes("E1 01 00 03 30 01 00 00 00 08 00 03") + QByteArray(300, 'e');
    }

    void commandFrames()
    {
        QFETCH(int, command);
        QFETCH(int, subCommand);
        QFETCH(QByteArray, parameter);
        QFETCH(int, length);
        QFETCH(QByteArray, frame);
        Line line;
        line.channel.sendCommand(command, subCommand, parameter.isNull() ? nullptr : parameter.constData(),
                                 length);
        QCOMPARE(line.stream->written(), frame);
    }

    // Replies are found after noise, and however the line cuts them up.
    void repliesAfterNoise_data()
    {
        QTest::addColumn<QByteArray>("noise");
        QTest::addColumn<int>("piece");
        QTest::newRow("clean") << QByteArray() << 0;
        QTest::newRow("noise") << QByteArray("\x00\x55\x02\xE1\x01\xFF", 6) << 0;
        QTest::newRow("E1 E1 02") << QByteArray("\xE1") << 0;
        QTest::newRow("E1 alone at the end of a read") << QByteArray("zz\xE1") << 3;
        QTest::newRow("a byte per read") << QByteArray("\x55") << 1;
        QTest::newRow("five bytes per read") << QByteArray("\x02\x02\x02") << 5;
    }

    void repliesAfterNoise()
    {
        QFETCH(QByteArray, noise);
        QFETCH(int, piece);
        Line line;
        line.stream->setPieceLength(piece, 0);
        line.stream->feed(noise + ScriptedHandset::reply(2, 0x801, "42") +
                          ScriptedHandset::reply(3, 0x803, "0"));
        const Reply count = line.channel.receiveReply(4096);
        QCOMPARE(count.command, 2);
        QCOMPARE(count.subCommand, 0x801);
        QCOMPARE(count.payload, QByteArray("42"));
        QCOMPARE(count.announced, 2);
        const Reply next = line.channel.receiveReply(4096);
        QCOMPARE(next.payload, QByteArray("0"));
        QCOMPARE(line.stream->unread(), 0);
    }

    // A length field below 4, or one no signed total can hold, is illegal when the
    // rest is to be read; the header alone is still returned as it is.
    void illegalLengths_data()
    {
        QTest::addColumn<quint32>("field");
        QTest::addColumn<int>("total");
        QTest::newRow("0") << 0u << 8;
        QTest::newRow("3") << 3u << 11;
        QTest::newRow("0xFFFFFFF8") << 0xFFFFFFF8u << -1;
        QTest::newRow("0x7FFFFFF8") << 0x7FFFFFF8u << -1;
    }

    void illegalLengths()
    {
        QFETCH(quint32, field);
        QFETCH(int, total);
        QByteArray frame = ScriptedHandset::reply(0, 0x101, "");
        for (int i = 0; i < 4; ++i)
            frame[4 + i] = char(field >> (8 * i));
        Line line;
        line.stream->feed(frame + frame);
        char buffer[4096];
        QCOMPARE(reasonOf([&] { line.channel.receiveData(buffer, 4096, true); }),
                 QString(LinkTexts::IllegalLength));
        QCOMPARE(line.channel.receiveData(buffer, 4096, false), total);
    }

    void longAndHeaderOnlyReplies()
    {
        Line line;
        line.stream->feed(ScriptedHandset::reply(2, 0x801, "100") + ScriptedHandset::reply(2, 0x801, ""));
        char buffer[4096];
        std::memset(buffer, 0x55, sizeof buffer);
        // "100" does not fit 13 bytes: 13 are stored, the full length is returned.
        QCOMPARE(line.channel.receiveData(buffer, 13, true), 15);
        QCOMPARE(buffer[12], '1');
        QCOMPARE(uchar(buffer[13]), uchar(0x00)); // preset, not overwritten
        QCOMPARE(uchar(buffer[14]), uchar(0x55));
        // The two bytes left on the line are skipped by the next receive, and a
        // reply without payload leaves the preset bytes.
        QCOMPARE(line.channel.receiveData(buffer, 4096, true), 12);
        QCOMPARE(uchar(buffer[12]), uchar(0xFF));
        QCOMPARE(uchar(buffer[13]), uchar(0x00));
        QCOMPARE(line.stream->unread(), 0);
    }

    // How waits end: the time limit, a hang-up, a cancel; writes taken in parts.
    void waits()
    {
        // Nothing to talk through: a failure, never a crash.
        QCOMPARE(reasonOf([] { VedORovav(testLink()).loginWithPassword("1234"); }),
                 QString(LinkTexts::CouldNotWrite));
        QCOMPARE(reasonOf([] { FrameChannel().receiveReply(4096); }), QString(LinkTexts::CouldNotRead));
        {
            Line line;
            line.stream->setHungUpAtEnd(false);
            line.stream->feed("\xE1\x02\x00");
            line.channel.setTimeout(300);
            QElapsedTimer timer;
            timer.start();
            QCOMPARE(reasonOf([&] { line.channel.receiveReply(4096); }), QString(LinkTexts::NoAnswer));
            QVERIFY(timer.elapsed() >= 250);
        }
        {
            Line line;
            line.stream->feed(ScriptedHandset::reply(2, 0x801, "12345").left(14));
            QCOMPARE(reasonOf([&] { line.channel.receiveReply(4096); }), QString(LinkTexts::Disconnected));
        }
        {
            Line line;
            line.stream->setHungUpAtEnd(false);
            std::atomic<bool> cancel{true};
            line.channel.setCancelFlag(&cancel);
            line.channel.setTimeout(-1);
            QCOMPARE(reasonOf([&] { line.channel.receiveReply(4096); }), QString(LinkTexts::Cancelled));
            QCOMPARE(reasonOf([&] { line.channel.sendCommand(2, 0x801, "", 0); }),
                     QString(LinkTexts::Cancelled));
            QVERIFY(line.stream->written().isEmpty());
            // What keeps the handset in step goes out all the same.
            {
                Uncancellable closing(line.channel);
                line.channel.sendCommand(0xFF, 0x102, "", 0);
            }
            QCOMPARE(line.stream->written(), Logout);
            QCOMPARE(reasonOf([&] { line.channel.pause(5000); }), QString(LinkTexts::Cancelled));
        }
        {
            // A write interrupted or refused for now is tried again; any other error ends it.
            Line line;
            line.stream->failWrites({EINTR, EAGAIN});
            line.channel.sendCommand(0xFF, 0x102, "", 0);
            QCOMPARE(line.stream->written(), Logout);
            line.stream->failWrites({EIO});
            const VedORovavException e = failureOf([&] { line.channel.sendCommand(0xFF, 0x102, "", 0); });
            QCOMPARE(e.reason(), QString(LinkTexts::CouldNotWrite));
            QVERIFY2(e.details().startsWith("memory: "), qPrintable(e.details()));
        }
        {
            Line line;
            line.stream->setPieceLength(0, 1000);
            QByteArray piece(256 * 1024, '\0');
            for (int i = 0; i < piece.size(); ++i)
                piece[i] = char(i * 7);
            QCOMPARE(line.channel.sendRawData(piece.constData(), int(piece.size())), int(piece.size()));
            QCOMPARE(line.stream->written(), piece);
            QCOMPARE(line.stream->writes(), 263);
        }
    }

    void counts_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("count"); // -1: illegal
        QTest::newRow("digits") << QByteArray("42") << 42;
        QTest::newRow("padded") << QByteArray(" 7\r\n\0", 5) << 7;
        QTest::newRow("zero") << QByteArray("0") << 0;
        QTest::newRow("empty") << QByteArray() << -1;
        QTest::newRow("sign") << QByteArray("-1") << -1;
        QTest::newRow("letters") << QByteArray("1a") << -1;
        QTest::newRow("ten digits") << QByteArray("1234567890") << -1;
    }

    void counts()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, count);
        int parsed = -1;
        const QString reason =
            reasonOf([&] { parsed = FrameChannel::parseCount(text.constData(), int(text.size())); });
        QCOMPARE(parsed, count);
        QCOMPARE(reason.isNull(), count >= 0);
    }

    // The login's outcomes, with the frames the handset hears.
    void logins_data()
    {
        QTest::addColumn<QList<QByteArray>>("probes");
        QTest::addColumn<QByteArray>("answer"); // to the password
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("outcome"); // "in", "refused" or the failure
        QTest::addColumn<int>("framesHeard");
        const QByteArray ok = ScriptedHandset::reply(0, 0x101, "OK");
        const QByteArray ng = ScriptedHandset::reply(0, 0x101, "NG");
        const QByteArray passwordOk = ScriptedHandset::reply(1, 0x201, "OK");
        const QByteArray passwordNg = ScriptedHandset::reply(1, 0x201, "NG");
        const QString in("in");
        QTest::newRow("at once") << QList{ok} << passwordOk << "1234" << in << 3;
        QTest::newRow("after three NG") << QList{ng, ng, ng, ok} << passwordOk << "1234" << in << 6;
        QTest::newRow("only the first two bytes count")
            << QList{ScriptedHandset::reply(0, 0x101, "OKAY, top screen")} << passwordOk << "1234" << in << 3;
        QTest::newRow("never the top screen") << QList{ng} << passwordOk << "1234" << LinkTexts::NotTopScreen << 9;
        QTest::newRow("half an OK")
            << QList{ScriptedHandset::reply(0, 0x101, "O")} << passwordOk << "1234" << LinkTexts::NotTopScreen << 9;
        // The probe's and the password's replies are known by their place: their echo is not examined.
        QTest::newRow("probe echoing another request")
            << QList{ScriptedHandset::reply(0, 0x102, "OK")} << passwordOk << "1234" << in << 3;
        QTest::newRow("password refused") << QList{ok} << passwordNg << "1234" << "refused" << 3;
        QTest::newRow("password echoing another request")
            << QList{ok} << ScriptedHandset::reply(1, 0x202, "OK") << "1234" << in << 3;
        for (const char* unusable : {"12345", "", "日本語", "😀"})
            QTest::addRow("unusable password \"%s\"", unusable)
                << QList{ok} << passwordOk << QString::fromUtf8(unusable) << "refused" << 2;
    }

    void logins()
    {
        QFETCH(QList<QByteArray>, probes);
        QFETCH(QByteArray, answer);
        QFETCH(QString, password);
        QFETCH(QString, outcome);
        QFETCH(int, framesHeard);
        ScriptedHandset handset;
        handset.on(0, 0x101, probes);
        handset.on(1, 0x201, {answer});
        Line line(handset.stream());
        {
            HandsetSession session(line.channel);
            bool in = false;
            const QString failure = reasonOf([&] { in = session.login(password); });
            QCOMPARE(failure.isNull() ? QString(in ? "in" : "refused") : failure, outcome);
        } // the session ends with its logout
        // Logged in (and so logged out) once the top screen answered, whatever came after.
        const bool topScreen = outcome != LinkTexts::NotTopScreen && framesHeard > 1;
        const QList<QByteArray>& frames = handset.frames();
        QCOMPARE(frames.size(), framesHeard);
        QCOMPARE(frames.first(), Probe);
        QCOMPARE(frames.last() == Logout, topScreen);
        if (framesHeard > 2 && topScreen)
            QCOMPARE(frames.at(frames.size() - 2), Password);
    }

    void passwordFrames_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("1 byte") << "1" << frameBytes("E1 01 00 01 05 00 00 00 00 02 00 01 31");
        QTest::newRow("4 bytes") << "1234" << Password;
        QTest::newRow("kanji") << QStringLiteral("暗号")
                               << frameBytes("E1 01 00 01 08 00 00 00 00 02 00 01 88 c3 8d 86");
    }

    void passwordFrames()
    {
        QFETCH(QString, password);
        QFETCH(QByteArray, frame);
        ScriptedHandset handset;
        Line line(handset.stream());
        HandsetSession session(line.channel);
        QVERIFY(session.login(password));
        session.logout();
        session.logout(); // once only
        QCOMPARE(handset.frames(), QList<QByteArray>({Probe, frame, Logout}));
    }
};

QTEST_GUILESS_MAIN(TestFrameChannel)
#include "tst_framechannel.moc"
