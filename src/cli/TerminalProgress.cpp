#include "cli/TerminalProgress.h"

#include <QCoreApplication>

#include <algorithm>
#include <unistd.h>

TerminalProgress::TerminalProgress(std::FILE* out, std::optional<bool> enabled)
    : m_out(out), m_enabled(enabled.value_or(isatty(fileno(out))))
{
}

void TerminalProgress::openProgressForWindow(QObject*, double maxValue, const QString& message)
{
    m_open = true;
    m_max = maxValue;
    m_value = 0;
    m_message =
        message.isNull() ? QCoreApplication::translate("ProgressController", "Communicating...") : message;
    m_openMessage = m_message;
    draw();
}

void TerminalProgress::updateProgressDoubleValue(double value)
{
    m_value = value;
    // A transfer reports every few kilobytes; the bar follows at most ten times a second.
    if (m_sinceDrawn.isValid() && m_sinceDrawn.elapsed() < RedrawMilliseconds)
        return;
    draw();
}

void TerminalProgress::updateProgressMessage(const QString& message)
{
    if (message.isNull()) {
        m_message = m_openMessage;
    } else {
        m_message = QCoreApplication::translate("VedORovav", message.toUtf8().constData());
        // Without a bar to show it in, the wait is said on a line of its own.
        if (!m_enabled)
            std::fprintf(m_out, "%s\n", qPrintable(m_message));
    }
    draw();
}

void TerminalProgress::notifyException(const VedORovavException&)
{
    // The failure itself is reported by the command.
}

void TerminalProgress::closeProgress()
{
    if (m_enabled && m_open)
        std::fprintf(m_out, "\r\033[K");
    std::fflush(m_out);
    m_open = false;
}

void TerminalProgress::draw()
{
    if (!m_enabled || !m_open)
        return;
    m_sinceDrawn.start();
    constexpr int Width = 30;
    const double fraction = m_max > 0 ? std::clamp(m_value / m_max, 0.0, 1.0) : 0.0;
    const int filled = int(fraction * Width + 0.5);
    std::fprintf(m_out, "\r%s [%s%s] %3d%%", qPrintable(m_message), QByteArray(filled, '#').constData(),
                 QByteArray(Width - filled, '.').constData(), int(fraction * 100 + 0.5));
    std::fflush(m_out);
}
