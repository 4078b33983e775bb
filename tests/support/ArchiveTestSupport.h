#pragma once

#include "commands/BackupArchive.h"
#include "document/MyDocument.h"

#include <QCryptographicHash>
#include <QList>
#include <QString>

#include <archive.h>
#include <archive_entry.h>

// Tar archives put together entry by entry, for backups that are wrong in one
// way each: any name, type, link or declared size.
struct TarEntry {
    QString path;
    QByteArray data;
    unsigned type = AE_IFREG;
    QString link; // a symbolic link's target, or a hard link's entry with hard set
    bool hard = false;

    TarEntry(const QString& p, const QByteArray& d, unsigned t = AE_IFREG, const QString& l = QString(), bool h = false)
        : path(p), data(d), type(t), link(l), hard(h)
    {
    }
};

inline QByteArray tarOf(const QList<TarEntry>& entries)
{
    struct archive* a = archive_write_new();
    archive_write_set_format_pax_restricted(a);
    QByteArray out(8 << 20, '\0');
    size_t used = 0;
    archive_write_open_memory(a, out.data(), size_t(out.size()), &used);
    for (const TarEntry& t : entries) {
        struct archive_entry* e = archive_entry_new();
        archive_entry_set_pathname_utf8(e, t.path.toUtf8().constData());
        archive_entry_set_filetype(e, t.type);
        archive_entry_set_perm(e, 0644);
        archive_entry_set_size(e, t.type == AE_IFREG && !t.hard ? t.data.size() : 0);
        if (t.hard)
            archive_entry_set_hardlink(e, t.link.toUtf8().constData());
        else if (t.type == AE_IFLNK)
            archive_entry_set_symlink(e, t.link.toUtf8().constData());
        archive_write_header(a, e);
        if (t.type == AE_IFREG && !t.hard)
            archive_write_data(a, t.data.constData(), size_t(t.data.size()));
        archive_entry_free(e);
    }
    archive_write_close(a);
    archive_write_free(a);
    out.truncate(qsizetype(used));
    return out;
}

// A manifest entry for data under entry with the given handset name and type.
inline BackupFile backupFileOf(const QString& entry, const QString& name, const QByteArray& data,
                               const QString& type = QStringLiteral("other"))
{
    return BackupFile{entry, name, type, data.size(), QDateTime(QDate(2005, 6, 7), QTime(8, 9)),
                      QCryptographicHash::hash(data, QCryptographicHash::Sha256)};
}

// The entries of a sound backup: a document of one bookmark, two files and the manifest.
inline QList<TarEntry> validBackupEntries(BackupManifest* manifestOut = nullptr)
{
    MyDocument doc;
    auto b = std::make_shared<AirHBookmark>();
    b->setBookmarkName(QStringLiteral("Google"));
    b->setLocation(QStringLiteral("http://www.google.co.jp/m"));
    doc.setBookmarkList({b});
    const QByteArray document = doc.dataRepresentation();
    const QByteArray photo(3000, '\xAB');
    const QByteArray memo("Call back at 18:00.\r\n");
    BackupManifest m;
    m.handset = QStringLiteral("AH-K3001V");
    m.created = QDateTime(QDate(2026, 1, 2), QTime(3, 4), Qt::UTC);
    m.bookmarks = backupFileOf(QStringLiteral("bookmarks.edgemarks"), QString(), document);
    m.files = {backupFileOf(QStringLiteral("files/Photo.JPG"), QStringLiteral("Photo.JPG"), photo,
                            QStringLiteral("jpeg")),
               backupFileOf(QStringLiteral("files/memo.txt"), QStringLiteral("memo.txt"), memo)};
    if (manifestOut)
        *manifestOut = m;
    return {{QStringLiteral("bookmarks.edgemarks"), document},
            {QStringLiteral("files/Photo.JPG"), photo},
            {QStringLiteral("files/memo.txt"), memo},
            {QStringLiteral("manifest.json"), m.toJson()}};
}
