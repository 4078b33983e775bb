#include "handset/LinkSettings.h"

#include <QFile>

#include <algorithm>

std::optional<int> LinkSettings::timeoutFromSeconds(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return DefaultTimeoutSeconds * 1000;
    bool ok = false;
    const double seconds = trimmed.toDouble(&ok);
    if (!ok || !(seconds >= 0))
        return std::nullopt;
    if (seconds == 0 || seconds > 86400)
        return -1; // wait for ever
    return std::max(1, int(seconds * 1000));
}

LinkSettings LinkSettings::fromEnvironment()
{
    LinkSettings settings;
    settings.device = QFile::decodeName(qgetenv("EDGEMARKS_DEVICE"));
    settings.driverBundle = QFile::decodeName(qgetenv("EDGEMARKS_DRIVER_BUNDLE"));
    settings.fileTypes = QFile::decodeName(qgetenv("EDGEMARKS_FILE_TYPES"));
    const QString timeout = qEnvironmentVariable("EDGEMARKS_TIMEOUT");
    settings.replyTimeoutMs = timeoutFromSeconds(timeout);
    settings.timeoutSource = QStringLiteral("EDGEMARKS_TIMEOUT=%1").arg(timeout);
    return settings;
}
