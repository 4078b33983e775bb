#include "handset/HandsetCheck.h"

#include "handset/BookmarkEntry.h"
#include "handset/HandsetLimits.h"
#include "handset/ShiftJIS.h"

#include <QCoreApplication>

#include <array>
#include <charconv>
#include <initializer_list>
#include <vector>

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

// The text's state and how many bytes it takes as sent (none when Shift_JIS
// cannot carry it); its bytes too when asked for.
Text textState(const QString& text, qsizetype& size, QByteArray* bytes = nullptr)
{
    size = 0;
    // No text at all (a document may hold none) goes out empty, as it is.
    if (text.isNull())
        return Text::Fine;
    // Shift_JIS carries ASCII unchanged both ways; most locations are nothing else.
    if (isPlainAscii(text)) {
        size = text.size();
        if (bytes)
            *bytes = text.toLatin1();
        return Text::Fine;
    }
    if (!bytes) {
        // Character by character, from what each one was found to do.
        const ShiftJIS::Fate fate = ShiftJIS::fate(text);
        size = fate.bytes;
        return fate.state == ShiftJIS::Fate::Unsendable ? Text::NotShiftJIS
               : fate.state == ShiftJIS::Fate::Changed  ? Text::Changes
                                                        : Text::Fine;
    }
    std::optional<QByteArray> encoded = ShiftJIS::encode(text);
    if (!encoded)
        return Text::NotShiftJIS;
    *bytes = std::move(*encoded);
    size = bytes->size();
    // The handset ends a text at its first zero byte.
    if (text.contains(QChar(0)) || ShiftJIS::decode(*bytes) != text)
        return Text::Changes;
    return Text::Fine;
}

// A translated sentence with its markers (%1 to %9) found once, so that filling
// it in is appending its pieces: one allocation a sentence, however many of them.
class Pattern
{
public:
    explicit Pattern(const QString& text) : m_text(text)
    {
        qsizetype start = 0;
        for (qsizetype i = 0; i + 1 < m_text.size(); ++i) {
            const int n = m_text.at(i + 1).digitValue();
            if (m_text.at(i) != QLatin1Char('%') || n < 1)
                continue;
            m_pieces.push_back({start, i - start, n - 1});
            start = i + 2;
            ++i;
        }
        m_pieces.push_back({start, m_text.size() - start, -1});
    }
    // Appends the sentence with args[k] where it says %(k+1); a marker without an
    // argument is left out.
    void fill(QString& out, std::initializer_list<QStringView> args) const
    {
        for (const Piece& p : m_pieces) {
            out.append(QStringView(m_text).mid(p.start, p.length));
            if (p.arg >= 0 && size_t(p.arg) < args.size())
                out.append(args.begin()[p.arg]);
        }
    }
    qsizetype size() const { return m_text.size(); }

private:
    struct Piece {
        qsizetype start, length;
        int arg; // the argument that follows, or -1
    };
    QString m_text;
    std::vector<Piece> m_pieces;
};

// A whole number as text, in a buffer of the caller's.
QStringView digits(qint64 value, std::array<char16_t, 24>& buffer)
{
    char bytes[24];
    const auto end = std::to_chars(bytes, bytes + sizeof bytes, value).ptr;
    std::copy(bytes, end, buffer.begin());
    return QStringView(buffer.data(), end - bytes);
}

// The sentences' patterns, translated once for a whole list rather than once per
// finding. A name is put in as it is (one holding "%2" keeps it).
struct Patterns {
    Pattern naming{QCoreApplication::translate("HandsetCheck", "“%1” (memory %2, folder %3)")};
    Pattern folderOutOfRange{QCoreApplication::translate(
        "HandsetCheck",
        "%1 is in folder %2, which the AIR-EDGE PHONE does not have (0 to 19): it would not be sent.")};
    Pattern numberOutOfRange{QCoreApplication::translate(
        "HandsetCheck", "%1 has memory number %2; the AIR-EDGE PHONE takes 0 to 99.")};
    Pattern numberUsedTwice{QCoreApplication::translate("HandsetCheck", "%1 has the memory number of “%2”.")};
    Pattern nameNotShiftJIS{QCoreApplication::translate("HandsetCheck",
                                                        "%1 has characters in its name that the AIR-EDGE "
                                                        "PHONE cannot show: the name would be sent empty.")};
    Pattern nameChanges{QCoreApplication::translate(
        "HandsetCheck", "%1 has a name that would come back changed from the AIR-EDGE PHONE.")};
    Pattern locationNotShiftJIS{QCoreApplication::translate("HandsetCheck",
                                                            "%1 has characters in its location that the "
                                                            "AIR-EDGE PHONE cannot take: the location would "
                                                            "be sent empty.")};
    Pattern locationChanges{QCoreApplication::translate(
        "HandsetCheck", "%1 has a location that would come back changed from the AIR-EDGE PHONE.")};
    Pattern tooLong{QCoreApplication::translate(
        "HandsetCheck", "%1 has a name and location of %2 bytes; one entry carries at most %3.")};

    mutable QString named;

    const Pattern& of(Kind kind) const
    {
        switch (kind) {
        case Kind::FolderOutOfRange:
            return folderOutOfRange;
        case Kind::NumberOutOfRange:
            return numberOutOfRange;
        case Kind::NumberUsedTwice:
            return numberUsedTwice;
        case Kind::NameNotShiftJIS:
            return nameNotShiftJIS;
        case Kind::NameChanges:
            return nameChanges;
        case Kind::LocationNotShiftJIS:
            return locationNotShiftJIS;
        case Kind::LocationChanges:
            return locationChanges;
        case Kind::TooLong:
        case Kind::TooMany:
            break;
        }
        return tooLong;
    }

    QString message(Kind kind, const AirHBookmark& b, const AirHBookmark* sameNumber, int bytes) const
    {
        // "“Example” (memory 12, folder 3)": how a finding names its bookmark.
        const QString& name = b.bookmarkName().isEmpty() ? b.location() : b.bookmarkName();
        std::array<char16_t, 24> number, folder, second, third;
        named.truncate(0); // keeps its room for the next sentence
        naming.fill(named,
                    {QStringView(name).left(60), digits(b.number(), number), digits(b.folder(), folder)});
        QStringView arg2, arg3;
        switch (kind) {
        case Kind::FolderOutOfRange:
            arg2 = digits(b.folder(), second);
            break;
        case Kind::NumberOutOfRange:
            arg2 = digits(b.number(), second);
            break;
        case Kind::NumberUsedTwice:
            arg2 = sameNumber ? QStringView(sameNumber->bookmarkName()).left(60) : QStringView();
            break;
        case Kind::TooLong:
            arg2 = digits(bytes, second);
            arg3 = digits(BookmarkEntry::MaxTextBytes, third);
            break;
        default:
            break;
        }
        const Pattern& pattern = of(kind);
        QString sentence;
        sentence.reserve(pattern.size() + named.size() + arg2.size() + arg3.size());
        pattern.fill(sentence, {named, arg2, arg3});
        return sentence;
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
    // The texts are converted only when they are wanted; the check alone goes by
    // what each character is known to do.
    qsizetype nameBytes = 0, locationBytes = 0;
    switch (textState(b.bookmarkName(), nameBytes, texts ? &texts->name : nullptr)) {
    case Text::NotShiftJIS:
        r.kinds |= bit(Kind::NameNotShiftJIS);
        break;
    case Text::Changes:
        r.kinds |= bit(Kind::NameChanges);
        break;
    case Text::Fine:
        break;
    }
    switch (textState(b.location(), locationBytes, texts ? &texts->location : nullptr)) {
    case Text::NotShiftJIS:
        r.kinds |= bit(Kind::LocationNotShiftJIS);
        break;
    case Text::Changes:
        r.kinds |= bit(Kind::LocationChanges);
        break;
    case Text::Fine:
        break;
    }
    r.textBytes = int(nameBytes + locationBytes);
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
    qsizetype size = 0;
    if (textState(text, size) == Text::Fine)
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
    // In one piece: a long list has a finding for each of thousands of records.
    qsizetype size = 0;
    for (const Finding& f : findings)
        size += f.message.size() + 1;
    QString text;
    text.reserve(size);
    for (const Finding& f : findings) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += f.message;
    }
    return text;
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
