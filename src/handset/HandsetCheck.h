#pragma once

#include "document/AirHBookmark.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Everything in a bookmark list that the handset cannot take as it is: run before
// an export, so that a list that would fail midway (or arrive changed) is shown
// to its owner instead of being sent. The transfer refuses by the same rules.
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

    // What one record shows on its own (all but TooMany and NumberUsedTwice),
    // from one conversion of each text.
    struct Record {
        quint16 kinds = 0;
        int textBytes = 0; // name and location in Shift_JIS as they would be sent
        bool has(Kind kind) const { return kinds & bit(kind); }
        bool isEmpty() const { return kinds == 0; }
    };
    static constexpr quint16 bit(Kind kind) { return quint16(1u << int(kind)); }
    // The texts as sent (empty where Shift_JIS cannot carry them), when asked for.
    struct Texts {
        QByteArray name;
        QByteArray location;
    };
    static Record examine(const AirHBookmark& bookmark, Texts* texts = nullptr);
    // Whether a record takes part in the count of memory numbers: it is sent, and
    // its number is one the handset has.
    static bool hasHandsetNumber(const AirHBookmark& bookmark);
    static bool isSent(const AirHBookmark& bookmark);

    static QList<Finding> check(const BookmarkList& bookmarks);
    // The sentences for one record's findings; sameNumber is the earlier record
    // whose number it has, when it has one.
    static QStringList messages(const AirHBookmark& bookmark, Record record,
                                const AirHBookmark* sameNumber = nullptr);
    // The findings as lines, for a terminal or an alert.
    static QString describe(const QList<Finding>& findings);
    // The text as the AIR-EDGE PHONE can show and give back: each character it
    // cannot carry becomes the form it gives back, its nearest compatible form,
    // or "?" (in a location: its percent-encoding, which keeps the address).
    static QString replaceUnsupported(const QString& text, bool location = false);
    // A short name for the kind, for JSON ("too-many", "number-used-twice" ...).
    static QString kindName(Kind kind);
};
