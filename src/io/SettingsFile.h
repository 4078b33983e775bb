#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>

// The program's settings (the window's size, recent files, the chosen port) as
// one JSON object in one file. It is read once through the bounded reader and
// written whole through the checked writer at every change, so that a failed
// write costs neither the change in memory nor the file that was there.
class SettingsFile
{
    Q_DECLARE_TR_FUNCTIONS(SettingsFile)
public:
    // Upper bound for a file read back: settings are a few kilobytes.
    static constexpr qint64 MaxSize = 1 << 20;

    // The user's folder for our settings (~/.config/EdgeMarks).
    static QString userFolder();

    // Reads folder/<name>.json. When it is not there yet, the keys listed are
    // taken over once from the INI file earlier versions kept (folder/<name>.conf).
    void load(const QString& folder, const QString& name, const QStringList& earlierKeys = {});
    QString path() const { return m_path; }

    bool contains(const QString& key) const { return m_values.contains(key); }
    QString text(const QString& key) const;
    // A single text reads as a list of one (as earlier files kept such lists).
    QStringList texts(const QString& key) const;
    QByteArray bytes(const QString& key) const;

    // Each change is written at once; false when the file was not written.
    bool setText(const QString& key, const QString& value);
    bool setTexts(const QString& key, const QStringList& values);
    bool setBytes(const QString& key, const QByteArray& value);
    bool remove(const QString& key);

    // Told, in the user's words, when writing fails: once, until a write works again.
    std::function<void(const QString&)> reportFailure;

private:
    bool set(const QString& key, const QJsonValue& value);
    bool write();
    bool migrate(const QString& earlierPath, const QStringList& keys);

    QString m_path;
    QJsonObject m_values;
    // Why the file cannot be replaced (it could not be read): changes stay in memory.
    QString m_unreadable;
    bool m_failing = false;
};
