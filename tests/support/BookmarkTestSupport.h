#pragma once

#include "document/AirHBookmark.h"

#include <QCoreApplication>
#include <QStringList>

// A record of the editor's class with the four values.
inline BookmarkPtr makeBookmark(const QString& name, const QString& location, int number, int folder)
{
    auto b = std::make_shared<Bookmark>();
    b->setBookmarkName(name);
    b->setLocation(location);
    b->setNumber(number);
    b->setFolder(folder);
    return b;
}

// The names of the records, joined by ", ", for comparing orders at a glance.
inline QString names(const BookmarkList& list)
{
    QStringList n;
    for (const BookmarkPtr& b : list)
        n << b->bookmarkName();
    return n.join(QStringLiteral(", "));
}

// Ends the current user event: the undo step it opened is closed.
// Every field of each record, one line each ("(nil)" for a name never set), so
// that whole lists compare at once.
inline QStringList describe(const BookmarkList& list)
{
    QStringList lines;
    for (const BookmarkPtr& b : list)
        lines << b->className() + u'|' + (b->bookmarkName().isNull() ? QStringLiteral("(nil)") : b->bookmarkName()) +
                     u'|' + b->location() + u'|' + QString::number(b->number()) + u'|' + QString::number(b->folder());
    return lines;
}

inline void endEvent()
{
    QCoreApplication::processEvents();
}
