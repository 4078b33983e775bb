// The handset's files window and the backup, restore and undo of an export,
// driven through the windows' menus, buttons, dialogs and drops.
#include "app/BackupActions.h"
#include "app/DocumentWindow.h"
#include "app/EdgeMarksApp.h"
#include "app/HandsetFilesWindow.h"
#include "commands/HandsetJobs.h"
#include "sheets/KeychainStore.h"
#include "sheets/ProgressController.h"
#include "support/BookmarkTestSupport.h"
#include "support/FileTestSupport.h"
#include "support/SimulatorFixture.h"
#include "document/MyDocument.h"
#include "ui_MyDocument.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

namespace
{
template <typename T> T* shown(const QString& name)
{
    T* found = nullptr;
    (void)QTest::qWaitFor(
        [&] {
            for (QWidget* w : QApplication::allWidgets())
                if (auto* t = qobject_cast<T*>(w); t && t->isVisible() && (name.isEmpty() || t->objectName() == name))
                    found = t;
            return found != nullptr;
        },
        20000);
    return found;
}

// Answers the next file dialog with path. The dialog is Qt's own, not the
// window under test: the answer is given to it directly.
void answerFileDialog(const QString& path)
{
    QTimer::singleShot(0, [path] {
        auto* dialog = shown<QFileDialog>(QString());
        QVERIFY(dialog);
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
}

void pressButton(QWidget* parent, const QString& label)
{
    for (QPushButton* b : parent->findChildren<QPushButton*>())
        if (b->text() == label && b->isVisible()) {
            QTest::mouseClick(b, Qt::LeftButton);
            return;
        }
    QFAIL(qPrintable("no button " + label));
}

QStringList bookmarkLines(const QList<SimulatedHandset::Bookmark>& list)
{
    QStringList lines;
    for (const auto& b : list)
        lines << QStringLiteral("%1 %2 %3 %4").arg(b.number).arg(b.folder).arg(b.name, b.location);
    lines.sort();
    return lines;
}
} // namespace

class TestHandsetWindows : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    MemoryKeychainStore m_keychain;
    std::unique_ptr<EdgeMarksApp> m_app;

    DocumentWindow* window()
    {
        m_keychain.savePassword("1234");
        // The program starts once the test pointed the environment at its handset.
        if (!m_app) {
            m_app = std::make_unique<EdgeMarksApp>(&m_keychain, testLink());
            m_app->terminate = [](int) {};
        }
        DocumentWindow* w = m_app->newDocument();
        QCoreApplication::processEvents(); // the driver check
        return w;
    }

private slots:
    void initTestCase()
    {
        // A home of this run's own: the kept lists and thumbnails of other suites,
        // running at the same time, stay out of what these tests count.
        qputenv("HOME", QFile::encodeName(m_dir.path()));
        QStandardPaths::setTestModeEnabled(true);
        const QString bundle = m_dir.filePath("AHK3001VDriver.kext");
        QVERIFY(SimulatedHandset::createDriverBundle(bundle, "1.2"));
        qputenv("EDGEMARKS_DRIVER_BUNDLE", QFile::encodeName(bundle));
        qputenv("EDGEMARKS_TIMEOUT", "5");
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); // dialogs the test can type into
    }

    void cleanup() { m_app.reset(); }

    // The list sorts by size, two files are saved to a folder (a picture gets
    // its thumbnail), and a file dropped from outside goes up.
    void filesWindow()
    {
        SimulatorFixture sim;
        sim->loadSampleContent();
        DocumentWindow* w = window();
        HandsetFilesWindow* files = w->showHandsetFiles();
        QTreeWidget* list = files->fileList();
        const auto samples = SimulatedHandset::sampleFiles();
        QVERIFY(QTest::qWaitFor([&] { return list->topLevelItemCount() == samples.size(); }, 20000));

        QHeaderView* header = list->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(HandsetFilesWindow::SizeColumn) + 5, 5));
        const auto smallest = std::min_element(samples.begin(), samples.end(), [](const auto& a, const auto& b) {
            return a.content.size() < b.content.size();
        });
        QCOMPARE(list->topLevelItem(0)->text(HandsetFilesWindow::NameColumn), smallest->name);

        auto rowOf = [&](const QString& name) {
            return list->findItems(name, Qt::MatchExactly, HandsetFilesWindow::NameColumn).value(0);
        };
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(rowOf("Photo.JPG")).center());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->visualItemRect(rowOf("memo.txt")).center());
        const QString folder = m_dir.filePath("saved");
        QDir().mkpath(folder);
        answerFileDialog(folder);
        pressButton(files, "Save To...");
        QVERIFY2(QTest::qWaitFor([&] { return files->summary().startsWith("2 file"); }, 20000),
                 qPrintable(files->summary()));
        QCOMPARE(readFile(folder + "/Photo.JPG"), samples[1].content);
        QCOMPARE(readFile(folder + "/memo.txt"), samples[0].content);
        QVERIFY(QFileInfo::exists(HandsetFilesWindow::thumbnailPath(files->files().value(
            int(std::find_if(files->files().begin(), files->files().end(),
                             [](const AirHFile& f) { return f.fileName() == "Photo.JPG"; }) -
                files->files().begin())))));

        const QString dropped = m_dir.filePath("dropped.png");
        QVERIFY(writeFile(dropped, samples[2].content));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dropped)});
        const QPoint at = files->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(files, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(files, &drop);
        QVERIFY(QTest::qWaitFor([&] { return files->summary().endsWith(" sent to the AIR-EDGE PHONE"); }, 20000));
        QVERIFY(rowOf("dropped.png"));
        QCOMPARE(rowOf("dropped.png")->text(HandsetFilesWindow::TypeColumn), QString("png"));
        files->close();
    }

    // Back Up, then Restore onto an emptied handset: everything is back.
    void backUpAndRestore()
    {
        SimulatorFixture sim;
        sim->loadSampleContent();
        const auto bookmarks = bookmarkLines(sim->bookmarks());
        DocumentWindow* w = window();
        const QString path = m_dir.filePath("handset.tar");
        answerFileDialog(path);
        w->findChild<QAction*>("actionBackUp")->trigger();
        QMessageBox* done = shown<QMessageBox>("backupAlert");
        QVERIFY(done);
        QCOMPARE(done->text(), QString("The AIR-EDGE PHONE is backed up."));
        QTest::keyClick(done, Qt::Key_Return);

        sim->setBookmarks({});
        sim->setFiles({});
        answerFileDialog(path);
        w->findChild<QAction*>("actionRestore")->trigger();
        QDialog* preview = shown<QDialog>("restorePreview");
        QVERIFY(preview);
        pressButton(preview, "Restore");
        done = shown<QMessageBox>("backupAlert");
        QVERIFY(done);
        QCOMPARE(done->text(), QString("The backup is restored."));
        QCOMPARE(bookmarkLines(sim->bookmarks()), bookmarks);
        QCOMPARE(sim->files().size(), SimulatedHandset::sampleFiles().size());
        QTest::keyClick(done, Qt::Key_Return);
    }

    // An export keeps the handset's list first and says what it changes;
    // Restore Previous Bookmarks puts it back.
    void exportCanBeUndone()
    {
        SimulatorFixture sim;
        sim->loadSampleContent();
        const auto before = bookmarkLines(sim->bookmarks());
        DocumentWindow* w = window();
        w->document()->setBookmarkList({makeBookmark("Only", "http://only.example/", 0, 0)});
        w->ui()->actionExport->trigger();
        QMessageBox* ask = shown<QMessageBox>("confirmationAlert");
        QVERIFY(ask);
        QVERIFY2(ask->informativeText().contains("Changes: 0 added, 5 removed, 1 changed"),
                 qPrintable(ask->informativeText()));
        pressButton(ask, "Export");
        QVERIFY(QTest::qWaitFor([&] { return sim->bookmarks().size() == 1; }, 20000));
        QVERIFY(QTest::qWaitFor([&] { return !w->commands()->isBusy(); }, 20000));

        w->findChild<QAction*>("actionRestorePrevious")->trigger();
        QDialog* previous = shown<QDialog>("restorePrevious");
        QVERIFY(previous);
        QTest::keyClick(previous, Qt::Key_Return);
        ask = shown<QMessageBox>("confirmationAlert");
        QVERIFY(ask);
        QVERIFY2(ask->informativeText().contains("Changes: 5 added, 0 removed, 1 changed"),
                 qPrintable(ask->informativeText()));
        pressButton(ask, "Export");
        QVERIFY(QTest::qWaitFor([&] { return bookmarkLines(sim->bookmarks()) == before; }, 20000));
    }
};

QTEST_MAIN(TestHandsetWindows)
#include "tst_handsetwindows.moc"
