#include "AirHFileType.h"

#include <plist/plist.h>

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QHash<QString, QString> AirHFileType::readTable(const QString& path)
{
    QHash<QString, QString> rows;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > (1 << 20))
        return rows;
    const QByteArray bytes = file.readAll();
    plist_t root = nullptr;
    plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &root);
    if (!root)
        return rows;
    if (plist_get_node_type(root) == PLIST_DICT) {
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(root, &it);
        for (;;) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(root, it, &key, &value);
            if (!value) {
                free(key);
                break;
            }
            if (plist_get_node_type(value) == PLIST_STRING) {
                uint64_t length = 0;
                const char* p = plist_get_string_ptr(value, &length);
                rows.insert(QString::fromUtf8(key), QString::fromUtf8(p, qsizetype(length)));
            }
            free(key);
        }
        free(it);
    }
    plist_free(root);
    return rows;
}

AirHFileType AirHFileType::load()
{
    AirHFileType table;
    if (qEnvironmentVariableIsSet("EDGEMARKS_FILE_TYPES")) {
        table.m_rows = readTable(qEnvironmentVariable("EDGEMARKS_FILE_TYPES"));
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
