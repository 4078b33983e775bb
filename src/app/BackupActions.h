#pragma once

#include <QObject>

class DocumentCommands;
class HandsetJobs;
class PasswordSource;
class ProgressProtocol;
class QWidget;

// Handset > Back Up..., Restore... and Restore Previous Bookmarks... of a
// document window: each asks what it needs in a dialog, runs its conversations
// under the window's progress sheet, and says how it ended.
class BackupActions : public QObject
{
    Q_OBJECT
public:
    BackupActions(QWidget* window, PasswordSource* passwords, ProgressProtocol* progress, DocumentCommands* commands);

    void backUp();
    void backUpTo(const QString& path);
    void restore();
    void restoreFrom(const QString& path);
    void restorePrevious();
    HandsetJobs* jobs() const { return m_jobs; }

private:
    QWidget* m_window;
    HandsetJobs* m_jobs;
    DocumentCommands* m_commands;
};
