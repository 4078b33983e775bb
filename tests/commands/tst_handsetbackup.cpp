// A backup that stops half way, through the simulated handset.
#include "commands/HandsetBackup.h"

#include "handset/VedORovav.h"
#include "support/FileTestSupport.h"
#include "support/RecordingProgress.h"
#include "support/SimulatorFixture.h"

#include <QDir>
#include <QTest>

class TestHandsetBackup : public QObject {
    Q_OBJECT

private slots:
    void init() { qputenv("EDGEMARKS_TIMEOUT", "10"); }

    // The cable is pulled in the middle of a file: nothing is under the
    // backup's name but the older backup, as it was, and no temporary file stays.
    void aPulledCableKeepsTheOldBackup()
    {
        SimulatorFixture sim;
        sim->setRecordingFrames(false);
        sim->loadSampleContent();
        QList<SimulatedHandset::File> files = sim->files();
        files.append({QStringLiteral("big.bin"), QStringLiteral("other"), {}, QByteArray(4 << 20, 'b')});
        sim->setFiles(files);
        SimulatedHandset::Faults faults;
        faults.hangUpOn = 0x602;
        sim->setFaults(faults);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.tar"));
        QVERIFY(writeFile(path, "the old backup"));

        VedORovav link{testLink()};
        RecordingProgress progress;
        QVERIFY_THROWS_EXCEPTION(VedORovavException,
                                 HandsetBackup::backUp(link, path, QStringLiteral("1234"), progress));
        QCOMPARE(readFile(path), QByteArray("the old backup"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.tar"});
    }
};

QTEST_GUILESS_MAIN(TestHandsetBackup)
#include "tst_handsetbackup.moc"
