#pragma once

#include "handset/ProgressProtocol.h"
#include "handset/VedORovav.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

// Runs one transfer on a thread of its own, so that the window that started it
// keeps painting and answering while the link waits. The transfer's progress
// calls reach the progress sink on the thread that made the task; finished()
// comes there too, after the sink was closed. Cancel() stops the transfer
// within a fraction of a second wherever it waits; the conversation still ends
// as every conversation does (logout, the port released and restored).
class HandsetTask : public QObject {
    Q_OBJECT
public:
    using Work = std::function<bool(VedORovav& link, ProgressProtocol& progress)>;

    // The full bar stays this long before the progress sheet closes.
    static constexpr int HoldMilliseconds = 500;

    HandsetTask(ProgressProtocol* progress, QObject* window, QObject* parent = nullptr);
    // Cancels a running transfer and waits for its end.
    ~HandsetTask() override;

    // Starts work on a new link made with settings; false when a transfer is
    // still running.
    bool start(const LinkSettings& settings, Work work);
    void cancel();
    bool isRunning() const { return m_running; }

    // The outcome of the last transfer, valid once finished() came.
    bool result() const { return m_result; }
    const std::optional<VedORovavException>& failure() const { return m_failure; }

signals:
    void finished();

private:
    class Forwarder;
    void join();

    ProgressProtocol* m_progress;
    std::unique_ptr<Forwarder> m_forwarder;
    QPointer<QObject> m_window;
    std::thread m_thread;
    std::atomic<bool> m_cancel{false};
    bool m_running = false;
    bool m_result = false;
    std::optional<VedORovavException> m_failure;
};
