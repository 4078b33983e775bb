#pragma once

#include "document/AirHBookmark.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <optional>
#include <stdexcept>

class BrowserBookmarksError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error; // an English key of the "BrowserBookmarks" context
};

// The bookmark files that browsers and bookmark services export and import (the
// Netscape bookmark HTML format): every A element with an HREF is a bookmark,
// titled by its text, in the folder of the nearest enclosing H3.
class BrowserBookmarks
{
public:
    static constexpr qint64 MaxFileSize = qint64(64) << 20;
    // Web bookmarks kept beyond this are only counted: no document takes them.
    static constexpr int MaxKept = 100000;

    struct Link {
        QString name;
        QString location;
        int folder = -1; // in folders; -1 outside any folder
        int memory = -1; // the memory number our own files note (HANDSET_MEMORY), or -1
    };
    struct Skipped {
        QString name;
        QString location;
        QString reason; // a sentence for the user
    };

    QStringList folders;      // browser folder titles in order of appearance
    QList<int> folderNumbers; // the handset folder our own files note (HANDSET_FOLDER), or -1
    QList<Link> links;        // web locations, in file order
    QList<Skipped> skipped;
    qint64 notKept = 0;
    qint64 cleaned = 0; // names and titles that held control characters, removed
    QString charset; // what the file was read as

    // Reads a bookmark file in its declared character set (or, without a
    // declaration, UTF-8, Shift_JIS or EUC-JP, whichever reads cleanly). Throws
    // BrowserBookmarksError for a file that is too large or not a bookmark file.
    static BrowserBookmarks read(const QByteArray& bytes);
    // The same for a file; nullopt when it cannot be opened or read, with error
    // (when given) saying why in one sentence.
    static std::optional<BrowserBookmarks> readFile(const QString& path, QString* error = nullptr);

    // A bookmark file in UTF-8: one folder per handset folder that holds bookmarks,
    // in folder order, each with its bookmarks in list order. Folders and links
    // note their handset folder and memory number in attributes of their own,
    // which browsers ignore, so that the file reads back as the same list.
    static QByteArray write(const BookmarkList& bookmarks, const QStringList& folderNames);
};
