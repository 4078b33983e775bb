#include "FolderController.h"

#include "BookmarkController.h"
#include "MyDocument.h"

FolderController::FolderController(MyDocument* document, BookmarkController* bookmarks, QObject* parent)
    : QAbstractListModel(parent), m_document(document), m_bookmarks(bookmarks)
{
    connect(document, &MyDocument::folderListChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
    // Counts beside the names follow the bookmark list.
    auto countsChanged = [this] {
        if (rowCount() > 0)
            emit dataChanged(index(0), index(rowCount() - 1), {Qt::DisplayRole});
    };
    connect(document, &MyDocument::bookmarkInserted, this, countsChanged);
    connect(document, &MyDocument::bookmarkRemoved, this, countsChanged);
    connect(document, &MyDocument::bookmarkListReset, this, countsChanged);
    connect(document, &MyDocument::bookmarkChanged, this, countsChanged);
}

void FolderController::setSelectionIndex(int row)
{
    m_selection = row;
    if (row >= 0)
        m_bookmarks->setCurrentFolder(row);
}

int FolderController::bookmarkCount(int folder) const
{
    int n = 0;
    for (const BookmarkPtr& b : m_document->bookmarkList())
        n += b->folder() == folder;
    return n;
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

QVariant FolderController::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section == 0)
        return tr("Folder");
    return QAbstractListModel::headerData(section, orientation, role);
}
