#include "commands/BackupArchive.h"

#include "document/MyDocument.h"
#include "io/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <archive.h>
#include <archive_entry.h>
#include <nettle/sha2.h>
#include <xxhash.h>

#include <cerrno>
#include <optional>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <sys/resource.h>

// SHA-256 through nettle, which libarchive links already: it uses the
// processor's SHA instructions where there are any, about ten times the speed
// of Qt's own.
class Sha256
{
public:
    Sha256() { reset(); }
    void reset() { sha256_init(&m_context); }
    void addData(const char* data, qint64 length)
    {
        sha256_update(&m_context, size_t(length), reinterpret_cast<const uint8_t*>(data));
    }
    QByteArray result()
    {
        QByteArray digest(SHA256_DIGEST_SIZE, Qt::Uninitialized);
        sha256_digest(&m_context, SHA256_DIGEST_SIZE, reinterpret_cast<uint8_t*>(digest.data()));
        return digest;
    }

private:
    sha256_ctx m_context;
};

// What the writer takes of each file as it comes in, to know the read-back for
// the same bytes: XXH3, a tenth of SHA-256's time even with SHA instructions,
// so that the download's own thread does little more than write.
class Fingerprint
{
public:
    Fingerprint() : m_state(XXH3_createState())
    {
        if (!m_state)
            throw std::bad_alloc();
        reset();
    }
    ~Fingerprint() { XXH3_freeState(m_state); }
    Fingerprint(const Fingerprint&) = delete;
    Fingerprint& operator=(const Fingerprint&) = delete;
    void reset() { XXH3_64bits_reset(m_state); }
    void addData(const char* data, qint64 length) { XXH3_64bits_update(m_state, data, size_t(length)); }
    quint64 result() const { return XXH3_64bits_digest(m_state); }

private:
    XXH3_state_t* m_state;
};

namespace
{
constexpr qint64 PieceLength = 64 << 10;
const QString DateFormat = QStringLiteral("yyyy-MM-ddTHH:mm");

QJsonObject entryObject(const BackupFile& f, bool withHandsetFields)
{
    QJsonObject o{{QStringLiteral("entry"), f.entry},
                  {QStringLiteral("size"), double(f.size)},
                  {QStringLiteral("sha256"), QString::fromLatin1(f.sha256.toHex())}};
    if (withHandsetFields) {
        o.insert(QStringLiteral("name"), f.name);
        o.insert(QStringLiteral("type"), f.type);
        o.insert(QStringLiteral("date"), f.date.isValid() ? QJsonValue(f.date.toString(DateFormat)) : QJsonValue());
    }
    return o;
}

// What the user is told when the archive on the disk is not what was written.
BackupError readBackDiffers()
{
    return BackupError(QCoreApplication::translate(
        "HandsetBackup", "The backup read back differs from what was written; the old backup is kept."));
}

[[noreturn]] void badManifest(const QString& why)
{
    throw BackupError(QCoreApplication::translate("BackupReader", "The backup's manifest is not readable: %1").arg(why));
}

QString stringField(const QJsonObject& o, const char* key)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isString())
        badManifest(QCoreApplication::translate("BackupReader", "\"%1\" is missing or not a text.").arg(QLatin1String(key)));
    return v.toString();
}

BackupFile fileFrom(const QJsonValue& value, bool withHandsetFields)
{
    if (!value.isObject())
        badManifest(QCoreApplication::translate("BackupReader", "an entry is not an object."));
    const QJsonObject o = value.toObject();
    BackupFile f;
    f.entry = stringField(o, "entry");
    const QJsonValue size = o.value(QLatin1String("size"));
    const double s = size.toDouble(-1);
    if (!size.isDouble() || s < 0 || s > double(BackupReader::MaxFileBytes) || s != double(qint64(s)))
        badManifest(QCoreApplication::translate("BackupReader", "the size of %1 is not a size.").arg(f.entry));
    f.size = qint64(s);
    f.sha256 = QByteArray::fromHex(stringField(o, "sha256").toLatin1());
    if (f.sha256.size() != 32)
        badManifest(QCoreApplication::translate("BackupReader", "the checksum of %1 is not a SHA-256.").arg(f.entry));
    if (withHandsetFields) {
        f.name = stringField(o, "name");
        f.type = stringField(o, "type");
        if (f.name.isEmpty() || f.type.isEmpty())
            badManifest(QCoreApplication::translate("BackupReader", "%1 has no handset name or type.").arg(f.entry));
        const QJsonValue date = o.value(QLatin1String("date"));
        if (date.isString()) {
            f.date = QDateTime::fromString(date.toString(), DateFormat);
            if (!f.date.isValid())
                badManifest(QCoreApplication::translate("BackupReader", "the date of %1 is not a date.").arg(f.entry));
        } else if (!date.isNull() && !date.isUndefined()) {
            badManifest(QCoreApplication::translate("BackupReader", "the date of %1 is not a date.").arg(f.entry));
        }
    }
    return f;
}
} // namespace

QByteArray BackupManifest::toJson() const
{
    QJsonArray list;
    for (const BackupFile& f : files)
        list.append(entryObject(f, true));
    const QJsonObject root{{QStringLiteral("format"), QLatin1String(FormatName)},
                           {QStringLiteral("version"), FormatVersion},
                           {QStringLiteral("handset"), handset},
                           {QStringLiteral("created"), created.toUTC().toString(Qt::ISODate)},
                           {QStringLiteral("bookmarks"), entryObject(bookmarks, false)},
                           {QStringLiteral("files"), list}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

BackupManifest BackupManifest::fromJson(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (!doc.isObject())
        badManifest(error.error != QJsonParseError::NoError ? error.errorString() : QCoreApplication::translate("BackupReader", "it is not an object."));
    const QJsonObject root = doc.object();
    if (root.value(QLatin1String("format")).toString() != QLatin1String(FormatName))
        badManifest(QCoreApplication::translate("BackupReader", "it is not the manifest of an EdgeMarks backup."));
    const int version = root.value(QLatin1String("version")).toInt(0);
    if (version > FormatVersion)
        throw BackupError(QCoreApplication::translate("BackupReader", "The backup was written by a newer EdgeMarks (format %1); this one reads up to format %2.")
                              .arg(version)
                              .arg(FormatVersion));
    if (version < 1)
        badManifest(QCoreApplication::translate("BackupReader", "its format version is missing."));
    BackupManifest m;
    m.handset = stringField(root, "handset");
    m.created = QDateTime::fromString(stringField(root, "created"), Qt::ISODate);
    m.bookmarks = fileFrom(root.value(QLatin1String("bookmarks")), false);
    const QJsonValue files = root.value(QLatin1String("files"));
    if (!files.isArray() || files.toArray().size() > BackupReader::MaxFiles)
        badManifest(QCoreApplication::translate("BackupReader", "the file list is missing or too long."));
    for (const QJsonValue& v : files.toArray())
        m.files.append(fileFrom(v, true));
    return m;
}

QString LocalNames::nameFor(const QString& handsetName)
{
    QString name;
    for (const QChar c : handsetName) {
        const bool bad = c.unicode() < 0x20 || c.unicode() == 0x7F || QStringLiteral("/\\:*?\"<>|").contains(c);
        name.append(bad ? QLatin1Char('_') : c);
    }
    // Hidden, "." and ".." names and empty ones become ordinary names.
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        name.prepend(QLatin1Char('_'));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot > 0 && name.size() - dot <= 10 ? name.mid(dot) : QString();
    QString stem = name.left(name.size() - extension.size());
    for (int n = 1;; ++n) {
        const QString suffix = n == 1 ? extension : QStringLiteral(" (%1)%2").arg(n).arg(extension);
        while ((stem + suffix).toUtf8().size() > MaxBytes)
            stem.chop(1);
        const QString candidate = stem + suffix;
        if (!m_taken.contains(candidate.toCaseFolded())) {
            m_taken.insert(candidate.toCaseFolded());
            return candidate;
        }
    }
}

// Every block goes through the checked writer, which says why the disk refused
// it, and the read-back hears of it.
ssize_t BackupWriter::writeBlock(struct archive*, void* writer, const void* buffer, size_t length)
{
    auto* self = static_cast<BackupWriter*>(writer);
    if (!self->m_file->write(static_cast<const char*>(buffer), qint64(length)))
        return -1;
    self->m_length += qint64(length);
    self->m_readBack->grew(self->m_length);
    return ssize_t(length);
}

BackupWriter::BackupWriter(AtomicFile& file)
    : m_archive(archive_write_new()), m_file(&file), m_fingerprint(std::make_unique<Fingerprint>()),
      m_readBack(std::make_unique<BackupFollower>(file.handle(), file.path()))
{
    // No blocking: each byte goes to the file at once, where the read-back
    // finds it, and the pieces of a download go in whole (libarchive writes
    // blocks one at a time).
    if (!m_archive || archive_write_set_format_pax_restricted(m_archive) != ARCHIVE_OK ||
        archive_write_set_bytes_per_block(m_archive, 0) != ARCHIVE_OK ||
        archive_write_open2(m_archive, this, nullptr, writeBlock, nullptr, nullptr) != ARCHIVE_OK) {
        try {
            fail();
        } catch (...) {
            release(); // no destructor runs after a constructor that throws
            throw;
        }
    }
}

BackupWriter::~BackupWriter()
{
    release();
}

void BackupWriter::release()
{
    // Closed first: libarchive frees an archive whose writing failed without
    // closing it, and so without freeing its output buffer.
    if (m_archive) {
        archive_write_close(m_archive);
        archive_write_free(m_archive);
        m_archive = nullptr;
    }
}

void BackupWriter::fail()
{
    if (m_file && m_file->error())
        throw BackupError(m_file->errorString());
    const char* why = m_archive ? archive_error_string(m_archive) : nullptr;
    const int error = m_archive ? archive_errno(m_archive) : ENOMEM;
    throw BackupError(QCoreApplication::translate("BackupReader", "Couldn't write the backup: %1")
                          .arg(why ? QString::fromLocal8Bit(why) : QString::fromLocal8Bit(strerror(error))));
}

void BackupWriter::header(const QString& entry, qint64 size, const QDateTime& date)
{
    struct archive_entry* e = archive_entry_new();
    archive_entry_set_pathname_utf8(e, entry.toUtf8().constData());
    archive_entry_set_filetype(e, AE_IFREG);
    archive_entry_set_perm(e, 0644);
    archive_entry_set_size(e, size);
    archive_entry_set_mtime(e, (date.isValid() ? date : QDateTime::currentDateTime()).toSecsSinceEpoch(), 0);
    const int r = archive_write_header(m_archive, e);
    archive_entry_free(e);
    if (r < ARCHIVE_WARN)
        fail();
    m_left = size;
    m_fingerprint->reset();
}

void BackupWriter::write(const char* data, qint64 length)
{
    if (length > m_left)
        throw BackupError(QCoreApplication::translate("BackupReader", "Couldn't write the backup: a file was longer than announced."));
    m_fingerprint->addData(data, length);
    while (length > 0) {
        const la_ssize_t n = archive_write_data(m_archive, data, size_t(length));
        if (n <= 0)
            fail();
        data += n;
        length -= n;
        m_left -= n;
    }
}

void BackupWriter::addBookmarks(const QByteArray& document)
{
    m_manifest.bookmarks.entry = QLatin1String(BackupManifest::BookmarksEntry);
    m_manifest.bookmarks.size = document.size();
    header(m_manifest.bookmarks.entry, document.size(), QDateTime());
    write(document.constData(), document.size());
    endEntry();
}

void BackupWriter::endEntry()
{
    // The entry's padding now, not with the next header: the read-back ends
    // the entry only once it has it.
    if (archive_write_finish_entry(m_archive) != ARCHIVE_OK)
        fail();
    m_fingerprints.append(m_fingerprint->result());
}

void BackupWriter::beginFile(const QString& name, const QString& type, const QDateTime& date, qint64 size)
{
    m_current = BackupFile{QLatin1String(BackupManifest::FilesFolder) + m_names.nameFor(name), name, type, size,
                           date, QByteArray()};
    header(m_current.entry, size, date);
}

void BackupWriter::endFile()
{
    if (m_left != 0)
        throw BackupError(QCoreApplication::translate("BackupReader", "Couldn't write the backup: a file was shorter than announced."));
    endEntry();
    m_manifest.files.append(m_current);
}

void BackupWriter::finish(const QString& handset, const QDateTime& created)
{
    QList<BackupFile*> written;
    if (!m_manifest.bookmarks.entry.isEmpty())
        written << &m_manifest.bookmarks;
    for (BackupFile& f : m_manifest.files)
        written << &f;
    if (written.size() != m_fingerprints.size())
        throw readBackDiffers();
    const QList<ReadEntry> read = m_readBack->entries(written.size());
    for (qsizetype i = 0; i < written.size(); ++i) {
        if (read[i].path != written[i]->entry || read[i].size != written[i]->size ||
            read[i].fingerprint != m_fingerprints[i])
            throw readBackDiffers();
        written[i]->sha256 = read[i].sha256;
    }
    m_manifest.handset = handset;
    m_manifest.created = created;
    const QByteArray json = m_manifest.toJson();
    header(QLatin1String(BackupManifest::ManifestEntry), json.size(), created);
    write(json.constData(), json.size());
    if (archive_write_close(m_archive) != ARCHIVE_OK)
        fail();
    if (m_readBack->finish().manifest.toJson() != json)
        throw readBackDiffers();
}

namespace
{
struct ReadArchive {
    struct archive* a = archive_read_new();
    ~ReadArchive() { archive_read_free(a); }
};

[[noreturn]] void damaged(struct archive* a)
{
    const char* why = archive_error_string(a);
    throw BackupError(QCoreApplication::translate("BackupReader", "The backup is damaged or cut short: %1")
                          .arg(why ? QString::fromLocal8Bit(why) : QCoreApplication::translate("BackupReader", "unknown error")));
}

// The entry's path with any leading "./" taken off (as tar writes it for a
// folder packed from inside), or why it may not be.
QString checkedPath(struct archive_entry* e)
{
    const char* utf8 = archive_entry_pathname_utf8(e);
    const char* raw = utf8 ? utf8 : archive_entry_pathname(e);
    if (!raw)
        throw BackupError(QCoreApplication::translate("BackupReader", "The backup holds an entry without a name."));
    QString path = utf8 ? QString::fromUtf8(utf8) : QFile::decodeName(raw);
    while (path.startsWith(QLatin1String("./")))
        path.remove(0, 2);
    if (path.startsWith(QLatin1Char('/')) || path.split(QLatin1Char('/')).contains(QLatin1String("..")))
        throw BackupError(QCoreApplication::translate("BackupReader", "The backup holds an entry outside its own folder: %1").arg(path));
    return path;
}

struct Seen {
    qint64 size = 0;
    QByteArray sha256;
};

void checkAgainstManifest(const BackupFile& listed, const QHash<QString, Seen>& seen)
{
    const auto it = seen.find(listed.entry);
    if (it == seen.end())
        throw BackupError(QCoreApplication::translate("BackupReader", "The backup's manifest names %1, which is not in the archive.").arg(listed.entry));
    if (it->size != listed.size)
        throw BackupError(QCoreApplication::translate("BackupReader", "%1 holds %2 bytes; the manifest says %3.").arg(listed.entry).arg(it->size).arg(listed.size));
    if (it->sha256 != listed.sha256)
        throw BackupError(QCoreApplication::translate("BackupReader", "%1 does not match its checksum in the manifest.").arg(listed.entry));
}
} // namespace

BackupContents BackupReader::read(struct archive* a, const QString& unpackTo,
                                  const std::function<void(const ReadEntry&)>& entryRead)
{
    QHash<QString, Seen> seen;
    QByteArray manifestBytes;
    QByteArray documentBytes;
    bool haveManifest = false;
    QHash<QString, QString> unpacked;
    struct archive_entry* e = nullptr;
    for (;;) {
        const int r = archive_read_next_header(a, &e);
        if (r == ARCHIVE_EOF)
            break;
        if (r < ARCHIVE_WARN)
            damaged(a);
        const QString path = checkedPath(e);
        const mode_t type = archive_entry_filetype(e);
        if (type == AE_IFDIR && (path == QLatin1String("files") || path == QLatin1String("files/")))
            continue;
        if (type != AE_IFREG || archive_entry_hardlink(e) || archive_entry_symlink(e))
            throw BackupError(QCoreApplication::translate("BackupReader", "The backup holds a link, folder or device file: %1").arg(path));
        const bool isManifest = path == QLatin1String(BackupManifest::ManifestEntry);
        const bool isDocument = path == QLatin1String(BackupManifest::BookmarksEntry);
        const QString local = path.mid(qsizetype(std::strlen(BackupManifest::FilesFolder)));
        const bool isFile = path.startsWith(QLatin1String(BackupManifest::FilesFolder)) && !local.isEmpty() &&
                            !local.contains(QLatin1Char('/')) && local != QLatin1String(".");
        if (!isManifest && !isDocument && !isFile)
            throw BackupError(QCoreApplication::translate("BackupReader", "The backup holds %1, which is no part of a backup.").arg(path));
        if (seen.contains(path) || (isManifest && haveManifest))
            throw BackupError(QCoreApplication::translate("BackupReader", "The backup holds %1 twice.").arg(path));
        if (seen.size() > MaxFiles + 1)
            throw BackupError(QCoreApplication::translate("BackupReader", "The backup holds more than %1 files.").arg(MaxFiles));
        const qint64 limit = isManifest ? MaxManifestBytes : isDocument ? MaxDocumentBytes : MaxFileBytes;
        if (!archive_entry_size_is_set(e) || archive_entry_size(e) > limit)
            throw BackupError(QCoreApplication::translate("BackupReader", "%1 is larger than a backup may hold.").arg(path));

        QFile out;
        if (isFile && !unpackTo.isEmpty()) {
            // Unpacked under a number: the entry's own name need not suit this file system.
            out.setFileName(QDir(unpackTo).filePath(QString::number(seen.size())));
            if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                throw BackupError(QCoreApplication::translate("BackupReader", "Couldn't unpack %1: %2").arg(path, out.errorString()));
            unpacked.insert(path, out.fileName());
        }
        Sha256 hash;
        std::optional<Fingerprint> fingerprint;
        if (entryRead && !isManifest)
            fingerprint.emplace();
        qint64 total = 0;
        for (;;) {
            // The content where the archive holds it, not copied out first.
            const void* block = nullptr;
            size_t n = 0;
            la_int64_t offset = 0;
            const int r = archive_read_data_block(a, &block, &n, &offset);
            if (r == ARCHIVE_EOF)
                break;
            if (r < ARCHIVE_WARN)
                damaged(a);
            // A backup's files have no holes: one with a hole was made by something else.
            if (offset != total)
                throw BackupError(QCoreApplication::translate("BackupReader", "The backup is damaged or cut short: %1").arg(path));
            const char* data = static_cast<const char*>(block);
            total += qint64(n);
            if (total > limit)
                throw BackupError(QCoreApplication::translate("BackupReader", "%1 is larger than a backup may hold.").arg(path));
            hash.addData(data, qint64(n));
            if (fingerprint)
                fingerprint->addData(data, qint64(n));
            if (isManifest)
                manifestBytes.append(data, qsizetype(n));
            else if (isDocument)
                documentBytes.append(data, qsizetype(n));
            else if (out.isOpen() && out.write(data, qint64(n)) != qint64(n))
                throw BackupError(QCoreApplication::translate("BackupReader", "Couldn't unpack %1: %2").arg(path, out.errorString()));
        }
        if (total != archive_entry_size(e))
            throw BackupError(QCoreApplication::translate("BackupReader", "The backup is damaged or cut short: %1").arg(path));
        if (out.isOpen() && !out.flush())
            throw BackupError(QCoreApplication::translate("BackupReader", "Couldn't unpack %1: %2").arg(path, out.errorString()));
        if (isManifest) {
            haveManifest = true;
        } else {
            const QByteArray sum = hash.result();
            seen.insert(path, Seen{total, sum});
            if (entryRead)
                entryRead(ReadEntry{path, total, sum, fingerprint->result()});
        }
    }
    if (!haveManifest)
        throw BackupError(QCoreApplication::translate("BackupReader", "The backup has no manifest: it was not written by EdgeMarks, or it was cut short."));

    BackupContents contents;
    contents.manifest = BackupManifest::fromJson(manifestBytes);
    const BackupManifest& m = contents.manifest;
    if (m.bookmarks.entry != QLatin1String(BackupManifest::BookmarksEntry))
        throw BackupError(QCoreApplication::translate("BackupReader", "The backup's manifest names no bookmark document."));
    checkAgainstManifest(m.bookmarks, seen);
    QSet<QString> entries{m.bookmarks.entry};
    QSet<QString> names;
    for (const BackupFile& f : m.files) {
        if (entries.contains(f.entry))
            throw BackupError(QCoreApplication::translate("BackupReader", "The backup's manifest names %1 twice.").arg(f.entry));
        const QString key = f.name + QLatin1Char('\t') + f.type;
        if (names.contains(key))
            throw BackupError(QCoreApplication::translate("BackupReader", "The backup's manifest names two files %1 of the same type.").arg(f.name));
        entries.insert(f.entry);
        names.insert(key);
        checkAgainstManifest(f, seen);
    }
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        if (!entries.contains(it.key()))
            throw BackupError(QCoreApplication::translate("BackupReader", "The backup holds %1, which its manifest does not name.").arg(it.key()));

    MyDocument document;
    QString why;
    if (!document.loadDataRepresentation(documentBytes, &why))
        throw BackupError(QCoreApplication::translate("BackupReader", "The backup's bookmark document does not open: %1").arg(why));
    contents.bookmarks = document.bookmarkList();
    contents.unpacked = unpacked;
    return contents;
}

BackupContents BackupReader::readFile(const QString& path, const QString& unpackTo)
{
    ReadArchive r;
    archive_read_support_format_tar(r.a);
    if (archive_read_open_filename(r.a, QFile::encodeName(path).constData(), size_t(PieceLength)) != ARCHIVE_OK)
        throw BackupError(QCoreApplication::translate("BackupReader", "Couldn't open the backup %1: %2")
                              .arg(path, QString::fromLocal8Bit(archive_error_string(r.a))));
    return read(r.a, unpackTo);
}

BackupContents BackupReader::readData(const QByteArray& bytes)
{
    ReadArchive r;
    archive_read_support_format_tar(r.a);
    if (archive_read_open_memory(r.a, bytes.constData(), size_t(bytes.size())) != ARCHIVE_OK)
        damaged(r.a);
    return read(r.a, QString());
}

BackupFollower::BackupFollower(int fd, const QString& path)
    // A descriptor of its own that may read: the writer's may only write.
    : m_fd(::open(QByteArray("/proc/self/fd/" + QByteArray::number(fd)).constData(), O_RDONLY | O_CLOEXEC)),
      m_piece(std::make_unique<char[]>(size_t(PieceLength)))
{
    if (m_fd == -1)
        throw BackupError(QCoreApplication::translate("BackupReader", "Couldn't open the backup %1: %2")
                              .arg(path, QString::fromLocal8Bit(strerror(errno))));
    m_thread = std::thread([this] { run(); });
}

BackupFollower::~BackupFollower()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_grown.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    ::close(m_fd);
}

void BackupFollower::grew(qint64 length)
{
    {
        std::lock_guard lock(m_mutex);
        m_length = length;
    }
    m_grown.notify_one();
}

QList<ReadEntry> BackupFollower::entries(qsizetype count)
{
    std::unique_lock lock(m_mutex);
    m_read.wait(lock, [&] { return m_ended || m_entries.size() >= count; });
    if (m_entries.size() >= count)
        return m_entries.mid(0, count);
    lock.unlock();
    // The read-back ended before: what it found wrong.
    m_thread.join();
    if (m_failure)
        std::rethrow_exception(m_failure);
    throw readBackDiffers();
}

BackupContents BackupFollower::finish()
{
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
    }
    m_grown.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    if (m_failure)
        std::rethrow_exception(m_failure);
    return std::move(m_contents);
}

ssize_t BackupFollower::readPiece(struct archive* a, void* follower, const void** buffer)
{
    auto* self = static_cast<BackupFollower*>(follower);
    qint64 length = 0;
    {
        std::unique_lock lock(self->m_mutex);
        self->m_grown.wait(lock, [&] { return self->m_stopped || self->m_done || self->m_length > self->m_offset; });
        if (self->m_stopped) {
            archive_set_error(a, ECANCELED, "the backup was abandoned");
            return -1;
        }
        length = self->m_length;
    }
    if (length == self->m_offset)
        return 0; // the writer is done and every byte was read
    for (;;) {
        const ssize_t n = ::pread(self->m_fd, self->m_piece.get(),
                                  size_t(std::min(length - self->m_offset, PieceLength)), off_t(self->m_offset));
        if (n > 0) {
            self->m_offset += n;
            *buffer = self->m_piece.get();
            return n;
        }
        if (n == 0 || errno != EINTR) {
            archive_set_error(a, n == 0 ? EIO : errno, "%s", strerror(n == 0 ? EIO : errno));
            return -1;
        }
    }
}

void BackupFollower::run()
{
    // Behind the download in the queue for the processor: the read-back has the
    // time the link leaves, and what is left of it when the last file is in.
    setpriority(PRIO_PROCESS, id_t(gettid()), 19);
    try {
        ReadArchive r;
        archive_read_support_format_tar(r.a);
        if (archive_read_open2(r.a, this, nullptr, readPiece, nullptr, nullptr) != ARCHIVE_OK)
            damaged(r.a);
        m_contents = BackupReader::read(r.a, QString(), [this](const ReadEntry& entry) {
            {
                std::lock_guard lock(m_mutex);
                m_entries.append(entry);
            }
            m_read.notify_all();
        });
    } catch (...) {
        m_failure = std::current_exception();
    }
    {
        std::lock_guard lock(m_mutex);
        m_ended = true;
    }
    m_read.notify_all();
}
