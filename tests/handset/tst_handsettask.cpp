// Transfers on a thread of their own: progress in order on the caller's thread,
// and Cancel in every transfer, with the frames that follow and nothing lost.
#include "support/BookmarkTestSupport.h"
#include "handset/HandsetTask.h"
#include "support/FileTestSupport.h"
#include "support/LinkTestSupport.h"
#include "support/RecordingProgress.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

namespace {
const QByteArray Closing = frameBytes("E1 01 00 03 04 00 00 00 00 08 00 06");

// Cancels the task once the transfer has reported some progress.
struct CancellingProgress : RecordingProgress {
    HandsetTask* task = nullptr;
    bool onTheRightThread = true;
    void openProgressForWindow(QObject* w, double max, const QString& m) override
    {
        onTheRightThread &= QThread::currentThread() == qApp->thread();
        RecordingProgress::openProgressForWindow(w, max, m);
    }
    void updateProgressDoubleValue(double v) override
    {
        onTheRightThread &= QThread::currentThread() == qApp->thread();
        RecordingProgress::updateProgressDoubleValue(v);
        if (task && v > 0)
            task->cancel();
    }
};
} // namespace

class TestHandsetTask : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    static bool finish(HandsetTask& task)
    {
        QSignalSpy done(&task, &HandsetTask::finished);
        return done.count() > 0 || done.wait(20000);
    }

private slots:
    void init() { qputenv("EDGEMARKS_TIMEOUT", "10"); }

    void progressArrivesInOrderOnTheCallersThread()
    {
        SimulatorFixture sim;
        sim->loadSampleContent();
        CancellingProgress progress;
        HandsetTask task(&progress, nullptr);
        auto list = std::make_shared<BookmarkList>();
        QVERIFY(task.start(testLink(), [list](VedORovav& link, ProgressProtocol& p) {
            return link.readBookmarks(*list, "1234", p);
        }));
        QVERIFY(!task.start(testLink(), [](VedORovav&, ProgressProtocol&) { return true; })); // one at a time
        QVERIFY(task.isRunning());
        QVERIFY(finish(task));
        QVERIFY(task.result());
        QVERIFY(!task.failure());
        QCOMPARE(list->size(), 6);
        QVERIFY(progress.onTheRightThread);
        QCOMPARE(progress.calls.first(), QString("open"));
        QCOMPARE(progress.calls.last(), QString("close")); // finished() comes after the sheet closed
        QCOMPARE(progress.values.last(), 1.0);             // the full bar before the close
        QVERIFY(std::is_sorted(progress.values.begin(), progress.values.end()));
    }

    // Cancel in each transfer, whether the line is busy or silent: the transfer
    // ends, the session logs out and what the user had is as it was.
    void cancelEveryTransfer_data()
    {
        QTest::addColumn<QString>("transfer");
        QTest::addColumn<int>("silentAfter"); // -1: a slow handset instead
        QTest::newRow("import, silent line") << "import" << 3;
        QTest::newRow("import, slow handset") << "import" << -1;
        QTest::newRow("export, slow handset") << "export" << -1;
        QTest::newRow("export, silent line") << "export" << 5;
        QTest::newRow("listing, silent line") << "ls" << 3;
        QTest::newRow("download, silent line") << "get" << 2;
        QTest::newRow("download, slow handset") << "get" << -1;
        QTest::newRow("upload, slow handset") << "put" << -1;
    }

    void cancelEveryTransfer()
    {
        QFETCH(QString, transfer);
        QFETCH(int, silentAfter);
        SimulatorFixture sim;
        sim->loadSampleContent();
        const QByteArray big(256 << 10, 'b');
        sim->setFiles({{"big.bin", "other", QDateTime(), big}});
        SimulatedHandset::Faults faults;
        faults.silentAfter = silentAfter;
        faults.pauseMs = silentAfter < 0 ? 30 : 0;
        sim->setFaults(faults);

        // What the user has before: a list, a local file.
        auto list = std::make_shared<BookmarkList>(BookmarkList{makeBookmark("mine", "http://a/", 1, 0)});
        BookmarkList exported;
        for (int i = 0; i < 40; ++i)
            exported << makeBookmark(QString::number(i), "http://e/", i, 0);
        const QString local = m_dir.filePath("big.bin"), upload = m_dir.filePath("upload.bin");
        QVERIFY(writeFile(local, "the old content") && writeFile(upload, QByteArray(256 << 10, 'u')));

        CancellingProgress progress;
        HandsetTask task(&progress, nullptr);
        if (silentAfter < 0)
            progress.task = &task; // cancel once the transfer is under way
        task.start(testLink(), [&, list](VedORovav& link, ProgressProtocol& p) {
            if (transfer == "import") {
                BookmarkList read;
                const bool done = link.readBookmarks(read, "1234", p);
                *list = read;
                return done;
            }
            if (transfer == "export")
                return link.writeBookmarks(exported, "1234", p);
            if (transfer == "ls") {
                AirHFileList files;
                return link.readDirectory(files, "1234", p);
            }
            if (transfer == "get") {
                AirHFile file;
                file.setFileName("big.bin");
                QStringList to{local};
                return link.readFileFrom({file}, to, "1234", p);
            }
            return link.writeFileFrom({upload}, "1234", p);
        });
        if (silentAfter >= 0) {
            sim->receivedFrames(silentAfter + 1, 5000); // the unanswered request is out
            task.cancel();
        }
        QVERIFY(finish(task));
        QVERIFY(task.failure());
        QCOMPARE(task.failure()->reason(), QString(LinkTexts::Cancelled));
        // The slow handset may still be taking in the last frames.
        QVERIFY(QTest::qWaitFor([&] { return sim->receivedFrames().last() == Logout; }, 20000));
        const QList<QByteArray> frames = sim->receivedFrames();

        QCOMPARE(list->size(), 1); // an import changes nothing
        QCOMPARE(list->first()->bookmarkName(), QString("mine"));
        QCOMPARE(readFile(local), QByteArray("the old content")); // a download neither
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // and leaves nothing
        if (transfer == "export") {
            // The handset's list was being replaced: the closing exchange still goes.
            QCOMPARE(frames.at(frames.size() - 2), Closing);
            QVERIFY(task.failure()->details().contains("may now hold only part of the list"));
        }
        if (transfer == "put") {
            // The upload frame is whole, its rest zeros, and the file is named.
            const QByteArray& frame = frames.at(frames.size() - 2);
            QCOMPARE(frame.size(), 12 + int(strlen("upload.bin\tother\t")) + (256 << 10));
            QVERIFY(frame.endsWith(QByteArray(16, '\0')));
            QVERIFY(task.failure()->details().contains("incomplete copy of upload.bin"));
        }
    }
};

QTEST_GUILESS_MAIN(TestHandsetTask)
#include "tst_handsettask.moc"
