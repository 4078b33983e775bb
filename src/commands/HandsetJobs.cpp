#include "commands/HandsetJobs.h"

#include "commands/DocumentCommands.h"

HandsetJobs::HandsetJobs(PasswordSource* passwords, ProgressProtocol* progress, QObject* window,
                         std::function<LinkSettings()> linkSettings)
    : QObject(window), m_passwords(passwords), m_linkSettings(std::move(linkSettings)),
      m_task(new HandsetTask(progress, window, this))
{
}

HandsetJobs::~HandsetJobs() = default;

void HandsetJobs::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    emit busyChanged(busy);
}

void HandsetJobs::cancel()
{
    // A job still waiting for its password does not start.
    m_cancelled = m_busy;
    m_task->cancel();
}

bool HandsetJobs::run(Work work, Done done)
{
    if (m_busy)
        return false;
    m_cancelled = false;
    attempt(std::move(work), std::move(done));
    return true;
}

void HandsetJobs::attempt(Work work, Done done)
{
    setBusy(true);
    m_passwords->findPassword([this, work, done](std::optional<QString> password) {
        if (m_cancelled) {
            setBusy(false);
            return;
        }
        if (!password) {
            setBusy(false);
            m_passwords->inputPassword([this, work, done] { attempt(work, done); });
            return;
        }
        connect(
            m_task, &HandsetTask::finished, this,
            [this, work, done] {
                setBusy(false);
                if (!m_task->failure() && !m_task->result()) {
                    // Refused: ask again, then start over.
                    m_passwords->inputPassword([this, work, done] { attempt(work, done); }, true);
                    return;
                }
                done(m_task->failure());
            },
            Qt::SingleShotConnection);
        const QString pw = *password;
        m_task->start(m_linkSettings(),
                      [work, pw](VedORovav& link, ProgressProtocol& progress) { return work(link, progress, pw); });
    });
}
