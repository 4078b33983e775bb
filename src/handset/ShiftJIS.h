#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The one Shift_JIS codec of the handset link (Windows code page 932, with the
// NEC and IBM extensions the handset shows). Strict in both directions: bytes that
// do not decode give no text, a character that cannot be encoded gives no bytes.
namespace ShiftJIS {
std::optional<QByteArray> encode(const QString& text);
std::optional<QString> decode(const QByteArray& bytes);
inline std::optional<QString> decode(const char* bytes, qsizetype length)
{
    return decode(QByteArray::fromRawData(bytes, length));
}
// How many converters this process has opened (each thread opens its own, once).
int convertersOpened();
} // namespace ShiftJIS
