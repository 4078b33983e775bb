#pragma once

#include <QHash>
#include <QString>

// Which handset type word a local file is sent with: keys ".ext" (a lowered
// extension) or a Mac OS type code, values the type words. The table ships with
// the program; a user table at ~/.config/EdgeMarks/AirHFileType.plist overrides
// its rows. Files no row matches are "other".
class AirHFileType {
public:
    // The built-in table with the user's rows, or only the table at replacement
    // when one is named (LinkSettings::fileTypes).
    static AirHFileType load(const QString& replacement);
    // Rows of a property-list dictionary of strings; nothing when unreadable.
    static QHash<QString, QString> readTable(const QString& path);

    QString typeForPath(const QString& path) const;

private:
    QHash<QString, QString> m_rows;
};
