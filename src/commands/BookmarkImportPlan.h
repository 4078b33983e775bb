#pragma once

#include "document/BrowserBookmarks.h"

// What an import of browser bookmarks into a document will do, worked out before
// anything changes: shown to the user, then applied as one undoable step.
class BookmarkImportPlan
{
public:
    enum class Mapping {
        PerFolder, // one handset folder per browser folder, in order of appearance
        IntoFolder // everything into one handset folder
    };
    struct Group {
        QString browserFolder; // empty: bookmarks outside any browser folder
        int handsetFolder = 0;
        int count = 0;
    };

    // folder: the selected handset folder (IntoFolder: the target; PerFolder:
    // where bookmarks outside any browser folder go). limit: what the document
    // may hold in all.
    static BookmarkImportPlan make(const BrowserBookmarks& file, const BookmarkList& existing,
                                   const QStringList& folderNames, Mapping mapping, int folder,
                                   int limit = 100);

    BookmarkList added;      // new records with folders and fresh memory numbers
    QStringList folderNames; // the folder list after the import
    QList<Group> groups;
    QList<BrowserBookmarks::Skipped> skipped;
    qint64 leftOut = 0;  // web bookmarks over the limit
    QList<BrowserBookmarks::Link> leftOutLinks; // those of them the file kept, in file order
    qint64 cleaned = 0;  // names that held control characters, removed
    QStringList renamed; // "03 → News" for each renamed folder

    // What will happen, in lines for a preview or a terminal.
    QString summary() const;
};
