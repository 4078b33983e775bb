#pragma once

#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

class AirHBookmark;

// Receives a bookmark's value changes. The old value is handed over so that an
// observer (the document) can register the inverse change for undo.
class BookmarkObserver {
public:
    virtual ~BookmarkObserver() = default;
    virtual void observeValueForKeyPath(const QString& key, AirHBookmark* bookmark, const QVariant& oldValue) = 0;
};

// One web bookmark of the handset: title, location, memory number and folder index.
//
// The record enforces no range: memory numbers and folder indexes take any 32-bit
// value. A name or location read from a file without a string is a null QString;
// everywhere it reads as the empty string, and the archive writes it back as nil.
class AirHBookmark : public std::enable_shared_from_this<AirHBookmark> {
public:
    static inline const QString NameKey = QStringLiteral("bookmarkName");
    static inline const QString LocationKey = QStringLiteral("location");
    static inline const QString NumberKey = QStringLiteral("number");
    static inline const QString FolderKey = QStringLiteral("folder");
    static const QStringList& keys();

    AirHBookmark();
    virtual ~AirHBookmark();
    AirHBookmark(const AirHBookmark&) = delete;
    AirHBookmark& operator=(const AirHBookmark&) = delete;

    // The name under which the record is archived; the class chain up to the root.
    virtual QString className() const { return QStringLiteral("AirHBookmark"); }
    QStringList classChain() const;

    const QString& bookmarkName() const { return m_name; }
    void setBookmarkName(const QString& name);
    const QString& location() const { return m_location; }
    void setLocation(const QString& location);
    qint32 number() const { return m_number; }
    void setNumber(qint32 number);
    qint32 folder() const { return m_folder; }
    void setFolder(qint32 folder);

    // Key-value access under the four keys. Unknown keys read as an invalid
    // QVariant and are ignored on writing.
    QVariant value(const QString& key) const;
    void setValue(const QString& key, const QVariant& value);

    // Observers are notified once per registration, as with key-value observing.
    void addObserver(BookmarkObserver* observer, const QString& key);
    void removeObserver(BookmarkObserver* observer, const QString& key);
    int observationCount(const BookmarkObserver* observer) const;
    int observationCount() const { return int(m_observers.size()); }

    // A new record of the same class holding the same four values.
    std::shared_ptr<AirHBookmark> clone() const;

protected:
    virtual std::shared_ptr<AirHBookmark> makeEmpty() const;

private:
    void notify(const QString& key, const QVariant& oldValue);

    QString m_name;
    QString m_location;
    qint32 m_number = 0;
    qint32 m_folder = 0;

    struct Registration {
        BookmarkObserver* observer;
        QString key;
    };
    std::vector<Registration> m_observers;
};

// The record class that the editor creates; archived under its own class name.
class Bookmark : public AirHBookmark {
public:
    QString className() const override { return QStringLiteral("Bookmark"); }

protected:
    std::shared_ptr<AirHBookmark> makeEmpty() const override;
};

using BookmarkPtr = std::shared_ptr<AirHBookmark>;
using BookmarkList = QList<BookmarkPtr>;
