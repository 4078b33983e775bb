#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class MyDocument;
class ProgressProtocol;

// What the import and export commands need from the window: confirmation and
// error alerts shown as sheets on it. Both return at once; the answer comes later.
class CommandPresenter {
public:
    virtual ~CommandPresenter() = default;
    // An informational alert with buttons [proceedLabel, "Cancel"]; done(true)
    // for the first button.
    virtual void confirm(const QString& message, const QString& informative, const QString& proceedLabel,
                         std::function<void(bool)> done) = 0;
    // A critical alert with the single button "OK".
    virtual void showError(const QString& message, const QString& informative) = 0;
};

// Where the commands get the handset password from.
class PasswordSource {
public:
    virtual ~PasswordSource() = default;
    virtual std::optional<QString> findPassword() = 0;
    // Asks the user; on OK the password is remembered (or saved) and confirmed()
    // runs; on Cancel nothing happens.
    virtual void inputPassword(std::function<void()> confirmed) = 0;
};

// The document's two handset commands: import reads the handset's bookmarks
// into the document, replacing its list; export writes the document's list into
// the handset. Each confirms, finds the password (asking for it and starting
// over when there is none or the handset refuses it), runs the transfer under the
// progress sheet and shows any failure.
class DocumentCommands : public QObject {
    Q_OBJECT
public:
    DocumentCommands(MyDocument* document, CommandPresenter* presenter, PasswordSource* passwords,
                     ProgressProtocol* progress, QObject* window);

    void importBookmarkList();
    void exportBookmarkList();

private:
    void importDidEnd(bool proceed);
    void exportDidEnd(bool proceed);

    MyDocument* m_document;
    CommandPresenter* m_presenter;
    PasswordSource* m_passwords;
    ProgressProtocol* m_progress;
    QObject* m_window;
};
