#include "handset/ProtocolLog.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace
{
const char* kindName(ProtocolLog::Kind kind)
{
    switch (kind) {
    case ProtocolLog::Kind::Open:
        return "open";
    case ProtocolLog::Kind::Setting:
        return "setting";
    case ProtocolLog::Kind::Close:
        return "close";
    case ProtocolLog::Kind::Sent:
        return "sent";
    case ProtocolLog::Kind::Received:
        return "received";
    case ProtocolLog::Kind::Skipped:
        return "skipped";
    case ProtocolLog::Kind::Note:
        return "note";
    case ProtocolLog::Kind::Error:
        return "error";
    }
    return "";
}

// Sixteen bytes a line: offset, hex, and the printable ASCII characters.
void appendDump(QString& out, const ProtocolLog::Entry& e)
{
    for (qsizetype line = 0; line < e.bytes.size(); line += 16) {
        QString hex, text;
        for (qsizetype i = line; i < line + 16; ++i) {
            if (i >= e.bytes.size()) {
                hex += QLatin1String("   ");
                continue;
            }
            if (e.maskedFrom >= 0 && i >= e.maskedFrom) {
                hex += QLatin1String("** ");
                text += QLatin1Char('*');
                continue;
            }
            const uchar c = uchar(e.bytes[i]);
            hex += QStringLiteral("%1 ").arg(c, 2, 16, QLatin1Char('0')).toUpper();
            text += (c >= 0x20 && c < 0x7F) ? QLatin1Char(char(c)) : QLatin1Char('.');
        }
        out += QStringLiteral("    %1  %2 |%3|\n").arg(line, 4, 16, QLatin1Char('0')).arg(hex, text);
    }
    if (e.size > e.bytes.size())
        out += QStringLiteral("    ... %1 more bytes\n").arg(e.size - e.bytes.size());
}
} // namespace

ProtocolLog::~ProtocolLog()
{
    if (m_trace)
        m_trace->commit();
}

void ProtocolLog::step(Kind kind, const QString& text)
{
    Entry e;
    e.kind = kind;
    e.text = text;
    add(std::move(e));
}

void ProtocolLog::frame(Kind kind, const QByteArray& bytes, qint64 size, int maskedFrom)
{
    Entry e;
    e.kind = kind;
    e.bytes = bytes.left(MaxBytesPerEntry);
    if (maskedFrom >= 0 && maskedFrom < e.bytes.size())
        std::fill(e.bytes.begin() + maskedFrom, e.bytes.end(), '\0');
    e.size = std::max<qint64>(size, e.bytes.size());
    e.maskedFrom = maskedFrom;
    e.frame = kind != Kind::Skipped && bytes.size() >= 12;
    add(std::move(e));
}

void ProtocolLog::data(Kind kind, const char* bytes, qint64 size)
{
    if (size <= 0)
        return;
    {
        std::lock_guard lock(m_mutex);
        // A file's content arrives in many pieces: the first entry keeps the first
        // bytes and counts the rest.
        if (!m_trace && !m_entries.empty()) {
            Entry& last = m_entries.back();
            if (last.kind == kind && !last.frame && last.text.isEmpty() &&
                last.bytes.size() >= 256) {
                last.size += size;
                return;
            }
        }
    }
    Entry e;
    e.kind = kind;
    e.bytes = QByteArray(bytes, qsizetype(std::min<qint64>(size, 256)));
    e.size = size;
    add(std::move(e));
}

void ProtocolLog::add(Entry&& entry)
{
    entry.msecsSinceEpoch = QDateTime::currentMSecsSinceEpoch();
    std::lock_guard lock(m_mutex);
    // A trace the disk refuses stops there; closing it reports why.
    if (m_trace && m_trace->isOpen())
        m_trace->write(format(entry).toUtf8());
    m_storedBytes += entry.bytes.size() + entry.text.size() * 2;
    m_entries.push_back(std::move(entry));
    while (m_entries.size() > size_t(MaxEntries) ||
           (m_storedBytes > MaxStoredBytes && m_entries.size() > 1)) {
        m_storedBytes -= m_entries.front().bytes.size() + m_entries.front().text.size() * 2;
        m_entries.pop_front();
    }
}

std::deque<ProtocolLog::Entry> ProtocolLog::entries() const
{
    std::lock_guard lock(m_mutex);
    return m_entries;
}

void ProtocolLog::clear()
{
    std::lock_guard lock(m_mutex);
    m_entries.clear();
    m_storedBytes = 0;
}

QString ProtocolLog::format(const Entry& e)
{
    QString out =
        QDateTime::fromMSecsSinceEpoch(e.msecsSinceEpoch).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    out += QStringLiteral("  %1").arg(QLatin1String(kindName(e.kind)), -9);
    if (e.frame) {
        const auto b = [&](int i) { return uint(uchar(e.bytes[i])); };
        out += QStringLiteral("frame of %1 bytes, command 0x%2, sub-command 0x%3")
                   .arg(e.size)
                   .arg((b(2) << 8) | b(3), 4, 16, QLatin1Char('0'))
                   .arg((b(9) << 8) | b(11), 4, 16, QLatin1Char('0'));
        if (e.maskedFrom >= 0)
            out += QStringLiteral(" (password masked)");
    } else if (!e.bytes.isEmpty()) {
        out += QStringLiteral("%1 bytes").arg(e.size);
    }
    out += e.text + QLatin1Char('\n');
    appendDump(out, e);
    return out;
}

QString ProtocolLog::toText() const
{
    QString out;
    for (const Entry& e : entries())
        out += format(e);
    return out;
}

bool ProtocolLog::setTraceFile(const QString& path, QString* error)
{
    std::lock_guard lock(m_mutex);
    bool ok = true;
    if (m_trace) {
        ok = m_trace->commit();
        if (!ok && error)
            *error = m_trace->errorString();
        m_trace.reset();
    }
    if (path.isEmpty())
        return ok;
    // Only the user may read a trace: it shows what the handset holds.
    m_trace = std::make_unique<AtomicFile>();
    if (!m_trace->open(path, AtomicFile::Access::Private)) {
        if (error)
            *error = m_trace->errorString();
        m_trace.reset();
        return false;
    }
    return true;
}
