#include "document/AirHBookmark.h"

#include <algorithm>

const QStringList& AirHBookmark::keys()
{
    static const QStringList all{NameKey, LocationKey, NumberKey, FolderKey};
    return all;
}

AirHBookmark::AirHBookmark()
{
    setBookmarkName(QStringLiteral(""));
    setLocation(QStringLiteral(""));
    setNumber(0);
    setFolder(0);
}

AirHBookmark::~AirHBookmark() = default;

QStringList AirHBookmark::classChain() const
{
    QStringList chain{className()};
    if (chain.first() != QLatin1String("AirHBookmark"))
        chain << QStringLiteral("AirHBookmark");
    chain << QStringLiteral("NSObject");
    return chain;
}

// QString is implicitly shared and copied on write, so keeping the argument keeps
// a private copy: a caller changing its string later does not change the record.
void AirHBookmark::setBookmarkName(const QString& name)
{
    if (m_name.isNull() == name.isNull() && m_name == name)
        return;
    const QVariant old = m_name;
    m_name = name;
    notify(NameKey, old);
}

void AirHBookmark::setLocation(const QString& location)
{
    if (m_location.isNull() == location.isNull() && m_location == location)
        return;
    const QVariant old = m_location;
    m_location = location;
    notify(LocationKey, old);
}

void AirHBookmark::setNumber(qint32 number)
{
    if (m_number == number)
        return;
    const QVariant old = m_number;
    m_number = number;
    notify(NumberKey, old);
}

void AirHBookmark::setFolder(qint32 folder)
{
    if (m_folder == folder)
        return;
    const QVariant old = m_folder;
    m_folder = folder;
    notify(FolderKey, old);
}

QVariant AirHBookmark::value(const QString& key) const
{
    if (key == NameKey)
        return m_name;
    if (key == LocationKey)
        return m_location;
    if (key == NumberKey)
        return m_number;
    if (key == FolderKey)
        return m_folder;
    return {};
}

void AirHBookmark::setValue(const QString& key, const QVariant& value)
{
    if (key == NameKey)
        setBookmarkName(value.toString());
    else if (key == LocationKey)
        setLocation(value.toString());
    else if (key == NumberKey)
        setNumber(value.toInt());
    else if (key == FolderKey)
        setFolder(value.toInt());
}

void AirHBookmark::addObserver(BookmarkObserver* observer, const QString& key)
{
    if (m_observers.empty()) // a document observes all four keys
        m_observers.reserve(4);
    m_observers.push_back({observer, key});
}

void AirHBookmark::removeObserver(BookmarkObserver* observer, const QString& key)
{
    auto it = std::find_if(m_observers.begin(), m_observers.end(),
                           [&](const Registration& r) { return r.observer == observer && r.key == key; });
    if (it != m_observers.end())
        m_observers.erase(it);
}

int AirHBookmark::observationCount(const BookmarkObserver* observer) const
{
    return int(std::count_if(m_observers.begin(), m_observers.end(),
                             [&](const Registration& r) { return r.observer == observer; }));
}

void AirHBookmark::notify(const QString& key, const QVariant& oldValue)
{
    // An observer may add or remove registrations while it is told; work on a copy.
    const auto registrations = m_observers;
    for (const Registration& r : registrations) {
        if (r.key == key)
            r.observer->observeValueForKeyPath(key, this, oldValue);
    }
}

BookmarkPtr AirHBookmark::clone() const
{
    BookmarkPtr copy = makeEmpty();
    copy->m_name = m_name;
    copy->m_location = m_location;
    copy->m_number = m_number;
    copy->m_folder = m_folder;
    return copy;
}

BookmarkPtr AirHBookmark::makeEmpty() const
{
    return std::make_shared<AirHBookmark>();
}

BookmarkPtr Bookmark::makeEmpty() const
{
    return std::make_shared<Bookmark>();
}
