#include "handset/VedORovav.h"

#include "handset/BookmarkEntry.h"
#include "handset/HandsetLimits.h"

#include <QCoreApplication>

namespace
{
constexpr int BufferLength = 4096;
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
    if (count > HandsetLimits::MaxBookmarks)
        throw VedORovavException(LinkTexts::TooManyBookmarks);
    // Entries that cannot be sent whole are refused before anything is sent.
    for (const BookmarkPtr& b : bookmarks) {
        if (b->folder() < 0 || b->folder() >= HandsetLimits::FolderCount)
            continue; // never sent
        if (b->number() < 0 || b->number() > 99)
            throw VedORovavException(LinkTexts::NumberOutOfRange);
        if (BookmarkEntry::textBytes(*b) > BookmarkEntry::MaxTextBytes)
            throw VedORovavException(LinkTexts::BookmarkTooLong);
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
                for (int f = 0; f < HandsetLimits::FolderCount; ++f) {
                    for (const BookmarkPtr& b : bookmarks) {
                        progress.updateProgressDoubleValue(double(sent + 1));
                        if (b->folder() != f)
                            continue;
                        const QByteArray entry = BookmarkEntry::encode(*b, f);
                        if (!m_frames.request(3, 0x803, entry.constData(), int(entry.size())).startsWith("0"))
                            throw VedORovavException(LinkTexts::NoSuccessCode);
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
