#include "app/DocumentWindow.h"
#include "app/EdgeMarksApp.h"
#include "app/HelpWindow.h"
#include "controllers/BookmarkController.h"
#include "controllers/BookmarkPasteboard.h"
#include "document/BrowserBookmarks.h"
#include "document/MyDocument.h"
#include "handset/HandsetDevices.h"
#include "handset/ProtocolLog.h"
#include "handset/VedORovav.h"
#include "sheets/BrowserImportSheet.h"
#include "sheets/FindingsSheet.h"
#include "sheets/KeychainStore.h"
#include "sheets/PasswordController.h"
#include "sheets/ProgressController.h"
#include "support/BookmarkTestSupport.h"
#include "support/CraftedInputs.h"
#include "support/FileTestSupport.h"
#include "support/LinkTestSupport.h"
#include "support/PeakMemory.h"
#include "support/SimulatorFixture.h"
#include "support/WriteFaults.h"
#include "ui_MyDocument.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDropEvent>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QTextBrowser>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace
{
QMessageBox* boxNow(QWidget* window, const QString& name)
{
    for (QMessageBox* box : window->findChildren<QMessageBox*>(name))
        if (box->isVisible())
            return box;
    return nullptr;
}

// The alert, once it shows (the transfers run on a thread of their own).
QMessageBox* visibleBox(QWidget* window, const QString& name)
{
    (void)QTest::qWaitFor([&] { return boxNow(window, name) != nullptr; }, 10000);
    return boxNow(window, name);
}

// Waits until the window's handset command has ended.
bool idle(DocumentWindow* w)
{
    return QTest::qWaitFor([w] { return !w->commands()->isBusy() && !w->progressController()->isOpened(); },
                           20000);
}

bool shows(QWidget* sheet)
{
    return QTest::qWaitFor([sheet] { return sheet->isVisible(); }, 10000);
}

// Drags data over a table and drops it on the upper edge of row, as a real drag
// delivers it; true when the table took it.
bool dropAbove(QTableView* table, QMimeData* data, int row, Qt::DropAction action)
{
    const QRect rect = table->visualRect(table->model()->index(row, 1));
    const QPoint at(rect.center().x(), rect.top() + 2);
    QDragEnterEvent enter(at, action, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(table->viewport(), &enter);
    QDragMoveEvent move(at, action, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(table->viewport(), &move);
    if (!move.isAccepted())
        return false;
    QDropEvent drop(at, action, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(table->viewport(), &drop);
    return drop.isAccepted();
}

// Clicks a table's cell, opens its editor with F2, types text over what it
// held and presses Return, as a user renames or renumbers in place.
void typeIntoCell(QTableView* table, const QModelIndex& cell, const QString& text)
{
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(cell).center());
    QTest::keyClick(table, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
}

void click(QMessageBox* box, const QString& label)
{
    QVERIFY2(box, qPrintable("no alert for " + label));
    for (QAbstractButton* b : box->buttons())
        if (b->text() == label) {
            b->click();
            return;
        }
    QFAIL(qPrintable("no button " + label));
}

// A keyring that takes its time to answer, as one that first asks to be unlocked.
struct SlowKeychainStore : MemoryKeychainStore {
    int lookups = 0;
    void findPasswordLater(QObject* context, std::function<void(std::optional<QString>)> done) override
    {
        ++lookups;
        QTimer::singleShot(400, context, [this, done = std::move(done)] { done(findPassword()); });
    }
};

BookmarkPtr make(const QString& name, int number, int folder = 0)
{
    return makeBookmark(name, QString(), number, folder);
}

// What a user does in the dialogs that come up one after the other inside a
// command (each runs its own event loop): each step waits for the modal window
// of its name and acts on it.
class ModalScript : public QObject
{
public:
    using Step = std::pair<QString, std::function<void(QWidget*)>>;
    explicit ModalScript(QList<Step> steps) : m_steps(std::move(steps))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            // A dialog that no step expects is closed after a while, so that a
            // failing test ends instead of waiting in its event loop.
            if (++m_idleTicks > 250 && modal) {
                m_idleTicks = 0;
                modal->close();
                return;
            }
            if (m_steps.isEmpty() || !modal || !modal->isVisible() ||
                modal->objectName() != m_steps.first().first)
                return;
            m_idleTicks = 0;
            const Step step = m_steps.takeFirst();
            step.second(modal);
        });
        m_timer.start(20);
    }
    bool done() { return QTest::qWaitFor([this] { return m_steps.isEmpty(); }, 10000); }

private:
    QList<Step> m_steps;
    QTimer m_timer;
    int m_idleTicks = 0;
};

// Types a file name into a file dialog and presses Enter.
ModalScript::Step typeFileName(const QString& name)
{
    return {"saveDialog", [name](QWidget* dialog) {
                auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
                QVERIFY(edit);
                // Set rather than typed: the completer's list of matching files
                // would take the Enter.
                edit->setText(name);
                QTest::keyClick(edit, Qt::Key_Return);
            }};
}

ModalScript::Step pressButton(const QString& alert, const QString& label)
{
    return {alert, [label](QWidget* box) {
                for (auto* b : box->findChildren<QAbstractButton*>())
                    if (b->text() == label)
                        QTest::mouseClick(b, Qt::LeftButton);
            }};
}

ModalScript::Step pressKey(const QString& name, Qt::Key key)
{
    return {name, [key](QWidget* w) { QTest::keyClick(w, key); }};
}
} // namespace

class TestDocumentWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    MemoryKeychainStore m_keychain;
    std::unique_ptr<EdgeMarksApp> m_app;
    KeychainStore* m_appKeychain = nullptr;
    QString m_settingsFolder;
    int m_terminated = -1;

    // The program, started when a test first needs it: after the test pointed
    // the environment at its handset, which the program reads as it starts.
    EdgeMarksApp* app()
    {
        if (!m_app) {
            m_app = std::make_unique<EdgeMarksApp>(m_appKeychain, testLink(), m_settingsFolder);
            m_app->terminate = [this](int status) { m_terminated = status; };
        }
        return m_app.get();
    }

    DocumentWindow* newWindow()
    {
        DocumentWindow* w = app()->newDocument();
        QCoreApplication::processEvents();
        return w;
    }

    // A window whose password, 1234, the keychain holds.
    DocumentWindow* windowWithPassword()
    {
        m_keychain.savePassword("1234");
        return newWindow();
    }

    // The window in front, taking keys as the user's window does.
    DocumentWindow* activeWindow(DocumentWindow* w)
    {
        w->show();
        QApplication::setActiveWindow(w);
        (void)QTest::qWaitForWindowActive(w);
        return w;
    }

    // An import under way from a handset that answers the login and then nothing.
    DocumentWindow* startASilentImport(SimulatorFixture& sim)
    {
        sim->loadSampleContent();
        SimulatedHandset::Faults faults;
        faults.silentAfter = 3; // the entries never come
        sim->setFaults(faults);
        DocumentWindow* w = windowWithPassword();
        w->ui()->actionImport->trigger();
        (void)QTest::qWaitFor([&] { return sim->receivedFrames().size() >= 4; }, 5000);
        return w;
    }

    // An export of 30 bookmarks, confirmed, to a handset with these faults.
    DocumentWindow* startAnExport(SimulatorFixture& sim, const SimulatedHandset::Faults& faults)
    {
        sim->setFaults(faults);
        DocumentWindow* w = windowWithPassword();
        BookmarkList list;
        for (int i = 0; i < 30; ++i)
            list << make(QString::number(i), i);
        w->document()->setBookmarkList(list);
        w->ui()->actionExport->trigger();
        click(visibleBox(w, "confirmationAlert"), "Export");
        return w;
    }

    // The program started anew, as in the next run.
    void restartApp(KeychainStore* keychain)
    {
        m_app.reset();
        m_appKeychain = keychain;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        const QString bundle = m_dir.filePath("AHK3001VDriver.kext");
        QVERIFY(SimulatedHandset::createDriverBundle(bundle, "1.2"));
        qputenv("EDGEMARKS_DRIVER_BUNDLE", QFile::encodeName(bundle));
        qputenv("EDGEMARKS_TIMEOUT", "5");
    }

    void init()
    {
        m_keychain.storedBytes.reset();
        // Settings of its own for each test, shared with no other run of the suite.
        m_settingsFolder = m_dir.filePath(QStringLiteral("settings/") + QTest::currentTestFunction());
        restartApp(&m_keychain);
        m_terminated = -1;
    }

    void cleanup() { m_app.reset(); }

    // An import into an empty document starts at once; over bookmarks it asks,
    // and a Cancel opens no connection.
    void importIntoAnEmptyDocument()
    {
        SimulatorFixture sim;
        sim->loadSampleContent();
        DocumentWindow* w = windowWithPassword();
        const BookmarkList kept{make("kept", 50)};
        w->document()->setBookmarkList(kept);
        w->ui()->actionImport->trigger();
        QMessageBox* box = visibleBox(w, "confirmationAlert");
        QVERIFY(box);
        QCOMPARE(box->text(), QString("The current editing bookmarks will be completely deleted. Are you "
                                      "sure you want to import ?"));
        QCOMPARE(box->informativeText(),
                 QString("If you select to import then all bookmarks on the current editing will be lost."));
        QCOMPARE(box->icon(), QMessageBox::Information);
        QCOMPARE(box->buttons().size(), 2);
        click(box, "Cancel");
        QVERIFY(w->document()->bookmarkList() == kept);
        QTest::qWait(50);
        QVERIFY(sim->receivedFrames().isEmpty());

        w->document()->setBookmarkList({});
        w->ui()->importButton->click();
        QVERIFY(!boxNow(w, "confirmationAlert"));
        QVERIFY(idle(w));
        QCOMPARE(w->document()->bookmarkList().size(), 6);
        QVERIFY(w->isWindowModified());
        QVERIFY(!w->progressController()->isOpened());
        QCOMPARE(w->bookmarkController()->rowCount(), 2); // folder 00
    }

    void passwordSheetAndRetry()
    {
        SimulatorFixture sim;
        sim->loadSampleContent();
        DocumentWindow* w = newWindow();
        PasswordController* passwords = w->passwordController();
        w->ui()->actionImport->trigger();
        QVERIFY(shows(passwords->passwordSheet()));
        QVERIFY(passwords->passwordField()->text().isEmpty());
        QCOMPARE(passwords->passwordField()->echoMode(), QLineEdit::Password);
        QVERIFY(!passwords->savePasswordButton()->isChecked());
        QTest::keyClicks(passwords->passwordField(), "1234");
        passwords->passwordSheet()->findChild<QPushButton*>("okButton")->click();
        QVERIFY(!passwords->passwordSheet()->isVisible());
        QVERIFY(idle(w));
        QCOMPARE(w->document()->bookmarkList().size(), 6);
        QCOMPARE(passwords->currentPassword(), std::optional<QString>("1234"));
        QVERIFY(!m_keychain.storedBytes); // not saved: the box was off

        // A refused password brings the sheet back; Cancel leaves the document alone.
        sim->setPassword("4321");
        const BookmarkList before = w->document()->bookmarkList();
        w->ui()->actionImport->trigger();
        click(visibleBox(w, "confirmationAlert"), "Import");
        QVERIFY(shows(passwords->passwordSheet()));
        passwords->passwordField()->setText("9999");
        passwords->clickOKButton(); // the import goes on: it was confirmed once
        QVERIFY(shows(passwords->passwordSheet()));
        QVERIFY(!boxNow(w, "confirmationAlert"));
        QVERIFY(passwords->passwordField()->text().isEmpty());
        passwords->clickCancelButton();
        QVERIFY(!passwords->passwordSheet()->isVisible());
        QVERIFY(w->document()->bookmarkList() == before);
        QCOMPARE(passwords->currentPassword(), std::optional<QString>("9999"));
    }

    // Handset → Device: the port chosen there is used and remembered; Find
    // Automatically forgets it; the status bar says which port is in use.
    void theDeviceMenuChoosesThePort()
    {
        SimulatorFixture sim; // sets EDGEMARKS_DEVICE
        sim->loadSampleContent();
        DocumentWindow* w = windowWithPassword();
        QMenu* menu = w->ui()->menuDevice;
        emit menu->aboutToShow();
        QAction* automatic = menu->findChild<QAction*>("automaticDevice");
        QVERIFY(automatic && automatic->isChecked());
        QVERIFY(automatic->text().contains(sim.devicePath()));
        auto* status = w->findChild<QLabel*>("handsetStatus");
        QCOMPARE(status->text(), QString("AIR-EDGE PHONE: %1").arg(sim.devicePath()));

        // Other...: a path typed in is used from now on and in the next run.
        menu->findChild<QAction*>("otherDevice")->trigger();
        auto* dialog = w->findChild<QInputDialog*>("otherDeviceDialog");
        QVERIFY(dialog && dialog->isVisible());
        dialog->setTextValue(m_dir.filePath("elsewhere"));
        dialog->accept();
        QCOMPARE(app()->linkSettings().device, m_dir.filePath("elsewhere"));
        QCOMPARE(app()->settings().text("Handset/device"), m_dir.filePath("elsewhere"));
        QCOMPARE(status->text(), QString("AIR-EDGE PHONE: %1").arg(m_dir.filePath("elsewhere")));
        emit menu->aboutToShow();
        const QList<QAction*> actions = menu->actions();
        QVERIFY(std::any_of(actions.begin(), actions.end(), [&](QAction* a) {
            return a->isChecked() && a->data().toString() == m_dir.filePath("elsewhere");
        }));
        // The next run uses it too, unless the environment names a port.
        restartApp(&m_keychain);
        QCOMPARE(app()->linkSettings().device, sim.devicePath());
        qunsetenv("EDGEMARKS_DEVICE");
        restartApp(&m_keychain);
        QCOMPARE(app()->linkSettings().device, m_dir.filePath("elsewhere"));

        // Find Automatically: back to the port the program was started with.
        qputenv("EDGEMARKS_DEVICE", QFile::encodeName(sim.devicePath()));
        restartApp(&m_keychain);
        app()->chooseDevice(m_dir.filePath("elsewhere"));
        w = newWindow();
        menu = w->ui()->menuDevice;
        emit menu->aboutToShow();
        menu->findChild<QAction*>("automaticDevice")->trigger();
        QCOMPARE(app()->linkSettings().device, sim.devicePath());
        QVERIFY(!app()->settings().contains("Handset/device"));
        w->ui()->actionImport->trigger();
        QVERIFY(idle(w));
        QCOMPARE(w->document()->bookmarkList().size(), 6);
    }

    // A trial run on the built-in simulator names it in the Device menu, not by
    // its temporary path, and keeps a port chosen there out of the real settings.
    void aSimulatorRunKeepsItsSettingsApart()
    {
        const QString name = QCoreApplication::applicationName();
        const QByteArray device = qgetenv("EDGEMARKS_DEVICE"), bundle = qgetenv("EDGEMARKS_DRIVER_BUNDLE");
        const auto restore = qScopeGuard([&] {
            QCoreApplication::setApplicationName(name);
            qputenv("EDGEMARKS_DEVICE", device);
            qputenv("EDGEMARKS_DRIVER_BUNDLE", bundle);
        });
        QVERIFY(app()->startSimulator());
        DocumentWindow* w = newWindow();
        QMenu* menu = w->ui()->menuDevice;
        emit menu->aboutToShow();
        const QString automatic = menu->findChild<QAction*>("automaticDevice")->text();
        QVERIFY2(automatic.contains("Simulated AIR-EDGE PHONE") &&
                     !automatic.contains(app()->simulator()->devicePath()),
                 qPrintable(automatic));
        menu->findChild<QAction*>("otherDevice")->trigger();
        auto* dialog = w->findChild<QInputDialog*>("otherDeviceDialog");
        QVERIFY(dialog && dialog->isVisible());
        dialog->setTextValue(m_dir.filePath("trial"));
        dialog->accept();
        QCOMPARE(app()->settings().text("Handset/device"), m_dir.filePath("trial"));
        SettingsFile real;
        real.load(m_settingsFolder, name);
        QVERIFY(!real.contains("Handset/device"));
    }

    // Cancel on a handset that stopped answering: the window was usable for
    // nothing but Cancel meanwhile, the session logs out, the document is as it was.
    void cancelAnImportOnASilentLine()
    {
        SimulatorFixture sim;
        DocumentWindow* w = startASilentImport(sim);
        QVERIFY(w->progressController()->isOpened());

        // Input to the document is refused, not kept for later.
        QVERIFY(!w->ui()->addButton->isEnabled());
        QTest::mouseClick(w->ui()->addButton, Qt::LeftButton);
        w->ui()->actionAdd->trigger();
        w->ui()->actionImport->trigger();
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());

        w->progressController()->cancelButton()->click();
        QVERIFY(idle(w));
        QVERIFY(w->document()->bookmarkList().isEmpty());
        QVERIFY(!boxNow(w, "errorAlert")); // a cancel is no failure
        QVERIFY(w->statusBar()->currentMessage().contains("cancelled"));
        QVERIFY(w->ui()->addButton->isEnabled());
        sim.settle();
        const QList<QByteArray> frames = sim->receivedFrames();
        QCOMPARE(frames.size(), 5);
        QCOMPARE(frames.last(), Logout);
    }

    // SIGTERM while a transfer runs: it ends as every transfer does, then the program.
    void shuttingDownEndsTheTransferFirst()
    {
        SimulatorFixture sim;
        QPointer<DocumentCommands> commands = startASilentImport(sim)->commands();
        app()->shutDown(143);
        QVERIFY(QTest::qWaitFor([this] { return m_terminated == 143; }, 10000));
        // The window may be gone by now; if it is not, its transfer must be.
        QVERIFY(!commands || !commands->isBusy());
        sim.settle();
        QCOMPARE(sim->receivedFrames().last(), Logout);
    }

    void cancelAnExportMidway()
    {
        SimulatorFixture sim;
        SimulatedHandset::Faults faults;
        faults.pauseMs = 40;
        DocumentWindow* w = startAnExport(sim, faults);
        QVERIFY(QTest::qWaitFor([w] { return w->progressController()->value() >= 2; }, 10000));
        w->progressController()->cancelButton()->click();
        QMessageBox* error = visibleBox(w, "errorAlert");
        QVERIFY(error);
        QCOMPARE(error->text(), QString("Couldn't export the bookmarks."));
        QVERIFY(error->informativeText().startsWith("The transfer was cancelled.\n"));
        QVERIFY(error->informativeText().contains("may now hold only part of the list"));
        QVERIFY(idle(w));
        QVERIFY(QTest::qWaitFor([&] { return sim->receivedFrames().last() == Logout; }, 10000));
        const QList<QByteArray> frames = sim->receivedFrames();
        QCOMPARE(frames.at(frames.size() - 2), frameBytes("E1 01 00 03 04 00 00 00 00 08 00 06")); // closing
        QVERIFY(sim->bookmarks().size() < 30);
    }

    // While the keyring takes its time, the window neither closes nor starts a
    // second import; afterwards the import goes on as usual.
    void aSlowKeyringLookup()
    {
        SlowKeychainStore keyring;
        keyring.savePassword("1234");
        restartApp(&keyring);
        SimulatorFixture sim;
        sim->loadSampleContent();
        QPointer<DocumentWindow> w = newWindow();
        w->ui()->actionImport->trigger();
        QVERIFY(w->commands()->isBusy());
        QVERIFY(!w->close());
        w->ui()->importButton->click();
        w->commands()->importBookmarkList();
        QCOMPARE(keyring.lookups, 1);
        QVERIFY(idle(w));
        QCOMPARE(w->document()->bookmarkList().size(), 6);

        // Cancelled while the keyring answers: no transfer starts at all.
        sim.settle();
        sim->clearReceivedFrames();
        w->document()->setBookmarkList({});
        w->ui()->actionImport->trigger();
        w->commands()->cancel();
        QVERIFY(idle(w));
        QVERIFY(w);
        QVERIFY(w->document()->bookmarkList().isEmpty());
        QCOMPARE(keyring.lookups, 2);
        QTest::qWait(100);
        QVERIFY(sim->receivedFrames().isEmpty());
        m_app.reset();
    }

    void linkFailureShowsTheReason()
    {
        qputenv("EDGEMARKS_DEVICE", QFile::encodeName(m_dir.filePath("nothing-here")));
        DocumentWindow* w = windowWithPassword();
        const BookmarkList kept{make("kept", 1)};
        w->document()->setBookmarkList(kept);
        w->ui()->actionImport->trigger();
        click(visibleBox(w, "confirmationAlert"), "Import");
        QMessageBox* error = visibleBox(w, "errorAlert");
        QVERIFY(error);
        QCOMPARE(error->text(), QString("Couldn't import the bookmarks."));
        QCOMPARE(error->informativeText(), QString("The AIR-EDGE PHONE wasn't connected.\n%1 does not exist.")
                                               .arg(m_dir.filePath("nothing-here")));
        QCOMPARE(error->icon(), QMessageBox::Critical);
        QCOMPARE(error->buttons().size(), 1);
        QCOMPARE(error->buttons().first()->text(), QString("OK"));
        QVERIFY(idle(w));
        QVERIFY(w->document()->bookmarkList() == kept);
        click(error, "OK");
    }

    void exportAlwaysAsksAndKeepsTheChangeMark()
    {
        SimulatorFixture sim;
        DocumentWindow* w = windowWithPassword();
        w->ui()->actionExport->trigger(); // an empty list is still confirmed
        QMessageBox* box = visibleBox(w, "confirmationAlert");
        QVERIFY(box);
        QCOMPARE(box->text(),
                 QString("The bookmarks in the AIR-EDGE PHONE will be completely deleted. Are you sure "
                         "you want to export ?"));
        click(box, "Cancel");

        w->bookmarkController()->add();
        QCoreApplication::processEvents();
        QVERIFY(w->document()->isModified());
        w->ui()->actionExport->trigger();
        click(visibleBox(w, "confirmationAlert"), "Export");
        QVERIFY(idle(w));
        QVERIFY(!boxNow(w, "errorAlert"));
        QCOMPARE(sim->bookmarks().size(), 1);
        QCOMPARE(sim->bookmarks()[0].name, QString("untitled"));
        QVERIFY(w->document()->isModified()); // as it was
    }

    // The handset check runs before every export: a document it finds fault with
    // gets the findings sheet, not a transfer that fails midway.
    void exportShowsTheFindingsFirst()
    {
        SimulatorFixture sim;
        DocumentWindow* w = windowWithPassword();
        w->document()->setBookmarkList({make("A", 1), make("B", 1), make("Lost", 2, 42)});
        QCoreApplication::processEvents();
        // The table marks the row the check finds fault with.
        auto cell = [c = w->bookmarkController()](int row, int role) {
            return c->data(c->index(row, 1), role);
        };
        QVERIFY(!cell(0, Qt::BackgroundRole).isValid());
        QVERIFY(cell(1, Qt::BackgroundRole).isValid());
        QVERIFY(cell(1, Qt::ToolTipRole).toString().contains("memory number of “A”"));

        w->ui()->actionExport->trigger();
        auto* sheet = w->findChild<FindingsSheet*>("findingsSheet");
        QVERIFY(sheet && shows(sheet));
        QVERIFY(!boxNow(w, "confirmationAlert"));
        QCOMPARE(sheet->list()->count(), 2);
        sheet->list()->setCurrentRow(0); // "B": selected in its folder
        QCOMPARE(w->bookmarkController()->selectionIndexes(), (std::set<int>{1}));
        QVERIFY(sheet->proceedButton());
        sheet->proceedButton()->click();
        click(visibleBox(w, "confirmationAlert"), "Export");
        QVERIFY(idle(w));
        QCOMPARE(sim->bookmarks().size(), 2); // folder 42 is never sent
        QVERIFY(w->statusBar()->currentMessage().contains("Exported 2 bookmark(s)"));

        // Too many: nothing to proceed with, and nothing is sent.
        sim.settle(); // the export's logout has arrived
        const int framesBefore = int(sim->receivedFrames().size());
        BookmarkList many;
        for (int i = 0; i < 101; ++i)
            many << make(QString::number(i), i % 100);
        w->document()->setBookmarkList(many);
        w->ui()->actionExport->trigger();
        sheet = nullptr;
        QVERIFY(QTest::qWaitFor([&] {
            for (auto* s : w->findChildren<FindingsSheet*>("findingsSheet"))
                if (s->isVisible())
                    sheet = s;
            return sheet != nullptr;
        }));
        QVERIFY(!sheet->proceedButton());
        QVERIFY(sheet->list()->item(0)->text().contains("101"));
        sheet->reject();
        QVERIFY(!boxNow(w, "confirmationAlert"));
        QCOMPARE(int(sim->receivedFrames().size()), framesBefore);
    }

    void browserBookmarksInAndOut()
    {
        DocumentWindow* w = newWindow();
        w->document()->setBookmarkList({make("Old", 0)});
        QVERIFY(w->importBrowserBookmarks(
            QStringLiteral(EDGEMARKS_FIXTURES "/netscape-html/netscape_nested.htm")));
        auto* sheet = w->findChild<BrowserImportSheet*>("browserImportSheet");
        QVERIFY(sheet && shows(sheet));
        QVERIFY(sheet->summary().contains("8 bookmark(s) will be added."));
        QVERIFY(sheet->summary().contains("Folder1"));
        QVERIFY(w->document()->bookmarkList().size() == 1); // nothing changes before the choice
        sheet->intoFolderButton()->click();
        QVERIFY(!sheet->summary().contains("Folders renamed"));
        sheet->perFolderButton()->click();
        sheet->importButton()->click();
        QCOMPARE(w->document()->bookmarkList().size(), 9);
        QCOMPARE(w->document()->folderList().at(1), QString("Folder1"));
        QCOMPARE(w->document()->undoManager()->undoActionName(), QString("Import Bookmarks"));
        w->ui()->actionUndo->trigger();
        QCOMPARE(w->document()->bookmarkList().size(), 1);
        QCOMPARE(w->document()->folderList().at(1), QString("01"));

        // Not a bookmark file: an alert, nothing changes.
        const QString junk = m_dir.filePath("junk.html");
        QVERIFY(writeFile(junk, "no links"));
        QVERIFY(!w->importBrowserBookmarks(junk));
        QMessageBox* error = visibleBox(w, "errorAlert");
        QVERIFY(error);
        QVERIFY(error->informativeText().contains("not a browser bookmark file"));
        error->accept();

        const QString out = m_dir.filePath("out.html");
        QVERIFY(w->exportBrowserBookmarks(out));
        QFile written(out);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().contains(">Old</A>"));

        // Room for 4 of the 8: the preview and the result say what is left out.
        BookmarkList full;
        for (int i = 0; i < 96; ++i)
            full << make(QString::number(i), i);
        w->document()->setBookmarkList(full);
        QVERIFY(w->importBrowserBookmarks(
            QStringLiteral(EDGEMARKS_FIXTURES "/netscape-html/netscape_nested.htm")));
        QTRY_VERIFY((sheet = w->findChild<BrowserImportSheet*>("browserImportSheet")) && sheet->isVisible());
        QVERIFY(sheet->summary().contains(
            "4 bookmark(s) were left out: the AIR-EDGE PHONE holds at most 100.\n  “"));
        QTest::mouseClick(sheet->importButton(), Qt::LeftButton);
        QVERIFY(
            w->statusBar()->currentMessage().contains("Imported 4 bookmark(s). 4 bookmark(s) were left out"));
    }

    // Each key of the bookmark table, pressed as a person would.
    void keysOfTheTable()
    {
        DocumentWindow* w = activeWindow(newWindow());
        QVERIFY(w->isActiveWindow());
        w->document()->setBookmarkList({make("A", 0), make("B", 1), make("C", 2)});
        QTableView* table = w->ui()->bookmarkTable;
        table->setFocus();
        auto select = [&](int row) {
            table->setCurrentIndex(w->bookmarkController()->index(row, BookmarkController::NameColumn));
            w->bookmarkController()->setSelectionIndexes({row});
        };
        auto names = [&] { return ::names(w->document()->bookmarkList()); };

        select(0);
        QTest::keyClick(table, Qt::Key_Delete);
        QCOMPARE(names(), QString("B, C"));
        select(0);
        QTest::keyClick(table, Qt::Key_Backspace);
        QCOMPARE(names(), QString("C"));
        w->ui()->actionUndo->trigger();
        w->ui()->actionUndo->trigger();
        QCOMPARE(names(), QString("A, B, C"));

        // Copy carries the link formats, not just the cell's text.
        select(1);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QVERIFY(copied && copied->hasFormat(BookmarkPasteboard::CopiedRowsType));
        QTest::keyClick(table, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(names(), QString("A, C"));
        select(0);
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(names(), QString("A, B, C"));
        QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(w->bookmarkController()->selectionIndexes(), (std::set<int>{0, 1, 2}));

        // Enter and F2 open the cell, Escape leaves it unchanged, Enter commits.
        select(2);
        QTest::keyClick(table, Qt::Key_Return);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "Changed");
        QTest::keyClick(editor, Qt::Key_Escape);
        QCoreApplication::processEvents();
        QCOMPARE(w->document()->bookmarkList().at(2)->bookmarkName(), QString("C"));
        table->setFocus();
        QTest::keyClick(table, Qt::Key_F2);
        editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "Changed");
        // Inside the editor the text keys are the editor's: Backspace deletes a character.
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(QTest::qWaitFor([&] { return names() == "A, B, Change"; }));

        // A new bookmark opens its name for editing.
        w->ui()->actionAdd->trigger();
        editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString("untitled"));
        QTest::keyClicks(editor, "New");
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(
            QTest::qWaitFor([&] { return w->document()->bookmarkList().last()->bookmarkName() == "New"; }));
    }

    void dialogsSayWhatTheyMean()
    {
        SimulatorFixture sim; // the export reads what the handset holds before it asks
        DocumentWindow* w = windowWithPassword();
        QCOMPARE(w->windowTitle(), w->displayName() + "[*] — EdgeMarks");
        QVERIFY(!QApplication::windowIcon().isNull());

        // The destructive questions default to Cancel.
        w->ui()->actionExport->trigger();
        QMessageBox* box = visibleBox(w, "confirmationAlert");
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QString("EdgeMarks"));
        QCOMPARE(box->defaultButton()->text(), QString("Cancel"));
        click(box, "Cancel");

        // About: version, licence, Qt.
        w->showAbout();
        QMessageBox* about = visibleBox(w, "aboutBox");
        QVERIFY(about);
        QVERIFY(about->text().contains(QCoreApplication::applicationVersion()));
        QVERIFY(about->informativeText().contains("MIT"));
        QVERIFY(about->informativeText().contains(qVersion()));
        about->accept();
        QVERIFY(w->findChild<QAction*>("actionManual"));

        // A refused password is said on the sheet.
        PasswordController* passwords = w->passwordController();
        passwords->inputPassword([] {}, true);
        QVERIFY(shows(passwords->passwordSheet()));
        QVERIFY(passwords->refusedNote()->isVisible());
        passwords->clickCancelButton();
        passwords->inputPassword([] {});
        QVERIFY(shows(passwords->passwordSheet()));
        QVERIFY(!passwords->refusedNote()->isVisible());
        passwords->clickCancelButton();
    }

    // Pasting 5 rows into a document of 99 adds one and says so.
    void theLimitHoldsForPaste()
    {
        DocumentWindow* w = newWindow();
        BookmarkList many;
        for (int i = 0; i < 99; ++i)
            many << make(QString::number(i), i);
        w->document()->setBookmarkList(many);
        BookmarkList rows;
        for (int i = 0; i < 5; ++i)
            rows << make(QString("P%1").arg(i), 0);
        int other = 0; // rows of another table
        std::unique_ptr<QMimeData> data(BookmarkPasteboard::write(rows, {0, 1, 2, 3, 4}, &other));
        QVERIFY(w->bookmarkController()->paste(*data));
        QCOMPARE(w->document()->bookmarkList().size(), 100);
        QMessageBox* error = visibleBox(w, "errorAlert");
        QVERIFY(error);
        QVERIFY(error->informativeText().contains("4 bookmark(s) were left out"));
        error->accept();
        QVERIFY(!w->bookmarkController()->paste(*data));
        QCOMPARE(w->document()->bookmarkList().size(), 100);
    }

    void editingThroughTheWindow()
    {
        DocumentWindow* w = newWindow();
        w->ui()->addButton->click();
        QCoreApplication::processEvents();
        QCOMPARE(w->ui()->actionUndo->text(), QString("Undo Insert Bookmark"));
        QVERIFY(w->isWindowModified());
        w->ui()->actionUndo->trigger();
        QCOMPARE(w->ui()->actionRedo->text(), QString("Redo Insert Bookmark"));
        QVERIFY(!w->isWindowModified());
        w->ui()->actionRedo->trigger();
        QCOMPARE(w->document()->bookmarkList().size(), 1);

        // Selecting folder 3 shows its (empty) list; Add puts the new bookmark there.
        w->ui()->folderTable->selectRow(3);
        QCOMPARE(w->bookmarkController()->currentFolder(), 3);
        QCOMPARE(w->bookmarkController()->rowCount(), 0);
        w->ui()->addButton->click();
        QCOMPARE(w->document()->bookmarkList().first()->folder(), 3); // the start of the full list
        QCOMPARE(w->ui()->bookmarkTable->selectionModel()->selectedRows().size(), 1);

        // Renaming in place is an "Edit" step.
        const QModelIndex name = w->bookmarkController()->index(0, BookmarkController::NameColumn);
        QVERIFY(w->bookmarkController()->setData(name, "Renamed", Qt::EditRole));
        QCoreApplication::processEvents();
        QCOMPARE(w->ui()->actionUndo->text(), QString("Undo Edit"));
        w->ui()->renumberButton->click();
        QCoreApplication::processEvents();
        QCOMPARE(w->ui()->actionUndo->text(), QString("Undo Renumber"));

        // Save, then the title loses its mark; the file reopens with the same list.
        const QString path = m_dir.filePath("edited.edgemarks");
        QVERIFY(w->saveTo(path));
        QVERIFY(!w->isWindowModified());
        QCOMPARE(w->windowTitle(), QString("edited.edgemarks[*] — EdgeMarks"));
        QVERIFY(app()->recentFiles().contains(path));
        QCOMPARE(app()->openDocument(path), w); // already open: the same window
        w->close();
        QCoreApplication::processEvents();
        DocumentWindow* reopened = app()->openDocument(path);
        QVERIFY(reopened);
        QCOMPARE(reopened->document()->bookmarkList().size(), 2);
    }

    // QDrag::exec() waits for the platform's drag session, which the offscreen
    // platform does not run; the drop is driven through the view's own drag events
    // instead, as a real drag delivers them.
    void dropOntoTheBookmarkTable()
    {
        DocumentWindow* w = newWindow();
        w->document()->setBookmarkList({make("a", 0), make("b", 1), make("c", 2)});
        w->resize(800, 500);
        QTableView* table = w->ui()->bookmarkTable;
        QCoreApplication::processEvents();
        auto dropAt = [&](QMimeData* data, int row, Qt::DropAction action) {
            QVERIFY(dropAbove(table, data, row, action));
        };
        auto* link = new QMimeData;
        link->setText("http://dropped.example/");
        dropAt(link, 1, Qt::CopyAction);
        QCOMPARE(w->document()->bookmarkList().size(), 4);
        QCOMPARE(w->document()->bookmarkList()[1]->location(), QString("http://dropped.example/"));
        QCOMPARE(w->ui()->bookmarkTable->selectionModel()->selectedRows().first().row(), 1);
        delete link;

        // A row of the table dropped above another: reordered, nothing cleared.
        QMimeData* own = w->bookmarkController()->mimeData({w->bookmarkController()->index(3, 0)});
        dropAt(own, 0, Qt::MoveAction);
        delete own;
        QCOMPARE(names(w->document()->bookmarkList()), QString("c, a, untitled, b"));
    }

    // Reordering and adding change rows, never the whole table: the view keeps
    // where it was scrolled to, its current row and its selection.
    void rowChangesKeepTheViewInPlace()
    {
        DocumentWindow* w = newWindow();
        BookmarkList list;
        for (int i = 0; i < 90; ++i)
            list << make(QString::number(i), i, i % 3 == 2 ? 1 : 0); // folder 0 holds 60, among others
        w->document()->setBookmarkList(list);
        w->resize(800, 500);
        w->show();
        QTableView* table = w->ui()->bookmarkTable;
        BookmarkController* c = w->bookmarkController();
        QCoreApplication::processEvents();
        QCOMPARE(c->rowCount(), 60);
        table->scrollTo(c->index(30, 1), QAbstractItemView::PositionAtTop);
        table->setCurrentIndex(c->index(33, 1)); // where the drag starts
        const int scrolled = table->verticalScrollBar()->value();
        QVERIFY(scrolled > 0);
        const BookmarkPtr current = c->arrangedObject(33);
        QSignalSpy resets(c, &QAbstractItemModel::modelReset);
        QSignalSpy listResets(c->listModel(), &QAbstractItemModel::modelReset);
        QSignalSpy moves(c->listModel(), &QAbstractItemModel::rowsMoved);

        // Rows 31 and 33 dragged above row 36.
        QMimeData* own = c->mimeData({c->index(31, 0), c->index(33, 0)});
        QVERIFY(dropAbove(table, own, 36, Qt::MoveAction));
        delete own;
        QCOMPARE(names(c->arrangedObjects().mid(30, 6)), QString("45, 48, 51, 52, 46, 49"));
        QCOMPARE(moves.count(), 2);
        QCOMPARE(resets.count() + listResets.count(), 0);
        QCOMPARE(table->verticalScrollBar()->value(), scrolled);
        QCOMPARE(c->arrangedObject(table->currentIndex().row()), current);
        QCOMPARE(c->selectionIndexes(), (std::set<int>{34, 35}));

        w->ui()->actionUndo->trigger();
        QCOMPARE(names(c->arrangedObjects().mid(30, 6)), QString("45, 46, 48, 49, 51, 52"));
        QCOMPARE(moves.count(), 4);

        QSignalSpy inserts(c, &QAbstractItemModel::rowsInserted);
        w->ui()->addButton->click();
        QCOMPARE(inserts.count(), 1);
        QCOMPARE(resets.count() + listResets.count(), 0);
    }

    // Escape on an export to a handset that stopped answering ends it after a
    // short grace, well before the reply limit; the logout still goes out.
    void cancelAnExportOnASilentHandset()
    {
        // A cancel that waited for the reply limit would outlast idle().
        const auto restore = qScopeGuard([] { qputenv("EDGEMARKS_TIMEOUT", "5"); });
        qputenv("EDGEMARKS_TIMEOUT", "120");
        SimulatorFixture sim;
        SimulatedHandset::Faults faults;
        faults.silentAfter = 6;
        DocumentWindow* w = startAnExport(sim, faults);
        QVERIFY(QTest::qWaitFor([&] { return sim->receivedFrames().size() >= 7; }, 10000));
        QTest::keyClick(w->progressController()->sheet(), Qt::Key_Escape);
        QVERIFY(idle(w));
        QMessageBox* error = visibleBox(w, "errorAlert");
        QVERIFY(error && error->informativeText().startsWith("The transfer was cancelled."));
        sim.settle();
        QCOMPARE(sim->receivedFrames().last(), Logout);
    }

    // The findings sheet replaces what the handset cannot show, as one step.
    void replacingUnsupportedCharacters()
    {
        SimulatorFixture sim;
        DocumentWindow* w = activeWindow(windowWithPassword());
        w->document()->setBookmarkList({makeBookmark("天気予報 000 🍣", "http://example.jp/", 1, 0)});
        QTest::keyClick(w, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        auto* sheet = w->findChild<FindingsSheet*>("findingsSheet");
        QVERIFY(sheet && shows(sheet));
        QVERIFY(!sheet->geometry().contains(w->ui()->bookmarkTable->mapTo(w, QPoint(0, 0)) + w->geometry().topLeft()));
        QTest::mouseClick(sheet->replaceButton(), Qt::LeftButton);
        QCOMPARE(w->document()->bookmarkList().first()->bookmarkName(), QString("天気予報 000 ?"));
        click(visibleBox(w, "confirmationAlert"), "Cancel"); // nothing left to find: the export itself
        QVERIFY(idle(w));
        QTRY_COMPARE(w->ui()->actionUndo->text(), QString("Undo Replace Unsupported Characters"));
        activeWindow(w); // back in front after the progress sheet of the read
        QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w->document()->bookmarkList().first()->bookmarkName(), QString("天気予報 000 🍣"));
    }

    // F1 opens the manual inside the program, made from the manual pages.
    void theManualIsAtHand()
    {
        DocumentWindow* w = activeWindow(newWindow());
        QTest::keyClick(w, Qt::Key_F1);
        auto* help = qobject_cast<HelpWindow*>(QApplication::activeWindow());
        QVERIFY(QTest::qWaitFor([&] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->objectName() == "helpWindow" && top->isVisible())
                    help = static_cast<HelpWindow*>(top);
            return help != nullptr;
        }));
        QVERIFY(help->browser()->toPlainText().contains("SYNOPSIS"));
        QVERIFY(help->browser()->toPlainText().contains("Handset"));
        help->showPage("edgemarks-cli");
        QVERIFY(help->browser()->toPlainText().contains("check"));
        help->close();
    }

    // Smaller habits of a desktop program.
    void desktopHabits()
    {
        DocumentWindow* w = activeWindow(newWindow());
        // Every menu's mnemonics are its own.
        auto letters = [](const QList<QAction*>& actions) {
            QStringList seen;
            for (QAction* a : actions) {
                const qsizetype at = a->text().indexOf('&');
                if (!a->isSeparator() && at >= 0 && at + 1 < a->text().size())
                    seen << a->text().at(at + 1).toLower();
            }
            return seen;
        };
        QList<QList<QAction*>> groups{w->menuBar()->actions()};
        for (QAction* top : w->menuBar()->actions())
            groups << top->menu()->actions();
        for (const QList<QAction*>& group : groups) {
            const QStringList seen = letters(group);
            QCOMPARE(QSet<QString>(seen.begin(), seen.end()).size(), seen.size());
        }

        // Folder names are edited in place and come back with Undo.
        typeIntoCell(w->ui()->folderTable, w->ui()->folderTable->model()->index(1, 0), "News");
        QTRY_COMPARE(w->document()->folderList().at(1), QString("News"));
        QCOMPARE(w->ui()->actionUndo->text(), QString("Undo Rename Folder"));
        QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w->document()->folderList().at(1), QString("01"));

        // A refused memory number names the bookmark that has it.
        w->document()->setBookmarkList({make("Holder", 7), make("Other", 8)});
        QTableView* table = w->ui()->bookmarkTable;
        QCoreApplication::processEvents();
        typeIntoCell(table, w->bookmarkController()->index(1, BookmarkController::NumberColumn), "7");
        QMessageBox* refusal = visibleBox(w, "refusalAlert");
        QVERIFY(refusal && refusal->informativeText().contains("“Holder”"));
        refusal->accept();

        // A control that is off says why.
        BookmarkList many;
        for (int i = 0; i < 100; ++i)
            many << make(QString::number(i), i);
        w->document()->setBookmarkList(many);
        QVERIFY(!w->ui()->addButton->isEnabled());
        QVERIFY(w->ui()->addButton->toolTip().contains("100"));

        // The window's size comes back with the next one.
        w->resize(640, 420);
        w->close();
        QCOMPARE(newWindow()->size(), QSize(640, 420));

        // The protocol log is the user's alone.
        const QString log = m_dir.filePath("private.log");
        QVERIFY(app()->windows().first()->saveProtocolLog(log));
        QVERIFY(!(QFile::permissions(log) & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther)));
    }

    // Save As onto an existing name typed without its suffix asks first; a No
    // leaves the file as it was. Exported browser files get their suffix too.
    void savingAsksBeforeReplacingAFile()
    {
        const QString victim = m_dir.filePath("victim.edgemarks");
        QVERIFY(writeFile(victim, "precious"));
        DocumentWindow* w = activeWindow(newWindow());
        w->ui()->addButton->click();
        {
            ModalScript script({typeFileName(m_dir.filePath("victim")), pressButton("replaceAlert", "Cancel"),
                                pressKey("saveDialog", Qt::Key_Escape)});
            QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
            QVERIFY(script.done());
        }
        QCOMPARE(readFile(victim), QByteArray("precious"));
        QVERIFY(w->isWindowModified());
        {
            ModalScript script({typeFileName(m_dir.filePath("victim")), pressButton("replaceAlert", "Replace")});
            // The offscreen platform gives the focus back to no window after a dialog.
            QTest::keyClick(activeWindow(w), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
            QVERIFY(script.done());
        }
        QCOMPARE(w->filePath(), victim);
        QVERIFY(!w->isWindowModified());
        {
            ModalScript script({typeFileName(m_dir.filePath("links"))});
            w->ui()->actionExportBrowserBookmarks->trigger();
            QVERIFY(script.done());
        }
        QVERIFY(readFile(m_dir.filePath("links.html")).contains("untitled"));
    }

    // Ctrl+W on a changed document asks: Save writes it and closes, Don't Save
    // closes and leaves the file as it was, Cancel keeps the window and the
    // change. Revert (after its own question) reads the saved file back.
    void closingAChangedDocument_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("onDisk");
        QTest::newRow("Save") << "Save" << true << 2;
        QTest::newRow("Don't Save") << "Don't Save" << true << 1;
        QTest::newRow("Cancel") << "Cancel" << false << 1;
    }

    void closingAChangedDocument()
    {
        QFETCH(QString, answer);
        QFETCH(bool, closes);
        QFETCH(int, onDisk);
        const QString path = m_dir.filePath(QStringLiteral("close-%1.edgemarks").arg(QTest::currentDataTag()));
        MyDocument saved;
        saved.setBookmarkList({make("kept", 0)});
        QVERIFY(saved.writeToFile(path));
        QPointer<DocumentWindow> w = app()->openDocument(path);
        QVERIFY(w);
        activeWindow(w)->ui()->addButton->click();
        QTRY_VERIFY(w->isWindowModified());
        {
            ModalScript script({pressButton("saveChangesAlert", answer)});
            QTest::keyClick(w, Qt::Key_W, Qt::ControlModifier);
            QVERIFY(script.done());
        }
        QCOMPARE(!w || !w->isVisible(), closes); // the question is answered inside the close
        MyDocument read;
        QVERIFY(read.readFromFile(path));
        QCOMPARE(read.bookmarkList().size(), onDisk);
        if (closes)
            return;
        QCOMPARE(w->document()->bookmarkList().size(), 2);
        QVERIFY(w->isWindowModified());
        w->ui()->actionRevert->trigger();
        click(visibleBox(w, "revertAlert"), "Revert");
        QCOMPARE(describe(w->document()->bookmarkList()), describe(read.bookmarkList()));
        QVERIFY(!w->isWindowModified());
        QVERIFY(!w->ui()->actionRevert->isEnabled());
    }

    // Paste puts copies into the folder on screen, after the selection, with free
    // numbers, as one step; a drop from another document keeps folder and
    // number and the window goes to where they went.
    void pasteGoesWhereTheUserLooks()
    {
        DocumentWindow* w = activeWindow(newWindow());
        w->resize(800, 500);
        w->document()->setBookmarkList({make("A", 0), make("B", 1), make("C", 2, 5)});
        QTableView* table = w->ui()->bookmarkTable;
        QTableView* folders = w->ui()->folderTable;
        auto clickRow = [](QTableView* view, int row) {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                              view->visualRect(view->model()->index(row, view->model()->columnCount() - 1)).center());
        };
        QCoreApplication::processEvents();
        clickRow(table, 0);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        clickRow(folders, 5);
        clickRow(table, 0);
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        BookmarkController* c = w->bookmarkController();
        QCOMPARE(names(c->arrangedObjects()), QString("C, A"));
        QCOMPARE(c->arrangedObject(1)->number(), 3); // 0 is A's own
        QCOMPARE(c->selectionIndexes(), (std::set<int>{1}));
        QTRY_COMPARE(w->ui()->actionUndo->text(), QString("Undo Paste"));
        QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(names(w->document()->bookmarkList()), QString("A, B, C"));

        DocumentWindow* other = newWindow();
        other->document()->setBookmarkList({make("X", 40, 7)});
        other->ui()->folderTable->selectRow(7);
        std::unique_ptr<QMimeData> dragged(other->bookmarkController()->mimeData({other->bookmarkController()->index(0, 0)}));
        QVERIFY(dropAbove(table, dragged.get(), 0, Qt::CopyAction));
        QTRY_COMPARE(c->currentFolder(), 7);
        QCOMPARE(names(c->arrangedObjects()), QString("X"));
        QCOMPARE(c->arrangedObject(0)->number(), 40);
        QCOMPARE(c->selectionIndexes(), (std::set<int>{0}));
    }

    // A handset import is confirmed once, also with the password sheet in
    // between, and is one step that Undo takes back.
    void importIsConfirmedOnceAndUndone()
    {
        SimulatorFixture sim;
        sim->loadSampleContent();
        DocumentWindow* w = activeWindow(newWindow());
        const BookmarkList kept{make("kept", 50)};
        w->document()->setBookmarkList(kept);
        QTest::keyClick(w, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        click(visibleBox(w, "confirmationAlert"), "Import");
        PasswordController* passwords = w->passwordController();
        QVERIFY(shows(passwords->passwordSheet()));
        QTest::keyClicks(passwords->passwordField(), "1234");
        QTest::keyClick(passwords->passwordField(), Qt::Key_Return);
        QVERIFY(idle(w));
        QVERIFY(!boxNow(w, "confirmationAlert"));
        QCOMPARE(w->document()->bookmarkList().size(), 6);
        QVERIFY(w->isWindowModified());
        QCOMPARE(w->ui()->actionUndo->text(), QString("Undo Import from AIR-EDGE PHONE"));
        QTest::keyClick(activeWindow(w), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(w->document()->bookmarkList() == kept);
        QVERIFY(!w->isWindowModified());
    }

    // Saving, exporting browser bookmarks or the protocol log on a disk that
    // refuses the file: the alert says why, the old file stays as it was, no
    // temporary file is left and the document stays marked as changed.
    void aFailedWriteKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("fault");
        for (const char* name : {"doc.edgemarks", "doc.html", "protocol.log", "settings"})
            for (int f = 0; f < int(std::size(FaultCases)); ++f)
                QTest::addRow("%s, %s", name, FaultCases[f].name) << QString(name) << f;
    }

    void aFailedWriteKeepsTheOldFile()
    {
        QFETCH(QString, name);
        QFETCH(int, fault);
        const FaultCase& c = FaultCases[fault];
        QTemporaryDir dir;
        const QString document = dir.filePath("doc.edgemarks");
        MyDocument saved;
        saved.setBookmarkList({make("Kept", 0)});
        QVERIFY(saved.writeToFile(document));
        DocumentWindow* w = app()->openDocument(document);
        QVERIFY(w);
        const bool settings = name == "settings";
        const QString file = settings ? app()->settings().path() : dir.filePath(name);
        name = QFileInfo(file).fileName();
        if (file != document && !settings) // the settings name the document already
            QVERIFY(writeFile(file, "the old version"));
        const QByteArray old = readFile(file);
        w->document()->addBookmarks({make("New", 1)}, w->document()->folderList(), "Add");
        testLog()->step(ProtocolLog::Kind::Note, "a line to save");
        const qint64 size =
            name == "doc.html"
                ? BrowserBookmarks::write(w->document()->bookmarkList(), w->document()->folderList()).size()
            : name == "protocol.log" ? testLog()->toText().toUtf8().size()
                                     : old.size();
        {
            WriteFault disk(QFileInfo(file).path(), roomFor(c, size), c.syncFails);
            if (name == "doc.edgemarks")
                w->ui()->actionSave->trigger();
            else if (name == "doc.html")
                QVERIFY(!w->exportBrowserBookmarks(file));
            else if (!settings)
                QVERIFY(!w->saveProtocolLog(file));
            else {
                // The document is saved; the recent files that name it are not,
                // which the window says once, not at every later change.
                QVERIFY(w->saveTo(dir.filePath("other.edgemarks")));
                QVERIFY(w->statusBar()->currentMessage().endsWith(name + " was not saved; the old version is kept."));
                w->statusBar()->clearMessage();
                QVERIFY(w->saveTo(dir.filePath("third.edgemarks")));
                QCOMPARE(w->statusBar()->currentMessage(), QString());
                QCOMPARE(readFile(file), old);
                QCOMPARE(QDir(QFileInfo(file).path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
                return;
            }
        }
        QMessageBox* error = visibleBox(w, "errorAlert");
        QVERIFY(error &&
                error->informativeText().endsWith(name + " was not saved; the old version is kept."));
        error->accept();
        QVERIFY(w->document()->isModified());
        QCOMPARE(readFile(file), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), file == document ? 1 : 2);
    }

    // One window for a document however it is reached: a symbolic or a hard link.
    void oneWindowPerDocument()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("doc.edgemarks");
        QVERIFY(MyDocument().writeToFile(file));
        QVERIFY(QFile::link(file, dir.filePath("symbolic.edgemarks")));
        QVERIFY(::link(QFile::encodeName(file).constData(), QFile::encodeName(dir.filePath("hard.edgemarks")).constData()) == 0);
        DocumentWindow* w = app()->openDocument(file);
        QVERIFY(w);
        QCOMPARE(app()->openDocument(dir.filePath("symbolic.edgemarks")), w);
        QCOMPARE(app()->openDocument(dir.filePath("hard.edgemarks")), w);
        QCOMPARE(app()->openDocument(dir.path() + "/./doc.edgemarks"), w);
    }

    // Files that are not what their names say, opened in the editor: no window,
    // an alert that says why, memory within what the file's size allows.
    void craftedInputsOpen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("says");
        QTest::addColumn<qint64>("size");
        for (const CraftedInput& input : allCraftedInputs())
            if (QByteArray(input.name).endsWith(".edgemarks"))
                QTest::newRow(input.name) << input.name << input.says << input.size;
    }

    void craftedInputsOpen()
    {
        QFETCH(QString, name);
        QFETCH(QString, says);
        QFETCH(qint64, size);
        const QString folder = craftedInputsFolder();
        QVERIFY(!folder.isEmpty());
        PeakMemory peak;
        QVERIFY(!app()->openDocument(QDir(folder).filePath(name)));
        const qint64 rise = peak.rise();
        QMessageBox* alert = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(top); box && box->objectName() == "openErrorAlert")
                alert = box;
        QVERIFY(alert);
        QVERIFY2(alert->informativeText().contains(says), qPrintable(alert->informativeText()));
        alert->close();
        if (peak.valid())
            QVERIFY2(rise < memoryBoundFor(std::min<qint64>(size, MyDocument::MaxDocumentFileSize)),
                     qPrintable(QString::number(rise)));
    }

    // The largest clipboard a paste takes, one record named millions of times,
    // pasted and dropped: what fits comes in, the rest is counted, and only what
    // fits is built.
    void aHugeClipboard()
    {
        DocumentWindow* w = newWindow();
        w->resize(800, 500);
        QCoreApplication::processEvents();
        const QByteArray rows = repeatedRecordDocument(BookmarkPasteboard::MaxCopiedRowsBytes - (64 << 10), true);
        QVERIFY(rows.size() <= BookmarkPasteboard::MaxCopiedRowsBytes);
        auto data = std::make_unique<QMimeData>();
        data->setData(BookmarkPasteboard::CopiedRowsType, rows);
        {
            PeakMemory peak;
            QVERIFY(w->bookmarkController()->paste(*data));
            if (peak.valid())
                QVERIFY2(peak.rise() < memoryBoundFor(rows.size()), qPrintable(QString::number(peak.rise())));
        }
        QCOMPARE(w->document()->bookmarkList().size(), MyDocument::MaxBookmarks);
        QMessageBox* error = visibleBox(w, "errorAlert");
        QVERIFY(error && error->informativeText().contains("were left out"));
        error->accept();
        w->document()->setBookmarkList({make("a", 0)});
        QCoreApplication::processEvents();
        {
            PeakMemory peak;
            QVERIFY(dropAbove(w->ui()->bookmarkTable, data.get(), 0, Qt::CopyAction));
            if (peak.valid())
                QVERIFY2(peak.rise() < memoryBoundFor(rows.size()), qPrintable(QString::number(peak.rise())));
        }
        QCOMPARE(w->document()->bookmarkList().size(), MyDocument::MaxBookmarks);
    }

    void badFileMakesNoWindow()
    {
        QFile junk(m_dir.filePath("junk.edgemarks"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("junk");
        junk.close();
        const int before = int(app()->windows().size());
        QVERIFY(!app()->openDocument(junk.fileName()));
        QCOMPARE(int(app()->windows().size()), before);
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(top); box && box->objectName() == "openErrorAlert")
                box->close();
    }

    // Without the driver the editor opens, edits and saves documents; the handset
    // commands say what is missing; Quit still asks about unsaved changes.
    void withoutTheDriverDocumentsStillWork()
    {
        const auto restore = qScopeGuard(
            [saved = qgetenv("EDGEMARKS_DRIVER_BUNDLE")] { qputenv("EDGEMARKS_DRIVER_BUNDLE", saved); });
        qputenv("EDGEMARKS_DRIVER_BUNDLE", QFile::encodeName(m_dir.filePath("no-driver.kext")));
        const QString path = m_dir.filePath("no-driver.edgemarks");
        MyDocument original;
        original.setBookmarkList({make("kept", 1)});
        QVERIFY(original.writeToFile(path));
        DocumentWindow* w = activeWindow(app()->openDocument(path));
        QVERIFY(w);
        QVERIFY(w->findChild<QLabel*>("handsetStatus")->text().contains("No driver"));
        QTest::keyClick(w, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier); // Add
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
        MyDocument reread;
        QVERIFY(reread.readFromFile(path));
        QCOMPARE(reread.bookmarkList().size(), 2);

        QTest::keyClick(w, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier); // Import
        QMessageBox* error = visibleBox(w, "errorAlert");
        QVERIFY(error);
        QCOMPARE(error->text(), QString("Couldn't import the bookmarks."));
        QVERIFY(error->informativeText().contains("wasn't found"));
        click(error, "OK");
        w->ui()->actionTestConnection->trigger();
        error = visibleBox(w, "errorAlert");
        QVERIFY(error && error->text().contains("at the driver"));
        click(error, "OK");

        w->ui()->addButton->click();
        {
            ModalScript script({pressButton("saveChangesAlert", "Cancel")});
            QTest::keyClick(w, Qt::Key_Q, Qt::ControlModifier);
            QVERIFY(script.done());
        }
        QVERIFY(w->isVisible());
        QCOMPARE(m_terminated, -1);
    }

    // Handset > Test Connection says which step failed: the port, the top screen.
    void testConnectionNamesTheStep()
    {
        qputenv("EDGEMARKS_DEVICE", QFile::encodeName(m_dir.filePath("nothing-here")));
        DocumentWindow* w = newWindow();
        w->ui()->actionTestConnection->trigger();
        QMessageBox* box = visibleBox(w, "errorAlert");
        QVERIFY(box && box->text().contains("at the port"));
        click(box, "OK");
        QVERIFY(idle(w));

        SimulatorFixture sim;
        app()->chooseDevice(sim.devicePath()); // Handset > Device
        SimulatedHandset::Faults faults;
        faults.probesAnsweredNG = -1;
        sim->setFaults(faults);
        w->ui()->actionTestConnection->trigger();
        box = visibleBox(w, "errorAlert");
        QVERIFY(box && box->text().contains("at the top screen"));
        QVERIFY(box->informativeText().contains("wasn't the top screen"));
        click(box, "OK");
        QVERIFY(idle(w));

        sim->setFaults({});
        w->ui()->actionTestConnection->trigger();
        box = visibleBox(w, "noteAlert");
        QVERIFY(box && box->informativeText().contains(sim.devicePath()));
        click(box, "OK");
    }

    // --help and --version need no display.
    void helpWithoutADisplay()
    {
        for (const char* option : {"--help", "--version"}) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
                env.remove(name);
            p.setProcessEnvironment(env);
            p.start(qEnvironmentVariable("EDGEMARKS", QStringLiteral(EDGEMARKS)), {option});
            QVERIFY(p.waitForFinished(60000));
            QCOMPARE(p.exitStatus(), QProcess::NormalExit);
            QCOMPARE(p.exitCode(), 0);
            QVERIFY(p.readAllStandardOutput().contains(option == QByteArray("--help") ? "--simulator" : "EdgeMarks"));
        }
    }
};

QTEST_MAIN(TestDocumentWindow)
#include "tst_documentwindow.moc"
