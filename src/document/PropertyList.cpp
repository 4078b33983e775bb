#include "PropertyList.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {
constexpr int HeaderLength = 8;
constexpr int TrailerLength = 32;

[[noreturn]] void fail(const char* reason)
{
    throw PropertyListError(reason);
}

const char* const NotAPropertyList = QT_TRANSLATE_NOOP("MyDocument", "The file is not a property list.");
const char* const Damaged = QT_TRANSLATE_NOOP("MyDocument", "The property list is damaged.");
const char* const Unsupported =
    QT_TRANSLATE_NOOP("MyDocument", "The property list holds a kind of value that is not supported.");
const char* const TooLarge = QT_TRANSLATE_NOOP("MyDocument", "The property list is too large.");
const char* const TooDeep = QT_TRANSLATE_NOOP("MyDocument", "The property list nests too deeply.");
const char* const WrongType = QT_TRANSLATE_NOOP("MyDocument", "The property list holds a value of another kind than expected.");

int widthFor(quint64 largest)
{
    return largest <= 0xFF ? 1 : largest <= 0xFFFF ? 2 : largest <= 0xFFFFFFFFu ? 4 : 8;
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

PropertyList::Type PropertyList::type(Ref ref) const
{
    if (m_bytes.isEmpty()) {
        check(ref);
        return m_nodes[size_t(ref)].type;
    }
    return span(ref).type;
}

bool PropertyList::boolean(Ref ref) const
{
    if (type(ref) != Type::Boolean)
        fail(WrongType);
    return m_bytes.isEmpty() ? m_nodes[size_t(ref)].integer != 0 : span(ref).count != 0;
}

qint64 PropertyList::integer(Ref ref) const
{
    if (m_bytes.isEmpty()) {
        if (type(ref) != Type::Integer)
            fail(WrongType);
        return m_nodes[size_t(ref)].integer;
    }
    const Span s = span(ref);
    if (s.type != Type::Integer)
        fail(WrongType);
    // Eight bytes are signed; shorter integers are unsigned.
    return qint64(readUnsigned(s.start, s.width));
}

double PropertyList::real(Ref ref) const
{
    if (m_bytes.isEmpty()) {
        const Type t = type(ref);
        if (t != Type::Real && t != Type::Date)
            fail(WrongType);
        return m_nodes[size_t(ref)].real;
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
        if (type(ref) != Type::String)
            fail(WrongType);
        return m_nodes[size_t(ref)].string;
    }
    const Span s = span(ref);
    if (s.type != Type::String)
        fail(WrongType);
    const char* p = m_bytes.constData() + s.start;
    if (s.width == 1)
        return QString::fromLatin1(p, qsizetype(s.count));
    QString text(qsizetype(s.count), Qt::Uninitialized);
    auto* out = reinterpret_cast<char16_t*>(text.data());
    for (qint64 i = 0; i < s.count; ++i)
        out[i] = char16_t(uchar(p[2 * i]) << 8 | uchar(p[2 * i + 1]));
    return text;
}

QByteArray PropertyList::data(Ref ref) const
{
    if (m_bytes.isEmpty()) {
        if (type(ref) != Type::Data)
            fail(WrongType);
        return m_nodes[size_t(ref)].data;
    }
    const Span s = span(ref);
    if (s.type != Type::Data)
        fail(WrongType);
    return m_bytes.mid(s.start, s.count);
}

quint64 PropertyList::uid(Ref ref) const
{
    if (m_bytes.isEmpty()) {
        if (type(ref) != Type::Uid)
            fail(WrongType);
        return quint64(m_nodes[size_t(ref)].integer);
    }
    const Span s = span(ref);
    if (s.type != Type::Uid)
        fail(WrongType);
    return readUnsigned(s.start, s.width);
}

qint64 PropertyList::size(Ref ref) const
{
    if (m_bytes.isEmpty()) {
        const Node& n = m_nodes[size_t((check(ref), ref))];
        if (n.type == Type::Array)
            return qint64(n.members.size());
        if (n.type == Type::Dictionary)
            return qint64(n.members.size() / 2);
        fail(WrongType);
    }
    const Span s = span(ref);
    if (s.type != Type::Array && s.type != Type::Dictionary)
        fail(WrongType);
    return s.count;
}

PropertyList::Ref PropertyList::item(Ref array, qint64 index) const
{
    if (m_bytes.isEmpty()) {
        check(array);
        const Node& n = m_nodes[size_t(array)];
        if (n.type != Type::Array || index < 0 || index >= qint64(n.members.size()))
            fail(WrongType);
        return n.members[size_t(index)];
    }
    const Span s = span(array);
    if (s.type != Type::Array || index < 0 || index >= s.count)
        fail(WrongType);
    return member(s, index);
}

PropertyList::Ref PropertyList::key(Ref dictionary, qint64 index) const
{
    if (m_bytes.isEmpty()) {
        check(dictionary);
        const Node& n = m_nodes[size_t(dictionary)];
        if (n.type != Type::Dictionary || index < 0 || index >= qint64(n.members.size() / 2))
            fail(WrongType);
        return n.members[size_t(index)];
    }
    const Span s = span(dictionary);
    if (s.type != Type::Dictionary || index < 0 || index >= s.count)
        fail(WrongType);
    return member(s, index);
}

PropertyList::Ref PropertyList::value(Ref dictionary, qint64 index) const
{
    if (m_bytes.isEmpty()) {
        check(dictionary);
        const Node& n = m_nodes[size_t(dictionary)];
        if (n.type != Type::Dictionary || index < 0 || index >= qint64(n.members.size() / 2))
            fail(WrongType);
        return n.members[n.members.size() / 2 + size_t(index)];
    }
    const Span s = span(dictionary);
    if (s.type != Type::Dictionary || index < 0 || index >= s.count)
        fail(WrongType);
    return member(s, s.count + index);
}

bool PropertyList::equals(Ref ref, QStringView text) const
{
    if (m_bytes.isEmpty())
        return type(ref) == Type::String && m_nodes[size_t(ref)].string == text;
    const Span s = span(ref);
    if (s.type != Type::String || s.count != text.size())
        return false;
    // Compared in place: no string is made for a key that does not match.
    const auto* p = reinterpret_cast<const uchar*>(m_bytes.constData()) + s.start;
    for (qint64 i = 0; i < s.count; ++i) {
        const char16_t c = s.width == 1 ? char16_t(p[i]) : char16_t(p[2 * i] << 8 | p[2 * i + 1]);
        if (c != text[i].unicode())
            return false;
    }
    return true;
}

PropertyList::Ref PropertyList::find(Ref dictionary, QStringView wanted) const
{
    const qint64 n = size(dictionary);
    for (qint64 i = 0; i < n; ++i)
        if (equals(key(dictionary, i), wanted))
            return value(dictionary, i);
    return -1;
}

// ---------------------------------------------------------------------------
// XML reading

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
                Node node;
                node.type = Type::String;
                node.string = xml.readElementText();
                stack.back().members.push_back(list.add(std::move(node)));
                stack.back().keyPending = true;
                continue;
            }
            Node node;
            const QString text = xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
            if (xml.hasError())
                fail(NotAPropertyList);
            bool ok = true;
            if (name == QLatin1String("string")) {
                node.type = Type::String;
                node.string = text;
            } else if (name == QLatin1String("integer")) {
                node.type = Type::Integer;
                const QString t = text.trimmed();
                node.integer = t.toLongLong(&ok, 10);
                if (!ok) // the unsigned 64-bit range reads back as its bit pattern
                    node.integer = qint64(t.toULongLong(&ok, 10));
            } else if (name == QLatin1String("real")) {
                node.type = Type::Real;
                node.real = text.trimmed().toDouble(&ok);
            } else if (name == QLatin1String("true") || name == QLatin1String("false")) {
                node.type = Type::Boolean;
                node.integer = name == QLatin1String("true");
            } else if (name == QLatin1String("data")) {
                node.type = Type::Data;
                const auto decoded = QByteArray::fromBase64Encoding(text.toLatin1().simplified().replace(' ', ""));
                ok = bool(decoded);
                node.data = *decoded;
            } else if (name == QLatin1String("date")) {
                node.type = Type::Date;
                node.string = text.trimmed();
            } else {
                fail(Unsupported);
            }
            if (!ok)
                fail(NotAPropertyList);
            place(list.add(std::move(node)));
        } else if (token == QXmlStreamReader::EndElement) {
            const QStringView name = xml.name();
            if (name != QLatin1String("dict") && name != QLatin1String("array"))
                continue;
            Frame frame = std::move(stack.back());
            stack.pop_back();
            if (frame.keyPending)
                fail(NotAPropertyList);
            Node node;
            if (frame.dictionary) {
                // Keys first, then values, as the binary form keeps them.
                std::vector<Ref> keys, values;
                for (size_t i = 0; i < frame.members.size(); i += 2) {
                    keys.push_back(frame.members[i]);
                    values.push_back(frame.members[i + 1]);
                }
                // <dict><key>CF$UID</key><integer>n</integer></dict> is how XML writes a UID.
                if (keys.size() == 1 && list.m_nodes[size_t(keys[0])].string == QLatin1String("CF$UID") &&
                    list.m_nodes[size_t(values[0])].type == Type::Integer) {
                    node.type = Type::Uid;
                    node.integer = list.m_nodes[size_t(values[0])].integer;
                } else {
                    node.type = Type::Dictionary;
                    node.members = std::move(keys);
                    node.members.insert(node.members.end(), values.begin(), values.end());
                }
            } else {
                node.type = Type::Array;
                node.members = std::move(frame.members);
            }
            place(list.add(std::move(node)));
        }
    }
    if (xml.hasError() || !stack.empty() || list.m_root < 0)
        fail(NotAPropertyList);
    return list;
}

// ---------------------------------------------------------------------------
// Building and writing

PropertyList::Ref PropertyList::add(Node&& node)
{
    m_nodes.push_back(std::move(node));
    return Ref(m_nodes.size() - 1);
}

PropertyList::Ref PropertyList::addNull()
{
    return add(Node{});
}

PropertyList::Ref PropertyList::addBoolean(bool b)
{
    Node n;
    n.type = Type::Boolean;
    n.integer = b;
    return add(std::move(n));
}

PropertyList::Ref PropertyList::addInteger(qint64 i)
{
    Node n;
    n.type = Type::Integer;
    n.integer = i;
    return add(std::move(n));
}

PropertyList::Ref PropertyList::addReal(double d)
{
    Node n;
    n.type = Type::Real;
    n.real = d;
    return add(std::move(n));
}

PropertyList::Ref PropertyList::addString(const QString& s)
{
    Node n;
    n.type = Type::String;
    n.string = s;
    return add(std::move(n));
}

PropertyList::Ref PropertyList::addData(const QByteArray& d)
{
    Node n;
    n.type = Type::Data;
    n.data = d;
    return add(std::move(n));
}

PropertyList::Ref PropertyList::addUid(quint64 uid)
{
    Node n;
    n.type = Type::Uid;
    n.integer = qint64(uid);
    return add(std::move(n));
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
    n.members = std::move(members);
}

void PropertyList::setDictionary(Ref slot, std::vector<std::pair<Ref, Ref>> pairs)
{
    Node& n = m_nodes.at(size_t(slot));
    n.type = Type::Dictionary;
    n.members.clear();
    n.members.reserve(pairs.size() * 2);
    for (const auto& p : pairs)
        n.members.push_back(p.first);
    for (const auto& p : pairs)
        n.members.push_back(p.second);
}

namespace {
// A growing byte buffer without QByteArray's per-byte checks.
struct Bytes {
    std::vector<char> v;
    void byte(int b) { v.push_back(char(b)); }
    void bigEndian(quint64 value, int width)
    {
        for (int i = width - 1; i >= 0; --i)
            v.push_back(char(value >> (8 * i)));
    }
    void raw(const char* p, size_t n) { v.insert(v.end(), p, p + n); }
};

int widthCode(int width)
{
    return width == 1 ? 0 : width == 2 ? 1 : width == 4 ? 2 : 3;
}
} // namespace

QByteArray PropertyList::toBinary() const
{
    const quint64 objects = m_nodes.size();
    if (objects == 0 || m_root < 0 || quint64(m_root) >= objects)
        fail(Damaged);
    const int refWidth = widthFor(objects - 1);
    Bytes out;
    out.v.reserve(size_t(objects) * 16 + 64);
    out.raw("bplist00", HeaderLength);
    std::vector<quint64> offsets;
    offsets.reserve(objects);

    auto marker = [&](int high, quint64 count) {
        if (count < 15) {
            out.byte(high << 4 | int(count));
            return;
        }
        out.byte(high << 4 | 0x0F);
        const int width = widthFor(count);
        out.byte(0x10 | widthCode(width));
        out.bigEndian(count, width);
    };
    for (const Node& n : m_nodes) {
        offsets.push_back(quint64(out.v.size()));
        switch (n.type) {
        case Type::Null:
            out.byte(0x00);
            break;
        case Type::Boolean:
            out.byte(n.integer ? 0x09 : 0x08);
            break;
        case Type::Integer: {
            // Negative numbers take eight bytes, which readers take as signed.
            const int width = n.integer < 0 ? 8 : widthFor(quint64(n.integer));
            out.byte(0x10 | widthCode(width));
            out.bigEndian(quint64(n.integer), width);
            break;
        }
        case Type::Real:
        case Type::Date: {
            quint64 bits;
            std::memcpy(&bits, &n.real, sizeof bits);
            out.byte(n.type == Type::Real ? 0x23 : 0x33);
            out.bigEndian(bits, 8);
            break;
        }
        case Type::String: {
            const ushort* p = n.string.utf16();
            const qsizetype length = n.string.size();
            bool ascii = true;
            for (qsizetype i = 0; i < length && ascii; ++i)
                ascii = p[i] < 0x80;
            if (ascii) {
                marker(0x5, quint64(length));
                for (qsizetype i = 0; i < length; ++i)
                    out.v.push_back(char(p[i]));
            } else {
                marker(0x6, quint64(length));
                for (qsizetype i = 0; i < length; ++i) {
                    out.v.push_back(char(p[i] >> 8));
                    out.v.push_back(char(p[i]));
                }
            }
            break;
        }
        case Type::Data:
            marker(0x4, quint64(n.data.size()));
            out.raw(n.data.constData(), size_t(n.data.size()));
            break;
        case Type::Uid: {
            const int width = widthFor(quint64(n.integer));
            out.byte(0x80 | (width - 1));
            out.bigEndian(quint64(n.integer), width);
            break;
        }
        case Type::Array:
        case Type::Dictionary: {
            const quint64 count = n.type == Type::Array ? n.members.size() : n.members.size() / 2;
            marker(n.type == Type::Array ? 0xA : 0xD, count);
            for (Ref m : n.members) {
                if (m < 0 || quint64(m) >= objects)
                    fail(Damaged);
                out.bigEndian(quint64(m), refWidth);
            }
            break;
        }
        }
    }
    const quint64 table = quint64(out.v.size());
    const int offsetWidth = widthFor(table);
    for (quint64 o : offsets)
        out.bigEndian(o, offsetWidth);
    out.v.insert(out.v.end(), 6, '\0');
    out.byte(offsetWidth);
    out.byte(refWidth);
    out.bigEndian(objects, 8);
    out.bigEndian(quint64(m_root), 8);
    out.bigEndian(table, 8);
    return QByteArray(out.v.data(), qsizetype(out.v.size()));
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
    std::vector<std::pair<Ref, size_t>> stack{{m_root, 0}};
    auto open = [&](Ref ref) {
        const Node& n = m_nodes.at(size_t(ref));
        switch (n.type) {
        case Type::Null:
            xml.writeEmptyElement(QStringLiteral("string"));
            return false;
        case Type::Boolean:
            xml.writeEmptyElement(n.integer ? QStringLiteral("true") : QStringLiteral("false"));
            return false;
        case Type::Integer:
            xml.writeTextElement(QStringLiteral("integer"), QString::number(n.integer));
            return false;
        case Type::Real:
            xml.writeTextElement(QStringLiteral("real"), QString::number(n.real, 'g', 17));
            return false;
        case Type::Date:
            xml.writeTextElement(QStringLiteral("date"), n.string);
            return false;
        case Type::String:
            xml.writeTextElement(QStringLiteral("string"), n.string);
            return false;
        case Type::Data:
            xml.writeTextElement(QStringLiteral("data"), QString::fromLatin1(n.data.toBase64()));
            return false;
        case Type::Uid:
            xml.writeStartElement(QStringLiteral("dict"));
            xml.writeTextElement(QStringLiteral("key"), QStringLiteral("CF$UID"));
            xml.writeTextElement(QStringLiteral("integer"), QString::number(n.integer));
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
        const size_t members = n.type == Type::Array ? n.members.size() : n.members.size() / 2;
        if (next >= members) {
            xml.writeEndElement();
            stack.pop_back();
            continue;
        }
        const size_t i = next++;
        Ref child = n.members[i];
        if (n.type == Type::Dictionary) {
            const Node& k = m_nodes.at(size_t(n.members[i]));
            xml.writeTextElement(QStringLiteral("key"), k.string);
            child = n.members[members + i];
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
