#include "commands/BookmarkImportPlan.h"
#include "FuzzTargets.h"

#include "handset/AirHFile.h"
#include "handset/BookmarkEntry.h"
#include "controllers/BookmarkPasteboard.h"
#include "commands/BackupArchive.h"
#include "document/BrowserBookmarks.h"
#include "handset/FrameChannel.h"
#include "document/KeyedArchive.h"
#include "controllers/LinkReader.h"
#include "support/MemoryStream.h"
#include "document/MyDocument.h"
#include "document/PropertyList.h"
#include "controllers/ResourceFork.h"
#include "handset/ShiftJIS.h"
#include "handset/VedORovav.h"

#include <QCoreApplication>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace
{

QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Every value the list offers, as its readers walk it.
void propertyList(const uint8_t* data, size_t size)
{
    try {
        const PropertyList p = PropertyList::fromData(bytesOf(data, size));
        for (PropertyList::Ref r = 0; r < p.count() && r < 100000; ++r) {
            switch (p.type(r)) {
            case PropertyList::Type::Array:
                for (qint64 i = 0; i < p.size(r) && i < 1000; ++i)
                    p.item(r, i);
                break;
            case PropertyList::Type::Dictionary:
                for (qint64 i = 0; i < p.size(r) && i < 1000; ++i) {
                    p.key(r, i);
                    p.value(r, i);
                }
                break;
            case PropertyList::Type::String:
                p.string(r);
                break;
            case PropertyList::Type::Integer:
                p.integer(r);
                break;
            case PropertyList::Type::Real:
            case PropertyList::Type::Date:
                p.real(r);
                break;
            case PropertyList::Type::Data:
                p.data(r);
                break;
            case PropertyList::Type::Uid:
                p.uid(r);
                break;
            default:
                break;
            }
        }
    } catch (const PropertyListError&) {
    }
}

// A document, and the same bytes as copied rows.
void keyedArchive(const uint8_t* data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    MyDocument doc;
    QString error;
    doc.loadDataRepresentation(bytes, &error);
    MyDocument::unarchivedBookmarks(bytes);
    try {
        KeyedUnarchiver u(bytes);
        for (const QString& key : u.topKeys())
            u.decodeTopObject(key);
    } catch (const KeyedArchiveError&) {
    }
}

// Two entries in a row: the second may take values from the first.
void bookmarkEntry(const uint8_t* data, size_t size)
{
    const size_t half = size / 2;
    const BookmarkPtr first = BookmarkEntry::decode(reinterpret_cast<const char*>(data), int(half), nullptr);
    BookmarkEntry::decode(reinterpret_cast<const char*>(data) + half, int(size - half), first.get());
}

void directoryRecord(const uint8_t* data, size_t size)
{
    AirHFile::fromDirectoryRecord(reinterpret_cast<const char*>(data), int(std::min<size_t>(size, 1 << 20)));
}

// A fork as it is and inside an AppleDouble file.
void resourceFork(const uint8_t* data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    ResourceFork(bytes).firstResource("url ");
    ResourceFork(bytes).firstResource("urln");
    if (const auto fork = ResourceFork::fromAppleDouble(bytes))
        ResourceFork(*fork).firstResource("url ");
    LinkReader::fromClippingFork(bytes);
}

// The first byte chooses the kind of link file.
void linkFile(const uint8_t* data, size_t size)
{
    if (size == 0)
        return;
    const QByteArray bytes = bytesOf(data + 1, size - 1);
    switch (data[0] % 3) {
    case 0:
        LinkReader::fromWebloc(bytes);
        break;
    case 1:
        LinkReader::fromInternetShortcut(bytes);
        break;
    default:
        LinkReader::fromDesktopEntry(bytes);
        break;
    }
}

// Clipboard or drag data: formats and contents, each as a length (one byte for a
// format's name, four little-endian bytes for contents) and its bytes.
void pasteboard(const uint8_t* data, size_t size)
{
    QMimeData mime;
    size_t at = 0;
    while (at < size) {
        const size_t declared = data[at++];
        const size_t nameLength = std::min<size_t>(declared, size - at);
        const QString name =
            QString::fromLatin1(reinterpret_cast<const char*>(data + at), qsizetype(nameLength));
        at += nameLength;
        if (size - at < 4)
            break;
        const size_t length = std::min<size_t>(
            data[at] | data[at + 1] << 8 | data[at + 2] << 16 | size_t(data[at + 3]) << 24, size - at - 4);
        at += 4;
        mime.setData(name, bytesOf(data + at, length));
        at += length;
    }
    LinkReader::fromMimeData(mime);
    BookmarkPasteboard::copiedRows(mime, 100);
    BookmarkPasteboard::movedRows(mime);
}

void shiftJis(const uint8_t* data, size_t size)
{
    if (const auto text = ShiftJIS::decode(reinterpret_cast<const char*>(data), qsizetype(size)))
        ShiftJIS::encode(*text);
}

// Replies as the handset's line delivers them: the receiver looks for frames in
// whatever comes, cut into pieces as a line cuts them, and never reads past its
// buffer.
void replyFrame(const uint8_t* data, size_t size)
{
    // The first bytes choose the buffer's size, whether the rest is read and the
    // length of each piece the line delivers.
    if (size < 3)
        return;
    const int maxLength = 14 + data[0] * 16;
    const bool additionally = data[1] & 1;
    MemoryStream line;
    line.setPieceLength(data[2] % 16, 0);
    line.feed(bytesOf(data + 3, size - 3));
    FrameChannel channel;
    channel.setStream(&line);
    channel.setTimeout(-1); // the line hangs up once its bytes are read
    std::vector<char> buffer(size_t(std::max(maxLength, 14)));
    for (int frames = 0; frames < 64; ++frames) {
        try {
            if (data[1] & 2)
                (void)channel.receiveReply(maxLength);
            else
                channel.receiveData(buffer.data(), maxLength, additionally);
        } catch (const VedORovavException&) {
            break;
        }
    }
}

// A browser bookmark file: read, planned into a document, written back and read again.
void browserBookmarks(const uint8_t* data, size_t size)
{
    try {
        const BrowserBookmarks file = BrowserBookmarks::read(bytesOf(data, size));
        const BookmarkImportPlan plan = BookmarkImportPlan::make(file, {}, MyDocument::defaultFolderList(),
                                                                 BookmarkImportPlan::Mapping::PerFolder, 0);
        (void)plan.summary();
        const BrowserBookmarks again =
            BrowserBookmarks::read(BrowserBookmarks::write(plan.added, plan.folderNames));
        if (again.links.size() != plan.added.size())
            std::abort(); // what we write must read back whole
    } catch (const BrowserBookmarksError&) {
    }
}

// A backup as restore and verify read it: the archive and its manifest.
void backupArchive(const uint8_t* data, size_t size)
{
    try {
        BackupReader::readData(bytesOf(data, size));
    } catch (const BackupError&) {
    }
}

const FuzzTargets::Target targets[] = {
    {"propertylist", propertyList},   {"keyedarchive", keyedArchive},
    {"bookmarkentry", bookmarkEntry}, {"directoryrecord", directoryRecord},
    {"resourcefork", resourceFork},   {"linkfile", linkFile},
    {"pasteboard", pasteboard},       {"shiftjis", shiftJis},
    {"replyframe", replyFrame},       {"browserbookmarks", browserBookmarks},
    {"backuparchive", backupArchive},
};
} // namespace

const FuzzTargets::Target* FuzzTargets::all(size_t* count)
{
    *count = sizeof targets / sizeof targets[0];
    return targets;
}

const FuzzTargets::Target* FuzzTargets::find(const char* name)
{
    for (const Target& t : targets)
        if (std::strcmp(t.name, name) == 0)
            return &t;
    return nullptr;
}
