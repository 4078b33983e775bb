#include "simulator/SimulatedHandset.h"

#include "handset/ShiftJIS.h"

#include "document/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace
{
constexpr int HeaderLength = 12;

QByteArray sjis(const QString& text)
{
    return ShiftJIS::encode(text).value_or(QByteArray());
}

quint32 le32(const QByteArray& b, int at)
{
    return quint32(uchar(b[at])) | quint32(uchar(b[at + 1])) << 8 | quint32(uchar(b[at + 2])) << 16 |
           quint32(uchar(b[at + 3])) << 24;
}

void appendLe32(QByteArray& b, quint32 v)
{
    b.append(char(v)).append(char(v >> 8)).append(char(v >> 16)).append(char(v >> 24));
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
} // namespace

SimulatedHandset::SimulatedHandset() = default;

SimulatedHandset::~SimulatedHandset()
{
    stop();
}

bool SimulatedHandset::start(const QString& devicePath, QString* error)
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        stop();
        return false;
    };
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master == -1 || grantpt(m_master) == -1 || unlockpt(m_master) == -1)
        return fail(QStringLiteral("Couldn't open a pseudo-terminal: %1")
                        .arg(QString::fromLocal8Bit(strerror(errno))));
    m_slavePath = QString::fromLocal8Bit(ptsname(m_master));
    // Non-blocking, so that a client that stops reading cannot hold the handset's
    // thread in a write when it is told to stop.
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_keepAlive = ::open(ptsname(m_master), O_RDWR | O_NOCTTY);
    if (m_keepAlive == -1)
        return fail(QStringLiteral("Couldn't open %1").arg(m_slavePath));
    struct termios raw;
    tcgetattr(m_keepAlive, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_keepAlive, TCSANOW, &raw);

    const QFileInfo existing(devicePath);
    if (existing.isSymLink())
        QFile::remove(devicePath);
    else if (existing.exists())
        return fail(QStringLiteral("%1 exists and is not a link; not replacing it").arg(devicePath));
    QDir().mkpath(existing.absolutePath());
    if (::symlink(ptsname(m_master), QFile::encodeName(devicePath).constData()) == -1)
        return fail(
            QStringLiteral("Couldn't make %1: %2").arg(devicePath, QString::fromLocal8Bit(strerror(errno))));
    m_devicePath = devicePath;

    m_stop = false;
    m_thread = std::thread([this] { serve(); });
    return true;
}

bool SimulatedHandset::startOnMaster(int masterFd, QString* error)
{
    m_master = fcntl(masterFd, F_DUPFD_CLOEXEC, 0);
    if (m_master == -1) {
        if (error)
            *error = QStringLiteral("Couldn't take the pseudo-terminal: %1")
                         .arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_stop = false;
    m_thread = std::thread([this] { serve(); });
    return true;
}

void SimulatedHandset::leaveOnLine(const QByteArray& bytes)
{
    writeAll(bytes.constData(), bytes.size());
}

void SimulatedHandset::stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (!m_devicePath.isEmpty() && QFileInfo(m_devicePath).isSymLink())
        QFile::remove(m_devicePath);
    m_devicePath.clear();
    if (m_keepAlive != -1)
        ::close(m_keepAlive);
    if (m_master != -1)
        ::close(m_master);
    m_keepAlive = m_master = -1;
}

bool SimulatedHandset::createDriverBundle(const QString& path, const QString& version, QString* error)
{
    const QString contents = path + QStringLiteral("/Contents");
    if (!QDir().mkpath(contents)) {
        if (error)
            *error = QStringLiteral("Couldn't make %1").arg(contents);
        return false;
    }
    PropertyList plist;
    plist.setRoot(plist.addDictionary(
        {{plist.addString(QStringLiteral("CFBundleIdentifier")),
          plist.addString(QStringLiteral("jp.edgemarks.simulated-driver"))},
         {plist.addString(QStringLiteral("CFBundleShortVersionString")), plist.addString(version)}}));
    const QByteArray xml = plist.toXml();
    QFile file(contents + QStringLiteral("/Info.plist"));
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(xml) == xml.size();
    if (!ok && error)
        *error = QStringLiteral("Couldn't write %1").arg(file.fileName());
    return ok;
}

void SimulatedHandset::setPassword(const QString& password)
{
    std::lock_guard lock(m_mutex);
    m_password = password;
}

void SimulatedHandset::setFaults(const Faults& faults)
{
    std::lock_guard lock(m_mutex);
    m_faults = faults;
    m_probesNG = faults.probesAnsweredNG;
}

void SimulatedHandset::setBookmarks(const QList<Bookmark>& bookmarks)
{
    std::lock_guard lock(m_mutex);
    m_bookmarks = bookmarks;
}

QList<SimulatedHandset::Bookmark> SimulatedHandset::bookmarks() const
{
    std::lock_guard lock(m_mutex);
    return m_bookmarks;
}

void SimulatedHandset::setFiles(const QList<File>& files)
{
    std::lock_guard lock(m_mutex);
    m_files = files;
}

QList<SimulatedHandset::File> SimulatedHandset::files() const
{
    std::lock_guard lock(m_mutex);
    return m_files;
}

void SimulatedHandset::setEntryPayloads(const QList<QByteArray>& payloads)
{
    std::lock_guard lock(m_mutex);
    m_entryPayloads = payloads;
}

void SimulatedHandset::setDirectoryPayloads(const QList<QByteArray>& payloads)
{
    std::lock_guard lock(m_mutex);
    m_directoryPayloads = payloads;
}

void SimulatedHandset::loadSampleContent()
{
    setBookmarks({
        {QStringLiteral("Yahoo! JAPAN"), QStringLiteral("http://mobile.yahoo.co.jp/"), 0, 0},
        {QStringLiteral("Google"), QStringLiteral("http://www.google.co.jp/m"), 1, 0},
        {QStringLiteral("天気予報"), QStringLiteral("http://weather.example.jp/i/"), 2, 1},
        {QStringLiteral("乗換案内"), QStringLiteral("http://transit.example.jp/"), 3, 1},
        {QStringLiteral("ニュース速報"), QStringLiteral("http://news.example.jp/headlines"), 4, 2},
        {QStringLiteral("Wikipedia"), QStringLiteral("http://ja.m.wikipedia.org/"), 5, 3},
    });
    setFiles(sampleFiles());
}

void SimulatedHandset::setRecordingFrames(bool on)
{
    std::lock_guard lock(m_mutex);
    m_recording = on;
}

qint64 SimulatedHandset::frameCount() const
{
    std::lock_guard lock(m_mutex);
    return m_frameCount;
}

QList<QByteArray> SimulatedHandset::receivedFrames(int atLeast, int waitMs) const
{
    std::unique_lock lock(m_mutex);
    if (atLeast > 0)
        m_framesChanged.wait_for(lock, std::chrono::milliseconds(waitMs),
                                 [&] { return m_received.size() >= atLeast; });
    return m_received;
}

void SimulatedHandset::clearReceivedFrames()
{
    std::lock_guard lock(m_mutex);
    m_received.clear();
    m_recordedBytes = 0;
}

int SimulatedHandset::probeCount() const
{
    std::lock_guard lock(m_mutex);
    return m_probes;
}

void SimulatedHandset::serve()
{
    QByteArray pending;
    char chunk[65536];
    while (!m_stop && !m_hungUp) {
        struct pollfd p {
            m_master, POLLIN, 0
        };
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const ssize_t n = ::read(m_master, chunk, sizeof chunk);
        if (n <= 0) {
            if (n == -1 && errno == EINTR)
                continue;
            sleepMs(10);
            continue;
        }
        pending.append(chunk, n);
        int pause = 0;
        {
            std::lock_guard lock(m_mutex);
            pause = m_faults.pauseMs;
        }
        if (pause > 0)
            sleepMs(pause);
        // Split the stream into command frames; anything before E1 01 is dropped.
        for (;;) {
            const qsizetype start = pending.indexOf("\xE1\x01");
            if (start < 0) {
                pending = pending.right(pending.endsWith('\xE1') ? 1 : 0);
                break;
            }
            pending.remove(0, start);
            if (pending.size() < HeaderLength)
                break;
            const qint64 total = qint64(le32(pending, 4)) + 8;
            if (total < HeaderLength) {
                pending.remove(0, 2); // not a frame we can follow
                continue;
            }
            if (pending.size() < total) {
                // A big frame arrives in many reads: room for all of it at once.
                if (total > pending.capacity())
                    pending.reserve(total);
                break;
            }
            // The usual case, one whole frame and nothing after it, is taken
            // without a copy.
            QByteArray frame;
            if (pending.size() == total) {
                frame = std::move(pending);
                pending = QByteArray();
            } else {
                frame = pending.left(total);
                pending.remove(0, total);
            }
            handle(frame);
            if (m_hungUp)
                break;
        }
    }
}

const SimulatedHandset::Route SimulatedHandset::Routes[] = {
    {0x101, &SimulatedHandset::probe},       {0x201, &SimulatedHandset::password},
    {0x102, &SimulatedHandset::logout},      {0x801, &SimulatedHandset::bookmarkCount},
    {0x802, &SimulatedHandset::readEntries}, {0x910, &SimulatedHandset::acknowledge},
    {0x804, &SimulatedHandset::uploadStep},  {0x805, &SimulatedHandset::replaceList},
    {0x803, &SimulatedHandset::takeEntry},   {0x806, &SimulatedHandset::uploadStep},
    {0x601, &SimulatedHandset::fileCount},   {0x607, &SimulatedHandset::readDirectory},
    {0x602, &SimulatedHandset::download},    {0x603, &SimulatedHandset::upload},
};

void SimulatedHandset::handle(const QByteArray& frame)
{
    const int command = (uchar(frame[2]) << 8) | uchar(frame[3]);
    const int sub = (uchar(frame[9]) << 8) | uchar(frame[11]);
    // The parameter in place: nothing below keeps it beyond this call.
    const QByteArray param =
        QByteArray::fromRawData(frame.constData() + HeaderLength, frame.size() - HeaderLength);

    std::optional<Answer> answer;
    {
        std::lock_guard lock(m_mutex);
        record(frame);
        if (m_faults.silentAfter >= 0 && m_frameCount > m_faults.silentAfter)
            return;
        const auto route = std::find_if(std::begin(Routes), std::end(Routes),
                                        [sub](const Route& r) { return r.subCommand == sub; });
        answer = route == std::end(Routes) ? Answer{command, sub, {"NG"}}
                                           : (this->*(route->handler))(command, sub, param);
    }
    if (!answer)
        return;
    if (answer->parts.size() == 1) {
        reply(answer->command, answer->subCommand, answer->parts.first());
        return;
    }
    // A download: name TAB type TAB content, the content written from where it is.
    const QList<QByteArray>& p = answer->parts;
    replyParts(answer->command, answer->subCommand, {p[0], "\t", p[1], "\t", p[2]});
}

void SimulatedHandset::record(const QByteArray& frame)
{
    ++m_frameCount;
    if (m_recording) {
        m_received.append(frame);
        m_recordedBytes += frame.size();
        while (m_received.size() > 1 &&
               (m_received.size() > MaxRecordedFrames || m_recordedBytes > MaxRecordedBytes)) {
            m_recordedBytes -= m_received.first().size();
            m_received.removeFirst();
        }
    }
    m_framesChanged.notify_all();
}

// The top-screen probe: "NG" while the handset shows something else.
std::optional<SimulatedHandset::Answer> SimulatedHandset::probe(int command, int sub, const QByteArray&)
{
    ++m_probes;
    if (m_probesNG != 0) {
        if (m_probesNG > 0)
            --m_probesNG;
        return Answer{command, sub, {"NG"}};
    }
    return Answer{command, sub, {m_faults.probeReply.isEmpty() ? QByteArray("OK") : m_faults.probeReply}};
}

std::optional<SimulatedHandset::Answer> SimulatedHandset::password(int command, int sub,
                                                                   const QByteArray& param)
{
    const bool right = !m_faults.refusePassword && param == sjis(m_password);
    return Answer{command, sub, {right ? "OK" : "NG"}};
}

std::optional<SimulatedHandset::Answer> SimulatedHandset::logout(int, int, const QByteArray&)
{
    m_pendingFrames.clear();
    return std::nullopt;
}

std::optional<SimulatedHandset::Answer> SimulatedHandset::bookmarkCount(int command, int sub,
                                                                        const QByteArray&)
{
    return Answer{
        command,
        sub,
        {QByteArray::number(m_entryPayloads.isEmpty() ? m_bookmarks.size() : m_entryPayloads.size())}};
}

std::optional<SimulatedHandset::Answer> SimulatedHandset::firstRecord(int listSubCommand)
{
    m_pendingSubCommand = listSubCommand;
    if (m_pendingFrames.isEmpty())
        return std::nullopt;
    return Answer{3, listSubCommand, {m_pendingFrames.takeFirst()}};
}

// The read request: entries follow, each after the previous one's acknowledgement.
std::optional<SimulatedHandset::Answer> SimulatedHandset::readEntries(int, int, const QByteArray&)
{
    m_pendingFrames = m_entryPayloads;
    if (m_entryPayloads.isEmpty())
        for (const Bookmark& b : std::as_const(m_bookmarks))
            m_pendingFrames << bookmarkEntry(b);
    return firstRecord(0x802);
}

std::optional<SimulatedHandset::Answer> SimulatedHandset::acknowledge(int, int, const QByteArray&)
{
    if (m_pendingFrames.isEmpty())
        return std::nullopt;
    return Answer{3, m_pendingSubCommand, {m_pendingFrames.takeFirst()}};
}

// The opening and closing exchanges of a bookmark upload.
std::optional<SimulatedHandset::Answer> SimulatedHandset::uploadStep(int command, int sub, const QByteArray&)
{
    return Answer{command, sub, {"0"}};
}

// The handset's list is replaced from here on.
std::optional<SimulatedHandset::Answer> SimulatedHandset::replaceList(int command, int sub, const QByteArray&)
{
    m_bookmarks.clear();
    return Answer{command, sub, {"0"}};
}

std::optional<SimulatedHandset::Answer> SimulatedHandset::takeEntry(int command, int sub,
                                                                    const QByteArray& param)
{
    if (m_faults.refuseEntries)
        return Answer{command, sub, {"1"}};
    storeEntry(param);
    return Answer{command, sub, {m_faults.entryReply.isEmpty() ? QByteArray("0") : m_faults.entryReply}};
}

std::optional<SimulatedHandset::Answer> SimulatedHandset::fileCount(int command, int sub, const QByteArray&)
{
    return Answer{
        command,
        sub,
        {QByteArray::number(m_directoryPayloads.isEmpty() ? m_files.size() : m_directoryPayloads.size())}};
}

std::optional<SimulatedHandset::Answer> SimulatedHandset::readDirectory(int, int, const QByteArray&)
{
    m_pendingFrames = m_directoryPayloads;
    if (m_directoryPayloads.isEmpty())
        for (const File& f : std::as_const(m_files))
            m_pendingFrames << directoryRecord(f);
    return firstRecord(0x607);
}

// The download of name TAB type TAB NUL: the name and type echoed, then the content.
std::optional<SimulatedHandset::Answer> SimulatedHandset::download(int command, int sub,
                                                                   const QByteArray& param)
{
    if (!m_faults.downloadPayload.isEmpty())
        return Answer{command, sub, {m_faults.downloadPayload}};
    const QList<QByteArray> parts = param.split('\t');
    if (parts.size() >= 3)
        for (const File& f : std::as_const(m_files))
            if (sjis(f.name) == parts[0] && sjis(f.type) == parts[1])
                return Answer{
                    command, sub, {parts[0], parts[1], f.content}}; // the content shared, not copied
    return Answer{command, sub, {"NG"}};
}

// The upload of name TAB type TAB content; there is no reply.
std::optional<SimulatedHandset::Answer> SimulatedHandset::upload(int, int, const QByteArray& param)
{
    const qsizetype tab1 = param.indexOf('\t');
    const qsizetype tab2 = tab1 < 0 ? -1 : param.indexOf('\t', tab1 + 1);
    if (tab2 < 0)
        return std::nullopt;
    File f;
    f.name = ShiftJIS::decode(param.left(tab1)).value_or(QString());
    f.type = ShiftJIS::decode(param.mid(tab1 + 1, tab2 - tab1 - 1)).value_or(QString());
    f.content = param.mid(tab2 + 1);
    f.date = QDateTime::currentDateTime();
    m_files.removeIf([&](const File& o) { return o.name == f.name && o.type == f.type; });
    m_files.append(f);
    return std::nullopt;
}

QByteArray SimulatedHandset::bookmarkEntry(const Bookmark& b) const
{
    QByteArray entry("\x1C");
    auto field = [&entry](char type, const QByteArray& data) {
        entry.append('\x1E').append(type).append('\x02');
        appendLe32(entry, quint32(data.size()));
        entry.append(data);
    };
    field(1, sjis(b.name));
    field(2, sjis(b.location));
    field(3, QByteArray::number(b.number).rightJustified(2, '0'));
    field(4, QByteArray::number(b.folder).rightJustified(2, '0'));
    return entry;
}

void SimulatedHandset::storeEntry(const QByteArray& payload)
{
    // 1C, then fields 1E type 02 length(4) data.
    Bookmark b;
    qsizetype at = 1;
    while (at + 7 <= payload.size() && payload[at] == '\x1E') {
        const int type = payload[at + 1];
        const quint32 length = le32(payload, int(at + 3));
        if (at + 7 + qint64(length) > payload.size())
            break;
        const QByteArray data = payload.mid(at + 7, length);
        switch (type) {
        case 1:
            b.name = ShiftJIS::decode(data).value_or(QString());
            break;
        case 2:
            b.location = ShiftJIS::decode(data).value_or(QString());
            break;
        case 3:
            b.number = data.toInt();
            break;
        case 4:
            b.folder = data.toInt();
            break;
        default:
            break;
        }
        at += 7 + length;
    }
    m_bookmarks.append(b);
}

QByteArray SimulatedHandset::directoryRecord(const File& f) const
{
    QByteArray record = sjis(f.name) + '\t' + sjis(f.type) + '\t' + QByteArray::number(f.content.size());
    if (f.date.isValid())
        record += '\t' + f.date.toString(QStringLiteral("yyyy/MM/dd/HH/mm")).toLatin1();
    return record;
}

void SimulatedHandset::writeAll(const char* data, qsizetype length)
{
    int pause = 0;
    {
        std::lock_guard lock(m_mutex);
        pause = m_faults.pauseMs;
    }
    while (length > 0 && !m_hungUp && !m_stop) {
        // A slow handset sends long replies a piece at a time.
        const ssize_t n =
            ::write(m_master, data, size_t(pause > 0 ? std::min<qsizetype>(length, 4096) : length));
        if (n > 0 && pause > 0)
            sleepMs(pause);
        if (n > 0 && n < length && pause == 0) {
            // The line is full: wait for room rather than be told so by another write.
            struct pollfd p {
                m_master, POLLOUT, 0
            };
            ::poll(&p, 1, 50);
        }
        if (n == -1) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN) {
                struct pollfd p {
                    m_master, POLLOUT, 0
                };
                ::poll(&p, 1, 50);
                continue;
            }
            return;
        }
        data += n;
        length -= n;
    }
}

void SimulatedHandset::replyParts(int command, int subCommand, std::initializer_list<QByteArrayView> parts)
{
    Faults faults;
    {
        std::lock_guard lock(m_mutex);
        faults = m_faults;
    }
    const bool plain = faults.pauseMs == 0 && faults.wrongEcho != subCommand &&
                       faults.wrongLengthOn != subCommand && faults.emptyPayloadOn != subCommand &&
                       faults.noise.isEmpty() && faults.hangUpOn != subCommand && !faults.splitHeader;
    if (!plain) {
        QByteArray payload;
        for (QByteArrayView part : parts)
            payload.append(part);
        reply(command, subCommand, payload);
        return;
    }
    qint64 length = 4;
    for (QByteArrayView part : parts)
        length += part.size();
    QByteArray header("\xE1\x02", 2);
    header.append(char(command >> 8)).append(char(command));
    appendLe32(header, quint32(length));
    header.append('\0').append(char(subCommand >> 8)).append('\0').append(char(subCommand));
    writeAll(header.constData(), header.size());
    for (QByteArrayView part : parts)
        writeAll(part.data(), part.size());
}

void SimulatedHandset::reply(int command, int subCommand, const QByteArray& payload)
{
    Faults faults;
    {
        std::lock_guard lock(m_mutex);
        faults = m_faults;
    }
    if (faults.pauseMs > 0)
        sleepMs(faults.pauseMs);
    if (faults.wrongEcho == subCommand)
        ++subCommand;
    const bool wrongLength = faults.wrongLengthOn == subCommand;
    const bool empty = wrongLength || faults.emptyPayloadOn == subCommand;
    const quint32 length = wrongLength ? faults.wrongLength : quint32((empty ? 0 : payload.size()) + 4);
    QByteArray frame("\xE1\x02", 2);
    frame.append(char(command >> 8)).append(char(command));
    appendLe32(frame, length);
    frame.append('\0').append(char(subCommand >> 8)).append('\0').append(char(subCommand));
    if (!empty)
        frame.append(payload);

    if (!faults.noise.isEmpty())
        writeAll(faults.noise.constData(), faults.noise.size());
    if (faults.hangUpOn != 0 && faults.hangUpOn == subCommand) {
        writeAll(frame.constData(), frame.size() / 2);
        // Hang up: without any slave of ours, the far end's reads fail from here on.
        m_hungUp = true;
        ::close(m_keepAlive);
        ::close(m_master);
        m_keepAlive = m_master = -1;
        return;
    }
    if (faults.splitHeader) {
        for (int at : {0, 1, 5}) {
            const int end = at == 0 ? 1 : at == 1 ? 5 : HeaderLength;
            writeAll(frame.constData() + at, end - at);
            sleepMs(15);
        }
        writeAll(frame.constData() + HeaderLength, frame.size() - HeaderLength);
        return;
    }
    writeAll(frame.constData(), frame.size());
}
