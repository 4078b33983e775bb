#include "handset/ShiftJIS.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <iconv.h>
#include <memory>

namespace
{

std::atomic<int> opened{0};

// One converter per direction and thread, opened on first use and kept: opening
// one costs more than most conversions, and a converter serves one thread only.
class Converter
{
public:
    Converter(const char* to, const char* from) : m_to(to), m_from(from) {}
    ~Converter()
    {
        if (m_cd != iconv_t(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of input or nothing.
    std::optional<QByteArray> convert(const char* input, size_t length)
    {
        if (m_cd == iconv_t(-1)) {
            m_cd = iconv_open(m_to, m_from);
            if (m_cd == iconv_t(-1))
                return std::nullopt;
            ++opened;
        }
        // Back to the initial state: a conversion that failed midway leaves it anywhere.
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        QByteArray out;
        out.resize(qsizetype(length * 2 + 16));
        char* in = const_cast<char*>(input);
        size_t inLeft = length;
        char* dst = out.data();
        size_t outLeft = size_t(out.size());
        while (inLeft > 0) {
            if (iconv(m_cd, &in, &inLeft, &dst, &outLeft) != size_t(-1))
                continue;
            if (errno != E2BIG)
                return std::nullopt; // EILSEQ or EINVAL: not convertible, or cut off in the middle
            const qsizetype used = dst - out.data();
            out.resize(out.size() * 2);
            dst = out.data() + used;
            outLeft = size_t(out.size() - used);
        }
        // Flush any shift state; CP932 has none, but the call is cheap.
        if (iconv(m_cd, nullptr, nullptr, &dst, &outLeft) == size_t(-1))
            return std::nullopt;
        out.resize(dst - out.data());
        return out;
    }

private:
    const char* m_to;
    const char* m_from;
    iconv_t m_cd = iconv_t(-1);
};

} // namespace

std::optional<QByteArray> ShiftJIS::encode(const QString& text)
{
    if (text.isNull())
        return std::nullopt;
    // From UTF-16 so that a lone surrogate is refused rather than replaced.
    thread_local Converter encoder("CP932", "UTF-16LE");
    return encoder.convert(reinterpret_cast<const char*>(text.utf16()), size_t(text.size()) * 2);
}

std::optional<QString> ShiftJIS::decode(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return QStringLiteral("");
    thread_local Converter decoder("UTF-16LE", "CP932");
    const auto utf16 = decoder.convert(bytes.constData(), size_t(bytes.size()));
    if (!utf16)
        return std::nullopt;
    return QString(reinterpret_cast<const QChar*>(utf16->constData()), utf16->size() / 2);
}

ShiftJIS::Fate ShiftJIS::fate(QStringView text)
{
    // By character: 0 not yet learnt, else its byte count (1 or 2) and whether
    // it comes back as itself; 3 when it cannot be sent.
    enum : quint8 { Unknown = 0, Unsendable = 3, ComesBack = 4 };
    thread_local std::unique_ptr<std::array<quint8, 0x10000>> learnt;
    if (!learnt)
        learnt = std::make_unique<std::array<quint8, 0x10000>>();
    Fate fate;
    for (QChar c : text) {
        // A surrogate stands for a character beyond the 16-bit range, which
        // Shift_JIS has none of (or for none at all).
        if (c.isSurrogate())
            return {Fate::Unsendable, 0};
        quint8& known = (*learnt)[c.unicode()];
        if (known == Unknown) {
            const QString alone(c);
            const std::optional<QByteArray> bytes = encode(alone);
            if (!bytes || bytes->isEmpty() || bytes->size() > 2)
                known = Unsendable;
            else
                known = quint8(bytes->size()) | (c.unicode() != 0 && decode(*bytes) == alone ? ComesBack : 0);
        }
        if (known == Unsendable)
            return {Fate::Unsendable, 0};
        fate.bytes += known & ~ComesBack;
        if (!(known & ComesBack))
            fate.state = Fate::Changed;
    }
    return fate;
}

int ShiftJIS::convertersOpened()
{
    return opened;
}
