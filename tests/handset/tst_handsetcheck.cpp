#include "support/BookmarkTestSupport.h"
#include "handset/HandsetCheck.h"

#include <QTest>

using Kind = HandsetCheck::Kind;
Q_DECLARE_METATYPE(HandsetCheck::Kind)

class TestHandsetCheck : public QObject
{
    Q_OBJECT
private slots:
    // One row per kind of finding: the second bookmark is the one at fault.
    void findings_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("location");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("folder");
        QTest::addColumn<QList<Kind>>("kinds");
        const QString a(1000, QChar(0x3042)), url("http://a.jp/");
        QTest::newRow("fine") << "ニュース ～" << "http://www.example.jp/" << 1 << 19 << QList<Kind>{};
        // A document may hold no name or location at all: it goes out empty, as it is.
        QTest::newRow("no name, no location") << QString() << QString() << 1 << 0 << QList<Kind>{};
        QTest::newRow("number below range") << "n" << url << -1 << 0 << QList<Kind>{Kind::NumberOutOfRange};
        QTest::newRow("number above range") << "n" << url << 100 << 0 << QList<Kind>{Kind::NumberOutOfRange};
        QTest::newRow("number used twice") << "n" << url << 0 << 0 << QList<Kind>{Kind::NumberUsedTwice};
        QTest::newRow("folder below range") << "n" << url << 1 << -1 << QList<Kind>{Kind::FolderOutOfRange};
        QTest::newRow("folder above range") << "n" << url << 1 << 20 << QList<Kind>{Kind::FolderOutOfRange};
        QTest::newRow("highest number, last folder") << "n" << url << 99 << 19 << QList<Kind>{};
        QTest::newRow("emoji in the name") << "Cake 🍰" << url << 1 << 0 << QList<Kind>{Kind::NameNotShiftJIS};
        QTest::newRow("hangul in the location") << "n" << url + "한" << 1 << 0 << QList<Kind>{Kind::LocationNotShiftJIS};
        QTest::newRow("nul in the name") << QString("a") + QChar(0) + "b" << url << 1 << 0 << QList<Kind>{Kind::NameChanges};
        QTest::newRow("nul in the location") << "n" << url + QChar(0) << 1 << 0 << QList<Kind>{Kind::LocationChanges};
        // One entry carries 4,063 bytes of text; a two-byte character counts twice.
        QTest::newRow("longest") << a << url + QString(2051, 'x') << 1 << 0 << QList<Kind>{};
        QTest::newRow("too long") << a << url + QString(2052, 'x') << 1 << 0 << QList<Kind>{Kind::TooLong};
        QTest::newRow("two at once") << "🍰" << url << 200 << 0 << QList<Kind>{Kind::NumberOutOfRange, Kind::NameNotShiftJIS};
    }
    void findings()
    {
        QFETCH(QString, name);
        QFETCH(QString, location);
        QFETCH(int, number);
        QFETCH(int, folder);
        QFETCH(QList<Kind>, kinds);
        const BookmarkPtr first = makeBookmark("First", "http://first.jp/", 0, 0);
        const BookmarkPtr suspect = makeBookmark(name, location, number, folder);
        const QList<HandsetCheck::Finding> found = HandsetCheck::check({first, suspect});
        QList<Kind> got;
        for (const HandsetCheck::Finding& f : found) {
            got << f.kind;
            QCOMPARE(f.index, 1);
            QCOMPARE(f.bookmark, suspect);
            QVERIFY(!f.message.isEmpty());
            QVERIFY(!HandsetCheck::kindName(f.kind).isEmpty());
        }
        QCOMPARE(got, kinds);
    }

    // The check goes by what each character was found to do, the transfer by the
    // converted texts: the two agree on every character.
    void everyCharacterAsConverted()
    {
        for (int u = 0; u < 0x10000; ++u) {
            const BookmarkPtr b = makeBookmark(QString("a") + QChar(u) + "b", "http://a.jp/", 1, 0);
            HandsetCheck::Texts texts;
            const HandsetCheck::Record checked = HandsetCheck::examine(*b);
            const HandsetCheck::Record converted = HandsetCheck::examine(*b, &texts);
            if (checked.kinds != converted.kinds || checked.textBytes != converted.textBytes)
                QFAIL(qPrintable(QString("U+%1").arg(u, 4, 16, QChar('0'))));
        }
    }

    // What replaces a character the handset cannot show or give back, and the
    // result passes the check.
    void replaceUnsupported_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("location");
        QTest::addColumn<QString>("expected");
        QTest::newRow("fine") << "ニュース ～" << false << "ニュース ～";
        QTest::newRow("none at all") << QString() << false << QString();
        QTest::newRow("emoji") << "天気予報 000 🍣" << false << "天気予報 000 ?";
        QTest::newRow("nearest form") << "ﬁle" << false << "file";
        QTest::newRow("nul") << QString("a") + QChar(0) + "b" << false << "a?b";
        QTest::newRow("location keeps its address") << "http://a.jp/한" << true << "http://a.jp/%ED%95%9C";
    }
    void replaceUnsupported()
    {
        QFETCH(QString, text);
        QFETCH(bool, location);
        QFETCH(QString, expected);
        const QString replaced = HandsetCheck::replaceUnsupported(text, location);
        QCOMPARE(replaced, expected);
        QCOMPARE(replaced.isNull(), text.isNull());
        const BookmarkPtr b = location ? makeBookmark("n", replaced, 1, 0) : makeBookmark(replaced, "http://a.jp/", 1, 0);
        QVERIFY(HandsetCheck::check({b}).isEmpty());
    }

    void tooManyAndNames()
    {
        BookmarkList list;
        for (int i = 0; i < 101; ++i)
            list << makeBookmark(QString("B%1").arg(i), "http://a.jp/", i % 100, 0);
        const QList<HandsetCheck::Finding> found = HandsetCheck::check(list);
        QCOMPARE(found.size(), 2);
        QCOMPARE(found.first().kind, Kind::TooMany);
        QCOMPARE(found.first().index, -1);
        QVERIFY(found.first().message.contains("101"));
        // The duplicate names both bookmarks, the later one first.
        QCOMPARE(found.last().kind, Kind::NumberUsedTwice);
        QCOMPARE(found.last().index, 100);
        QVERIFY(found.last().message.contains("B100"));
        QVERIFY(found.last().message.contains("B0"));
        QCOMPARE(HandsetCheck::describe(found).count('\n'), 1);
        // Names in findings are cut at 60 characters.
        const QList<HandsetCheck::Finding> twice = HandsetCheck::check(
            {makeBookmark(QString(60, 'L') + "X", "", 5, 0), makeBookmark(QString(60, 'M') + "Y", "", 5, 0)});
        QCOMPARE(twice.size(), 1);
        QVERIFY2(twice[0].message.startsWith("“" + QString(60, 'M') + "” (memory 5") &&
                     twice[0].message.endsWith("“" + QString(60, 'L') + "”."),
                 qPrintable(twice[0].message));
        // A name is shown as it is, markers and all.
        const QString marked = HandsetCheck::check({makeBookmark("50%2 off", "", 200, 3)}).value(0).message;
        QVERIFY2(marked.startsWith("“50%2 off” (memory 200, folder 3) has memory number 200;"), qPrintable(marked));
        list.removeLast(); // exactly as many as the handset holds
        QCOMPARE(HandsetCheck::check(list).size(), 0);
        QVERIFY(HandsetCheck::check({}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestHandsetCheck)
#include "tst_handsetcheck.moc"
