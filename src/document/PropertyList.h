#pragma once

#include <QByteArray>
#include <QString>

#include <span>
#include <stdexcept>
#include <utility>
#include <vector>

class PropertyListError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A property list as a table of objects addressed by number, the way the binary
// format ("bplist00") stores them: containers hold the numbers of their members.
//
// Read from bytes, a binary list is not copied into a tree: each object is
// decoded from the bytes when it is asked for, and every count, offset and
// length is checked against the file first. An XML list is read into the same
// table by a reader that refuses nesting deeper than MaxDepth. Nothing here
// recurses over the objects, so no input can exhaust the stack; callers that walk
// the graph bound their own depth (references may loop).
//
// Built by hand (the add* functions), a list is written in time linear in the
// number of objects, as binary or as XML. A list is read by one thread at a time.
class PropertyList
{
public:
    enum class Type : quint8 { Null, Boolean, Integer, Real, Date, Data, String, Uid, Array, Dictionary };
    using Ref = qint64;

    static constexpr qint64 MaxSize = qint64(256) << 20;
    static constexpr int MaxDepth = 256;

    PropertyList();
    // Reads binary ("bplist00") or XML; throws PropertyListError with a sentence
    // for the user (an English key of the "MyDocument" context).
    static PropertyList fromData(const QByteArray& bytes);

    Ref root() const { return m_root; }
    qint64 count() const;
    Type type(Ref ref) const;

    bool boolean(Ref ref) const;
    qint64 integer(Ref ref) const; // 8-byte integers are signed, shorter ones unsigned
    double real(Ref ref) const;    // also a date's seconds since 2001
    QString string(Ref ref) const; // every character, U+0000 included
    QByteArray data(Ref ref) const;
    quint64 uid(Ref ref) const;
    // Arrays: the members; dictionaries: the number of pairs.
    qint64 size(Ref ref) const;
    Ref item(Ref array, qint64 index) const;
    Ref key(Ref dictionary, qint64 index) const;
    Ref value(Ref dictionary, qint64 index) const;
    // The value under a string key, or -1.
    Ref find(Ref dictionary, QStringView key) const;

    // A container's member references, read with one lookup of the container:
    // an array's items, or a dictionary's keys and values. Valid while the list is.
    class Members
    {
    public:
        qint64 size() const { return m_count; } // items, or pairs
        Ref at(qint64 index) const;             // an item, or a key
        Ref valueAt(qint64 index) const;        // dictionaries: the value of key index
        Ref find(QStringView key) const;

    private:
        friend class PropertyList;
        const PropertyList* m_list = nullptr;
        qint64 m_start = 0; // binary: the first reference's offset; built: in m_members
        qint64 m_count = 0;
        Ref member(qint64 index) const;
    };
    Members items(Ref array) const;
    Members entries(Ref dictionary) const;
    // Whether ref is the string text.
    bool equals(Ref ref, QStringView text) const;

    // Building.
    Ref addNull();
    Ref addBoolean(bool b);
    Ref addInteger(qint64 i);
    Ref addReal(double d);
    Ref addDate(double secondsSince2001);
    Ref addString(QStringView s);
    Ref addString(const QString& s) { return addString(QStringView(s)); }
    Ref addData(const QByteArray& d);
    Ref addUid(quint64 uid);
    Ref addArray(std::vector<Ref> members);
    Ref addDictionary(std::vector<std::pair<Ref, Ref>> pairs);
    // Fills a slot reserved with addNull(), so that a container can take a lower
    // number than its members.
    void setArray(Ref slot, std::vector<Ref> members);
    void setDictionary(Ref slot, std::vector<std::pair<Ref, Ref>> pairs);
    void setDictionary(Ref slot, std::span<const std::pair<Ref, Ref>> pairs);
    // Room for this many more objects and container members.
    void reserve(qint64 objects, qint64 members);
    void setRoot(Ref ref) { m_root = ref; }

    QByteArray toBinary() const;
    QByteArray toXml() const;

private:
    // Built objects: sixteen bytes each, texts, data and member lists beside them.
    struct Node {
        Type type = Type::Null;
        bool ascii = false; // strings: every character below 0x80
        // An array's items, a dictionary's pairs; a text's characters, data's
        // bytes (UINT32_MAX: more than a list can hold).
        quint32 count = 0;
        // Integers, booleans, UIDs; a real's or a date's bits; strings and data:
        // where their bytes (marker first) start in m_encoded; containers: the
        // first in m_members.
        qint64 value = 0;
    };
    // Where a binary object lies: its type, count and the offset of its contents.
    struct Span {
        Type type;
        qint64 count;  // bytes of data and strings, characters of UTF-16, members
        qint64 start;  // first byte after the marker (and its count)
        int width = 0; // integers, reals, UIDs: bytes; strings: 1 ASCII, 2 UTF-16
    };

    static PropertyList fromBinary(const QByteArray& bytes);
    static PropertyList fromXml(const QByteArray& bytes);
    // The XML form's parts: a value element (<string>, <integer>...) with its
    // text, and a container whose members were read (a dictionary's key, value,
    // key, value...).
    Ref addXmlValue(QStringView element, const QString& text);
    Ref addXmlContainer(bool dictionary, std::vector<Ref>&& members);
    void check(Ref ref) const;
    Span span(Ref ref) const;
    Span locate(Ref ref) const;
    quint64 readUnsigned(qint64 at, int width) const;
    Ref member(const Span& s, qint64 index) const;
    Ref add(Type type, qint64 value);
    const Node& node(Ref ref) const;
    const Node& built(Ref ref, Type type) const;
    Members members(Ref container, Type type) const;
    const uchar* encoded(const Node& n) const; // a built string's or data's contents
    double builtReal(const Node& n) const;

    // Binary lists that were read.
    QByteArray m_bytes;
    qint64 m_objects = 0;
    qint64 m_offsetTable = 0;
    int m_offsetWidth = 0;
    int m_refWidth = 0;
    mutable Ref m_lastRef = -1;
    mutable Span m_lastSpan{Type::Null, 0, 0};
    // Lists read from XML or built.
    std::vector<Node> m_nodes;
    QByteArray m_encoded;           // strings and data as the binary form writes them
    std::vector<quint32> m_members; // each dictionary's keys, then its values
    Ref m_root = -1;
};
