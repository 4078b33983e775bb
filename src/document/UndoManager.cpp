#include "document/UndoManager.h"

#include <QCoreApplication>
#include <QTimer>

#include <utility>

namespace {
constexpr quint64 Unreachable = ~quint64(0);
}

UndoManager::UndoManager(QObject* parent) : QObject(parent) {}

UndoManager::~UndoManager() = default;

void UndoManager::registerUndo(const void* target, std::function<void()> operation)
{
    if (m_groupingLevel == 0)
        openAutomaticGroup();
    if (!m_hasOpen) {
        // A name given since the group began names it, even before this first registration.
        m_open.actions.clear();
        m_hasOpen = true;
    }
    m_open.actions.push_back({target, std::move(operation)});
}

void UndoManager::setActionName(const QString& name)
{
    // Within an open group the name waits for the registrations still to come.
    if (m_hasOpen || m_groupingLevel > 0)
        m_open.name = name;
}

void UndoManager::openAutomaticGroup()
{
    // The step of the current event closes when control goes back to the event loop.
    m_automaticGroup = true;
    m_groupingLevel = 1;
    if (QCoreApplication::instance())
        QTimer::singleShot(0, this, [this] {
            if (m_automaticGroup)
                endGrouping();
        });
}

void UndoManager::beginGrouping()
{
    if (m_groupingLevel == 0) {
        m_open = Step{};
        m_hasOpen = false;
    }
    ++m_groupingLevel;
}

void UndoManager::endGrouping()
{
    if (m_groupingLevel == 0)
        return;
    if (--m_groupingLevel > 0)
        return;
    m_automaticGroup = false;
    closeOpenStep();
}

void UndoManager::closeOpenStep()
{
    if (!m_hasOpen || m_open.actions.empty()) {
        m_hasOpen = false;
        m_open = Step{};
        return;
    }
    m_open.id = m_nextId++;
    if (m_state == State::Undoing) {
        m_redoStack.push_back(std::move(m_open));
    } else {
        if (m_state == State::Normal) {
            // A new action forks the history: a clean state among the redo steps is gone.
            for (const Step& s : m_redoStack)
                if (s.id == m_cleanId)
                    m_cleanId = Unreachable;
            m_redoStack.clear();
        }
        m_undoStack.push_back(std::move(m_open));
    }
    m_open = Step{};
    m_hasOpen = false;
    emit historyChanged();
}

bool UndoManager::canUndo() const
{
    return !m_undoStack.empty() || (m_hasOpen && !m_open.actions.empty());
}

bool UndoManager::canRedo() const
{
    return !m_redoStack.empty();
}

void UndoManager::perform(std::vector<Step>& from, State state)
{
    Step step = std::move(from.back());
    from.pop_back();

    const State saved = m_state;
    m_state = state;
    beginGrouping();
    m_hasOpen = true;
    m_open.name = step.name; // the inverse step keeps the name unless an action renames it
    for (auto it = step.actions.rbegin(); it != step.actions.rend(); ++it)
        it->operation();
    // The inverse step takes over the identity of the step it reverses, so that the
    // clean state is found again when the history comes back to it.
    const quint64 id = step.id;
    --m_groupingLevel;
    if (m_open.actions.empty()) {
        m_hasOpen = false;
        m_open = Step{};
    } else {
        m_open.id = id;
        (state == State::Undoing ? m_redoStack : m_undoStack).push_back(std::move(m_open));
        m_open = Step{};
        m_hasOpen = false;
    }
    m_state = saved;
    emit historyChanged();
}

void UndoManager::undo()
{
    // Undo closes the step still open for the current event first.
    if (m_groupingLevel > 0 && m_automaticGroup) {
        m_groupingLevel = 1;
        endGrouping();
    }
    if (m_undoStack.empty())
        return;
    perform(m_undoStack, State::Undoing);
}

void UndoManager::redo()
{
    if (m_redoStack.empty())
        return;
    perform(m_redoStack, State::Redoing);
}

QString UndoManager::undoActionName() const
{
    if (m_hasOpen && !m_open.actions.empty())
        return m_open.name;
    return m_undoStack.empty() ? QString() : m_undoStack.back().name;
}

QString UndoManager::redoActionName() const
{
    return m_redoStack.empty() ? QString() : m_redoStack.back().name;
}

QString UndoManager::undoMenuItemTitle() const
{
    const QString name = undoActionName();
    return name.isEmpty() ? tr("Undo") : tr("Undo %1").arg(name);
}

QString UndoManager::redoMenuItemTitle() const
{
    const QString name = redoActionName();
    return name.isEmpty() ? tr("Redo") : tr("Redo %1").arg(name);
}

void UndoManager::removeAllActions()
{
    const bool wasModified = isModified();
    m_undoStack.clear();
    m_redoStack.clear();
    m_open = Step{};
    m_hasOpen = false;
    m_cleanId = wasModified ? Unreachable : 0;
    emit historyChanged();
}

void UndoManager::removeAllActions(const void* target)
{
    auto strip = [target](std::vector<Step>& stack) {
        for (Step& s : stack)
            std::erase_if(s.actions, [target](const Action& a) { return a.target == target; });
        std::erase_if(stack, [](const Step& s) { return s.actions.empty(); });
    };
    const bool wasModified = isModified();
    strip(m_undoStack);
    strip(m_redoStack);
    std::erase_if(m_open.actions, [target](const Action& a) { return a.target == target; });
    if (wasModified != isModified())
        m_cleanId = Unreachable;
    emit historyChanged();
}

void UndoManager::markClean()
{
    if (m_groupingLevel > 0 && m_automaticGroup) {
        m_groupingLevel = 1;
        endGrouping();
    }
    m_cleanId = m_undoStack.empty() ? 0 : m_undoStack.back().id;
    emit historyChanged();
}

void UndoManager::markChanged()
{
    m_cleanId = Unreachable;
    emit historyChanged();
}

bool UndoManager::isModified() const
{
    if (m_hasOpen && !m_open.actions.empty())
        return true;
    const quint64 top = m_undoStack.empty() ? 0 : m_undoStack.back().id;
    return top != m_cleanId;
}
