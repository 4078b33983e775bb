#include "handset/DriverCheck.h"
#include "support/FileTestSupport.h"
#include "support/LinkTestSupport.h"
#include "handset/ProtocolLog.h"
#include "handset/SerialPort.h"
#include "support/RecordingProgress.h"
#include "handset/VedORovav.h"

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

// The frames of the protocol log in one direction, as the handset saw them.
QList<QByteArray> loggedFrames(ProtocolLog::Kind kind)
{
    QList<QByteArray> frames;
    for (const ProtocolLog::Entry& e : testLog()->entries())
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

    // The one missing device of the suites: a link left by a handset unplugged.
    void openWaitsForAMissingDevice()
    {
        QTemporaryDir dir;
        const QString device = dir.filePath("cu.ah-k3001v.data");
        QVERIFY(QFile::link(dir.filePath("gone"), device));
        qputenv("EDGEMARKS_DEVICE", QFile::encodeName(device));
        VedORovav link{testLink()};
        QElapsedTimer timer;
        timer.start();
        const VedORovavException e = failureOf([&] { link.open(); });
        QCOMPARE(e.reason(), QString(LinkTexts::NotConnected));
        QVERIFY2(e.details().endsWith("which does not exist."), qPrintable(e.details()));
        QVERIFY(timer.elapsed() >= 8 * 250 - 50); // eight pauses, however busy the machine
        QCOMPARE(link.fileDescriptor(), -1);
        link.close();

        // Any other error is reported at once, without the nine tries.
        LinkSettings elsewhere = testLink();
        elsewhere.device = "/dev/null/not-a-directory";
        QCOMPARE(reasonOf([&] { VedORovav(elsewhere).open(); }), QString(LinkTexts::CouldNotOpen));
    }

    // What is not a serial port is refused at once, read or written by nobody.
    void openRefusesWhatIsNotAPort_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("details");
        QTest::newRow("regular file") << "file" << "is not a serial port: it is a regular file.";
        QTest::newRow("folder") << "folder" << "is not a serial port: it is a folder.";
        QTest::newRow("FIFO") << "fifo" << "is not a serial port: it is a FIFO.";
        QTest::newRow("/dev/null") << "null" << "/dev/null is not a serial port.";
    }

    void openRefusesWhatIsNotAPort()
    {
        QFETCH(QString, kind);
        QFETCH(QString, details);
        QTemporaryDir dir;
        QString path = dir.filePath(kind);
        const QByteArray content("the user's own data\n");
        if (kind == "file") {
            QVERIFY(writeFile(path, content));
        } else if (kind == "folder") {
            QVERIFY(QDir().mkdir(path));
        } else if (kind == "fifo") {
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        } else {
            path = "/dev/null";
        }
        qputenv("EDGEMARKS_DEVICE", QFile::encodeName(path));
        VedORovav link{testLink()};
        const VedORovavException e = failureOf([&] { link.open(); });
        QCOMPARE(e.reason(), QString(LinkTexts::CouldNotOpen));
        QVERIFY2(e.details().endsWith(details), qPrintable(e.details()));
        QCOMPARE(link.fileDescriptor(), -1);
        if (kind == "file")
            QCOMPARE(readFile(path), content);
    }

    // The exclusive claim is released on every close: conversation after
    // conversation opens while the handset's end stays open. Root ignores the
    // claim; the unprivileged run of this suite is the one that tells.
    void thePortOpensEveryTime()
    {
        SimulatorFixture sim;
        for (int round = 0; round < 10; ++round) {
            VedORovav link{testLink()};
            link.open();
            QVERIFY(link.loginWithPassword("1234"));
            if (round == 0 && geteuid() != 0) {
                // While it is open, the claim keeps a second opener out, with a cause.
                const VedORovavException busy = failureOf([] { VedORovav(testLink()).open(); });
                QCOMPARE(busy.reason(), QString(LinkTexts::CouldNotOpen));
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
                VedORovav link{testLink()};
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
        testLog()->clear();
        BookmarkList list;
        RecordingProgress progress;
        QVERIFY(VedORovav(testLink()).readBookmarks(list, "1234", progress));
        sim.settle();
        QList<QByteArray> expected = sim->receivedFrames();
        QCOMPARE(expected.at(1), Password);
        expected[1] = frameBytes("E1 01 00 01 08 00 00 00 00 02 00 01 00 00 00 00"); // masked
        QCOMPARE(loggedFrames(ProtocolLog::Kind::Sent), expected);
        QCOMPARE(loggedFrames(ProtocolLog::Kind::Received).size(), 2 + 1 + 6); // login, count, entries
        const QString text = testLog()->toText();
        QVERIFY(text.contains("(password masked)"));
        QVERIFY(text.contains("** ** ** **"));
        QVERIFY(!text.contains("31 32 33 34"));
        QVERIFY(text.contains("exclusive claim (TIOCEXCL)"));

        // A refused login: the frames, still without the password.
        testLog()->clear();
        sim->clearReceivedFrames();
        SimulatedHandset::Faults faults;
        faults.refusePassword = true;
        sim->setFaults(faults);
        QVERIFY(!VedORovav(testLink()).readBookmarks(list, "1234", progress));
        sim.settle();
        expected = sim->receivedFrames();
        QCOMPARE(expected.size(), 3); // probe, password, logout
        expected[1] = frameBytes("E1 01 00 01 08 00 00 00 00 02 00 01 00 00 00 00");
        QCOMPARE(loggedFrames(ProtocolLog::Kind::Sent), expected);
        QVERIFY(!testLog()->toText().contains("31 32 33 34"));
    }

    // Ports held at once each get their former attributes back from the release
    // a signal handler makes, and a port closed gives its place to the next.
    void portsHeldAtOnceAreEachReleased()
    {
        QTemporaryDir dir;
        QList<int> masters, keeps;
        std::vector<std::unique_ptr<SerialPort>> ports;
        for (int k = 0; k < 3; ++k) {
            masters << posix_openpt(O_RDWR | O_NOCTTY);
            QVERIFY(masters[k] != -1 && grantpt(masters[k]) == 0 && unlockpt(masters[k]) == 0);
            keeps << ::open(ptsname(masters[k]), O_RDWR | O_NOCTTY);
            const QString device = dir.filePath(QString::number(k));
            QVERIFY(QFile::link(QString::fromLocal8Bit(ptsname(masters[k])), device));
            ports.push_back(SerialPort::open(device));
            if (k == 0)
                ports[0].reset(); // its place is free again
        }
        struct termios t {};
        QVERIFY(tcgetattr(keeps[2], &t) == 0 && !(t.c_lflag & ICANON)); // raw while held
        SerialPort::releaseHeldPortsNow();
        for (int k = 1; k < 3; ++k)
            QVERIFY(tcgetattr(keeps[k], &t) == 0 && (t.c_lflag & ICANON));
        ports.clear();
        for (int k = 0; k < 3; ++k)
            ::close(keeps[k]), ::close(masters[k]);
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
            VedORovav link{testLink()};
            link.open();
            char buffer[4096];
            QCOMPARE(reasonOf([&] { link.receiveData(buffer, 4096, true); }), QString(LinkTexts::NoAnswer));
        }
        stop = true;
        noise.join();
        ::close(keep);
        ::close(master);

        for (const char* bad : {"ten", "-1", "nan", "1e"}) {
            qputenv("EDGEMARKS_TIMEOUT", bad);
            VedORovav link{testLink()};
            const VedORovavException e = failureOf([&] { link.open(); });
            QCOMPARE(e.reason(), QString(LinkTexts::BadTimeout));
            QCOMPARE(e.details(), QString("EDGEMARKS_TIMEOUT=%1").arg(bad));
        }
        qputenv("EDGEMARKS_TIMEOUT", "5");
    }

    // A conversation that ended in step lets the next one in this process start
    // at once; after one that failed, the next waits for the line to be quiet.
    void aQuietLineIsAwaitedAfterAFailureOnly()
    {
        SimulatorFixture sim;
        sim->loadSampleContent();
        auto waited = [] { return testLog()->toText().contains("waiting for a quiet line"); };
        BookmarkList list;
        RecordingProgress progress;
        testLog()->clear();
        QVERIFY(VedORovav(testLink()).readBookmarks(list, "1234", progress));
        testLog()->clear();
        QVERIFY(VedORovav(testLink()).readBookmarks(list, "1234", progress));
        QVERIFY(!waited());
        SimulatedHandset::Faults faults;
        faults.wrongEcho = 0x802;
        sim->setFaults(faults);
        QCOMPARE(reasonOf([&] { VedORovav(testLink()).readBookmarks(list, "1234", progress); }),
                 QString(LinkTexts::IllegalFormat));
        // A line found quiet held nothing old: a bad reply to the login is the
        // handset's own, and fails the conversation at once.
        faults = {};
        faults.wrongLengthOn = 0x201;
        sim->setFaults(faults);
        QCOMPARE(reasonOf([&] { VedORovav(testLink()).readBookmarks(list, "1234", progress); }),
                 QString(LinkTexts::IllegalLength));
        sim->setFaults({});
        testLog()->clear();
        QVERIFY(VedORovav(testLink()).readBookmarks(list, "1234", progress));
        QVERIFY(waited());
        QCOMPARE(list.size(), 6);
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
        // So are texts, however many come and go.
        log.clear();
        for (int i = 0; i < 400; ++i)
            log.step(ProtocolLog::Kind::Setting, QString(20000, 'z'));
        stored = 0;
        for (const auto& e : log.entries())
            stored += e.text.size() * 2;
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
            VedORovav link{testLink()};
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

    // A hang-up at the login, or after it (the logout frame cannot go out then):
    // an error, and close() still completes.
    void aHangUpEndsWithAnErrorAndCloseCompletes()
    {
        for (const int hangUpOn : {0x101, 0x801}) {
            SimulatorFixture sim;
            SimulatedHandset::Faults faults;
            faults.hangUpOn = hangUpOn;
            sim->setFaults(faults);
            VedORovav link{testLink()};
            link.open();
            char buffer[4096];
            const QString reason = reasonOf([&] {
                if (link.loginWithPassword("1234")) {
                    link.sendCommand(2, 0x801, "");
                    link.receiveData(buffer, 4096, true);
                }
            });
            QVERIFY2(reason == LinkTexts::CouldNotRead || reason == LinkTexts::Disconnected, qPrintable(reason));
            link.close();
            QCOMPARE(link.fileDescriptor(), -1);
            QVERIFY(!link.isLoggedIn());
        }
    }

    void driverCheck_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("accepted");
        for (const char* v : {"1.2", "1.10", "2.0", "1.2.3", " 1.3b"})
            QTest::newRow(v) << v << true;
        for (const char* v : {"1.1", "1.1.9", "0.9", "1", "-2.5", "", "x.y"})
            QTest::newRow(*v ? v : "empty") << v << false;
    }

    void driverCheck()
    {
        QFETCH(QString, version);
        QFETCH(bool, accepted);
        QTemporaryDir dir;
        const QString bundle = dir.filePath("AHK3001VDriver.kext");
        QVERIFY(SimulatedHandset::createDriverBundle(bundle, version));
        QCOMPARE(DriverCheck::exists(bundle), accepted);
    }

    void driverCheckWithoutAVersion()
    {
        QTemporaryDir dir;
        QVERIFY(!DriverCheck::exists(dir.filePath("missing.kext")));
        // A binary Info.plist without the key, then one with it.
        QDir().mkpath(dir.filePath("b.kext/Contents"));
        const QString bundle = dir.filePath("b.kext");
        const QString info = dir.filePath("b.kext/Contents/Info.plist");
        for (const QByteArray& bytes : {QByteArray::fromHex("62706c6973743030d0080000000000000101000000000000000100"
                                                            "000000000000000000000000000009"),
                                        QByteArray("not a property list")}) {
            QVERIFY(writeFile(info, bytes));
            QVERIFY(!DriverCheck::exists(bundle));
        }
        QCOMPARE(DriverCheck::humanReadableName(bundle), QString("AH-K3001V USB Driver 1.2"));
    }
};

QTEST_GUILESS_MAIN(TestVedORovav)
#include "tst_vedorovav.moc"
