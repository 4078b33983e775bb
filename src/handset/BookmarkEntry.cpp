#include "handset/BookmarkEntry.h"

#include "handset/ShiftJIS.h"

#include <cstring>

namespace {

QByteArray sjisOrEmpty(const QString& text)
{
    return ShiftJIS::encode(text).value_or(QByteArray());
}

// The text of a field: its data up to the first zero byte, from Shift_JIS; bytes
// that do not decode give no text.
QString fieldText(const char* data, int length)
{
    const void* zero = std::memchr(data, 0, size_t(length));
    const int n = zero ? int(static_cast<const char*>(zero) - data) : length;
    return ShiftJIS::decode(data, n).value_or(QString());
}

void appendField(QByteArray& entry, char type, const QByteArray& data)
{
    const quint32 n = quint32(data.size());
    entry.append('\x1E').append(type).append('\x02');
    entry.append(char(n)).append(char(n >> 8)).append(char(n >> 16)).append(char(n >> 24));
    entry.append(data);
}

QByteArray twoDigits(int v)
{
    const int tens = v / 10;
    return QByteArray() + char('0' + tens) + char('0' + (v - 10 * tens));
}

} // namespace

int BookmarkEntry::parseInteger(const char* text, int length)
{
    int i = 0;
    while (i < length && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    qint64 value = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > qint64(1) << 32)
            value = qint64(1) << 32; // saturate; the low bits are meaningless beyond int anyway
    }
    return int(qint32(negative ? -value : value));
}

BookmarkPtr BookmarkEntry::decode(const char* payload, int length, const AirHBookmark* previous)
{
    struct Slot {
        int at = -1;
        int length = 0;
    } found[5];
    auto type = [&](int pos) { return pos + 1 < length ? int(uchar(payload[pos + 1])) : 0; };

    int pos = 1; // the first field, after the entry start
    if (type(pos) < 1 || type(pos) > 4)
        return nullptr;
    for (;;) {
        if (pos + 7 > length)
            return nullptr; // the field's header lies past the payload
        const int t = type(pos);
        const auto* b = reinterpret_cast<const uchar*>(payload + pos);
        quint32 n = quint32(b[3]) | quint32(b[4]) << 8 | quint32(b[5]) << 16 | quint32(b[6]) << 24;
        if (b[3] == 0 && b[4] == 0 && b[5] == 0 && b[6] == 1)
            n = b[2]; // the short form: the length is the byte before
        if (n > quint32(length - pos - 7))
            return nullptr; // the data would run past the payload
        found[t] = {pos + 7, int(n)};
        pos += 7 + int(n);

        const bool name = found[1].at >= 0, location = found[2].at >= 0, number = found[3].at >= 0,
                   folder = found[4].at >= 0;
        if (location && number && folder) {
            auto record = std::make_shared<AirHBookmark>();
            const QString locationText = fieldText(payload + found[2].at, found[2].length);
            if (!name) {
                // An entry without a name takes its location as name and the folder of
                // the bookmark before it.
                record->setBookmarkName(locationText);
                record->setFolder(previous ? previous->folder() : 0);
            } else {
                record->setBookmarkName(fieldText(payload + found[1].at, found[1].length));
                record->setFolder(parseInteger(payload + found[4].at, found[4].length));
            }
            record->setLocation(locationText);
            record->setNumber(parseInteger(payload + found[3].at, found[3].length));
            return record;
        }
        if (type(pos) < 1 || type(pos) > 4)
            return nullptr;
    }
}

QByteArray BookmarkEntry::encode(const AirHBookmark& bookmark, int folder)
{
    return encode(sjisOrEmpty(bookmark.bookmarkName()), sjisOrEmpty(bookmark.location()), bookmark.number(),
                  folder);
}

QByteArray BookmarkEntry::encode(const QByteArray& name, const QByteArray& location, int number, int folder)
{
    QByteArray entry;
    entry.reserve(40 + name.size() + location.size());
    entry.append('\x1C');
    appendField(entry, 1, name);
    appendField(entry, 2, location);
    appendField(entry, 3, twoDigits(number));
    appendField(entry, 4, twoDigits(folder));
    return entry;
}
