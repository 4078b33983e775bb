#include "LinkTestSupport.h"
#include "ProtocolLog.h"
#include "RecordingProgress.h"
#include "VedORovav.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace
{
VedORovavException failureOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const VedORovavException& e) {
        return e;
    }
    return VedORovavException("");
}

// The frames of the protocol log in one direction, as the handset saw them.
QList<QByteArray> loggedFrames(ProtocolLog::Kind kind)
{
    QList<QByteArray> frames;
    for (const ProtocolLog::Entry& e : ProtocolLog::shared().entries())
        if (e.kind == kind && e.frame)
            frames << e.bytes;
    return frames;
}
} // namespace

class TestVedORovav : public QObject
{
    Q_OBJECT
private slots:
    void init() { qputenv("EDGEMARKS_TIMEOUT", "5"); }

    void commandFramesAreExact()
    {
        SimulatorFixture sim;
        {
            VedORovav link;
            link.open();
            link.sendCommand(0, 0x101, "1");
            link.sendCommand(0xFF, 0x102, "");
            link.sendCommand(0x10, 0x910, "0", 1);
            // A null parameter sends the header alone, announcing the body's length;
            // the body follows as raw data.
            link.sendCommand(3, 0x603, nullptr, 100);
            const QByteArray body(100, 'x');
            link.sendRawData(body.constData(), 100);
            // Only the low 16 bits of command and sub-command reach the wire.
            link.sendCommand(0x12345, 0x10910, "");
        }
        const QList<QByteArray> frames = sim->receivedFrames(5);
        QCOMPARE(frames.size(), 5);
        QCOMPARE(frames[0], Probe);
        QCOMPARE(frames[1], Logout);
        QCOMPARE(frames[2], frameBytes("E1 01 00 10 05 00 00 00 00 09 00 10 30"));
        QCOMPARE(frames[3].left(12), frameBytes("E1 01 00 03 68 00 00 00 00 06 00 03"));
        QCOMPARE(frames[3].size(), 112);
        QCOMPARE(frames[4], frameBytes("E1 01 23 45 04 00 00 00 00 09 00 10"));
    }

    void repliesAreFoundAfterNoiseAndSplitHeaders_data()
    {
        QTest::addColumn<QByteArray>("noise");
        QTest::addColumn<bool>("split");
        QTest::newRow("noise") << QByteArray("\x00\x55\x02\xE1\x01\xFF", 6) << false;
        QTest::newRow("E1 E1 02") << QByteArray("\xE1") << false;
        QTest::newRow("E1 alone at the end of a read") << QByteArray("zz\xE1") << true;
        QTest::newRow("split header") << QByteArray() << true;
    }

    void repliesAreFoundAfterNoiseAndSplitHeaders()
    {
        QFETCH(QByteArray, noise);
        QFETCH(bool, split);
        SimulatorFixture sim;
        SimulatedHandset::Faults faults;
        faults.noise = noise;
        faults.splitHeader = split;
        sim->setFaults(faults);
        VedORovav link;
        link.open();
        QVERIFY(link.loginWithPassword(SimulatedHandset::samplePassword()));
        char buffer[4096];
        link.sendCommand(2, 0x801, "");
        QCOMPARE(link.receiveData(buffer, 4096, true), 12 + 1);
        QCOMPARE(buffer[12], '0');
        QCOMPARE(QByteArray(buffer, 2), QByteArray("\xE1\x02"));
    }

    void illegalLengths()
    {
        for (quint32 length : {0u, 3u, 0xFFFFFFF8u, 0x7FFFFFF8u}) {
            SimulatorFixture sim;
            SimulatedHandset::Faults faults;
            faults.wrongLengthOn = 0x101;
            faults.wrongLength = length;
            sim->setFaults(faults);
            VedORovav link;
            link.open();
            QCOMPARE(reasonOf([&] { link.loginWithPassword("1234"); }), QString(VedORovav::IllegalLength));
            // The port stays open; without the length check the header is taken as it is.
            QVERIFY(link.fileDescriptor() != -1);
            char buffer[4096];
            link.sendCommand(0, 0x101, "1");
            const int total = link.receiveData(buffer, 4096, false);
            if (length < 4)
                QCOMPARE(total, int(length) + 8);
            else
                QVERIFY(total < 12); // too large for a signed total: reported as illegal
        }
    }

    void longRepliesAndHeaderOnlyReplies()
    {
        SimulatorFixture sim;
        QList<SimulatedHandset::Bookmark> many(100, SimulatedHandset::Bookmark{"n", "l", 0, 0});
        sim->setBookmarks(many);
        VedORovav link;
        link.open();
        QVERIFY(link.loginWithPassword("1234"));
        char buffer[4096];
        std::memset(buffer, 0x55, sizeof buffer);
        link.sendCommand(2, 0x801, "");
        // "100" does not fit 13 bytes: 13 are stored, the full length is returned.
        QCOMPARE(link.receiveData(buffer, 13, true), 15);
        QCOMPARE(buffer[12], '1');
        QCOMPARE(uchar(buffer[13]), uchar(0x00)); // preset, not overwritten
        QCOMPARE(uchar(buffer[14]), uchar(0x55));
        // The two bytes left on the line are skipped by the next receive.
        link.sendCommand(2, 0x801, "");
        QCOMPARE(link.receiveData(buffer, 4096, true), 15);
        QCOMPARE(QByteArray(buffer + 12, 3), QByteArray("100"));

        SimulatedHandset::Faults faults;
        faults.emptyPayloadOn = 0x801;
        sim->setFaults(faults);
        link.sendCommand(2, 0x801, "");
        QCOMPARE(link.receiveData(buffer, 4096, true), 12);
        QCOMPARE(uchar(buffer[12]), uchar(0xFF));
        QCOMPARE(uchar(buffer[13]), uchar(0x00));
    }

    void openWaitsForAMissingDevice()
    {
        qputenv("EDGEMARKS_DEVICE", "/nonexistent/cu.ah-k3001v.data");
        VedORovav link;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(reasonOf([&] { link.open(); }), QString(VedORovav::NotConnected));
        QVERIFY(timer.elapsed() >= 8 * 250 - 50); // eight pauses
        QCOMPARE(link.fileDescriptor(), -1);
        link.close();

        // Any other error is reported at once, without the nine tries.
        qputenv("EDGEMARKS_DEVICE", "/dev/null/not-a-directory");
        timer.restart();
        QCOMPARE(reasonOf([&] { link.open(); }), QString(VedORovav::CouldNotOpen));
        QVERIFY(timer.elapsed() < 8 * 250 - 50);
    }

    // What is not a serial port is refused at once, read or written by nobody.
    void openRefusesWhatIsNotAPort_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("details");
        QTest::newRow("regular file")
            << "file" << VedORovav::CouldNotOpen << "is not a serial port: it is a regular file.";
        QTest::newRow("folder") << "folder" << VedORovav::CouldNotOpen
                                << "is not a serial port: it is a folder.";
        QTest::newRow("FIFO") << "fifo" << VedORovav::CouldNotOpen << "is not a serial port: it is a FIFO.";
        QTest::newRow("/dev/null") << "null" << VedORovav::CouldNotOpen << "/dev/null is not a serial port.";
        QTest::newRow("dangling link") << "link" << VedORovav::NotConnected << "which does not exist.";
    }

    void openRefusesWhatIsNotAPort()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QFETCH(QString, details);
        QTemporaryDir dir;
        QString path = dir.filePath(kind);
        const QByteArray content("the user's own data\n");
        if (kind == "file") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        } else if (kind == "folder") {
            QVERIFY(QDir().mkdir(path));
        } else if (kind == "fifo") {
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        } else if (kind == "null") {
            path = "/dev/null";
        } else {
            QVERIFY(QFile::link(dir.filePath("gone"), path));
        }
        qputenv("EDGEMARKS_DEVICE", QFile::encodeName(path));
        VedORovav link;
        const VedORovavException e = failureOf([&] { link.open(); });
        QCOMPARE(e.reason(), reason);
        QVERIFY2(e.details().endsWith(details), qPrintable(e.details()));
        QCOMPARE(link.fileDescriptor(), -1);
        if (kind == "file") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), content);
        }
    }

    // The exclusive claim is released on every close: conversation after
    // conversation opens while the handset's end stays open. Root ignores the
    // claim; the unprivileged run of this suite is the one that tells.
    void thePortOpensEveryTime()
    {
        SimulatorFixture sim;
        for (int round = 0; round < 10; ++round) {
            VedORovav link;
            link.open();
            QVERIFY(link.loginWithPassword("1234"));
            if (round == 0 && geteuid() != 0) {
                // While it is open, the claim keeps a second opener out, with a cause.
                const VedORovavException busy = failureOf([] { VedORovav().open(); });
                QCOMPARE(busy.reason(), QString(VedORovav::CouldNotOpen));
                QVERIFY2(busy.details().contains("Device or resource busy. Another program holds the port"),
                         qPrintable(busy.details()));
            }
        }
        sim.settle();
        QCOMPARE(sim->receivedFrames().size(), 10 * 3);
    }

    // A process that leads its session does not take the handset as its
    // controlling terminal (an unplug would end it with SIGHUP).
    void theHandsetNeverBecomesTheControllingTerminal()
    {
        SimulatorFixture sim;
        const pid_t child = fork();
        if (child == 0) {
            setsid();
            int status = 2;
            try {
                VedORovav link;
                link.open();
                status = ::open("/dev/tty", O_RDWR | O_NOCTTY) == -1 ? 0 : 1;
            } catch (...) {
            }
            _exit(status);
        }
        int status = -1;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    void theProtocolLogHoldsEveryFrameButThePassword()
    {
        SimulatorFixture sim;
        sim->loadSampleContent();
        ProtocolLog::shared().clear();
        BookmarkList list;
        RecordingProgress progress;
        QVERIFY(VedORovav().readBookmarks(list, "1234", progress));
        sim.settle();
        QList<QByteArray> expected = sim->receivedFrames();
        QCOMPARE(expected.at(1), Password);
        expected[1] = frameBytes("E1 01 00 01 08 00 00 00 00 02 00 01 00 00 00 00"); // masked
        QCOMPARE(loggedFrames(ProtocolLog::Kind::Sent), expected);
        QCOMPARE(loggedFrames(ProtocolLog::Kind::Received).size(), 2 + 1 + 6); // login, count, entries
        const QString text = ProtocolLog::shared().toText();
        QVERIFY(text.contains("(password masked)"));
        QVERIFY(text.contains("** ** ** **"));
        QVERIFY(!text.contains("31 32 33 34"));
        QVERIFY(text.contains("exclusive claim (TIOCEXCL)"));

        // A refused login: the frames, still without the password.
        ProtocolLog::shared().clear();
        sim->clearReceivedFrames();
        SimulatedHandset::Faults faults;
        faults.refusePassword = true;
        sim->setFaults(faults);
        QVERIFY(!VedORovav().readBookmarks(list, "1234", progress));
        sim.settle();
        expected = sim->receivedFrames();
        QCOMPARE(expected.size(), 3); // probe, password, logout
        expected[1] = frameBytes("E1 01 00 01 08 00 00 00 00 02 00 01 00 00 00 00");
        QCOMPARE(loggedFrames(ProtocolLog::Kind::Sent), expected);
        QVERIFY(!ProtocolLog::shared().toText().contains("31 32 33 34"));
    }

    // The time limit holds for a whole reply: a peer that sends nothing but noise
    // cannot keep the link waiting; a limit that is not a number is refused.
    void timeLimits()
    {
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master != -1 && grantpt(master) == 0 && unlockpt(master) == 0);
        const int keep = ::open(ptsname(master), O_RDWR | O_NOCTTY);
        QTemporaryDir dir;
        const QString device = dir.filePath("noisy");
        QVERIFY(QFile::link(QString::fromLocal8Bit(ptsname(master)), device));
        qputenv("EDGEMARKS_DEVICE", QFile::encodeName(device));
        qputenv("EDGEMARKS_TIMEOUT", "1");
        std::atomic<bool> stop{false};
        std::thread noise([&] {
            while (!stop) {
                [[maybe_unused]] const ssize_t n = ::write(master, "\x55\xE1\x01", 3);
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
        {
            VedORovav link;
            link.open();
            char buffer[4096];
            QCOMPARE(reasonOf([&] { link.receiveData(buffer, 4096, true); }), QString(VedORovav::NoAnswer));
        }
        stop = true;
        noise.join();
        ::close(keep);
        ::close(master);

        for (const char* bad : {"ten", "-1", "nan", "1e"}) {
            qputenv("EDGEMARKS_TIMEOUT", bad);
            VedORovav link;
            const VedORovavException e = failureOf([&] { link.open(); });
            QCOMPARE(e.reason(), QString(VedORovav::BadTimeout));
            QCOMPARE(e.details(), QString("EDGEMARKS_TIMEOUT=%1").arg(bad));
        }
        qputenv("EDGEMARKS_TIMEOUT", "5");
    }

    // A line that takes a piece only in parts (its buffer full, a slow reader):
    // the piece still goes out whole, nothing lost or refused.
    void shortWritesGoOutWhole()
    {
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master != -1 && grantpt(master) == 0 && unlockpt(master) == 0);
        const int keep = ::open(ptsname(master), O_RDWR | O_NOCTTY);
        QTemporaryDir dir;
        const QString device = dir.filePath("slow");
        QVERIFY(QFile::link(QString::fromLocal8Bit(ptsname(master)), device));
        qputenv("EDGEMARKS_DEVICE", QFile::encodeName(device));
        QByteArray piece(256 * 1024, '\0');
        for (int i = 0; i < piece.size(); ++i)
            piece[i] = char(i * 7);
        QByteArray received;
        std::thread reader([&] {
            char buffer[1024];
            while (received.size() < piece.size()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1)); // slower than the writer
                const ssize_t n = ::read(master, buffer, sizeof buffer);
                if (n > 0)
                    received.append(buffer, n);
                else if (n == 0 || (errno != EAGAIN && errno != EINTR))
                    break;
            }
        });
        {
            VedORovav link;
            link.open();
            QCOMPARE(link.sendRawData(piece.constData(), int(piece.size())), int(piece.size()));
        }
        reader.join();
        QCOMPARE(received, piece);
        ::close(keep);
        ::close(master);
    }

    void theProtocolLogIsBounded()
    {
        ProtocolLog log;
        const QByteArray frame = Probe + QByteArray(4000, 'x');
        for (int i = 0; i < ProtocolLog::MaxEntries + 10; ++i)
            log.frame(ProtocolLog::Kind::Sent, frame, frame.size());
        const auto entries = log.entries();
        QVERIFY(entries.size() <= size_t(ProtocolLog::MaxEntries));
        qint64 stored = 0;
        for (const auto& e : entries)
            stored += e.bytes.size();
        QVERIFY(stored <= ProtocolLog::MaxStoredBytes);
        // A file's content is one entry that counts its bytes.
        log.clear();
        const QByteArray piece(4096, 'y');
        for (int i = 0; i < 100; ++i)
            log.data(ProtocolLog::Kind::Received, piece.constData(), piece.size());
        QCOMPARE(log.entries().size(), size_t(1));
        QCOMPARE(log.entries().front().size, qint64(100 * 4096));
    }

    void openConfiguresAndCloseRestores()
    {
        SimulatorFixture sim;
        const int observer = ::open(QFile::encodeName(sim->slavePath()).constData(), O_RDWR | O_NOCTTY);
        QVERIFY(observer != -1);
        struct termios before;
        tcgetattr(observer, &before);
        {
            VedORovav link;
            link.open();
            struct termios now;
            tcgetattr(observer, &now);
            QCOMPARE(now.c_iflag, tcflag_t(IGNBRK | IGNPAR));
            QCOMPARE(now.c_oflag, tcflag_t(0));
            QCOMPARE(now.c_cflag & ~tcflag_t(CBAUD | CIBAUD),
                     tcflag_t(CS8 | CREAD | HUPCL | CLOCAL | CRTSCTS));
            QCOMPARE(cfgetospeed(&now), cfgetospeed(&before));
            QCOMPARE(now.c_lflag, tcflag_t(0));
            QCOMPARE(int(now.c_cc[VMIN]), 1);
            QCOMPARE(int(now.c_cc[VTIME]), 0);
            QCOMPARE(fcntl(link.fileDescriptor(), F_GETFL) & O_NONBLOCK, 0);
            link.close();
            QCOMPARE(link.fileDescriptor(), -1);
            link.close(); // twice is harmless
        }
        struct termios after;
        tcgetattr(observer, &after);
        QCOMPARE(after.c_iflag, before.c_iflag);
        QCOMPARE(after.c_cflag, before.c_cflag);
        QCOMPARE(after.c_lflag, before.c_lflag);
        ::close(observer);
        // Never logged in: no logout frame.
        QCOMPARE(sim->receivedFrames().size(), 0);
    }

    void probeAttempts()
    {
        {
            SimulatorFixture sim;
            VedORovav link;
            link.open();
            QVERIFY(link.loginWithPassword("1234"));
            QCOMPARE(sim->probeCount(), 1); // one probe, so no pause
        }
        {
            SimulatorFixture sim;
            SimulatedHandset::Faults faults;
            faults.probesAnsweredNG = 3;
            sim->setFaults(faults);
            VedORovav link;
            link.open();
            QVERIFY(link.loginWithPassword("1234"));
            QCOMPARE(sim->probeCount(), 4);
        }
        {
            SimulatorFixture sim;
            SimulatedHandset::Faults faults;
            faults.probesAnsweredNG = -1;
            sim->setFaults(faults);
            VedORovav link;
            link.open();
            QElapsedTimer timer;
            timer.start();
            QCOMPARE(reasonOf([&] { link.loginWithPassword("1234"); }), QString(VedORovav::NotTopScreen));
            QVERIFY(timer.elapsed() >= 8 * 250 - 50);
            QCOMPARE(sim->probeCount(), 9);
            QVERIFY(!link.isLoggedIn());
            link.close();
            // Nine probes and no logout frame.
            const QList<QByteArray> frames = sim->receivedFrames(9);
            QCOMPARE(frames.size(), 9);
            QVERIFY(
                std::all_of(frames.begin(), frames.end(), [](const QByteArray& f) { return f == Probe; }));
        }
    }

    void onlyTheFirstTwoPayloadBytesCount()
    {
        {
            SimulatorFixture sim;
            SimulatedHandset::Faults faults;
            faults.probeReply = "OKAY, top screen";
            sim->setFaults(faults);
            VedORovav link;
            link.open();
            QVERIFY(link.loginWithPassword("1234"));
        }
        {
            SimulatorFixture sim;
            SimulatedHandset::Faults faults;
            faults.probeReply = "O";
            sim->setFaults(faults);
            VedORovav link;
            link.open();
            QCOMPARE(reasonOf([&] { link.loginWithPassword("1234"); }), QString(VedORovav::NotTopScreen));
        }
    }

    void passwords_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("1 byte") << "1" << frameBytes("E1 01 00 01 05 00 00 00 00 02 00 01 31");
        QTest::newRow("2 bytes") << "12" << frameBytes("E1 01 00 01 06 00 00 00 00 02 00 01 31 32");
        QTest::newRow("3 bytes") << "123" << frameBytes("E1 01 00 01 07 00 00 00 00 02 00 01 31 32 33");
        QTest::newRow("4 bytes") << "1234" << frameBytes("E1 01 00 01 08 00 00 00 00 02 00 01 31 32 33 34");
        QTest::newRow("kanji") << QStringLiteral("暗号")
                               << frameBytes("E1 01 00 01 08 00 00 00 00 02 00 01 88 c3 8d 86");
    }

    void passwords()
    {
        QFETCH(QString, password);
        QFETCH(QByteArray, frame);
        SimulatorFixture sim;
        sim->setPassword(password);
        {
            VedORovav link;
            link.open();
            QVERIFY(link.loginWithPassword(password));
        }
        const QList<QByteArray> frames = sim->receivedFrames(3);
        QCOMPARE(frames.size(), 3);
        QCOMPARE(frames[0], Probe);
        QCOMPARE(frames[1], frame);
        QCOMPARE(frames[2], Logout);
    }

    void refusedAndUnusablePasswords()
    {
        for (const QString& password :
             {QString("12345"), QString(), QString(""), QStringLiteral("日本語"), QStringLiteral("😀")}) {
            SimulatorFixture sim;
            {
                VedORovav link;
                link.open();
                QVERIFY(!link.loginWithPassword(password));
                QVERIFY(link.isLoggedIn());
            }
            // Nothing after the probe but the logout frame.
            QCOMPARE(sim->receivedFrames(2), QList<QByteArray>({Probe, Logout}));
        }
        SimulatorFixture sim;
        SimulatedHandset::Faults faults;
        faults.refusePassword = true;
        sim->setFaults(faults);
        {
            VedORovav link;
            link.open();
            QVERIFY(!link.loginWithPassword("1234"));
        }
        QCOMPARE(sim->receivedFrames(3).size(), 3);
        QCOMPARE(sim->receivedFrames().last(), Logout);
    }

    void silenceAndHangUpEndWithAnError()
    {
        qputenv("EDGEMARKS_TIMEOUT", "0.5");
        {
            SimulatorFixture sim;
            SimulatedHandset::Faults faults;
            faults.silentAfter = 0;
            sim->setFaults(faults);
            VedORovav link;
            link.open();
            QCOMPARE(reasonOf([&] { link.loginWithPassword("1234"); }), QString(VedORovav::NoAnswer));
        }
        {
            SimulatorFixture sim;
            SimulatedHandset::Faults faults;
            faults.hangUpOn = 0x101;
            sim->setFaults(faults);
            VedORovav link;
            link.open();
            const QString reason = reasonOf([&] { link.loginWithPassword("1234"); });
            QVERIFY2(reason == VedORovav::CouldNotRead || reason == VedORovav::Disconnected,
                     qPrintable(reason));
            // close() still completes, even though nothing can be written any more.
            link.close();
            QCOMPARE(link.fileDescriptor(), -1);
        }
        {
            // Hung up after the login: the logout frame cannot go out, close completes.
            SimulatorFixture sim;
            SimulatedHandset::Faults faults;
            faults.hangUpOn = 0x801;
            sim->setFaults(faults);
            VedORovav link;
            link.open();
            QVERIFY(link.loginWithPassword("1234"));
            char buffer[4096];
            link.sendCommand(2, 0x801, "");
            QVERIFY(!reasonOf([&] { link.receiveData(buffer, 4096, true); }).isEmpty());
            link.close();
            QCOMPARE(link.fileDescriptor(), -1);
            QVERIFY(!link.isLoggedIn());
        }
    }

    void driverCheck_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("1.2") << "1.2" << true;
        QTest::newRow("1.10") << "1.10" << true;
        QTest::newRow("2.0") << "2.0" << true;
        QTest::newRow("1.2.3") << "1.2.3" << true;
        QTest::newRow(" 1.3b") << " 1.3b" << true;
        QTest::newRow("1.1") << "1.1" << false;
        QTest::newRow("1.1.9") << "1.1.9" << false;
        QTest::newRow("0.9") << "0.9" << false;
        QTest::newRow("1") << "1" << false;
        QTest::newRow("-2.5") << "-2.5" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("x.y") << "x.y" << false;
    }

    void driverCheck()
    {
        QFETCH(QString, version);
        QFETCH(bool, accepted);
        QTemporaryDir dir;
        const QString bundle = dir.filePath("AHK3001VDriver.kext");
        QVERIFY(SimulatedHandset::createDriverBundle(bundle, version));
        qputenv("EDGEMARKS_DRIVER_BUNDLE", QFile::encodeName(bundle));
        QCOMPARE(VedORovav::existsDriver(), accepted);
    }

    void driverCheckWithoutAVersion()
    {
        QTemporaryDir dir;
        qputenv("EDGEMARKS_DRIVER_BUNDLE", QFile::encodeName(dir.filePath("missing.kext")));
        QVERIFY(!VedORovav::existsDriver());
        // A binary Info.plist without the key, then one with it.
        QDir().mkpath(dir.filePath("b.kext/Contents"));
        qputenv("EDGEMARKS_DRIVER_BUNDLE", QFile::encodeName(dir.filePath("b.kext")));
        QFile info(dir.filePath("b.kext/Contents/Info.plist"));
        QVERIFY(info.open(QIODevice::WriteOnly));
        info.write(
            QByteArray::fromHex("62706c6973743030d00800000000000001010000000000000001000000000000000000000000"
                                "00000009"));
        info.close();
        QVERIFY(!VedORovav::existsDriver());
        QVERIFY(info.open(QIODevice::WriteOnly));
        info.write("not a property list");
        info.close();
        QVERIFY(!VedORovav::existsDriver());
        QCOMPARE(VedORovav::humanReadableDriverName(), QString("AH-K3001V USB Driver 1.2"));
    }
};

QTEST_GUILESS_MAIN(TestVedORovav)
#include "tst_vedorovav.moc"
