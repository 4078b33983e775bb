#pragma once

#include "commands/DocumentCommands.h"

#include <QMainWindow>

#include <memory>

namespace Ui
{
class MyDocument;
}
class BackupActions;
class BookmarkController;
class EdgeMarksApp;
class FolderController;
class MyDocument;
class PasswordController;
class ProgressController;
class QLabel;
class QMessageBox;

// The window of one bookmark document: the folder table beside the bookmark
// table, the editing commands, the handset commands and the file commands.
class DocumentWindow : public QMainWindow, private CommandPresenter
{
    Q_OBJECT
public:
    // Where the window keeps its size and the bookmark table's columns in the settings.
    static constexpr const char* GeometryKey = "Window/geometry";
    static constexpr const char* HeaderStateKey = "BookmarkList/headerState";

    DocumentWindow(EdgeMarksApp* app, std::unique_ptr<MyDocument> document, const QString& path,
                   const QString& untitledName);
    ~DocumentWindow() override;

    MyDocument* document() const { return m_document.get(); }
    BookmarkController* bookmarkController() const { return m_bookmarks; }
    ProgressController* progressController() const { return m_progress.get(); }
    PasswordController* passwordController() const { return m_passwords.get(); }
    DocumentCommands* commands() const { return m_commands; }
    Ui::MyDocument* ui() const { return m_ui.get(); }
    QString filePath() const { return m_path; }
    QString displayName() const;

    bool save();
    bool saveAs();
    bool saveTo(const QString& path);
    void revert();
    // The file dialog for a file to write, with its suffix added to a name
    // typed without one; a file already there under the final name is replaced
    // only when the user says so. Empty when the user cancelled.
    QString askSavePath(const QString& title, const QString& suggested, const QString& filter,
                        const QString& suffix);
    // Writes the protocol log of the link's recent conversations to path.
    bool saveProtocolLog(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void confirm(const QString& message, const QString& informative, const QString& proceedLabel,
                 std::function<void(bool)> done) override;
    void showError(const QString& message, const QString& informative) override;
    void showStatus(const QString& message) override;
    void showNote(const QString& message, const QString& informative) override;
    void showFindings(const QStringList& findings, const QList<int>& indexes, bool mayProceed, bool mayReplace,
                      std::function<void(FindingsAnswer)> done) override;

public:
    // Browser bookmark files: an import shows its plan first (BrowserImportSheet)
    // and is one undo step; an export writes every bookmark. Both report failures
    // as alerts and return whether they went through (an import: whether its
    // sheet opened).
    bool importBrowserBookmarks(const QString& path);
    bool exportBrowserBookmarks(const QString& path);
    // Shows the document's bookmark at index: its folder, the row selected.
    void revealBookmark(int index);
    void showAbout();
    BackupActions* backupActions() const { return m_backups; }

private:
    // While a command talks to the handset the document takes no input.
    void setBusy(bool busy);

    void setupTables();
    // The menus' actions: their keys, then what they do; the handset's, the
    // recent files' and the help menu's apart.
    void setupActions();
    void setupShortcuts();
    void setupHandsetActions();
    void setupRecentFiles();
    void setupHelpMenu();
    void rebuildDeviceMenu();
    void askForOtherDevice();
    void updateHandsetStatus(const QString& message);
    void updateTitle();
    void updateActions();
    void copySelection();
    void deleteSelection();
    void editNewBookmark();
    bool maybeSave();
    bool askToReplace(const QString& path);

    EdgeMarksApp* m_app;
    std::unique_ptr<Ui::MyDocument> m_ui;
    std::unique_ptr<MyDocument> m_document;
    BookmarkController* m_bookmarks = nullptr;
    FolderController* m_folders = nullptr;
    std::unique_ptr<ProgressController> m_progress;
    std::unique_ptr<PasswordController> m_passwords;
    DocumentCommands* m_commands = nullptr;
    BackupActions* m_backups = nullptr;
    QString m_path;
    QString m_untitledName;
    QLabel* m_handsetStatus = nullptr;
};
