// Backups and restores end to end through the simulated handset.
#include "commands/HandsetBackup.h"

#include "handset/VedORovav.h"
#include "support/FileTestSupport.h"
#include "support/RecordingProgress.h"
#include "support/SimulatorFixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRandomGenerator>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace
{
QByteArray randomBytes(qsizetype n, quint32 seed)
{
    QByteArray b(n, Qt::Uninitialized);
    QRandomGenerator random(seed);
    random.fillRange(reinterpret_cast<quint32*>(b.data()), n / 4);
    return b;
}

QList<SimulatedHandset::Bookmark> manyBookmarks(int count)
{
    QList<SimulatedHandset::Bookmark> list;
    for (int i = 0; i < count; ++i)
        list.append({QStringLiteral("サイト %1").arg(i), QStringLiteral("http://example.jp/%1").arg(i), i, i % 20});
    return list;
}

// What the handset holds, comparable as text. An upload carries no date (the
// handset stamps its own), so dates are left out.
QStringList holdings(SimulatedHandset& sim)
{
    QStringList lines;
    for (const auto& b : sim.bookmarks())
        lines << QStringLiteral("%1 %2 %3 %4").arg(b.number).arg(b.folder).arg(b.name, b.location);
    for (const auto& f : sim.files())
        lines << QStringLiteral("%1 %2 %3")
                     .arg(f.name, f.type,
                          QString::fromLatin1(QCryptographicHash::hash(f.content, QCryptographicHash::Sha256).toHex()));
    lines.sort();
    return lines;
}

// Cancels the transfer once the progress passes a value.
struct CancellingProgress : RecordingProgress {
    std::atomic<bool>* flag = nullptr;
    double at = 2;
    void updateProgressDoubleValue(double v) override
    {
        RecordingProgress::updateProgressDoubleValue(v);
        if (v >= at)
            flag->store(true);
    }
};
} // namespace

class TestHandsetBackup : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void init() { qputenv("EDGEMARKS_TIMEOUT", "10"); }

    // Back up a full handset, empty it, restore: the same bookmarks and
    // byte-identical files, names that are no file names included.
    void backUpEmptyRestore()
    {
        SimulatorFixture sim;
        sim->setRecordingFrames(false);
        sim->setBookmarks(manyBookmarks(100));
        QList<SimulatedHandset::File> files;
        for (int i = 0; i < 39; ++i)
            files.append({QStringLiteral("f%1.bin").arg(i), QStringLiteral("other"),
                          QDateTime(QDate(2005, 1 + i % 12, 1 + i), QTime(i % 24, i)), randomBytes(i * 997, i)});
        files[1].name = QStringLiteral("a/b?.txt");
        files[2].name = QStringLiteral("F0.BIN");
        files.append({QStringLiteral("big.jpg"), QStringLiteral("jpeg"), QDateTime(QDate(2006, 2, 3), QTime(4, 5)),
                      randomBytes(64 << 20, 99)});
        sim->setFiles(files);
        const QStringList before = holdings(*sim.handset);

        const QString path = m_dir.filePath(QStringLiteral("backup.tar"));
        VedORovav link;
        RecordingProgress progress;
        HandsetBackup::Summary summary;
        QVERIFY(HandsetBackup::backUp(link, path, QStringLiteral("1234"), progress, &summary));
        QCOMPARE(summary.bookmarks, 100);
        QCOMPARE(summary.files, 40);
        QVERIFY(std::is_sorted(progress.values.begin(), progress.values.end()));
        QCOMPARE(progress.values.last(), 1.0);

        sim->setBookmarks({});
        sim->setFiles({});
        RestorePlan plan(path);
        BookmarkList none;
        plan.compareWith(none, {});
        QCOMPARE(plan.bookmarkDiff().added(), 100);
        QCOMPARE(plan.missingFiles().size(), 40);
        QVERIFY(plan.apply(link, RestorePlan::Everything, false, QStringLiteral("1234"), progress));
        QCOMPARE(plan.sentFiles().size(), 40);
        // The last upload gets no reply: the handset may still be taking it in.
        QVERIFY(QTest::qWaitFor([&] { return sim->files().size() == 40; }, 20000));
        QCOMPARE(holdings(*sim.handset), before);
    }

    // However a backup stops, nothing is under its name and an older backup
    // there is as it was; no temporary file stays behind.
    void interruptedBackupKeepsTheOldOne_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel") << "cancel";
        QTest::newRow("cable pulled") << "hang up";
        QTest::newRow("disk full") << "disk full";
    }

    void interruptedBackupKeepsTheOldOne()
    {
        QFETCH(QString, how);
        SimulatorFixture sim;
        sim->setRecordingFrames(false);
        sim->loadSampleContent();
        QList<SimulatedHandset::File> files = sim->files();
        files.append({QStringLiteral("big.bin"), QStringLiteral("other"), {}, randomBytes(4 << 20, 1)});
        sim->setFiles(files);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.tar"));
        QVERIFY(writeFile(path, "the old backup"));

        VedORovav link;
        std::atomic<bool> cancel{false};
        link.setCancelFlag(&cancel);
        CancellingProgress progress;
        progress.flag = &cancel;
        rlimit saved{};
        if (how == "cancel") {
            progress.at = 0.5;
        } else if (how == "hang up") {
            SimulatedHandset::Faults faults;
            faults.hangUpOn = 0x602;
            sim->setFaults(faults);
        } else {
            // A limit on file size stands for a full disk: the write fails half way.
            std::signal(SIGXFSZ, SIG_IGN);
            getrlimit(RLIMIT_FSIZE, &saved);
            rlimit small = saved;
            small.rlim_cur = 1 << 20;
            setrlimit(RLIMIT_FSIZE, &small);
        }
        bool failed = false;
        try {
            HandsetBackup::backUp(link, path, QStringLiteral("1234"), progress);
        } catch (const VedORovavException&) {
            failed = true;
        } catch (const BackupError&) {
            failed = true;
        }
        if (how == "disk full")
            setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(failed);
        QCOMPARE(readFile(path), QByteArray("the old backup"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.tar"});
    }
};

QTEST_GUILESS_MAIN(TestHandsetBackup)
#include "tst_handsetbackup.moc"
