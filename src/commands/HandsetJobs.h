#pragma once

#include "handset/HandsetTask.h"

#include <QObject>

#include <functional>
#include <optional>

class PasswordSource;
class ProgressProtocol;

// Runs conversations with the handset for a window: finds the password (asking
// for it, and again when the handset refuses it), runs the work on the transfer
// thread under the window's progress sheet, then tells done how it ended. One
// at a time; busy from the password's search to done.
class HandsetJobs : public QObject
{
    Q_OBJECT
public:
    // failure: why the work stopped (a cancel included), or nothing when it went through.
    using Done = std::function<void(const std::optional<VedORovavException>& failure)>;
    using Work = std::function<bool(VedORovav& link, ProgressProtocol& progress, const QString& password)>;

    // linkSettings gives the program's link settings as they are when a job starts.
    HandsetJobs(PasswordSource* passwords, ProgressProtocol* progress, QObject* window,
                std::function<LinkSettings()> linkSettings);
    ~HandsetJobs() override;

    // False when a job is already running.
    bool run(Work work, Done done);
    void cancel();
    bool isBusy() const { return m_busy; }
    HandsetTask* task() const { return m_task; }
    LinkSettings linkSettings() const { return m_linkSettings(); }

signals:
    void busyChanged(bool busy);

private:
    void setBusy(bool busy);
    void attempt(Work work, Done done);

    PasswordSource* m_passwords;
    std::function<LinkSettings()> m_linkSettings;
    HandsetTask* m_task;
    bool m_busy = false;
    bool m_cancelled = false;
};
