#pragma once

#include "DNDArrayController.h"
#include <QList>

#include <set>
#include <unordered_map>

class MyDocument;
class MemoryNumberFormatter;

// The bookmark table's model: the bookmarks of the current folder (the
// arrangement), in the document's list order, and every edit made through the
// table. Positions in the arrangement are mapped to positions in the document's
// full list; records are always found by identity.
class BookmarkController : public DNDArrayController
{
    Q_OBJECT
public:
    enum Column { NumberColumn, NameColumn, LocationColumn, ColumnCount };
    static constexpr int MaxBookmarks = 100;

    explicit BookmarkController(MyDocument* document, QObject* parent = nullptr);
    ~BookmarkController() override;

    MyDocument* document() const { return m_document; }
    MemoryNumberFormatter* formatter() const { return m_formatter.get(); }

    int currentFolder() const { return m_currentFolder; }
    void setCurrentFolder(int folder);

    const BookmarkList& arrangedObjects() const override { return m_arranged; }
    // The records of list whose folder is the current one, in list order.
    BookmarkList arrangeObjects(const BookmarkList& list) const;
    void rearrangeObjects();

    // A new record with the defaults: "untitled", "http://", the next free
    // memory number, the current folder. Not yet in any list.
    BookmarkPtr newObject() const override;
    void insertObject(const BookmarkPtr& bookmark, int arrangedIndex) override;
    void removeObjectAtArrangedObjectIndex(int arrangedIndex);
    void moveObjectsInArrangedObjectsFromIndexes(const std::set<int>& indexes, int toIndex) override;
    void restoreArrangementAndSelection();
    int room() const override;

    // What the handset check finds in the document, by record; the rows of such
    // records are marked (a tint, the findings as their tool tip).
    QStringList findingsFor(const AirHBookmark* bookmark) const;
    static constexpr int FindingsRole = Qt::UserRole + 1;

    // Adding commands: the new record at the end of the arrangement, or before
    // the selection; removing the selected rows. Each is one undo step.
    void add();
    void insert();
    void remove();

    // Drops from outside this table are refused at 100 bookmarks.
    bool acceptDrop(const QMimeData& data, int row) override;
    // The clipboard: copy the selection, cut it (one undo step), paste above the
    // selection (or at the end).
    QMimeData* copySelection() const;
    void cutSelection();
    bool paste(const QMimeData& data);

    bool canAdd() const;
    bool canInsert() const;
    bool canRemove() const { return !m_selection.empty(); }

    // The selection, in arranged indexes. The table view follows it.
    const std::set<int>& selectionIndexes() const { return m_selection; }
    void setSelectionIndexes(const std::set<int>& indexes) override;
    // The first selected arranged index, or -1.
    int selectionIndex() const { return m_selection.empty() ? -1 : *m_selection.begin(); }

    // QAbstractItemModel
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void selectionIndexesChanged();
    // A typed memory number was refused; error may be empty.
    void entryRefused(const QString& error);
    void availabilityChanged();

private:
    int fullListIndex(const AirHBookmark* bookmark) const;
    void scheduleCheck();
    void runCheck();

    MyDocument* m_document;
    std::unique_ptr<MemoryNumberFormatter> m_formatter;
    int m_currentFolder = 0;
    BookmarkList m_arranged;
    std::set<int> m_selection;
    std::unordered_map<const AirHBookmark*, QStringList> m_findings;
    bool m_checkScheduled = false;
};
