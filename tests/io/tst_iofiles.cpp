// The checked writer and the bounded reader: what failures say, what a save
// keeps, a real full disk, and a file that says it is empty and is not; the
// settings file kept through them.
#include "io/AtomicFile.h"
#include "io/OutsideFile.h"
#include "io/SettingsFile.h"
#include "support/FileTestSupport.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

class tst_IoFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

    // Nothing but the named files is left in the folder (no temporary file).
    static QStringList entries(const QString& folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

private slots:
    // What the failures say, by the system's code.
    void failureTexts_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("text");
        QTest::newRow("quota") << int(EDQUOT) << "The disk is full: a.html was not saved; the old version is kept.";
        QTest::newRow("too large") << int(EFBIG)
                                   << "The file is larger than the disk allows: a.html was not saved; the old version is kept.";
        QTest::newRow("read-only") << int(EROFS) << "The disk is read-only: a.html was not saved; the old version is kept.";
        QTest::newRow("vanished folder") << int(ENOENT) << "The folder of a.html is gone: it was not saved.";
        QTest::newRow("full, a new file") << -int(ENOSPC) << "The disk is full: a.html was not saved.";
    }

    void failureTexts()
    {
        QFETCH(int, error);
        QFETCH(QString, text);
        // A negative code: there was no old version to keep.
        QCOMPARE(AtomicFile::failureText("/x/a.html", std::abs(error), error > 0), text);
    }

    void keepsPermissionsAndLinks()
    {
        const QString target = path("shared.html");
        QVERIFY(writeFile(target, "old"));
        QVERIFY(::chmod(QFile::encodeName(target).constData(), 0640) == 0);
        QVERIFY(QFile::link(target, path("link.html")));
        QVERIFY(AtomicFile::writeAll(path("link.html"), "new"));
        QVERIFY(QFileInfo(path("link.html")).isSymLink());
        QCOMPARE(readFile(target), QByteArray("new"));
        QCOMPARE(QFileInfo(target).permissions() & 0x0777, QFileDevice::Permissions(0x0640));
        QVERIFY(AtomicFile::writeAll(path("trace.log"), "t", nullptr, AtomicFile::Access::Private));
        QCOMPARE(QFileInfo(path("trace.log")).permissions() & 0x0777, QFileDevice::Permissions(0x0600));
    }

    void readOnlyFolder()
    {
        if (::geteuid() == 0)
            QSKIP("root writes into any folder");
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("a.html"), "old"));
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0555) == 0);
        QString error;
        QVERIFY(!AtomicFile::writeAll(dir.filePath("a.html"), "new", &error));
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        QCOMPARE(error, QString("You may not write in this folder: a.html was not saved; the old version is kept."));
        QCOMPARE(readFile(dir.filePath("a.html")), QByteArray("old"));
    }

    void folderThatMakesNoFiles() // there, but not for new files: not taken for gone
    {
        QString error;
        QVERIFY(!AtomicFile::writeAll("/proc/a.html", "new", &error));
        QCOMPARE(error, QString("You may not write in this folder: a.html was not saved."));
    }

    // A real full file system, where the test may make one.
    void fullDisk()
    {
        QTemporaryDir dir;
        if (::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("only root mounts a small file system");
        const QString target = dir.filePath("doc.edgemarks");
        QVERIFY(writeFile(target, QByteArray(40 << 10, 'o')));
        QString error;
        const bool written = AtomicFile::writeAll(target, QByteArray(40 << 10, 'n'), &error);
        const QByteArray kept = readFile(target);
        const QStringList left = entries(dir.path());
        ::umount(QFile::encodeName(dir.path()).constData());
        QVERIFY(!written);
        QCOMPARE(error, QString("The disk is full: doc.edgemarks was not saved; the old version is kept."));
        QCOMPARE(kept, QByteArray(40 << 10, 'o'));
        QCOMPARE(left, QStringList{"doc.edgemarks"});
    }

    void outsideFileReadsWhatIsThere()
    {
        QVERIFY(writeFile(path("small.html"), "<DL>"));
        QCOMPARE(OutsideFile::read(path("small.html"), 4), std::optional<QByteArray>("<DL>"));
        QString error;
        QVERIFY(!OutsideFile::read(path("small.html"), 3, &error));
        QCOMPARE(error, QString("small.html is too large: at most 3 bytes are read."));
        // A file that says it is empty and is not (/proc) is read up to the limit.
        QVERIFY(OutsideFile::read("/proc/self/status", 1 << 20).value_or(QByteArray()).contains("VmHWM"));
    }

    // The settings of an earlier version come over once, each as what it was;
    // a settings file that cannot be read is never written over.
    void settingsFile()
    {
        const QString folder = path("settings");
        const QByteArray geometry("\x01\x00\xff", 3);
        {
            QSettings earlier(folder + "/EdgeMarks.conf", QSettings::IniFormat);
            earlier.setValue("Window/geometry", geometry);
            earlier.setValue("RecentFiles", QStringList{"/a.edgemarks"}); // read back as one text
            earlier.setValue("Handset/device", "/dev/ttyACM1");
            earlier.setValue("Unused", "left behind");
        }
        SettingsFile settings;
        settings.load(folder, "EdgeMarks", {"Window/geometry", "RecentFiles", "Handset/device"});
        QVERIFY(QFile::remove(folder + "/EdgeMarks.conf"));
        settings.load(folder, "EdgeMarks", {"Unused"});
        QCOMPARE(settings.bytes("Window/geometry"), geometry);
        QCOMPARE(settings.texts("RecentFiles"), QStringList{"/a.edgemarks"});
        QCOMPARE(settings.text("Handset/device"), QString("/dev/ttyACM1"));
        QVERIFY(!settings.contains("Unused"));

        QVERIFY(writeFile(settings.path(), "{ damaged"));
        settings.load(folder, "EdgeMarks");
        QStringList said;
        settings.reportFailure = [&](const QString& message) { said << message; };
        QVERIFY(!settings.setText("Handset/device", "/dev/a"));
        QVERIFY(!settings.setText("Handset/device", "/dev/b"));
        QCOMPARE(said, QStringList{"EdgeMarks.json is damaged. Changes to the settings are kept only until EdgeMarks quits."});
        QCOMPARE(settings.text("Handset/device"), QString("/dev/b"));
        QCOMPARE(readFile(settings.path()), QByteArray("{ damaged"));
    }
};

QTEST_GUILESS_MAIN(tst_IoFiles)
#include "tst_iofiles.moc"
