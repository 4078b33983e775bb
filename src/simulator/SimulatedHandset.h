#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

// A simulated AH-K3001V on a pseudo-terminal. It answers the handset's side of
// every exchange from an in-memory handset (password, top screen, bookmarks,
// files), records every frame it receives and can misbehave on request, so that
// the link can be tried without the hardware. It serves from a thread of its own.
class SimulatedHandset
{
public:
    struct Bookmark {
        QString name;
        QString location;
        int number = 0;
        int folder = 0;
    };
    struct File {
        QString name;
        QString type = QStringLiteral("other");
        QDateTime date;
        QByteArray content;
    };
    // Ways to misbehave. Sub-command switches name the exchange they apply to
    // (for example 0x802 for bookmark entry frames); 0 means off.
    struct Faults {
        QByteArray noise;            // sent before every reply
        bool splitHeader = false;    // reply headers go out in several writes
        int wrongEcho = 0;           // replies to this sub-command carry another echo
        int wrongLengthOn = 0;       // replies to this sub-command announce wrongLength and carry no payload
        quint32 wrongLength = 2;     // below 4, or too large for any frame
        int emptyPayloadOn = 0;      // replies to this sub-command carry no payload
        QByteArray probeReply;       // payload of an accepted probe's reply instead of "OK"
        QByteArray entryReply;       // payload of the reply to a stored entry instead of "0"
        QByteArray downloadPayload;  // payload of every download reply instead of the file
        bool refusePassword = false; // every password is wrong
        int probesAnsweredNG = 0;    // this many probes are answered "NG" first; -1: all of them
        bool refuseEntries = false;  // stored entries are answered without "0"
        int silentAfter = -1;        // stop answering after this many received frames
        int hangUpOn = 0;            // hang up in the middle of the reply to this sub-command
        int pauseMs = 0;             // a slow handset: pause before every reply and after every read
    };
    // Bytes that wait on the line as if an earlier conversation had left them.
    void leaveOnLine(const QByteArray& bytes);

    SimulatedHandset();
    ~SimulatedHandset();
    SimulatedHandset(const SimulatedHandset&) = delete;
    SimulatedHandset& operator=(const SimulatedHandset&) = delete;

    // Opens the pseudo-terminal, makes devicePath a link to it and starts serving.
    bool start(const QString& devicePath, QString* error = nullptr);
    // Serves the far end of a pseudo-terminal that someone else made (a mocked
    // device node); takes a duplicate of masterFd.
    bool startOnMaster(int masterFd, QString* error = nullptr);
    // Stops serving and removes the link.
    void stop();
    QString devicePath() const { return m_devicePath; }
    QString slavePath() const { return m_slavePath; }

    // A stand-in driver bundle: <path>/Contents/Info.plist with the given version.
    static bool createDriverBundle(const QString& path, const QString& version, QString* error = nullptr);

    void setPassword(const QString& password);
    void setFaults(const Faults& faults);
    void setBookmarks(const QList<Bookmark>& bookmarks);
    QList<Bookmark> bookmarks() const;
    void setFiles(const QList<File>& files);
    QList<File> files() const;
    // Entry payloads to send as they are, in place of the stored bookmarks.
    void setEntryPayloads(const QList<QByteArray>& payloads);
    // Directory records to send as they are, in place of the stored files.
    void setDirectoryPayloads(const QList<QByteArray>& payloads);
    // Sample content for demonstrations: bookmarks in several folders and a few files.
    void loadSampleContent();
    // The files of the sample: pictures, sounds and texts made here, each a
    // valid file of its kind, so that a file view has something to show.
    static QList<File> sampleFiles();
    static QString samplePassword() { return QStringLiteral("1234"); }

    // The frames received, header included, in arrival order, when recording is
    // on (tests turn it on; a long-running simulator keeps none). The record keeps
    // the latest MaxRecordedFrames frames and MaxRecordedBytes bytes. With
    // atLeast > 0 it first waits (up to waitMs) for that many frames.
    static constexpr int MaxRecordedFrames = 100000;
    static constexpr qint64 MaxRecordedBytes = qint64(64) << 20;
    void setRecordingFrames(bool on);
    QList<QByteArray> receivedFrames(int atLeast = 0, int waitMs = 2000) const;
    void clearReceivedFrames();
    // Frames received in all, recorded or not.
    qint64 frameCount() const;
    // Frames answered "NG" to the probe so far, and the like, for tests.
    int probeCount() const;

private:
    void serve();
    void handle(const QByteArray& frame);
    // Counts a frame received, and keeps it when recording.
    void record(const QByteArray& frame);

    // What a handler decided while it held the lock, sent once the lock is
    // released (so that tests may look in meanwhile): a reply whose payload is
    // the parts one after the other.
    struct Answer {
        int command = 0;
        int subCommand = 0;
        QList<QByteArray> parts;
    };
    // The handset's side of one sub-command; nothing when it sends no reply.
    using Handler = std::optional<Answer> (SimulatedHandset::*)(int command, int subCommand,
                                                                const QByteArray& parameter);
    struct Route {
        int subCommand;
        Handler handler;
    };
    static const Route Routes[];
    std::optional<Answer> probe(int command, int subCommand, const QByteArray& parameter);
    std::optional<Answer> password(int command, int subCommand, const QByteArray& parameter);
    std::optional<Answer> logout(int command, int subCommand, const QByteArray& parameter);
    std::optional<Answer> bookmarkCount(int command, int subCommand, const QByteArray& parameter);
    std::optional<Answer> readEntries(int command, int subCommand, const QByteArray& parameter);
    std::optional<Answer> acknowledge(int command, int subCommand, const QByteArray& parameter);
    std::optional<Answer> uploadStep(int command, int subCommand, const QByteArray& parameter);
    std::optional<Answer> replaceList(int command, int subCommand, const QByteArray& parameter);
    std::optional<Answer> takeEntry(int command, int subCommand, const QByteArray& parameter);
    std::optional<Answer> fileCount(int command, int subCommand, const QByteArray& parameter);
    std::optional<Answer> readDirectory(int command, int subCommand, const QByteArray& parameter);
    std::optional<Answer> download(int command, int subCommand, const QByteArray& parameter);
    std::optional<Answer> upload(int command, int subCommand, const QByteArray& parameter);
    // The first of the pending records as the reply to listSubCommand.
    std::optional<Answer> firstRecord(int listSubCommand);
    void reply(int command, int subCommand, const QByteArray& payload);
    // A reply whose payload is the parts one after the other, written without
    // joining them first (a download's file content is written from where it is).
    void replyParts(int command, int subCommand, std::initializer_list<QByteArrayView> parts);
    void writeAll(const char* data, qsizetype length);
    QByteArray bookmarkEntry(const Bookmark& b) const;
    QByteArray directoryRecord(const File& f) const;
    void storeEntry(const QByteArray& payload);

    int m_master = -1;
    int m_keepAlive = -1; // a slave descriptor of our own, so the master never sees a hang-up
    QString m_devicePath;
    QString m_slavePath;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    bool m_hungUp = false;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_framesChanged;
    QString m_password = samplePassword();
    Faults m_faults;
    QList<Bookmark> m_bookmarks;
    QList<File> m_files;
    QList<QByteArray> m_received;
    bool m_recording = false;
    qint64 m_recordedBytes = 0;
    qint64 m_frameCount = 0;
    QList<QByteArray> m_entryPayloads;
    QList<QByteArray> m_directoryPayloads;
    int m_probes = 0;
    int m_probesNG = 0;
    QList<QByteArray> m_pendingFrames; // entry or directory frames waiting for acknowledgements
    int m_pendingSubCommand = 0;
};
