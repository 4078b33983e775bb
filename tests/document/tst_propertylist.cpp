// Our property lists against libplist (kept for this cross-check only) and
// against files made to break a reader.
#include "document/MyDocument.h"
#include "document/PropertyList.h"

#include <plist/plist.h>

#include <QRandomGenerator>
#include <QTest>

#include <cmath>

namespace {
using Type = PropertyList::Type;

// A property list made by hand, byte by byte: objects, then the offset table.
QByteArray binary(const QList<QByteArray>& objects, int top = 0, int refWidth = 1)
{
    QByteArray out("bplist00");
    QList<int> offsets;
    for (const QByteArray& o : objects) {
        offsets << int(out.size());
        out += o;
    }
    const int table = int(out.size());
    for (int o : offsets)
        out.append(char(o >> 8)).append(char(o));
    out += QByteArray(6, '\0');
    out.append(char(2)).append(char(refWidth));
    auto be64 = [&](quint64 v) {
        for (int i = 7; i >= 0; --i)
            out.append(char(v >> (8 * i)));
    };
    be64(quint64(objects.size()));
    be64(quint64(top));
    be64(quint64(table));
    return out;
}

QString failure(const QByteArray& bytes)
{
    try {
        const PropertyList p = PropertyList::fromData(bytes);
        // Walk everything the reader offers, as a caller would.
        for (PropertyList::Ref r = 0; r < p.count(); ++r) {
            switch (p.type(r)) {
            case Type::Array:
                for (qint64 i = 0; i < p.size(r); ++i)
                    p.item(r, i);
                break;
            case Type::Dictionary:
                for (qint64 i = 0; i < p.size(r); ++i)
                    p.key(r, i), p.value(r, i);
                break;
            case Type::String:
                p.string(r);
                break;
            default:
                break;
            }
        }
        return QString();
    } catch (const PropertyListError& e) {
        return QString::fromUtf8(e.what());
    }
}
} // namespace

class TestPropertyList : public QObject {
    Q_OBJECT
private slots:
    // Every kind of value written by us reads back the same here and in libplist.
    void writtenListsReadBackEverywhere()
    {
        PropertyList p;
        const QString nul = QStringLiteral("before") + QChar(0) + QStringLiteral("after");
        std::vector<PropertyList::Ref> members{
            p.addString(QStringLiteral("plain")),
            p.addString(QStringLiteral("日本語とemoji 😀")),
            p.addString(nul),
            p.addString(QString(40, QLatin1Char('x'))), // a count past the marker's 15
            p.addInteger(0),
            p.addInteger(255),
            p.addInteger(65536),
            p.addInteger(-1),
            p.addInteger(std::numeric_limits<qint64>::max()),
            p.addReal(2.5),
            p.addBoolean(true),
            p.addData(QByteArray(300, '\x07')),
            p.addUid(70000),
        };
        const PropertyList::Ref dict =
            p.addDictionary({{p.addString(QStringLiteral("key")), p.addString(QStringLiteral("value"))},
                             {p.addString(QStringLiteral("名前")), p.addString(QStringLiteral("値"))}});
        members.push_back(dict);
        members.push_back(p.addUid(0xFFFFFFFFu)); // the largest of four bytes
        p.setRoot(p.addArray(members));
        for (const bool xml : {false, true}) {
            const PropertyList r = PropertyList::fromData(xml ? p.toXml() : p.toBinary());
            const PropertyList::Ref root = r.root();
            QCOMPARE(r.size(root), qint64(members.size()));
            QCOMPARE(r.string(r.item(root, 1)), QStringLiteral("日本語とemoji 😀"));
            if (!xml) // XML cannot carry U+0000; the binary form keeps every character
                QCOMPARE(r.string(r.item(root, 2)), nul);
            QCOMPARE(r.string(r.item(root, 3)).size(), 40);
            QCOMPARE(r.integer(r.item(root, 5)), 255);
            QCOMPARE(r.integer(r.item(root, 6)), 65536);
            QCOMPARE(r.integer(r.item(root, 7)), -1);
            QCOMPARE(r.integer(r.item(root, 8)), std::numeric_limits<qint64>::max());
            QCOMPARE(r.real(r.item(root, 9)), 2.5);
            QVERIFY(r.boolean(r.item(root, 10)));
            QCOMPARE(r.data(r.item(root, 11)), QByteArray(300, '\x07'));
            QCOMPARE(r.uid(r.item(root, 12)), quint64(70000));
            QCOMPARE(r.string(r.find(r.item(root, 13), u"key")), QString("value"));
            QCOMPARE(r.find(r.item(root, 13), u"other"), -1);
            QCOMPARE(r.string(r.find(r.item(root, 13), u"名前")), QString("値"));
            QCOMPARE(r.uid(r.item(root, 14)), quint64(0xFFFFFFFFu));
        }
        QVERIFY(p.toBinary().contains(QByteArray("\x83\xFF\xFF\xFF\xFF", 5)));

        // libplist reads our binary output to the same values.
        const QByteArray bytes = p.toBinary();
        plist_t node = nullptr;
        plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &node);
        QVERIFY(node);
        QCOMPARE(plist_array_get_size(node), uint32_t(members.size()));
        uint64_t n = 0;
        plist_get_uint_val(plist_array_get_item(node, 6), &n);
        QCOMPARE(n, uint64_t(65536));
        char* s = nullptr;
        plist_get_string_val(plist_array_get_item(node, 1), &s);
        QCOMPARE(QString::fromUtf8(s), QStringLiteral("日本語とemoji 😀"));
        free(s);
        plist_get_uid_val(plist_array_get_item(node, 12), &n);
        QCOMPARE(n, uint64_t(70000));
        plist_free(node);
    }

    // Files made to break a reader are refused with one sentence, never a crash.
    void malformedListsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QString damaged("The file is damaged: parts of it are missing or do not fit together.");
        const QString unsupported("The file holds data of a kind that EdgeMarks cannot read.");
        const QByteArray good = binary({QByteArray("\xA1\x01", 2), QByteArray("\x10\x05", 2)});
        QTest::newRow("a good one") << good << QString();
        QTest::newRow("truncated") << good.left(good.size() - 1) << damaged;
        QTest::newRow("header only") << QByteArray("bplist00") << damaged;
        QByteArray badTop = good;
        badTop[badTop.size() - 9] = 9;
        QTest::newRow("top object out of range") << badTop << damaged;
        QTest::newRow("reference out of range")
            << binary({QByteArray("\xA1\x07", 2), QByteArray("\x10\x05", 2)}) << damaged;
        QTest::newRow("offset past the objects")
            << binary({QByteArray("\xA1\x01", 2), QByteArray("\x10\x05", 2)}).replace(12, 1, "\x7F") << damaged;
        QTest::newRow("huge count")
            << binary({QByteArray("\xAF\x13\x7F\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 10)}) << damaged;
        QTest::newRow("16-byte count") << binary({QByteArray("\x5F\x14") + QByteArray(16, '\0')}) << damaged;
        QTest::newRow("string longer than the file") << binary({QByteArray("\x5F\x10\xFF", 3)}) << damaged;
        QTest::newRow("128-bit integer") << binary({QByteArray("\x14") + QByteArray(16, '\1')}) << unsupported;
        QTest::newRow("a set") << binary({QByteArray("\xC0", 1)}) << unsupported;
        QTest::newRow("16-byte UID") << binary({QByteArray("\x8F") + QByteArray(16, '\1')}) << unsupported;
        QTest::newRow("unknown marker") << binary({QByteArray("\xF0", 1)}) << damaged;
        QTest::newRow("bplist01") << QByteArray("bplist01") + good.mid(8) << unsupported;
        QTest::newRow("XML, not a plist") << QByteArray("<html><body/></html>") << "The file is not a document of this kind.";
        QTest::newRow("XML, unclosed") << QByteArray("<plist><array><string>x</string>") << "The file is not a document of this kind.";
        QTest::newRow("XML, value without key")
            << QByteArray("<plist><dict><string>x</string></dict></plist>") << "The file is not a document of this kind.";
        QByteArray deep("<plist>");
        for (int i = 0; i < 100000; ++i)
            deep += "<array>";
        QTest::newRow("XML nested 100,000 deep") << deep << "The file's contents are nested too deeply to be read.";
        // An array that holds itself reads as such; a walker bounds its depth.
        QTest::newRow("array holding itself") << binary({QByteArray("\xA1\x00", 2)}) << QString();
    }

    // Dates beyond what the text form can write are refused, not cast.
    void datesOutOfRange()
    {
        for (const double seconds : {1e300, -1e300, std::nan(""), 3e11}) {
            PropertyList plist;
            QVERIFY_THROWS_EXCEPTION(PropertyListError, plist.addDate(seconds));
        }
        PropertyList plist;
        plist.setRoot(plist.addDate(2.5e11));
        QVERIFY(plist.toXml().contains("<date>9923-"));
    }

    void malformedListsAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QCOMPARE(failure(bytes), reason);
    }

    // Documents that break readers: refused with a sentence, the editor stays up.
    void malformedDocuments()
    {
        // Arrays nested 100,000 deep, in the archive's object graph.
        PropertyList p;
        PropertyList::Ref inner = p.addArray({});
        for (int i = 0; i < 100000; ++i)
            inner = p.addArray({inner});
        const PropertyList::Ref objects = p.addArray({p.addString("$null"), inner});
        const PropertyList::Ref uid = p.addUid(1);
        p.setRoot(p.addDictionary({{p.addString("$version"), p.addInteger(100000)},
                                   {p.addString("$archiver"), p.addString("NSKeyedArchiver")},
                                   {p.addString("$top"), p.addDictionary({{p.addString("root"), uid}})},
                                   {p.addString("$objects"), objects}}));
        MyDocument doc;
        QString error;
        QVERIFY(!doc.loadDataRepresentation(p.toBinary(), &error));
        QCOMPARE(error, QString("The archive nests objects too deeply."));

        // A key with U+0000 inside, in UTF-16: read as it is, no assertion.
        PropertyList q;
        const QString key = QStringLiteral("ná") + QChar(0) + QStringLiteral("me");
        q.setRoot(q.addDictionary({{q.addString(key), q.addString("x")}}));
        const PropertyList r = PropertyList::fromData(q.toBinary());
        QCOMPARE(r.string(r.key(r.root(), 0)), key);
        QVERIFY(!doc.loadDataRepresentation(q.toBinary(), &error));
    }

    // A bookmark's name with U+0000 inside is saved and read back whole.
    void namesKeepEveryCharacter()
    {
        MyDocument doc;
        auto b = std::make_shared<Bookmark>();
        const QString name = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
        b->setBookmarkName(name);
        b->setLocation(QStringLiteral("http://x/") + QChar(0));
        doc.setBookmarkList({b});
        MyDocument back;
        QVERIFY(back.loadDataRepresentation(doc.dataRepresentation()));
        QCOMPARE(back.bookmarkList().first()->bookmarkName(), name);
        QCOMPARE(back.bookmarkList().first()->location(), QStringLiteral("http://x/") + QChar(0));
    }
};

QTEST_GUILESS_MAIN(TestPropertyList)
#include "tst_propertylist.moc"
