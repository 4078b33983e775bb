#include "support/MemoryStream.h"

#include <QThread>

#include <cerrno>
#include <cstring>

bool MemoryStream::waitReadable(int timeoutMs)
{
    ++m_calls->waits;
    if (unread() > 0 || m_hungUpAtEnd)
        return true;
    // A silent line: the whole wait passes (in pieces the caller chose).
    QThread::msleep(timeoutMs < 0 ? 100 : ulong(timeoutMs));
    return false;
}

bool MemoryStream::waitWritable(int)
{
    ++m_calls->waits;
    return true;
}

qint64 MemoryStream::read(char* buffer, qint64 maxLength)
{
    ++m_calls->reads;
    if (unread() == 0) {
        if (m_hungUpAtEnd)
            return 0;
        errno = EAGAIN;
        return -1;
    }
    qint64 n = std::min(maxLength, unread());
    if (m_readPiece > 0)
        n = std::min(n, m_readPiece);
    std::memcpy(buffer, m_input.constData() + m_readPosition, size_t(n));
    m_readPosition += n;
    // What was read is no longer kept once a good deal of it piled up.
    if (m_readPosition > (1 << 20) && m_readPosition * 2 > m_input.size()) {
        m_input.remove(0, m_readPosition);
        m_readPosition = 0;
    }
    return n;
}

qint64 MemoryStream::write(const char* data, qint64 length)
{
    ++m_calls->writes;
    if (!m_writeErrors.isEmpty()) {
        errno = m_writeErrors.takeFirst();
        return -1;
    }
    const qint64 n = m_writePiece > 0 ? std::min(length, m_writePiece) : length;
    m_written.append(data, n);
    if (m_responder)
        answerFrames();
    return n;
}

void MemoryStream::answerFrames()
{
    // Command frames: E1 01, command (2), length (4, little endian, counting the
    // 4 bytes of the sub-command field and the parameter), sub-command (4).
    while (m_written.size() - m_framePosition >= 8) {
        const auto* h = reinterpret_cast<const uchar*>(m_written.constData() + m_framePosition);
        const qint64 length = qint64(h[4]) | qint64(h[5]) << 8 | qint64(h[6]) << 16 | qint64(h[7]) << 24;
        const qint64 total = 8 + std::max<qint64>(length, 4);
        if (m_written.size() - m_framePosition < total)
            return;
        const QByteArray frame = m_written.mid(m_framePosition, total);
        m_framePosition += total;
        feed(m_responder(frame));
    }
}
