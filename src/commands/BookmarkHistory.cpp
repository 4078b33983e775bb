#include "commands/BookmarkHistory.h"

#include "document/MyDocument.h"
#include "io/AtomicFile.h"

#include <QDir>
#include <QStandardPaths>

namespace
{
const QString NameFormat = QStringLiteral("yyyyMMdd-HHmmss-zzz");
const QString Suffix = QStringLiteral(".edgemarks");
} // namespace

BookmarkHistory::BookmarkHistory(const QString& folder)
    : m_folder(folder.isEmpty()
                   ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/EdgeMarks/history")
                   : folder)
{
}

bool BookmarkHistory::keep(const BookmarkList& list, const QDateTime& when, QString* error)
{
    if (!QDir().mkpath(m_folder)) {
        if (error)
            *error = tr("Couldn't make the folder %1.").arg(m_folder);
        return false;
    }
    MyDocument document;
    document.setBookmarkList(list);
    const QString path = QDir(m_folder).filePath(when.toString(NameFormat) + Suffix);
    if (!AtomicFile::writeAll(path, document.dataRepresentation(), error, AtomicFile::Access::Private))
        return false;
    const QList<Entry> kept = entries();
    for (qsizetype i = Keep; i < kept.size(); ++i)
        QFile::remove(kept[i].path);
    return true;
}

QList<BookmarkHistory::Entry> BookmarkHistory::entries() const
{
    QList<Entry> list;
    const QDir dir(m_folder);
    const QStringList names = dir.entryList({QStringLiteral("*") + Suffix}, QDir::Files, QDir::Name | QDir::Reversed);
    for (const QString& name : names) {
        const QDateTime date = QDateTime::fromString(name.chopped(Suffix.size()), NameFormat);
        if (!date.isValid())
            continue;
        const auto bookmarks = load(dir.filePath(name));
        list.append({dir.filePath(name), date, bookmarks ? int(bookmarks->size()) : -1});
    }
    return list;
}

std::optional<BookmarkList> BookmarkHistory::load(const QString& path, QString* error)
{
    MyDocument document;
    if (!document.readFromFile(path, error))
        return std::nullopt;
    return document.bookmarkList();
}
