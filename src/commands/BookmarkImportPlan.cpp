#include "commands/BookmarkImportPlan.h"

#include "document/MyDocument.h"

#include <QCoreApplication>

#include <algorithm>
#include <climits>
#include <vector>

namespace
{
// Which links fit into room. Spread: the browser folders (and the links outside
// any) take turns, one link each, so that every folder that is mapped gets its
// share rather than the first folders of the file all the room; else the first
// links of the file.
std::vector<bool> keptLinks(const BrowserBookmarks& file, int room, bool spread)
{
    const qsizetype count = file.links.size();
    std::vector<bool> kept(size_t(count), false);
    if (!spread || count <= room) {
        std::fill_n(kept.begin(), std::min<qsizetype>(room, count), true);
        return kept;
    }
    // The links of each group in file order; group 0 holds those outside any folder.
    std::vector<std::vector<qsizetype>> groups(size_t(file.folders.size()) + 1);
    for (qsizetype k = 0; k < count; ++k)
        groups[size_t(file.links.at(k).folder + 1)].push_back(k);
    for (size_t turn = 0; room > 0; ++turn) {
        bool any = false;
        for (size_t g = 0; g < groups.size() && room > 0; ++g) {
            if (turn >= groups[g].size())
                continue;
            kept[size_t(groups[g][turn])] = true;
            --room;
            any = true;
        }
        if (!any)
            break;
    }
    return kept;
}

// Where each browser folder goes (PerFolder): to the handset folder it came from
// (our own files note it) while that holds nothing yet; else to the handset
// folder of its name; else to the next free handset folder, renamed after it;
// once none is free, to the last one taken. Only links that are kept count: a
// folder whose links are all left out takes no handset folder and renames
// none. Renamed folders go into plan.
std::vector<int> folderTargets(BookmarkImportPlan& plan, const BrowserBookmarks& file,
                               const std::vector<bool>& occupied, const std::vector<bool>& kept, int folder)
{
    const int folderCount = int(plan.folderNames.size());
    const int browserFolders = int(file.folders.size());
    const QStringList originalNames = plan.folderNames;
    std::vector<int> target(size_t(browserFolders), folder);
    std::vector<bool> hasLinks(size_t(browserFolders), false);
    for (qsizetype k = 0; k < file.links.size(); ++k)
        if (const int f = file.links.at(k).folder; f >= 0 && kept[size_t(k)])
            hasLinks[size_t(f)] = true;
    std::vector<bool> claimed = occupied, placed(size_t(browserFolders), false);
    std::vector<bool> taken(size_t(folderCount), false); // by a browser folder
    if (folder < folderCount)
        claimed[size_t(folder)] = true; // bookmarks outside any browser folder go there
    auto place = [&](int i, int f) {
        target[size_t(i)] = f;
        placed[size_t(i)] = true;
        claimed[size_t(f)] = taken[size_t(f)] = true;
        const QString& title = file.folders.at(i);
        if (!title.isEmpty() && title != plan.folderNames.at(f)) {
            plan.renamed << QCoreApplication::translate("BrowserBookmarks", "%1 → %2")
                                .arg(plan.folderNames.at(f), title);
            plan.folderNames[f] = title;
        }
    };
    for (int i = 0; i < browserFolders; ++i) {
        const int noted = i < file.folderNumbers.size() ? file.folderNumbers.at(i) : -1;
        if (hasLinks[size_t(i)] && noted >= 0 && noted < folderCount && !occupied[size_t(noted)] &&
            !taken[size_t(noted)])
            place(i, noted);
    }
    for (int i = 0; i < browserFolders; ++i)
        if (hasLinks[size_t(i)] && !placed[size_t(i)])
            if (const int same = int(originalNames.indexOf(file.folders.at(i))); same >= 0)
                place(i, same);
    int lastTaken = folder;
    for (int i = 0; i < browserFolders; ++i) {
        if (!hasLinks[size_t(i)] || placed[size_t(i)])
            continue;
        int free = -1;
        for (int f = 0; f < folderCount && free < 0; ++f)
            if (!claimed[size_t(f)])
                free = f;
        if (free < 0) {
            target[size_t(i)] = lastTaken;
            continue;
        }
        place(i, free);
        lastTaken = free;
    }
    return target;
}

// The new records, their memory numbers (the one a link notes while it is free,
// else the lowest free one) and the groups they form; links not kept or without
// a free number are left out.
void addLinks(BookmarkImportPlan& plan, const BrowserBookmarks& file, std::vector<bool>& used,
              const std::vector<bool>& kept, const std::vector<int>& target, int folder)
{
    int nextNumber = 0;
    auto freshNumber = [&] {
        while (nextNumber < 100 && used[size_t(nextNumber)])
            ++nextNumber;
        if (nextNumber >= 100)
            return -1;
        used[size_t(nextNumber)] = true;
        return nextNumber;
    };
    std::vector<int> numbers(size_t(file.links.size()), -1);
    for (qsizetype i = 0; i < file.links.size(); ++i)
        if (const int noted = file.links.at(i).memory;
            kept[size_t(i)] && noted >= 0 && noted < 100 && !used[size_t(noted)]) {
            used[size_t(noted)] = true;
            numbers[size_t(i)] = noted;
        }
    for (qsizetype i = 0; i < file.links.size(); ++i) {
        const BrowserBookmarks::Link& link = file.links.at(i);
        const int handsetFolder = link.folder >= 0 ? target[size_t(link.folder)] : folder;
        const int number =
            kept[size_t(i)] ? (numbers[size_t(i)] >= 0 ? numbers[size_t(i)] : freshNumber()) : -1;
        if (number < 0) {
            ++plan.leftOut;
            plan.leftOutLinks << link;
            continue;
        }
        auto b = std::make_shared<Bookmark>();
        b->setBookmarkName(link.name);
        b->setLocation(link.location);
        b->setNumber(number);
        b->setFolder(handsetFolder);
        plan.added << b;
        const QString browserFolder = link.folder >= 0 ? file.folders.at(link.folder) : QString();
        auto group =
            std::find_if(plan.groups.begin(), plan.groups.end(), [&](const BookmarkImportPlan::Group& g) {
                return g.browserFolder == browserFolder && g.handsetFolder == handsetFolder;
            });
        if (group == plan.groups.end())
            plan.groups.append({browserFolder, handsetFolder, 1});
        else
            ++group->count;
    }
}
} // namespace

BookmarkImportPlan BookmarkImportPlan::make(const BrowserBookmarks& file, const BookmarkList& existing,
                                            const QStringList& folderNames, Mapping mapping, int folder,
                                            int limit)
{
    BookmarkImportPlan plan;
    plan.folderNames = folderNames;
    plan.skipped = file.skipped;
    plan.cleaned = file.cleaned;
    const int folderCount = int(folderNames.size());
    folder = std::clamp(folder, 0, std::max(0, folderCount - 1));

    // Memory numbers 0-99 and folders that the document uses.
    std::vector<bool> used(100, false);
    std::vector<bool> occupied(size_t(std::max(folderCount, 0)), false);
    for (const BookmarkPtr& b : existing) {
        if (b->number() >= 0 && b->number() < 100)
            used[size_t(b->number())] = true;
        if (b->folder() >= 0 && b->folder() < folderCount)
            occupied[size_t(b->folder())] = true;
    }
    const int room = std::max(0, limit - int(existing.size()));
    const std::vector<bool> kept = keptLinks(file, room, mapping == Mapping::PerFolder);
    const std::vector<int> target = mapping == Mapping::PerFolder
                                        ? folderTargets(plan, file, occupied, kept, folder)
                                        : std::vector<int>(size_t(file.folders.size()), folder);
    addLinks(plan, file, used, kept, target, folder);
    plan.leftOut += file.notKept;
    return plan;
}

QString BookmarkImportPlan::summary() const
{
    QStringList lines;
    lines << QCoreApplication::translate("BrowserBookmarks", "%n bookmark(s) will be added.", nullptr,
                                         int(added.size()));
    for (const Group& g : groups) {
        const QString into =
            g.handsetFolder < folderNames.size() ? folderNames.at(g.handsetFolder) : QString();
        const QString from =
            g.browserFolder.isEmpty()
                ? QCoreApplication::translate("BrowserBookmarks", "outside any folder")
                : QCoreApplication::translate("BrowserBookmarks", "from “%1”").arg(g.browserFolder);
        lines << QCoreApplication::translate("BrowserBookmarks", "  %1 %2 into folder %3 (%4)")
                     .arg(g.count)
                     .arg(from)
                     .arg(g.handsetFolder)
                     .arg(into);
    }
    if (!renamed.isEmpty())
        lines << QCoreApplication::translate("BrowserBookmarks", "Folders renamed: %1")
                     .arg(renamed.join(QStringLiteral(", ")));
    if (leftOut > 0) {
        lines << MyDocument::leftOutText(leftOut);
        // By name, so that the user knows what to bring in another way; a file
        // of thousands lists the first ones.
        constexpr qsizetype Listed = 200;
        for (qsizetype i = 0; i < std::min(Listed, leftOutLinks.size()); ++i)
            lines << QCoreApplication::translate("BrowserBookmarks", "  “%1” (%2)")
                         .arg(leftOutLinks.at(i).name.left(60), leftOutLinks.at(i).location.left(80));
        const int more = int(std::min<qint64>(leftOut - std::min(Listed, leftOutLinks.size()), INT_MAX));
        if (more > 0)
            lines << QCoreApplication::translate("BrowserBookmarks", "  … and %n more.", nullptr, more);
    }
    if (cleaned > 0)
        lines << QCoreApplication::translate(
            "BrowserBookmarks", "%n name(s) held control characters, which were removed.", nullptr, int(cleaned));
    if (!skipped.isEmpty()) {
        lines << QCoreApplication::translate("BrowserBookmarks", "%n link(s) skipped:", nullptr,
                                             int(skipped.size()));
        for (const BrowserBookmarks::Skipped& s : skipped)
            lines << QCoreApplication::translate("BrowserBookmarks", "  “%1” (%2): %3")
                         .arg(s.name.left(60), s.location.left(80), s.reason);
    }
    return lines.join(QLatin1Char('\n'));
}
