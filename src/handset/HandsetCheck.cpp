#include "handset/HandsetCheck.h"

#include "handset/BookmarkEntry.h"
#include "handset/HandsetLimits.h"
#include "handset/ShiftJIS.h"

#include <QCoreApplication>

#include <unordered_map>

namespace
{

// "“Example” (memory 12, folder 3)": how a finding names its bookmark.
QString named(const AirHBookmark& b)
{
    const QString name = b.bookmarkName().isEmpty() ? b.location() : b.bookmarkName();
    return QCoreApplication::translate("HandsetCheck", "“%1” (memory %2, folder %3)")
        .arg(name.left(60))
        .arg(b.number())
        .arg(b.folder());
}

enum class Text { Fine, NotShiftJIS, Changes };

Text textState(const QString& text)
{
    // No text at all (a document may hold none) goes out empty, as it is.
    if (text.isNull())
        return Text::Fine;
    const std::optional<QByteArray> bytes = ShiftJIS::encode(text);
    if (!bytes)
        return Text::NotShiftJIS;
    // The handset ends a text at its first zero byte.
    if (text.contains(QChar(0)) || ShiftJIS::decode(*bytes) != text)
        return Text::Changes;
    return Text::Fine;
}

} // namespace

QList<HandsetCheck::Finding> HandsetCheck::check(const BookmarkList& bookmarks)
{
    QList<Finding> findings;
    const qsizetype count = bookmarks.size();
    if (count > HandsetLimits::MaxBookmarks)
        findings.append(
            {Kind::TooMany, -1, nullptr,
             QCoreApplication::translate("HandsetCheck",
                                         "The list holds %1 bookmarks; the AIR-EDGE PHONE holds at most %2.")
                 .arg(count)
                 .arg(HandsetLimits::MaxBookmarks)});
    std::unordered_map<qint32, int> firstWithNumber;
    for (int i = 0; i < count; ++i) {
        const BookmarkPtr& b = bookmarks.at(i);
        auto add = [&](Kind kind, const QString& message) { findings.append({kind, i, b, message}); };
        if (b->folder() < 0 || b->folder() >= HandsetLimits::FolderCount) {
            add(Kind::FolderOutOfRange,
                QCoreApplication::translate("HandsetCheck", "%1 is in folder %2, which the AIR-EDGE PHONE "
                                                            "does not have (0 to 19): it would not be sent.")
                    .arg(named(*b))
                    .arg(b->folder()));
            continue; // never sent: nothing else about it matters to the handset
        }
        if (b->number() < 0 || b->number() > 99) {
            add(Kind::NumberOutOfRange,
                QCoreApplication::translate("HandsetCheck",
                                            "%1 has memory number %2; the AIR-EDGE PHONE takes 0 to 99.")
                    .arg(named(*b))
                    .arg(b->number()));
        } else if (const auto [it, fresh] = firstWithNumber.emplace(b->number(), i); !fresh) {
            add(Kind::NumberUsedTwice,
                QCoreApplication::translate("HandsetCheck", "%1 has the memory number of “%2”.")
                    .arg(named(*b))
                    .arg(bookmarks.at(it->second)->bookmarkName().left(60)));
        }
        switch (textState(b->bookmarkName())) {
        case Text::NotShiftJIS:
            add(Kind::NameNotShiftJIS, QCoreApplication::translate(
                                           "HandsetCheck", "%1 has characters in its name that the AIR-EDGE "
                                                           "PHONE cannot show: the name would be sent empty.")
                                           .arg(named(*b)));
            break;
        case Text::Changes:
            add(Kind::NameChanges,
                QCoreApplication::translate(
                    "HandsetCheck", "%1 has a name that would come back changed from the AIR-EDGE PHONE.")
                    .arg(named(*b)));
            break;
        case Text::Fine:
            break;
        }
        switch (textState(b->location())) {
        case Text::NotShiftJIS:
            add(Kind::LocationNotShiftJIS,
                QCoreApplication::translate("HandsetCheck",
                                            "%1 has characters in its location that the AIR-EDGE PHONE "
                                            "cannot take: the location would be sent empty.")
                    .arg(named(*b)));
            break;
        case Text::Changes:
            add(Kind::LocationChanges,
                QCoreApplication::translate(
                    "HandsetCheck", "%1 has a location that would come back changed from the AIR-EDGE PHONE.")
                    .arg(named(*b)));
            break;
        case Text::Fine:
            break;
        }
        if (const int bytes = BookmarkEntry::textBytes(*b); bytes > BookmarkEntry::MaxTextBytes)
            add(Kind::TooLong,
                QCoreApplication::translate(
                    "HandsetCheck", "%1 has a name and location of %2 bytes; one entry carries at most %3.")
                    .arg(named(*b))
                    .arg(bytes)
                    .arg(BookmarkEntry::MaxTextBytes));
    }
    return findings;
}

QString HandsetCheck::describe(const QList<Finding>& findings)
{
    QStringList lines;
    for (const Finding& f : findings)
        lines << f.message;
    return lines.join(QLatin1Char('\n'));
}

QString HandsetCheck::kindName(Kind kind)
{
    switch (kind) {
    case Kind::TooMany:
        return QStringLiteral("too-many");
    case Kind::NumberOutOfRange:
        return QStringLiteral("number-out-of-range");
    case Kind::NumberUsedTwice:
        return QStringLiteral("number-used-twice");
    case Kind::FolderOutOfRange:
        return QStringLiteral("folder-out-of-range");
    case Kind::NameNotShiftJIS:
        return QStringLiteral("name-not-shift-jis");
    case Kind::LocationNotShiftJIS:
        return QStringLiteral("location-not-shift-jis");
    case Kind::NameChanges:
        return QStringLiteral("name-changes");
    case Kind::LocationChanges:
        return QStringLiteral("location-changes");
    case Kind::TooLong:
        return QStringLiteral("too-long");
    }
    return {};
}
