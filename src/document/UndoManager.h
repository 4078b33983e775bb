#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

// Undo history with the semantics the document relies on:
//  - an inverse operation is registered with the target it acts on;
//  - registrations made while undoing form the redo step, and those made while
//    redoing form the next undo step;
//  - all registrations of one user event form one step (the step opens at the
//    first registration and closes when control returns to the event loop, or
//    explicitly through endGrouping());
//  - a step is named by the last action name set while it was open;
//  - the change count tells whether the document differs from its saved state.
class UndoManager : public QObject {
    Q_OBJECT
public:
    explicit UndoManager(QObject* parent = nullptr);
    ~UndoManager() override;

    void registerUndo(const void* target, std::function<void()> operation);
    void setActionName(const QString& name);

    // Explicit grouping; groups nest, and the outermost one makes the step.
    void beginGrouping();
    void endGrouping();
    int groupingLevel() const { return m_groupingLevel; }

    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();
    QString undoActionName() const;
    QString redoActionName() const;
    // "Undo Edit", "Redo Move", or the bare verbs when there is nothing to name.
    QString undoMenuItemTitle() const;
    QString redoMenuItemTitle() const;

    bool isUndoing() const { return m_state == State::Undoing; }

    // Drops every step (those of the given target only, with the second form).
    void removeAllActions();
    void removeAllActions(const void* target);

    // Change tracking: clean after markClean(), again after undoing or redoing back
    // to that state; markChanged() makes the state dirty until the next markClean().
    void markClean();
    void markChanged();
    bool isModified() const;

    int undoCount() const { return int(m_undoStack.size()); }
    int redoCount() const { return int(m_redoStack.size()); }

signals:
    // Emitted when a step is closed, undone, redone or dropped, and when the
    // modified state may have changed.
    void historyChanged();

private:
    struct Action {
        const void* target;
        std::function<void()> operation;
    };
    struct Step {
        QString name;
        std::vector<Action> actions;
        quint64 id;
    };
    enum class State { Normal, Undoing, Redoing };

    void openAutomaticGroup();
    void closeOpenStep();
    // Runs the top step of from backwards; its inverse goes to the other stack.
    void perform(std::vector<Step>& from, State state);

    std::vector<Step> m_undoStack;
    std::vector<Step> m_redoStack;
    Step m_open;
    bool m_hasOpen = false;
    int m_groupingLevel = 0;
    bool m_automaticGroup = false;
    State m_state = State::Normal;
    quint64 m_nextId = 1;
    // Id of the step on top of the undo stack when the document was clean;
    // 0 for the empty stack, and ~0 when that state can no longer be reached.
    quint64 m_cleanId = 0;
};
