#include "handset/HandsetCheck.h"

#include "handset/BookmarkEntry.h"
#include "handset/HandsetLimits.h"
#include "handset/ShiftJIS.h"

#include <QCoreApplication>

#include <array>

namespace
{

using Kind = HandsetCheck::Kind;

enum class Text { Fine, NotShiftJIS, Changes };

bool isPlainAscii(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() == 0 || c.unicode() > 0x7F)
            return false;
    return true;
}

// The text's state and its bytes as sent (empty when Shift_JIS cannot carry it).
Text textState(const QString& text, QByteArray& bytes)
{
    // No text at all (a document may hold none) goes out empty, as it is.
    if (text.isNull())
        return Text::Fine;
    // Shift_JIS carries ASCII unchanged both ways; most locations are nothing else.
    if (isPlainAscii(text)) {
        bytes = text.toLatin1();
        return Text::Fine;
    }
    std::optional<QByteArray> encoded = ShiftJIS::encode(text);
    if (!encoded)
        return Text::NotShiftJIS;
    bytes = std::move(*encoded);
    // The handset ends a text at its first zero byte.
    if (text.contains(QChar(0)) || ShiftJIS::decode(bytes) != text)
        return Text::Changes;
    return Text::Fine;
}

// The sentences' patterns, translated once for a whole list rather than once per
// finding. Each is filled in one pass (a name holding "%2" stays as it is).
struct Patterns {
    QString naming = QCoreApplication::translate("HandsetCheck", "“%1” (memory %2, folder %3)");
    QString folderOutOfRange = QCoreApplication::translate(
        "HandsetCheck",
        "%1 is in folder %2, which the AIR-EDGE PHONE does not have (0 to 19): it would not be sent.");
    QString numberOutOfRange = QCoreApplication::translate(
        "HandsetCheck", "%1 has memory number %2; the AIR-EDGE PHONE takes 0 to 99.");
    QString numberUsedTwice =
        QCoreApplication::translate("HandsetCheck", "%1 has the memory number of “%2”.");
    QString nameNotShiftJIS =
        QCoreApplication::translate("HandsetCheck", "%1 has characters in its name that the AIR-EDGE "
                                                    "PHONE cannot show: the name would be sent empty.");
    QString nameChanges = QCoreApplication::translate(
        "HandsetCheck", "%1 has a name that would come back changed from the AIR-EDGE PHONE.");
    QString locationNotShiftJIS =
        QCoreApplication::translate("HandsetCheck", "%1 has characters in its location that the "
                                                    "AIR-EDGE PHONE cannot take: the location would "
                                                    "be sent empty.");
    QString locationChanges = QCoreApplication::translate(
        "HandsetCheck", "%1 has a location that would come back changed from the AIR-EDGE PHONE.");
    QString tooLong = QCoreApplication::translate(
        "HandsetCheck", "%1 has a name and location of %2 bytes; one entry carries at most %3.");

    // "“Example” (memory 12, folder 3)": how a finding names its bookmark.
    QString named(const AirHBookmark& b) const
    {
        const QString& name = b.bookmarkName().isEmpty() ? b.location() : b.bookmarkName();
        return naming.arg(QStringView(name).left(60), QString::number(b.number()),
                          QString::number(b.folder()));
    }

    QString message(Kind kind, const AirHBookmark& b, const AirHBookmark* sameNumber, int bytes) const
    {
        switch (kind) {
        case Kind::FolderOutOfRange:
            return folderOutOfRange.arg(named(b), QString::number(b.folder()));
        case Kind::NumberOutOfRange:
            return numberOutOfRange.arg(named(b), QString::number(b.number()));
        case Kind::NumberUsedTwice:
            return numberUsedTwice.arg(named(b), sameNumber ? QStringView(sameNumber->bookmarkName()).left(60)
                                                            : QStringView());
        case Kind::NameNotShiftJIS:
            return nameNotShiftJIS.arg(named(b));
        case Kind::NameChanges:
            return nameChanges.arg(named(b));
        case Kind::LocationNotShiftJIS:
            return locationNotShiftJIS.arg(named(b));
        case Kind::LocationChanges:
            return locationChanges.arg(named(b));
        case Kind::TooLong:
            return tooLong.arg(named(b), QString::number(bytes),
                               QString::number(BookmarkEntry::MaxTextBytes));
        case Kind::TooMany:
            break;
        }
        return {};
    }
};

// A record's kinds in the order its findings are told.
constexpr std::array<Kind, 8> RecordOrder{
    Kind::FolderOutOfRange, Kind::NumberOutOfRange,    Kind::NumberUsedTwice, Kind::NameNotShiftJIS,
    Kind::NameChanges,      Kind::LocationNotShiftJIS, Kind::LocationChanges, Kind::TooLong};

} // namespace

bool HandsetCheck::isSent(const AirHBookmark& b)
{
    return b.folder() >= 0 && b.folder() < HandsetLimits::FolderCount;
}

bool HandsetCheck::hasHandsetNumber(const AirHBookmark& b)
{
    return isSent(b) && b.number() >= 0 && b.number() < HandsetLimits::MemoryNumbers;
}

HandsetCheck::Record HandsetCheck::examine(const AirHBookmark& b, Texts* texts)
{
    Record r;
    if (!isSent(b)) {
        r.kinds = bit(Kind::FolderOutOfRange); // never sent: nothing else about it matters to the handset
        return r;
    }
    if (!hasHandsetNumber(b))
        r.kinds |= bit(Kind::NumberOutOfRange);
    Texts own;
    Texts& t = texts ? *texts : own;
    switch (textState(b.bookmarkName(), t.name)) {
    case Text::NotShiftJIS:
        r.kinds |= bit(Kind::NameNotShiftJIS);
        break;
    case Text::Changes:
        r.kinds |= bit(Kind::NameChanges);
        break;
    case Text::Fine:
        break;
    }
    switch (textState(b.location(), t.location)) {
    case Text::NotShiftJIS:
        r.kinds |= bit(Kind::LocationNotShiftJIS);
        break;
    case Text::Changes:
        r.kinds |= bit(Kind::LocationChanges);
        break;
    case Text::Fine:
        break;
    }
    r.textBytes = int(t.name.size() + t.location.size());
    if (r.textBytes > BookmarkEntry::MaxTextBytes)
        r.kinds |= bit(Kind::TooLong);
    return r;
}

QStringList HandsetCheck::messages(const AirHBookmark& b, Record r, const AirHBookmark* sameNumber)
{
    QStringList lines;
    if (r.isEmpty())
        return lines;
    const Patterns patterns;
    for (Kind kind : RecordOrder)
        if (r.has(kind))
            lines << patterns.message(kind, b, sameNumber, r.textBytes);
    return lines;
}

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
    const Patterns patterns;
    std::array<int, HandsetLimits::MemoryNumbers> firstWithNumber;
    firstWithNumber.fill(-1);
    for (int i = 0; i < count; ++i) {
        const BookmarkPtr& b = bookmarks.at(i);
        Record r = examine(*b);
        const AirHBookmark* sameNumber = nullptr;
        if (hasHandsetNumber(*b)) {
            int& first = firstWithNumber[size_t(b->number())];
            if (first < 0) {
                first = i;
            } else {
                r.kinds |= bit(Kind::NumberUsedTwice);
                sameNumber = bookmarks.at(first).get();
            }
        }
        for (Kind kind : RecordOrder)
            if (r.has(kind))
                findings.append({kind, i, b, patterns.message(kind, *b, sameNumber, r.textBytes)});
    }
    return findings;
}

QString HandsetCheck::replaceUnsupported(const QString& text, bool location)
{
    QByteArray bytes;
    if (textState(text, bytes) == Text::Fine)
        return text;
    // A character that goes out and comes back as itself.
    auto keeps = [](const QString& c) {
        const std::optional<QByteArray> bytes = ShiftJIS::encode(c);
        return bytes && !c.contains(QChar(0)) && ShiftJIS::decode(*bytes) == c;
    };
    QString result;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString c = text.mid(i, length);
        i += length;
        if (keeps(c)) {
            result += c;
            continue;
        }
        if (location) {
            result += QString::fromLatin1(c.toUtf8().toPercentEncoding());
            continue;
        }
        if (const std::optional<QByteArray> bytes = ShiftJIS::encode(c); bytes && !c.contains(QChar(0))) {
            if (const std::optional<QString> back = ShiftJIS::decode(*bytes); back && keeps(*back)) {
                result += *back; // what the handset would give back anyway
                continue;
            }
        }
        const QString compatible = c.normalized(QString::NormalizationForm_KC);
        result += compatible != c && keeps(compatible) ? compatible : QStringLiteral("?");
    }
    return result;
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
