#include "handset/AirHFile.h"

#include "handset/BookmarkEntry.h"
#include "handset/ShiftJIS.h"

#include <QRegularExpression>

#include <cstring>

AirHFile::AirHFile()
{
    setFileName(QStringLiteral(""));
    setFileType(QStringLiteral("other"));
    setFileSize(0);
    setFileDate(QDateTime::currentDateTime());
}

QDateTime AirHFile::parseDate(const QString& text)
{
    static const QRegularExpression format(
        QStringLiteral("^\\s*(\\d{1,4})/(\\d{1,2})/(\\d{1,2})/(\\d{1,2})/(\\d{1,2})$"));
    const QRegularExpressionMatch m = format.match(text);
    if (!m.hasMatch())
        return QDateTime();
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), 0);
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time, Qt::LocalTime);
}

AirHFile AirHFile::fromDirectoryRecord(const char* record, int length)
{
    if (const void* nul = std::memchr(record, 0, size_t(std::max(0, length))))
        length = int(static_cast<const char*>(nul) - record);
    QByteArray fields[4];
    int at = 0;
    for (int f = 0; f < 4 && at <= length; ++f) {
        const void* tab = std::memchr(record + at, '\t', size_t(length - at));
        const int end = tab ? int(static_cast<const char*>(tab) - record) : length;
        fields[f] = QByteArray(record + at, end - at);
        at = end + 1;
        if (!tab)
            break;
    }
    AirHFile file;
    file.setFileName(ShiftJIS::decode(fields[0]).value_or(QString()));
    file.setFileType(ShiftJIS::decode(fields[1]).value_or(QString()));
    file.setFileSize(BookmarkEntry::parseInteger(fields[2].constData(), int(fields[2].size())));
    const std::optional<QString> date = ShiftJIS::decode(fields[3]);
    file.setFileDate(date ? parseDate(*date) : QDateTime());
    return file;
}
