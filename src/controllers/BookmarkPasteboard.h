#pragma once

#include "document/AirHBookmark.h"

#include <QList>
#include <QString>

#include <optional>

class QMimeData;

// What a drag or a copy from the bookmark table carries.
namespace BookmarkPasteboard {

// The records themselves (a keyed archive of their four values), so that another
// document gets copies of its own.
inline const QString CopiedRowsType = QStringLiteral("COPIED_ROWS_TYPE");
// Copied rows larger than this are refused (a full document of 100 bookmarks is a few kilobytes).
constexpr qsizetype MaxCopiedRowsBytes = 16 << 20;
// The dragged rows' arranged indexes, for reordering inside the same table.
inline const QString MovedRowsType = QStringLiteral("MOVED_ROWS_TYPE");
// A single row's link as a property list [[location], [name]].
inline const QString WebURLsWithTitlesType = QStringLiteral("WebURLsWithTitlesPboardType");
// Which table the rows come from (process and table), so that a drop can tell its
// own rows from another window's.
inline const QString SourceType = QStringLiteral("application/x-edgemarks-source");

// The records at rows (arranged indexes, in this order) of the table source. A
// single row also carries its link: "WebURLsWithTitlesPboardType",
// "text/x-moz-url" and the URL list; every drag carries the locations as
// text/uri-list and plain text, so that a browser or an editor takes them.
QMimeData* write(const BookmarkList& records, const QList<int>& rows, const void* source);

// Copied records: the first `most` of them built, and how many there are.
struct CopiedRows {
    BookmarkList records;
    qsizetype total = 0;
};
std::optional<CopiedRows> copiedRows(const QMimeData& data, qsizetype most);
QList<int> movedRows(const QMimeData& data);
bool isFrom(const QMimeData& data, const void* source);

} // namespace BookmarkPasteboard
