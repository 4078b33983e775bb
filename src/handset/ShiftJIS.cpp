#include "handset/ShiftJIS.h"

#include <cerrno>
#include <iconv.h>

namespace {

// Converts all of input or nothing.
std::optional<QByteArray> convert(const char* to, const char* from, const char* input, size_t length)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return std::nullopt;
    QByteArray out;
    out.resize(qsizetype(length * 2 + 16));
    char* in = const_cast<char*>(input);
    size_t inLeft = length;
    char* dst = out.data();
    size_t outLeft = size_t(out.size());
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) != size_t(-1))
            continue;
        if (errno == E2BIG) {
            const qsizetype used = dst - out.data();
            out.resize(out.size() * 2);
            dst = out.data() + used;
            outLeft = size_t(out.size() - used);
            continue;
        }
        ok = false; // EILSEQ or EINVAL: not convertible, or cut off in the middle
        break;
    }
    // Flush any shift state; CP932 has none, but the call is cheap.
    if (ok && iconv(cd, nullptr, nullptr, &dst, &outLeft) == size_t(-1))
        ok = false;
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    out.resize(dst - out.data());
    return out;
}

} // namespace

std::optional<QByteArray> ShiftJIS::encode(const QString& text)
{
    if (text.isNull())
        return std::nullopt;
    if (text.isEmpty())
        return QByteArray("");
    // From UTF-16 so that a lone surrogate is refused rather than replaced.
    return convert("CP932", "UTF-16LE", reinterpret_cast<const char*>(text.utf16()), size_t(text.size()) * 2);
}

std::optional<QString> ShiftJIS::decode(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return QStringLiteral("");
    const auto utf16 = convert("UTF-16LE", "CP932", bytes.constData(), size_t(bytes.size()));
    if (!utf16)
        return std::nullopt;
    QString text(reinterpret_cast<const QChar*>(utf16->constData()), utf16->size() / 2);
    return text;
}
