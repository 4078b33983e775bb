#include "handset/VedORovav.h"

#include "handset/AirHFileType.h"
#include "handset/BookmarkEntry.h"
#include "handset/ShiftJIS.h"
#include "io/AtomicFile.h"
#include "io/OutsideFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
constexpr int BufferLength = 4096;
constexpr int DirectoryFrameLength = 4095;
constexpr qint64 PieceLength = 64 << 10; // files go to and come from the disk in pieces of this size
} // namespace

QByteArray VedORovav::dataFileName(const QString& name, const QString& type) const
{
    const std::optional<QByteArray> n = ShiftJIS::encode(name);
    const std::optional<QByteArray> t = ShiftJIS::encode(type);
    if (!n || !t)
        throw VedORovavException(LinkTexts::BadFileName);
    if (n->size() + t->size() + 3 > DirectoryFrameLength)
        throw VedORovavException(LinkTexts::FileNameTooLong);
    QByteArray bytes = *n;
    bytes.append('\t').append(*t).append('\t').append('\0');
    return bytes;
}

bool VedORovav::readDirectory(AirHFileList& files, const QString& password, ProgressProtocol& progress)
{
    // Translated here, where it is made: every progress sink shows it as it is.
    return transfer(
        progress, 1.0, QCoreApplication::translate("VedORovav", LinkTexts::UpdatingFileList), password, [&] {
            files.clear();
            readRecords(0x601, 0x607, DirectoryFrameLength, true, progress, [&](const QByteArray& record) {
                files.append(AirHFile::fromDirectoryRecord(record.constData(), int(record.size())));
            });
        });
}

void VedORovav::discard(qint64 bytes)
{
    char buffer[BufferLength];
    while (bytes > 0)
        bytes -= receiveRawData(buffer, int(std::min<qint64>(bytes, BufferLength)));
}

namespace
{
// A download into a file: the content goes to a temporary file beside the
// destination, which takes its place only when the whole file is there, so an
// interrupted download never damages a file that was there before.
class PathSink : public DownloadSink
{
public:
    PathSink(const QString& path, const QDateTime& date) : m_path(path), m_date(date) {}
    void open(qint64) override
    {
        if (!m_out.open(m_path))
            throw failure(LinkTexts::CouldNotCreateFile);
    }
    // Each piece goes to the disk as it is gathered, checked, so that a full
    // disk or a quota is seen at the write that failed.
    void write(const char* data, qint64 length) override
    {
        if (!m_out.write(data, length))
            throw failure(LinkTexts::CouldNotWriteFile);
    }
    void commit() override
    {
        if (!m_out.commit())
            throw failure(LinkTexts::CouldNotWriteFile);
        // A record without a date leaves the file's date as it is.
        QFile done(m_out.path());
        if (m_date.isValid() && done.open(QIODevice::ReadWrite)) {
            done.setFileTime(m_date, QFileDevice::FileModificationTime);
            done.close();
        }
    }
    void abandon() noexcept override { m_out.cancel(); }

private:
    VedORovavException failure(const char* reason) const { return VedORovavException(reason, m_out.errorString()); }

    QString m_path;
    AtomicFile m_out;
    QDateTime m_date;
};

// The progress of one part of a conversation, placed within the whole.
class PartProgress : public ProgressProtocol
{
public:
    PartProgress(ProgressProtocol& whole, double from, double scale) : m_whole(whole), m_from(from), m_scale(scale) {}
    void openProgressForWindow(QObject*, double, const QString&) override {}
    void updateProgressDoubleValue(double value) override { m_whole.updateProgressDoubleValue(m_from + m_scale * value); }
    void notifyException(const VedORovavException&) override {}
    void closeProgress() override {}

private:
    ProgressProtocol& m_whole;
    double m_from;
    double m_scale;
};
} // namespace

void VedORovav::downloadOne(const AirHFile& file, DownloadSink& sink, int index, ProgressProtocol& progress)
{
    const QByteArray name = dataFileName(file.fileName(), file.fileType());
    sendCommand(3, 0x602, name.constData(), int(name.size()));
    char buffer[BufferLength];
    const qint64 frame = receiveData(buffer, DirectoryFrameLength, false);
    const qint64 echoLength = name.size() - 1;

    qint64 taken = 0;
    bool opened = false;
    try {
        // The header's echo is not examined; the name echo below is.
        m_frames.noteEcho(buffer, 3, 0x602);
        // The name echo, one byte per read so that no content is taken with it.
        for (int pass = 0; pass < 2; ++pass) {
            while (taken + 12 < frame && taken < BufferLength) {
                if (receiveRawData(buffer + taken, 1) != 1)
                    break;
                if (buffer[taken++] == '\t')
                    break;
            }
        }
        if (taken != echoLength || std::memcmp(buffer, name.constData(), size_t(taken)) != 0)
            throw VedORovavException(LinkTexts::FileNotFound);

        const qint64 content = frame - 12 - taken;
        sink.open(content);
        opened = true;
        qint64 left = content;
        // What arrives is gathered into larger pieces for the sink.
        std::vector<char> piece(size_t(std::min<qint64>(std::max<qint64>(content, 1), PieceLength)));
        qint64 held = 0;
        while (left > 0) {
            const int n =
                receiveRawData(piece.data() + held, int(std::min<qint64>(left, qint64(piece.size()) - held)));
            held += n;
            taken += n;
            left -= n;
            if (held == qint64(piece.size()) || left == 0) {
                sink.write(piece.data(), held);
                held = 0;
            }
            progress.updateProgressDoubleValue(index + double(content - left) / double(content));
        }
        sink.commit();
    } catch (const VedORovavException& e) {
        if (opened)
            sink.abandon();
        // Keep the link in step: the rest of the announced frame is read and
        // dropped, after a cancel too (the handset goes on sending the file until
        // its end, and hears nothing before); every read still has its time limit.
        Uncancellable draining(m_frames);
        discard(frame - 12 - taken);
        throw;
    }
}

bool VedORovav::readFileFrom(const AirHFileList& files, QStringList& destinations, const QString& password,
                             ProgressProtocol& progress)
{
    std::unique_ptr<PathSink> sink;
    return transfer(progress, double(files.size()), QString(), password, [&] {
        for (int k = 0; k < files.size(); ++k) {
            // Checked before the request, so that no reply is left unread.
            if (destinations.isEmpty())
                throw VedORovavException(LinkTexts::NoDestination);
            sink = std::make_unique<PathSink>(destinations.first(), files.at(k).fileDate());
            try {
                downloadOne(files.at(k), *sink, k, progress);
            } catch (const VedORovavException& e) {
                // Which file of the batch it was.
                throw e.withDetails(QCoreApplication::translate("VedORovav", "While receiving %1.")
                                        .arg(files.at(k).fileName()));
            }
            destinations.removeFirst();
        }
    });
}

bool VedORovav::readFilesInto(const AirHFileList& files, const SinkFor& sinkFor, const QString& password,
                              ProgressProtocol& progress)
{
    return transfer(progress, double(files.size()), QString(), password, [&] {
        for (int k = 0; k < files.size(); ++k)
            downloadOne(files.at(k), sinkFor(files.at(k), k), k, progress);
    });
}

bool VedORovav::readEverything(BookmarkList& bookmarks, AirHFileList& files, const SinkFor& sinkFor,
                               const QString& password, ProgressProtocol& progress)
{
    m_entriesSkipped = m_entriesAnnounced = 0;
    return transfer(progress, 1.0, QString(), password, [&] {
        constexpr double ListingsShare = 0.02;
        PartProgress bookmarkPart(progress, 0, ListingsShare / 2);
        readBookmarkEntries(bookmarks, bookmarkPart);
        PartProgress listingPart(progress, ListingsShare / 2, ListingsShare / 2);
        files.clear();
        readRecords(0x601, 0x607, DirectoryFrameLength, true, listingPart, [&](const QByteArray& record) {
            files.append(AirHFile::fromDirectoryRecord(record.constData(), int(record.size())));
        });
        double total = 0;
        for (const AirHFile& f : std::as_const(files))
            total += std::max<double>(1, quint32(f.fileSize()));
        double done = 0;
        for (int k = 0; k < files.size(); ++k) {
            const double share = std::max<double>(1, quint32(files.at(k).fileSize())) / total;
            PartProgress filePart(progress, ListingsShare + (1 - ListingsShare) * done, (1 - ListingsShare) * share);
            // The listing's size is only a hint: the frame's length says what comes.
            downloadOne(files.at(k), sinkFor(files.at(k), k), 0, filePart);
            done += share;
        }
    });
}

void VedORovav::sendZeros(qint64 bytes)
{
    static const char zeros[BufferLength] = {};
    while (bytes > 0)
        bytes -= sendRawData(zeros, int(std::min<qint64>(bytes, BufferLength)));
}

void VedORovav::uploadOne(const Upload& upload, int index, ProgressProtocol& progress)
{
    const QString& path = upload.path;
    const QByteArray name = dataFileName(upload.name, upload.type);
    // Opened and measured before the header goes out, so that a file that
    // cannot be read (or is a pipe or a device) sends nothing.
    OutsideFile in;
    // The frame's length field is signed 32-bit: the whole frame must fit it.
    if (!in.open(path, qint64(0x7FFFFFFF) - name.size() - 6)) {
        if (in.problem() == OutsideFile::Problem::TooLarge)
            throw VedORovavException(LinkTexts::FileTooLarge);
        throw VedORovavException(LinkTexts::CouldNotReadFile, in.errorString());
    }
    const qint64 size = in.size();

    sendCommand(3, 0x603, nullptr, int(name.size() - 1 + size));
    {
        // The header announced the name: it goes out whatever happens.
        Uncancellable announced(m_frames);
        sendRawData(name.constData(), int(name.size() - 1));
    }

    qint64 left = size;
    try {
        // The file is read in large pieces, each sent a line's buffer at a time
        // (a write the port takes at once).
        std::vector<char> piece(size_t(std::min<qint64>(std::max<qint64>(size, 1), PieceLength)));
        while (left > 0) {
            const ssize_t n = ::read(in.handle(), piece.data(), size_t(std::min<qint64>(left, qint64(piece.size()))));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throw VedORovavException(LinkTexts::CouldNotReadFile, QString::fromLocal8Bit(strerror(errno)));
            if (n == 0)
                throw VedORovavException(LinkTexts::FileShrank);
            for (qint64 sent = 0; sent < n;) {
                const int slice = int(std::min<qint64>(n - sent, BufferLength));
                sendRawData(piece.data() + sent, slice);
                sent += slice;
                left -= slice;
                progress.updateProgressDoubleValue(index + double(size - left) / double(size));
            }
        }
    } catch (const VedORovavException& e) {
        in.close();
        // The handset gets the whole frame its header announced, after a cancel too;
        // a failure while the zeros go out replaces this one.
        Uncancellable completing(m_frames);
        sendZeros(left);
        throw e.withDetails(
            QCoreApplication::translate("VedORovav", "The AIR-EDGE PHONE now holds an incomplete copy of %1.")
                .arg(upload.name));
    }
}

bool VedORovav::writeFileFrom(const QStringList& paths, const QString& password, ProgressProtocol& progress,
                              const QString& forcedType)
{
    const AirHFileType table = AirHFileType::load(m_settings.fileTypes);
    QList<Upload> uploads;
    for (const QString& path : paths)
        uploads.append({path, QFileInfo(path).fileName(), forcedType.isEmpty() ? table.typeForPath(path) : forcedType});
    return writeFiles(uploads, password, progress);
}

bool VedORovav::writeFiles(const QList<Upload>& uploads, const QString& password, ProgressProtocol& progress)
{
    m_filesSent = 0;
    return transfer(progress, double(uploads.size()), QString(), password, [&] {
        for (int k = 0; k < uploads.size(); ++k) {
            try {
                uploadOne(uploads.at(k), k, progress);
            } catch (const VedORovavException& e) {
                // Which file of the batch it was.
                throw e.withDetails(
                    QCoreApplication::translate("VedORovav", "While sending %1.").arg(uploads.at(k).path));
            }
            m_filesSent = k + 1;
        }
    });
}
