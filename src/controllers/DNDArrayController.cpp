#include "controllers/DNDArrayController.h"

#include <algorithm>

#include "controllers/BookmarkPasteboard.h"
#include "controllers/LinkReader.h"
#include "document/MyDocument.h"

#include <QMimeData>

std::set<int> DNDArrayController::indexSetFromRows(const QList<int>& rows)
{
    return std::set<int>(rows.begin(), rows.end());
}

int DNDArrayController::rowsAboveRow(int row, const std::set<int>& indexes)
{
    return int(
        std::count_if(indexes.begin(), indexes.end(), [row](int i) { return unsigned(i) < unsigned(row); }));
}

BookmarkList DNDArrayController::arrangedObjects() const
{
    BookmarkList list;
    const int n = rowCount();
    list.reserve(n);
    for (int row = 0; row < n; ++row)
        list << arrangedObject(row);
    return list;
}

int DNDArrayController::arrangedIndexOf(const AirHBookmark* bookmark) const
{
    for (int row = 0, n = rowCount(); row < n; ++row)
        if (arrangedObject(row).get() == bookmark)
            return row;
    return -1;
}

QMimeData* DNDArrayController::writeRows(const QList<int>& rows) const
{
    return BookmarkPasteboard::write(arrangedObjects(), rows, this);
}

QStringList DNDArrayController::mimeTypes() const
{
    return {BookmarkPasteboard::CopiedRowsType, BookmarkPasteboard::MovedRowsType,
            QStringLiteral("text/uri-list"),    BookmarkPasteboard::WebURLsWithTitlesType,
            QStringLiteral("text/x-moz-url"),   QStringLiteral("_NETSCAPE_URL"),
            QStringLiteral("text/plain")};
}

QMimeData* DNDArrayController::mimeData(const QModelIndexList& indexes) const
{
    std::set<int> rows;
    for (const QModelIndex& index : indexes)
        rows.insert(index.row());
    return writeRows(QList<int>(rows.begin(), rows.end()));
}

Qt::DropActions DNDArrayController::supportedDropActions() const
{
    return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
}

Qt::DropActions DNDArrayController::supportedDragActions() const
{
    return Qt::CopyAction | Qt::MoveAction;
}

int DNDArrayController::dropRow(int row, const QModelIndex& parent) const
{
    // A drop onto a row goes above it; a drop below the rows goes after the last.
    if (parent.isValid())
        return parent.row();
    if (row < 0 || row > rowCount())
        return rowCount();
    return row;
}

bool DNDArrayController::canDropMimeData(const QMimeData* data, Qt::DropAction, int, int,
                                         const QModelIndex&) const
{
    if (!data)
        return false;
    if (data->hasFormat(BookmarkPasteboard::CopiedRowsType) ||
        data->hasFormat(BookmarkPasteboard::MovedRowsType))
        return true;
    return LinkReader::fromMimeData(*data).has_value();
}

bool DNDArrayController::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                      const QModelIndex& parent)
{
    if (!data || action == Qt::IgnoreAction)
        return false;
    return acceptDrop(*data, dropRow(row, parent));
}

void DNDArrayController::reportLeftOut(qsizetype leftOut)
{
    if (leftOut > 0)
        emit limitReached(MyDocument::leftOutText(leftOut));
}

bool DNDArrayController::insertCopies(const BookmarkPasteboard::CopiedRows& all, int row)
{
    const qsizetype fitting = std::clamp<qsizetype>(room(), 0, all.records.size());
    reportLeftOut(all.total - fitting);
    const BookmarkList copies = all.records.mid(0, fitting);
    insertObjects(copies, row);
    showInserted(copies);
    return !copies.isEmpty();
}

void DNDArrayController::showInserted(const BookmarkList& inserted)
{
    std::set<int> selection;
    for (const BookmarkPtr& b : inserted)
        selection.insert(arrangedIndexOf(b.get()));
    setSelectionIndexes(selection);
}

bool DNDArrayController::acceptDrop(const QMimeData& data, int row)
{
    // Rows of this very table: a reordering.
    if (BookmarkPasteboard::isFrom(data, this)) {
        const std::set<int> moved = indexSetFromRows(BookmarkPasteboard::movedRows(data));
        if (moved.empty())
            return false;
        moveObjectsInArrangedObjectsFromIndexes(moved, row);
        const int first = row - rowsAboveRow(row, moved);
        std::set<int> selection;
        for (int i = 0; i < int(moved.size()); ++i)
            selection.insert(first + i);
        setSelectionIndexes(selection);
        return true;
    }
    // Rows of another table: copies of their own, with their numbers and folders.
    if (const auto copies = BookmarkPasteboard::copiedRows(data, std::max<qsizetype>(room(), 0)))
        return insertCopies(*copies, row);
    // A web location from another application.
    const std::optional<DroppedLink> link = LinkReader::fromMimeData(data);
    if (!link || !link->url.isValid())
        return false;
    if (room() <= 0) {
        reportLeftOut(1);
        return false;
    }
    const BookmarkPtr bookmark = newObject();
    insertObject(bookmark, row);
    bookmark->setValue(AirHBookmark::LocationKey, link->url.toString(QUrl::FullyEncoded));
    if (!link->title.isNull())
        bookmark->setValue(AirHBookmark::NameKey, link->title);
    setSelectionIndexes({arrangedIndexOf(bookmark.get())});
    return true;
}
