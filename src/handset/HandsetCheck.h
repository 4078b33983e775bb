#pragma once

#include "document/AirHBookmark.h"

#include <QList>
#include <QString>

// Everything in a bookmark list that the handset cannot take as it is: run before
// an export, so that a list that would fail midway (or arrive changed) is shown
// to its owner instead of being sent.
class HandsetCheck
{
public:
    enum class Kind {
        TooMany,          // more than the handset holds (the list as a whole)
        NumberOutOfRange, // a memory number outside 0-99
        NumberUsedTwice,  // a memory number that an earlier bookmark has
        FolderOutOfRange, // a folder outside 0-19: never sent
        NameNotShiftJIS,  // characters Shift_JIS cannot carry: the name would go out empty
        LocationNotShiftJIS,
        NameChanges, // would come back different on the next import
        LocationChanges,
        TooLong, // name and location over what one entry carries
    };
    struct Finding {
        Kind kind;
        int index = -1;       // in the list; -1 for the list as a whole
        BookmarkPtr bookmark; // null for the list as a whole
        QString message;      // one sentence naming the bookmark
    };

    static QList<Finding> check(const BookmarkList& bookmarks);
    // The findings as lines, for a terminal or an alert.
    static QString describe(const QList<Finding>& findings);
    // A short name for the kind, for JSON ("too-many", "number-used-twice" ...).
    static QString kindName(Kind kind);
};
