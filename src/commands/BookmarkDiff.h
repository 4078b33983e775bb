#pragma once

#include "document/AirHBookmark.h"

#include <QCoreApplication>
#include <QStringList>

// What writing one bookmark list over another changes, bookmark by bookmark.
// Bookmarks are the same bookmark when they have the same memory number (the
// handset's own key); a bookmark of that number with another name, location or
// folder is changed. Bookmarks outside the memory numbers are matched by name
// and location.
class BookmarkDiff {
    Q_DECLARE_TR_FUNCTIONS(BookmarkDiff)
public:
    BookmarkDiff(const BookmarkList& before, const BookmarkList& after);

    int added() const { return int(m_added.size()); }
    int removed() const { return int(m_removed.size()); }
    int changed() const { return int(m_changed.size()); }
    bool isEmpty() const { return m_added.isEmpty() && m_removed.isEmpty() && m_changed.isEmpty(); }

    // "3 added, 1 removed, 2 changed" (or "No bookmark changes.").
    QString summary() const;
    // One line per bookmark: "+ 12 Weather (http://...)", "- ...", "~ 3 Old → New".
    QStringList details() const;

private:
    QList<BookmarkPtr> m_added;
    QList<BookmarkPtr> m_removed;
    QList<std::pair<BookmarkPtr, BookmarkPtr>> m_changed;
};
