#include "BookmarkController.h"

#include "BookmarkPasteboard.h"
#include "HandsetCheck.h"
#include "MemoryNumberFormatter.h"
#include "MyDocument.h"

#include <QColor>
#include <QMimeData>

#include <algorithm>

BookmarkController::BookmarkController(MyDocument* document, QObject* parent)
    : DNDArrayController(parent), m_document(document),
      m_formatter(std::make_unique<MemoryNumberFormatter>(document, this))
{
    connect(document, &MyDocument::bookmarkListReset, this, [this] {
        setSelectionIndexes({});
        rearrangeObjects();
    });
    connect(document, &MyDocument::bookmarkInserted, this, &BookmarkController::rearrangeObjects);
    connect(document, &MyDocument::bookmarkRemoved, this, &BookmarkController::rearrangeObjects);
    connect(document, &MyDocument::bookmarkChanged, this, [this](AirHBookmark* b, const QString& key) {
        if (key == AirHBookmark::FolderKey) {
            rearrangeObjects();
            return;
        }
        const auto it = std::find_if(m_arranged.begin(), m_arranged.end(),
                                     [b](const BookmarkPtr& p) { return p.get() == b; });
        if (it == m_arranged.end())
            return;
        const int row = int(it - m_arranged.begin());
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    });
    connect(document, &MyDocument::bookmarkListReset, this, &BookmarkController::scheduleCheck);
    connect(document, &MyDocument::bookmarkInserted, this, &BookmarkController::scheduleCheck);
    connect(document, &MyDocument::bookmarkRemoved, this, &BookmarkController::scheduleCheck);
    connect(document, &MyDocument::bookmarkChanged, this, &BookmarkController::scheduleCheck);
    rearrangeObjects();
    runCheck();
}

int BookmarkController::room() const
{
    return std::max(0, MaxBookmarks - int(m_document->bookmarkList().size()));
}

// Checked once per event, however many records an operation changes.
void BookmarkController::scheduleCheck()
{
    if (m_checkScheduled)
        return;
    m_checkScheduled = true;
    QMetaObject::invokeMethod(this, &BookmarkController::runCheck, Qt::QueuedConnection);
}

void BookmarkController::runCheck()
{
    m_checkScheduled = false;
    std::unordered_map<const AirHBookmark*, QStringList> findings;
    for (const HandsetCheck::Finding& f : HandsetCheck::check(m_document->bookmarkList()))
        if (f.bookmark)
            findings[f.bookmark.get()] << f.message;
    if (findings == m_findings)
        return;
    m_findings = std::move(findings);
    if (!m_arranged.isEmpty())
        emit dataChanged(index(0, 0), index(int(m_arranged.size()) - 1, ColumnCount - 1));
}

QStringList BookmarkController::findingsFor(const AirHBookmark* bookmark) const
{
    const auto it = m_findings.find(bookmark);
    return it == m_findings.end() ? QStringList() : it->second;
}

BookmarkController::~BookmarkController() = default;

void BookmarkController::setCurrentFolder(int folder)
{
    if (folder == m_currentFolder)
        return;
    m_currentFolder = folder;
    setSelectionIndexes({});
    rearrangeObjects();
}

BookmarkList BookmarkController::arrangeObjects(const BookmarkList& list) const
{
    BookmarkList kept;
    kept.reserve(list.size());
    for (const BookmarkPtr& b : list)
        if (b->folder() == m_currentFolder)
            kept << b;
    return kept;
}

void BookmarkController::rearrangeObjects()
{
    BookmarkList arranged = arrangeObjects(m_document->bookmarkList());
    // Keep the selected records selected where they still are.
    BookmarkList selected;
    for (int i : m_selection)
        if (i < m_arranged.size())
            selected << m_arranged.at(i);
    beginResetModel();
    m_arranged = std::move(arranged);
    endResetModel();
    std::set<int> selection;
    for (const BookmarkPtr& b : selected) {
        const qsizetype i = m_arranged.indexOf(b);
        if (i >= 0)
            selection.insert(int(i));
    }
    m_selection = std::move(selection);
    emit selectionIndexesChanged();
    emit availabilityChanged();
}

int BookmarkController::fullListIndex(const AirHBookmark* bookmark) const
{
    const BookmarkList& list = m_document->bookmarkList();
    for (int i = 0; i < list.size(); ++i)
        if (list.at(i).get() == bookmark)
            return i;
    return -1;
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

void BookmarkController::insertObject(const BookmarkPtr& bookmark, int arrangedIndex)
{
    const int n = int(m_arranged.size());
    int at = 0;
    if (arrangedIndex >= 0 && arrangedIndex < n)
        at = fullListIndex(m_arranged.at(arrangedIndex).get());
    else if (n > 0)
        at = fullListIndex(m_arranged.last().get()) + 1;
    m_document->insertObjectInBookmarkList(bookmark, at);
    rearrangeObjects();
}

void BookmarkController::removeObjectAtArrangedObjectIndex(int arrangedIndex)
{
    if (arrangedIndex < 0 || arrangedIndex >= m_arranged.size())
        return;
    const int at = fullListIndex(m_arranged.at(arrangedIndex).get());
    if (at >= 0)
        m_document->removeObjectFromBookmarkListAtIndex(at);
    rearrangeObjects();
}

void BookmarkController::moveObjectsInArrangedObjectsFromIndexes(const std::set<int>& indexes, int toIndex)
{
    UndoManager* undo = m_document->undoManager();
    undo->registerUndo(this, [this] { restoreArrangementAndSelection(); });
    const int n = int(m_arranged.size());
    const int target = std::clamp(toIndex, 0, n);
    int above = 0;
    int below = 0;
    for (int i : indexes) {
        if (i < 0 || i >= n)
            continue;
        if (i < target) {
            const int p = i - above;
            ++above;
            const BookmarkPtr anchor = m_arranged.at(target - 1);
            if (p == target - 1)
                continue; // already right above the target
            const BookmarkPtr moved = m_arranged.at(p);
            removeObjectAtArrangedObjectIndex(p);
            m_document->insertObjectInBookmarkList(moved, fullListIndex(anchor.get()) + 1);
            rearrangeObjects();
        } else {
            const int q = target + below;
            ++below;
            if (q == n - 1)
                continue; // the last row, already after the rows placed before it
            const BookmarkPtr moved = m_arranged.at(i);
            removeObjectAtArrangedObjectIndex(i);
            const BookmarkPtr anchor = m_arranged.at(q);
            m_document->insertObjectInBookmarkList(moved, fullListIndex(anchor.get()));
            rearrangeObjects();
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
    insertObject(b, int(m_arranged.size()));
    setSelectionIndexes({int(m_arranged.indexOf(b))});
}

void BookmarkController::insert()
{
    if (!canInsert())
        return;
    const int at = m_selection.empty() ? int(m_arranged.size()) : *m_selection.begin();
    const BookmarkPtr b = newObject();
    insertObject(b, at);
    setSelectionIndexes({int(m_arranged.indexOf(b))});
}

void BookmarkController::remove()
{
    // The records first: each removal changes the indexes of the rest.
    BookmarkList doomed;
    for (int i : m_selection)
        if (i < m_arranged.size())
            doomed << m_arranged.at(i);
    for (const BookmarkPtr& b : doomed) {
        const int at = fullListIndex(b.get());
        if (at >= 0)
            m_document->removeObjectFromBookmarkListAtIndex(at);
    }
    setSelectionIndexes({});
    rearrangeObjects();
}

bool BookmarkController::acceptDrop(const QMimeData& data, int row)
{
    if (!BookmarkPasteboard::isFrom(data, this) && room() <= 0) {
        reportLeftOut(
            std::max<qsizetype>(1, BookmarkPasteboard::copiedRows(data).value_or(BookmarkList()).size()));
        return false;
    }
    return DNDArrayController::acceptDrop(data, row);
}

QMimeData* BookmarkController::copySelection() const
{
    return writeRows(QList<int>(m_selection.begin(), m_selection.end()));
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
            std::max<qsizetype>(1, BookmarkPasteboard::copiedRows(data).value_or(BookmarkList()).size()));
        return false;
    }
    const int row = m_selection.empty() ? int(m_arranged.size()) : *m_selection.begin();
    // Pasted rows are copies even when they came from this table.
    if (const std::optional<BookmarkList> copies = BookmarkPasteboard::copiedRows(data))
        return insertCopies(*copies, row);
    QMimeData links;
    for (const QString& format : data.formats())
        if (format != BookmarkPasteboard::MovedRowsType && format != BookmarkPasteboard::SourceType)
            links.setData(format, data.data(format));
    return DNDArrayController::acceptDrop(links, row);
}

bool BookmarkController::canAdd() const
{
    return m_document->bookmarkList().size() < MaxBookmarks;
}

bool BookmarkController::canInsert() const
{
    return canAdd();
}

void BookmarkController::setSelectionIndexes(const std::set<int>& indexes)
{
    std::set<int> valid;
    for (int i : indexes)
        if (i >= 0 && i < m_arranged.size())
            valid.insert(i);
    if (valid == m_selection)
        return;
    m_selection = valid;
    emit selectionIndexesChanged();
    emit availabilityChanged();
}

int BookmarkController::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_arranged.size());
}

int BookmarkController::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BookmarkController::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_arranged.size())
        return {};
    const AirHBookmark& b = *m_arranged.at(index.row());
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        switch (index.column()) {
        case NumberColumn:
            return role == Qt::DisplayRole ? QVariant(m_formatter->stringForObjectValue(b.number()))
                                           : QVariant(QString::number(b.number()));
        case NameColumn:
            return b.bookmarkName();
        case LocationColumn:
            return b.location();
        default:
            break;
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() == NumberColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    const QStringList findings = findingsFor(&b);
    if (role == FindingsRole)
        return findings;
    if (role == Qt::BackgroundRole && !findings.isEmpty())
        return QColor(255, 228, 200); // a row the handset cannot take as it is
    if (role == Qt::ToolTipRole && !findings.isEmpty())
        return findings.join(QLatin1Char('\n'));
    if (role == Qt::ToolTipRole && index.column() == LocationColumn)
        return b.location();
    return {};
}

bool BookmarkController::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= m_arranged.size())
        return false;
    const BookmarkPtr b = m_arranged.at(index.row());
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

QVariant BookmarkController::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case NumberColumn:
        return tr("No.");
    case NameColumn:
        return tr("Name");
    case LocationColumn:
        return tr("Location");
    default:
        return {};
    }
}

Qt::ItemFlags BookmarkController::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
}
