#include "handset/AirHFileType.h"

#include "document/PropertyList.h"
#include "io/OutsideFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QHash<QString, QString> AirHFileType::readTable(const QString& path)
{
    QHash<QString, QString> rows;
    // The built-in table is a resource; a user's is a file like any from outside.
    std::optional<QByteArray> bytes;
    if (path.startsWith(QLatin1Char(':'))) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
    } else {
        bytes = OutsideFile::read(path, 1 << 20);
    }
    if (!bytes)
        return rows;
    try {
        const PropertyList plist = PropertyList::fromData(*bytes);
        const PropertyList::Ref root = plist.root();
        if (plist.type(root) != PropertyList::Type::Dictionary)
            return rows;
        for (qint64 i = 0, n = plist.size(root); i < n; ++i) {
            const PropertyList::Ref key = plist.key(root, i), value = plist.value(root, i);
            if (plist.type(key) == PropertyList::Type::String && plist.type(value) == PropertyList::Type::String)
                rows.insert(plist.string(key), plist.string(value));
        }
    } catch (const PropertyListError&) {
        rows.clear(); // a damaged table adds nothing
    }
    return rows;
}

AirHFileType AirHFileType::load(const QString& replacement)
{
    AirHFileType table;
    if (!replacement.isEmpty()) {
        table.m_rows = readTable(replacement);
        return table;
    }
    table.m_rows = readTable(QStringLiteral(":/AirHFileType.plist"));
    const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         QStringLiteral("/EdgeMarks/AirHFileType.plist");
    const QHash<QString, QString> overrides = readTable(user);
    for (auto it = overrides.begin(); it != overrides.end(); ++it)
        table.m_rows.insert(it.key(), it.value());
    return table;
}

QString AirHFileType::typeForPath(const QString& path) const
{
    // The extension decides whenever there is one; files have no type codes here.
    const QString extension = QFileInfo(path).suffix();
    if (!extension.isEmpty()) {
        const auto it = m_rows.find(QStringLiteral(".%1").arg(extension.toLower()));
        if (it != m_rows.end())
            return it.value();
    }
    return QStringLiteral("other");
}
