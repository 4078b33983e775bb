#include "controllers/FolderController.h"

#include "controllers/BookmarkController.h"
#include "controllers/BookmarkPasteboard.h"
#include "document/MyDocument.h"

#include <QMimeData>

FolderController::FolderController(MyDocument* document, BookmarkController* bookmarks, QObject* parent)
    : QAbstractListModel(parent), m_document(document), m_bookmarks(bookmarks)
{
    connect(document, &MyDocument::folderListChanged, this, [this] {
        m_countsValid = false;
        beginResetModel();
        endResetModel();
    });
    // Counts beside the names follow the bookmark list, as the table's list model
    // holds it (it keeps every row's folder beside the rows).
    auto countsChanged = [this] {
        m_countsValid = false;
        if (rowCount() > 0)
            emit dataChanged(index(0), index(rowCount() - 1), {Qt::DisplayRole});
    };
    const BookmarkListModel* rows = bookmarks->listModel();
    connect(rows, &QAbstractItemModel::rowsInserted, this, countsChanged);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, countsChanged);
    connect(rows, &QAbstractItemModel::modelReset, this, countsChanged);
    connect(document, &MyDocument::bookmarkChanged, this, [countsChanged](AirHBookmark*, const QString& key) {
        if (key == AirHBookmark::FolderKey)
            countsChanged();
    });
}

void FolderController::setSelectionIndex(int row)
{
    m_selection = row;
    if (row >= 0)
        m_bookmarks->setCurrentFolder(row);
}

int FolderController::bookmarkCount(int folder) const
{
    if (!m_countsValid) {
        m_counts.fill(0, m_document->folderList().size());
        const BookmarkListModel* rows = m_bookmarks->listModel();
        for (int row = 0, n = rows->rowCount(); row < n; ++row)
            if (const int f = rows->folderOf(row); f >= 0 && f < m_counts.size())
                ++m_counts[f];
        m_countsValid = true;
    }
    return folder >= 0 && folder < m_counts.size() ? m_counts.at(folder) : 0;
}

int FolderController::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_document->folderList().size());
}

QVariant FolderController::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_document->folderList().size())
        return {};
    if (role == Qt::DisplayRole) {
        const int n = bookmarkCount(index.row());
        const QString name = m_document->folderList().at(index.row());
        return n ? tr("%1 (%2)").arg(name).arg(n) : name;
    }
    if (role == Qt::EditRole)
        return m_document->folderList().at(index.row());
    return {};
}

bool FolderController::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const QString name = value.toString().trimmed();
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount() || name.isEmpty())
        return false;
    m_document->renameFolder(index.row(), name);
    return true;
}

QVariant FolderController::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section == 0)
        return tr("Folder");
    return QAbstractListModel::headerData(section, orientation, role);
}

Qt::ItemFlags FolderController::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDropEnabled | Qt::ItemIsEditable;
}

QStringList FolderController::mimeTypes() const
{
    return {BookmarkPasteboard::MovedRowsType};
}

Qt::DropActions FolderController::supportedDropActions() const
{
    return Qt::MoveAction | Qt::CopyAction;
}

bool FolderController::canDropMimeData(const QMimeData* data, Qt::DropAction, int, int,
                                       const QModelIndex& parent) const
{
    // Only onto a folder row, and only rows of this window's bookmark table.
    return data && parent.isValid() && parent.row() < rowCount() &&
           data->hasFormat(BookmarkPasteboard::MovedRowsType) &&
           BookmarkPasteboard::isFrom(*data, m_bookmarks);
}

bool FolderController::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                    const QModelIndex& parent)
{
    if (!data || action == Qt::IgnoreAction)
        return false;
    return acceptDrop(*data, parent.isValid() ? parent.row() : row);
}

bool FolderController::acceptDrop(const QMimeData& data, int row)
{
    if (row < 0 || row >= rowCount() || !BookmarkPasteboard::isFrom(data, m_bookmarks))
        return false;
    const std::set<int> rows = DNDArrayController::indexSetFromRows(BookmarkPasteboard::movedRows(data));
    BookmarkList moving;
    for (int i : rows)
        if (i >= 0 && i < m_bookmarks->rowCount())
            moving << m_bookmarks->arrangedObject(i);
    if (moving.isEmpty())
        return false;
    UndoManager* undo = m_document->undoManager();
    undo->registerUndo(this, [this] { restoreArrangementAndSelection(); });
    for (const BookmarkPtr& b : std::as_const(moving)) {
        b->setFolder(row);
        m_document->moveObjectInBookmarkList(int(m_document->bookmarkList().indexOf(b)),
                                             int(m_document->bookmarkList().size()) - 1);
    }
    restoreArrangementAndSelection();
    return true;
}

void FolderController::restoreArrangementAndSelection()
{
    UndoManager* undo = m_document->undoManager();
    undo->registerUndo(this, [this] { restoreArrangementAndSelection(); });
    m_bookmarks->setSelectionIndexes({});
    undo->setActionName(tr("Move"));
}
