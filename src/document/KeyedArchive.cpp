#include "KeyedArchive.h"

#include <plist/plist.h>

#include <QHash>

#include <cstdlib>
#include <limits>
#include <unordered_map>
#include <vector>

namespace {

constexpr quint64 ArchiveVersion = 100000;

const QStringList& arrayClasses()
{
    static const QStringList names{"NSArray", "NSMutableArray", "NSSet", "NSMutableSet", "NSOrderedSet",
                                   "NSMutableOrderedSet"};
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

// Owns a dictionary iterator of libplist.
struct DictIterator {
    plist_t dict;
    plist_dict_iter it = nullptr;
    explicit DictIterator(plist_t d) : dict(d) { plist_dict_new_iter(dict, &it); }
    ~DictIterator() { std::free(it); }
    DictIterator(const DictIterator&) = delete;
    DictIterator& operator=(const DictIterator&) = delete;
    // The next key and value; false at the end.
    bool next(QString& key, plist_t& value)
    {
        char* k = nullptr;
        value = nullptr;
        plist_dict_next_item(dict, it, &k, &value);
        if (k)
            key = QString::fromUtf8(k);
        std::free(k);
        return value != nullptr;
    }
};

// The members of a plist array. libplist's indexed access walks the array of a
// parsed property list from its start, so arrays are read once, in order.
std::vector<plist_t> arrayItems(plist_t array)
{
    std::vector<plist_t> items;
    items.reserve(plist_array_get_size(array));
    plist_array_iter it = nullptr;
    plist_array_new_iter(array, &it);
    for (;;) {
        plist_t item = nullptr;
        plist_array_next_item(array, it, &item);
        if (!item)
            break;
        items.push_back(item);
    }
    std::free(it);
    return items;
}

// Owns a plist_t tree.
struct PlistHolder {
    plist_t node = nullptr;
    PlistHolder() = default;
    explicit PlistHolder(plist_t n) : node(n) {}
    ~PlistHolder()
    {
        if (node)
            plist_free(node);
    }
    PlistHolder(const PlistHolder&) = delete;
    PlistHolder& operator=(const PlistHolder&) = delete;
    plist_t release()
    {
        plist_t n = node;
        node = nullptr;
        return n;
    }
};

QString stringOf(plist_t node)
{
    uint64_t length = 0;
    const char* p = plist_get_string_ptr(node, &length);
    if (!p)
        return QString();
    return QString::fromUtf8(p, qsizetype(length));
}

// Binary property lists store integers of 1, 2 and 4 bytes as unsigned, and
// 8-byte integers as signed. libplist hands every integer over as an unsigned
// 64-bit value, so reinterpreting it as signed restores the negative ones.
qint64 integerOf(plist_t node)
{
    uint64_t u = 0;
    plist_get_uint_val(node, &u);
    return qint64(u);
}

plist_t newInteger(qint64 v)
{
    // Negative numbers go out as 8-byte integers, which readers take as signed.
    return plist_new_uint(uint64_t(v));
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

ArchivedRef ArchivedValue::makeArray(const QString& className, const QStringList& classes, QList<ArchivedRef> elements)
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

namespace {

class Writer {
public:
    Writer() { m_objects.push_back(plist_new_string("$null")); }
    ~Writer()
    {
        for (plist_t node : m_objects)
            if (node)
                plist_free(node);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    QByteArray finish(const ArchivedRef& root)
    {
        const quint64 rootUid = encode(root);
        PlistHolder top(plist_new_dict());
        plist_dict_set_item(top.node, "$version", plist_new_uint(ArchiveVersion));
        plist_dict_set_item(top.node, "$archiver", plist_new_string("NSKeyedArchiver"));
        plist_t topKeys = plist_new_dict();
        plist_dict_set_item(topKeys, "root", plist_new_uid(rootUid));
        plist_dict_set_item(top.node, "$top", topKeys);
        plist_t objects = plist_new_array();
        for (plist_t& node : m_objects) {
            plist_array_append_item(objects, node);
            node = nullptr;
        }
        plist_dict_set_item(top.node, "$objects", objects);

        char* bytes = nullptr;
        uint32_t length = 0;
        plist_to_bin(top.node, &bytes, &length);
        if (!bytes)
            throw KeyedArchiveError(QT_TRANSLATE_NOOP("MyDocument", "The archive could not be encoded."));
        QByteArray result(bytes, qsizetype(length));
        plist_to_bin_free(bytes);
        return result;
    }

private:
    quint64 append(plist_t node)
    {
        m_objects.push_back(node);
        return m_objects.size() - 1;
    }

    // Reserves a slot so that an object's UID precedes those of its contents, as
    // Apple's archiver numbers them.
    quint64 reserve() { return append(nullptr); }
    void fill(quint64 uid, plist_t node) { m_objects[uid] = node; }

    quint64 classUid(const QString& name, const QStringList& chain)
    {
        auto it = m_classes.find(name);
        if (it != m_classes.end())
            return it->second;
        plist_t dict = plist_new_dict();
        plist_t classes = plist_new_array();
        for (const QString& c : chain)
            plist_array_append_item(classes, plist_new_string(c.toUtf8().constData()));
        plist_dict_set_item(dict, "$classes", classes);
        plist_dict_set_item(dict, "$classname", plist_new_string(name.toUtf8().constData()));
        const quint64 uid = append(dict);
        m_classes.emplace(name, uid);
        return uid;
    }

    // Values that live inline in an object's dictionary; everything else is a UID.
    plist_t inlineValue(const ArchivedRef& v)
    {
        switch (v->kind) {
        case ArchivedValue::Kind::Integer:
            return newInteger(v->integer);
        case ArchivedValue::Kind::Real:
            return plist_new_real(v->real);
        case ArchivedValue::Kind::Boolean:
            return plist_new_bool(v->boolean ? 1 : 0);
        default:
            return plist_new_uid(encode(v));
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
                const quint64 uid = reserve();
                m_identity.emplace(v.get(), uid);
                plist_t dict = plist_new_dict();
                plist_dict_set_item(dict, "NS.string", plist_new_string(v->string.toUtf8().constData()));
                plist_dict_set_item(dict, "$class", plist_new_uid(classUid(v->className, v->classes)));
                fill(uid, dict);
                return uid;
            }
            // Equal strings are stored once; Apple's readers take either form.
            auto same = m_strings.find(v->string);
            if (same != m_strings.end())
                return same.value();
            const quint64 uid = append(plist_new_string(v->string.toUtf8().constData()));
            m_strings.insert(v->string, uid);
            m_identity.emplace(v.get(), uid);
            return uid;
        }
        case ArchivedValue::Kind::Array: {
            const quint64 uid = reserve();
            m_identity.emplace(v.get(), uid);
            plist_t refs = plist_new_array();
            for (const ArchivedRef& e : v->elements)
                plist_array_append_item(refs, plist_new_uid(encode(e)));
            plist_t dict = plist_new_dict();
            plist_dict_set_item(dict, "NS.objects", refs);
            plist_dict_set_item(dict, "$class", plist_new_uid(classUid(v->className, v->classes)));
            fill(uid, dict);
            return uid;
        }
        case ArchivedValue::Kind::Dictionary: {
            const quint64 uid = reserve();
            m_identity.emplace(v.get(), uid);
            plist_t keys = plist_new_array();
            plist_t values = plist_new_array();
            for (const ArchivedRef& k : v->keys)
                plist_array_append_item(keys, plist_new_uid(encode(k)));
            for (const ArchivedRef& e : v->elements)
                plist_array_append_item(values, plist_new_uid(encode(e)));
            plist_t dict = plist_new_dict();
            plist_dict_set_item(dict, "NS.keys", keys);
            plist_dict_set_item(dict, "NS.objects", values);
            plist_dict_set_item(dict, "$class", plist_new_uid(classUid(v->className, v->classes)));
            fill(uid, dict);
            return uid;
        }
        case ArchivedValue::Kind::Object: {
            const quint64 uid = reserve();
            m_identity.emplace(v.get(), uid);
            plist_t dict = plist_new_dict();
            for (const auto& [key, value] : v->fields)
                plist_dict_set_item(dict, key.toUtf8().constData(), inlineValue(value ? value : ArchivedValue::nil()));
            plist_dict_set_item(dict, "$class", plist_new_uid(classUid(v->className, v->classes)));
            fill(uid, dict);
            return uid;
        }
        case ArchivedValue::Kind::Integer:
        case ArchivedValue::Kind::Real:
        case ArchivedValue::Kind::Boolean:
            // A boxed number as a top-level or collection member: stored as itself.
            {
                const quint64 uid = append(inlineValue(v));
                m_identity.emplace(v.get(), uid);
                return uid;
            }
        case ArchivedValue::Kind::Data: {
            const quint64 uid = append(plist_new_data(v->data.constData(), uint64_t(v->data.size())));
            m_identity.emplace(v.get(), uid);
            return uid;
        }
        case ArchivedValue::Kind::Nil:
            break;
        }
        return 0;
    }

    std::vector<plist_t> m_objects; // the "$objects" table, owned until finish()
    std::unordered_map<const ArchivedValue*, quint64> m_identity;
    QHash<QString, quint64> m_strings;
    std::unordered_map<QString, quint64> m_classes;
};

} // namespace

QByteArray KeyedArchiver::archivedData(const ArchivedRef& root)
{
    Writer writer;
    return writer.finish(root);
}

// ---------------------------------------------------------------------------
// Reading

struct KeyedUnarchiver::Impl {
    PlistHolder plist;
    std::vector<plist_t> objects; // the "$objects" table
    plist_t top = nullptr;
    size_t objectCount = 0;
    std::vector<ArchivedRef> decoded;   // memo by UID
    std::vector<char> inProgress;       // cycle detection by UID
    int depth = 0;

    [[noreturn]] static void fail(const char* what) { throw KeyedArchiveError(what); }

    plist_t objectAt(quint64 uid)
    {
        if (uid >= objectCount)
            fail(QT_TRANSLATE_NOOP("MyDocument", "The archive refers to an object that does not exist."));
        return objects[uid];
    }

    void classOf(plist_t dict, QString& name, QStringList& chain)
    {
        plist_t ref = plist_dict_get_item(dict, "$class");
        if (!ref || plist_get_node_type(ref) != PLIST_UID)
            fail(QT_TRANSLATE_NOOP("MyDocument", "An archived object has no class reference."));
        uint64_t uid = 0;
        plist_get_uid_val(ref, &uid);
        plist_t cls = objectAt(uid);
        if (plist_get_node_type(cls) != PLIST_DICT)
            fail(QT_TRANSLATE_NOOP("MyDocument", "An archived class description is not a dictionary."));
        plist_t n = plist_dict_get_item(cls, "$classname");
        if (!n || plist_get_node_type(n) != PLIST_STRING)
            fail(QT_TRANSLATE_NOOP("MyDocument", "An archived class has no name."));
        name = stringOf(n);
        chain.clear();
        plist_t list = plist_dict_get_item(cls, "$classes");
        if (list && plist_get_node_type(list) == PLIST_ARRAY) {
            for (plist_t c : arrayItems(list))
                if (plist_get_node_type(c) == PLIST_STRING)
                    chain << stringOf(c);
        }
    }

    QList<ArchivedRef> references(plist_t array)
    {
        if (!array || plist_get_node_type(array) != PLIST_ARRAY)
            fail(QT_TRANSLATE_NOOP("MyDocument", "An archived collection has no member list."));
        const std::vector<plist_t> items = arrayItems(array);
        QList<ArchivedRef> result;
        result.reserve(qsizetype(items.size()));
        for (plist_t item : items)
            result << value(item);
        return result;
    }

    // A value found inside an object's dictionary: a UID reference or an inline value.
    ArchivedRef value(plist_t node)
    {
        auto v = std::make_shared<ArchivedValue>();
        switch (plist_get_node_type(node)) {
        case PLIST_UID: {
            uint64_t uid = 0;
            plist_get_uid_val(node, &uid);
            return decode(uid);
        }
        case PLIST_UINT:
            v->kind = ArchivedValue::Kind::Integer;
            v->integer = integerOf(node);
            return v;
        case PLIST_REAL:
            v->kind = ArchivedValue::Kind::Real;
            plist_get_real_val(node, &v->real);
            return v;
        case PLIST_BOOLEAN: {
            uint8_t b = 0;
            plist_get_bool_val(node, &b);
            v->kind = ArchivedValue::Kind::Boolean;
            v->boolean = b != 0;
            return v;
        }
        case PLIST_STRING:
            v->kind = ArchivedValue::Kind::String;
            v->string = stringOf(node);
            return v;
        case PLIST_DATA: {
            uint64_t length = 0;
            const char* p = plist_get_data_ptr(node, &length);
            v->kind = ArchivedValue::Kind::Data;
            v->data = QByteArray(p, qsizetype(length));
            return v;
        }
        case PLIST_ARRAY: {
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

    ArchivedRef decode(quint64 uid)
    {
        if (uid == 0)
            return ArchivedValue::nil();
        plist_t node = objectAt(uid);
        if (decoded[uid])
            return decoded[uid];
        if (inProgress[uid])
            fail(QT_TRANSLATE_NOOP("MyDocument", "The archive holds an object that contains itself."));
        if (++depth > MaxDepth)
            fail(QT_TRANSLATE_NOOP("MyDocument", "The archive nests objects too deeply."));
        inProgress[uid] = 1;

        ArchivedRef result;
        if (plist_get_node_type(node) == PLIST_DICT && plist_dict_get_item(node, "$class")) {
            auto v = std::make_shared<ArchivedValue>();
            classOf(node, v->className, v->classes);
            if (stringClasses().contains(v->className) && plist_dict_get_item(node, "NS.string")) {
                plist_t s = plist_dict_get_item(node, "NS.string");
                if (plist_get_node_type(s) != PLIST_STRING)
                    fail(QT_TRANSLATE_NOOP("MyDocument", "An archived string holds no text."));
                v->kind = ArchivedValue::Kind::String;
                v->string = stringOf(s);
            } else if (arrayClasses().contains(v->className)) {
                v->kind = ArchivedValue::Kind::Array;
                v->elements = references(plist_dict_get_item(node, "NS.objects"));
            } else if (dictionaryClasses().contains(v->className)) {
                v->kind = ArchivedValue::Kind::Dictionary;
                v->keys = references(plist_dict_get_item(node, "NS.keys"));
                v->elements = references(plist_dict_get_item(node, "NS.objects"));
                if (v->keys.size() != v->elements.size())
                    fail(QT_TRANSLATE_NOOP("MyDocument", "An archived dictionary does not have as many keys as values."));
            } else {
                v->kind = ArchivedValue::Kind::Object;
                DictIterator it(node);
                QString key;
                plist_t item = nullptr;
                while (it.next(key, item)) {
                    if (key != QLatin1String("$class"))
                        v->fields.append({key, value(item)});
                }
            }
            result = v;
        } else if (plist_get_node_type(node) == PLIST_DICT) {
            fail(QT_TRANSLATE_NOOP("MyDocument", "An archived object has no class reference."));
        } else {
            result = value(node);
        }

        inProgress[uid] = 0;
        --depth;
        decoded[uid] = result;
        return result;
    }
};

KeyedUnarchiver::KeyedUnarchiver(const QByteArray& bytes) : d(std::make_unique<Impl>())
{
    if (bytes.size() < 8 || bytes.size() > std::numeric_limits<int32_t>::max())
        Impl::fail(QT_TRANSLATE_NOOP("MyDocument", "The file is not a keyed archive."));
    plist_t root = nullptr;
    if (bytes.startsWith("bplist00"))
        plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &root);
    else
        plist_from_xml(bytes.constData(), uint32_t(bytes.size()), &root);
    if (!root)
        Impl::fail(QT_TRANSLATE_NOOP("MyDocument", "The file is not a property list."));
    d->plist.node = root;
    if (plist_get_node_type(root) != PLIST_DICT)
        Impl::fail(QT_TRANSLATE_NOOP("MyDocument", "The file is not a keyed archive."));

    plist_t archiver = plist_dict_get_item(root, "$archiver");
    if (!archiver || plist_get_node_type(archiver) != PLIST_STRING ||
        stringOf(archiver) != QLatin1String("NSKeyedArchiver"))
        Impl::fail(QT_TRANSLATE_NOOP("MyDocument", "The file is not a keyed archive."));
    plist_t version = plist_dict_get_item(root, "$version");
    if (!version || plist_get_node_type(version) != PLIST_UINT || integerOf(version) != qint64(ArchiveVersion))
        Impl::fail(QT_TRANSLATE_NOOP("MyDocument", "The keyed archive has an unknown version."));
    plist_t objects = plist_dict_get_item(root, "$objects");
    if (!objects || plist_get_node_type(objects) != PLIST_ARRAY)
        Impl::fail(QT_TRANSLATE_NOOP("MyDocument", "The keyed archive has no object table."));
    d->top = plist_dict_get_item(root, "$top");
    if (!d->top || plist_get_node_type(d->top) != PLIST_DICT)
        Impl::fail(QT_TRANSLATE_NOOP("MyDocument", "The keyed archive has no top object."));
    d->objects = arrayItems(objects);
    d->objectCount = d->objects.size();
    d->decoded.resize(d->objectCount);
    d->inProgress.assign(d->objectCount, 0);
}

KeyedUnarchiver::~KeyedUnarchiver() = default;

QStringList KeyedUnarchiver::topKeys() const
{
    QStringList keys;
    DictIterator it(d->top);
    QString key;
    plist_t item = nullptr;
    while (it.next(key, item))
        keys << key;
    return keys;
}

ArchivedRef KeyedUnarchiver::decodeTopObject(const QString& key)
{
    plist_t ref = plist_dict_get_item(d->top, key.toUtf8().constData());
    if (!ref)
        return nullptr;
    if (plist_get_node_type(ref) != PLIST_UID)
        Impl::fail(QT_TRANSLATE_NOOP("MyDocument", "The keyed archive's top object is not a reference."));
    uint64_t uid = 0;
    plist_get_uid_val(ref, &uid);
    d->depth = 0;
    return d->decode(uid);
}
