#include "commands/BookmarkDiff.h"

#include <QHash>

namespace
{
QString keyOf(const AirHBookmark& b)
{
    if (b.number() >= 0 && b.number() <= 99)
        return QString::number(b.number());
    return QStringLiteral("~%1\n%2").arg(b.bookmarkName(), b.location());
}

bool same(const AirHBookmark& a, const AirHBookmark& b)
{
    return a.bookmarkName() == b.bookmarkName() && a.location() == b.location() && a.folder() == b.folder();
}

QString line(QChar sign, const AirHBookmark& b)
{
    return QStringLiteral("%1 %2 %3 (%4)").arg(sign).arg(b.number()).arg(b.bookmarkName(), b.location());
}
} // namespace

BookmarkDiff::BookmarkDiff(const BookmarkList& before, const BookmarkList& after)
{
    QHash<QString, BookmarkPtr> old;
    for (const BookmarkPtr& b : before)
        old.insert(keyOf(*b), b);
    for (const BookmarkPtr& b : after) {
        const BookmarkPtr was = old.take(keyOf(*b));
        if (!was)
            m_added.append(b);
        else if (!same(*was, *b))
            m_changed.append({was, b});
    }
    for (const BookmarkPtr& b : before)
        if (old.contains(keyOf(*b)))
            m_removed.append(b);
}

QString BookmarkDiff::summary() const
{
    if (isEmpty())
        return tr("No bookmark changes.");
    const int a = added();
    const int r = removed();
    const int c = changed();
    return tr("%1 added, %2 removed, %3 changed").arg(a).arg(r).arg(c);
}

QStringList BookmarkDiff::details() const
{
    QStringList lines;
    for (const BookmarkPtr& b : m_added)
        lines << line(QLatin1Char('+'), *b);
    for (const BookmarkPtr& b : m_removed)
        lines << line(QLatin1Char('-'), *b);
    for (const auto& [was, now] : m_changed) {
        QString text = QStringLiteral("~ %1 %2 (%3)").arg(was->number()).arg(was->bookmarkName(), was->location());
        text += QStringLiteral(" → %1 (%2)").arg(now->bookmarkName(), now->location());
        if (was->folder() != now->folder())
            text += QStringLiteral(" [%1 → %2]").arg(was->folder() + 1).arg(now->folder() + 1);
        lines << text;
    }
    return lines;
}
