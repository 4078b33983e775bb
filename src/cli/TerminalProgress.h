#pragma once

#include "handset/ProgressProtocol.h"

#include <QElapsedTimer>
#include <QString>

#include <cstdio>
#include <optional>

// A progress bar on a terminal: drawn on standard error when it is a terminal,
// nothing otherwise.
class TerminalProgress : public ProgressProtocol
{
public:
    static constexpr int RedrawMilliseconds = 100;

    // enabled: draw (by default only when out is a terminal).
    explicit TerminalProgress(std::FILE* out = stderr, std::optional<bool> enabled = std::nullopt);
    void openProgressForWindow(QObject* window, double maxValue, const QString& message) override;
    void updateProgressDoubleValue(double value) override;
    void updateProgressMessage(const QString& message) override;
    void notifyException(const VedORovavException& exception) override;
    void closeProgress() override;

private:
    void draw();

    std::FILE* m_out;
    bool m_enabled;
    bool m_open = false;
    double m_max = 1;
    double m_value = 0;
    QString m_message;
    QElapsedTimer m_sinceDrawn;
    QString m_openMessage;
};
