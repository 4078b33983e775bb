#include "ProgressController.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QThread>
#include <QVBoxLayout>

namespace {
// The bar works in whole steps; values are doubles in the caller's unit.
constexpr int BarSteps = 10000;
}

ProgressController::ProgressController(QWidget* window) : m_window(window)
{
    m_sheet = new QDialog(window, Qt::Sheet);
    m_sheet->setObjectName(QStringLiteral("progressSheet"));
    m_sheet->setWindowModality(Qt::WindowModal);
    m_sheet->setWindowTitle(QCoreApplication::translate("ProgressController", "AIR-EDGE PHONE"));
    auto* layout = new QVBoxLayout(m_sheet);
    m_message = new QLabel(m_sheet);
    m_message->setObjectName(QStringLiteral("progressMessage"));
    m_bar = new QProgressBar(m_sheet);
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setRange(0, BarSteps);
    m_bar->setTextVisible(false);
    m_bar->setMinimumWidth(320);
    layout->addWidget(m_message);
    layout->addWidget(m_bar);
    layout->setContentsMargins(20, 18, 20, 18);
    layout->setSpacing(10);
}

ProgressController::~ProgressController()
{
    if (m_isOpened)
        closeProgress();
}

QString ProgressController::message() const
{
    return m_message->text();
}

void ProgressController::runModalSession()
{
    ++m_sessionRuns;
    // The windows repaint; user input waits until the transfer is over, so nothing
    // can start a second transfer or close a window under a running one.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressController::showValue()
{
    const double fraction = m_maxValue > 0 ? std::clamp(m_value / m_maxValue, 0.0, 1.0) : 0.0;
    m_bar->setValue(int(fraction * BarSteps + 0.5));
}

void ProgressController::openProgressForWindow(QObject*, double maxValue, const QString& message)
{
    m_value = 0;
    m_maxValue = maxValue;
    showValue();
    m_message->setText(message.isNull() ? QCoreApplication::translate("ProgressController", "Communicating...")
                                        : QCoreApplication::translate("ProgressController", message.toUtf8().constData()));
    m_sheet->adjustSize();
    m_sheet->show();
    runModalSession();
    m_exceptionIsRaised = false;
    m_isOpened = true;
}

void ProgressController::updateProgressDoubleValue(double value)
{
    if (!m_isOpened)
        return;
    m_value = value;
    showValue();
    runModalSession();
}

void ProgressController::notifyException(const VedORovavException&)
{
    m_exceptionIsRaised = true;
}

void ProgressController::closeProgress()
{
    if (m_isOpened) {
        updateProgressDoubleValue(m_maxValue);
        QThread::msleep(HoldMilliseconds);
        // The sheet always goes, after a failure too.
        m_sheet->hide();
        m_isOpened = false;
    }
    m_exceptionIsRaised = false;
}
