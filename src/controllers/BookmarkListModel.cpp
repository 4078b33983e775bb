#include "controllers/BookmarkListModel.h"

#include "handset/HandsetCheck.h"
#include "document/MyDocument.h"

#include <QColor>
#include <QCoreApplication>

BookmarkListModel::BookmarkListModel(MyDocument* document, QObject* parent)
    : QAbstractTableModel(parent), m_document(document), m_rows(document->bookmarkList())
{
    connect(document, &MyDocument::bookmarkListReset, this, [this] {
        m_rowOfValid = false;
        beginResetModel();
        m_rows = m_document->bookmarkList();
        endResetModel();
        scheduleCheck();
    });
    connect(document, &MyDocument::bookmarkInserted, this, [this](int at) {
        m_rowOfValid = false;
        beginInsertRows({}, at, at);
        m_rows.insert(at, m_document->bookmarkList().at(at));
        endInsertRows();
        scheduleCheck();
    });
    connect(document, &MyDocument::bookmarkRemoved, this, [this](int at) {
        m_rowOfValid = false;
        beginRemoveRows({}, at, at);
        m_rows.removeAt(at);
        endRemoveRows();
        scheduleCheck();
    });
    connect(document, &MyDocument::bookmarkMoved, this, [this](int from, int to) {
        // The destination counts rows before the move: one further down when moving down.
        m_rowOfValid = false;
        beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
        m_rows.move(from, to);
        endMoveRows();
    });
    connect(document, &MyDocument::bookmarkChanged, this, [this](AirHBookmark* b, const QString&) {
        if (const int row = rowOf(b); row >= 0)
            emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
        scheduleCheck();
    });
    runCheck();
}

int BookmarkListModel::rowOf(const AirHBookmark* bookmark)
{
    if (!m_rowOfValid) {
        m_rowOf.clear();
        m_rowOf.reserve(size_t(m_rows.size()));
        for (int row = 0; row < m_rows.size(); ++row)
            m_rowOf[m_rows.at(row).get()] = row;
        m_rowOfValid = true;
    }
    const auto it = m_rowOf.find(bookmark);
    return it == m_rowOf.end() ? -1 : it->second;
}

// Checked once per event, however many records an operation changes.
void BookmarkListModel::scheduleCheck()
{
    if (m_checkScheduled)
        return;
    m_checkScheduled = true;
    QMetaObject::invokeMethod(this, &BookmarkListModel::runCheck, Qt::QueuedConnection);
}

void BookmarkListModel::runCheck()
{
    m_checkScheduled = false;
    std::unordered_map<const AirHBookmark*, QStringList> findings;
    for (const HandsetCheck::Finding& f : HandsetCheck::check(m_document->bookmarkList()))
        if (f.bookmark)
            findings[f.bookmark.get()] << f.message;
    if (findings == m_findings)
        return;
    m_findings = std::move(findings);
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, ColumnCount - 1));
}

QStringList BookmarkListModel::findingsFor(const AirHBookmark* bookmark) const
{
    const auto it = m_findings.find(bookmark);
    return it == m_findings.end() ? QStringList() : it->second;
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
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        switch (index.column()) {
        case NumberColumn:
            return role == Qt::DisplayRole ? QString::number(b.number()) : QString::number(b.number());
        case NameColumn:
            return b.bookmarkName();
        case LocationColumn:
            return b.location();
        default:
            break;
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() == NumberColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    const QStringList findings = findingsFor(&b);
    if (role == FindingsRole)
        return findings;
    if (role == Qt::BackgroundRole && !findings.isEmpty())
        return QColor(255, 228, 200); // a row the handset cannot take as it is
    if (role == Qt::ToolTipRole && !findings.isEmpty())
        return findings.join(QLatin1Char('\n'));
    if (role == Qt::ToolTipRole && index.column() == LocationColumn)
        return b.location();
    return {};
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
