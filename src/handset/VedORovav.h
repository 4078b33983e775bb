#pragma once

#include "document/AirHBookmark.h"
#include "handset/AirHFile.h"
#include "handset/ByteStream.h"
#include "handset/FrameChannel.h"
#include "handset/HandsetSession.h"
#include "handset/LinkSettings.h"
#include "handset/LinkTexts.h"
#include "handset/ProgressProtocol.h"
#include "handset/VedORovavException.h"

#include <atomic>
#include <functional>
#include <memory>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtGlobal>

// Where a downloaded file's content goes: open() learns the content's length
// before the first byte, write() takes it in pieces, commit() ends it. Any of
// them throws VedORovavException to stop the download; abandon() is then called
// (and on any other failure after open) and must not throw.
class DownloadSink
{
public:
    virtual ~DownloadSink() = default;
    virtual void open(qint64 length) = 0;
    virtual void write(const char* data, qint64 length) = 0;
    virtual void commit() = 0;
    virtual void abandon() noexcept = 0;
};

// The handset link: the serial device of the AH-K3001V, its command and reply
// frames, login and logout, and the transfers. One object serves one transfer on
// the caller's thread; every failure is raised as VedORovavException.
//
// It is built in layers: a byte stream (the serial port, or one in memory), the
// frames over it (FrameChannel), the logged-in session (HandsetSession), and
// the transfers here on top.
class VedORovav
{
public:
    // settings: where the handset is, the reply limit and the protocol log.
    explicit VedORovav(LinkSettings settings, QObject* parentWindow = nullptr);
    ~VedORovav();
    VedORovav(const VedORovav&) = delete;
    VedORovav& operator=(const VedORovav&) = delete;

    // Cancelling: while cancel holds true, every wait of the link (a read, a
    // write, a pause between attempts) ends within CancelSliceMilliseconds with
    // Cancelled. What keeps the handset in step still goes: the logout, the
    // closing exchange of a bookmark upload, the rest of an uploaded file's frame
    // (zeros) and of a downloaded one (read and dropped).
    void setCancelFlag(const std::atomic<bool>* cancel) { m_frames.setCancelFlag(cancel); }
    static constexpr int CancelSliceMilliseconds = FrameChannel::CancelSliceMilliseconds;

    // Where open() gets its stream instead of the handset's serial port (tests
    // and benchmarks): called once per open; nothing is "not connected".
    using StreamOpener = std::function<std::unique_ptr<ByteStream>()>;
    void setStreamOpener(StreamOpener opener) { m_opener = std::move(opener); }

    void open();
    void close();

    void sendCommand(int command, int subCommand, const char* parameter, int length);
    void sendCommand(int command, int subCommand, const char* parameter);
    int receiveData(char* buffer, int maxLength, bool additionally);
    int sendRawData(const char* data, int length);
    int receiveRawData(char* buffer, int maxLength);

    bool loginWithPassword(const QString& password);
    void logout();

    // The connection test: the port opens and the handset shows its top screen;
    // there is no login. Raises as the transfers do; reached says how far it came.
    enum class Stage { Port, TopScreen, Done };
    void testConnection(ProgressProtocol& progress, Stage* reached);

    // Transfers. Each is a whole conversation: progress, open, login, the work and
    // a clean-up that always runs. True when done, false when the handset refused
    // the password; every other failure is raised after the progress was told.
    bool readBookmarks(BookmarkList& bookmarks, const QString& password, ProgressProtocol& progress);
    bool writeBookmarks(const BookmarkList& bookmarks, const QString& password, ProgressProtocol& progress);

    // Files. The listing replaces the caller's list; the download takes one path
    // from the front of destinations per file; the upload sends each path with
    // the type of the AirHFileType table, or forcedType when one is given.
    bool readDirectory(AirHFileList& files, const QString& password, ProgressProtocol& progress);
    bool readFileFrom(const AirHFileList& files, QStringList& destinations, const QString& password,
                      ProgressProtocol& progress);
    bool writeFileFrom(const QStringList& paths, const QString& password, ProgressProtocol& progress,
                       const QString& forcedType = QString());
    // The same into sinks: sinkFor gives the sink of each file as its turn comes.
    using SinkFor = std::function<DownloadSink&(const AirHFile& file, int index)>;
    bool readFilesInto(const AirHFileList& files, const SinkFor& sinkFor, const QString& password,
                       ProgressProtocol& progress);
    // One conversation that reads everything the handset holds: the bookmarks,
    // the file listing, then every listed file into its sink. Progress goes
    // from 0 to 1, the files by their size.
    bool readEverything(BookmarkList& bookmarks, AirHFileList& files, const SinkFor& sinkFor,
                        const QString& password, ProgressProtocol& progress);
    // Uploads under names and types of the caller's own (a restore's names
    // need not be the local files' names).
    struct Upload {
        QString path;
        QString name;
        QString type;
    };
    bool writeFiles(const QList<Upload>& uploads, const QString& password, ProgressProtocol& progress);
    // The handset's name for a file: name TAB type TAB NUL, in Shift_JIS.
    QByteArray dataFileName(const QString& name, const QString& type) const;

    // Entries of the last bookmark download that could not be decoded and were
    // left out, of all the handset announced.
    int entriesSkipped() const { return m_entriesSkipped; }
    int entriesAnnounced() const { return m_entriesAnnounced; }
    // The bookmarks the last upload sent (those in folders 0-19).
    int entriesSent() const { return m_entriesSent; }
    // The files the last upload sent whole.
    int filesSent() const { return m_filesSent; }

    // The serial port's descriptor while one is open, else -1.
    int fileDescriptor() const;
    ByteStream* stream() const { return m_stream.get(); }
    bool isLoggedIn() const { return m_session.isLoggedIn(); }

    // Pause between open and probe attempts.
    static constexpr int RetryPauseMilliseconds = HandsetSession::RetryPauseMilliseconds;
    static constexpr int Attempts = HandsetSession::Attempts;

private:
    // The list of records both listings share: the count (command 2 with
    // countSubCommand), the request (command 3 with listSubCommand), then each
    // record read (at most maxLength bytes), checked, acknowledged and handed to
    // take. A record without content is an illegal format when emptyIsIllegal.
    // Returns the count.
    int readRecords(int countSubCommand, int listSubCommand, int maxLength, bool emptyIsIllegal,
                    ProgressProtocol& progress, const std::function<void(const QByteArray& record)>& take);
    void downloadOne(const AirHFile& file, DownloadSink& sink, int index, ProgressProtocol& progress);
    void uploadOne(const Upload& upload, int index, ProgressProtocol& progress);
    void readBookmarkEntries(BookmarkList& bookmarks, ProgressProtocol& progress);
    // Sends a count query (command 2) and reads the decimal count of its reply.
    int queryCount(int subCommand);
    void discard(qint64 bytes);
    // Drops what the handset still sends of an abandoned conversation, saying so
    // while it lasts; whether there was any.
    bool waitForQuietLine(ProgressProtocol& progress);
    static constexpr int StaleQuietMilliseconds = 500;
    void sendZeros(qint64 bytes);
    // The skeleton shared by every transfer. finish runs first in the clean-up
    // (the upload's closing exchange); a failure there is reported like any other
    // when the work itself succeeded.
    bool transfer(ProgressProtocol& progress, double maxValue, const QString& message,
                  const QString& password, const std::function<void()>& work,
                  const std::function<void()>& finish = {});

    // A step of the conversation, for the protocol log of its stream.
    void note(ProtocolLog::Kind kind, const QString& text) const;

    QPointer<QObject> m_parentWindow;
    LinkSettings m_settings;
    StreamOpener m_opener;
    std::unique_ptr<ByteStream> m_stream;
    FrameChannel m_frames;
    HandsetSession m_session{m_frames};
    int m_entriesSkipped = 0;
    int m_entriesAnnounced = 0;
    int m_entriesSent = 0;
    int m_filesSent = 0;
};
