#pragma once

#include "document/AirHBookmark.h"
#include "handset/HandsetCheck.h"
#include "handset/HandsetLimits.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>

#include <array>
#include <optional>

class MyDocument;

// Every bookmark of a document, one row each in the document's list order, with
// the changes of the list passed on range by range: an insert, a removal, a move
// or a changed record touches only its own rows. Rows the handset cannot take as
// they are carry the check's findings; a record is checked when its row is first
// asked about after it came or changed (most rows of a long list are never shown),
// and the memory numbers are counted, so that no change checks the whole list.
class BookmarkListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { NumberColumn, NameColumn, LocationColumn, ColumnCount };
    static constexpr int FindingsRole = Qt::UserRole + 1;

    explicit BookmarkListModel(MyDocument* document, QObject* parent = nullptr);

    const BookmarkPtr& record(int row) const { return m_rows.at(row); }
    // The folder of a row, from a list kept beside the rows: a look at every row
    // (a folder switch) reads that list, not every record.
    int folderOf(int row) const { return m_checks.at(row).folder; }
    // The row of a record; -1 when it is not in the list.
    int rowOf(const AirHBookmark* bookmark) const;
    // What the handset check finds in the document, by record.
    QStringList findingsFor(const AirHBookmark* bookmark) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct RowCheck {
        std::optional<HandsetCheck::Record> record; // the record on its own, once asked for
        int countedAs = -1;                         // the memory number it is counted under, or -1
        int folder = 0;                             // as the views last heard
    };
    static RowCheck checkOf(const AirHBookmark& b);
    void count(const RowCheck& c, int delta);
    // The record's findings, that of a number used before it included.
    HandsetCheck::Record checked(int row) const;
    const std::array<const AirHBookmark*, HandsetLimits::MemoryNumbers>& firsts() const;
    // After the first record of a number may have changed: once per event,
    // however many records an operation changes.
    void firstsMayHaveChanged();
    void tellFirsts();
    void rowChanged(int row);

    MyDocument* m_document;
    // The document's list as the views last heard of it: changes reach the
    // model after the document made them, and rows are announced against this.
    BookmarkList m_rows;
    mutable QList<RowCheck> m_checks; // by row
    // Rows by record, made in one pass over the list when first asked for after a
    // reset. An entry is the row a record had once the first `changes` entries of
    // the change log were made; a look-up brings it up to date through the rest (an
    // insertion or removal of a run of rows, or a move, shifts a row by a sum), so
    // that a change of thousands of rows costs no pass over the whole list.
    struct RowChange {
        enum Kind { Inserted, Removed, Moved } kind;
        int first;
        int last; // a move's destination
    };
    struct KnownRow {
        int row;
        qsizetype changes;
    };
    void logChange(RowChange change);
    void indexRows() const;
    mutable QHash<const AirHBookmark*, KnownRow> m_rowOf;
    mutable QList<RowChange> m_changes;
    mutable bool m_rowOfValid = false;
    // Records by memory number (those the handset would take): how many, and the
    // first in the list, which alone is not told it uses a number twice.
    std::array<int, HandsetLimits::MemoryNumbers> m_numberCount{};
    mutable std::array<const AirHBookmark*, HandsetLimits::MemoryNumbers> m_firsts{};
    mutable bool m_firstsValid = false;
    std::array<const AirHBookmark*, HandsetLimits::MemoryNumbers> m_toldFirsts{}; // as the views last heard
    std::array<int, HandsetLimits::MemoryNumbers> m_toldCounts{};
    bool m_tellScheduled = false;
};
