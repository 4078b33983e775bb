#include "document/KeyedArchive.h"
#include "document/MyDocument.h"
#include "document/PropertyList.h"
#include "support/BookmarkTestSupport.h"

#include <plist/plist.h>

#include <QFile>
#include <QTest>

#include <cstdlib>
#include <functional>
#include <memory>

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return f.readAll();
}

QByteArray fixture(const QString& name)
{
    return readFile(QStringLiteral(EDGEMARKS_FIXTURES "/keyed-archives/") + name);
}

QByteArray testData(const QString& name)
{
    return readFile(QStringLiteral(EDGEMARKS_TEST_DATA "/") + name);
}

// A property list decoded by libplist alone, to look at what the writer produced.
struct Plist {
    std::unique_ptr<void, void (*)(plist_t)> root{nullptr, plist_free};
    plist_t objects = nullptr;

    explicit Plist(const QByteArray& bytes)
    {
        plist_t p = nullptr;
        plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &p);
        root.reset(p);
        if (p)
            objects = plist_dict_get_item(p, "$objects");
    }
    plist_t at(const char* key, plist_t dict) const { return plist_dict_get_item(dict, key); }
    static QString str(plist_t n)
    {
        if (!n || plist_get_node_type(n) != PLIST_STRING)
            return QStringLiteral("<not a string>");
        uint64_t len = 0;
        const char* p = plist_get_string_ptr(n, &len);
        return QString::fromUtf8(p, qsizetype(len));
    }
    static quint64 uid(plist_t n)
    {
        uint64_t v = ~0ull;
        if (n && plist_get_node_type(n) == PLIST_UID)
            plist_get_uid_val(n, &v);
        return v;
    }
    static qint64 integer(plist_t n)
    {
        uint64_t v = 0;
        plist_get_uint_val(n, &v);
        return qint64(v);
    }
    plist_t object(plist_t uidNode) const { return plist_array_get_item(objects, uint32_t(uid(uidNode))); }
    QString className(plist_t dict) const { return str(at("$classname", object(at("$class", dict)))); }
    QStringList classChain(plist_t dict) const
    {
        QStringList chain;
        plist_t list = at("$classes", object(at("$class", dict)));
        for (uint32_t i = 0; list && i < plist_array_get_size(list); ++i)
            chain << str(plist_array_get_item(list, i));
        return chain;
    }
    QList<plist_t> members(plist_t dict) const
    {
        QList<plist_t> result;
        plist_t list = at("NS.objects", dict);
        for (uint32_t i = 0; list && i < plist_array_get_size(list); ++i)
            result << object(plist_array_get_item(list, i));
        return result;
    }
};

ArchivedRef decodeTop(const QByteArray& bytes, const QString& key)
{
    KeyedUnarchiver u(bytes);
    return u.decodeTopObject(key);
}

} // namespace

class TestKeyedArchive : public QObject {
    Q_OBJECT
private slots:
    void writtenArchiveHasApplesLayout()
    {
        MyDocument doc;
        auto plain = std::make_shared<AirHBookmark>();
        plain->setBookmarkName(QString()); // no name: the nil reference
        plain->setLocation("http://a/");
        plain->setNumber(-5);
        plain->setFolder(19);
        auto b = std::make_shared<Bookmark>();
        b->setBookmarkName("名前");
        doc.setBookmarkList({plain, b});

        Plist p(doc.dataRepresentation());
        QVERIFY(p.root);
        QCOMPARE(Plist::str(p.at("$archiver", p.root.get())), QString("NSKeyedArchiver"));
        QCOMPARE(Plist::integer(p.at("$version", p.root.get())), 100000);
        QCOMPARE(plist_dict_get_size(p.at("$top", p.root.get())), 1u);
        plist_t rootRef = p.at("root", p.at("$top", p.root.get()));
        QCOMPARE(plist_get_node_type(rootRef), PLIST_UID);
        QCOMPARE(Plist::str(plist_array_get_item(p.objects, 0)), QString("$null"));

        plist_t root = p.object(rootRef);
        QCOMPARE(p.className(root), QString("NSArray"));
        QCOMPARE(p.classChain(root), QStringList({"NSArray", "NSObject"}));
        const QList<plist_t> lists = p.members(root);
        QCOMPARE(lists.size(), 2);
        for (plist_t list : lists) {
            QCOMPARE(p.className(list), QString("NSMutableArray"));
            QCOMPARE(p.classChain(list), QStringList({"NSMutableArray", "NSArray", "NSObject"}));
        }

        const QList<plist_t> records = p.members(lists[0]);
        QCOMPARE(records.size(), 2);
        QCOMPARE(p.className(records[0]), QString("AirHBookmark"));
        QCOMPARE(p.classChain(records[0]), QStringList({"AirHBookmark", "NSObject"}));
        QCOMPARE(p.className(records[1]), QString("Bookmark"));
        QCOMPARE(p.classChain(records[1]), QStringList({"Bookmark", "AirHBookmark", "NSObject"}));
        QCOMPARE(plist_dict_get_size(records[0]), 5u); // four keys and $class
        QCOMPARE(Plist::uid(p.at("name", records[0])), 0u);
        QCOMPARE(Plist::str(p.object(p.at("location", records[0]))), QString("http://a/"));
        QCOMPARE(plist_get_node_type(p.at("number", records[0])), PLIST_UINT);
        QCOMPARE(Plist::integer(p.at("number", records[0])), -5);
        QCOMPARE(Plist::integer(p.at("folder", records[0])), 19);
        // Zero values are written, not left out; an empty text is a text.
        QCOMPARE(Plist::str(p.object(p.at("name", records[1]))), QString("名前"));
        QCOMPARE(Plist::str(p.object(p.at("location", records[1]))), QString(""));
        QCOMPARE(plist_get_node_type(p.at("number", records[1])), PLIST_UINT);
        QCOMPARE(Plist::integer(p.at("number", records[1])), 0);
        QCOMPARE(Plist::integer(p.at("folder", records[1])), 0);

        const QList<plist_t> folders = p.members(lists[1]);
        QCOMPARE(folders.size(), 20);
        QCOMPARE(Plist::str(folders[0]), QString("00")); // an NSString is a plain string
        QCOMPARE(Plist::str(folders[19]), QString("19"));
    }

    void applesArchivesDecode()
    {
        ArchivedRef arrays = decodeTop(fixture("arrays.bin"), "$0");
        QVERIFY(arrays);
        QCOMPARE(arrays->kind, ArchivedValue::Kind::Array);
        QCOMPARE(arrays->className, QString("NSArray"));
        QCOMPARE(arrays->elements.size(), 12);
        QCOMPARE(arrays->elements[0]->kind, ArchivedValue::Kind::Integer);
        QCOMPARE(arrays->elements[0]->integer, 1);
        QCOMPARE(arrays->elements[2]->kind, ArchivedValue::Kind::Real);
        QCOMPARE(arrays->elements[4]->kind, ArchivedValue::Kind::Data);
        QCOMPARE(arrays->elements[5]->kind, ArchivedValue::Kind::Boolean);
        QCOMPARE(arrays->elements[6]->string, QString("Hello, World!"));
        QVERIFY(arrays->elements[0] == arrays->elements[1]); // one object referred to twice
        KeyedUnarchiver u(fixture("arrays.bin"));
        QCOMPARE(u.topKeys().size(), 4);
        QVERIFY(!u.decodeTopObject("root"));

        // Nested objects by reference, and a dictionary's keys and values.
        ArchivedRef complex = decodeTop(fixture("NSKeyedUnarchiver-ComplexTest.plist"), "root");
        QCOMPARE(complex->kind, ArchivedValue::Kind::Dictionary);
        const ArchivedRef url = complex->elements[2];
        QCOMPARE(url->className, QString("NSURL"));
        QCOMPARE(url->field("NS.base")->field("NS.base")->kind, ArchivedValue::Kind::Nil);
        QCOMPARE(url->field("NS.relative")->string, QString("index.xml"));
        QVERIFY(!url->field("NS.missing"));

        // Only a string's class makes "NS.string" its text: another class keeps it as a field.
        PropertyList p;
        auto s = [&](const char* text) { return p.addString(QString::fromLatin1(text)); };
        const auto thing = p.addDictionary({{s("$class"), p.addUid(2)}, {s("NS.string"), s("text")}});
        const auto cls =
            p.addDictionary({{s("$classname"), s("Thing")}, {s("$classes"), p.addArray({s("Thing")})}});
        p.setRoot(p.addDictionary({{s("$archiver"), s("NSKeyedArchiver")},
                                   {s("$version"), p.addInteger(100000)},
                                   {s("$top"), p.addDictionary({{s("root"), p.addUid(1)}})},
                                   {s("$objects"), p.addArray({s("$null"), thing, cls})}}));
        QCOMPARE(decodeTop(p.toBinary(), "root")->field("NS.string")->string, QString("text"));

        // None of them is a bookmark document.
        for (const char* name : {"arrays.bin", "nestedarrays.bin", "dict.bin", "primitives.bin",
                                 "int64-value-in-nskeyedarchive.bin", "NSKeyedUnarchiver-ComplexTest.plist"}) {
            MyDocument doc;
            QString error;
            QVERIFY2(!doc.loadDataRepresentation(fixture(name), &error), name);
            QVERIFY(!error.isEmpty());
            QVERIFY(doc.bookmarkList().isEmpty());
        }
    }

    void brokenArchivesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("graphFails"); // refused already as a keyed archive
        // An object that holds itself is found as such, not only by the limit of nesting.
        QTest::newRow("circular") << "bpylist2-circular_archive.plist" << true;
        QTest::newRow("invalid uid") << "bpylist2-invalid_uid_archive.plist" << true;
        QTest::newRow("invalid version") << "bpylist2-invalid_version_archive.plist" << true;
        QTest::newRow("missing uid") << "bpylist2-missing_uid_archive.plist" << true;
        QTest::newRow("no class name") << "bpylist2-no_class_name_archive.plist" << true;
        QTest::newRow("no objects") << "bpylist2-no_objects_archive.plist" << true;
        QTest::newRow("no top") << "bpylist2-no_top_archive.plist" << true;
        QTest::newRow("no root") << "bpylist2-no_root_archive.plist" << false;
        QTest::newRow("empty") << "bpylist2-empty_archive.plist" << false;
        QTest::newRow("recursive") << "bpylist2-recursive_archive.plist" << false;
    }

    void brokenArchivesAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(bool, graphFails);
        const QByteArray bytes = fixture(name);
        bool threw = false;
        try {
            decodeTop(bytes, "root");
        } catch (const KeyedArchiveError& e) {
            threw = true;
            if (name.contains("circular"))
                QCOMPARE(QString(e.what()), QString("The archive holds an object that contains itself."));
        }
        QCOMPARE(threw, graphFails);
        MyDocument doc;
        QString error;
        QVERIFY(!doc.loadDataRepresentation(bytes, &error));
        QVERIFY(!error.isEmpty());
    }

    void independentlyWrittenDocumentLoads()
    {
        MyDocument doc;
        QString error;
        QVERIFY2(doc.loadDataRepresentation(testData("independent.bookmarks"), &error), qPrintable(error));
        // The third has no name string, no number and no folder key.
        QCOMPARE(describe(doc.bookmarkList()),
                 QStringList({"Bookmark|日本語のページ|http://www.example.jp/|7|2", "AirHBookmark|Plain|a/|-1|19",
                              "Bookmark|(nil)|ftp://ftp.example.com/|0|0", "Bookmark|Twice|Twice|99|0"}));
        QCOMPARE(doc.folderList().size(), 20);
        QCOMPARE(doc.folderList()[3], QString("ニュース"));

        // Written back, the missing name stays the nil reference.
        MyDocument again;
        QVERIFY(again.loadDataRepresentation(doc.dataRepresentation()));
        QVERIFY(again.bookmarkList()[2]->bookmarkName().isNull());
        QCOMPARE(again.bookmarkList()[1]->number(), -1);
    }

    void malformedDocumentsFailCleanly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("error"); // a part of the message, where it tells the cause apart
        for (const char* n : {"root-with-three-elements", "root-is-a-dictionary", "other-class", "folder-not-a-string",
                              "name-not-a-string", "number-too-large", "reference-out-of-range", "deeply-nested"})
            QTest::newRow(n) << QString(n) + ".bookmarks" << QString();
        // Found as an object that holds itself, not only by the limit of nesting.
        QTest::newRow("cyclic") << "cyclic.bookmarks" << QString();
    }

    void malformedDocumentsFailCleanly()
    {
        QFETCH(QString, name);
        QFETCH(QString, error);
        MyDocument doc;
        auto kept = std::make_shared<Bookmark>();
        doc.setBookmarkList({kept});
        QString message;
        QVERIFY(!doc.loadDataRepresentation(testData(name), &message));
        QVERIFY2(!message.isEmpty() && message.contains(error), qPrintable(message));
        QCOMPARE(doc.bookmarkList().size(), 1);
        QVERIFY(doc.bookmarkList()[0] == kept);
        QCOMPARE(doc.folderList(), MyDocument::defaultFolderList());
    }

    void damagedContainersFailCleanly()
    {
        // An array that claims 2^60 members in a ten-byte file.
        QByteArray huge("bplist00");
        huge += QByteArray::fromHex("af13" "1000000000000000");
        huge += QByteArray::fromHex("08");
        huge += QByteArray::fromHex("000000000000" "0101" "0000000000000001" "0000000000000000" "0000000000000012");
        // A trailer that claims 2^60 objects and an offset table far outside.
        QByteArray objects("bplist00");
        objects += QByteArray::fromHex("a0" "08");
        objects += QByteArray::fromHex("000000000000" "0108" "1000000000000000" "0000000000000000" "7fffffffffffffff");
        for (const QByteArray& bytes : {huge, objects}) {
            MyDocument doc;
            QVERIFY(!doc.loadDataRepresentation(bytes));
        }

        // Every truncation of a real document fails.
        MyDocument source;
        BookmarkList list;
        for (int i = 0; i < 3; ++i) {
            auto b = std::make_shared<Bookmark>();
            b->setBookmarkName(QString("b%1").arg(i));
            b->setNumber(i);
            list << b;
        }
        source.setBookmarkList(list);
        const QByteArray good = source.dataRepresentation();
        for (qsizetype n = 0; n < good.size(); ++n) {
            MyDocument doc;
            QVERIFY(!doc.loadDataRepresentation(good.left(n)));
        }
    }
};

QTEST_GUILESS_MAIN(TestKeyedArchive)
#include "tst_keyedarchive.moc"
