// Backups are outside input when they come back: every way an archive can be
// wrong is refused before anything reaches the handset.
#include "commands/BackupArchive.h"

#include "io/AtomicFile.h"
#include "support/ArchiveTestSupport.h"
#include "support/FileTestSupport.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace
{
using Mutation = std::function<void(QList<TarEntry>& entries, BackupManifest& m)>;

void setManifest(QList<TarEntry>& entries, const BackupManifest& m)
{
    entries.last().data = m.toJson();
}

struct BadCase {
    const char* name;
    Mutation mutate;
    const char* expected; // a part of the message
};

const QList<BadCase>& badCases()
{
    static const QList<BadCase> cases = {
        {"absolute path", [](auto& e, auto&) { e.insert(1, {QStringLiteral("/etc/evil"), "x"}); }, "outside"},
        {"dot-dot", [](auto& e, auto&) { e[1].path = QStringLiteral("files/../../evil"); }, "outside"},
        {"symbolic link",
         [](auto& e, auto&) { e.insert(1, {QStringLiteral("files/l"), {}, AE_IFLNK, QStringLiteral("/etc/passwd")}); },
         "link"},
        {"hard link",
         [](auto& e, auto&) {
             e.insert(2, {QStringLiteral("files/h"), {}, AE_IFREG, QStringLiteral("files/Photo.JPG"), true});
         },
         "link"},
        {"device", [](auto& e, auto&) { e.insert(1, {QStringLiteral("files/dev"), {}, AE_IFCHR}); }, "device"},
        {"duplicate entry", [](auto& e, auto&) { e.insert(2, e[1]); }, "twice"},
        {"foreign entry", [](auto& e, auto&) { e.insert(1, {QStringLiteral("notes.txt"), "x"}); }, "no part"},
        {"no manifest", [](auto& e, auto&) { e.removeLast(); }, "no manifest"},
        {"manifest twice", [](auto& e, auto&) { e.append(e.last()); }, "twice"},
        {"content changed", [](auto& e, auto&) { e[1].data[10] = 'x'; }, "checksum"},
        {"size differs",
         [](auto& e, auto& m) {
             m.files[0].size += 1;
             setManifest(e, m);
         },
         "bytes"},
        {"file not listed",
         [](auto& e, auto& m) {
             m.files.removeLast();
             setManifest(e, m);
         },
         "does not name"},
        {"listed file missing", [](auto& e, auto&) { e.removeAt(2); }, "not in the archive"},
        {"handset name twice",
         [](auto& e, auto& m) {
             m.files[1].name = m.files[0].name;
             m.files[1].type = m.files[0].type;
             setManifest(e, m);
         },
         "two files"},
        {"newer format",
         [](auto& e, auto&) { e.last().data.replace("\"version\": 1", "\"version\": 9"); },
         "newer"},
        {"manifest not JSON", [](auto& e, auto&) { e.last().data = "{\"format\": "; }, "not readable"},
        {"manifest oversized",
         [](auto& e, auto&) { e.last().data = QByteArray(BackupReader::MaxManifestBytes + 1, ' '); },
         "larger"},
        {"document broken",
         [](auto& e, auto& m) {
             e[0].data = "bplist00 but not really";
             m.bookmarks = backupFileOf(e[0].path, QString(), e[0].data);
             setManifest(e, m);
         },
         "does not open"},
    };
    return cases;
}
} // namespace

class TestBackupArchive : public QObject {
    Q_OBJECT
private slots:
    void refusesBadArchives_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < badCases().size(); ++i)
            QTest::newRow(badCases()[i].name) << i;
        QTest::newRow("cut short") << -1;
    }

    void refusesBadArchives()
    {
        QFETCH(int, index);
        BackupManifest m;
        QList<TarEntry> entries = validBackupEntries(&m);
        QByteArray bytes;
        const char* expected = "cut short";
        if (index >= 0) {
            badCases()[index].mutate(entries, m);
            bytes = tarOf(entries);
            expected = badCases()[index].expected;
        } else {
            bytes = tarOf(entries);
            bytes.truncate(bytes.size() / 2);
        }
        try {
            BackupReader::readData(bytes);
            QFAIL("the archive was taken");
        } catch (const BackupError& e) {
            QVERIFY2(e.message().contains(QLatin1String(expected)), qPrintable(e.message()));
        }
    }

    // What the writer makes, the reader takes back: names a file system cannot
    // have are mapped back through the manifest, contents unpack whole.
    void writtenBackupReadsBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("b.tar"));
        AtomicFile file(path);
        QVERIFY(file.isOpen());
        const QStringList names = {QStringLiteral("a/b.txt"), QStringLiteral("Photo.JPG"), QStringLiteral("photo.jpg"),
                                   QStringLiteral(".."), QStringLiteral("tab\tname")};
        {
            BackupWriter writer(file);
            writer.addBookmarks(validBackupEntries().first().data);
            for (int i = 0; i < names.size(); ++i) {
                const QByteArray content(1000 * i + 1, char('a' + i));
                writer.beginFile(names[i], QStringLiteral("other"), QDateTime(QDate(2005, 6, 7), QTime(8, i)),
                                 content.size());
                writer.write(content.constData(), 1);
                writer.write(content.constData() + 1, content.size() - 1);
                writer.endFile();
            }
            writer.finish(QStringLiteral("AH-K3001V"), QDateTime::currentDateTime());
        }
        QVERIFY(file.commit());
        QTemporaryDir unpacked;
        const BackupContents c = BackupReader::readFile(path, unpacked.path());
        QCOMPARE(c.bookmarks.size(), 1);
        QCOMPARE(c.manifest.files.size(), names.size());
        QStringList entries;
        for (int i = 0; i < names.size(); ++i) {
            const BackupFile& f = c.manifest.files[i];
            QCOMPARE(f.name, names[i]);
            QCOMPARE(f.date, QDateTime(QDate(2005, 6, 7), QTime(8, i)));
            QCOMPARE(readFile(c.unpacked.value(f.entry)), QByteArray(1000 * i + 1, char('a' + i)));
            entries << f.entry;
        }
        QCOMPARE(entries, QStringList({"files/a_b.txt", "files/Photo.JPG", "files/photo (2).jpg", "files/_..",
                                       "files/tab_name"}));
    }

    // The read-back follows the file as it grows and reads what is on the disk:
    // each entry is known before the archive ends, with the sums of the bytes
    // found there; the whole is checked as a backup read from outside is; and
    // one left waiting for bytes that never come stops when it is dropped.
    void readBackFollowsTheFile()
    {
        BackupManifest m;
        const QList<TarEntry> entries = validBackupEntries(&m);
        const QByteArray bytes = tarOf(entries);
        const qint64 photoAt = 512 + (entries[0].data.size() + 511) / 512 * 512 + 512;
        const qint64 twoEntries = photoAt + (entries[1].data.size() + 511) / 512 * 512;
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("b.tar")));
        QVERIFY(file.open(QIODevice::ReadWrite) && file.write(bytes) == bytes.size() && file.flush());
        quint64 fingerprint = 0;
        {
            BackupFollower readBack(file.handle(), file.fileName());
            readBack.grew(twoEntries);
            const QList<ReadEntry> read = readBack.entries(2);
            QCOMPARE(read[0].path, m.bookmarks.entry);
            QCOMPARE(read[1].path, m.files[0].entry);
            QCOMPARE(read[1].size, m.files[0].size);
            QCOMPARE(read[1].sha256, m.files[0].sha256);
            fingerprint = read[1].fingerprint;
            readBack.grew(bytes.size());
            QCOMPARE(readBack.finish().manifest.toJson(), m.toJson());
        }
        QVERIFY(file.seek(photoAt + 100) && file.write("x", 1) == 1 && file.flush());
        BackupFollower readBack(file.handle(), file.fileName());
        readBack.grew(twoEntries);
        const QList<ReadEntry> read = readBack.entries(2);
        QVERIFY(read[1].sha256 != m.files[0].sha256);
        QVERIFY(read[1].fingerprint != fingerprint);
    }
};

QTEST_GUILESS_MAIN(TestBackupArchive)
#include "tst_backuparchive.moc"
