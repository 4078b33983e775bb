#include "handset/HandsetTask.h"

#include <QMetaObject>

#include <chrono>

// The progress sink the link reports to on the transfer's thread: each call is
// handed to the real sink on the task's thread, in order. Updates that come
// faster than the window takes them are folded into the latest value.
class HandsetTask::Forwarder : public ProgressProtocol {
public:
    explicit Forwarder(HandsetTask* task) : m_task(task) {}
    ~Forwarder() override;

    void openProgressForWindow(QObject*, double maxValue, const QString& message) override
    {
        m_maxValue = maxValue;
        post([maxValue, message](HandsetTask* t) { t->m_progress->openProgressForWindow(t->m_window, maxValue, message); });
    }
    void updateProgressDoubleValue(double value) override
    {
        m_latest = value;
        if (m_pending.exchange(true))
            return;
        post([this](HandsetTask* t) {
            m_pending = false;
            t->m_progress->updateProgressDoubleValue(m_latest.load());
        });
    }
    void updateProgressMessage(const QString& message) override
    {
        post([message](HandsetTask* t) { t->m_progress->updateProgressMessage(message); });
    }
    void notifyException(const VedORovavException& exception) override
    {
        post([exception](HandsetTask* t) { t->m_progress->notifyException(exception); });
    }
    void closeProgress() override
    {
        // The full bar stays a moment, unless the user is waiting for a cancel.
        updateProgressDoubleValue(m_maxValue);
        if (!m_task->m_cancel.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(HoldMilliseconds));
        post([](HandsetTask* t) { t->m_progress->closeProgress(); });
    }

private:
    void post(std::function<void(HandsetTask*)> call)
    {
        HandsetTask* task = m_task;
        QMetaObject::invokeMethod(task, [task, call = std::move(call)] { call(task); }, Qt::QueuedConnection);
    }

    HandsetTask* m_task;
    double m_maxValue = 1;
    std::atomic<double> m_latest{0};
    std::atomic<bool> m_pending{false};
};

HandsetTask::HandsetTask(ProgressProtocol* progress, QObject* window, QObject* parent)
    : QObject(parent), m_progress(progress), m_window(window)
{
}

HandsetTask::~HandsetTask()
{
    cancel();
    join();
}

HandsetTask::Forwarder::~Forwarder() = default;

void HandsetTask::join()
{
    if (m_thread.joinable())
        m_thread.join();
}

void HandsetTask::cancel()
{
    m_cancel = true;
}

bool HandsetTask::start(const LinkSettings& settings, Work work)
{
    if (m_running)
        return false;
    join();
    m_running = true;
    m_cancel = false;
    m_result = false;
    m_failure.reset();
    // The task keeps the forwarder until the next transfer: the calls it posted may
    // still be waiting when the thread ends.
    m_forwarder = std::make_unique<Forwarder>(this);
    m_thread = std::thread([this, settings, work = std::move(work), forwarder = m_forwarder.get()] {
        bool result = false;
        std::optional<VedORovavException> failure;
        try {
            VedORovav link(settings);
            link.setCancelFlag(&m_cancel);
            result = work(link, *forwarder);
        } catch (const VedORovavException& e) {
            failure = e;
        } catch (const std::exception& e) {
            failure = VedORovavException(LinkTexts::CouldNotRead, QString::fromLocal8Bit(e.what()));
        }
        QMetaObject::invokeMethod(
            this,
            [this, result, failure] {
                join();
                m_result = result;
                m_failure = failure;
                m_running = false;
                emit finished();
            },
            Qt::QueuedConnection);
    });
    return true;
}
