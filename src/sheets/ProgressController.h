#pragma once

#include "handset/ProgressProtocol.h"

#include <QPointer>

#include <functional>

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

// The progress sheet of a document window: a window-modal dialog with a message,
// a determinate bar and a Cancel button. The transfer runs on a thread of its
// own (HandsetTask), which holds the full bar a moment before it closes the
// sheet; the window keeps painting meanwhile and takes no input.
class ProgressController : public ProgressProtocol {
public:
    explicit ProgressController(QWidget* window);
    ~ProgressController() override;

    void openProgressForWindow(QObject* window, double maxValue, const QString& message) override;
    void updateProgressDoubleValue(double value) override;
    void updateProgressMessage(const QString& message) override;
    void notifyException(const VedORovavException& exception) override;
    void closeProgress() override;

    bool isOpened() const { return m_isOpened; }
    bool exceptionIsRaised() const { return m_exceptionIsRaised; }
    double value() const { return m_value; }
    double maxValue() const { return m_maxValue; }
    QString message() const;
    QDialog* sheet() const;
    QPushButton* cancelButton() const;
    // What the Cancel button does; the button is there while one is set.
    void setCancelHandler(std::function<void()> cancel);

private:
    // The sheet is made when first needed: its standard button loads the icon
    // theme, which a window's first paint does not need.
    void makeSheet() const;
    void showValue();

    QPointer<QWidget> m_window;
    mutable QDialog* m_sheet = nullptr;
    mutable QLabel* m_message = nullptr;
    QString m_openMessage; // the message given at the open
    mutable QProgressBar* m_bar = nullptr;
    mutable QPushButton* m_cancel = nullptr;
    std::function<void()> m_cancelHandler;
    double m_value = 0;
    double m_maxValue = 1;
    bool m_isOpened = false;
    bool m_exceptionIsRaised = false;
};
