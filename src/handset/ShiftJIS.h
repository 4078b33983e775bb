#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// The one Shift_JIS codec of the handset link (Windows code page 932, with the
// NEC and IBM extensions the handset shows). Strict in both directions: bytes that
// do not decode give no text, a character that cannot be encoded gives no bytes.
namespace ShiftJIS
{
std::optional<QByteArray> encode(const QString& text);
std::optional<QString> decode(const QByteArray& bytes);
inline std::optional<QString> decode(const char* bytes, qsizetype length)
{
    return decode(QByteArray::fromRawData(bytes, length));
}
// What a text becomes on its way to the handset and back, and how many bytes it
// takes there, as encode and decode would tell, without converting it: each
// character's fate is learnt once per thread (Shift_JIS keeps no state between
// characters), so that a check of thousands of texts converts each character once.
struct Fate {
    enum State { Kept, Changed, Unsendable } state = Kept;
    qsizetype bytes = 0; // 0 when Unsendable
};
Fate fate(QStringView text);
// How many converters this process has opened (each thread opens its own, once).
int convertersOpened();
} // namespace ShiftJIS
