#include "document/AirHBookmark.h"

#include <QTest>

namespace {
struct Recorder : BookmarkObserver {
    struct Change {
        QString key;
        QVariant old;
        QVariant now;
    };
    QList<Change> changes;
    void observeValueForKeyPath(const QString& key, AirHBookmark* b, const QVariant& old) override
    {
        changes.append({key, old, b->value(key)});
    }
};
} // namespace

class TestBookmark : public QObject {
    Q_OBJECT
private slots:
    void keyValueAccessAndObservation()
    {
        Bookmark b;
        Recorder r;
        for (const QString& k : AirHBookmark::keys())
            b.addObserver(&r, k);
        b.setValue("bookmarkName", "Top");
        b.setValue("location", "http://x/");
        b.setValue("number", 7);
        b.setFolder(3);
        b.setValue("nonsense", 1); // ignored
        QCOMPARE(r.changes.size(), 4);
        QCOMPARE(r.changes[0].key, QString("bookmarkName"));
        QCOMPARE(r.changes[0].old.toString(), QString(""));
        QCOMPARE(r.changes[0].now.toString(), QString("Top"));
        QCOMPARE(r.changes[2].old.toInt(), 0);
        QCOMPARE(r.changes[2].now.toInt(), 7);
        QCOMPARE(r.changes[3].key, QString("folder"));
        QCOMPARE(b.value("folder").toInt(), 3);
        QVERIFY(!b.value("nonsense").isValid());

        // Setting the same value again is no change; removal stops the notifications.
        b.setNumber(7);
        QCOMPARE(r.changes.size(), 4);
        QCOMPARE(b.observationCount(&r), 4);
        for (const QString& k : AirHBookmark::keys())
            b.removeObserver(&r, k);
        QCOMPARE(b.observationCount(&r), 0);
        b.setNumber(8);
        QCOMPARE(r.changes.size(), 4);
    }

    void cloneKeepsClassAndValues()
    {
        Bookmark b;
        b.setBookmarkName(QString()); // as read from a file without a name
        b.setLocation("loc");
        b.setNumber(42);
        b.setFolder(19);
        const BookmarkPtr c = b.clone();
        QCOMPARE(c->className(), QString("Bookmark"));
        QVERIFY(c->bookmarkName().isNull());
        QCOMPARE(c->location(), QString("loc"));
        QCOMPARE(c->number(), 42);
        QCOMPARE(c->folder(), 19);
    }
};

QTEST_GUILESS_MAIN(TestBookmark)
#include "tst_bookmark.moc"
