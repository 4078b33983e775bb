#include "handset/VedORovav.h"

#include "handset/BookmarkEntry.h"
#include "handset/ProtocolLog.h"
#include "handset/SerialPort.h"

#include <QCoreApplication>
#include <QScopeGuard>

namespace
{
constexpr int BufferLength = 4096;
}

bool VedORovav::transfer(ProgressProtocol& progress, double maxValue, const QString& message,
                         const QString& password, const std::function<void()>& work,
                         const std::function<void()>& finish)
{
    progress.openProgressForWindow(m_parentWindow, maxValue, message);
    // However the conversation ends: the sheet closed, the logout, the port given back.
    const auto cleanUp = qScopeGuard([&] {
        progress.closeProgress();
        close();
    });
    std::optional<VedORovavException> failure;
    auto fail = [&](const VedORovavException& e) {
        failure = e;
        ProtocolLog::shared().step(ProtocolLog::Kind::Error,
                                   e.details().isEmpty() ? e.reason()
                                                         : e.reason() + QLatin1Char(' ') + e.details());
        progress.notifyException(e);
    };
    bool loggedIn = false;
    try {
        open();
        loggedIn = loginWithPassword(password);
        if (loggedIn)
            work();
    } catch (const VedORovavException& e) {
        fail(e);
    }
    if (finish) {
        try {
            Uncancellable closing(m_frames);
            finish();
        } catch (const VedORovavException& e) {
            // The first failure is the one the user needs to see.
            if (!failure)
                fail(e);
        }
    }
    if (failure)
        throw *failure;
    // Nothing is left unanswered: the next conversation need not wait for a quiet line.
    if (auto* port = dynamic_cast<SerialPort*>(m_stream.get()))
        port->endsInStep();
    return loggedIn;
}

int VedORovav::queryCount(int subCommand)
{
    const FrameChannel::Reply reply = m_frames.request(2, subCommand, "", 0);
    return FrameChannel::parseCount(reply.payload.constData(), int(reply.payload.size()));
}

int VedORovav::readRecords(int countSubCommand, int listSubCommand, int maxLength, bool emptyIsIllegal,
                           ProgressProtocol& progress, const std::function<void(const QByteArray&)>& take)
{
    const int count = queryCount(countSubCommand);
    if (count <= 0)
        return count;
    sendCommand(3, listSubCommand, "");
    for (int i = 0; i < count; ++i) {
        progress.updateProgressDoubleValue(double(i + 1) / double(count));
        const FrameChannel::Reply record = m_frames.receiveReply(maxLength);
        record.expect(3, listSubCommand);
        if (emptyIsIllegal && record.payload.isEmpty())
            throw VedORovavException(IllegalFormat);
        sendCommand(0x10, 0x910, "0");
        take(record.payload);
    }
    return count;
}

bool VedORovav::readBookmarks(BookmarkList& bookmarks, const QString& password, ProgressProtocol& progress)
{
    m_entriesSkipped = m_entriesAnnounced = 0;
    return transfer(progress, 1.0, QString(), password, [&] {
        bookmarks.clear();
        m_entriesAnnounced =
            readRecords(0x801, 0x802, BufferLength, false, progress, [&](const QByteArray& entry) {
                const AirHBookmark* previous = bookmarks.isEmpty() ? nullptr : bookmarks.last().get();
                if (BookmarkPtr b = BookmarkEntry::decode(entry.constData(), int(entry.size()), previous))
                    bookmarks.append(b);
                else
                    ++m_entriesSkipped;
            });
    });
}
bool VedORovav::writeBookmarks(const BookmarkList& bookmarks, const QString& password,
                               ProgressProtocol& progress)
{
    m_entriesSent = 0;
    const int count = int(bookmarks.size());
    if (count > MaxBookmarks)
        throw VedORovavException(TooManyBookmarks);
    // Entries that cannot be sent whole are refused before anything is sent.
    for (const BookmarkPtr& b : bookmarks) {
        if (b->folder() < 0 || b->folder() >= FolderCount)
            continue; // never sent
        if (b->number() < 0 || b->number() > 99)
            throw VedORovavException(NumberOutOfRange);
        if (BookmarkEntry::textBytes(*b) > BookmarkEntry::MaxTextBytes)
            throw VedORovavException(BookmarkTooLong);
    }

    bool openingDone = false;
    return transfer(
        progress, double(count), QString(), password,
        [&] {
            m_frames.request(3, 0x804, "13", 2);
            // From here on the handset's own list is being replaced.
            try {
                m_frames.request(3, 0x805, "", 0);
                openingDone = true;
                int sent = 0;
                for (int f = 0; f < FolderCount; ++f) {
                    for (const BookmarkPtr& b : bookmarks) {
                        progress.updateProgressDoubleValue(double(sent + 1));
                        if (b->folder() != f)
                            continue;
                        const QByteArray entry = BookmarkEntry::encode(*b, f);
                        if (!m_frames.request(3, 0x803, entry.constData(), int(entry.size())).startsWith("0"))
                            throw VedORovavException(NoSuccessCode);
                        m_entriesSent = ++sent;
                    }
                }
            } catch (const VedORovavException& e) {
                throw e.withDetails(QCoreApplication::translate(
                    "VedORovav", "The AIR-EDGE PHONE may now hold only part of the list."));
            }
        },
        [&] {
            if (!openingDone)
                return;
            openingDone = false;
            m_frames.request(3, 0x806, "", 0);
        });
}
