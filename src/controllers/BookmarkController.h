#pragma once

#include "controllers/BookmarkListModel.h"
#include "controllers/DNDArrayController.h"
#include "handset/HandsetLimits.h"

#include <QItemSelectionModel>
#include <QList>

#include <set>

class MyDocument;
class MemoryNumberFormatter;

// The bookmark table's model: the bookmarks of the current folder (the
// arrangement), in the document's list order, filtered from the document-wide
// list model, and every edit made through the table. Positions in the
// arrangement are mapped to positions in the document's full list; records are
// always found by identity. The selection is a QItemSelectionModel of the
// arrangement, which the table view shares.
class BookmarkController : public DNDArrayController
{
    Q_OBJECT
public:
    using Column = BookmarkListModel::Column;
    static constexpr Column NumberColumn = BookmarkListModel::NumberColumn;
    static constexpr Column NameColumn = BookmarkListModel::NameColumn;
    static constexpr Column LocationColumn = BookmarkListModel::LocationColumn;
    static constexpr int ColumnCount = BookmarkListModel::ColumnCount;
    static constexpr int MaxBookmarks = HandsetLimits::MaxBookmarks;

    explicit BookmarkController(MyDocument* document, QObject* parent = nullptr);
    ~BookmarkController() override;

    MyDocument* document() const { return m_document; }
    MemoryNumberFormatter* formatter() const { return m_formatter.get(); }

    int currentFolder() const { return m_currentFolder; }
    void setCurrentFolder(int folder);

    BookmarkPtr arrangedObject(int row) const override;
    // Arranges the rows anew from the document.
    void rearrangeObjects();
    BookmarkListModel* listModel() const { return m_list; }
    QItemSelectionModel* selectionModel() const { return m_selectionModel; }

    // A new record with the defaults: "untitled", "http://", the next free
    // memory number, the current folder. Not yet in any list.
    BookmarkPtr newObject() const override;
    void insertObject(const BookmarkPtr& bookmark, int arrangedIndex) override;
    void insertObjects(const BookmarkList& bookmarks, int arrangedIndex) override;
    void moveObjectsInArrangedObjectsFromIndexes(const std::set<int>& indexes, int toIndex) override;
    void restoreArrangementAndSelection();
    int room() const override;

    // What the handset check finds in the document, by record; the rows of such
    // records are marked (a tint, the findings as their tool tip).
    QStringList findingsFor(const AirHBookmark* bookmark) const { return m_list->findingsFor(bookmark); }
    static constexpr int FindingsRole = BookmarkListModel::FindingsRole;

    // Adding commands: the new record at the end of the arrangement, or before
    // the selection; removing the selected rows. Each is one undo step.
    void add();
    void insert();
    void remove();

    // Drops from outside this table are refused at 100 bookmarks.
    bool acceptDrop(const QMimeData& data, int row) override;
    // The clipboard: copy the selection, cut it (one undo step), paste after the
    // selection (or at the end) into the folder on screen, with free memory
    // numbers for those whose own are taken (one undo step).
    QMimeData* copySelection() const;
    void cutSelection();
    bool paste(const QMimeData& data);

    bool canAdd() const;
    bool canInsert() const;
    bool canRemove() const { return m_selectionModel->hasSelection(); }

    // The selection, in arranged indexes, as whole rows; the current index
    // follows its first row.
    std::set<int> selectionIndexes() const;
    void setSelectionIndexes(const std::set<int>& indexes) override;
    // The first selected arranged index, or -1.
    int selectionIndex() const;

    // QAbstractItemModel
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

protected:
    void showInserted(const BookmarkList& inserted) override;
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

signals:
    void selectionIndexesChanged();
    // A typed memory number was refused; error may be empty.
    void entryRefused(const QString& error);
    void availabilityChanged();
    // Records dropped from another document went to folders not on screen: the
    // window shows where (their folder, the rows selected).
    void revealRequested(const BookmarkList& bookmarks);

private:
    int fullListIndex(const AirHBookmark* bookmark) const;
    int fullListPosition(int arrangedIndex) const;
    // Moves a record in the document's list to just above or below another one.
    void moveNextTo(const BookmarkPtr& moved, const BookmarkPtr& anchor, bool below);

    MyDocument* m_document;
    BookmarkListModel* m_list;
    QItemSelectionModel* m_selectionModel;
    std::unique_ptr<MemoryNumberFormatter> m_formatter;
    int m_currentFolder = 0;
};
