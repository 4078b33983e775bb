#include "document/MyDocument.h"

#include "document/KeyedArchive.h"
#include "io/AtomicFile.h"
#include "io/OutsideFile.h"

#include <algorithm>
#include <limits>

namespace
{

const QString RootKey = QStringLiteral("root");
const QStringList ArrayChain{"NSArray", "NSObject"};
const QStringList MutableArrayChain{"NSMutableArray", "NSArray", "NSObject"};

ArchivedRef archivedString(const QString& s)
{
    return s.isNull() ? ArchivedValue::nil() : ArchivedValue::makeString(s);
}

ArchivedRef archivedBookmark(const AirHBookmark& b)
{
    ArchivedRef v = ArchivedValue::makeObject(b.className(), b.classChain());
    v->fields.append({QStringLiteral("name"), archivedString(b.bookmarkName())});
    v->fields.append({QStringLiteral("location"), archivedString(b.location())});
    v->fields.append({QStringLiteral("number"), ArchivedValue::makeInteger(b.number())});
    v->fields.append({QStringLiteral("folder"), ArchivedValue::makeInteger(b.folder())});
    return v;
}

struct LoadError {
    QString message;
};

QString stringField(const ArchivedValue& record, const QString& key)
{
    const ArchivedRef v = record.field(key);
    if (!v || v->kind == ArchivedValue::Kind::Nil)
        return QString();
    if (v->kind != ArchivedValue::Kind::String)
        throw LoadError{QObject::tr("A bookmark's %1 is not text.").arg(key)};
    // An empty text read from the file is still a text, not a missing one.
    return v->string.isNull() ? QStringLiteral("") : v->string;
}

qint32 integerField(const ArchivedValue& record, const QString& key)
{
    const ArchivedRef v = record.field(key);
    if (!v)
        return 0;
    if (v->kind != ArchivedValue::Kind::Integer)
        throw LoadError{QObject::tr("A bookmark's %1 is not a whole number.").arg(key)};
    if (v->integer < std::numeric_limits<qint32>::min() || v->integer > std::numeric_limits<qint32>::max())
        throw LoadError{QObject::tr("A bookmark's %1 is out of range.").arg(key)};
    return qint32(v->integer);
}

BookmarkPtr bookmarkFrom(const ArchivedValue& record)
{
    BookmarkPtr b;
    if (record.className == QLatin1String("Bookmark"))
        b = std::make_shared<Bookmark>();
    else if (record.className == QLatin1String("AirHBookmark"))
        b = std::make_shared<AirHBookmark>();
    else
        throw LoadError{QObject::tr("The bookmark list holds an object of class %1.").arg(record.className)};
    // Set in the order an unarchived record is initialised: a missing text stays missing.
    b->setBookmarkName(stringField(record, QStringLiteral("name")));
    b->setLocation(stringField(record, QStringLiteral("location")));
    b->setNumber(integerField(record, QStringLiteral("number")));
    b->setFolder(integerField(record, QStringLiteral("folder")));
    return b;
}

// A record read straight from the archive, without a value tree for it.
BookmarkPtr bookmarkFrom(KeyedUnarchiver& archive, quint64 uid)
{
    QString className;
    QString name, location;
    qint32 number = 0, folder = 0;
    auto text = [](const QString& key, const KeyedUnarchiver::Field& f) {
        if (f.kind == KeyedUnarchiver::Field::Kind::Nil)
            return QString();
        if (f.kind != KeyedUnarchiver::Field::Kind::String)
            throw LoadError{QObject::tr("A bookmark's %1 is not text.").arg(key)};
        return f.string.isNull() ? QStringLiteral("") : f.string;
    };
    auto whole = [](const QString& key, const KeyedUnarchiver::Field& f) {
        if (f.kind != KeyedUnarchiver::Field::Kind::Integer)
            throw LoadError{QObject::tr("A bookmark's %1 is not a whole number.").arg(key)};
        if (f.integer < std::numeric_limits<qint32>::min() || f.integer > std::numeric_limits<qint32>::max())
            throw LoadError{QObject::tr("A bookmark's %1 is out of range.").arg(key)};
        return qint32(f.integer);
    };
    const bool object =
        archive.readFields(uid, &className, [&](const QString& key, const KeyedUnarchiver::Field& f) {
            if (key == QLatin1String("name"))
                name = text(key, f);
            else if (key == QLatin1String("location"))
                location = text(key, f);
            else if (key == QLatin1String("number"))
                number = whole(key, f);
            else if (key == QLatin1String("folder"))
                folder = whole(key, f);
        });
    if (!object)
        throw LoadError{QObject::tr("The bookmark list holds something other than bookmarks.")};
    BookmarkPtr b;
    if (className == QLatin1String("Bookmark"))
        b = std::make_shared<Bookmark>();
    else if (className == QLatin1String("AirHBookmark"))
        b = std::make_shared<AirHBookmark>();
    else
        throw LoadError{QObject::tr("The bookmark list holds an object of class %1.").arg(className)};
    b->setBookmarkName(name);
    b->setLocation(location);
    b->setNumber(number);
    b->setFolder(folder);
    return b;
}

} // namespace

MyDocument::MyDocument(QObject* parent) : QObject(parent), m_folderList(defaultFolderList())
{
    connect(&m_undoManager, &UndoManager::historyChanged, this, [this] {
        const bool modified = m_undoManager.isModified();
        if (modified != m_lastModified) {
            m_lastModified = modified;
            emit modifiedChanged(modified);
        }
    });
}

MyDocument::~MyDocument()
{
    for (const BookmarkPtr& b : std::as_const(m_bookmarkList))
        stopObservingBookmark(b.get());
}

QString MyDocument::leftOutText(qint64 count)
{
    const int n = int(std::min<qint64>(count, std::numeric_limits<int>::max()));
    return tr("%n bookmark(s) were left out: the AIR-EDGE PHONE holds at most 100.", nullptr, n);
}

qsizetype MyDocument::keepWhatFits(BookmarkList& list)
{
    const qsizetype leftOut = std::max<qsizetype>(0, list.size() - MaxBookmarks);
    if (leftOut > 0)
        list.resize(MaxBookmarks);
    return leftOut;
}

QStringList MyDocument::defaultFolderList()
{
    QStringList folders;
    for (int i = 0; i < FolderCount; ++i)
        folders << QString::asprintf("%02d", i);
    return folders;
}

void MyDocument::setBookmarkList(const BookmarkList& list)
{
    if (list == m_bookmarkList)
        return;
    for (const BookmarkPtr& b : std::as_const(m_bookmarkList))
        stopObservingBookmark(b.get());
    m_bookmarkList = list;
    for (const BookmarkPtr& b : std::as_const(m_bookmarkList))
        startObservingBookmark(b.get());
    m_undoManager.removeAllActions();
    emit bookmarkListReset();
}

void MyDocument::replaceBookmarkList(const BookmarkList& list, const QString& actionName)
{
    m_undoManager.beginGrouping();
    swapBookmarkList(list);
    m_undoManager.setActionName(actionName);
    m_undoManager.endGrouping();
}

void MyDocument::swapBookmarkList(const BookmarkList& list)
{
    m_undoManager.registerUndo(this, [this, former = m_bookmarkList] { swapBookmarkList(former); });
    for (const BookmarkPtr& b : std::as_const(m_bookmarkList))
        stopObservingBookmark(b.get());
    m_bookmarkList = list;
    for (const BookmarkPtr& b : std::as_const(m_bookmarkList))
        startObservingBookmark(b.get());
    emit bookmarkListReset();
}

void MyDocument::insertObjectInBookmarkList(const BookmarkPtr& bookmark, int index)
{
    if (!bookmark)
        return;
    insertBookmarks({bookmark}, {index});
}

void MyDocument::removeObjectFromBookmarkListAtIndex(int index)
{
    removeBookmarks({index});
}

namespace
{
// Strictly ascending indexes below end.
bool ascendingBelow(const QList<int>& indexes, qsizetype end)
{
    for (qsizetype i = 0; i < indexes.size(); ++i)
        if (indexes[i] < 0 || indexes[i] >= end || (i > 0 && indexes[i] <= indexes[i - 1]))
            return false;
    return true;
}

// Calls f(first, last) for each run of consecutive indexes.
template <typename F> void forEachRun(const QList<int>& indexes, bool descending, F&& f)
{
    QList<std::pair<int, int>> runs;
    for (int i : indexes) {
        if (!runs.isEmpty() && runs.last().second + 1 == i)
            runs.last().second = i;
        else
            runs.append({i, i});
    }
    if (descending)
        std::reverse(runs.begin(), runs.end());
    for (const auto& [first, last] : runs)
        f(first, last);
}
} // namespace

void MyDocument::insertBookmarks(const BookmarkList& records, const QList<int>& indexes)
{
    if (records.isEmpty() || records.size() != indexes.size() ||
        !ascendingBelow(indexes, m_bookmarkList.size() + records.size()) ||
        std::any_of(records.begin(), records.end(), [](const BookmarkPtr& b) { return !b; }))
        return;
    m_undoManager.registerUndo(this, [this, indexes] { removeBookmarks(indexes); });
    if (!m_undoManager.isUndoing())
        m_undoManager.setActionName(tr("Insert Bookmark"));
    // One pass from the end, in place: each old record moves down past the new
    // ones still to come before it (moved, not copied: no count of references
    // changes for the records that stay).
    qsizetype old = m_bookmarkList.size();
    m_bookmarkList.resize(old + records.size());
    for (qsizetype k = records.size() - 1, to = m_bookmarkList.size() - 1; k >= 0; --k) {
        while (to > indexes[k])
            m_bookmarkList[to--] = std::move(m_bookmarkList[--old]);
        startObservingBookmark(records.at(k).get());
        m_bookmarkList[to--] = records.at(k);
    }
    forEachRun(indexes, false, [this](int first, int last) { emit bookmarksInserted(first, last); });
}

void MyDocument::removeBookmarks(const QList<int>& indexes)
{
    if (indexes.isEmpty() || !ascendingBelow(indexes, m_bookmarkList.size()))
        return;
    // In place: the records that stay move up over those that go.
    BookmarkList removed;
    removed.reserve(indexes.size());
    qsizetype k = 0, to = indexes.first();
    for (qsizetype i = to; i < m_bookmarkList.size(); ++i) {
        if (k < indexes.size() && indexes[k] == i) {
            removed.append(std::move(m_bookmarkList[i]));
            ++k;
        } else {
            m_bookmarkList[to++] = std::move(m_bookmarkList[i]);
        }
    }
    m_bookmarkList.resize(to);
    m_undoManager.registerUndo(this, [this, removed, indexes] { insertBookmarks(removed, indexes); });
    if (!m_undoManager.isUndoing())
        m_undoManager.setActionName(tr("Delete Bookmark"));
    for (const BookmarkPtr& b : std::as_const(removed))
        stopObservingBookmark(b.get());
    forEachRun(indexes, true, [this](int first, int last) { emit bookmarksRemoved(first, last); });
}

void MyDocument::moveObjectInBookmarkList(int from, int to)
{
    const int n = int(m_bookmarkList.size());
    if (from < 0 || from >= n || to < 0 || to >= n || from == to)
        return;
    m_undoManager.registerUndo(this, [this, from, to] { moveObjectInBookmarkList(to, from); });
    if (!m_undoManager.isUndoing())
        m_undoManager.setActionName(tr("Move"));
    m_bookmarkList.move(from, to);
    emit bookmarkMoved(from, to);
}

void MyDocument::setFolderList(const QStringList& list)
{
    if (list == m_folderList)
        return;
    m_folderList = list;
    emit folderListChanged();
}

void MyDocument::changeFolderList(const QStringList& list)
{
    if (list == m_folderList)
        return;
    m_undoManager.registerUndo(this, [this, former = m_folderList] { changeFolderList(former); });
    setFolderList(list);
}

void MyDocument::renameFolder(int index, const QString& name)
{
    if (index < 0 || index >= m_folderList.size() || name == m_folderList.at(index))
        return;
    QStringList renamed = m_folderList;
    renamed[index] = name;
    m_undoManager.beginGrouping();
    changeFolderList(renamed);
    m_undoManager.setActionName(tr("Rename Folder"));
    m_undoManager.endGrouping();
}

void MyDocument::addBookmarks(const BookmarkList& added, const QStringList& folders,
                              const QString& actionName)
{
    m_undoManager.beginGrouping();
    changeFolderList(folders);
    QList<int> indexes;
    for (qsizetype i = 0; i < added.size(); ++i)
        indexes << int(m_bookmarkList.size() + i);
    insertBookmarks(added, indexes);
    m_undoManager.setActionName(actionName);
    m_undoManager.endGrouping();
}

void MyDocument::insertObjectInFolderList(const QString& name, int index)
{
    if (index < 0 || index > m_folderList.size())
        return;
    m_folderList.insert(index, name);
    emit folderListChanged();
}

void MyDocument::removeObjectFromFolderListAtIndex(int index)
{
    if (index < 0 || index >= m_folderList.size())
        return;
    m_folderList.removeAt(index);
    emit folderListChanged();
}

void MyDocument::startObservingBookmark(AirHBookmark* bookmark)
{
    for (const QString& key : AirHBookmark::keys())
        bookmark->addObserver(this, key);
}

void MyDocument::stopObservingBookmark(AirHBookmark* bookmark)
{
    for (const QString& key : AirHBookmark::keys())
        bookmark->removeObserver(this, key);
}

void MyDocument::observeValueForKeyPath(const QString& key, AirHBookmark* bookmark, const QVariant& oldValue)
{
    const BookmarkPtr record = bookmark->shared_from_this();
    m_undoManager.registerUndo(this, [this, key, record, oldValue] { changeKeyPath(key, record, oldValue); });
    if (!m_undoManager.isUndoing())
        m_undoManager.setActionName(tr("Edit"));
    emit bookmarkChanged(bookmark, key);
}

void MyDocument::changeKeyPath(const QString& key, const BookmarkPtr& bookmark, const QVariant& value)
{
    bookmark->setValue(key, value);
}

int MyDocument::generateUniqueMemoryNumber() const
{
    std::vector<qint32> numbers;
    numbers.reserve(size_t(m_bookmarkList.size()));
    for (const BookmarkPtr& b : m_bookmarkList)
        numbers.push_back(b->number());
    if (numbers.empty())
        return 0;
    std::sort(numbers.begin(), numbers.end());
    // A free number above the largest one comes before a gap lower down.
    const qint64 next = qint64(numbers.back()) + 1;
    if (next <= 99)
        return int(next);
    for (size_t i = 0; i < numbers.size(); ++i)
        if (numbers[i] != qint64(i))
            return int(i);
    return -1;
}

bool MyDocument::isExistMemoryNumber(qint32 number, const AirHBookmark* without) const
{
    return std::any_of(m_bookmarkList.begin(), m_bookmarkList.end(),
                       [&](const BookmarkPtr& b) { return b.get() != without && b->number() == number; });
}

void MyDocument::renumberBookmarks()
{
    for (int k = 0; k < m_bookmarkList.size(); ++k)
        m_bookmarkList.at(k)->setNumber(k);
    m_undoManager.setActionName(tr("Renumber"));
}

QByteArray MyDocument::dataRepresentation()
{
    emit commitEditingRequested();
    // Numbered as Apple's archiver numbers them: each container before its contents.
    KeyedArchiver archive;
    const quint64 root = archive.reserveArray();
    const quint64 list = archive.reserveArray();
    std::vector<quint64> records;
    records.reserve(size_t(m_bookmarkList.size()));
    std::vector<KeyedArchiver::Field> fields(4);
    fields[0].key = QStringLiteral("name");
    fields[1].key = QStringLiteral("location");
    fields[2].key = QStringLiteral("number");
    fields[3].key = QStringLiteral("folder");
    fields[2].kind = fields[3].kind = KeyedArchiver::Field::Kind::Integer;
    archive.reserveRecords(m_bookmarkList.size(), int(fields.size()));
    QString lastClass;
    QStringList lastChain;
    for (const BookmarkPtr& b : std::as_const(m_bookmarkList)) {
        fields[0].text = b->bookmarkName();
        fields[1].text = b->location();
        fields[2].integer = b->number();
        fields[3].integer = b->folder();
        if (const QString name = b->className(); name != lastClass) {
            lastClass = name;
            lastChain = b->classChain();
        }
        records.push_back(archive.addObject(lastClass, lastChain, fields));
    }
    archive.setArray(list, QStringLiteral("NSMutableArray"), MutableArrayChain, records);
    const quint64 folders = archive.reserveArray();
    std::vector<quint64> names;
    for (const QString& f : std::as_const(m_folderList))
        names.push_back(archive.addString(f));
    archive.setArray(folders, QStringLiteral("NSMutableArray"), MutableArrayChain, names);
    archive.setArray(root, QStringLiteral("NSArray"), ArrayChain, {list, folders});
    return archive.finish(root);
}

bool MyDocument::loadDataRepresentation(const QByteArray& bytes, QString* error)
{
    BookmarkList bookmarks;
    QStringList folders;
    try {
        KeyedUnarchiver unarchiver(bytes);
        // The bookmarks are read one record at a time: memory holds the file and
        // the bookmarks, never a full tree of the archive besides them.
        const auto lists = unarchiver.arrayReferences(unarchiver.topReference(RootKey));
        // Counted before any record is built: a record listed a million times
        // costs the file a byte each and would cost memory a bookmark each.
        qint64 total = 0;
        const auto records = lists && lists->size() == 2
                                 ? unarchiver.arrayReferences(lists->at(0), MaxDocumentBookmarks, &total)
                                 : std::nullopt;
        if (total > MaxDocumentBookmarks)
            throw LoadError{tooManyText(total)};
        if (records) {
            bookmarks.reserve(qsizetype(records->size()));
            for (quint64 uid : *records)
                bookmarks << bookmarkFrom(unarchiver, uid);
            const ArchivedRef names = unarchiver.decodeObject(lists->at(1));
            if (names->kind != ArchivedValue::Kind::Array)
                throw LoadError{tr("The file does not hold a bookmark list and a folder list.")};
            for (const ArchivedRef& name : std::as_const(names->elements)) {
                if (name->kind != ArchivedValue::Kind::String)
                    throw LoadError{tr("The folder list holds something other than names.")};
                folders << name->string;
            }
        } else {
            // Not the usual layout: the whole graph, with its own checks.
            const ArchivedRef root = unarchiver.decodeTopObject(RootKey);
            if (!root || root->kind != ArchivedValue::Kind::Array || root->elements.size() != 2)
                throw LoadError{tr("The file does not hold a bookmark list and a folder list.")};
            const ArchivedRef& list = root->elements.at(0);
            const ArchivedRef& names = root->elements.at(1);
            if (list->kind != ArchivedValue::Kind::Array || names->kind != ArchivedValue::Kind::Array)
                throw LoadError{tr("The file does not hold a bookmark list and a folder list.")};
            if (list->elements.size() > MaxDocumentBookmarks)
                throw LoadError{tooManyText(list->elements.size())};
            bookmarks.reserve(list->elements.size());
            for (const ArchivedRef& record : std::as_const(list->elements)) {
                if (record->kind != ArchivedValue::Kind::Object)
                    throw LoadError{tr("The bookmark list holds something other than bookmarks.")};
                // Each reference gets a record of its own, so a record listed twice in
                // the file does not end up twice in the list.
                bookmarks << bookmarkFrom(*record);
            }
            for (const ArchivedRef& name : std::as_const(names->elements)) {
                if (name->kind != ArchivedValue::Kind::String)
                    throw LoadError{tr("The folder list holds something other than names.")};
                folders << name->string;
            }
        }
    } catch (const KeyedArchiveError& e) {
        if (error)
            *error = tr(e.what());
        return false;
    } catch (const LoadError& e) {
        if (error)
            *error = e.message;
        return false;
    }

    // The handset has twenty folders: a file that names fewer gets the usual
    // names for the rest, so that every bookmark in them can be seen and edited.
    const QStringList defaults = defaultFolderList();
    for (qsizetype i = folders.size(); i < FolderCount; ++i)
        folders << defaults.at(i);
    setBookmarkList(bookmarks);
    setFolderList(folders);
    m_undoManager.removeAllActions();
    m_undoManager.markClean();
    return true;
}

QByteArray MyDocument::archivedBookmarks(const BookmarkList& bookmarks)
{
    QList<ArchivedRef> records;
    for (const BookmarkPtr& b : bookmarks)
        records << archivedBookmark(*b);
    return KeyedArchiver::archivedData(
        ArchivedValue::makeArray(QStringLiteral("NSMutableArray"), MutableArrayChain, records));
}

std::optional<BookmarkList> MyDocument::unarchivedBookmarks(const QByteArray& bytes, qsizetype most,
                                                            qsizetype* total)
{
    try {
        KeyedUnarchiver unarchiver(bytes);
        BookmarkList list;
        // Only what can be kept is decoded; the rest is only counted.
        qint64 count = 0;
        if (const auto uids = unarchiver.arrayReferences(unarchiver.topReference(RootKey), most, &count)) {
            for (quint64 uid : *uids) {
                const ArchivedRef record = unarchiver.decodeObject(uid);
                if (record->kind != ArchivedValue::Kind::Object)
                    return std::nullopt;
                list << bookmarkFrom(*record);
            }
        } else {
            const ArchivedRef root = unarchiver.decodeTopObject(RootKey);
            if (!root || root->kind != ArchivedValue::Kind::Array)
                return std::nullopt;
            count = root->elements.size();
            for (const ArchivedRef& record : std::as_const(root->elements)) {
                if (record->kind != ArchivedValue::Kind::Object)
                    return std::nullopt;
                if (list.size() < most)
                    list << bookmarkFrom(*record);
            }
        }
        if (total)
            *total = qsizetype(count);
        return list;
    } catch (const KeyedArchiveError&) {
        return std::nullopt;
    } catch (const LoadError&) {
        return std::nullopt;
    }
}

QString MyDocument::tooManyText(qint64 count)
{
    return tr("The document holds %1 bookmarks; EdgeMarks reads documents of at most %2.")
        .arg(count)
        .arg(MaxDocumentBookmarks);
}

bool MyDocument::readFromFile(const QString& path, QString* error)
{
    // Documents hold at most MaxDocumentBookmarks records; anything much larger
    // is not one of ours.
    const std::optional<QByteArray> bytes = OutsideFile::read(path, MaxDocumentFileSize, error);
    return bytes && loadDataRepresentation(*bytes, error);
}

bool MyDocument::writeToFile(const QString& path, QString* error)
{
    QByteArray bytes;
    try {
        bytes = dataRepresentation();
    } catch (const KeyedArchiveError& e) {
        if (error)
            *error = tr(e.what());
        return false;
    }
    if (!AtomicFile::writeAll(path, bytes, error))
        return false;
    m_undoManager.markClean();
    return true;
}
