#include "controllers/BookmarkController.h"
#include "controllers/BookmarkPasteboard.h"
#include "support/BookmarkTestSupport.h"
#include "support/FileTestSupport.h"
#include "controllers/FolderController.h"
#include "controllers/LinkReader.h"
#include "document/MyDocument.h"
#include "controllers/ResourceFork.h"

#include <QCoreApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include <sys/xattr.h>

namespace
{
BookmarkPtr make(const QString& name, int folder, int number = 0, const QString& location = "http://x/")
{
    return makeBookmark(name, location, number, folder);
}

QByteArray be32(quint32 v)
{
    QByteArray b;
    b.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
    return b;
}

QByteArray be16(quint16 v)
{
    QByteArray b;
    b.append(char(v >> 8)).append(char(v));
    return b;
}

// A resource fork in the documented layout holding the given resources.
QByteArray resourceFork(const QList<std::pair<QByteArray, QByteArray>>& resources)
{
    QByteArray data;
    QList<quint32> offsets;
    for (const auto& [type, bytes] : resources) {
        offsets << quint32(data.size());
        data += be32(quint32(bytes.size())) + bytes;
    }
    const quint32 dataOffset = 256;
    const quint32 mapOffset = dataOffset + quint32(data.size());
    QByteArray typeList = be16(quint16(resources.size() - 1));
    const int typeListLength = 2 + 8 * int(resources.size());
    QByteArray refs;
    for (int i = 0; i < resources.size(); ++i) {
        typeList += resources[i].first + be16(0) + be16(quint16(typeListLength + refs.size()));
        refs += be16(quint16(128 + i)) + be16(0xFFFF) + char(0) + be32(offsets[i]).mid(1) + be32(0);
    }
    QByteArray map = QByteArray(16, 0) + be32(0) + be16(0) + be16(0) + be16(28) + be16(0xFFFF);
    map += typeList + refs;
    QByteArray header =
        be32(dataOffset) + be32(mapOffset) + be32(quint32(data.size())) + be32(quint32(map.size()));
    return header + QByteArray(int(dataOffset) - 16, 0) + data + map;
}

QByteArray appleDouble(const QByteArray& fork)
{
    QByteArray header = be32(0x00051607) + be32(0x00020000) + QByteArray(16, 0) + be16(1);
    header += be32(2) + be32(26 + 12) + be32(quint32(fork.size()));
    return header + fork;
}

} // namespace

class TestDragDrop : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void dragsDeclareTheirTypes()
    {
        MyDocument doc;
        auto plain = make("untitled", 0, 0, "http://");
        doc.setBookmarkList({plain, make("b", 0, 1), make("c", 0, 2)});
        BookmarkController c(&doc);
        std::unique_ptr<QMimeData> three(c.writeRows({0, 1, 2}));
        QVERIFY(three->hasFormat("COPIED_ROWS_TYPE"));
        QVERIFY(three->hasFormat("MOVED_ROWS_TYPE"));
        QVERIFY(!three->hasFormat("WebURLsWithTitlesPboardType"));
        QVERIFY(!three->hasFormat("text/x-moz-url"));
        QCOMPARE(BookmarkPasteboard::movedRows(*three), QList<int>({0, 1, 2}));
        QCOMPARE(three->text(), QString("http://\nhttp://x/\nhttp://x/"));

        std::unique_ptr<QMimeData> one(c.writeRows({0}));
        QVERIFY(one->hasFormat("WebURLsWithTitlesPboardType"));
        const std::optional<DroppedLink> link = LinkReader::fromMimeData(*one);
        QVERIFY(link);
        QCOMPARE(link->url.toString(), QString("http://"));
        QCOMPARE(link->title, QString("untitled"));
        QVERIFY(one->hasFormat("text/x-moz-url"));
        // The copies are records of their own with the same values.
        const auto copies = BookmarkPasteboard::copiedRows(*one, 100);
        QVERIFY(copies && copies->records.size() == 1 && copies->total == 1);
        QVERIFY(copies->records.first() != plain);
        QCOMPARE(copies->records.first()->location(), QString("http://"));
    }

    void reorderingInsideTheTable()
    {
        MyDocument doc;
        doc.setBookmarkList({make("a", 0), make("b", 0), make("c", 0), make("d", 0), make("e", 0)});
        BookmarkController c(&doc);
        std::unique_ptr<QMimeData> drag(c.writeRows({0, 2}));
        QVERIFY(c.canDropMimeData(drag.get(), Qt::MoveAction, 4, 0, {}));
        QVERIFY(c.dropMimeData(drag.get(), Qt::MoveAction, 4, 0, {}));
        endEvent();
        QCOMPARE(names(doc.bookmarkList()), QString("b, d, a, c, e"));
        QCOMPARE(c.selectionIndexes(), std::set<int>({2, 3}));
        QCOMPARE(doc.undoManager()->undoActionName(), QString("Move"));

        // A single row onto its own place: nothing moves, the row is selected.
        drag.reset(c.writeRows({1}));
        QVERIFY(c.dropMimeData(drag.get(), Qt::MoveAction, 2, 0, {}));
        QCOMPARE(names(doc.bookmarkList()), QString("b, d, a, c, e"));
        QCOMPARE(c.selectionIndexes(), std::set<int>({1}));
        // A drop onto a row goes above it.
        drag.reset(c.writeRows({4}));
        QVERIFY(c.dropMimeData(drag.get(), Qt::MoveAction, -1, -1, c.index(0, 1)));
        QCOMPARE(names(doc.bookmarkList()), QString("e, b, d, a, c"));
        QCOMPARE(c.selectionIndexes(), std::set<int>({0}));
        // Rows dropped onto one of themselves stay, and stay selected.
        drag.reset(c.writeRows({1, 2}));
        QVERIFY(c.dropMimeData(drag.get(), Qt::MoveAction, 2, 0, {}));
        QCOMPARE(names(doc.bookmarkList()), QString("e, b, d, a, c"));
        QCOMPARE(c.selectionIndexes(), std::set<int>({1, 2}));
    }

    void linksBecomeBookmarks()
    {
        MyDocument doc;
        doc.setBookmarkList(
            {make("a", 2, 0), make("x", 0, 1), make("b", 2, 2), make("c", 2, 3), make("y", 0, 4)});
        BookmarkController c(&doc);
        c.setCurrentFolder(2);
        endEvent();
        QMimeData moz;
        const QString text = "http://www.example.jp/a b\nExample";
        moz.setData("text/x-moz-url",
                    QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2));
        QVERIFY(c.dropMimeData(&moz, Qt::CopyAction, 2, 0, {}));
        const BookmarkPtr added = c.arrangedObjects().at(2);
        QCOMPARE(describe({added}), QStringList("Bookmark|Example|http://www.example.jp/a%20b|5|2"));
        QCOMPARE(c.selectionIndexes(), std::set<int>({2}));
        QCOMPARE(names(doc.bookmarkList()), QString("a, x, b, Example, c, y"));
        endEvent();
        QCOMPARE(doc.undoManager()->undoActionName(), QString("Edit"));
        doc.undoManager()->undo();
        QCOMPARE(names(doc.bookmarkList()), QString("a, x, b, c, y"));

        // Below the last row: right after the folder's last bookmark, not at the end.
        QMimeData plain;
        plain.setText("  https://example.com/path?q=1  ");
        QVERIFY(c.dropMimeData(&plain, Qt::CopyAction, -1, -1, {}));
        QCOMPARE(names(doc.bookmarkList()), QString("a, x, b, c, untitled, y"));
        QCOMPARE(doc.bookmarkList()[4]->location(), QString("https://example.com/path?q=1"));
        // Let go of nowhere: the link is not taken.
        QVERIFY(!c.dropMimeData(&plain, Qt::IgnoreAction, 0, 0, {}));
        QCOMPARE(names(doc.bookmarkList()), QString("a, x, b, c, untitled, y"));
        // A clean row's location shows whole in its tip.
        QCOMPARE(c.data(c.index(3, BookmarkListModel::LocationColumn), Qt::ToolTipRole).toString(),
                 QString("https://example.com/path?q=1"));

        // Nothing that is a web location: refused.
        for (const char* text : {"just some words", "http:", "http:/path"}) {
            QMimeData words;
            words.setText(text);
            QVERIFY2(!c.canDropMimeData(&words, Qt::CopyAction, 0, 0, {}), text);
            QVERIFY(!c.dropMimeData(&words, Qt::CopyAction, 0, 0, {}));
        }
        QMimeData relative; // a link with no scheme names no place on the web
        relative.setUrls({QUrl("folder/page.html")});
        QVERIFY(!c.canDropMimeData(&relative, Qt::CopyAction, 0, 0, {}));
        relative.setUrls({QUrl("file:")}); // nor does a file link without a path
        QVERIFY(!c.dropMimeData(&relative, Qt::CopyAction, 0, 0, {}));
        QMimeData webUrls;
        webUrls.setData("WebURLsWithTitlesPboardType", "<plist><array><array/></array></plist>");
        QVERIFY(!c.dropMimeData(&webUrls, Qt::CopyAction, 0, 0, {}));
        webUrls.setData("WebURLsWithTitlesPboardType",
                        "<plist><array><array><string>http://t/</string></array></array></plist>");
        QVERIFY(c.dropMimeData(&webUrls, Qt::CopyAction, 0, 0, {}));
        QCOMPARE(c.arrangedObjects().first()->bookmarkName(), QString("untitled")); // no title
        QMimeData netscape;
        netscape.setData("_NETSCAPE_URL", "ftp://files.example.jp/\nFiles");
        QVERIFY(c.dropMimeData(&netscape, Qt::CopyAction, 0, 0, {}));
        QCOMPARE(c.arrangedObjects().first()->bookmarkName(), QString("Files"));
        const QString bare = "http://bare.example/"; // the link alone, no title line
        moz.setData("text/x-moz-url", QByteArray(reinterpret_cast<const char*>(bare.utf16()), bare.size() * 2));
        QVERIFY(c.dropMimeData(&moz, Qt::CopyAction, 0, 0, {}));
        QCOMPARE(c.arrangedObjects().first()->location(), bare);
        QCOMPARE(c.arrangedObjects().first()->bookmarkName(), QString("untitled"));
    }

    void rowsFromAnotherDocumentAreCopied()
    {
        MyDocument source;
        const BookmarkList originals{make("s1", 4, 40), make("s2", 9, 41)};
        source.setBookmarkList(originals);
        BookmarkController from(&source);
        from.setCurrentFolder(4);
        MyDocument target;
        target.setBookmarkList({make("t", 0)});
        BookmarkController to(&target);
        std::unique_ptr<QMimeData> drag(BookmarkPasteboard::write(originals, {0, 1}, &from));
        QVERIFY(to.dropMimeData(drag.get(), Qt::CopyAction, 0, 0, {}));
        QCOMPARE(target.bookmarkList().size(), 3);
        const BookmarkPtr copy = target.bookmarkList().first();
        QVERIFY(copy != originals[0]);
        QCOMPARE(copy->number(), 40);
        QCOMPARE(copy->folder(), 4);
        copy->setBookmarkName("changed");
        QCOMPARE(originals[0]->bookmarkName(), QString("s1"));
    }

    void cutCopyAndPaste()
    {
        MyDocument doc;
        doc.setBookmarkList({make("a", 0, 1), make("b", 0, 2), make("c", 0, 3)});
        BookmarkController c(&doc);
        endEvent();
        c.setSelectionIndexes({0, 2});
        std::unique_ptr<QMimeData> copied(c.copySelection());
        c.cutSelection();
        endEvent();
        QCOMPARE(names(doc.bookmarkList()), QString("b"));
        QCOMPARE(doc.undoManager()->undoActionName(), QString("Cut"));
        doc.undoManager()->undo();
        QCOMPARE(names(doc.bookmarkList()), QString("a, b, c"));

        // Pasted after the selection, as copies, even into the table they came
        // from, with free numbers for those whose own are taken.
        c.setSelectionIndexes({1});
        QVERIFY(c.paste(*copied));
        QCOMPARE(names(doc.bookmarkList()), QString("a, b, a, c, c"));
        QVERIFY(doc.bookmarkList()[2] != doc.bookmarkList()[0]);
        QCOMPARE(c.selectionIndexes(), std::set<int>({2, 3}));
        std::set<int> numbers;
        for (const BookmarkPtr& b : doc.bookmarkList())
            numbers.insert(b->number());
        QCOMPARE(numbers.size(), size_t(5));
        // A link on the clipboard pastes as a new bookmark at the end.
        c.setSelectionIndexes({});
        QMimeData link;
        link.setText("http://pasted.example/");
        QVERIFY(c.paste(link));
        QCOMPARE(doc.bookmarkList().last()->location(), QString("http://pasted.example/"));
    }

    void limitOfOneHundredOnDrops()
    {
        MyDocument doc;
        BookmarkList list;
        for (int i = 0; i < 100; ++i)
            list << make(QString::number(i), 0, i);
        doc.setBookmarkList(list);
        BookmarkController c(&doc);
        QMimeData link;
        link.setText("http://example.com/");
        QVERIFY(!c.dropMimeData(&link, Qt::CopyAction, 0, 0, {}));
        std::unique_ptr<QMimeData> own(c.writeRows({0}));
        QVERIFY(c.dropMimeData(own.get(), Qt::MoveAction, 3, 0, {})); // moving still works
        QCOMPARE(doc.bookmarkList()[2]->bookmarkName(), QString("0"));
        QCOMPARE(doc.bookmarkList().size(), 100);
    }

    void dropsOnFolderRows()
    {
        MyDocument doc;
        const BookmarkList list{make("a", 0), make("b", 0), make("c", 0), make("d", 0), make("z", 3)};
        doc.setBookmarkList(list);
        BookmarkController c(&doc);
        FolderController folders(&doc, &c);
        endEvent();
        c.setSelectionIndexes({1, 3});
        std::unique_ptr<QMimeData> drag(c.writeRows({1, 3}));
        QVERIFY(folders.canDropMimeData(drag.get(), Qt::MoveAction, -1, -1, folders.index(5)));
        QVERIFY(folders.dropMimeData(drag.get(), Qt::MoveAction, -1, -1, folders.index(5)));
        endEvent();
        QCOMPARE(names(doc.bookmarkList()), QString("a, c, z, b, d"));
        QVERIFY(list[1]->folder() == 5 && list[3]->folder() == 5);
        QVERIFY(c.selectionIndexes().empty());
        QCOMPARE(names(c.arrangedObjects()), QString("a, c"));
        QCOMPARE(doc.undoManager()->undoMenuItemTitle(), QString("Undo Move"));
        doc.undoManager()->undo();
        QVERIFY(doc.bookmarkList() == list);
        QCOMPARE(list[1]->folder(), 0);
        QCOMPARE(names(c.arrangedObjects()), QString("a, b, c, d"));
        doc.undoManager()->redo();
        QCOMPARE(names(doc.bookmarkList()), QString("a, c, z, b, d"));

        // Refused: a negative row, a row past the last folder, another window's rows.
        drag.reset(c.writeRows({0}));
        QVERIFY(!folders.dropMimeData(drag.get(), Qt::MoveAction, -1, -1, {}));
        QVERIFY(!folders.acceptDrop(*drag, 20));
        MyDocument other;
        other.setBookmarkList({make("o", 0)});
        BookmarkController otherTable(&other);
        std::unique_ptr<QMimeData> foreign(otherTable.writeRows({0}));
        QVERIFY(!folders.canDropMimeData(foreign.get(), Qt::MoveAction, -1, -1, folders.index(2)));
        QVERIFY(!folders.dropMimeData(foreign.get(), Qt::MoveAction, -1, -1, folders.index(2)));
        QCOMPARE(other.bookmarkList().first()->folder(), 0);
    }

    void clippingForks()
    {
        const QByteArray both = resourceFork({{"url ", "http://clip.example.jp/"}, {"urln", "クリップ"}});
        DroppedLink link = LinkReader::fromClippingFork(both);
        QCOMPARE(link.url.toString(), QString("http://clip.example.jp/"));
        QCOMPARE(link.title, QStringLiteral("クリップ"));

        // As an AppleDouble companion of the dropped file.
        const QString clip = m_dir.filePath("Example.webbookmark");
        QVERIFY(writeFile(clip, ""));
        QVERIFY(writeFile(m_dir.filePath("._Example.webbookmark"), appleDouble(both)));
        link = LinkReader::fromFile(clip);
        QCOMPARE(link.url.toString(), QString("http://clip.example.jp/"));
        QCOMPARE(link.title, QStringLiteral("クリップ"));

        // Only a title: the location is the file's own URL, the title is kept.
        const QString titled = m_dir.filePath("Titled");
        QVERIFY(writeFile(titled, ""));
        QVERIFY(writeFile(m_dir.filePath("._Titled"), appleDouble(resourceFork({{"urln", "Only a title"}}))));
        link = LinkReader::fromFile(titled);
        QCOMPARE(link.url, QUrl::fromLocalFile(titled));
        QCOMPARE(link.title, QString("Only a title"));

        // No fork at all.
        const QString bare = m_dir.filePath("bare.bin");
        QVERIFY(writeFile(bare, "data"));
        link = LinkReader::fromFile(bare);
        QCOMPARE(link.url, QUrl::fromLocalFile(bare));
        QVERIFY(link.title.isNull());

        // Damaged forks (the fuzz corpus goes further), or one cut in its length, give nothing.
        QVERIFY(!LinkReader::fromClippingFork(QByteArray(16, '\xff')).url.isValid());
        QVERIFY(!ResourceFork::fromAppleDouble(QByteArray("\x00\x05\x16\x07", 4)));
        QVERIFY(!ResourceFork::fromAppleDouble(appleDouble({}).replace(30, 4, be32(0)).left(26 + 11)));

        // As an extended attribute, where the file system keeps them.
        const QString attributed = m_dir.filePath("attributed");
        QVERIFY(writeFile(attributed, ""));
        if (setxattr(QFile::encodeName(attributed).constData(), "user.com.apple.ResourceFork",
                     both.constData(), size_t(both.size()), 0) != 0)
            QSKIP("no user extended attributes on this file system");
        link = LinkReader::fromFile(attributed);
        QCOMPARE(link.url.toString(), QString("http://clip.example.jp/"));
    }

    void linkFiles()
    {
        const QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
                               "<key>URL</key><string>http://webloc.example/</string></dict></plist>";
        QCOMPARE(LinkReader::fromWebloc(xml)->url.toString(), QString("http://webloc.example/"));
        // The same in a binary property list, written by the property-list library.
        const QByteArray binary = QByteArray::fromHex(
            "62706c6973743030d101025355524c5f1016687474703a2f2f776562"
            "6c6f632e6578616d706c652f080b0f0000000000000101000000000000000300000000000000000000000000000028");
        const auto fromBinary = LinkReader::fromWebloc(binary);
        QVERIFY(fromBinary);
        QCOMPARE(fromBinary->url.toString(), QString("http://webloc.example/"));
        QVERIFY(!LinkReader::fromWebloc("<plist><dict><key>URL</key><integer>3</integer></dict></plist>"));
        QVERIFY(!LinkReader::fromWebloc("garbage"));
        QVERIFY(LinkReader::fromWebloc(xml + QByteArray(LinkReader::MaxLinkBytes - xml.size(), ' ')));
        QVERIFY(!LinkReader::fromWebloc(xml + QByteArray(LinkReader::MaxLinkBytes - xml.size() + 1, ' ')));

        QCOMPARE(LinkReader::fromInternetShortcut("[InternetShortcut]\r\nURL=https://win.example/\r\n")
                     ->url.toString(),
                 QString("https://win.example/"));
        QVERIFY(!LinkReader::fromInternetShortcut("[Other]\nURL=https://win.example/\n"));
        const auto desktop =
            LinkReader::fromDesktopEntry("[Desktop Entry]\nType=Link\nName=Desk\nURL=http://d.example/\n");
        QCOMPARE(desktop->url.toString(), QString("http://d.example/"));
        QCOMPARE(desktop->title, QString("Desk"));
        QVERIFY(!LinkReader::fromDesktopEntry("[Desktop Entry]\nType=Application\nURL=http://d.example/\n"));
        QVERIFY(!LinkReader::fromDesktopEntry("[Desktop Entry]\nType=Link\nName=No address\n"));

        // Dropped as files from a file manager.
        const QString webloc = m_dir.filePath("Saved.webloc");
        QVERIFY(writeFile(webloc, xml));
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(webloc)});
        const auto link = LinkReader::fromMimeData(files);
        QCOMPARE(link->url.toString(), QString("http://webloc.example/"));
        QCOMPARE(link->title, QString("Saved"));
        const QString broken = m_dir.filePath("Broken.url");
        QVERIFY(writeFile(broken, "not an ini file"));
        QCOMPARE(LinkReader::fromFile(broken).url, QUrl::fromLocalFile(broken));
    }
};

QTEST_GUILESS_MAIN(TestDragDrop)
#include "tst_dragdrop.moc"
