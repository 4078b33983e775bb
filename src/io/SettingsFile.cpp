#include "io/SettingsFile.h"

#include "io/AtomicFile.h"
#include "io/OutsideFile.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

QString SettingsFile::userFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/EdgeMarks");
}

void SettingsFile::load(const QString& folder, const QString& name, const QStringList& earlierKeys)
{
    m_path = QDir(folder).filePath(name + QStringLiteral(".json"));
    m_values = QJsonObject();
    m_unreadable.clear();
    m_failing = false;
    if (!QFileInfo::exists(m_path)) {
        if (migrate(QDir(folder).filePath(name + QStringLiteral(".conf")), earlierKeys))
            write();
        return;
    }
    QString error;
    const std::optional<QByteArray> bytes = OutsideFile::read(m_path, MaxSize, &error);
    const QJsonDocument json = bytes ? QJsonDocument::fromJson(*bytes) : QJsonDocument();
    if (json.isObject())
        m_values = json.object();
    else
        m_unreadable = bytes ? tr("%1 is damaged.").arg(QFileInfo(m_path).fileName()) : error;
}

// Earlier versions kept the settings in Qt's INI format. Its bytes are read as
// any outside file is, and parsed from a private copy.
bool SettingsFile::migrate(const QString& earlierPath, const QStringList& keys)
{
    if (keys.isEmpty() || !QFileInfo::exists(earlierPath))
        return false;
    const std::optional<QByteArray> bytes = OutsideFile::read(earlierPath, MaxSize);
    QTemporaryFile copy;
    if (!bytes || !copy.open() || copy.write(*bytes) != bytes->size() || !copy.flush())
        return false;
    const QSettings earlier(copy.fileName(), QSettings::IniFormat);
    for (const QString& key : keys) {
        const QVariant value = earlier.value(key);
        if (value.typeId() == QMetaType::QByteArray)
            m_values.insert(key, QString::fromLatin1(value.toByteArray().toBase64()));
        else if (value.typeId() == QMetaType::QStringList)
            m_values.insert(key, QJsonArray::fromStringList(value.toStringList()));
        else if (value.isValid())
            m_values.insert(key, value.toString());
    }
    return !m_values.isEmpty();
}

QString SettingsFile::text(const QString& key) const
{
    return m_values.value(key).toString();
}

QStringList SettingsFile::texts(const QString& key) const
{
    const QJsonValue value = m_values.value(key);
    if (value.isString())
        return {value.toString()};
    QStringList list;
    for (const QJsonValue& item : value.toArray())
        list << item.toString();
    return list;
}

QByteArray SettingsFile::bytes(const QString& key) const
{
    return QByteArray::fromBase64(m_values.value(key).toString().toLatin1());
}

bool SettingsFile::setText(const QString& key, const QString& value)
{
    return set(key, value);
}

bool SettingsFile::setTexts(const QString& key, const QStringList& values)
{
    return set(key, QJsonArray::fromStringList(values));
}

bool SettingsFile::setBytes(const QString& key, const QByteArray& value)
{
    return set(key, QString::fromLatin1(value.toBase64()));
}

bool SettingsFile::remove(const QString& key)
{
    return set(key, QJsonValue::Undefined);
}

bool SettingsFile::set(const QString& key, const QJsonValue& value)
{
    if (m_values.value(key) == value)
        return true;
    if (value.isUndefined())
        m_values.remove(key);
    else
        m_values.insert(key, value);
    return write();
}

bool SettingsFile::write()
{
    if (m_path.isEmpty())
        return false;
    // A file that could not be read is not written over: it may still be the user's.
    QString error = m_unreadable.isEmpty()
                        ? QString()
                        : tr("%1 Changes to the settings are kept only until EdgeMarks quits.").arg(m_unreadable);
    if (error.isEmpty() && QDir().mkpath(QFileInfo(m_path).path()) &&
        AtomicFile::writeAll(m_path, QJsonDocument(m_values).toJson(), &error, AtomicFile::Access::Private)) {
        m_failing = false;
        return true;
    }
    if (error.isEmpty())
        error = AtomicFile::failureText(m_path, errno, QFileInfo::exists(m_path));
    if (!m_failing && reportFailure)
        reportFailure(error);
    m_failing = true;
    return false;
}
