#pragma once

#include "document/AirHBookmark.h"
#include "document/UndoManager.h"

#include <QByteArray>
#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>

// A bookmark document: the ordered bookmark list and the folder list, with every
// change of the bookmark list and of a bookmark's values undoable as a named step.
//
// Views and controllers change the lists only through the operations here; they
// follow the changes through the signals.
class MyDocument : public QObject, private BookmarkObserver
{
    Q_OBJECT
public:
    static constexpr int FolderCount = 20;
    // The handset holds at most this many bookmarks, and so does a document.
    static constexpr int MaxBookmarks = 100;
    // Says that count bookmarks were left out for that limit.
    static QString leftOutText(qint64 count);
    // Cuts list to the limit; how many were left out.
    static qsizetype keepWhatFits(BookmarkList& list);
    // A document written elsewhere may hold more than the handset takes; past
    // this many records it is refused before they are built, and so is a file
    // larger than any such document.
    static constexpr int MaxDocumentBookmarks = 10000;
    static constexpr qint64 MaxDocumentFileSize = qint64(32) << 20;
    static QString tooManyText(qint64 count);

    explicit MyDocument(QObject* parent = nullptr);
    ~MyDocument() override;

    static QStringList defaultFolderList();

    // Bookmark list.
    const BookmarkList& bookmarkList() const { return m_bookmarkList; }
    // Replaces the list without an undo step and clears the undo history, so that
    // no step recorded against the former list can act on the new one. The same
    // list (the same records in the same order) changes nothing.
    void setBookmarkList(const BookmarkList& list);
    // Replaces the list as one undo step named actionName.
    void replaceBookmarkList(const BookmarkList& list, const QString& actionName);
    void insertObjectInBookmarkList(const BookmarkPtr& bookmark, int index);
    void removeObjectFromBookmarkListAtIndex(int index);
    // Many records in one change of the list, undone the same way. indexes are
    // ascending: where each record stands once inserted, or the records to remove.
    // Indexes out of order or out of range change nothing.
    void insertBookmarks(const BookmarkList& records, const QList<int>& indexes);
    void removeBookmarks(const QList<int>& indexes);
    // Moves the record at from so that it ends at index to (of the list as it is
    // after the move); undone by the opposite move.
    void moveObjectInBookmarkList(int from, int to);

    // Folder list: no undo, no observation.
    const QStringList& folderList() const { return m_folderList; }
    void setFolderList(const QStringList& list);
    void insertObjectInFolderList(const QString& name, int index);
    void removeObjectFromFolderListAtIndex(int index);

    // Names folder index anew, as one undo step. The names are the document's own:
    // the handset never sees them.
    void renameFolder(int index, const QString& name);

    // Adds records at the end of the list and sets the folder list, as one undo
    // step named actionName (the folder list too comes back on undo).
    void addBookmarks(const BookmarkList& added, const QStringList& folders, const QString& actionName);

    // Sets key on the record by key-value coding (the inverse operation of edits).
    void changeKeyPath(const QString& key, const BookmarkPtr& bookmark, const QVariant& value);

    // Memory numbers.
    int generateUniqueMemoryNumber() const;
    bool isExistMemoryNumber(qint32 number, const AirHBookmark* without) const;
    void renumberBookmarks();

    UndoManager* undoManager() { return &m_undoManager; }
    bool isModified() const { return m_undoManager.isModified(); }

    // The document file: a keyed archive of [bookmark list, folder list].
    QByteArray dataRepresentation();
    // Replaces both lists from a document file. On failure nothing changes, false is
    // returned and error (when given) says why.
    bool loadDataRepresentation(const QByteArray& bytes, QString* error = nullptr);

    // A list of records on its own as a keyed archive (for the clipboard and drags
    // between documents), and back: new records with the same four values.
    static QByteArray archivedBookmarks(const BookmarkList& bookmarks);
    // At most `most` records are built; total gets how many the archive lists.
    static std::optional<BookmarkList> unarchivedBookmarks(
        const QByteArray& bytes, qsizetype most = MaxDocumentBookmarks, qsizetype* total = nullptr);

    // Reading and atomic writing of the file itself. A failed write leaves the
    // former file as it was.
    bool readFromFile(const QString& path, QString* error = nullptr);
    bool writeToFile(const QString& path, QString* error = nullptr);

signals:
    // Emitted before the lists are archived, so that an edit still being typed can
    // be committed first.
    void commitEditingRequested();
    // Each contiguous range of rows once the list has changed: insertions in
    // ascending order (first to last as they now stand), removals in descending
    // order (as they stood, so that each range still names rows not yet removed).
    void bookmarksInserted(int first, int last);
    void bookmarksRemoved(int first, int last);
    void bookmarkMoved(int from, int to);
    void bookmarkListReset();
    void bookmarkChanged(AirHBookmark* bookmark, const QString& key);
    void folderListChanged();
    void modifiedChanged(bool modified);

private:
    void startObservingBookmark(AirHBookmark* bookmark);
    void stopObservingBookmark(AirHBookmark* bookmark);
    void observeValueForKeyPath(const QString& key, AirHBookmark* bookmark,
                                const QVariant& oldValue) override;
    void changeFolderList(const QStringList& list); // undoable
    void swapBookmarkList(const BookmarkList& list); // undoable

    BookmarkList m_bookmarkList;
    QStringList m_folderList;
    UndoManager m_undoManager;
    bool m_lastModified = false;
};
