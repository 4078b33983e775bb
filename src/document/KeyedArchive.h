#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

// The object graph of a keyed archive (NSKeyedArchiver's format: a binary property
// list with "$archiver", "$version", "$top" and an "$objects" table addressed by UIDs),
// on the property lists of PropertyList.
//
// KeyedUnarchiver turns an archive into a tree of ArchivedValue nodes; KeyedArchiver
// writes such a tree the way Apple's archiver lays it out. What the nodes mean (a
// bookmark, a folder list) is decided by the caller.
struct ArchivedValue;
using ArchivedRef = std::shared_ptr<ArchivedValue>;

struct ArchivedValue {
    enum class Kind { Nil, String, Integer, Real, Boolean, Data, Array, Dictionary, Object };

    Kind kind = Kind::Nil;
    // For class-backed values: "$classname" and the "$classes" chain. Plain strings
    // (an NSString stored as a property-list string) have no class name.
    QString className;
    QStringList classes;

    QString string;
    qint64 integer = 0;
    double real = 0;
    bool boolean = false;
    QByteArray data;
    QList<ArchivedRef> elements;                   // Array elements, Dictionary values
    QList<ArchivedRef> keys;                       // Dictionary keys
    QList<std::pair<QString, ArchivedRef>> fields; // Object: keyed values in archive order

    // The field under key, or nullptr when the archive has no such key.
    ArchivedRef field(const QString& key) const;

    static ArchivedRef nil();
    static ArchivedRef makeString(const QString& s);
    static ArchivedRef makeInteger(qint64 v);
    static ArchivedRef makeArray(const QString& className, const QStringList& classes,
                                 QList<ArchivedRef> elements);
    static ArchivedRef makeObject(const QString& className, const QStringList& classes);
};

class KeyedArchiveError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class KeyedArchiver
{
public:
    // A binary property list holding root under the top key "root".
    static QByteArray archivedData(const ArchivedRef& root);

    // Archives without a value graph, for writers of many plain records: each
    // object is written as it is added. Objects are numbered as they are added;
    // an array takes the UIDs of its members.
    KeyedArchiver();
    ~KeyedArchiver();
    KeyedArchiver(const KeyedArchiver&) = delete;
    KeyedArchiver& operator=(const KeyedArchiver&) = delete;
    struct Field {
        QString key;
        enum class Kind { Text, Integer } kind = Kind::Text;
        QStringView text; // a null text is the nil reference; the text must outlive addObject
        qint64 integer = 0;
    };
    quint64 addObject(const QString& className, const QStringList& classes, const std::vector<Field>& fields);
    // Room for count records of this many fields (saves growing the tables).
    void reserveRecords(qint64 count, int fields);
    quint64 addString(const QString& text);
    // Reserves an array's UID before its members are added; fill it with setArray.
    quint64 reserveArray();
    void setArray(quint64 uid, const QString& className, const QStringList& classes,
                  const std::vector<quint64>& members);
    QByteArray finish(quint64 rootUid);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

class KeyedUnarchiver
{
public:
    // Parses and checks the container; throws KeyedArchiveError when the bytes are
    // not a keyed archive.
    explicit KeyedUnarchiver(const QByteArray& bytes);
    ~KeyedUnarchiver();
    KeyedUnarchiver(const KeyedUnarchiver&) = delete;
    KeyedUnarchiver& operator=(const KeyedUnarchiver&) = delete;

    QStringList topKeys() const;
    // Decodes the object under a top key (nullptr when the key is absent). Throws
    // KeyedArchiveError on bad references, cycles, unknown node kinds or too deep
    // nesting.
    ArchivedRef decodeTopObject(const QString& key);

    // For readers that take a large collection one member at a time: the UID
    // under a top key (0 when absent), the member UIDs of an array object
    // (nothing when it is not an array of references), and one object decoded
    // on its own. Objects decoded with keep false are not remembered by the
    // archive, so memory holds only what the caller keeps.
    quint64 topReference(const QString& key);
    // At most the first `most` members are listed; total gets how many there are,
    // so that a reader may refuse a collection before building any of it.
    std::optional<std::vector<quint64>> arrayReferences(
        quint64 uid, qint64 most = std::numeric_limits<qint64>::max(), qint64* total = nullptr);
    ArchivedRef decodeObject(quint64 uid, bool keep = false);

    // The fields of a plain object (not a collection or a string) as they are:
    // texts (inline, or referenced plain and class-backed strings), whole numbers
    // and the nil reference; anything else is Other. Nothing is built or kept.
    struct Field {
        enum class Kind { Nil, String, Integer, Other } kind = Kind::Other;
        QString string;
        qint64 integer = 0;
    };
    // False when uid is not such an object; className gets its class.
    bool readFields(quint64 uid, QString* className,
                    const std::function<void(const QString& key, const Field& field)>& each);

    static constexpr int MaxDepth = 256;

private:
    void open(const QByteArray& bytes);
    struct Impl;
    std::unique_ptr<Impl> d;
};
