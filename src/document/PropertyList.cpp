#include "document/PropertyList.h"

#include <QDateTime>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cstring>
#include <limits>

namespace
{
constexpr int HeaderLength = 8;
constexpr int TrailerLength = 32;

[[noreturn]] void fail(const char* reason)
{
    throw PropertyListError(reason);
}

const char* const NotAPropertyList = QT_TRANSLATE_NOOP("MyDocument", "The file is not a document of this kind.");
const char* const Damaged = QT_TRANSLATE_NOOP("MyDocument", "The file is damaged: parts of it are missing or do not fit together.");
const char* const Unsupported =
    QT_TRANSLATE_NOOP("MyDocument", "The file holds data of a kind that EdgeMarks cannot read.");
const char* const TooLarge = QT_TRANSLATE_NOOP("MyDocument", "The file is too large to be read.");
const char* const TooDeep = QT_TRANSLATE_NOOP("MyDocument", "The file's contents are nested too deeply to be read.");
const char* const WrongType =
    QT_TRANSLATE_NOOP("MyDocument", "The file holds data of another kind than expected.");

constexpr quint32 Invalid = std::numeric_limits<quint32>::max();

// How a built container keeps a member: a reference no list can hold reads as Invalid.
quint32 stored(qint64 ref)
{
    return ref < 0 || ref >= qint64(Invalid) ? Invalid : quint32(ref);
}

quint32 clamped(qsizetype length)
{
    return length >= qsizetype(Invalid) ? Invalid : quint32(length);
}

int widthFor(quint64 largest)
{
    return largest <= 0xFF ? 1 : largest <= 0xFFFF ? 2 : largest <= 0xFFFFFFFFu ? 4 : 8;
}

int widthCode(int width)
{
    return width == 1 ? 0 : width == 2 ? 1 : width == 4 ? 2 : 3;
}

// The bytes of a marker with its count: one, or two more and the count's own.
int markerLength(quint64 count)
{
    return count < 15 ? 1 : 2 + widthFor(count);
}

// Writes into memory sized beforehand: no checks or growth per byte.
struct Cursor {
    char* p;
    void byte(int b) { *p++ = char(b); }
    void bigEndian(quint64 value, int width)
    {
        for (int i = width - 1; i >= 0; --i)
            *p++ = char(value >> (8 * i));
    }
    void marker(int high, quint64 count)
    {
        if (count < 15) {
            byte(high << 4 | int(count));
            return;
        }
        byte(high << 4 | 0x0F);
        const int width = widthFor(count);
        byte(0x10 | widthCode(width));
        bigEndian(count, width);
    }
};

// Text as the binary form keeps it: one byte a character (ASCII) or two (UTF-16, big-endian).
QString textFrom(const uchar* p, qint64 count, bool ascii)
{
    if (ascii)
        return QString::fromLatin1(reinterpret_cast<const char*>(p), qsizetype(count));
    QString text(qsizetype(count), Qt::Uninitialized);
    auto* out = reinterpret_cast<char16_t*>(text.data());
    for (qint64 i = 0; i < count; ++i)
        out[i] = char16_t(p[2 * i] << 8 | p[2 * i + 1]);
    return text;
}

bool textEquals(const uchar* p, qint64 count, bool ascii, QStringView text)
{
    if (count != text.size())
        return false;
    for (qint64 i = 0; i < count; ++i) {
        const char16_t c = ascii ? char16_t(p[i]) : char16_t(p[2 * i] << 8 | p[2 * i + 1]);
        if (c != text[i].unicode())
            return false;
    }
    return true;
}

} // namespace

PropertyList::PropertyList() = default;

PropertyList PropertyList::fromData(const QByteArray& bytes)
{
    if (bytes.size() > MaxSize)
        fail(TooLarge);
    if (bytes.startsWith("bplist00"))
        return fromBinary(bytes);
    if (bytes.startsWith("bplist"))
        fail(Unsupported);
    return fromXml(bytes);
}

// ---------------------------------------------------------------------------
// Binary reading

PropertyList PropertyList::fromBinary(const QByteArray& bytes)
{
    PropertyList list;
    list.m_bytes = bytes;
    const qint64 size = bytes.size();
    if (size < HeaderLength + 1 + TrailerLength)
        fail(Damaged);
    const qint64 trailer = size - TrailerLength;
    list.m_offsetWidth = uchar(bytes[trailer + 6]);
    list.m_refWidth = uchar(bytes[trailer + 7]);
    if (list.m_offsetWidth < 1 || list.m_offsetWidth > 8 || list.m_refWidth < 1 || list.m_refWidth > 8)
        fail(Damaged);
    const quint64 objects = list.readUnsigned(trailer + 8, 8);
    const quint64 top = list.readUnsigned(trailer + 16, 8);
    const quint64 table = list.readUnsigned(trailer + 24, 8);
    // The offset table lies between the objects and the trailer, one entry per object.
    if (table < quint64(HeaderLength + 1) || table > quint64(trailer) || objects == 0 ||
        objects > (quint64(trailer) - table) / quint64(list.m_offsetWidth) || top >= objects)
        fail(Damaged);
    list.m_objects = qint64(objects);
    list.m_offsetTable = qint64(table);
    list.m_root = qint64(top);
    return list;
}

quint64 PropertyList::readUnsigned(qint64 at, int width) const
{
    const auto* p = reinterpret_cast<const uchar*>(m_bytes.constData()) + at;
    switch (width) {
    case 1:
        return p[0];
    case 2:
        return quint64(p[0]) << 8 | p[1];
    default: {
        quint64 value = 0;
        for (int i = 0; i < width; ++i)
            value = value << 8 | p[i];
        return value;
    }
    }
}

void PropertyList::check(Ref ref) const
{
    if (ref < 0 || ref >= count())
        fail(Damaged);
}

qint64 PropertyList::count() const
{
    return m_bytes.isEmpty() ? qint64(m_nodes.size()) : m_objects;
}

PropertyList::Span PropertyList::span(Ref ref) const
{
    // Readers ask for an object's type, then its value: the last one is kept.
    if (ref == m_lastRef)
        return m_lastSpan;
    m_lastSpan = locate(ref);
    m_lastRef = ref;
    return m_lastSpan;
}

PropertyList::Span PropertyList::locate(Ref ref) const
{
    check(ref);
    const qint64 end = m_offsetTable; // objects lie before the offset table
    const quint64 offset = readUnsigned(m_offsetTable + ref * m_offsetWidth, m_offsetWidth);
    if (offset < quint64(HeaderLength) || offset >= quint64(end))
        fail(Damaged);
    qint64 at = qint64(offset);
    const uchar marker = uchar(m_bytes[at++]);
    const int high = marker >> 4, low = marker & 0x0F;
    auto need = [&](qint64 from, qint64 bytes) {
        if (bytes < 0 || from > end || bytes > end - from)
            fail(Damaged);
    };
    auto counted = [&](Type type, qint64 unit, int width) {
        qint64 n = low;
        if (low == 0x0F) {
            need(at, 1);
            const uchar sizeMarker = uchar(m_bytes[at++]);
            if (sizeMarker >> 4 != 0x1 || (sizeMarker & 0x0F) > 3)
                fail(Damaged);
            const int w = 1 << (sizeMarker & 0x0F);
            need(at, w);
            const quint64 raw = readUnsigned(at, w);
            at += w;
            if (raw > quint64(std::numeric_limits<qint64>::max()))
                fail(Damaged);
            n = qint64(raw);
        }
        if (n > (end - at) / unit)
            fail(Damaged);
        return Span{type, n, at, width};
    };
    switch (high) {
    case 0x0:
        if (low == 0x0)
            return {Type::Null, 0, at};
        if (low == 0x8 || low == 0x9)
            return {Type::Boolean, low == 0x9, at};
        fail(Unsupported);
    case 0x1: {
        if (low > 3)
            fail(Unsupported); // 128-bit integers
        const int width = 1 << low;
        need(at, width);
        return {Type::Integer, 0, at, width};
    }
    case 0x2:
        if (low != 2 && low != 3)
            fail(Unsupported);
        need(at, 1 << low);
        return {Type::Real, 0, at, 1 << low};
    case 0x3:
        if (low != 3)
            fail(Unsupported);
        need(at, 8);
        return {Type::Date, 0, at, 8};
    case 0x4:
        return counted(Type::Data, 1, 1);
    case 0x5:
        return counted(Type::String, 1, 1);
    case 0x6:
        return counted(Type::String, 2, 2);
    case 0x8: {
        const int width = low + 1;
        if (width > 8)
            fail(Unsupported);
        need(at, width);
        return {Type::Uid, 0, at, width};
    }
    case 0xA:
        return counted(Type::Array, m_refWidth, m_refWidth);
    case 0xD:
        return counted(Type::Dictionary, 2 * qint64(m_refWidth), m_refWidth);
    case 0xC: // sets
    case 0x7: // UTF-8 strings of later versions
        fail(Unsupported);
    default:
        fail(Damaged);
    }
}

PropertyList::Ref PropertyList::member(const Span& s, qint64 index) const
{
    const quint64 ref = readUnsigned(s.start + index * m_refWidth, m_refWidth);
    if (ref >= quint64(m_objects))
        fail(Damaged);
    return Ref(ref);
}

const PropertyList::Node& PropertyList::node(Ref ref) const
{
    check(ref);
    return m_nodes[size_t(ref)];
}

const PropertyList::Node& PropertyList::built(Ref ref, Type type) const
{
    const Node& n = node(ref);
    if (n.type != type)
        fail(WrongType);
    return n;
}

const uchar* PropertyList::encoded(const Node& n) const
{
    return reinterpret_cast<const uchar*>(m_encoded.constData()) + n.value + markerLength(n.count);
}

double PropertyList::builtReal(const Node& n) const
{
    double d;
    std::memcpy(&d, &n.value, sizeof d);
    return d;
}

PropertyList::Type PropertyList::type(Ref ref) const
{
    return m_bytes.isEmpty() ? node(ref).type : span(ref).type;
}

bool PropertyList::boolean(Ref ref) const
{
    if (m_bytes.isEmpty())
        return built(ref, Type::Boolean).value != 0;
    const Span s = span(ref);
    if (s.type != Type::Boolean)
        fail(WrongType);
    return s.count != 0;
}

qint64 PropertyList::integer(Ref ref) const
{
    if (m_bytes.isEmpty())
        return built(ref, Type::Integer).value;
    const Span s = span(ref);
    if (s.type != Type::Integer)
        fail(WrongType);
    // Eight bytes are signed; shorter integers are unsigned.
    return qint64(readUnsigned(s.start, s.width));
}

double PropertyList::real(Ref ref) const
{
    if (m_bytes.isEmpty()) {
        const Node& n = node(ref);
        if (n.type != Type::Real && n.type != Type::Date)
            fail(WrongType);
        return builtReal(n);
    }
    const Span s = span(ref);
    if (s.type != Type::Real && s.type != Type::Date)
        fail(WrongType);
    const quint64 raw = readUnsigned(s.start, s.width);
    if (s.width == 4) {
        const quint32 bits = quint32(raw);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    double d;
    std::memcpy(&d, &raw, sizeof d);
    return d;
}

QString PropertyList::string(Ref ref) const
{
    if (m_bytes.isEmpty()) {
        const Node& n = built(ref, Type::String);
        return textFrom(encoded(n), n.count, n.ascii);
    }
    const Span s = span(ref);
    if (s.type != Type::String)
        fail(WrongType);
    return textFrom(reinterpret_cast<const uchar*>(m_bytes.constData()) + s.start, s.count, s.width == 1);
}

QByteArray PropertyList::data(Ref ref) const
{
    if (m_bytes.isEmpty()) {
        const Node& n = built(ref, Type::Data);
        return QByteArray(reinterpret_cast<const char*>(encoded(n)), n.count);
    }
    const Span s = span(ref);
    if (s.type != Type::Data)
        fail(WrongType);
    return m_bytes.mid(s.start, s.count);
}

quint64 PropertyList::uid(Ref ref) const
{
    if (m_bytes.isEmpty())
        return quint64(built(ref, Type::Uid).value);
    const Span s = span(ref);
    if (s.type != Type::Uid)
        fail(WrongType);
    return readUnsigned(s.start, s.width);
}

PropertyList::Members PropertyList::members(Ref container, Type type) const
{
    Members m;
    m.m_list = this;
    if (m_bytes.isEmpty()) {
        const Node& n = built(container, type);
        m.m_start = n.value;
        m.m_count = n.count;
    } else {
        const Span s = span(container);
        if (s.type != type)
            fail(WrongType);
        m.m_start = s.start;
        m.m_count = s.count;
    }
    return m;
}

PropertyList::Members PropertyList::items(Ref array) const
{
    return members(array, Type::Array);
}

PropertyList::Members PropertyList::entries(Ref dictionary) const
{
    return members(dictionary, Type::Dictionary);
}

PropertyList::Ref PropertyList::Members::member(qint64 index) const
{
    if (m_list->m_bytes.isEmpty())
        return Ref(m_list->m_members[size_t(m_start + index)]);
    return m_list->member(Span{Type::Null, m_count, m_start}, index);
}

PropertyList::Ref PropertyList::Members::at(qint64 index) const
{
    if (index < 0 || index >= m_count)
        fail(WrongType);
    return member(index);
}

PropertyList::Ref PropertyList::Members::valueAt(qint64 index) const
{
    if (index < 0 || index >= m_count)
        fail(WrongType);
    return member(m_count + index);
}

PropertyList::Ref PropertyList::Members::find(QStringView key) const
{
    for (qint64 i = 0; i < m_count; ++i)
        if (m_list->equals(member(i), key))
            return member(m_count + i);
    return -1;
}

qint64 PropertyList::size(Ref ref) const
{
    const Type t = type(ref);
    if (t != Type::Array && t != Type::Dictionary)
        fail(WrongType);
    return members(ref, t).size();
}

PropertyList::Ref PropertyList::item(Ref array, qint64 index) const
{
    return items(array).at(index);
}

PropertyList::Ref PropertyList::key(Ref dictionary, qint64 index) const
{
    return entries(dictionary).at(index);
}

PropertyList::Ref PropertyList::value(Ref dictionary, qint64 index) const
{
    return entries(dictionary).valueAt(index);
}

bool PropertyList::equals(Ref ref, QStringView text) const
{
    // Compared in place: no string is made for a key that does not match.
    if (m_bytes.isEmpty()) {
        const Node& n = node(ref);
        return n.type == Type::String && textEquals(encoded(n), n.count, n.ascii, text);
    }
    const Span s = span(ref);
    return s.type == Type::String && textEquals(reinterpret_cast<const uchar*>(m_bytes.constData()) + s.start,
                                                s.count, s.width == 1, text);
}

PropertyList::Ref PropertyList::find(Ref dictionary, QStringView wanted) const
{
    return entries(dictionary).find(wanted);
}

// ---------------------------------------------------------------------------
// XML reading

namespace
{
// Dates are kept as seconds since 2001-01-01 00:00:00 UTC, as the binary form keeps them.
const QDateTime ReferenceDate(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
} // namespace

PropertyList::Ref PropertyList::addXmlValue(QStringView name, const QString& text)
{
    bool ok = true;
    Ref ref = -1;
    if (name == QLatin1String("string")) {
        ref = addString(text);
    } else if (name == QLatin1String("integer")) {
        const QString t = text.trimmed();
        qint64 i = t.toLongLong(&ok, 10);
        if (!ok) // the unsigned 64-bit range reads back as its bit pattern
            i = qint64(t.toULongLong(&ok, 10));
        ref = addInteger(i);
    } else if (name == QLatin1String("real")) {
        ref = addReal(text.trimmed().toDouble(&ok));
    } else if (name == QLatin1String("true") || name == QLatin1String("false")) {
        ref = addBoolean(name == QLatin1String("true"));
    } else if (name == QLatin1String("data")) {
        const auto decoded = QByteArray::fromBase64Encoding(text.toLatin1().simplified().replace(' ', ""));
        ok = bool(decoded);
        ref = addData(*decoded);
    } else if (name == QLatin1String("date")) {
        const QDateTime when = QDateTime::fromString(text.trimmed(), Qt::ISODate);
        ok = when.isValid();
        ref = addDate(double(ReferenceDate.msecsTo(when)) / 1000);
    } else {
        fail(Unsupported);
    }
    if (!ok)
        fail(NotAPropertyList);
    return ref;
}

PropertyList::Ref PropertyList::addXmlContainer(bool dictionary, std::vector<Ref>&& members)
{
    if (!dictionary)
        return addArray(std::move(members));
    std::vector<std::pair<Ref, Ref>> pairs;
    pairs.reserve(members.size() / 2);
    for (size_t i = 0; i < members.size(); i += 2)
        pairs.emplace_back(members[i], members[i + 1]);
    // <dict><key>CF$UID</key><integer>n</integer></dict> is how XML writes a UID.
    if (pairs.size() == 1 && equals(pairs[0].first, u"CF$UID") && type(pairs[0].second) == Type::Integer)
        return addUid(quint64(integer(pairs[0].second)));
    return addDictionary(std::move(pairs));
}

PropertyList PropertyList::fromXml(const QByteArray& bytes)
{
    PropertyList list;
    QXmlStreamReader xml(bytes);
    struct Frame {
        bool dictionary;
        std::vector<Ref> members; // dictionaries: key, value, key, value...
        bool keyPending = false;
    };
    std::vector<Frame> stack;
    bool inPlist = false;
    auto place = [&](Ref ref) {
        if (stack.empty()) {
            if (list.m_root >= 0)
                fail(NotAPropertyList);
            list.m_root = ref;
            return;
        }
        Frame& parent = stack.back();
        if (parent.dictionary) {
            if (!parent.keyPending)
                fail(NotAPropertyList);
            parent.keyPending = false;
        }
        parent.members.push_back(ref);
    };
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QStringView name = xml.name();
            if (!inPlist) {
                if (name != QLatin1String("plist"))
                    fail(NotAPropertyList);
                inPlist = true;
                continue;
            }
            if (name == QLatin1String("dict") || name == QLatin1String("array")) {
                if (int(stack.size()) >= MaxDepth)
                    fail(TooDeep);
                if (!stack.empty() && stack.back().dictionary && !stack.back().keyPending)
                    fail(NotAPropertyList);
                stack.push_back({name == QLatin1String("dict"), {}});
                continue;
            }
            if (name == QLatin1String("key")) {
                if (stack.empty() || !stack.back().dictionary || stack.back().keyPending)
                    fail(NotAPropertyList);
                stack.back().members.push_back(list.addString(xml.readElementText()));
                stack.back().keyPending = true;
                continue;
            }
            const QString text = xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
            if (xml.hasError())
                fail(NotAPropertyList);
            place(list.addXmlValue(name, text));
        } else if (token == QXmlStreamReader::EndElement) {
            const QStringView name = xml.name();
            if (name != QLatin1String("dict") && name != QLatin1String("array"))
                continue;
            Frame frame = std::move(stack.back());
            stack.pop_back();
            if (frame.keyPending)
                fail(NotAPropertyList);
            place(list.addXmlContainer(frame.dictionary, std::move(frame.members)));
        }
    }
    if (xml.hasError() || !stack.empty() || list.m_root < 0)
        fail(NotAPropertyList);
    return list;
}

// ---------------------------------------------------------------------------
// Building and writing

PropertyList::Ref PropertyList::add(Type type, qint64 value)
{
    m_nodes.push_back(Node{type, false, 0, value});
    return Ref(m_nodes.size() - 1);
}

PropertyList::Ref PropertyList::addNull()
{
    return add(Type::Null, 0);
}

PropertyList::Ref PropertyList::addBoolean(bool b)
{
    return add(Type::Boolean, b);
}

PropertyList::Ref PropertyList::addInteger(qint64 i)
{
    return add(Type::Integer, i);
}

PropertyList::Ref PropertyList::addReal(double d)
{
    qint64 bits;
    std::memcpy(&bits, &d, sizeof bits);
    return add(Type::Real, bits);
}

PropertyList::Ref PropertyList::addDate(double secondsSince2001)
{
    // What the text form can write: the years 1 to 9999. A date beyond them (or
    // no number at all) is refused here rather than cast into nonsense later.
    static const double earliest = double(ReferenceDate.secsTo(QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC)));
    static const double latest =
        double(ReferenceDate.secsTo(QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC)));
    if (!(secondsSince2001 >= earliest && secondsSince2001 <= latest))
        fail(QT_TRANSLATE_NOOP("MyDocument", "The property list holds a date outside the years 1 to 9999."));
    const Ref ref = addReal(secondsSince2001);
    m_nodes.back().type = Type::Date;
    return ref;
}

PropertyList::Ref PropertyList::addString(QStringView s)
{
    const quint32 length = clamped(s.size());
    bool ascii = true;
    for (const QChar c : s)
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    const Ref ref = add(Type::String, qint64(m_encoded.size()));
    Node& n = m_nodes.back();
    n.ascii = ascii;
    n.count = length;
    if (length == Invalid)
        return ref; // refused when the list is written
    const qsizetype at = m_encoded.size();
    m_encoded.resize(at + markerLength(length) + (ascii ? 1 : 2) * qsizetype(length));
    Cursor out{m_encoded.data() + at};
    out.marker(ascii ? 0x5 : 0x6, length);
    const char16_t* p = s.utf16();
    if (ascii) {
        for (quint32 i = 0; i < length; ++i)
            *out.p++ = char(p[i]);
    } else {
        for (quint32 i = 0; i < length; ++i) {
            *out.p++ = char(p[i] >> 8);
            *out.p++ = char(p[i]);
        }
    }
    return ref;
}

PropertyList::Ref PropertyList::addData(const QByteArray& d)
{
    const Ref ref = add(Type::Data, qint64(m_encoded.size()));
    const quint32 length = clamped(d.size());
    m_nodes.back().count = length;
    if (length == Invalid)
        return ref; // refused when the list is written
    const qsizetype at = m_encoded.size();
    m_encoded.resize(at + markerLength(length) + qsizetype(length));
    Cursor out{m_encoded.data() + at};
    out.marker(0x4, length);
    if (length > 0)
        std::memcpy(out.p, d.constData(), length);
    return ref;
}

PropertyList::Ref PropertyList::addUid(quint64 uid)
{
    return add(Type::Uid, qint64(uid));
}

PropertyList::Ref PropertyList::addArray(std::vector<Ref> members)
{
    const Ref ref = addNull();
    setArray(ref, std::move(members));
    return ref;
}

PropertyList::Ref PropertyList::addDictionary(std::vector<std::pair<Ref, Ref>> pairs)
{
    const Ref ref = addNull();
    setDictionary(ref, std::move(pairs));
    return ref;
}

void PropertyList::setArray(Ref slot, std::vector<Ref> members)
{
    Node& n = m_nodes.at(size_t(slot));
    n.type = Type::Array;
    n.count = clamped(qsizetype(members.size()));
    n.value = qint64(m_members.size());
    for (Ref m : members)
        m_members.push_back(stored(m));
}

void PropertyList::setDictionary(Ref slot, std::vector<std::pair<Ref, Ref>> pairs)
{
    setDictionary(slot, std::span<const std::pair<Ref, Ref>>(pairs));
}

void PropertyList::reserve(qint64 objects, qint64 members)
{
    m_nodes.reserve(m_nodes.size() + size_t(objects));
    m_members.reserve(m_members.size() + size_t(members));
}

void PropertyList::setDictionary(Ref slot, std::span<const std::pair<Ref, Ref>> pairs)
{
    Node& n = m_nodes.at(size_t(slot));
    n.type = Type::Dictionary;
    n.count = clamped(qsizetype(pairs.size()));
    n.value = qint64(m_members.size());
    for (const auto& p : pairs)
        m_members.push_back(stored(p.first));
    for (const auto& p : pairs)
        m_members.push_back(stored(p.second));
}

QByteArray PropertyList::toBinary() const
{
    const quint64 objects = m_nodes.size();
    if (objects == 0 || m_root < 0 || quint64(m_root) >= objects || !m_bytes.isEmpty())
        fail(Damaged);
    const int refWidth = widthFor(objects - 1);
    auto integerWidth = [](qint64 i) { return i < 0 ? 8 : widthFor(quint64(i)); };

    // First the size, from the nodes alone, so that the bytes are allocated once
    // and each object's offset goes straight into the table as it is written.
    quint64 at = HeaderLength;
    for (const Node& n : m_nodes) {
        switch (n.type) {
        case Type::Null:
        case Type::Boolean:
            at += 1;
            break;
        case Type::Integer:
            at += 1 + integerWidth(n.value);
            break;
        case Type::Real:
        case Type::Date:
            at += 9;
            break;
        case Type::String:
        case Type::Data:
            at +=
                markerLength(n.count) + (n.type == Type::String && !n.ascii ? 2 * quint64(n.count) : n.count);
            break;
        case Type::Uid:
            at += 1 + widthFor(quint64(n.value));
            break;
        case Type::Array:
            at += markerLength(n.count) + quint64(n.count) * refWidth;
            break;
        case Type::Dictionary:
            at += markerLength(n.count) + 2 * quint64(n.count) * refWidth;
            break;
        }
        // A count no list can hold (Invalid) is over the bound by itself.
        if (at > quint64(MaxSize))
            fail(TooLarge);
    }
    const quint64 table = at;
    const int offsetWidth = widthFor(table);
    const quint64 total = table + objects * offsetWidth + TrailerLength;
    if (total > quint64(MaxSize))
        fail(TooLarge);

    QByteArray bytes(qsizetype(total), Qt::Uninitialized);
    char* const begin = bytes.data();
    Cursor out{begin};
    Cursor offsets{begin + table};
    std::memcpy(out.p, "bplist00", HeaderLength);
    out.p += HeaderLength;
    for (const Node& n : m_nodes) {
        offsets.bigEndian(quint64(out.p - begin), offsetWidth);
        switch (n.type) {
        case Type::Null:
            out.byte(0x00);
            break;
        case Type::Boolean:
            out.byte(n.value ? 0x09 : 0x08);
            break;
        case Type::Integer: {
            // Negative numbers take eight bytes, which readers take as signed.
            const int width = integerWidth(n.value);
            out.byte(0x10 | widthCode(width));
            out.bigEndian(quint64(n.value), width);
            break;
        }
        case Type::Real:
        case Type::Date:
            out.byte(n.type == Type::Real ? 0x23 : 0x33);
            out.bigEndian(quint64(n.value), 8);
            break;
        case Type::String:
        case Type::Data: {
            // Encoded when added: copied as they are.
            const qint64 length =
                markerLength(n.count) + (n.type == Type::String && !n.ascii ? 2 : 1) * qint64(n.count);
            std::memcpy(out.p, m_encoded.constData() + n.value, size_t(length));
            out.p += length;
            break;
        }
        case Type::Uid: {
            const int width = widthFor(quint64(n.value));
            out.byte(0x80 | (width - 1));
            out.bigEndian(quint64(n.value), width);
            break;
        }
        case Type::Array:
        case Type::Dictionary: {
            out.marker(n.type == Type::Array ? 0xA : 0xD, n.count);
            const quint64 refs = n.type == Type::Array ? n.count : 2 * quint64(n.count);
            const quint32* m = m_members.data() + n.value;
            for (quint64 i = 0; i < refs; ++i) {
                if (m[i] >= objects)
                    fail(Damaged);
                out.bigEndian(m[i], refWidth);
            }
            break;
        }
        }
    }
    std::memset(offsets.p, 0, 6);
    offsets.p += 6;
    offsets.byte(offsetWidth);
    offsets.byte(refWidth);
    offsets.bigEndian(objects, 8);
    offsets.bigEndian(quint64(m_root), 8);
    offsets.bigEndian(table, 8);
    Q_ASSERT(out.p == begin + table && offsets.p == begin + total);
    return bytes;
}

QByteArray PropertyList::toXml() const
{
    if (m_root < 0 || m_bytes.size() > 0)
        fail(Damaged);
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(-1);
    xml.writeStartDocument();
    xml.writeDTD(QStringLiteral("<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                                "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">"));
    xml.writeStartElement(QStringLiteral("plist"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    // Depth-first without recursion: (node, next member) pairs.
    std::vector<std::pair<Ref, qint64>> stack{{m_root, 0}};
    auto open = [&](Ref ref) {
        const Node& n = node(ref);
        switch (n.type) {
        case Type::Null:
            xml.writeEmptyElement(QStringLiteral("string"));
            return false;
        case Type::Boolean:
            xml.writeEmptyElement(n.value ? QStringLiteral("true") : QStringLiteral("false"));
            return false;
        case Type::Integer:
            xml.writeTextElement(QStringLiteral("integer"), QString::number(n.value));
            return false;
        case Type::Real:
            xml.writeTextElement(QStringLiteral("real"), QString::number(builtReal(n), 'g', 17));
            return false;
        case Type::Date: {
            const QDateTime when = ReferenceDate.addMSecs(qint64(builtReal(n) * 1000));
            xml.writeTextElement(QStringLiteral("date"), when.toString(Qt::ISODate));
            return false;
        }
        case Type::String:
            xml.writeTextElement(QStringLiteral("string"), string(ref));
            return false;
        case Type::Data:
            xml.writeTextElement(QStringLiteral("data"), QString::fromLatin1(data(ref).toBase64()));
            return false;
        case Type::Uid:
            xml.writeStartElement(QStringLiteral("dict"));
            xml.writeTextElement(QStringLiteral("key"), QStringLiteral("CF$UID"));
            xml.writeTextElement(QStringLiteral("integer"), QString::number(n.value));
            xml.writeEndElement();
            return false;
        case Type::Array:
            xml.writeStartElement(QStringLiteral("array"));
            return true;
        case Type::Dictionary:
            xml.writeStartElement(QStringLiteral("dict"));
            return true;
        }
        return false;
    };
    if (!open(m_root))
        stack.clear();
    while (!stack.empty()) {
        auto& [ref, next] = stack.back();
        const Node& n = m_nodes[size_t(ref)];
        if (next >= qint64(n.count)) {
            xml.writeEndElement();
            stack.pop_back();
            continue;
        }
        const qint64 i = next++;
        const quint32* m = m_members.data() + n.value;
        Ref child = m[i];
        if (n.type == Type::Dictionary) {
            xml.writeTextElement(QStringLiteral("key"), string(m[i]));
            child = m[n.count + i];
        }
        if (stack.size() >= size_t(MaxDepth))
            fail(TooDeep);
        if (open(child))
            stack.push_back({child, 0});
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}
