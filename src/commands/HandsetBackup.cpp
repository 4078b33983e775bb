#include "commands/HandsetBackup.h"

#include "document/MyDocument.h"
#include "handset/VedORovav.h"
#include "io/AtomicFile.h"

#include <QScopeGuard>

namespace
{
// Files of a conversation stream into the archive; an archive that cannot be
// written stops the download like a file that cannot.
class ArchiveSink : public DownloadSink
{
public:
    ArchiveSink(BackupWriter& writer, const AirHFile& file) : m_writer(writer), m_file(file) {}
    void open(qint64 length) override
    {
        guarded([&] { m_writer.beginFile(m_file.fileName(), m_file.fileType(), m_file.fileDate(), length); });
    }
    void write(const char* data, qint64 length) override { guarded([&] { m_writer.write(data, length); }); }
    void commit() override { guarded([&] { m_writer.endFile(); }); }
    void abandon() noexcept override {}

private:
    template <typename F> void guarded(F&& step)
    {
        try {
            step();
        } catch (const BackupError& e) {
            throw VedORovavException(LinkTexts::CouldNotWriteFile, e.message());
        }
    }

    BackupWriter& m_writer;
    AirHFile m_file;
};
} // namespace

QString HandsetBackup::defaultFileName(const QDateTime& when)
{
    return QStringLiteral("%1 %2.tar").arg(QLatin1String(HandsetModel), when.toString(QStringLiteral("yyyy-MM-dd HH.mm")));
}

bool HandsetBackup::backUp(VedORovav& link, const QString& path, const QString& password, ProgressProtocol& progress,
                           Summary* summary)
{
    AtomicFile file;
    // Unnamed until it is whole: a backup killed outright leaves nothing behind.
    if (!file.open(path, AtomicFile::Access::Usual, AtomicFile::Temporary::Unnamed))
        throw BackupError(file.errorString());
    BackupWriter writer(file);
    BookmarkList bookmarks;
    AirHFileList files;
    bool documentWritten = false;
    auto writeDocument = [&] {
        if (documentWritten)
            return;
        documentWritten = true;
        MyDocument document;
        document.setBookmarkList(bookmarks);
        writer.addBookmarks(document.dataRepresentation());
    };
    std::unique_ptr<ArchiveSink> sink;
    const bool done = link.readEverything(
        bookmarks, files,
        [&](const AirHFile& f, int) -> DownloadSink& {
            try {
                writeDocument();
            } catch (const BackupError& e) {
                throw VedORovavException(LinkTexts::CouldNotWriteFile, e.message());
            }
            sink = std::make_unique<ArchiveSink>(writer, f);
            return *sink;
        },
        password, progress);
    if (!done)
        return false;
    writeDocument();
    // Read back and checked, before it takes the name.
    writer.finish(QLatin1String(HandsetModel), QDateTime::currentDateTime());
    if (!file.commit())
        throw BackupError(file.errorString());
    if (summary) {
        summary->bookmarks = int(bookmarks.size());
        summary->files = int(files.size());
        summary->bytes = 0;
        for (const BackupFile& f : writer.manifest().files)
            summary->bytes += f.size;
    }
    return true;
}

RestorePlan::RestorePlan(const QString& path) : m_unpacked(std::make_unique<QTemporaryDir>())
{
    if (!m_unpacked->isValid())
        throw BackupError(tr("Couldn't make a temporary folder: %1").arg(m_unpacked->errorString()));
    m_contents = BackupReader::readFile(path, m_unpacked->path());
    compareWith({}, {});
}

void RestorePlan::compareWith(const BookmarkList& handsetBookmarks, const AirHFileList& handsetFiles)
{
    m_diff = std::make_unique<BookmarkDiff>(handsetBookmarks, m_contents.bookmarks);
    m_missing.clear();
    m_present.clear();
    for (const BackupFile& f : m_contents.manifest.files) {
        const bool held = std::any_of(handsetFiles.begin(), handsetFiles.end(), [&](const AirHFile& h) {
            return h.fileName() == f.name && h.fileType() == f.type;
        });
        (held ? m_present : m_missing).append(f);
    }
}

QList<BackupFile> RestorePlan::filesToSend(bool replacePresent) const
{
    return replacePresent ? m_missing + m_present : m_missing;
}

QStringList RestorePlan::preview(int parts, bool replacePresent) const
{
    QStringList lines;
    if (parts & Bookmarks) {
        lines << tr("Bookmarks: %1").arg(m_diff->summary());
        for (const QString& line : m_diff->details())
            lines << QStringLiteral("  ") + line;
    }
    if (parts & Files) {
        const int upload = int(filesToSend(replacePresent).size());
        lines << tr("Files to upload: %1").arg(upload);
        for (const BackupFile& f : filesToSend(replacePresent))
            lines << QStringLiteral("  + %1 (%2, %3 bytes)").arg(f.name, f.type).arg(f.size);
        if (!replacePresent && !m_present.isEmpty()) {
            const int skipped = int(m_present.size());
            lines << tr("Files the AIR-EDGE PHONE already holds, skipped: %1").arg(skipped);
            for (const BackupFile& f : m_present)
                lines << QStringLiteral("  = %1 (%2)").arg(f.name, f.type);
        }
    }
    return lines;
}

bool RestorePlan::apply(VedORovav& link, int parts, bool replacePresent, const QString& password,
                        ProgressProtocol& progress)
{
    m_sent.clear();
    if ((parts & Bookmarks) && !link.writeBookmarks(m_contents.bookmarks, password, progress))
        return false;
    if (!(parts & Files))
        return true;
    const QList<BackupFile> files = filesToSend(replacePresent);
    if (files.isEmpty())
        return true;
    QList<VedORovav::Upload> uploads;
    for (const BackupFile& f : files)
        uploads.append({m_contents.unpacked.value(f.entry), f.name, f.type});
    const auto noteSent = qScopeGuard([&] {
        for (int k = 0; k < link.filesSent() && k < files.size(); ++k)
            m_sent << files[k].name;
    });
    return link.writeFiles(uploads, password, progress);
}
