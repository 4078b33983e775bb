#include "sheets/ProgressController.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QDialogButtonBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The bar works in whole steps; values are doubles in the caller's unit.
constexpr int BarSteps = 10000;
}

ProgressController::ProgressController(QWidget* window) : m_window(window) {}

void ProgressController::makeSheet() const
{
    if (m_sheet)
        return;
    m_sheet = new QDialog(m_window, Qt::Sheet);
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
    auto* buttons = new QDialogButtonBox(m_sheet);
    m_cancel = buttons->addButton(QDialogButtonBox::Cancel);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setVisible(bool(m_cancelHandler));
    QObject::connect(m_cancel, &QPushButton::clicked, m_sheet, [this] {
        if (!m_cancelHandler)
            return;
        // Once is enough; the sheet goes when the link has stopped.
        m_cancel->setEnabled(false);
        m_message->setText(QCoreApplication::translate("ProgressController", "Cancelling..."));
        m_cancelHandler();
    });
    // Escape and the window manager's close button mean Cancel, never a closed sheet
    // under a running transfer.
    QObject::connect(m_sheet, &QDialog::rejected, m_sheet, [this] {
        if (m_isOpened) {
            m_sheet->show();
            m_cancel->click();
        }
    });
    layout->addWidget(m_message);
    layout->addWidget(m_bar);
    layout->addWidget(buttons);
    layout->setContentsMargins(20, 18, 20, 18);
    layout->setSpacing(10);
}

ProgressController::~ProgressController()
{
    if (m_isOpened)
        closeProgress();
}

QDialog* ProgressController::sheet() const
{
    makeSheet();
    return m_sheet;
}

QPushButton* ProgressController::cancelButton() const
{
    makeSheet();
    return m_cancel;
}

QString ProgressController::message() const
{
    makeSheet();
    return m_message->text();
}

void ProgressController::setCancelHandler(std::function<void()> cancel)
{
    m_cancelHandler = std::move(cancel);
    if (m_cancel)
        m_cancel->setVisible(bool(m_cancelHandler));
}

void ProgressController::showValue()
{
    makeSheet();
    const double fraction = m_maxValue > 0 ? std::clamp(m_value / m_maxValue, 0.0, 1.0) : 0.0;
    m_bar->setValue(int(fraction * BarSteps + 0.5));
}

void ProgressController::openProgressForWindow(QObject*, double maxValue, const QString& message)
{
    makeSheet();
    m_value = 0;
    m_maxValue = maxValue;
    showValue();
    m_message->setText(message.isNull() ? QCoreApplication::translate("ProgressController", "Communicating...")
                                        : message);
    m_openMessage = m_message->text();
    m_cancel->setEnabled(true);
    m_sheet->adjustSize();
    m_sheet->show();
    m_exceptionIsRaised = false;
    m_isOpened = true;
}

void ProgressController::updateProgressDoubleValue(double value)
{
    if (!m_isOpened)
        return;
    m_value = value;
    showValue();
}

void ProgressController::updateProgressMessage(const QString& message)
{
    if (!m_isOpened)
        return;
    if (message.isNull())
        m_message->setText(m_openMessage);
    else
        m_message->setText(QCoreApplication::translate("VedORovav", message.toUtf8().constData()));
    m_sheet->adjustSize();
}

void ProgressController::notifyException(const VedORovavException&)
{
    m_exceptionIsRaised = true;
}

void ProgressController::closeProgress()
{
    if (m_isOpened) {
        updateProgressDoubleValue(m_maxValue);
        // The sheet always goes, after a failure too.
        m_isOpened = false;
        m_sheet->hide();
    }
    m_exceptionIsRaised = false;
}
