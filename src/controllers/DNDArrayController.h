#pragma once

#include "controllers/BookmarkPasteboard.h"
#include "document/AirHBookmark.h"

#include <QSortFilterProxyModel>

#include <limits>
#include <set>

// A table of records, arranged from a list model of all of them, whose rows can
// be dragged and dropped: rows dragged inside the table are reordered, rows from
// another table are copied in, and a web location from another application
// becomes a new record. Which records are arranged and how they are placed is
// the subclass's.
class DNDArrayController : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    // The arranged records, in row order.
    virtual BookmarkPtr arrangedObject(int row) const = 0;
    BookmarkList arrangedObjects() const;
    // The arranged row of a record, or -1.
    int arrangedIndexOf(const AirHBookmark* bookmark) const;
    virtual BookmarkPtr newObject() const = 0;
    virtual void insertObject(const BookmarkPtr& bookmark, int arrangedIndex) = 0;
    // Records at arranged rows arrangedIndex, arrangedIndex + 1, ... as one change.
    virtual void insertObjects(const BookmarkList& bookmarks, int arrangedIndex) = 0;
    virtual void moveObjectsInArrangedObjectsFromIndexes(const std::set<int>& indexes, int toIndex) = 0;
    virtual void setSelectionIndexes(const std::set<int>& indexes) = 0;
    // How many more records the list takes.
    virtual int room() const { return std::numeric_limits<int>::max(); }

    // The drop itself at arranged row (a row past the end appends). True when
    // something was inserted or moved.
    virtual bool acceptDrop(const QMimeData& data, int row);
    // What a drag of the given arranged rows carries.
    QMimeData* writeRows(const QList<int>& rows) const;

    static std::set<int> indexSetFromRows(const QList<int>& rows);
    static int rowsAboveRow(int row, const std::set<int>& indexes);

    // QAbstractItemModel drag and drop, as the table views call it.
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;

signals:
    // Records that did not fit were left out; message says how many.
    void limitReached(const QString& message);

protected:
    // Where a drop lands: above the row dropped on, or at the end.
    int dropRow(int row, const QModelIndex& parent) const;
    // Inserts records at arranged rows row, row + 1, ... (as many as there is
    // room for; limitReached tells of the rest) and shows them (showInserted).
    bool insertCopies(const BookmarkPasteboard::CopiedRows& copies, int row);
    // Selects records just inserted; a table that shows part of the list may
    // first have to go where they are.
    virtual void showInserted(const BookmarkList& inserted);
    void reportLeftOut(qsizetype leftOut);
};
