#pragma once

#include <QHash>
#include <QString>

// Which handset type word a local file is sent with: keys ".ext" (a lowered
// extension) or a Mac OS type code, values the type words. The table ships with
// the program; a user table at ~/.config/EdgeMarks/AirHFileType.plist (or the file
// that EDGEMARKS_FILE_TYPES names) overrides its rows. Files no row matches are
// "other".
class AirHFileType {
public:
    static AirHFileType load();
    // Rows of a property-list dictionary of strings; nothing when unreadable.
    static QHash<QString, QString> readTable(const QString& path);

    QString typeForPath(const QString& path) const;

private:
    QHash<QString, QString> m_rows;
};
