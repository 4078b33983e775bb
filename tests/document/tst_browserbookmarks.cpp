#include "commands/BookmarkImportPlan.h"
#include "support/BookmarkTestSupport.h"
#include "document/BrowserBookmarks.h"
#include "document/MyDocument.h"

#include <QFile>
#include <QTest>

#include <iconv.h>

namespace
{
QByteArray fixture(const QString& name)
{
    QFile f(QStringLiteral(EDGEMARKS_FIXTURES "/netscape-html/") + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return f.readAll();
}

QByteArray encoded(const QString& text, const char* charset)
{
    const QByteArray utf8 = text.toUtf8();
    iconv_t cd = iconv_open(charset, "UTF-8");
    QByteArray out(utf8.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(utf8.constData());
    size_t inLeft = size_t(utf8.size()), outLeft = size_t(out.size());
    char* o = out.data();
    iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    out.truncate(out.size() - qsizetype(outLeft));
    return out;
}

BrowserBookmarks read(const QByteArray& bytes)
{
    return BrowserBookmarks::read(bytes);
}
} // namespace

class TestBrowserBookmarks : public QObject
{
    Q_OBJECT
private slots:
    // What a person reading each export expects: every link with a web location,
    // in the folder of the nearest heading above it.
    void fixtures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("links");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<QStringList>("folders");
        QTest::newRow("chromium flat") << "chromium_flat.htm" << 9 << 0 << QStringList{};
        QTest::newRow("chromium nested")
            << "chromium_nested.htm" << 18 << 0
            << QStringList{"Personal toolbar", "Dev", "PHP", "Python", "MOOC", "Linux", "Self-hosting"};
        QTest::newRow("firefox flat") << "firefox_flat.htm" << 21 << 3 << QStringList{"Personal toolbar"};
        QTest::newRow("firefox nested")
            << "firefox_nested.htm" << 21 << 3
            << QStringList{"Comics", "Dev", "PHP", "FLOSS", "Games", "Personal toolbar"};
        QTest::newRow("internet explorer") << "internet_explorer_11_flat.htm" << 18 << 0 << QStringList{};
        QTest::newRow("netscape basic") << "netscape_basic.htm" << 2 << 0 << QStringList{};
        QTest::newRow("netscape nested")
            << "netscape_nested.htm" << 8 << 0 << QStringList{"Folder1", "Folder2", "Folder3", "Folder3-1"};
        QTest::newRow("delicious") << "delicious.htm" << 5 << 0 << QStringList{};
        // One link is relative to the service ("?lY47tw"): no address for the handset.
        QTest::newRow("shaarli") << "shaarli.htm" << 5 << 1 << QStringList{};
    }
    void fixtures()
    {
        QFETCH(QString, file);
        QFETCH(int, links);
        QFETCH(int, skipped);
        QFETCH(QStringList, folders);
        const BrowserBookmarks b = read(fixture(file));
        QCOMPARE(b.links.size(), links);
        QCOMPARE(b.skipped.size(), skipped);
        QCOMPARE(b.folders, folders);
        for (const BrowserBookmarks::Link& l : b.links) {
            QVERIFY(!l.name.isEmpty());
            QVERIFY2(l.location.startsWith("http"), qPrintable(l.location));
        }
        for (const BrowserBookmarks::Skipped& s : b.skipped) // "place:" links say so
            QVERIFY(!s.location.startsWith("place:") || s.reason.contains("place:"));
        const QByteArray data("<DT><A HREF=\"data:text/html,x\">D</A><DT><A HREF=\"http://a.jp/\">A</A>");
        QVERIFY(read(data).skipped.value(0).reason.contains("(data:)")); // and data: links
    }

    void characterSets_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        const QString page = QStringLiteral(
            "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n%1<DL><p><DT><H3>ニュース</H3><DL><p>"
            "<DT><A HREF=\"http://www.example.jp/\">日本語のページ &amp; ～</A></DL><p></DL><p>\n");
        const QString folder = QStringLiteral("ニュース"), name = QStringLiteral("日本語のページ & ～");
        const QString meta =
            QStringLiteral("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=%1\">\n");
        QTest::newRow("utf-8 declared") << page.arg(meta.arg("UTF-8")).toUtf8() << folder << name;
        QTest::newRow("shift_jis declared") << encoded(page.arg(meta.arg("Shift_JIS")), "CP932") << folder << name;
        QTest::newRow("euc-jp declared") << encoded(page.arg(meta.arg("EUC-JP")), "EUC-JP") << folder << name;
        QTest::newRow("html5 meta") << encoded(page.arg("<meta charset=\"shift_jis\">"), "CP932") << folder << name;
        QTest::newRow("shift_jis undeclared") << encoded(page.arg(QString()), "CP932") << folder << name;
        QTest::newRow("euc-jp undeclared") << encoded(page.arg(QString()), "EUC-JP") << folder << name;
        QTest::newRow("utf-8 with a byte order mark")
            << QByteArray("\xEF\xBB\xBF") + page.arg(QString()).toUtf8() << folder << name;
        // Half-width katakana in Shift_JIS are also valid EUC-JP: Shift_JIS is tried first.
        QTest::newRow("half-width undeclared")
            << encoded(QStringLiteral("<DL><DT><H3>ﾆｭｰｽ</H3><DL><DT><A HREF=\"http://a.jp/\">ｱｲｳｴ</A></DL></DL>"),
                       "CP932")
            << QStringLiteral("ﾆｭｰｽ") << QStringLiteral("ｱｲｳｴ");
    }
    void characterSets()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, folder);
        QFETCH(QString, name);
        const BrowserBookmarks b = read(bytes);
        QCOMPARE(b.folders, QStringList{folder});
        QCOMPARE(b.links.size(), 1);
        QCOMPARE(b.links.first().name, name);
    }

    // Broken files give a result or one clear error, never a crash or a hang.
    void malformed_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("links"); // -1: refused
        QTest::newRow("unclosed tags")
            << QByteArray("<DL><DT><A HREF=\"http://a.jp/\">A<DT><A HREF=\"http://b.jp/\">B") << 2;
        QTest::newRow("no DL at all")
            << QByteArray("<A HREF=\"http://a.jp/\">A</A><A HREF=\"http://b.jp/\">B</A>") << 2;
        QTest::newRow("stray text")
            << QByteArray("hello <DL><p>world<DT><A HREF=\"http://a.jp/\">A</A> more</DL> end") << 1;
        QTest::newRow("truncated in a title")
            << fixture("netscape_nested.htm").left(fixture("netscape_nested.htm").indexOf("Nested 2-2") + 4)
            << 5;
        QTest::newRow("closing tags only") << QByteArray("</DL></DL></A></H3></DL>") << -1;
        QTest::newRow("not html") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << -1;
        QTest::newRow("plain text") << QByteArray("just some words, no links") << -1;
        QTest::newRow("empty") << QByteArray() << -1;
        QTest::newRow("heading without list")
            << QByteArray("<DL><DT><H3>F</H3><DT><A HREF=\"http://a.jp/\">A</A></DL>") << 1;
        QTest::newRow("http without a host")
            << QByteArray("<DL><DT><A HREF=\"http:\">none</A><DT><A HREF=\"http://a.jp/\">A</A></DL>") << 1;
        QTest::newRow("thousands of nested lists")
            << QByteArray("<DL>").repeated(20000) + "<A HREF=\"http://a.jp/\">A</A>" << 1;
    }
    void malformed()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, links);
        try {
            const BrowserBookmarks b = read(bytes);
            QCOMPARE(b.links.size(), links);
        } catch (const BrowserBookmarksError& e) {
            QVERIFY2(links < 0, e.what());
            QVERIFY(!QString::fromUtf8(e.what()).isEmpty());
        }
    }

    void largeFile()
    {
        // 50 MB of links: read, the number beyond what is kept counted.
        const QByteArray line(
            "<DT><A HREF=\"http://www.example.jp/a/long/path/to/a/page.html\">A page with a title</A>\n");
        QByteArray bytes = "<DL><p>\n" + line.repeated(int(50 * 1024 * 1024 / line.size())) + "</DL>";
        const BrowserBookmarks b = read(bytes);
        QCOMPARE(b.links.size(), BrowserBookmarks::MaxKept);
        QCOMPARE(b.links.size() + b.notKept, qint64(50 * 1024 * 1024 / line.size()));
        bytes.append(QByteArray(20 * 1024 * 1024, ' '));
        QVERIFY_THROWS_EXCEPTION(BrowserBookmarksError, read(bytes));
    }

    void roundTrip()
    {
        MyDocument doc;
        BookmarkList list{
            makeBookmark("Top & <first>", "http://a.jp/?x=1&y=\"2\"", 7, 0),
            makeBookmark("日本語", "http://b.jp/", 1, 0),
            // What a parser folds or may take for something else.
            makeBookmark("  two  spaces ", "http://f.jp/", 5, 0), makeBookmark("no\u00A0break\ttab", "http://g.jp/", 6, 0),
            makeBookmark("line\nbreak\r\n", "http://h.jp/", 8, 0), makeBookmark("\uFEFFmark\uFEFF", "http://i.jp/", 9, 0),
            makeBookmark("News 1", "https://c.jp/", 2, 3), makeBookmark("News 2", "https://d.jp/", 3, 3),
            makeBookmark("Last's", "http://e.jp/", 4, 19)};
        QStringList folders = MyDocument::defaultFolderList();
        folders[3] = "ニュース & <more>";
        const QByteArray html = BrowserBookmarks::write(list, folders);

        const BrowserBookmarks file = read(html);
        const BookmarkImportPlan plan = BookmarkImportPlan::make(file, {}, MyDocument::defaultFolderList(),
                                                                 BookmarkImportPlan::Mapping::PerFolder, 0);
        QCOMPARE(plan.added.size(), list.size());
        for (int i = 0; i < list.size(); ++i) {
            QCOMPARE(plan.added.at(i)->bookmarkName(), list.at(i)->bookmarkName());
            QCOMPARE(plan.added.at(i)->location(), list.at(i)->location());
            QCOMPARE(plan.added.at(i)->folder(), list.at(i)->folder());
            QCOMPARE(plan.added.at(i)->number(), list.at(i)->number());
        }
        QCOMPARE(plan.folderNames, folders);
        QCOMPARE(plan.leftOut, 0);
        QVERIFY(plan.skipped.isEmpty());

        // Control characters, as they are or as references, are removed and noted;
        // literal whitespace folds as a browser folds it.
        const BrowserBookmarks cleaned = read("<DL><DT><A HREF=\"http://a.jp/\">a\x01" "b&#7;c \n  d&#32;</A></DL>");
        QCOMPARE(cleaned.links.value(0).name, QString("abc d "));
        QCOMPARE(cleaned.cleaned, 1);
        QVERIFY(BookmarkImportPlan::make(cleaned, {}, folders, BookmarkImportPlan::Mapping::PerFolder, 0)
                    .summary()
                    .contains("1 name(s) held control characters, which were removed."));
    }

    void importPlans()
    {
        const BrowserBookmarks file = read(fixture("netscape_nested.htm"));
        // Folder 0 holds a bookmark with number 0, folder 1 is named like a browser folder.
        QStringList names = MyDocument::defaultFolderList();
        names[1] = "Folder2";
        const BookmarkList existing{makeBookmark("old", "http://old.jp/", 0, 0)};

        BookmarkImportPlan plan =
            BookmarkImportPlan::make(file, existing, names, BookmarkImportPlan::Mapping::PerFolder, 0);
        QCOMPARE(plan.added.size(), 8);
        QList<int> folders, numbers;
        for (const BookmarkPtr& b : std::as_const(plan.added))
            folders << b->folder(), numbers << b->number();
        // Outside folders: the selected folder; Folder2: the folder of that name;
        // Folder1 and Folder3-1: the free folders 2 and 3, renamed.
        QCOMPARE(folders, (QList<int>{0, 2, 2, 1, 1, 3, 3, 0}));
        QCOMPARE(numbers, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8}));
        QCOMPARE(plan.folderNames.at(2), QString("Folder1"));
        QCOMPARE(plan.folderNames.at(3), QString("Folder3-1"));
        QCOMPARE(plan.renamed.size(), 2);
        QVERIFY(plan.summary().contains("8 bookmark(s) will be added."));

        plan = BookmarkImportPlan::make(file, existing, names, BookmarkImportPlan::Mapping::IntoFolder, 7);
        for (const BookmarkPtr& b : std::as_const(plan.added))
            QCOMPARE(b->folder(), 7);
        QCOMPARE(plan.folderNames, names);

        // The limit: 95 bookmarks leave room for 5.
        BookmarkList full;
        for (int i = 0; i < 95; ++i)
            full << makeBookmark("b", "http://b.jp/", i, 0);
        plan = BookmarkImportPlan::make(file, full, names, BookmarkImportPlan::Mapping::PerFolder, 0);
        QCOMPARE(plan.added.size(), 5);
        QCOMPARE(plan.leftOut, 3);
        QVERIFY(plan.summary().contains("3 bookmark(s) were left out"));
        numbers.clear();
        for (const BookmarkPtr& b : std::as_const(plan.added))
            numbers << b->number();
        QCOMPARE(numbers, (QList<int>{95, 96, 97, 98, 99}));
        // The folders take turns: each keeps one, the second of each is left out.
        QCOMPARE(plan.renamed, (QStringList{"02 → Folder1", "03 → Folder3-1"}));
        QCOMPARE(::names(plan.added), QString("Nested 1, Nested 1-1, Nested 2-1, Nested 3-1, Nested 2"));

        // More browser folders than free handset folders, and more links than fit:
        // the folders take turns, the rest share the last folder taken, and what
        // is left out is named.
        QString many = "<DL>";
        for (int i = 0; i < 25; ++i) {
            many += QString("<DT><H3>F%1</H3><DL>").arg(i);
            for (int k = 0; k < 10; ++k)
                many += QString("<DT><A HREF=\"http://f%1.jp/%2\">L%1-%2</A>").arg(i).arg(k);
            many += "</DL>";
        }
        plan = BookmarkImportPlan::make(read(many.toUtf8()), {}, MyDocument::defaultFolderList(),
                                        BookmarkImportPlan::Mapping::PerFolder, 0);
        QList<int> perFolder(20, 0);
        for (const BookmarkPtr& b : std::as_const(plan.added))
            ++perFolder[b->folder()];
        QList<int> shares(20, 4);
        shares[0] = 0;
        shares[19] = 4 * 7;
        QCOMPARE(perFolder, shares);
        QCOMPARE(plan.renamed.size(), 19);
        QCOMPARE(plan.leftOutLinks.size(), 150);
        QVERIFY(plan.summary().contains("\n  “L0-4” (http://f0.jp/4)\n"));
    }

    void importIsOneUndoStep()
    {
        MyDocument doc;
        doc.setBookmarkList({makeBookmark("old", "http://old.jp/", 0, 0)});
        const BookmarkImportPlan plan =
            BookmarkImportPlan::make(read(fixture("netscape_nested.htm")), doc.bookmarkList(),
                                     doc.folderList(), BookmarkImportPlan::Mapping::PerFolder, 0);
        doc.addBookmarks(plan.added, plan.folderNames, "Import Bookmarks");
        endEvent();
        QCOMPARE(doc.bookmarkList().size(), 9);
        QCOMPARE(doc.folderList().at(1), QString("Folder1"));
        QCOMPARE(doc.undoManager()->undoActionName(), QString("Import Bookmarks"));
        doc.undoManager()->undo();
        QCOMPARE(doc.bookmarkList().size(), 1);
        QCOMPARE(doc.folderList(), MyDocument::defaultFolderList());
        doc.undoManager()->redo();
        QCOMPARE(doc.bookmarkList().size(), 9);
        QCOMPARE(doc.folderList().at(1), QString("Folder1"));
    }
};

QTEST_GUILESS_MAIN(TestBrowserBookmarks)
#include "tst_browserbookmarks.moc"
