#include "support/BookmarkTestSupport.h"
#include "document/KeyedArchive.h"
#include "document/MyDocument.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <climits>

namespace {
BookmarkList numbered(const QList<int>& numbers)
{
    BookmarkList list;
    for (int n : numbers)
        list << makeBookmark("n", "l", n, 0);
    return list;
}

// A record with the given number, archived on its own as the clipboard does, or
// in a document with its folder list.
QByteArray archivedWithNumber(qint64 number, bool document)
{
    const QStringList chain{"NSMutableArray", "NSArray", "NSObject"};
    ArchivedRef record = ArchivedValue::makeObject("Bookmark", {"Bookmark", "AirHBookmark", "NSObject"});
    record->fields = {{"name", ArchivedValue::makeString("n")},
                      {"location", ArchivedValue::makeString("l")},
                      {"number", ArchivedValue::makeInteger(number)},
                      {"folder", ArchivedValue::makeInteger(0)}};
    ArchivedRef list = ArchivedValue::makeArray("NSMutableArray", chain, {record});
    if (!document)
        return KeyedArchiver::archivedData(list);
    ArchivedRef folders = ArchivedValue::makeArray("NSMutableArray", chain, {ArchivedValue::makeString("00")});
    return KeyedArchiver::archivedData(
        ArchivedValue::makeArray("NSArray", {"NSArray", "NSObject"}, {list, folders}));
}

} // namespace

class TestMyDocument : public QObject {
    Q_OBJECT
private slots:
    void generateUniqueMemoryNumber_data()
    {
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<int>("expected");
        QList<int> all;
        for (int i = 0; i < 100; ++i)
            all << 99 - i;
        const QList<std::pair<QList<int>, int>> rows{
            {{}, 0},        {{2, 0, 1}, 3},    {{5}, 6},       {{98}, 99},         {{99}, 0},
            {{99, 3}, 0},   {{0, 99, 1, 2}, 3}, {all, -1},     {{0, 0, 99}, 1},    {{0, 1, 1, 99}, 2},
            {{100}, 0},     {{-1}, 0},         {{INT_MAX}, 0}};
        for (const auto& [numbers, expected] : rows) {
            QStringList name;
            for (int n : numbers.mid(0, 5))
                name << QString::number(n);
            QTest::newRow(qPrintable(name.join(' '))) << numbers << expected;
        }
    }

    void generateUniqueMemoryNumber()
    {
        QFETCH(QList<int>, numbers);
        QFETCH(int, expected);
        MyDocument doc;
        doc.setBookmarkList(numbered(numbers));
        QCOMPARE(doc.generateUniqueMemoryNumber(), expected);
    }

    void isExistMemoryNumberComparesByIdentity()
    {
        MyDocument doc;
        const BookmarkList list = numbered({4, 5});
        doc.setBookmarkList(list);
        QVERIFY(!doc.isExistMemoryNumber(4, list[0].get()));
        QVERIFY(doc.isExistMemoryNumber(4, list[1].get()));
        QVERIFY(doc.isExistMemoryNumber(4, nullptr));
        QVERIFY(!doc.isExistMemoryNumber(6, nullptr));
        // A record with equal values is still another record.
        const BookmarkPtr twin = list[0]->clone();
        doc.insertObjectInBookmarkList(twin, 2);
        QVERIFY(doc.isExistMemoryNumber(4, list[0].get()));
    }

    void renumberIsOneUndoStep()
    {
        MyDocument doc;
        doc.setBookmarkList(numbered({7, 3, 50}));
        doc.renumberBookmarks();
        endEvent();
        auto numbers = [&] {
            QList<int> n;
            for (const BookmarkPtr& b : doc.bookmarkList())
                n << b->number();
            return n;
        };
        QCOMPARE(numbers(), QList<int>({0, 1, 2}));
        QCOMPARE(doc.undoManager()->undoCount(), 1);
        QCOMPARE(doc.undoManager()->undoActionName(), QString("Renumber"));
        doc.undoManager()->undo();
        QCOMPARE(numbers(), QList<int>({7, 3, 50}));
        QCOMPARE(doc.undoManager()->redoActionName(), QString("Renumber"));
        doc.undoManager()->redo();
        QCOMPARE(numbers(), QList<int>({0, 1, 2}));
    }

    void insertDeleteAndEditUndo()
    {
        MyDocument doc;
        doc.setBookmarkList({makeBookmark("a", "", 0, 0), makeBookmark("c", "", 2, 0)});
        UndoManager* undo = doc.undoManager();

        const BookmarkPtr b = makeBookmark("b", "", 1, 0);
        doc.insertObjectInBookmarkList(b, 1);
        endEvent();
        QCOMPARE(names(doc.bookmarkList()), QString("a, b, c"));
        QCOMPARE(undo->undoMenuItemTitle(), QString("Undo Insert Bookmark"));
        QVERIFY(doc.isModified());
        undo->undo();
        QCOMPARE(names(doc.bookmarkList()), QString("a, c"));
        QCOMPARE(undo->redoMenuItemTitle(), QString("Redo Insert Bookmark"));
        QCOMPARE(b->observationCount(), 0);
        undo->redo();
        QCOMPARE(b->observationCount(), 4);
        QCOMPARE(names(doc.bookmarkList()), QString("a, b, c"));
        QVERIFY(doc.bookmarkList()[1] == b);

        // Delete, then undo: the same record at the same place, observed again.
        doc.removeObjectFromBookmarkListAtIndex(1);
        endEvent();
        QCOMPARE(undo->undoActionName(), QString("Delete Bookmark"));
        b->setBookmarkName("outside"); // no longer observed: no step
        endEvent();
        QCOMPARE(undo->undoActionName(), QString("Delete Bookmark"));
        undo->undo();
        QVERIFY(doc.bookmarkList()[1] == b);
        QCOMPARE(b->observationCount(), 4);
        QCOMPARE(b->bookmarkName(), QString("outside"));
        QCOMPARE(undo->redoActionName(), QString("Delete Bookmark"));

        // Edit through the record, undo and redo.
        b->setBookmarkName("B");
        endEvent();
        QCOMPARE(undo->undoActionName(), QString("Edit"));
        b->setNumber(9);
        endEvent();
        b->setBookmarkName("B"); // the name it has: no step, nor a move to past the end
        doc.moveObjectInBookmarkList(0, 3);
        endEvent();
        undo->undo();
        QCOMPARE(b->number(), 1);
        undo->undo();
        QCOMPARE(b->bookmarkName(), QString("outside"));
        QCOMPARE(undo->redoActionName(), QString("Edit"));
        undo->redo();
        QCOMPARE(b->bookmarkName(), QString("B"));
        undo->redo();
        QCOMPARE(b->number(), 9);
        QVERIFY(!undo->canRedo());
    }

    // Many rows in one change: one pair of signals per run of rows (removals from
    // the last run up), one undo step that puts every record back where it was.
    void manyRowsAtOnce()
    {
        MyDocument doc;
        BookmarkList list;
        for (const char* n : {"a", "b", "c", "d", "e", "f"})
            list << makeBookmark(n, "", 0, 0);
        doc.setBookmarkList(list);
        QList<QPair<int, int>> ranges;
        connect(&doc, &MyDocument::bookmarksRemoved, this, [&](int f, int l) { ranges.append({f, l}); });
        connect(&doc, &MyDocument::bookmarksInserted, this, [&](int f, int l) { ranges.append({f, l}); });
        for (const QList<int>& refused : {QList<int>{2, 1}, {3, 3}, {0, 6}, {-1}})
            doc.removeBookmarks(refused);
        QVERIFY(ranges.isEmpty());
        doc.removeBookmarks({0, 2, 3, 5});
        endEvent();
        QCOMPARE(names(doc.bookmarkList()), QString("b, e"));
        QCOMPARE(ranges, (QList<QPair<int, int>>{{5, 5}, {2, 3}, {0, 0}}));
        QCOMPARE(list[0]->observationCount(), 0);
        ranges.clear();
        doc.undoManager()->undo();
        QCOMPARE(doc.bookmarkList(), list);
        QCOMPARE(ranges, (QList<QPair<int, int>>{{0, 0}, {2, 3}, {5, 5}}));
        QCOMPARE(list[0]->observationCount(), 4);
        doc.undoManager()->redo();
        QCOMPARE(names(doc.bookmarkList()), QString("b, e"));
    }

    void setBookmarkListCreatesNoStepAndEndsObservation()
    {
        MyDocument doc;
        const BookmarkList first = numbered({1, 2});
        doc.setBookmarkList(first);
        doc.insertObjectInBookmarkList(makeBookmark("x", "", 3, 0), 0);
        endEvent();
        QVERIFY(doc.undoManager()->canUndo());

        QSignalSpy reset(&doc, &MyDocument::bookmarkListReset);
        const BookmarkList second = numbered({5});
        doc.setBookmarkList(second);
        QCOMPARE(reset.count(), 1);
        // The history recorded against the former list is gone.
        QVERIFY(!doc.undoManager()->canUndo());
        first[0]->setBookmarkName("changed");
        endEvent();
        QVERIFY(!doc.undoManager()->canUndo());
        QCOMPARE(first[0]->observationCount(), 0);

        // The same list again: nothing happens, observation is not doubled.
        second[0]->setBookmarkName("edit");
        endEvent();
        doc.setBookmarkList(doc.bookmarkList());
        QCOMPARE(reset.count(), 1);
        QCOMPARE(second[0]->observationCount(), 4);
        QVERIFY(doc.undoManager()->canUndo());
        second[0]->setNumber(6);
        endEvent();
        QCOMPARE(doc.undoManager()->undoCount(), 2);
        doc.undoManager()->undo();
        QCOMPARE(second[0]->number(), 5);
    }

    void saveAndReopen()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("marks.edgemarks");
        MyDocument doc;
        BookmarkList list;
        list << makeBookmark("ヤフー", "http://www.yahoo.co.jp/", 0, 0);
        list << makeBookmark("", "", 150, 25); // no clamping
        auto plain = std::make_shared<AirHBookmark>();
        plain->setBookmarkName(QString()); // read earlier without a name
        plain->setLocation("ftp://x/");
        plain->setNumber(-3);
        list << plain;
        doc.setBookmarkList(list);
        QStringList folders = MyDocument::defaultFolderList();
        folders[3] = "ニュース";
        doc.setFolderList(folders);
        doc.insertObjectInBookmarkList(makeBookmark("last", "l", 99, 19), 3);
        endEvent();
        QVERIFY(doc.isModified());
        QString error;
        QVERIFY2(doc.writeToFile(path, &error), qPrintable(error));
        QVERIFY(!doc.isModified());

        MyDocument reopened;
        QVERIFY2(reopened.readFromFile(path, &error), qPrintable(error));
        QCOMPARE(describe(reopened.bookmarkList()), describe(doc.bookmarkList()));
        QCOMPARE(reopened.bookmarkList()[1]->number(), 150);
        QCOMPARE(reopened.bookmarkList()[1]->folder(), 25);
        QVERIFY(!reopened.bookmarkList()[1]->bookmarkName().isNull()); // "" stays a text
        QCOMPARE(reopened.folderList(), folders);
        QVERIFY(!reopened.isModified());
        // A file naming fewer than twenty folders gets the usual names for the rest.
        doc.setFolderList({"A", "B", "C"});
        QVERIFY(reopened.loadDataRepresentation(doc.dataRepresentation()));
        QCOMPARE(reopened.folderList().mid(0, 4), QStringList({"A", "B", "C", "03"}));
        QCOMPARE(reopened.folderList().size(), 20);
        QVERIFY(!reopened.undoManager()->canUndo());
        // The loaded records are observed.
        reopened.bookmarkList()[0]->setNumber(42);
        endEvent();
        QCOMPARE(reopened.undoManager()->undoActionName(), QString("Edit"));
    }

    // A number beyond 32 bits is refused, in a document and on the clipboard, not cut short.
    void numbersOutsideThirtyTwoBits()
    {
        for (bool document : {true, false}) {
            for (qint64 n : {qint64(INT_MIN), qint64(INT_MAX), qint64(INT_MIN) - 1, qint64(INT_MAX) + 1}) {
                const bool fits = n >= INT_MIN && n <= INT_MAX;
                const QByteArray bytes = archivedWithNumber(n, document);
                if (document) {
                    MyDocument doc;
                    QString error;
                    QCOMPARE(doc.loadDataRepresentation(bytes, &error), fits);
                    QCOMPARE(error.contains("out of range"), !fits);
                    if (fits)
                        QCOMPARE(doc.bookmarkList().at(0)->number(), n);
                } else {
                    const std::optional<BookmarkList> list = MyDocument::unarchivedBookmarks(bytes);
                    QCOMPARE(bool(list), fits);
                    if (fits)
                        QCOMPARE(list->at(0)->number(), n);
                }
            }
        }
    }

    void emptyDocumentRoundTrips()
    {
        MyDocument doc;
        doc.insertObjectInFolderList("past the end", 21); // no such places: nothing
        doc.removeObjectFromFolderListAtIndex(20);
        doc.renameFolder(20, "past the end");
        QCOMPARE(doc.folderList().size(), 20);
        QCOMPARE(doc.folderList().at(9), QString("09"));
        QVERIFY(!doc.isModified());
        MyDocument reopened;
        reopened.setBookmarkList(numbered({1}));
        QVERIFY(reopened.loadDataRepresentation(doc.dataRepresentation()));
        QVERIFY(reopened.bookmarkList().isEmpty());
        QCOMPARE(reopened.folderList(), MyDocument::defaultFolderList());
    }

    void badBytesChangeNothing()
    {
        MyDocument doc;
        doc.setBookmarkList(numbered({1, 2}));
        const BookmarkList before = doc.bookmarkList();
        QString error;
        for (const QByteArray& bytes : {QByteArray(), QByteArray("hello, world"), QByteArray("bplist00\0\0", 10),
                                        QByteArray(4096, '\xff')}) {
            QVERIFY(!doc.loadDataRepresentation(bytes, &error));
            QVERIFY(!error.isEmpty());
        }
        QVERIFY(doc.bookmarkList() == before);
        QCOMPARE(doc.folderList(), MyDocument::defaultFolderList());
        QVERIFY(!doc.readFromFile("/nonexistent/file", &error));
    }
};

QTEST_GUILESS_MAIN(TestMyDocument)
#include "tst_mydocument.moc"
