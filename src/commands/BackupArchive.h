#pragma once

#include "document/AirHBookmark.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

#include <sys/types.h>

class AtomicFile;
struct archive;

// A backup of the handset is one tar archive (POSIX pax, which tar, file managers
// and archivers open) holding, in this order: the bookmark document
// "bookmarks.edgemarks", every file under "files/" by a local name, and last
// "manifest.json", which names each file as the handset knows it (its name may
// be no file name at all) with its type, size, date and SHA-256. The manifest
// comes last because the checksums are known only once the files went through.

// Why an archive could not be written or was refused.
class BackupError : public std::runtime_error {
public:
    explicit BackupError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

struct BackupFile {
    QString entry;      // the path inside the archive
    QString name;       // the handset's name (empty for the bookmark document)
    QString type;       // the handset's type word
    qint64 size = 0;
    QDateTime date;     // to the minute, local time; invalid when the handset gave none
    QByteArray sha256;  // raw, 32 bytes
};

class BackupManifest {
public:
    static constexpr int FormatVersion = 1;
    static constexpr const char* FormatName = "EdgeMarks handset backup";
    static constexpr const char* ManifestEntry = "manifest.json";
    static constexpr const char* BookmarksEntry = "bookmarks.edgemarks";
    static constexpr const char* FilesFolder = "files/";

    QString handset;
    QDateTime created;
    BackupFile bookmarks;
    QList<BackupFile> files;

    QByteArray toJson() const;
    // Throws BackupError when the text is not a manifest of a format this program reads.
    static BackupManifest fromJson(const QByteArray& json);
};

// Local file names for handset names: characters a file system (this one or
// the one a backup is unpacked on) cannot take become "_", and names that
// differ only in case from one given before get a number.
class LocalNames {
public:
    QString nameFor(const QString& handsetName);

    // The longest local name in UTF-8 bytes; file systems stop at 255.
    static constexpr int MaxBytes = 200;

private:
    QSet<QString> m_taken; // case-folded
};

// Writes a backup into an open checked file (committed by the caller), one file
// at a time: the content streams through, never whole in memory. The archive
// is read back while it is written (BackupFollower), each file as soon as it is
// whole, and finish() writes the manifest only once every file read back as it
// was given: the same length and the same fingerprint (XXH3, taken of the bytes
// as they came in). The manifest's SHA-256 sums are those of the bytes read
// back, so they describe what is on the disk. Every step throws BackupError on
// failure, with the file's own words when the disk refused the bytes.
class BackupWriter {
    Q_DECLARE_TR_FUNCTIONS(BackupWriter)
public:
    explicit BackupWriter(AtomicFile& file);
    ~BackupWriter();
    BackupWriter(const BackupWriter&) = delete;
    BackupWriter& operator=(const BackupWriter&) = delete;

    void addBookmarks(const QByteArray& document);
    // The next file: its handset name, type and date; size is the exact number
    // of bytes write() will be given.
    void beginFile(const QString& name, const QString& type, const QDateTime& date, qint64 size);
    void write(const char* data, qint64 length);
    void endFile();
    // Waits for the read-back of the files, writes the manifest and the
    // archive's end, and checks the whole archive as read back against it.
    void finish(const QString& handset, const QDateTime& created);

    const BackupManifest& manifest() const { return m_manifest; }

private:
    static ssize_t writeBlock(struct archive*, void* writer, const void* buffer, size_t length);
    void header(const QString& entry, qint64 size, const QDateTime& date);
    void endEntry();
    [[noreturn]] void fail();
    void release();

    struct archive* m_archive = nullptr;
    AtomicFile* m_file = nullptr;
    qint64 m_length = 0; // of the archive so far
    BackupManifest m_manifest;
    LocalNames m_names;
    BackupFile m_current;
    qint64 m_left = 0;
    std::unique_ptr<class Fingerprint> m_fingerprint;
    QList<quint64> m_fingerprints; // of each entry written, in order
    std::unique_ptr<class BackupFollower> m_readBack;
};

// What a backup holds, once every rule held: the manifest, the bookmarks, and
// (when asked for) each file unpacked into a folder under its entry's name.
struct BackupContents {
    BackupManifest manifest;
    BookmarkList bookmarks;
    QHash<QString, QString> unpacked; // entry -> the file it was unpacked into
};

// One entry of an archive as it was read: its length, SHA-256 and fingerprint.
struct ReadEntry {
    QString path;
    qint64 size = 0;
    QByteArray sha256;
    quint64 fingerprint = 0;
};

// Reads a backup from outside and checks it whole before anyone acts on it:
// only regular files with the names a backup uses, each once, none larger than
// the handset takes, no absolute paths, "..", links or devices, an archive that
// ends where it should, and a manifest that names exactly the files there with
// their sizes and checksums. Throws BackupError with what was wrong.
class BackupReader {
    Q_DECLARE_TR_FUNCTIONS(BackupReader)
public:
    // Limits of what is read: the manifest and the document are held in memory,
    // files stream through.
    static constexpr qint64 MaxManifestBytes = 4 << 20;
    static constexpr qint64 MaxDocumentBytes = 16 << 20;
    static constexpr qint64 MaxFileBytes = 0x7FFFFFFF - 4096; // a frame's length field, less its name
    static constexpr int MaxFiles = 10000;

    // unpackTo: an existing folder the files are written into (by entry name
    // below files/), or empty to check only.
    static BackupContents readFile(const QString& path, const QString& unpackTo = QString());
    static BackupContents readData(const QByteArray& bytes);

private:
    friend class BackupFollower;
    // entryRead, when given, hears of each entry other than the manifest once read.
    static BackupContents read(struct archive* a, const QString& unpackTo,
                               const std::function<void(const ReadEntry&)>& entryRead = {});
};

// Reads a backup back while it is still being written, on a thread of its own:
// each piece is read from the file as soon as the writer has put it there, so
// the read-back of a file goes on while the next one downloads and only the
// manifest is left for the end. The same checks as readFile(), and for each
// entry as it is read, its length, SHA-256 and fingerprint.
class BackupFollower {
public:
    // fd: the file being written, which need not be open for reading; path: its
    // name for messages. Throws BackupError when it cannot be opened to read.
    BackupFollower(int fd, const QString& path);
    ~BackupFollower(); // stops reading and waits for the thread
    BackupFollower(const BackupFollower&) = delete;
    BackupFollower& operator=(const BackupFollower&) = delete;

    // The file now holds length bytes of the archive.
    void grew(qint64 length);
    // The first count entries as read back, once they are; throws BackupError
    // when the read-back failed before.
    QList<ReadEntry> entries(qsizetype count);
    // The writer is done: reads to the end and gives what was read, or throws
    // BackupError as readFile() would.
    BackupContents finish();

private:
    static ssize_t readPiece(struct archive*, void* follower, const void** buffer);
    void run();

    int m_fd;
    std::mutex m_mutex;
    std::condition_variable m_grown; // the writer's news for the reader
    std::condition_variable m_read;  // the reader's news for the writer
    qint64 m_length = 0;    // guarded
    bool m_done = false;    // guarded: no more bytes will come
    bool m_stopped = false; // guarded: the reader gives up
    bool m_ended = false;   // guarded: the reader has stopped reading
    QList<ReadEntry> m_entries; // guarded
    qint64 m_offset = 0;    // the reader's own
    std::unique_ptr<char[]> m_piece;
    BackupContents m_contents;
    std::exception_ptr m_failure;
    std::thread m_thread;
};
