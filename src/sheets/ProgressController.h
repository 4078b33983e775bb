#pragma once

#include "ProgressProtocol.h"

#include <QPointer>

class QDialog;
class QLabel;
class QProgressBar;
class QWidget;

// The progress sheet of a document window: a window-modal dialog with a message
// and a determinate bar. A transfer runs on the main thread, so the sheet gets
// one turn of event handling when it opens and at every update; on closing it
// fills the bar and holds it full for half a second.
class ProgressController : public ProgressProtocol {
public:
    static constexpr int HoldMilliseconds = 500;

    explicit ProgressController(QWidget* window);
    ~ProgressController() override;

    void openProgressForWindow(QObject* window, double maxValue, const QString& message) override;
    void updateProgressDoubleValue(double value) override;
    void notifyException(const VedORovavException& exception) override;
    void closeProgress() override;

    bool isOpened() const { return m_isOpened; }
    bool exceptionIsRaised() const { return m_exceptionIsRaised; }
    double value() const { return m_value; }
    double maxValue() const { return m_maxValue; }
    QString message() const;
    QDialog* sheet() const { return m_sheet; }
    // Event-handling turns given to the sheet so far.
    int sessionRuns() const { return m_sessionRuns; }

private:
    void runModalSession();
    void showValue();

    QPointer<QWidget> m_window;
    QDialog* m_sheet = nullptr;
    QLabel* m_message = nullptr;
    QProgressBar* m_bar = nullptr;
    double m_value = 0;
    double m_maxValue = 1;
    bool m_isOpened = false;
    bool m_exceptionIsRaised = false;
    int m_sessionRuns = 0;
};
