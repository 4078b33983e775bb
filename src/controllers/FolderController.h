#pragma once

#include <QAbstractListModel>
#include <QList>

class MyDocument;
class BookmarkController;

// The folder table's model: one row per folder of the document's folder list.
// Selecting a folder row makes it the bookmark table's current folder.
class FolderController : public QAbstractListModel {
    Q_OBJECT
public:
    FolderController(MyDocument* document, BookmarkController* bookmarks, QObject* parent = nullptr);

    // The folder selection, as the folder table reports it; -1 for none.
    void setSelectionIndex(int row);
    int selectionIndex() const { return m_selection; }
    // Number of bookmarks in a folder, shown beside its name.
    int bookmarkCount(int folder) const;

    // Dropping bookmark rows of this window's table onto a folder row moves them
    // into that folder, to the end of the document's list, as one undo step "Move".
    bool acceptDrop(const QMimeData& data, int row);
    void restoreArrangementAndSelection();

    int rowCount(const QModelIndex& parent = {}) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role) const override;
    // A folder's name, edited in place (an empty one is refused).
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    MyDocument* m_document;
    BookmarkController* m_bookmarks;
    int m_selection = 0;
    // Bookmarks by folder, counted in one pass when next asked after a change.
    mutable QList<int> m_counts;
    mutable bool m_countsValid = false;
};
