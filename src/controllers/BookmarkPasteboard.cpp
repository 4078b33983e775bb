#include "controllers/BookmarkPasteboard.h"

#include "document/MyDocument.h"

#include "document/PropertyList.h"

#include <QCoreApplication>
#include <QMimeData>
#include <QUrl>

namespace {
QByteArray sourceTag(const void* source)
{
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(quintptr(source), 16);
}

QByteArray webURLsWithTitles(const QString& location, const QString& name)
{
    PropertyList plist;
    const PropertyList::Ref urls = plist.addArray({plist.addString(location)});
    const PropertyList::Ref titles = plist.addArray({plist.addString(name)});
    plist.setRoot(plist.addArray({urls, titles}));
    return plist.toXml();
}
} // namespace

QMimeData* BookmarkPasteboard::write(const BookmarkList& records, const QList<int>& rows, const void* source)
{
    auto* data = new QMimeData;
    BookmarkList dragged;
    QStringList rowTexts;
    for (int row : rows) {
        if (row < 0 || row >= records.size())
            continue;
        dragged << records.at(row);
        rowTexts << QString::number(row);
    }
    data->setData(CopiedRowsType, MyDocument::archivedBookmarks(dragged));
    data->setData(MovedRowsType, rowTexts.join(QLatin1Char(',')).toLatin1());
    data->setData(SourceType, sourceTag(source));

    QList<QUrl> urls;
    QStringList locations;
    for (const BookmarkPtr& b : dragged) {
        locations << b->location();
        const QUrl url(b->location(), QUrl::StrictMode);
        if (url.isValid() && !url.scheme().isEmpty())
            urls << url;
    }
    if (dragged.size() == 1) {
        const AirHBookmark& b = *dragged.first();
        if (!b.location().isNull() && !b.bookmarkName().isNull())
            data->setData(WebURLsWithTitlesType, webURLsWithTitles(b.location(), b.bookmarkName()));
        if (!urls.isEmpty()) {
            const QString moz = urls.first().toString() + QLatin1Char('\n') + b.bookmarkName();
            data->setData(QStringLiteral("text/x-moz-url"),
                          QByteArray(reinterpret_cast<const char*>(moz.utf16()), moz.size() * 2));
        }
    }
    if (!urls.isEmpty())
        data->setUrls(urls);
    if (!locations.isEmpty())
        data->setText(locations.join(QLatin1Char('\n')));
    return data;
}

std::optional<BookmarkPasteboard::CopiedRows> BookmarkPasteboard::copiedRows(const QMimeData& data,
                                                                            qsizetype most)
{
    if (!data.hasFormat(CopiedRowsType))
        return std::nullopt;
    const QByteArray rows = data.data(CopiedRowsType);
    // At most a document's worth of records; anything larger is not ours.
    if (rows.size() > MaxCopiedRowsBytes)
        return std::nullopt;
    CopiedRows copied;
    std::optional<BookmarkList> records = MyDocument::unarchivedBookmarks(rows, most, &copied.total);
    if (!records)
        return std::nullopt;
    copied.records = std::move(*records);
    return copied;
}

QList<int> BookmarkPasteboard::movedRows(const QMimeData& data)
{
    QList<int> rows;
    for (const QByteArray& part : data.data(MovedRowsType).split(',')) {
        bool ok = false;
        const int row = part.toInt(&ok);
        if (ok)
            rows << row;
    }
    return rows;
}

bool BookmarkPasteboard::isFrom(const QMimeData& data, const void* source)
{
    return data.hasFormat(SourceType) && data.data(SourceType) == sourceTag(source);
}
