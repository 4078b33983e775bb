#pragma once

#include "document/AirHBookmark.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <unordered_map>

class MyDocument;

// Every bookmark of a document, one row each in the document's list order, with
// the changes of the list passed on row by row: an insert, a removal, a move or a
// changed record touches only its own rows. Rows the handset cannot take as they
// are carry the check's findings.
class BookmarkListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { NumberColumn, NameColumn, LocationColumn, ColumnCount };
    static constexpr int FindingsRole = Qt::UserRole + 1;

    explicit BookmarkListModel(MyDocument* document, QObject* parent = nullptr);

    const BookmarkPtr& record(int row) const { return m_rows.at(row); }
    // What the handset check finds in the document, by record.
    QStringList findingsFor(const AirHBookmark* bookmark) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void scheduleCheck();
    void runCheck();
    // The row of a record; -1 when it is not in the list.
    int rowOf(const AirHBookmark* bookmark);

    MyDocument* m_document;
    // The document's list as the views last heard of it: changes reach the
    // model after the document made them, and rows are announced against this.
    BookmarkList m_rows;
    // Rows by record, made again after the rows moved (an edit of every record,
    // as a renumbering is, costs one pass over the list, not one per record).
    std::unordered_map<const AirHBookmark*, int> m_rowOf;
    bool m_rowOfValid = false;
    std::unordered_map<const AirHBookmark*, QStringList> m_findings;
    bool m_checkScheduled = false;
};
