#include "document/KeyedArchive.h"

#include "document/PropertyList.h"

#include <QHash>

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <vector>

namespace
{

constexpr quint64 ArchiveVersion = 100000;

const QStringList& arrayClasses()
{
    static const QStringList names{"NSArray",      "NSMutableArray", "NSSet",
                                   "NSMutableSet", "NSOrderedSet",   "NSMutableOrderedSet"};
    return names;
}

const QStringList& dictionaryClasses()
{
    static const QStringList names{"NSDictionary", "NSMutableDictionary"};
    return names;
}

const QStringList& stringClasses()
{
    static const QStringList names{"NSString", "NSMutableString"};
    return names;
}

} // namespace

ArchivedRef ArchivedValue::field(const QString& key) const
{
    for (const auto& [k, v] : fields)
        if (k == key)
            return v;
    return nullptr;
}

ArchivedRef ArchivedValue::nil()
{
    static const ArchivedRef shared = std::make_shared<ArchivedValue>();
    return shared;
}

ArchivedRef ArchivedValue::makeString(const QString& s)
{
    auto v = std::make_shared<ArchivedValue>();
    v->kind = Kind::String;
    v->string = s;
    return v;
}

ArchivedRef ArchivedValue::makeInteger(qint64 i)
{
    auto v = std::make_shared<ArchivedValue>();
    v->kind = Kind::Integer;
    v->integer = i;
    return v;
}

ArchivedRef ArchivedValue::makeArray(const QString& className, const QStringList& classes,
                                     QList<ArchivedRef> elements)
{
    auto v = std::make_shared<ArchivedValue>();
    v->kind = Kind::Array;
    v->className = className;
    v->classes = classes;
    v->elements = std::move(elements);
    return v;
}

ArchivedRef ArchivedValue::makeObject(const QString& className, const QStringList& classes)
{
    auto v = std::make_shared<ArchivedValue>();
    v->kind = Kind::Object;
    v->className = className;
    v->classes = classes;
    return v;
}

// ---------------------------------------------------------------------------
// Writing

namespace
{

// Builds the property list of an archive straight from the value graph, in one
// pass: the "$objects" table in the order Apple's archiver numbers objects (a
// container before its contents), each key, number and UID stored once.
class Writer
{
public:
    Writer() { m_table.push_back(m_list.addString(QStringLiteral("$null"))); }

    QByteArray finish(const ArchivedRef& root) { return finishWith(encode(root)); }

    // The streaming face of KeyedArchiver: records go straight into the list.
    quint64 addObject(const QString& className, const QStringList& classes,
                      const std::vector<KeyedArchiver::Field>& fields)
    {
        const auto [uid, node] = reserve();
        m_pairs.clear(); // kept between records: no allocation per record
        for (const KeyedArchiver::Field& f : fields) {
            PropertyList::Ref value;
            if (f.kind == KeyedArchiver::Field::Kind::Integer)
                value = integer(f.integer);
            else if (f.text.isNull())
                value = uidRef(0);
            else // each text its own UID: no lookups for texts that rarely repeat
                value = m_list.addUid(append(m_list.addString(f.text)));
            m_pairs.emplace_back(key(f.key), value);
        }
        m_pairs.emplace_back(key(QStringLiteral("$class")), uidRef(classUid(className, classes)));
        m_list.setDictionary(node, m_pairs);
        return uid;
    }
    void reserveRecords(qint64 count, int fields)
    {
        // A record: its dictionary, and a text and its UID per field; the
        // dictionary's keys and values, and the record's place in an array.
        m_list.reserve(count * (1 + 2 * fields + 1), count * (2 * (fields + 1) + 1));
        m_table.reserve(m_table.size() + size_t(count * (1 + fields)));
    }
    quint64 addPlainString(const QString& text) { return append(m_list.addString(text)); }
    quint64 reserveArray() { return reserve().first; }
    void setArray(quint64 uid, const QString& className, const QStringList& classes,
                  const std::vector<quint64>& members)
    {
        std::vector<PropertyList::Ref> refs;
        refs.reserve(members.size());
        for (quint64 m : members)
            refs.push_back(m_list.addUid(m));
        const quint64 cls = classUid(className, classes);
        m_list.setDictionary(m_table.at(uid),
                             {{key(QStringLiteral("NS.objects")), m_list.addArray(std::move(refs))},
                              {key(QStringLiteral("$class")), uidRef(cls)}});
    }

    QByteArray finishWith(quint64 rootUid)
    {
        const PropertyList::Ref objects = m_list.addArray(m_table);
        const PropertyList::Ref top = m_list.addDictionary({{key(QStringLiteral("root")), uidRef(rootUid)}});
        const PropertyList::Ref plist = m_list.addDictionary({
            {key(QStringLiteral("$version")), integer(qint64(ArchiveVersion))},
            {key(QStringLiteral("$archiver")), key(QStringLiteral("NSKeyedArchiver"))},
            {key(QStringLiteral("$top")), top},
            {key(QStringLiteral("$objects")), objects},
        });
        m_list.setRoot(plist);
        try {
            return m_list.toBinary();
        } catch (const PropertyListError&) {
            throw KeyedArchiveError(QT_TRANSLATE_NOOP("MyDocument", "The archive could not be encoded."));
        }
    }

private:
    // Keys and other strings inside objects, stored once.
    PropertyList::Ref key(const QString& text)
    {
        auto it = m_keys.constFind(text);
        if (it != m_keys.constEnd())
            return it.value();
        const PropertyList::Ref ref = m_list.addString(text);
        m_keys.insert(text, ref);
        return ref;
    }
    PropertyList::Ref integer(qint64 v)
    {
        auto it = m_integers.find(v);
        if (it != m_integers.end())
            return it->second;
        const PropertyList::Ref ref = m_list.addInteger(v);
        m_integers.emplace(v, ref);
        return ref;
    }
    PropertyList::Ref uidRef(quint64 uid)
    {
        auto it = m_uids.find(uid);
        if (it != m_uids.end())
            return it->second;
        const PropertyList::Ref ref = m_list.addUid(uid);
        m_uids.emplace(uid, ref);
        return ref;
    }

    quint64 append(PropertyList::Ref node)
    {
        m_table.push_back(node);
        return m_table.size() - 1;
    }
    // Reserves an entry so that an object's UID precedes those of its contents, as
    // Apple's archiver numbers them; the entry's node is filled in afterwards.
    std::pair<quint64, PropertyList::Ref> reserve()
    {
        const PropertyList::Ref node = m_list.addNull();
        return {append(node), node};
    }

    quint64 classUid(const QString& name, const QStringList& chain)
    {
        auto it = m_classes.find(name);
        if (it != m_classes.end())
            return it->second;
        std::vector<PropertyList::Ref> classes;
        for (const QString& c : chain)
            classes.push_back(key(c));
        const PropertyList::Ref dict =
            m_list.addDictionary({{key(QStringLiteral("$classes")), m_list.addArray(std::move(classes))},
                                  {key(QStringLiteral("$classname")), key(name)}});
        const quint64 uid = append(dict);
        m_classes.emplace(name, uid);
        return uid;
    }

    // Values that live inline in an object's dictionary; everything else is a UID.
    PropertyList::Ref inlineValue(const ArchivedRef& v)
    {
        switch (v->kind) {
        case ArchivedValue::Kind::Integer:
            return integer(v->integer);
        case ArchivedValue::Kind::Real:
            return m_list.addReal(v->real);
        case ArchivedValue::Kind::Boolean:
            return m_list.addBoolean(v->boolean);
        default:
            return uidRef(encode(v));
        }
    }

    quint64 encode(const ArchivedRef& v)
    {
        if (!v || v->kind == ArchivedValue::Kind::Nil)
            return 0;
        auto known = m_identity.find(v.get());
        if (known != m_identity.end())
            return known->second;

        switch (v->kind) {
        case ArchivedValue::Kind::String: {
            if (!v->className.isEmpty() && v->className != QLatin1String("NSString")) {
                const auto [uid, node] = reserve();
                m_identity.emplace(v.get(), uid);
                const quint64 cls = classUid(v->className, v->classes);
                m_list.setDictionary(node, {{key(QStringLiteral("NS.string")), m_list.addString(v->string)},
                                            {key(QStringLiteral("$class")), uidRef(cls)}});
                return uid;
            }
            // Equal strings are stored once; Apple's readers take either form.
            auto same = m_strings.constFind(v->string);
            if (same != m_strings.constEnd())
                return same.value();
            const quint64 uid = append(m_list.addString(v->string));
            m_strings.insert(v->string, uid);
            m_identity.emplace(v.get(), uid);
            return uid;
        }
        case ArchivedValue::Kind::Array: {
            const auto [uid, node] = reserve();
            m_identity.emplace(v.get(), uid);
            std::vector<PropertyList::Ref> refs;
            refs.reserve(size_t(v->elements.size()));
            for (const ArchivedRef& e : v->elements)
                refs.push_back(uidRef(encode(e)));
            const quint64 cls = classUid(v->className, v->classes);
            m_list.setDictionary(node, {{key(QStringLiteral("NS.objects")), m_list.addArray(std::move(refs))},
                                        {key(QStringLiteral("$class")), uidRef(cls)}});
            return uid;
        }
        case ArchivedValue::Kind::Dictionary: {
            const auto [uid, node] = reserve();
            m_identity.emplace(v.get(), uid);
            std::vector<PropertyList::Ref> keys, values;
            for (const ArchivedRef& k : v->keys)
                keys.push_back(uidRef(encode(k)));
            for (const ArchivedRef& e : v->elements)
                values.push_back(uidRef(encode(e)));
            const quint64 cls = classUid(v->className, v->classes);
            m_list.setDictionary(node,
                                 {{key(QStringLiteral("NS.keys")), m_list.addArray(std::move(keys))},
                                  {key(QStringLiteral("NS.objects")), m_list.addArray(std::move(values))},
                                  {key(QStringLiteral("$class")), uidRef(cls)}});
            return uid;
        }
        case ArchivedValue::Kind::Object: {
            const auto [uid, node] = reserve();
            m_identity.emplace(v.get(), uid);
            std::vector<std::pair<PropertyList::Ref, PropertyList::Ref>> pairs;
            pairs.reserve(size_t(v->fields.size()) + 1);
            for (const auto& [name, value] : v->fields)
                pairs.emplace_back(key(name), inlineValue(value ? value : ArchivedValue::nil()));
            pairs.emplace_back(key(QStringLiteral("$class")), uidRef(classUid(v->className, v->classes)));
            m_list.setDictionary(node, std::move(pairs));
            return uid;
        }
        case ArchivedValue::Kind::Integer:
        case ArchivedValue::Kind::Real:
        case ArchivedValue::Kind::Boolean: {
            // A boxed number as a top-level or collection member: stored as itself.
            const quint64 uid = append(inlineValue(v));
            m_identity.emplace(v.get(), uid);
            return uid;
        }
        case ArchivedValue::Kind::Data: {
            const quint64 uid = append(m_list.addData(v->data));
            m_identity.emplace(v.get(), uid);
            return uid;
        }
        case ArchivedValue::Kind::Nil:
            break;
        }
        return 0;
    }

    PropertyList m_list;
    std::vector<PropertyList::Ref> m_table; // the "$objects" table
    std::vector<std::pair<PropertyList::Ref, PropertyList::Ref>> m_pairs;
    std::unordered_map<const ArchivedValue*, quint64> m_identity;
    QHash<QString, quint64> m_strings;
    QHash<QString, PropertyList::Ref> m_keys;
    std::unordered_map<qint64, PropertyList::Ref> m_integers;
    std::unordered_map<quint64, PropertyList::Ref> m_uids;
    std::unordered_map<QString, quint64> m_classes;
};

} // namespace

QByteArray KeyedArchiver::archivedData(const ArchivedRef& root)
{
    Writer writer;
    return writer.finish(root);
}

struct KeyedArchiver::Impl {
    Writer writer;
};

KeyedArchiver::KeyedArchiver() : d(std::make_unique<Impl>()) {}
KeyedArchiver::~KeyedArchiver() = default;

quint64 KeyedArchiver::addObject(const QString& className, const QStringList& classes,
                                 const std::vector<Field>& fields)
{
    return d->writer.addObject(className, classes, fields);
}

void KeyedArchiver::reserveRecords(qint64 count, int fields)
{
    d->writer.reserveRecords(count, fields);
}

quint64 KeyedArchiver::addString(const QString& text)
{
    return d->writer.addPlainString(text);
}

quint64 KeyedArchiver::reserveArray()
{
    return d->writer.reserveArray();
}

void KeyedArchiver::setArray(quint64 uid, const QString& className, const QStringList& classes,
                             const std::vector<quint64>& members)
{
    d->writer.setArray(uid, className, classes, members);
}

QByteArray KeyedArchiver::finish(quint64 rootUid)
{
    return d->writer.finishWith(rootUid);
}

// ---------------------------------------------------------------------------
// Reading

struct KeyedUnarchiver::Impl {
    using Ref = PropertyList::Ref;
    using Type = PropertyList::Type;

    PropertyList plist;
    PropertyList::Members table; // the "$objects" table
    Ref top = -1;
    std::unordered_map<quint64, ArchivedRef> decoded; // memo by UID
    std::vector<quint64> inProgress;                  // the objects being decoded, outermost first
    int depth = 0;

    // Class descriptions by UID: thousands of objects share a handful of them.
    struct ClassInfo {
        enum class Kind { Plain, Array, Dictionary, String };
        QString name;
        QStringList chain;
        Kind kind = Kind::Plain;
    };
    std::unordered_map<quint64, ClassInfo> classes;
    // Dictionary keys by object number: records share their keys.
    static constexpr size_t MaxKeyNames = 4096;
    std::unordered_map<Ref, QString> keyNames;
    QString scratchKey;

    [[noreturn]] static void fail(const char* what) { throw KeyedArchiveError(what); }

    Ref objectAt(quint64 uid) const
    {
        if (uid >= quint64(table.size()))
            fail(QT_TRANSLATE_NOOP("MyDocument", "The archive refers to an object that does not exist."));
        return table.at(qint64(uid));
    }

    const QString& keyName(Ref key)
    {
        if (const auto known = keyNames.find(key); known != keyNames.end())
            return known->second;
        if (plist.type(key) != Type::String)
            fail(QT_TRANSLATE_NOOP("MyDocument", "The archive holds a value of an unknown kind."));
        if (keyNames.size() >= MaxKeyNames) {
            scratchKey = plist.string(key);
            return scratchKey;
        }
        return keyNames.emplace(key, plist.string(key)).first->second;
    }

    // The class that the value under an object's "$class" refers to.
    const ClassInfo& classInfo(Ref reference)
    {
        if (reference < 0 || plist.type(reference) != Type::Uid)
            fail(QT_TRANSLATE_NOOP("MyDocument", "An archived object has no class reference."));
        const quint64 uid = plist.uid(reference);
        if (const auto known = classes.find(uid); known != classes.end())
            return known->second;
        const Ref cls = objectAt(uid);
        if (plist.type(cls) != Type::Dictionary)
            fail(QT_TRANSLATE_NOOP("MyDocument", "An archived class description is not a dictionary."));
        const PropertyList::Members entries = plist.entries(cls);
        const Ref n = entries.find(u"$classname");
        if (n < 0 || plist.type(n) != Type::String)
            fail(QT_TRANSLATE_NOOP("MyDocument", "An archived class has no name."));
        ClassInfo info;
        info.name = plist.string(n);
        const Ref list = entries.find(u"$classes");
        if (list >= 0 && plist.type(list) == Type::Array) {
            const PropertyList::Members items = plist.items(list);
            for (qint64 i = 0; i < items.size(); ++i) {
                const Ref c = items.at(i);
                if (plist.type(c) == Type::String)
                    info.chain << plist.string(c);
            }
        }
        if (arrayClasses().contains(info.name))
            info.kind = ClassInfo::Kind::Array;
        else if (dictionaryClasses().contains(info.name))
            info.kind = ClassInfo::Kind::Dictionary;
        else if (stringClasses().contains(info.name))
            info.kind = ClassInfo::Kind::String;
        return classes.emplace(uid, std::move(info)).first->second;
    }

    const ClassInfo& classOf(Ref dict) { return classInfo(plist.find(dict, u"$class")); }

    QList<ArchivedRef> references(Ref array)
    {
        if (array < 0 || plist.type(array) != Type::Array)
            fail(QT_TRANSLATE_NOOP("MyDocument", "An archived collection has no member list."));
        const qint64 count = plist.size(array);
        QList<ArchivedRef> result;
        result.reserve(qsizetype(count));
        for (qint64 i = 0; i < count; ++i)
            result << value(plist.item(array, i));
        return result;
    }

    // A value found inside an object's dictionary: a UID reference or an inline value.
    ArchivedRef value(Ref node)
    {
        auto v = std::make_shared<ArchivedValue>();
        switch (plist.type(node)) {
        case Type::Uid:
            return decode(plist.uid(node));
        case Type::Integer:
            v->kind = ArchivedValue::Kind::Integer;
            v->integer = plist.integer(node);
            return v;
        case Type::Real:
            v->kind = ArchivedValue::Kind::Real;
            v->real = plist.real(node);
            return v;
        case Type::Boolean:
            v->kind = ArchivedValue::Kind::Boolean;
            v->boolean = plist.boolean(node);
            return v;
        case Type::String:
            v->kind = ArchivedValue::Kind::String;
            v->string = plist.string(node);
            return v;
        case Type::Data:
            v->kind = ArchivedValue::Kind::Data;
            v->data = plist.data(node);
            return v;
        case Type::Array: {
            ++depth;
            if (depth > MaxDepth)
                fail(QT_TRANSLATE_NOOP("MyDocument", "The archive nests objects too deeply."));
            v->kind = ArchivedValue::Kind::Array;
            v->elements = references(node);
            --depth;
            return v;
        }
        default:
            fail(QT_TRANSLATE_NOOP("MyDocument", "The archive holds a value of an unknown kind."));
        }
    }

    // memoize false: the object is not kept for later references to it (a reader
    // that takes objects one at a time keeps memory to what it keeps itself).
    ArchivedRef decode(quint64 uid, bool memoize = true)
    {
        if (uid == 0)
            return ArchivedValue::nil();
        const Ref node = objectAt(uid);
        if (const auto known = decoded.find(uid); known != decoded.end())
            return known->second;
        if (std::find(inProgress.begin(), inProgress.end(), uid) != inProgress.end())
            fail(QT_TRANSLATE_NOOP("MyDocument", "The archive holds an object that contains itself."));
        if (++depth > MaxDepth)
            fail(QT_TRANSLATE_NOOP("MyDocument", "The archive nests objects too deeply."));
        inProgress.push_back(uid);

        ArchivedRef result;
        const bool dictionary = plist.type(node) == Type::Dictionary;
        if (dictionary && plist.find(node, u"$class") >= 0) {
            auto v = std::make_shared<ArchivedValue>();
            const ClassInfo& info = classOf(node);
            v->className = info.name;
            v->classes = info.chain;
            const Ref text = plist.find(node, u"NS.string");
            if (info.kind == ClassInfo::Kind::String && text >= 0) {
                if (plist.type(text) != Type::String)
                    fail(QT_TRANSLATE_NOOP("MyDocument", "An archived string holds no text."));
                v->kind = ArchivedValue::Kind::String;
                v->string = plist.string(text);
            } else if (info.kind == ClassInfo::Kind::Array) {
                v->kind = ArchivedValue::Kind::Array;
                v->elements = references(plist.find(node, u"NS.objects"));
            } else if (info.kind == ClassInfo::Kind::Dictionary) {
                v->kind = ArchivedValue::Kind::Dictionary;
                v->keys = references(plist.find(node, u"NS.keys"));
                v->elements = references(plist.find(node, u"NS.objects"));
                if (v->keys.size() != v->elements.size())
                    fail(QT_TRANSLATE_NOOP("MyDocument",
                                           "An archived dictionary does not have as many keys as values."));
            } else {
                v->kind = ArchivedValue::Kind::Object;
                const PropertyList::Members entries = plist.entries(node);
                v->fields.reserve(qsizetype(entries.size()));
                for (qint64 i = 0; i < entries.size(); ++i) {
                    const QString& name = keyName(entries.at(i));
                    if (name == QLatin1String("$class"))
                        continue;
                    v->fields.append({name, value(entries.valueAt(i))});
                }
            }
            result = v;
        } else if (dictionary) {
            fail(QT_TRANSLATE_NOOP("MyDocument", "An archived object has no class reference."));
        } else {
            result = value(node);
        }

        inProgress.pop_back();
        --depth;
        if (memoize)
            decoded.emplace(uid, result);
        return result;
    }
};

KeyedUnarchiver::KeyedUnarchiver(const QByteArray& bytes) : d(std::make_unique<Impl>())
{
    try {
        open(bytes);
    } catch (const PropertyListError& e) {
        throw KeyedArchiveError(e.what());
    }
}

void KeyedUnarchiver::open(const QByteArray& bytes)
{
    using Type = PropertyList::Type;
    if (bytes.size() < 8)
        Impl::fail(QT_TRANSLATE_NOOP("MyDocument", "The file is not a keyed archive."));
    d->plist = PropertyList::fromData(bytes);
    const PropertyList& plist = d->plist;
    const PropertyList::Ref root = plist.root();
    if (plist.type(root) != Type::Dictionary)
        Impl::fail(QT_TRANSLATE_NOOP("MyDocument", "The file is not a keyed archive."));
    const PropertyList::Ref archiver = plist.find(root, u"$archiver");
    if (archiver < 0 || plist.type(archiver) != Type::String ||
        plist.string(archiver) != QLatin1String("NSKeyedArchiver"))
        Impl::fail(QT_TRANSLATE_NOOP("MyDocument", "The file is not a keyed archive."));
    const PropertyList::Ref version = plist.find(root, u"$version");
    if (version < 0 || plist.type(version) != Type::Integer ||
        plist.integer(version) != qint64(ArchiveVersion))
        Impl::fail(QT_TRANSLATE_NOOP("MyDocument", "The keyed archive has an unknown version."));
    const PropertyList::Ref objects = plist.find(root, u"$objects");
    if (objects < 0 || plist.type(objects) != Type::Array)
        Impl::fail(QT_TRANSLATE_NOOP("MyDocument", "The keyed archive has no object table."));
    d->top = plist.find(root, u"$top");
    if (d->top < 0 || plist.type(d->top) != Type::Dictionary)
        Impl::fail(QT_TRANSLATE_NOOP("MyDocument", "The keyed archive has no top object."));
    d->table = plist.items(objects);
}

KeyedUnarchiver::~KeyedUnarchiver() = default;

QStringList KeyedUnarchiver::topKeys() const
{
    QStringList keys;
    try {
        const qint64 count = d->plist.size(d->top);
        for (qint64 i = 0; i < count; ++i) {
            const PropertyList::Ref k = d->plist.key(d->top, i);
            if (d->plist.type(k) == PropertyList::Type::String)
                keys << d->plist.string(k);
        }
    } catch (const PropertyListError& e) {
        throw KeyedArchiveError(e.what());
    }
    return keys;
}

quint64 KeyedUnarchiver::topReference(const QString& key)
{
    try {
        const PropertyList::Ref ref = d->plist.find(d->top, key);
        if (ref < 0)
            return 0;
        if (d->plist.type(ref) != PropertyList::Type::Uid)
            Impl::fail(QT_TRANSLATE_NOOP("MyDocument", "The keyed archive's top object is not a reference."));
        return d->plist.uid(ref);
    } catch (const PropertyListError& e) {
        throw KeyedArchiveError(e.what());
    }
}

ArchivedRef KeyedUnarchiver::decodeTopObject(const QString& key)
{
    const quint64 uid = topReference(key);
    if (uid == 0) {
        // Absent, or the nil reference.
        try {
            if (d->plist.find(d->top, key) < 0)
                return nullptr;
        } catch (const PropertyListError& e) {
            throw KeyedArchiveError(e.what());
        }
    }
    return decodeObject(uid, true);
}

std::optional<std::vector<quint64>> KeyedUnarchiver::arrayReferences(quint64 uid, qint64 most, qint64* total)
{
    using Type = PropertyList::Type;
    try {
        const PropertyList& plist = d->plist;
        const PropertyList::Ref node = d->objectAt(uid); // uid 0, "$null", is no dictionary
        if (plist.type(node) != Type::Dictionary || plist.find(node, u"$class") < 0)
            return std::nullopt;
        if (d->classOf(node).kind != Impl::ClassInfo::Kind::Array)
            return std::nullopt;
        const PropertyList::Ref members = plist.find(node, u"NS.objects");
        if (members < 0 || plist.type(members) != Type::Array)
            return std::nullopt;
        std::vector<quint64> uids;
        const qint64 count = plist.size(members);
        if (total)
            *total = count;
        const qint64 taken = std::min(count, most);
        uids.reserve(size_t(taken));
        for (qint64 i = 0; i < taken; ++i) {
            const PropertyList::Ref m = plist.item(members, i);
            if (plist.type(m) != Type::Uid)
                return std::nullopt;
            uids.push_back(plist.uid(m));
        }
        return uids;
    } catch (const PropertyListError& e) {
        throw KeyedArchiveError(e.what());
    }
}

ArchivedRef KeyedUnarchiver::decodeObject(quint64 uid, bool keep)
{
    d->depth = 0;
    d->inProgress.clear();
    try {
        return d->decode(uid, keep);
    } catch (const PropertyListError& e) {
        throw KeyedArchiveError(e.what());
    }
}

bool KeyedUnarchiver::readFields(quint64 uid, QString* className,
                                 const std::function<void(const QString& key, const Field& field)>& each)
{
    using Type = PropertyList::Type;
    using Kind = Impl::ClassInfo::Kind;
    try {
        if (uid == 0)
            return false;
        const PropertyList& plist = d->plist;
        const PropertyList::Ref node = d->objectAt(uid);
        if (plist.type(node) != Type::Dictionary)
            return false;
        // One pass over the record's keys: its class, and where each field lies.
        const PropertyList::Members entries = plist.entries(node);
        PropertyList::Ref classReference = -1;
        for (qint64 i = 0; i < entries.size(); ++i)
            if (d->keyName(entries.at(i)) == QLatin1String("$class"))
                classReference = entries.valueAt(i);
        const Impl::ClassInfo& info = d->classInfo(classReference); // fails without one
        *className = info.name;
        if (info.kind != Kind::Plain)
            return false;
        // A field that refers to a text: a plain string or a class-backed one.
        auto textOf = [&](PropertyList::Ref ref, Field& field) {
            const Type type = plist.type(ref);
            if (type == Type::String) {
                field.kind = Field::Kind::String;
                field.string = plist.string(ref);
            } else if (type == Type::Dictionary) {
                const PropertyList::Members members = plist.entries(ref);
                const PropertyList::Ref text = members.find(u"NS.string");
                if (text >= 0 && d->classInfo(members.find(u"$class")).kind == Kind::String &&
                    plist.type(text) == Type::String) {
                    field.kind = Field::Kind::String;
                    field.string = plist.string(text);
                }
            }
        };
        for (qint64 i = 0; i < entries.size(); ++i) {
            const QString& key = d->keyName(entries.at(i));
            if (key == QLatin1String("$class"))
                continue;
            const PropertyList::Ref v = entries.valueAt(i);
            Field field;
            switch (plist.type(v)) {
            case Type::Integer:
                field.kind = Field::Kind::Integer;
                field.integer = plist.integer(v);
                break;
            case Type::String:
                field.kind = Field::Kind::String;
                field.string = plist.string(v);
                break;
            case Type::Uid: {
                const quint64 target = plist.uid(v);
                if (target == 0) {
                    field.kind = Field::Kind::Nil;
                    break;
                }
                const PropertyList::Ref referenced = d->objectAt(target);
                if (plist.type(referenced) == Type::Integer) {
                    field.kind = Field::Kind::Integer;
                    field.integer = plist.integer(referenced);
                } else {
                    textOf(referenced, field);
                }
                break;
            }
            default:
                break;
            }
            // The key may be a scratch copy that the next lookup replaces: passed on first.
            each(key, field);
        }
        return true;
    } catch (const PropertyListError& e) {
        throw KeyedArchiveError(e.what());
    }
}
