#include "controllers/BookmarkListModel.h"

#include "document/MyDocument.h"

#include <QColor>
#include <QCoreApplication>

BookmarkListModel::BookmarkListModel(MyDocument* document, QObject* parent)
    : QAbstractTableModel(parent), m_document(document)
{
    auto reset = [this] {
        m_rowOfValid = m_firstsValid = false;
        beginResetModel();
        m_rows = m_document->bookmarkList();
        m_checks.clear();
        m_checks.reserve(m_rows.size());
        m_numberCount.fill(0);
        for (const BookmarkPtr& b : std::as_const(m_rows)) {
            m_checks << checkOf(*b);
            count(m_checks.last(), 1);
        }
        m_toldFirsts = firsts();
        m_toldCounts = m_numberCount;
        endResetModel();
    };
    connect(document, &MyDocument::bookmarkListReset, this, reset);
    connect(document, &MyDocument::bookmarksInserted, this, [this](int first, int last) {
        beginInsertRows({}, first, last);
        logChange({RowChange::Inserted, first, last});
        const BookmarkList& list = m_document->bookmarkList();
        m_rows.insert(first, last - first + 1, nullptr);
        m_checks.insert(first, last - first + 1, RowCheck());
        for (int row = first; row <= last; ++row) {
            m_rows[row] = list.at(row);
            m_checks[row] = checkOf(*list.at(row));
            count(m_checks.at(row), 1);
            if (m_rowOfValid)
                m_rowOf.insert(m_rows.at(row).get(), {row, m_changes.size()});
        }
        endInsertRows();
        firstsMayHaveChanged();
    });
    connect(document, &MyDocument::bookmarksRemoved, this, [this](int first, int last) {
        beginRemoveRows({}, first, last);
        logChange({RowChange::Removed, first, last});
        for (int row = first; row <= last; ++row) {
            count(m_checks.at(row), -1);
            if (m_rowOfValid)
                m_rowOf.remove(m_rows.at(row).get());
        }
        m_rows.remove(first, last - first + 1);
        m_checks.remove(first, last - first + 1);
        endRemoveRows();
        firstsMayHaveChanged();
    });
    connect(document, &MyDocument::bookmarkMoved, this, [this](int from, int to) {
        // The destination counts rows before the move: one further down when moving down.
        beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
        logChange({RowChange::Moved, from, to});
        m_rows.move(from, to);
        m_checks.move(from, to);
        if (m_rowOfValid)
            m_rowOf.insert(m_rows.at(to).get(), {to, m_changes.size()});
        endMoveRows();
        firstsMayHaveChanged();
    });
    connect(document, &MyDocument::bookmarkChanged, this, [this](AirHBookmark* b, const QString&) {
        const int row = rowOf(b);
        if (row < 0)
            return;
        // The changed record alone is checked again.
        count(m_checks.at(row), -1);
        m_checks[row] = checkOf(*b);
        count(m_checks.at(row), 1);
        rowChanged(row);
        firstsMayHaveChanged();
    });
    reset();
}

BookmarkListModel::RowCheck BookmarkListModel::checkOf(const AirHBookmark& b)
{
    return {std::nullopt, HandsetCheck::hasHandsetNumber(b) ? int(b.number()) : -1, b.folder()};
}

void BookmarkListModel::count(const RowCheck& c, int delta)
{
    if (c.countedAs >= 0)
        m_numberCount[size_t(c.countedAs)] += delta;
}

void BookmarkListModel::firstsMayHaveChanged()
{
    m_firstsValid = false;
    if (m_tellScheduled)
        return;
    m_tellScheduled = true;
    QMetaObject::invokeMethod(this, &BookmarkListModel::tellFirsts, Qt::QueuedConnection);
}

const std::array<const AirHBookmark*, HandsetLimits::MemoryNumbers>& BookmarkListModel::firsts() const
{
    if (m_firstsValid)
        return m_firsts;
    m_firsts.fill(nullptr);
    int wanted = 0;
    for (int n : m_numberCount)
        wanted += n > 0;
    // One pass at most, ended as soon as every number in use has its first record.
    for (int row = 0; wanted > 0 && row < m_rows.size(); ++row) {
        const int n = m_checks.at(row).countedAs;
        if (n >= 0 && !m_firsts[size_t(n)]) {
            m_firsts[size_t(n)] = m_rows.at(row).get();
            --wanted;
        }
    }
    m_firstsValid = true;
    return m_firsts;
}

void BookmarkListModel::tellFirsts()
{
    m_tellScheduled = false;
    const std::array<const AirHBookmark*, HandsetLimits::MemoryNumbers>& now = firsts();
    for (size_t n = 0; n < now.size(); ++n) {
        if (now[n] == m_toldFirsts[n])
            continue;
        // Only rows whose tint changed are told (telling a row resets an editor open on it):
        // the former first when it now has a number used before it, the new one when
        // it had one.
        if (const int row = m_toldFirsts[n] ? rowOf(m_toldFirsts[n]) : -1;
            row >= 0 && checked(row).has(HandsetCheck::Kind::NumberUsedTwice))
            rowChanged(row);
        if (const int row = now[n] ? rowOf(now[n]) : -1; row >= 0 && m_toldCounts[n] > 1)
            rowChanged(row);
    }
    m_toldFirsts = now;
    m_toldCounts = m_numberCount;
}

void BookmarkListModel::rowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void BookmarkListModel::indexRows() const
{
    m_rowOf.clear();
    m_rowOf.reserve(m_rows.size());
    for (int row = 0; row < m_rows.size(); ++row)
        m_rowOf.insert(m_rows.at(row).get(), {row, 0});
    m_changes.clear();
    m_rowOfValid = true;
}

void BookmarkListModel::logChange(RowChange change)
{
    if (!m_rowOfValid)
        return; // the next look-up indexes the rows anew
    // A long log costs every look-up of an entry that old: start again from the list.
    if (m_changes.size() >= 1000) {
        m_rowOfValid = false;
        m_rowOf.clear();
        return;
    }
    m_changes.append(change);
}

int BookmarkListModel::rowOf(const AirHBookmark* bookmark) const
{
    if (!m_rowOfValid)
        indexRows();
    const auto it = m_rowOf.find(bookmark);
    if (it == m_rowOf.end())
        return -1;
    int row = it->row;
    for (qsizetype k = it->changes; k < m_changes.size() && row >= 0; ++k) {
        const RowChange& c = m_changes.at(k);
        switch (c.kind) {
        case RowChange::Inserted:
            if (row >= c.first)
                row += c.last - c.first + 1;
            break;
        case RowChange::Removed:
            if (row > c.last)
                row -= c.last - c.first + 1;
            else if (row >= c.first)
                row = -1;
            break;
        case RowChange::Moved: // one row, from first to last, the rows between closing up
            if (row == c.first)
                row = c.last;
            else if (c.first < c.last && row > c.first && row <= c.last)
                --row;
            else if (c.last < c.first && row >= c.last && row < c.first)
                ++row;
            break;
        }
    }
    if (row < 0 || row >= m_rows.size() || m_rows.at(row).get() != bookmark) {
        // Not where the log says: the log is wrong, and the list is the truth.
        qWarning("BookmarkListModel: the row log lost a record's row; the rows are indexed anew");
        indexRows();
        const auto again = m_rowOf.constFind(bookmark);
        return again == m_rowOf.cend() ? -1 : again->row;
    }
    it->row = row;
    it->changes = m_changes.size();
    return row;
}

HandsetCheck::Record BookmarkListModel::checked(int row) const
{
    RowCheck& c = m_checks[row];
    if (!c.record)
        c.record = HandsetCheck::examine(*m_rows.at(row));
    HandsetCheck::Record r = *c.record;
    if (c.countedAs >= 0 && m_numberCount[size_t(c.countedAs)] > 1 &&
        firsts()[size_t(c.countedAs)] != m_rows.at(row).get())
        r.kinds |= HandsetCheck::bit(HandsetCheck::Kind::NumberUsedTwice);
    return r;
}

QStringList BookmarkListModel::findingsFor(const AirHBookmark* bookmark) const
{
    const int row = rowOf(bookmark);
    if (row < 0)
        return {};
    const HandsetCheck::Record r = checked(row);
    if (r.isEmpty())
        return {};
    const AirHBookmark* first =
        r.has(HandsetCheck::Kind::NumberUsedTwice) ? firsts()[size_t(m_checks.at(row).countedAs)] : nullptr;
    return HandsetCheck::messages(*bookmark, r, first);
}

int BookmarkListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int BookmarkListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BookmarkListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const AirHBookmark& b = *m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        switch (index.column()) {
        case NumberColumn:
            return QString::number(b.number());
        case NameColumn:
            return b.bookmarkName();
        case LocationColumn:
            return b.location();
        default:
            return {};
        }
    case Qt::TextAlignmentRole:
        if (index.column() == NumberColumn)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case FindingsRole:
        return findingsFor(&b);
    case Qt::BackgroundRole:
        if (!checked(index.row()).isEmpty())
            return QColor(255, 228, 200); // a row the handset cannot take as it is
        return {};
    case Qt::ToolTipRole:
        // The sentences are made only here, when a row's tip is shown.
        if (const QStringList findings = findingsFor(&b); !findings.isEmpty())
            return findings.join(QLatin1Char('\n'));
        if (index.column() == LocationColumn)
            return b.location();
        return {};
    default:
        return {};
    }
}

QVariant BookmarkListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case NumberColumn:
        return QCoreApplication::translate("BookmarkController", "No.");
    case NameColumn:
        return QCoreApplication::translate("BookmarkController", "Name");
    case LocationColumn:
        return QCoreApplication::translate("BookmarkController", "Location");
    default:
        return {};
    }
}
