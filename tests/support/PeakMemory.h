#pragma once

#include <QFile>
#include <QTest>

// The process's own high-water mark of resident memory, measured around a call:
// the mark is lowered to what is resident now, the call runs, and how far the
// mark rose is what the call cost at its peak (in bytes).
class PeakMemory
{
public:
    PeakMemory()
    {
        QFile reset("/proc/self/clear_refs");
        // "5" lowers the mark to the current size (Linux 4.0 and later).
        m_valid = reset.open(QIODevice::WriteOnly) && reset.write("5") == 1;
        reset.close();
        m_start = field("VmHWM:");
    }
    bool valid() const { return m_valid && m_start > 0; }
    qint64 rise() const { return std::max<qint64>(0, field("VmHWM:") - m_start); }

private:
    static qint64 field(const char* name)
    {
        QFile status("/proc/self/status");
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith(name))
                return line.mid(qsizetype(qstrlen(name))).trimmed().split(' ').first().toLongLong() * 1024;
        return -1;
    }
    bool m_valid = false;
    qint64 m_start = 0;
};

// What a reader of a file of this size may cost at its peak.
inline qint64 memoryBoundFor(qint64 fileSize)
{
    return 8 * fileSize + (qint64(32) << 20);
}
