#pragma once

#include "io/AtomicFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QString>

#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>

// What the link said and heard, for bug reports: every frame sent and received
// with its time, the bytes skipped while looking for a reply, the port's open,
// attribute and close steps and every failure. The process keeps the last
// conversations in memory (bounded) and can also write each entry to a trace
// file as it happens. Password bytes never reach the log: they are stored as
// zeros and shown as "**". A program keeps one and hands it to its links
// (LinkSettings::log); each link's byte stream writes to it.
class ProtocolLog
{
public:
    enum class Kind { Open, Setting, Close, Sent, Received, Skipped, Note, Error };

    struct Entry {
        qint64 msecsSinceEpoch = 0;
        Kind kind = Kind::Sent;
        QString text;        // what happened, for steps and errors
        QByteArray bytes;    // the first bytes of a frame or of raw data
        qint64 size = 0;     // all the bytes the entry stands for
        int maskedFrom = -1; // bytes from this offset on are a secret
        bool frame = false;  // bytes begin with a frame header
    };

    // Bounds of what is kept in memory.
    static constexpr int MaxEntries = 20000;
    static constexpr qint64 MaxStoredBytes = 4 << 20;
    static constexpr int MaxBytesPerEntry = 4096;

    ~ProtocolLog(); // a trace still open is kept

    void step(Kind kind, const QString& text);
    void frame(Kind kind, const QByteArray& bytes, qint64 size, int maskedFrom = -1);
    // Raw data outside a frame header (a file's content); consecutive pieces in
    // the same direction are counted in one entry.
    void data(Kind kind, const char* bytes, qint64 size);

    std::deque<Entry> entries() const;
    void clear();
    // The whole log as text, oldest first.
    QString toText() const;
    static QString format(const Entry& entry);

    // Writes every entry from now on to path as well; an empty path stops. The
    // trace takes the file's place when it stops, whole; false (and error) when
    // the former trace could not be written or the new one not begun.
    bool setTraceFile(const QString& path, QString* error = nullptr);

private:
    void add(Entry&& entry);

    mutable std::mutex m_mutex;
    std::deque<Entry> m_entries;
    qint64 m_storedBytes = 0;
    std::unique_ptr<AtomicFile> m_trace;
};
