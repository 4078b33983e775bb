#include "handset/AirHFileType.h"
#include "handset/BookmarkEntry.h"
#include "handset/ProtocolLog.h"
#include "handset/VedORovav.h"
#include "support/BookmarkTestSupport.h"
#include "support/FileTestSupport.h"
#include "support/LinkTestSupport.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedHandset.h"

#include <QRandomGenerator>
#include <QTest>

namespace
{
const QByteArray FileCount = frameBytes("E1 01 00 02 04 00 00 00 00 06 00 01");
const QByteArray Listing = frameBytes("E1 01 00 03 04 00 00 00 00 06 00 07");

AirHFile record(const QString& name, const QString& type)
{
    AirHFile f;
    f.setFileName(name);
    f.setFileType(type);
    return f;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray randomBytes(qsizetype n)
{
    QByteArray b(n, 0);
    QRandomGenerator random{quint32(n)};
    for (qsizetype i = 0; i < n; ++i)
        b[i] = char(random.bounded(256));
    return b;
}

// Upload frames among the received ones.
QList<QByteArray> uploads(const QList<QByteArray>& frames)
{
    QList<QByteArray> result;
    for (const QByteArray& f : frames)
        if (f.mid(2, 2) == frameBytes("00 03") && f.mid(8, 4) == frameBytes("00 06 00 03"))
            result << f;
    return result;
}
} // namespace

class TestFileTransfer : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void init()
    {
        qputenv("EDGEMARKS_TIMEOUT", "5");
        qunsetenv("EDGEMARKS_FILE_TYPES");
    }

    void directoryRecords()
    {
        const QByteArray memo("memo.txt\tother\t1234\t2005/06/07/08/09");
        AirHFile f = AirHFile::fromDirectoryRecord(memo.constData(), int(memo.size()));
        QCOMPARE(f.fileName(), QString("memo.txt"));
        QCOMPARE(f.fileType(), QString("other"));
        QCOMPARE(f.fileSize(), 1234);
        QCOMPARE(f.fileDate(), QDateTime(QDate(2005, 6, 7), QTime(8, 9), Qt::LocalTime));

        f = AirHFile::fromDirectoryRecord("a\tb", 3);
        QCOMPARE(f.fileSize(), 0);
        QVERIFY(!f.fileDate().isValid());
        const QByteArray six("x\ty\t7\t2001/02/03/04/05\textra\tmore");
        f = AirHFile::fromDirectoryRecord(six.constData(), int(six.size()));
        QCOMPARE(f.fileDate().date(), QDate(2001, 2, 3));
        // The text ends at a NUL; bytes that are not Shift_JIS give no name.
        f = AirHFile::fromDirectoryRecord("\x93\xfa\t\0zz", 6);
        QCOMPARE(f.fileName(), QStringLiteral("日"));
        QCOMPARE(f.fileType(), QString(""));
        f = AirHFile::fromDirectoryRecord("\x81\t", 2);
        QVERIFY(f.fileName().isNull());
        QVERIFY(!AirHFile::parseDate("2005/13/07/08/09").isValid());
        QVERIFY(!AirHFile::parseDate("yesterday").isValid());

        // Defaults and the 32-bit size.
        AirHFile blank;
        QCOMPARE(blank.fileName(), QString(""));
        QCOMPARE(blank.fileType(), QString("other"));
        QVERIFY(blank.fileDate().isValid());
        blank.setFileSize((qint64(1) << 32) + 5);
        QCOMPARE(blank.fileSize(), 5);
    }

    void listing()
    {
        ScriptedLink line;
        line.holdDirectory({"memo.txt\tother\t1234\t2005/06/07/08/09", "a\tb", QByteArray(5000, 'n')});
        RecordingProgress progress;
        AirHFileList files{record("old", "other")};
        QVERIFY(line.link.readDirectory(files, "1234", progress));
        QCOMPARE(progress.message, QString("Updating the file list..."));
        QCOMPARE(progress.maxValue, 1.0);
        QCOMPARE(progress.values, QList<double>({1.0 / 3, 2.0 / 3, 1.0}));
        QCOMPARE(files.size(), 3);
        QCOMPARE(files[0].fileSize(), 1234);
        QCOMPARE(files[1].fileType(), QString("b"));
        QCOMPARE(files[2].fileName().size(), 4083); // an over-long frame is cut
        QCOMPARE(line.handset.frames(),
                 QList<QByteArray>({Probe, Password, FileCount, Listing, Ack, Ack, Ack, Logout}));
    }

    void emptyListings()
    {
        for (bool noDigits : {false, true}) {
            ScriptedLink line;
            line.holdDirectory({});
            if (noDigits)
                line.handset.on(2, 0x601, {ScriptedHandset::reply(2, 0x601, "")});
            RecordingProgress progress;
            AirHFileList files{record("old", "other")};
            if (noDigits) {
                // A count without digits is no count: never taken for an empty handset.
                QCOMPARE(reasonOf([&] { line.link.readDirectory(files, "1234", progress); }),
                         QString(LinkTexts::IllegalFormat));
                QCOMPARE(progress.calls, QStringList({"open", "exception", "close"}));
            } else {
                QVERIFY(line.link.readDirectory(files, "1234", progress));
                QVERIFY(files.isEmpty());
                QCOMPARE(progress.calls, QStringList({"open", "close"}));
            }
            QCOMPARE(line.handset.frames(), QList<QByteArray>({Probe, Password, FileCount, Logout}));
        }
    }

    void badDirectoryFrames()
    {
        {
            ScriptedLink line;
            line.holdDirectory({"one\tother\t1", QByteArray(), "three\tother\t3"});
            RecordingProgress progress;
            AirHFileList files;
            QCOMPARE(reasonOf([&] { line.link.readDirectory(files, "1234", progress); }),
                     QString(LinkTexts::IllegalFormat));
            QCOMPARE(files.size(), 1); // the record before stays
            QCOMPARE(progress.calls.mid(progress.calls.size() - 2), QStringList({"exception", "close"}));
            QCOMPARE(line.handset.frames(),
                     QList<QByteArray>({Probe, Password, FileCount, Listing, Ack, Logout}));
        }
        {
            ScriptedLink line;
            line.holdDirectory({"one\tother\t1"});
            line.handset.on(3, 0x607, {ScriptedHandset::reply(3, 0x608, "one\tother\t1")});
            AirHFileList files;
            RecordingProgress progress;
            QCOMPARE(reasonOf([&] { line.link.readDirectory(files, "1234", progress); }),
                     QString(LinkTexts::IllegalFormat));
        }
        {
            ScriptedLink line;
            line.refusePassword();
            AirHFileList files{record("kept", "other")};
            RecordingProgress progress;
            QVERIFY(!line.link.readDirectory(files, "1234", progress));
            QCOMPARE(files.size(), 1);
            QCOMPARE(progress.calls, QStringList({"open", "close"}));
        }
    }

    void handsetFileNames()
    {
        VedORovav link{testLink()};
        QCOMPARE(link.dataFileName("memo.txt", "other"), QByteArray("memo.txt\tother\t\0", 16));
        QCOMPARE(link.dataFileName(QStringLiteral("写真"), ""), QByteArray("\x8e\xca\x90\x5e\t\t\0", 7));
        QCOMPARE(link.dataFileName(QString(4088, 'n'), "type").size(), 4095);
        QCOMPARE(reasonOf([&] { link.dataFileName(QString(4089, 'n'), "type"); }),
                 QString(LinkTexts::FileNameTooLong));
        QCOMPARE(reasonOf([&] { link.dataFileName(QStringLiteral("😀.txt"), "other"); }),
                 QString(LinkTexts::BadFileName));
        QCOMPARE(reasonOf([&] { link.dataFileName(QString(), "other"); }), QString(LinkTexts::BadFileName));
    }

    // Only entry and directory frames are known by their echo (and a download by
    // the name it echoes): a handset that echoes zeros in every other reply
    // serves every transfer, and the log notes it.
    void unexaminedEchoesMayBeZero()
    {
        auto zeroEchoing = [] {
            auto line = std::make_unique<ScriptedLink>();
            line->handset.zeroEchoes = true;
            return line;
        };
        testLog()->clear();
        RecordingProgress progress;
        const BookmarkPtr bookmark = makeBookmark("abc", "http://example.jp/", 1, 0);
        BookmarkList imported;
        auto importing = zeroEchoing();
        importing->holdEntries({BookmarkEntry::encode(*bookmark, 0)});
        QVERIFY(importing->link.readBookmarks(imported, "1234", progress));
        QCOMPARE(imported.size(), 1);
        auto exporting = zeroEchoing();
        exporting->takeEntries();
        QVERIFY(exporting->link.writeBookmarks({bookmark}, "1234", progress));
        QCOMPARE(exporting->link.entriesSent(), 1);
        AirHFileList files;
        auto listing = zeroEchoing();
        listing->holdDirectory({"memo.txt\tother\t4"});
        QVERIFY(listing->link.readDirectory(files, "1234", progress));
        QCOMPARE(files.size(), 1);
        const QString local = m_dir.filePath("zero-echo.txt");
        QStringList destinations{local};
        auto getting = zeroEchoing();
        getting->holdDownloads({"memo.txt\tother\tmemo"});
        QVERIFY(getting->link.readFileFrom(files, destinations, "1234", progress));
        QCOMPARE(readFile(local), QByteArray("memo"));
        QVERIFY(zeroEchoing()->link.writeFileFrom({local}, "1234", progress));
        QVERIFY(testLog()->toText().contains(
            "the reply to command 0x0002, sub-command 0x0801 echoes 0x0000, 0x0000 (not examined)"));
    }

    void download()
    {
        ScriptedLink line;
        const QDateTime when(QDate(2005, 6, 7), QTime(8, 9), Qt::LocalTime);
        const QByteArray big = randomBytes(10000);
        line.holdDownloads({"memo.txt\tother\t" + big, "empty.bin\tother\t"});
        QStringList destinations{m_dir.filePath("memo.txt"), m_dir.filePath("empty.bin")};
        QVERIFY(writeFile(destinations[0], QByteArray(20000, 'x'))); // existing and longer: rewritten and cut
        AirHFile memo = record("memo.txt", "other");
        memo.setFileDate(when);
        AirHFile empty = record("empty.bin", "other");
        empty.setFileDate(when);
        RecordingProgress progress;
        QVERIFY(line.link.readFileFrom({memo, empty}, destinations, "1234", progress));
        QVERIFY(destinations.isEmpty());
        QCOMPARE(progress.maxValue, 2.0);
        QVERIFY(progress.values.size() >= 3);
        QCOMPARE(progress.values.last(), 1.0);
        QVERIFY(std::is_sorted(progress.values.begin(), progress.values.end()));
        QCOMPARE(readAll(m_dir.filePath("memo.txt")), big);
        QCOMPARE(readAll(m_dir.filePath("empty.bin")), QByteArray());
        QCOMPARE(QFileInfo(m_dir.filePath("memo.txt")).lastModified(), when);
        QCOMPARE(QFileInfo(m_dir.filePath("empty.bin")).lastModified(), when);
        const QList<QByteArray> frames = line.handset.frames();
        QCOMPARE(frames.size(), 5);
        QCOMPARE(frames[2],
                 frameBytes("E1 01 00 03 14 00 00 00 00 06 00 02") + QByteArray("memo.txt\tother\t\0", 16));

        // An empty list: login and logout only.
        ScriptedLink none;
        QStringList noDestinations;
        RecordingProgress p2;
        QVERIFY(none.link.readFileFrom({}, noDestinations, "1234", p2));
        QCOMPARE(p2.maxValue, 0.0);
        QCOMPARE(none.handset.frames(), QList<QByteArray>({Probe, Password, Logout}));
    }

    void downloadFailuresKeepTheLinkInStep()
    {
        SimulatorFixture sim;
        sim->loadSampleContent();
        const QString target = m_dir.filePath("never.txt");
        auto failure = [](const AirHFileList& files, QStringList& destinations) {
            RecordingProgress progress;
            return reasonOf(
                [&] { VedORovav(testLink()).readFileFrom(files, destinations, "1234", progress); });
        };
        {
            SimulatedHandset::Faults faults;
            faults.emptyPayloadOn = 0x602; // F = 12
            sim->setFaults(faults);
            QStringList destinations{target};
            QCOMPARE(failure({record("memo.txt", "other")}, destinations), QString(LinkTexts::FileNotFound));
            QCOMPARE(destinations, QStringList({target}));
            QVERIFY(!QFileInfo::exists(target));
            sim.settle();
        }
        {
            // The echo names another type of the same length: the rest of the frame,
            // more than the line holds, is read and dropped, so the handset hears the
            // logout and the next transfer works.
            SimulatedHandset::Faults faults;
            faults.downloadPayload = "memo.txt\timage\t" + QByteArray(1 << 20, 'c');
            sim->setFaults(faults);
            sim.settle();
            sim->clearReceivedFrames();
            QStringList destinations{target};
            QCOMPARE(failure({record("memo.txt", "other")}, destinations), QString(LinkTexts::FileNotFound));
            QVERIFY(!QFileInfo::exists(target));
            QCOMPARE(sim->receivedFrames(4).last(), Logout);
            sim->setFaults({});
            AirHFileList files;
            RecordingProgress progress;
            QVERIFY(VedORovav(testLink()).readDirectory(files, "1234", progress));
            QCOMPARE(files.size(), SimulatedHandset::sampleFiles().size());
            sim.settle();
        }
        {
            // A name outside Shift_JIS fails before anything is sent for it; the file
            // before it is complete.
            sim.settle();
            sim->clearReceivedFrames();
            QStringList destinations{m_dir.filePath("first.txt"), m_dir.filePath("second")};
            QCOMPARE(
                failure({record("memo.txt", "other"), record(QStringLiteral("😀"), "other")}, destinations),
                QString(LinkTexts::BadFileName));
            QCOMPARE(destinations, QStringList({m_dir.filePath("second")}));
            QCOMPARE(readAll(m_dir.filePath("first.txt")), QByteArray("Call back at 18:00.\r\n"));
            QCOMPARE(sim->receivedFrames(4).size(), 4); // probe, password, one request, logout
            sim.settle();
        }
        {
            // No destination left: refused before the request goes out.
            QStringList destinations;
            QCOMPARE(failure({record("memo.txt", "other")}, destinations), QString(LinkTexts::NoDestination));
        }
    }

    void uploadTypesAndFrames()
    {
        const QString table = m_dir.filePath("types.plist");
        QVERIFY(writeFile(
            table, "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>.jpg</key><string>jpeg</string>"
                   "</dict></plist>"));
        qputenv("EDGEMARKS_FILE_TYPES", QFile::encodeName(table));
        QDir().mkpath(m_dir.filePath("up"));
        const QString photo = m_dir.filePath("up/Photo.JPG");
        const QString plain = m_dir.filePath("up/README");
        const QString odd = m_dir.filePath("up/data.xyz");
        const QString big = m_dir.filePath("up/big.bin");
        const QString empty = m_dir.filePath("up/empty.txt");
        QVERIFY(writeFile(photo, "jpegdata"));
        QVERIFY(writeFile(plain, "text"));
        QVERIFY(writeFile(odd, "x"));
        QVERIFY(writeFile(big, randomBytes(10000)));
        QVERIFY(writeFile(empty, ""));
        RecordingProgress progress;
        ScriptedLink line;
        QVERIFY(line.link.writeFileFrom({photo, plain, odd, big, empty}, "1234", progress));
        QCOMPARE(progress.maxValue, 5.0);
        QCOMPARE(progress.values, QList<double>({1.0, 2.0, 3.0, 3.4096, 3.8192, 4.0}));
        const QList<QByteArray> frames = uploads(line.handset.frames());
        QCOMPARE(frames.size(), 5);
        QCOMPARE(frames[0], frameBytes("E1 01 00 03 1B 00 00 00 00 06 00 03") + "Photo.JPG\tjpeg\tjpegdata");
        QVERIFY(frames[1].mid(12).startsWith("README\tother\t"));
        QVERIFY(frames[2].mid(12).startsWith("data.xyz\tother\t"));
        QCOMPARE(frames[3].mid(4, 4), frameBytes("22 27 00 00")); // 7 + 5 + 2 + 10000 + 4
        QCOMPARE(frames[4], frameBytes("E1 01 00 03 14 00 00 00 00 06 00 03") + "empty.txt\tother\t");

        // Without a table every file is "other".
        qputenv("EDGEMARKS_FILE_TYPES", QFile::encodeName(m_dir.filePath("no-table.plist")));
        ScriptedLink untyped;
        QVERIFY(untyped.link.writeFileFrom({photo}, "1234", progress));
        QVERIFY(uploads(untyped.handset.frames()).value(0).mid(12).startsWith("Photo.JPG\tother\t"));
        // The shipped table knows .jpg; an explicit type wins over it.
        QCOMPARE(AirHFileType::load(QString()).typeForPath("/x/Photo.JPG"), QString("jpeg"));
        QCOMPARE(AirHFileType::load(QString()).typeForPath("/x/Makefile"), QString("other"));
        ScriptedLink forced;
        QVERIFY(forced.link.writeFileFrom({photo}, "1234", progress, "melody"));
        QVERIFY(uploads(forced.handset.frames()).value(0).mid(12).startsWith("Photo.JPG\tmelody\t"));

        // An empty list: login and logout.
        ScriptedLink none;
        RecordingProgress p2;
        QVERIFY(none.link.writeFileFrom({}, "1234", p2));
        QCOMPARE(p2.maxValue, 0.0);
        QCOMPARE(none.handset.frames(), QList<QByteArray>({Probe, Password, Logout}));
    }

    void uploadFailures()
    {
        {
            // No file behind the path: refused before anything goes out.
            RecordingProgress progress;
            ScriptedLink line;
            QCOMPARE(
                reasonOf([&] { line.link.writeFileFrom({m_dir.filePath("absent.txt")}, "1234", progress); }),
                QString(LinkTexts::CouldNotReadFile));
            QVERIFY(uploads(line.handset.frames()).isEmpty());
            QCOMPARE(progress.exception, QString(LinkTexts::CouldNotReadFile));
        }
        {
            // A file that shrinks once its first piece (64 KiB) was read: zeros complete the frame.
            ScriptedLink line;
            const QString path = m_dir.filePath("shrinking.bin");
            const QByteArray content = randomBytes(70000);
            QVERIFY(writeFile(path, content));
            struct Shrinker : RecordingProgress {
                QString path;
                void updateProgressDoubleValue(double v) override
                {
                    RecordingProgress::updateProgressDoubleValue(v);
                    QFile::resize(path, 4096);
                }
            } progress;
            progress.path = path;
            QCOMPARE(reasonOf([&] { line.link.writeFileFrom({path}, "1234", progress); }),
                     QString(LinkTexts::FileShrank));
            const QByteArray frame = uploads(line.handset.frames()).value(0);
            QCOMPARE(frame.size(), 12 + 20 + 70000);
            QCOMPARE(frame.mid(32, 65536), content.left(65536));
            QCOMPARE(frame.mid(32 + 65536), QByteArray(70000 - 65536, '\0'));
            QCOMPARE(line.handset.frames().last(), Logout); // still in step
        }
        {
            // Too large for the frame's length field: refused before anything is sent for it.
            ScriptedLink line;
            const QString huge = m_dir.filePath("huge.bin");
            QVERIFY(writeFile(huge, ""));
            QVERIFY(QFile::resize(huge, qint64(1) << 31));
            RecordingProgress progress;
            QCOMPARE(reasonOf([&] { line.link.writeFileFrom({huge}, "1234", progress); }),
                     QString(LinkTexts::FileTooLarge));
            QFile::remove(huge);
            QCOMPARE(line.handset.frames(), QList<QByteArray>({Probe, Password, Logout}));
        }
    }
};

QTEST_GUILESS_MAIN(TestFileTransfer)
#include "tst_filetransfer.moc"
