#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// One file on the handset: its name, the handset's type word ("other" for any
// file the handset does not tell apart), its size and its date (to the minute when
// it comes from a listing). A null name or type and an invalid date are absent.
class AirHFile {
public:
    AirHFile();

    const QString& fileName() const { return m_fileName; }
    void setFileName(const QString& name) { m_fileName = name; }
    const QString& fileType() const { return m_fileType; }
    void setFileType(const QString& type) { m_fileType = type; }
    qint32 fileSize() const { return m_fileSize; }
    // Keeps the low 32 bits: sizes of 2^31 bytes or more do not survive.
    void setFileSize(qint64 size) { m_fileSize = qint32(quint32(quint64(size))); }
    const QDateTime& fileDate() const { return m_fileDate; }
    void setFileDate(const QDateTime& date) { m_fileDate = date; }

    // A directory record: name TAB type TAB size TAB date, ending at the first NUL.
    static AirHFile fromDirectoryRecord(const char* record, int length);
    // "%Y/%m/%d/%H/%M" in local time; an invalid date when the text does not match.
    static QDateTime parseDate(const QString& text);

private:
    QString m_fileName;
    QString m_fileType;
    qint32 m_fileSize = 0;
    QDateTime m_fileDate;
};

using AirHFileList = QList<AirHFile>;
