#pragma once

#include "document/AirHBookmark.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>

// The handset's lists as they were before each export, kept as documents in
// the user's data folder (the newest Keep of them), so that an export of the
// wrong document can be undone.
class BookmarkHistory {
    Q_DECLARE_TR_FUNCTIONS(BookmarkHistory)
public:
    static constexpr int Keep = 20;

    struct Entry {
        QString path;
        QDateTime date;
        int count = 0;
    };

    // folder: where the lists are kept; by default EdgeMarks/history in the user's
    // data folder, which the editor and edgemarks-cli share.
    explicit BookmarkHistory(const QString& folder = QString());
    QString folder() const { return m_folder; }

    // Keeps list as of when; the oldest beyond Keep are removed. False with
    // error set when it could not be written.
    bool keep(const BookmarkList& list, const QDateTime& when, QString* error = nullptr);
    // The kept lists, newest first.
    QList<Entry> entries() const;
    static std::optional<BookmarkList> load(const QString& path, QString* error = nullptr);

private:
    QString m_folder;
};
