#include "support/BookmarkTestSupport.h"
#include "document/UndoManager.h"

#include <QCoreApplication>
#include <QTest>

namespace {
// A value whose every change registers its inverse, as the document's edits do.
struct Cell {
    explicit Cell(UndoManager& u) : undo(u) {}
    UndoManager& undo;
    int value = 0;
    QStringList log;
    void set(int v, const QString& name = "Edit")
    {
        const int old = value;
        undo.registerUndo(this, [this, old] { set(old); });
        if (!undo.isUndoing())
            undo.setActionName(name);
        log << QString("%1->%2").arg(old).arg(v);
        value = v;
    }
};

} // namespace

class TestUndoManager : public QObject {
    Q_OBJECT
private slots:
    void oneEventIsOneStep()
    {
        UndoManager undo;
        Cell c(undo);
        c.set(1, "First");
        c.set(2, "Second");
        QVERIFY(undo.canUndo());
        QCOMPARE(undo.undoActionName(), QString("Second"));
        endEvent();
        QCOMPARE(undo.undoCount(), 1);
        c.set(3);
        endEvent();
        QCOMPARE(undo.undoCount(), 2);

        undo.undo();
        QCOMPARE(c.value, 2);
        undo.undo();
        // Both registrations of the first event are undone together, last first.
        QCOMPARE(c.value, 0);
        QCOMPARE(c.log.mid(3), QStringList({"3->2", "2->1", "1->0"}));
        QVERIFY(!undo.canUndo());
        QCOMPARE(undo.redoCount(), 2);
    }

    void undoingRegistersRedoAndBack()
    {
        UndoManager undo;
        Cell c(undo);
        c.set(5, "Renumber");
        endEvent();
        undo.undo();
        QCOMPARE(c.value, 0);
        QVERIFY(undo.canRedo());
        QCOMPARE(undo.redoActionName(), QString("Renumber"));
        QCOMPARE(undo.redoMenuItemTitle(), QString("Redo Renumber"));
        undo.redo();
        QCOMPARE(c.value, 5);
        QVERIFY(!undo.canRedo());
        QCOMPARE(undo.undoMenuItemTitle(), QString("Undo Edit")); // redo re-ran set(), which names the step
        undo.undo();
        undo.redo();
        QCOMPARE(c.value, 5);
        QCOMPARE(undo.undoCount(), 1);

        // A new action drops what could be redone.
        undo.undo();
        c.set(9);
        endEvent();
        QVERIFY(!undo.canRedo());
        QCOMPARE(undo.undoMenuItemTitle(), QString("Undo Edit"));
    }

    void explicitGroupsNest()
    {
        UndoManager undo;
        Cell c(undo);
        undo.beginGrouping();
        c.set(1);
        undo.beginGrouping();
        c.set(2);
        undo.endGrouping();
        QCOMPARE(undo.undoCount(), 0);
        undo.endGrouping();
        QCOMPARE(undo.undoCount(), 1);
        // A name set before the group's first registration still names it.
        undo.beginGrouping();
        undo.setActionName("Early");
        undo.registerUndo(&c, [] {});
        undo.endGrouping();
        QCOMPARE(undo.undoActionName(), QString("Early"));
        undo.undo();
        // An empty group leaves no step.
        undo.beginGrouping();
        undo.setActionName("Nothing");
        undo.endGrouping();
        QCOMPARE(undo.undoCount(), 1);
        QCOMPARE(undo.undoActionName(), QString("Edit"));
    }

    void modifiedStateFollowsTheHistory()
    {
        UndoManager undo;
        Cell c(undo);
        QVERIFY(!undo.isModified());
        c.set(1);
        QVERIFY(undo.isModified()); // even before the event ends
        endEvent();
        undo.markClean();
        QVERIFY(!undo.isModified());
        c.set(2);
        endEvent();
        QVERIFY(undo.isModified());
        undo.undo();
        QVERIFY(!undo.isModified()); // back at the saved state
        undo.undo();
        QVERIFY(undo.isModified());
        undo.redo();
        QVERIFY(!undo.isModified());
        undo.redo();
        QVERIFY(undo.isModified());

        // Forking the history after undoing past the saved state loses that state.
        undo.undo();
        undo.undo();
        c.set(7);
        endEvent();
        undo.undo();
        QVERIFY(undo.isModified());

        // A change marked directly lasts until the next save, whatever is undone.
        undo.markClean();
        undo.markChanged();
        QVERIFY(undo.isModified());
        undo.removeAllActions();
        QVERIFY(undo.isModified());
        undo.markClean();
        undo.removeAllActions();
        QVERIFY(!undo.isModified());
        QVERIFY(!undo.canUndo() && !undo.canRedo());
    }

    void removingATargetsActions()
    {
        UndoManager undo;
        Cell a(undo);
        Cell b(undo);
        a.set(1);
        b.set(1);
        endEvent();
        b.set(2);
        endEvent();
        undo.removeAllActions(&b);
        QCOMPARE(undo.undoCount(), 1);
        undo.undo();
        QCOMPARE(a.value, 0);
        QCOMPARE(b.value, 2);
    }
};

QTEST_GUILESS_MAIN(TestUndoManager)
#include "tst_undomanager.moc"
