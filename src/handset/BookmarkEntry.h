#pragma once

#include "document/AirHBookmark.h"

#include <QByteArray>

// The wire form of one bookmark: 1C, then fields 1E type 02 length(4, little
// endian) data, with type 1 name, 2 location, 3 number, 4 folder.
namespace BookmarkEntry {

// Decodes an entry payload. previous is the last record decoded before this
// one (its folder completes entries without a name), or nullptr. Reads only
// inside the payload; an entry that ends early or is incomplete yields nullptr.
BookmarkPtr decode(const char* payload, int length, const AirHBookmark* previous);

// The entry as the upload writes it for folder index folder. Texts that cannot
// be written in Shift_JIS go out as empty fields.
QByteArray encode(const AirHBookmark& bookmark, int folder);
// The same from the texts already in Shift_JIS.
QByteArray encode(const QByteArray& name, const QByteArray& location, int number, int folder);

// The longest name and location together that fit one entry frame.
constexpr int MaxTextBytes = 4063;

// A decimal integer read as atoi reads it, from at most length bytes.
int parseInteger(const char* text, int length);

} // namespace BookmarkEntry
