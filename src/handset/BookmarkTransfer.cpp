#include "VedORovav.h"

#include "BookmarkEntry.h"
#include "ProtocolLog.h"

#include <QCoreApplication>

namespace
{
constexpr int BufferLength = 4096;
}

bool VedORovav::transfer(ProgressProtocol& progress, double maxValue, const QString& message,
                         const QString& password, const std::function<void()>& work,
                         const std::function<void()>& finish)
{
    progress.openProgressForWindow(m_parentWindow, maxValue, message);
    auto cleanUp = [&] {
        progress.closeProgress();
        close();
    };
    bool loggedIn = false;
    try {
        open();
        loggedIn = loginWithPassword(password);
        if (loggedIn)
            work();
    } catch (const VedORovavException& e) {
        ProtocolLog::shared().step(ProtocolLog::Kind::Error,
                                   e.details().isEmpty() ? e.reason()
                                                         : e.reason() + QLatin1Char(' ') + e.details());
        progress.notifyException(e);
        if (finish) {
            try {
                Uncancellable closing(*this);
                finish();
            } catch (...) {
                // The first failure is the one the user needs to see.
            }
        }
        cleanUp();
        throw;
    } catch (...) {
        cleanUp();
        throw;
    }
    if (finish) {
        try {
            Uncancellable closing(*this);
            finish();
        } catch (const VedORovavException& e) {
            ProtocolLog::shared().step(ProtocolLog::Kind::Error, e.reason());
            progress.notifyException(e);
            cleanUp();
            throw;
        }
    }
    cleanUp();
    return loggedIn;
}

int VedORovav::queryCount(int subCommand)
{
    char buffer[BufferLength];
    sendCommand(2, subCommand, "");
    const int total = receiveData(buffer, BufferLength, true);
    expectEcho(buffer, 2, subCommand);
    return parseCount(buffer + 12, std::min(total, BufferLength) - 12);
}

bool VedORovav::readBookmarks(BookmarkList& bookmarks, const QString& password, ProgressProtocol& progress)
{
    m_entriesSkipped = m_entriesAnnounced = 0;
    return transfer(progress, 1.0, QString(), password, [&] {
        bookmarks.clear();
        const int count = queryCount(0x801);
        m_entriesAnnounced = count;
        if (count <= 0)
            return;
        sendCommand(3, 0x802, "");
        for (int i = 0; i < count; ++i) {
            progress.updateProgressDoubleValue(double(i + 1) / double(count));
            char buffer[BufferLength];
            const int total = receiveData(buffer, BufferLength, true);
            if (buffer[3] != 0x03 || buffer[9] != 0x08 || buffer[11] != 0x02)
                throw VedORovavException(IllegalFormat);
            sendCommand(0x10, 0x910, "0");
            const AirHBookmark* previous = bookmarks.isEmpty() ? nullptr : bookmarks.last().get();
            if (BookmarkPtr b =
                    BookmarkEntry::decode(buffer + 12, std::min(total, BufferLength) - 12, previous))
                bookmarks.append(b);
            else
                ++m_entriesSkipped;
        }
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
    char buffer[BufferLength];
    return transfer(
        progress, double(count), QString(), password,
        [&] {
            sendCommand(3, 0x804, "13");
            receiveData(buffer, BufferLength, true);
            expectEcho(buffer, 3, 0x804);
            // From here on the handset's own list is being replaced.
            try {
                sendCommand(3, 0x805, "");
                receiveData(buffer, BufferLength, true);
                expectEcho(buffer, 3, 0x805);
                openingDone = true;
                int sent = 0;
                for (int f = 0; f < FolderCount; ++f) {
                    for (const BookmarkPtr& b : bookmarks) {
                        progress.updateProgressDoubleValue(double(sent + 1));
                        if (b->folder() != f)
                            continue;
                        const QByteArray entry = BookmarkEntry::encode(*b, f);
                        sendCommand(3, 0x803, entry.constData(), int(entry.size()));
                        receiveData(buffer, BufferLength, true);
                        expectEcho(buffer, 3, 0x803);
                        if (buffer[12] != 0x30)
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
            sendCommand(3, 0x806, "");
            receiveData(buffer, BufferLength, true);
            expectEcho(buffer, 3, 0x806);
        });
}
