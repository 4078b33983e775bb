#include "app/DocumentWindow.h"

#include "commands/BookmarkImportPlan.h"
#include "controllers/BookmarkController.h"
#include "document/BrowserBookmarks.h"
#include "handset/DriverCheck.h"
#include "sheets/Alert.h"
#include "sheets/BrowserImportSheet.h"
#include "app/BackupActions.h"
#include "app/EdgeMarksApp.h"
#include "commands/HandsetJobs.h"
#include "sheets/FindingsSheet.h"
#include "controllers/FolderController.h"
#include "handset/HandsetDevices.h"
#include "document/MyDocument.h"
#include "sheets/PasswordController.h"
#include "sheets/ProgressController.h"
#include "handset/ProtocolLog.h"
#include "handset/VedORovav.h"
#include "simulator/SimulatedHandset.h"
#include "io/AtomicFile.h"
#include "ui_MyDocument.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <sys/stat.h>

namespace
{

// Shows why a control is off in its tool tip, and its own tip while it is on.
void explainState(QObject* control, bool enabled, const QString& whyNot)
{
    const char* own = "edgemarksToolTip";
    if (!control->property(own).isValid())
        control->setProperty(own, control->property("toolTip"));
    control->setProperty("enabled", enabled);
    control->setProperty("toolTip", enabled ? control->property(own).toString() : whyNot);
}
} // namespace

DocumentWindow::DocumentWindow(EdgeMarksApp* app, std::unique_ptr<MyDocument> document, const QString& path,
                               const QString& untitledName)
    : m_app(app), m_ui(std::make_unique<Ui::MyDocument>()), m_document(std::move(document)), m_path(path),
      m_untitledName(untitledName)
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_ui->setupUi(this);
    restoreGeometry(app->settings().bytes(GeometryKey));
    m_bookmarks = new BookmarkController(m_document.get(), this);
    m_folders = new FolderController(m_document.get(), m_bookmarks, this);
    m_progress = std::make_unique<ProgressController>(this);
    m_passwords = std::make_unique<PasswordController>(this, app->keychain());
    m_commands = new DocumentCommands(m_document.get(), this, m_passwords.get(), m_progress.get(), this,
                                      [app = QPointer<EdgeMarksApp>(app)] {
                                          // The files window may outlive the program's object at exit.
                                          return app ? app->linkSettings() : LinkSettings();
                                      });
    m_backups = new BackupActions(this, m_passwords.get(), m_progress.get(), m_commands);
    m_progress->setCancelHandler([this] {
        m_commands->cancel();
        m_backups->jobs()->cancel();
    });
    connect(m_commands, &DocumentCommands::busyChanged, this, &DocumentWindow::setBusy);
    connect(m_backups->jobs(), &HandsetJobs::busyChanged, this, &DocumentWindow::setBusy);

    setupTables();
    setupActions();
    connect(m_document->undoManager(), &UndoManager::historyChanged, this, [this] {
        updateTitle();
        updateActions();
    });
    connect(m_document.get(), &MyDocument::commitEditingRequested, this, [this] {
        // A value still being typed reaches the document before it is saved: moving
        // the current index away commits the open editor.
        QItemSelectionModel* selection = m_ui->bookmarkTable->selectionModel();
        const QModelIndex current = selection->currentIndex();
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    });
    m_handsetStatus = new QLabel(this);
    m_handsetStatus->setObjectName(QStringLiteral("handsetStatus"));
    statusBar()->addPermanentWidget(m_handsetStatus);
    connect(app, &EdgeMarksApp::handsetPortsChanged, this, &DocumentWindow::updateHandsetStatus);
    updateHandsetStatus(QString());
    updateTitle();
    updateActions();
}

DocumentWindow::~DocumentWindow()
{
    m_app->settings().setBytes(HeaderStateKey, m_ui->bookmarkTable->horizontalHeader()->saveState());
}

void DocumentWindow::hideEvent(QHideEvent* event)
{
    // The size and place the user gave the window come back with the next one.
    if (!isMinimized())
        m_app->settings().setBytes(GeometryKey, saveGeometry());
    QMainWindow::hideEvent(event);
}

QString DocumentWindow::displayName() const
{
    return m_path.isEmpty() ? m_untitledName : QFileInfo(m_path).fileName();
}

void DocumentWindow::setupTables()
{
    QTableView* folders = m_ui->folderTable;
    folders->setModel(m_folders);
    folders->verticalHeader()->hide();
    folders->verticalHeader()->setDefaultSectionSize(folders->fontMetrics().height() + 8);
    folders->horizontalHeader()->setStretchLastSection(true);
    folders->selectRow(0);
    connect(folders->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                m_folders->setSelectionIndex(current.isValid() ? current.row() : -1);
            });
    connect(m_folders, &QAbstractItemModel::modelReset, folders, [this, folders] {
        folders->selectRow(std::max(0, std::min(m_bookmarks->currentFolder(), m_folders->rowCount() - 1)));
    });

    QTableView* table = m_ui->bookmarkTable;
    table->setModel(m_bookmarks);
    // The table shows the controller's own selection.
    QItemSelectionModel* own = table->selectionModel();
    table->setSelectionModel(m_bookmarks->selectionModel());
    delete own;
    table->installEventFilter(this);
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::SelectedClicked);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    QHeaderView* header = table->horizontalHeader();
    header->setSectionsMovable(true);
    header->setStretchLastSection(true);
    header->resizeSection(BookmarkController::NumberColumn, 48);
    header->resizeSection(BookmarkController::NameColumn, 220);
    header->restoreState(m_app->settings().bytes(HeaderStateKey));
    m_ui->splitter->setStretchFactor(0, 0);
    m_ui->splitter->setStretchFactor(1, 1);
    m_ui->splitter->setSizes({150, 700});

    // Rows are dragged to reorder them, onto folder rows, into other windows and out
    // to other applications; links are dropped in. The view never clears or removes
    // dragged rows itself: the model moves them.
    table->setDragEnabled(true);
    table->setAcceptDrops(true);
    table->setDropIndicatorShown(true);
    table->setDragDropMode(QAbstractItemView::DragDrop);
    table->setDragDropOverwriteMode(false);
    table->setDefaultDropAction(Qt::MoveAction);
    folders->setAcceptDrops(true);
    folders->setDropIndicatorShown(true);
    folders->setDragDropMode(QAbstractItemView::DropOnly);

    connect(m_bookmarks, &BookmarkController::availabilityChanged, this, [this] { updateActions(); });
    // After the drop has ended in the view: the folder the bookmarks went to,
    // with them selected.
    connect(m_bookmarks, &BookmarkController::revealRequested, this, [this](const BookmarkList& arrived) {
        QTimer::singleShot(0, this, [this, arrived] {
            const int folder = arrived.constFirst()->folder();
            if (folder < 0 || folder >= m_folders->rowCount())
                return;
            m_ui->folderTable->selectRow(folder);
            std::set<int> rows;
            for (const BookmarkPtr& b : arrived)
                if (b->folder() == folder)
                    rows.insert(m_bookmarks->arrangedIndexOf(b.get()));
            m_bookmarks->setSelectionIndexes(rows);
            if (!rows.empty())
                m_ui->bookmarkTable->scrollTo(m_bookmarks->index(*rows.begin(), BookmarkController::NameColumn));
            showStatus(tr("%n bookmark(s) went to folder \"%1\".", nullptr, int(arrived.size()))
                           .arg(m_document->folderList().value(folder)));
        });
    });
    connect(m_bookmarks, &BookmarkController::limitReached, this,
            [this](const QString& message) { showError(tr("Not every bookmark was added."), message); });
    connect(m_bookmarks, &BookmarkController::entryRefused, this, [this](const QString& error) {
        if (!error.isEmpty())
            Alert::tell(this, QMessageBox::Warning, "refusalAlert", tr("The memory number was not changed."),
                        error);
    });
}

void DocumentWindow::setupShortcuts()
{
    Ui::MyDocument& ui = *m_ui;
    ui.actionNew->setShortcut(QKeySequence::New);
    ui.actionOpen->setShortcut(QKeySequence::Open);
    ui.actionSave->setShortcut(QKeySequence::Save);
    // Keys that some desktops leave without a binding get the usual ones.
    auto standardOr = [](QKeySequence::StandardKey key, const char* usual) {
        const QList<QKeySequence> bound = QKeySequence::keyBindings(key);
        return bound.isEmpty() ? QList<QKeySequence>{QKeySequence(QLatin1String(usual))} : bound;
    };
    ui.actionSaveAs->setShortcuts(standardOr(QKeySequence::SaveAs, "Ctrl+Shift+S"));
    ui.actionClose->setShortcuts(QKeySequence::Close); // every binding: Ctrl+W also where Ctrl+F4 comes first
    ui.actionQuit->setShortcuts(standardOr(QKeySequence::Quit, "Ctrl+Q"));
    ui.actionUndo->setShortcut(QKeySequence::Undo);
    ui.actionRedo->setShortcuts(standardOr(QKeySequence::Redo, "Ctrl+Shift+Z"));
    ui.actionCut->setShortcut(QKeySequence::Cut);
    ui.actionCopy->setShortcut(QKeySequence::Copy);
    ui.actionPaste->setShortcut(QKeySequence::Paste);
    ui.actionDelete->setShortcut(QKeySequence::Delete);
    ui.actionSelectAll->setShortcut(QKeySequence::SelectAll);
    ui.actionDelete->setShortcuts({QKeySequence::Delete, QKeySequence(Qt::Key_Backspace)});
    // The bookmark commands' keys work in the bookmark table (a cell being edited
    // keeps its own text keys) as well as through the menus.
    for (QAction* a : {ui.actionDelete, ui.actionSelectAll, ui.actionCut, ui.actionCopy, ui.actionPaste}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        ui.bookmarkTable->addAction(a);
    }
}

void DocumentWindow::setupActions()
{
    setupShortcuts();
    Ui::MyDocument& ui = *m_ui;
    connect(ui.actionNew, &QAction::triggered, m_app, [this] { m_app->newDocument(); });
    connect(ui.actionOpen, &QAction::triggered, m_app, [this] { m_app->openWithDialog(this); });
    connect(ui.actionSave, &QAction::triggered, this, &DocumentWindow::save);
    connect(ui.actionSaveAs, &QAction::triggered, this, &DocumentWindow::saveAs);
    connect(ui.actionRevert, &QAction::triggered, this, &DocumentWindow::revert);
    connect(ui.actionClose, &QAction::triggered, this, &QWidget::close);
    connect(ui.actionQuit, &QAction::triggered, m_app, &EdgeMarksApp::quit);
    connect(ui.actionUndo, &QAction::triggered, this, [this] { m_document->undoManager()->undo(); });
    connect(ui.actionRedo, &QAction::triggered, this, [this] { m_document->undoManager()->redo(); });
    connect(ui.actionDelete, &QAction::triggered, this, &DocumentWindow::deleteSelection);
    connect(ui.actionSelectAll, &QAction::triggered, ui.bookmarkTable, &QTableView::selectAll);
    // A new bookmark opens its name for editing.
    connect(ui.actionAdd, &QAction::triggered, this, [this] {
        if (m_bookmarks->canAdd()) {
            m_bookmarks->add();
            editNewBookmark();
        }
    });
    connect(ui.actionInsert, &QAction::triggered, this, [this] {
        if (m_bookmarks->canInsert()) {
            m_bookmarks->insert();
            editNewBookmark();
        }
    });
    connect(ui.actionRenumber, &QAction::triggered, m_document.get(), &MyDocument::renumberBookmarks);
    connect(ui.actionCopy, &QAction::triggered, this, &DocumentWindow::copySelection);
    connect(ui.actionCut, &QAction::triggered, this, [this] {
        copySelection();
        m_bookmarks->cutSelection();
    });
    connect(ui.actionPaste, &QAction::triggered, this, [this] {
        if (const QMimeData* data = QGuiApplication::clipboard()->mimeData())
            m_bookmarks->paste(*data);
    });

    connect(ui.addButton, &QPushButton::clicked, ui.actionAdd, &QAction::trigger);
    connect(ui.insertButton, &QPushButton::clicked, ui.actionInsert, &QAction::trigger);
    connect(ui.deleteButton, &QPushButton::clicked, ui.actionDelete, &QAction::trigger);
    connect(ui.renumberButton, &QPushButton::clicked, ui.actionRenumber, &QAction::trigger);
    connect(ui.importButton, &QPushButton::clicked, ui.actionImport, &QAction::trigger);
    connect(ui.exportButton, &QPushButton::clicked, ui.actionExport, &QAction::trigger);
    setupHandsetActions();
    setupRecentFiles();
    setupHelpMenu();
}

void DocumentWindow::setupHandsetActions()
{
    Ui::MyDocument& ui = *m_ui;
    // Listed when opened: listing asks udev for every port.
    connect(ui.menuDevice, &QMenu::aboutToShow, this, &DocumentWindow::rebuildDeviceMenu);
    connect(ui.actionSaveProtocolLog, &QAction::triggered, this, [this] {
        const QString path = askSavePath(tr("Save Protocol Log"), QStringLiteral("edgemarks-protocol.log"),
                                          tr("Logs (*.log *.txt);;All files (*)"), QStringLiteral("log"));
        if (!path.isEmpty())
            saveProtocolLog(path);
    });
    connect(ui.actionImportBrowserBookmarks, &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, tr("Import Browser Bookmarks"), QString(),
                                                          tr("Bookmark files (*.html *.htm);;All files (*)"));
        if (!path.isEmpty())
            importBrowserBookmarks(path);
    });
    connect(ui.actionExportBrowserBookmarks, &QAction::triggered, this, [this] {
        const QString name = QFileInfo(displayName()).completeBaseName() + QStringLiteral(".html");
        const QString path = askSavePath(tr("Export Browser Bookmarks"), name,
                                          tr("Bookmark files (*.html *.htm)"), QStringLiteral("html"));
        if (!path.isEmpty())
            exportBrowserBookmarks(path);
    });
    connect(ui.actionTestConnection, &QAction::triggered, m_commands, &DocumentCommands::testConnection);
    // The handset's files and backups, after the bookmark transfers.
    auto addHandsetAction = [&](const QString& text, const char* name, auto slot) {
        auto* a = new QAction(text, this);
        a->setObjectName(QLatin1String(name));
        ui.menuHandset->insertAction(ui.actionSaveProtocolLog, a);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    ui.menuHandset->insertSeparator(ui.actionSaveProtocolLog);
    addHandsetAction(tr("Files..."), "actionFiles", [this] { m_app->showHandsetFiles(); });
    addHandsetAction(tr("Back Up..."), "actionBackUp", [this] { m_backups->backUp(); });
    addHandsetAction(tr("Restore..."), "actionRestore", [this] { m_backups->restore(); });
    addHandsetAction(tr("Restore Previous Bookmarks..."), "actionRestorePrevious",
                     [this] { m_backups->restorePrevious(); });
    ui.menuHandset->insertSeparator(ui.actionSaveProtocolLog);
    connect(ui.actionImport, &QAction::triggered, m_commands, &DocumentCommands::importBookmarkList);
    connect(ui.actionExport, &QAction::triggered, m_commands, &DocumentCommands::exportBookmarkList);
}

void DocumentWindow::setupRecentFiles()
{
    auto rebuildRecent = [this] {
        QMenu* menu = m_ui->menuOpenRecent;
        menu->clear();
        for (const QString& file : m_app->recentFiles())
            menu->addAction(QFileInfo(file).fileName(), this,
                            [this, file] { m_app->openDocument(file, this); })
                ->setToolTip(file);
        if (!menu->isEmpty())
            menu->addSeparator();
        menu->addAction(tr("Clear Menu"), m_app, &EdgeMarksApp::clearRecentFiles)
            ->setEnabled(!menu->isEmpty());
    };
    rebuildRecent();
    connect(m_app, &EdgeMarksApp::recentFilesChanged, this, rebuildRecent);
}

void DocumentWindow::setupHelpMenu()
{
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("menuHelp"));
    QAction* manual = help->addAction(tr("EdgeMarks &Manual"), this, [this] { m_app->showManual(); });
    manual->setObjectName(QStringLiteral("actionManual"));
    manual->setShortcut(QKeySequence::HelpContents);
    QAction* about = help->addAction(tr("&About EdgeMarks"), this, &DocumentWindow::showAbout);
    about->setObjectName(QStringLiteral("actionAbout"));
    about->setMenuRole(QAction::AboutRole);
}

void DocumentWindow::showAbout()
{
    auto* box = new QMessageBox(QMessageBox::NoIcon, tr("About EdgeMarks"),
                                tr("<h3>EdgeMarks %1</h3>").arg(QCoreApplication::applicationVersion()),
                                QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("aboutBox"));
    box->setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
    box->setInformativeText(
        tr("<p>The bookmark editor for the AH-K3001V handset (\"AIR-EDGE PHONE\").</p>"
           "<p>Released under the MIT licence. Built with Qt %1, running on Qt %2.</p>"
           "<p>The manual: Help &gt; EdgeMarks Manual (F1), or <tt>man&nbsp;edgemarks</tt>, "
           "<tt>man&nbsp;edgemarks-cli</tt>.</p>")
            .arg(QLatin1String(QT_VERSION_STR), QLatin1String(qVersion())));
    // Wide enough that the commands of the manual stay on one line.
    if (auto* informative = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        informative->setMinimumWidth(400);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

// Enter opens the current cell for editing (F2 and a double click do already).
bool DocumentWindow::eventFilter(QObject* watched, QEvent* event)
{
    QTableView* table = m_ui->bookmarkTable;
    // Only keys meant for the table itself: an Enter that an open editor passes on
    // to its parents is the editor's.
    if (watched == table && event->type() == QEvent::KeyPress && QApplication::focusWidget() == table) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && table->currentIndex().isValid()) {
            table->edit(table->currentIndex());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void DocumentWindow::editNewBookmark()
{
    const int row = m_bookmarks->selectionIndex();
    if (row < 0)
        return;
    const QModelIndex name = m_bookmarks->index(row, BookmarkController::NameColumn);
    m_ui->bookmarkTable->setCurrentIndex(name);
    m_ui->bookmarkTable->edit(name);
}

void DocumentWindow::rebuildDeviceMenu()
{
    QMenu* menu = m_ui->menuDevice;
    menu->clear();
    qDeleteAll(menu->findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly));
    auto* group = new QActionGroup(menu);
    const QString chosen = m_app->chosenDevice();
    const QString started = m_app->startedDevice();
    auto addChoice = [&](const QString& text, const QString& path, bool checked) {
        QAction* a = menu->addAction(text, this, [this, path] { m_app->chooseDevice(path); });
        a->setCheckable(true);
        a->setChecked(checked);
        a->setData(path);
        group->addAction(a);
        return a;
    };
    const bool simulated = m_app->simulator() && started == m_app->simulator()->devicePath();
    addChoice(started.isEmpty() ? tr("Find Automatically")
              : simulated       ? tr("The Simulated AIR-EDGE PHONE")
                                : tr("As Started (%1)").arg(started),
              QString(), chosen.isEmpty())
        ->setObjectName(QStringLiteral("automaticDevice"));
    const QList<HandsetPort> ports = HandsetDevices::candidates();
    if (!ports.isEmpty())
        menu->addSeparator();
    bool listed = chosen.isEmpty();
    for (const HandsetPort& port : ports) {
        QString text = port.path;
        if (!port.product.isEmpty())
            text += QStringLiteral(" — ") + port.product;
        text += QStringLiteral(" (%1)").arg(port.usbId);
        if (!port.accessible)
            text += QLatin1Char(' ') + tr("(no permission)");
        const bool checked = chosen == port.path || chosen == port.stableLink;
        listed |= checked;
        addChoice(text, port.preferredPath(), checked);
    }
    if (!listed)
        addChoice(chosen, chosen, true);
    menu->addSeparator();
    menu->addAction(tr("Other..."), this, &DocumentWindow::askForOtherDevice)
        ->setObjectName(QStringLiteral("otherDevice"));
}

void DocumentWindow::askForOtherDevice()
{
    auto* dialog = new QInputDialog(this);
    dialog->setObjectName(QStringLiteral("otherDeviceDialog"));
    dialog->setWindowTitle(tr("Other Device"));
    dialog->setLabelText(tr("The serial device of the AIR-EDGE PHONE:"));
    const QString chosen = m_app->chosenDevice();
    dialog->setTextValue(chosen.isEmpty() ? QStringLiteral("/dev/ttyACM0") : chosen);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QInputDialog::textValueSelected, this, [this](const QString& text) {
        if (!text.trimmed().isEmpty())
            m_app->chooseDevice(text.trimmed());
    });
    dialog->open();
}

void DocumentWindow::updateHandsetStatus(const QString& message)
{
    m_handsetStatus->setText(m_app->handsetStatus());
    if (!message.isEmpty())
        statusBar()->showMessage(message, 10000);
}

bool DocumentWindow::saveProtocolLog(const QString& path)
{
    // Only the user may read the log: it shows what the handset holds.
    QString error;
    if (!AtomicFile::writeAll(path, m_app->protocolLog().toText().toUtf8(), &error,
                              AtomicFile::Access::Private)) {
        showError(tr("The protocol log could not be saved."), error);
        return false;
    }
    statusBar()->showMessage(tr("Saved the protocol log to %1.").arg(path), 10000);
    return true;
}

bool DocumentWindow::importBrowserBookmarks(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    QString error;
    std::optional<BrowserBookmarks> bookmarks = BrowserBookmarks::readFile(path, &error);
    if (!bookmarks) {
        showError(tr("The bookmark file \"%1\" could not be read.").arg(name), error);
        return false;
    }
    auto* sheet = new BrowserImportSheet(this, std::move(*bookmarks), m_document->bookmarkList(),
                                         m_document->folderList(), m_bookmarks->currentFolder());
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &QDialog::accepted, this, [this, sheet] {
        const BookmarkImportPlan& plan = sheet->plan();
        m_document->addBookmarks(plan.added, plan.folderNames, tr("Import Bookmarks"));
        QString status = tr("Imported %n bookmark(s).", nullptr, int(plan.added.size()));
        if (plan.leftOut > 0)
            status += QLatin1Char(' ') + MyDocument::leftOutText(plan.leftOut);
        showStatus(status);
    });
    sheet->open();
    return true;
}

bool DocumentWindow::exportBrowserBookmarks(const QString& path)
{
    emit m_document->commitEditingRequested();
    QString error;
    if (!AtomicFile::writeAll(path, BrowserBookmarks::write(m_document->bookmarkList(), m_document->folderList()),
                              &error)) {
        showError(tr("The bookmark file \"%1\" could not be written.").arg(QFileInfo(path).fileName()), error);
        return false;
    }
    showStatus(tr("Exported %n bookmark(s) to %1.", nullptr, int(m_document->bookmarkList().size()))
                   .arg(QFileInfo(path).fileName()));
    return true;
}

void DocumentWindow::showFindings(const QStringList& findings, const QList<int>& indexes, bool mayProceed,
                                  bool mayReplace, std::function<void(FindingsAnswer)> done)
{
    auto* sheet = new FindingsSheet(this, findings, indexes, mayProceed, mayReplace);
    connect(sheet, &FindingsSheet::bookmarkSelected, this, &DocumentWindow::revealBookmark);
    connect(sheet, &QDialog::finished, this, [done](int result) {
        done(result == QDialog::Accepted         ? FindingsAnswer::Proceed
             : result == FindingsSheet::Replaced ? FindingsAnswer::Replace
                                                 : FindingsAnswer::Close);
    });
    sheet->open();
    // At the foot of the window, so that the bookmark a finding shows stays in view above it.
    const QRect frame = geometry();
    sheet->move(frame.left() + (frame.width() - sheet->width()) / 2,
                std::max(frame.top(), frame.bottom() - sheet->height()));
}

void DocumentWindow::revealBookmark(int index)
{
    const BookmarkList& list = m_document->bookmarkList();
    if (index < 0 || index >= list.size())
        return;
    const BookmarkPtr b = list.at(index);
    if (b->folder() < 0 || b->folder() >= m_folders->rowCount())
        return; // in no folder the window shows
    m_ui->folderTable->selectRow(b->folder());
    const int row = m_bookmarks->arrangedIndexOf(b.get());
    m_bookmarks->setSelectionIndexes({row});
    m_ui->bookmarkTable->scrollTo(m_bookmarks->index(row, BookmarkController::NameColumn),
                                  QAbstractItemView::PositionAtTop);
}

void DocumentWindow::updateTitle()
{
    setWindowTitle(tr("%1[*] — EdgeMarks").arg(displayName()));
    setWindowFilePath(m_path);
    setWindowModified(m_document->isModified());
}

void DocumentWindow::updateActions()
{
    UndoManager* undo = m_document->undoManager();
    m_ui->actionUndo->setEnabled(undo->canUndo());
    m_ui->actionRedo->setEnabled(undo->canRedo());
    m_ui->actionUndo->setText(undo->undoMenuItemTitle());
    m_ui->actionRedo->setText(undo->redoMenuItemTitle());
    const QString full = tr("The AIR-EDGE PHONE holds at most %1 bookmarks: delete some to add more.")
                             .arg(MyDocument::MaxBookmarks);
    const QString noSelection = tr("Select the bookmarks first.");
    for (QObject* add : {static_cast<QObject*>(m_ui->actionAdd), static_cast<QObject*>(m_ui->addButton)})
        explainState(add, m_bookmarks->canAdd(), full);
    for (QObject* insert : {static_cast<QObject*>(m_ui->actionInsert), static_cast<QObject*>(m_ui->insertButton)})
        explainState(insert, m_bookmarks->canInsert(), full);
    for (QObject* a : {static_cast<QObject*>(m_ui->actionDelete), static_cast<QObject*>(m_ui->actionCut),
                       static_cast<QObject*>(m_ui->actionCopy), static_cast<QObject*>(m_ui->deleteButton)})
        explainState(a, m_bookmarks->canRemove(), noSelection);
    m_ui->actionRevert->setEnabled(!m_path.isEmpty() && m_document->isModified());
}

void DocumentWindow::copySelection()
{
    if (!m_bookmarks->selectionIndexes().empty())
        QGuiApplication::clipboard()->setMimeData(m_bookmarks->copySelection());
}

void DocumentWindow::deleteSelection()
{
    m_bookmarks->remove();
}

bool DocumentWindow::save()
{
    return m_path.isEmpty() ? saveAs() : saveTo(m_path);
}

bool DocumentWindow::saveAs()
{
    const QString suggested = m_path.isEmpty()
                                  ? displayName() + QLatin1Char('.') + QLatin1String(EdgeMarksApp::FileSuffix)
                                  : m_path;
    const QString path =
        askSavePath(tr("Save As"), suggested, EdgeMarksApp::fileFilter(), QLatin1String(EdgeMarksApp::FileSuffix));
    return !path.isEmpty() && saveTo(path);
}

QString DocumentWindow::askSavePath(const QString& title, const QString& suggested, const QString& filter,
                                    const QString& suffix)
{
    QFileDialog dialog(this, title, QString(), filter);
    dialog.setObjectName(QStringLiteral("saveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    // A desktop's own dialog asks about the name as typed, before the suffix is
    // added: the question about replacing a file is asked here, about the name
    // that is written.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.selectFile(suggested);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        QString path = dialog.selectedFiles().constFirst();
        if (QFileInfo(path).suffix().isEmpty())
            path += QLatin1Char('.') + suffix;
        if (!QFileInfo::exists(path) || askToReplace(path))
            return path;
        dialog.selectFile(path); // declined: the dialog comes back for another name
    }
}

bool DocumentWindow::askToReplace(const QString& path)
{
    const QFileInfo file(path);
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                    tr("\"%1\" already exists. Do you want to replace it?").arg(file.fileName()),
                    QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("replaceAlert"));
    box.setInformativeText(
        tr("A file with the same name already exists in \"%1\". Replacing it will overwrite its contents.")
            .arg(file.absoluteDir().dirName()));
    QPushButton* replace = box.addButton(tr("Replace"), QMessageBox::DestructiveRole);
    box.setDefaultButton(box.addButton(tr("Cancel"), QMessageBox::RejectRole));
    box.setWindowModality(Qt::WindowModal);
    box.exec();
    return box.clickedButton() == replace;
}

bool DocumentWindow::saveTo(const QString& path)
{
    QString error;
    if (!m_document->writeToFile(path, &error)) {
        showError(tr("The document \"%1\" could not be saved.").arg(QFileInfo(path).fileName()), error);
        return false;
    }
    m_path = path;
    m_app->noteRecentFile(path);
    updateTitle();
    updateActions();
    return true;
}

void DocumentWindow::revert()
{
    if (m_path.isEmpty())
        return;
    QMessageBox* box = Alert::sheet(
        this, QMessageBox::Warning, "revertAlert",
        tr("Do you want to revert to the most recently saved version of \"%1\"?").arg(displayName()),
        tr("Your current changes will be lost."));
    QPushButton* revertButton = box->addButton(tr("Revert"), QMessageBox::DestructiveRole);
    box->setDefaultButton(box->addButton(QMessageBox::Cancel));
    connect(box, &QMessageBox::finished, this, [this, box, revertButton] {
        if (box->clickedButton() != revertButton)
            return;
        QString error;
        if (!m_document->readFromFile(m_path, &error))
            showError(tr("The document \"%1\" could not be reverted.").arg(displayName()), error);
    });
    box->open();
}

bool DocumentWindow::maybeSave()
{
    if (!m_document->isModified())
        return true;
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                    tr("Do you want to save the changes you made in the document \"%1\"?").arg(displayName()),
                    QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("saveChangesAlert"));
    box.setInformativeText(tr("Your changes will be lost if you don't save them."));
    QPushButton* saveButton = box.addButton(tr("Save"), QMessageBox::AcceptRole);
    QPushButton* discardButton = box.addButton(tr("Don't Save"), QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(saveButton);
    box.setWindowModality(Qt::WindowModal);
    box.exec();
    if (box.clickedButton() == saveButton)
        return save();
    return box.clickedButton() == discardButton;
}

void DocumentWindow::closeEvent(QCloseEvent* event)
{
    // Never while a transfer runs on this window or its password is being looked
    // up: the Cancel button of the progress sheet ends a transfer.
    if (m_commands->isBusy() || m_backups->jobs()->isBusy() || m_progress->isOpened()) {
        event->ignore();
        return;
    }
    if (maybeSave())
        event->accept();
    else
        event->ignore();
}

void DocumentWindow::confirm(const QString& message, const QString& informative, const QString& proceedLabel,
                             std::function<void(bool)> done)
{
    QMessageBox* box =
        Alert::sheet(this, QMessageBox::Information, "confirmationAlert", message, informative);
    // Both questions replace a whole list: Cancel is the safe default.
    QPushButton* proceed = box->addButton(proceedLabel, QMessageBox::DestructiveRole);
    box->setDefaultButton(box->addButton(tr("Cancel"), QMessageBox::RejectRole));
    connect(box, &QMessageBox::finished, this, [box, proceed, done = std::move(done)] {
        const bool go = box->clickedButton() == proceed;
        box->hide(); // the sheet goes before anything else is shown on the window
        done(go);
    });
    box->open();
}

void DocumentWindow::showStatus(const QString& message)
{
    statusBar()->showMessage(message, 10000);
}

void DocumentWindow::setBusy(bool busy)
{
    // Input to the document is refused, not queued: the tables and every command
    // but the Cancel of the progress sheet are off until the handset is done.
    centralWidget()->setEnabled(!busy);
    for (QAction* a : findChildren<QAction*>())
        if (a->menu() == nullptr)
            a->setEnabled(!busy);
    m_ui->menuDevice->setEnabled(!busy);
    if (!busy)
        updateActions();
}

void DocumentWindow::showNote(const QString& message, const QString& informative)
{
    Alert::tell(this, QMessageBox::Information, "noteAlert", message, informative);
}

void DocumentWindow::showError(const QString& message, const QString& informative)
{
    Alert::tell(this, QMessageBox::Critical, "errorAlert", message, informative);
}
