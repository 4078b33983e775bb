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
#include <QDrag>
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

// Acts on the next dialog of type T once it shows. File dialogs are Qt's own,
// not the window under test: they are answered directly.
template <typename T> void answerNext(std::function<void(T*)> act)
{
    QTimer::singleShot(0, [act] {
        T* dialog = shown<T>(QString());
        QVERIFY(dialog);
        act(dialog);
    });
}

void answerFileDialog(const QString& path)
{
    answerNext<QFileDialog>([path](QFileDialog* d) { d->selectFile(path), static_cast<QDialog*>(d)->accept(); });
}

// A mouse event with the left button held, as a drag sends it.
void sendMouse(QWidget* to, QEvent::Type type, const QPoint& at)
{
    QMouseEvent e(type, at, to->mapToGlobal(at), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(to, &e);
}

// Drops a local file onto a widget, as the file manager does.
void dropFile(QWidget* on, const QString& path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at = on->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(on, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(on, &drop);
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

    // The files window is the program's: a second document window raises it,
    // also once the window it came from closed. The list sorts by size; two
    // files are saved to a folder (a picture gets its thumbnail) and dragged
    // out as real files; dropped files go up, a name the handset holds only
    // when the user says so.
    void filesWindow()
    {
        SimulatorFixture sim;
        sim->loadSampleContent();
        DocumentWindow* first = window();
        first->findChild<QAction*>("actionFiles")->trigger();
        auto* files = shown<HandsetFilesWindow>(QString());
        QVERIFY(files);
        DocumentWindow* second = window();
        first->close();
        second->findChild<QAction*>("actionFiles")->trigger();
        QCOMPARE(shown<HandsetFilesWindow>(QString()), files);
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

        auto rowAt = [&](const QString& name) {
            return list->visualItemRect(
                list->findItems(name, Qt::MatchExactly, HandsetFilesWindow::NameColumn).value(0)).center();
        };
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowAt("Photo.JPG"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rowAt("memo.txt"));
        const QString folder = m_dir.filePath("saved");
        QDir().mkpath(folder);
        answerFileDialog(folder);
        pressButton(files, "Save To...");
        QVERIFY2(QTest::qWaitFor([&] { return files->summary().startsWith("2 file"); }, 20000),
                 qPrintable(files->summary()));
        QCOMPARE(readFile(folder + "/Photo.JPG"), samples[1].content);
        QCOMPARE(readFile(folder + "/memo.txt"), samples[0].content);
        for (const AirHFile& f : files->files())
            QCOMPARE(QFileInfo::exists(HandsetFilesWindow::thumbnailPath(f)), f.fileName() == "Photo.JPG");

        // The drag starts once the file is here: its link names it, whole.
        const QPoint from = rowAt("memo.txt");
        sendMouse(list->viewport(), QEvent::MouseButtonPress, from);
        sendMouse(list->viewport(), QEvent::MouseMove, from + QPoint(1, 0));
        sendMouse(list->viewport(), QEvent::MouseMove, from + QPoint(0, 4 * QApplication::startDragDistance()));
        auto* drag = list->findChild<QDrag*>();
        QVERIFY(drag);
        QStringList dragged;
        for (const QUrl& url : drag->mimeData()->urls())
            dragged << QFileInfo(url.toLocalFile()).fileName() + ' ' + readFile(url.toLocalFile()).toHex();
        QCOMPARE(dragged, QStringList({"memo.txt " + samples[0].content.toHex()}));
        sendMouse(list->viewport(), QEvent::MouseButtonRelease, from);

        const QString dropped = m_dir.filePath("dropped.png");
        QVERIFY(writeFile(dropped, samples[2].content));
        dropFile(files, dropped);
        QVERIFY(QTest::qWaitFor([&] { return files->summary().endsWith(" sent to the AIR-EDGE PHONE"); }, 20000));
        QTreeWidgetItem* sent = list->findItems("dropped.png", Qt::MatchExactly).value(0);
        QVERIFY(sent);
        QCOMPARE(sent->text(HandsetFilesWindow::TypeColumn), QString("png"));

        const QString held = m_dir.filePath("memo.txt");
        QVERIFY(writeFile(held, "mine"));
        const auto heldIs = [&](const QByteArray& content) {
            const auto held = sim->files();
            return std::any_of(held.begin(), held.end(),
                               [&](const auto& f) { return f.name == "memo.txt" && f.content == content; });
        };
        answerNext<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        dropFile(files, held);
        QVERIFY(!files->jobs()->isBusy() && heldIs(samples[0].content)); // nothing went up
        answerNext<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Y); });
        dropFile(files, held);
        QVERIFY(QTest::qWaitFor([&] { return heldIs("mine") && !files->jobs()->isBusy(); }, 20000));
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
