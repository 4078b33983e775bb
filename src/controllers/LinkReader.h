#pragma once

#include <QString>
#include <QUrl>

#include <optional>

class QMimeData;

// A web location brought by a drop or a paste from another application.
struct DroppedLink {
    QUrl url;
    QString title; // null when the link has none
};

// Finds the web location in what browsers and file managers put on the clipboard
// and in drags, and in link files dropped from a file manager.
namespace LinkReader {

// Link files, their companions and clipboard or drag data larger than this are
// not links: they are left unread.
constexpr qint64 MaxLinkBytes = 1 << 20;

// The contents of a regular file of at most limit bytes; nothing for anything
// else (a FIFO, a device such as /dev/zero, a folder, a larger file), which is
// never read (and never waited for).
std::optional<QByteArray> readSmallRegularFile(const QString& path, qint64 limit = MaxLinkBytes);

// The formats looked at, best first: "WebURLsWithTitlesPboardType" (a property
// list of two arrays), "text/x-moz-url" (UTF-16 URL and title), "_NETSCAPE_URL",
// "text/uri-list" (a local file is read as a link file), and plain text that is an
// http, https or ftp URL.
std::optional<DroppedLink> fromMimeData(const QMimeData& data);

// A link file: a bookmark clipping (resource fork with 'url ' and 'urln'), a
// .webloc property list, a .url Internet Shortcut or a .desktop Link entry. A file
// whose link cannot be read gives its own file URL, with the clipping's title when
// it has one.
DroppedLink fromFile(const QString& path);

std::optional<DroppedLink> fromWebloc(const QByteArray& bytes);
std::optional<DroppedLink> fromInternetShortcut(const QByteArray& bytes);
std::optional<DroppedLink> fromDesktopEntry(const QByteArray& bytes);
// The clipping in a resource fork: URL from 'url ', title from 'urln' (UTF-8).
DroppedLink fromClippingFork(const QByteArray& fork);

// Plain text that is one http, https or ftp URL.
std::optional<QUrl> webUrlFromText(const QString& text);

} // namespace LinkReader
