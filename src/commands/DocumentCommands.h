#pragma once

#include "document/AirHBookmark.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include "handset/VedORovav.h"

#include <functional>
#include <optional>

class BookmarkHistory;
class HandsetTask;
class MyDocument;
class ProgressProtocol;

// What the import and export commands need from the window: confirmation and
// error alerts shown as sheets on it, and a word in its status bar. All return
// at once; an answer comes later.
class CommandPresenter
{
public:
    virtual ~CommandPresenter() = default;
    // An informational alert with buttons [proceedLabel, "Cancel"]; done(true)
    // for the first button.
    virtual void confirm(const QString& message, const QString& informative, const QString& proceedLabel,
                         std::function<void(bool)> done) = 0;
    // A critical alert with the single button "OK".
    virtual void showError(const QString& message, const QString& informative) = 0;
    // A passing note on how a command ended.
    virtual void showStatus(const QString& message) = 0;
    // An informational alert with the single button "OK".
    virtual void showNote(const QString& message, const QString& informative) = 0;
    // What the handset check found, each line with the index of its bookmark in
    // the document's list (-1 for the list as a whole); done says what the user
    // chose: exporting anyway is offered only when mayProceed, replacing the
    // characters the handset cannot show only when mayReplace.
    enum class FindingsAnswer { Close, Proceed, Replace };
    virtual void showFindings(const QStringList& findings, const QList<int>& indexes, bool mayProceed,
                              bool mayReplace, std::function<void(FindingsAnswer)> done) = 0;
};

// Where the commands get the handset password from.
class PasswordSource
{
public:
    virtual ~PasswordSource() = default;
    // Looks for the password; found gets it, or nothing, perhaps later (the
    // keyring may first ask the user to unlock it).
    virtual void findPassword(std::function<void(std::optional<QString>)> found) = 0;
    // Asks the user; on OK the password is remembered (or saved) and confirmed()
    // runs; on Cancel nothing happens. refused: the handset has just refused
    // the password it was given, and the user is told so.
    virtual void inputPassword(std::function<void()> confirmed, bool refused = false) = 0;
};

// The document's two handset commands: import reads the handset's bookmarks
// into the document, replacing its list; export writes the document's list into
// the handset. Each confirms once, finds the password (asking for it and going
// on when there is none or the handset refuses it), runs the transfer on a
// thread of its own under the progress sheet and shows any failure. An import
// is one undo step. Without the driver each says so instead of starting.
//
// While a command waits for the password or its transfer runs, the command is
// busy: the window takes no edits, cannot be closed and starts no second
// command. An import that fails or is cancelled leaves the document as it was.
class DocumentCommands : public QObject
{
    Q_OBJECT
public:
    // linkSettings gives the program's link settings as they are when a command starts.
    DocumentCommands(MyDocument* document, CommandPresenter* presenter, PasswordSource* passwords,
                     ProgressProtocol* progress, QObject* window, std::function<LinkSettings()> linkSettings);
    ~DocumentCommands() override;

    void importBookmarkList();
    // Runs the handset check first: a document it finds fault with is shown to
    // the user instead of being sent.
    void exportBookmarkList();
    // Tries the driver, the port and the top screen, and says which failed.
    void testConnection();
    // Before an export replaces the handset's list, it is read in a
    // conversation of its own and kept in history (the confirmation then says
    // what the export changes), unless this is off.
    void setKeepsHandsetList(bool keep) { m_keepsHandsetList = keep; }
    void setHistory(BookmarkHistory* history) { m_history = history; }
    // Exports list (a kept one) after a confirmation that shows the difference.
    void exportKeptList(const BookmarkList& list);
    // Stops a running transfer (the progress sheet's Cancel).
    void cancel();

    // Replaces in every name and location what the AIR-EDGE PHONE cannot show
    // (HandsetCheck::replaceUnsupported), as one undo step; the indexes of the
    // bookmarks that changed.
    static QList<int> replaceUnsupportedCharacters(MyDocument& document);

    bool isBusy() const { return m_busy; }
    const std::function<LinkSettings()>& linkSettings() const { return m_linkSettings; }
    HandsetTask* task() const { return m_task; }

signals:
    void busyChanged(bool busy);

private:
    enum class Kind { Import, Export, ReadBeforeExport, Test };
    void confirmExport();
    void askToExport(const QString& changes);
    BookmarkList exportList() const;
    void start(Kind kind);
    bool driverIsThere(Kind kind);
    void proceed(Kind kind);
    void transferDidEnd(Kind kind);
    void testDidEnd();
    void setBusy(bool busy);

    MyDocument* m_document;
    CommandPresenter* m_presenter;
    PasswordSource* m_passwords;
    std::function<LinkSettings()> m_linkSettings;
    HandsetTask* m_task;
    bool m_busy = false;
    bool m_cancelled = false;
    std::shared_ptr<void> m_imported; // the list an import reads into
    int m_exportCount = 0;
    VedORovav::Stage m_testReached = VedORovav::Stage::Port;
    bool m_keepsHandsetList = true;
    BookmarkHistory* m_history = nullptr;
    std::optional<BookmarkList> m_exporting; // a kept list being exported instead of the document's
};
