#include "controllers/BookmarkController.h"

#include "controllers/BookmarkPasteboard.h"
#include "controllers/MemoryNumberFormatter.h"
#include "document/MyDocument.h"

#include <QMimeData>

#include <algorithm>

BookmarkController::BookmarkController(MyDocument* document, QObject* parent)
    : DNDArrayController(parent), m_document(document), m_list(new BookmarkListModel(document, this)),
      m_selectionModel(new QItemSelectionModel(this, this)),
      m_formatter(std::make_unique<MemoryNumberFormatter>(document, this))
{
    // Rows come and go with the document's list and the records' folders.
    setDynamicSortFilter(true);
    setSourceModel(m_list);
    connect(m_selectionModel, &QItemSelectionModel::selectionChanged, this, [this] {
        emit selectionIndexesChanged();
        emit availabilityChanged();
    });
    // Whether one more fits depends on the whole list, not only on these rows.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_list, signal, this, &BookmarkController::availabilityChanged);
    connect(m_list, &QAbstractItemModel::modelReset, this, &BookmarkController::availabilityChanged);
}

BookmarkController::~BookmarkController() = default;

int BookmarkController::room() const
{
    return std::max(0, MaxBookmarks - int(m_document->bookmarkList().size()));
}

bool BookmarkController::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    return m_list->folderOf(sourceRow) == m_currentFolder;
}

BookmarkPtr BookmarkController::arrangedObject(int row) const
{
    return m_list->record(mapToSource(index(row, 0)).row());
}

void BookmarkController::setCurrentFolder(int folder)
{
    if (folder == m_currentFolder)
        return;
    m_currentFolder = folder;
    setSelectionIndexes({});
    rearrangeObjects();
}

void BookmarkController::rearrangeObjects()
{
    invalidateFilter();
    emit availabilityChanged();
}

int BookmarkController::fullListIndex(const AirHBookmark* bookmark) const
{
    // The list model's rows are the document's list whenever no change is under way.
    return m_list->rowOf(bookmark);
}

BookmarkPtr BookmarkController::newObject() const
{
    auto b = std::make_shared<Bookmark>();
    b->setBookmarkName(tr("untitled"));
    b->setLocation(QStringLiteral("http://"));
    b->setNumber(m_document->generateUniqueMemoryNumber());
    b->setFolder(m_currentFolder);
    return b;
}

// Where a row shown at arrangedIndex stands in the document's whole list; past
// the folder's last row (or any index out of range) is just after that row.
int BookmarkController::fullListPosition(int arrangedIndex) const
{
    const int n = rowCount();
    if (arrangedIndex >= 0 && arrangedIndex < n)
        return fullListIndex(arrangedObject(arrangedIndex).get());
    return n > 0 ? fullListIndex(arrangedObject(n - 1).get()) + 1 : 0;
}

void BookmarkController::insertObject(const BookmarkPtr& bookmark, int arrangedIndex)
{
    const int at = fullListPosition(arrangedIndex);
    m_document->insertObjectInBookmarkList(bookmark, at);
}

void BookmarkController::insertObjects(const BookmarkList& bookmarks, int arrangedIndex)
{
    if (bookmarks.isEmpty())
        return;
    const int at = fullListPosition(arrangedIndex);
    QList<int> indexes;
    for (int i = 0; i < bookmarks.size(); ++i)
        indexes << at + i;
    m_document->insertBookmarks(bookmarks, indexes);
}

void BookmarkController::moveNextTo(const BookmarkPtr& moved, const BookmarkPtr& anchor, bool below)
{
    const int from = fullListIndex(moved.get());
    const int a = fullListIndex(anchor.get());
    if (from < 0 || a < 0)
        return;
    // Where the anchor stands once the moved record is out of the list.
    const int anchorAfter = from < a ? a - 1 : a;
    m_document->moveObjectInBookmarkList(from, below ? anchorAfter + 1 : anchorAfter);
}

void BookmarkController::moveObjectsInArrangedObjectsFromIndexes(const std::set<int>& indexes, int toIndex)
{
    UndoManager* undo = m_document->undoManager();
    undo->registerUndo(this, [this] { restoreArrangementAndSelection(); });
    const int n = rowCount();
    const int target = std::clamp(toIndex, 0, n);
    int above = 0;
    int below = 0;
    for (int i : indexes) {
        if (i < 0 || i >= n)
            continue;
        if (i < target) {
            // Rows above the target go, one after the other, right above it.
            const int p = i - above;
            ++above;
            if (p == target - 1)
                continue; // already right above the target
            moveNextTo(arrangedObject(p), arrangedObject(target - 1), true);
        } else {
            // Rows below it go, in order, right below the rows placed before them.
            const int q = target + below;
            ++below;
            if (q == n - 1)
                continue; // the last row, already after the rows placed before it
            const BookmarkPtr moved = arrangedObject(i);
            // The row at q once the moved one is out of the arrangement.
            moveNextTo(moved, arrangedObject(q < i ? q : q + 1), false);
        }
    }
    restoreArrangementAndSelection();
}

void BookmarkController::restoreArrangementAndSelection()
{
    UndoManager* undo = m_document->undoManager();
    undo->registerUndo(this, [this] { restoreArrangementAndSelection(); });
    setSelectionIndexes({});
    undo->setActionName(tr("Move"));
}

void BookmarkController::add()
{
    if (!canAdd())
        return;
    const BookmarkPtr b = newObject();
    insertObject(b, rowCount());
    setSelectionIndexes({arrangedIndexOf(b.get())});
}

void BookmarkController::insert()
{
    if (!canInsert())
        return;
    const int at = selectionIndex() < 0 ? rowCount() : selectionIndex();
    const BookmarkPtr b = newObject();
    insertObject(b, at);
    setSelectionIndexes({arrangedIndexOf(b.get())});
}

void BookmarkController::remove()
{
    // Arranged rows keep the list's order: their rows in the list ascend with them.
    QList<int> doomed;
    for (int i : selectionIndexes())
        doomed << mapToSource(index(i, 0)).row();
    setSelectionIndexes({});
    m_document->removeBookmarks(doomed);
}

// How many bookmarks a full document leaves out of data (counted, not built).
static qsizetype copiedCount(const QMimeData& data)
{
    const auto copies = BookmarkPasteboard::copiedRows(data, 0);
    return std::max<qsizetype>(1, copies ? copies->total : 0);
}

bool BookmarkController::acceptDrop(const QMimeData& data, int row)
{
    if (!BookmarkPasteboard::isFrom(data, this) && room() <= 0) {
        reportLeftOut(
            copiedCount(data));
        return false;
    }
    return DNDArrayController::acceptDrop(data, row);
}

QMimeData* BookmarkController::copySelection() const
{
    const std::set<int> rows = selectionIndexes();
    return writeRows(QList<int>(rows.begin(), rows.end()));
}

void BookmarkController::cutSelection()
{
    remove();
    m_document->undoManager()->setActionName(tr("Cut"));
}

bool BookmarkController::paste(const QMimeData& data)
{
    if (room() <= 0) {
        reportLeftOut(
            copiedCount(data));
        return false;
    }
    const std::set<int> selected = selectionIndexes();
    const int row = selected.empty() ? rowCount() : *selected.rbegin() + 1;
    // Pasted rows are copies even when they came from this table. They go where
    // the user looks, unlike dragged ones, which keep their folder and number.
    if (const auto copied = BookmarkPasteboard::copiedRows(data, std::max<qsizetype>(room(), 0))) {
        const BookmarkList* copies = &copied->records;
        const qsizetype fitting = std::clamp<qsizetype>(room(), 0, copies->size());
        reportLeftOut(copied->total - fitting);
        std::set<int> selection;
        for (int i = 0; i < fitting; ++i) {
            const BookmarkPtr& b = copies->at(i);
            b->setFolder(m_currentFolder);
            if (m_document->isExistMemoryNumber(b->number(), nullptr))
                b->setNumber(m_document->generateUniqueMemoryNumber());
            insertObject(b, row + i);
            selection.insert(row + i);
        }
        setSelectionIndexes(selection);
        m_document->undoManager()->setActionName(tr("Paste"));
        return fitting > 0;
    }
    QMimeData links;
    for (const QString& format : data.formats())
        if (format != BookmarkPasteboard::MovedRowsType && format != BookmarkPasteboard::SourceType)
            links.setData(format, data.data(format));
    const bool pasted = DNDArrayController::acceptDrop(links, row);
    m_document->undoManager()->setActionName(tr("Paste"));
    return pasted;
}

void BookmarkController::showInserted(const BookmarkList& inserted)
{
    if (std::all_of(inserted.begin(), inserted.end(),
                    [this](const BookmarkPtr& b) { return b->folder() == m_currentFolder; }))
        DNDArrayController::showInserted(inserted);
    else
        emit revealRequested(inserted);
}

bool BookmarkController::canAdd() const
{
    return m_document->bookmarkList().size() < MaxBookmarks;
}

bool BookmarkController::canInsert() const
{
    return canAdd();
}

std::set<int> BookmarkController::selectionIndexes() const
{
    // By range: a selection of thousands of rows is a handful of ranges, not an index per cell.
    std::set<int> rows;
    for (const QItemSelectionRange& range : m_selectionModel->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.insert(rows.end(), row);
    return rows;
}

int BookmarkController::selectionIndex() const
{
    const std::set<int> rows = selectionIndexes();
    return rows.empty() ? -1 : *rows.begin();
}

void BookmarkController::setSelectionIndexes(const std::set<int>& indexes)
{
    std::set<int> valid;
    for (int i : indexes)
        if (i >= 0 && i < rowCount())
            valid.insert(i);
    if (valid == selectionIndexes())
        return;
    // One range per run of rows: the views and the selection model work per range.
    QItemSelection selection;
    for (auto it = valid.begin(); it != valid.end();) {
        const int first = *it;
        int last = first;
        while (++it != valid.end() && *it == last + 1)
            ++last;
        selection.select(index(first, 0), index(last, ColumnCount - 1));
    }
    m_selectionModel->select(selection, QItemSelectionModel::ClearAndSelect);
    // The current row stays where it is when it is among the selected ones (a
    // dragged row that was moved), else it goes to the first of them.
    if (!valid.empty() && !valid.count(m_selectionModel->currentIndex().row()))
        m_selectionModel->setCurrentIndex(index(*valid.begin(), NameColumn), QItemSelectionModel::NoUpdate);
}

bool BookmarkController::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount())
        return false;
    const BookmarkPtr b = arrangedObject(index.row());
    switch (index.column()) {
    case NumberColumn: {
        // The formatter judges the bookmark being edited as the selected one.
        if (selectionIndex() != index.row())
            setSelectionIndexes({index.row()});
        int number = 0;
        QString error;
        if (!m_formatter->getObjectValue(&number, value.toString(), &error)) {
            emit entryRefused(error);
            return false;
        }
        b->setNumber(number);
        return true;
    }
    case NameColumn:
        b->setBookmarkName(value.toString());
        return true;
    case LocationColumn:
        b->setLocation(value.toString());
        return true;
    default:
        return false;
    }
}

Qt::ItemFlags BookmarkController::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
}
