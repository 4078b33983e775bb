#include "handset/VedORovav.h"

#include "handset/BookmarkEntry.h"
#include "handset/HandsetCheck.h"
#include "handset/HandsetLimits.h"

#include <QCoreApplication>

namespace
{
constexpr int BufferLength = 4096;
}

bool VedORovav::readBookmarks(BookmarkList& bookmarks, const QString& password, ProgressProtocol& progress)
{
    m_entriesSkipped = m_entriesAnnounced = 0;
    return transfer(progress, 1.0, QString(), password, [&] { readBookmarkEntries(bookmarks, progress); });
}

void VedORovav::readBookmarkEntries(BookmarkList& bookmarks, ProgressProtocol& progress)
{
    m_entriesSkipped = m_entriesAnnounced = 0;
    bookmarks.clear();
    m_entriesAnnounced = readRecords(0x801, 0x802, BufferLength, false, progress, [&](const QByteArray& entry) {
        const AirHBookmark* previous = bookmarks.isEmpty() ? nullptr : bookmarks.last().get();
        if (BookmarkPtr b = BookmarkEntry::decode(entry.constData(), int(entry.size()), previous))
            bookmarks.append(b);
        else
            ++m_entriesSkipped;
    });
}
bool VedORovav::writeBookmarks(const BookmarkList& bookmarks, const QString& password,
                               ProgressProtocol& progress)
{
    m_entriesSent = 0;
    const int count = int(bookmarks.size());
    if (count > HandsetLimits::MaxBookmarks)
        throw VedORovavException(LinkTexts::TooManyBookmarks);
    // Entries that cannot be sent whole are refused before anything is sent; each
    // text is converted once, for the check and for the entry that goes out.
    QList<QByteArray> entries;
    entries.reserve(count);
    for (const BookmarkPtr& b : bookmarks) {
        HandsetCheck::Texts texts;
        const HandsetCheck::Record r = HandsetCheck::examine(*b, &texts);
        if (r.has(HandsetCheck::Kind::FolderOutOfRange)) {
            entries << QByteArray(); // never sent
            continue;
        }
        if (r.has(HandsetCheck::Kind::NumberOutOfRange))
            throw VedORovavException(LinkTexts::NumberOutOfRange);
        if (r.has(HandsetCheck::Kind::TooLong))
            throw VedORovavException(LinkTexts::BookmarkTooLong);
        entries << BookmarkEntry::encode(texts.name, texts.location, b->number(), b->folder());
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
                    for (int i = 0; i < count; ++i) {
                        progress.updateProgressDoubleValue(double(sent + 1));
                        if (bookmarks.at(i)->folder() != f)
                            continue;
                        const QByteArray& entry = entries.at(i);
                        try {
                            if (!m_frames.request(3, 0x803, entry.constData(), int(entry.size()))
                                     .startsWith("0"))
                                throw VedORovavException(LinkTexts::NoSuccessCode);
                        } catch (const VedORovavException& e) {
                            // Which bookmark it was.
                            const BookmarkPtr& b = bookmarks.at(i);
                            throw e.withDetails(
                                QCoreApplication::translate("VedORovav", "While writing “%1” (memory %2).")
                                    .arg(b->bookmarkName().left(60))
                                    .arg(b->number()));
                        }
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
