#include "controllers/ResourceFork.h"

#include "controllers/LinkReader.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>

#include <cstring>
#include <sys/types.h>
#include <sys/xattr.h>

namespace {

// Big-endian reads that fail outside the data.
struct Reader {
    const QByteArray& data;
    bool fits(qint64 at, qint64 length) const { return at >= 0 && length >= 0 && at + length <= data.size(); }
    std::optional<quint32> u32(qint64 at) const
    {
        if (!fits(at, 4))
            return std::nullopt;
        const auto* p = reinterpret_cast<const uchar*>(data.constData() + at);
        return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3];
    }
    std::optional<quint32> u24(qint64 at) const
    {
        if (!fits(at, 3))
            return std::nullopt;
        const auto* p = reinterpret_cast<const uchar*>(data.constData() + at);
        return quint32(p[0]) << 16 | quint32(p[1]) << 8 | p[2];
    }
    std::optional<quint16> u16(qint64 at) const
    {
        if (!fits(at, 2))
            return std::nullopt;
        const auto* p = reinterpret_cast<const uchar*>(data.constData() + at);
        return quint16(p[0] << 8 | p[1]);
    }
};

std::optional<QByteArray> readSmallFile(const QString& path)
{
    return LinkReader::readSmallRegularFile(path, ResourceFork::MaxForkSize);
}

} // namespace

std::optional<QByteArray> ResourceFork::firstResource(const char type[4]) const
{
    const Reader r{m_fork};
    const auto dataOffset = r.u32(0);
    const auto mapOffset = r.u32(4);
    if (!dataOffset || !mapOffset)
        return std::nullopt;
    const qint64 map = *mapOffset;
    const auto typeListOffset = r.u16(map + 24);
    if (!typeListOffset)
        return std::nullopt;
    const qint64 typeList = map + *typeListOffset;
    const auto typeCountMinusOne = r.u16(typeList);
    if (!typeCountMinusOne)
        return std::nullopt;
    const int types = (*typeCountMinusOne + 1) & 0xFFFF; // 0xFFFF means none
    for (int t = 0; t < types; ++t) {
        const qint64 entry = typeList + 2 + qint64(t) * 8;
        if (!r.fits(entry, 8))
            return std::nullopt;
        if (std::memcmp(m_fork.constData() + entry, type, 4) != 0)
            continue;
        const auto refListOffset = r.u16(entry + 6);
        if (!refListOffset)
            return std::nullopt;
        const qint64 reference = typeList + *refListOffset; // the first resource of the type
        const auto itemOffset = r.u24(reference + 5);
        if (!itemOffset)
            return std::nullopt;
        const qint64 item = qint64(*dataOffset) + *itemOffset;
        const auto length = r.u32(item);
        if (!length || !r.fits(item + 4, *length))
            return std::nullopt;
        return m_fork.mid(item + 4, *length);
    }
    return std::nullopt;
}

std::optional<QByteArray> ResourceFork::fromAppleDouble(const QByteArray& appleDouble)
{
    const Reader r{appleDouble};
    if (r.u32(0) != 0x00051607u || !r.u32(4))
        return std::nullopt;
    const auto entries = r.u16(24);
    if (!entries)
        return std::nullopt;
    for (int i = 0; i < *entries; ++i) {
        const qint64 entry = 26 + qint64(i) * 12;
        const auto id = r.u32(entry);
        const auto offset = r.u32(entry + 4);
        const auto length = r.u32(entry + 8);
        if (!id || !offset || !length)
            return std::nullopt;
        if (*id == 2) { // the resource fork
            if (!r.fits(*offset, *length))
                return std::nullopt;
            return appleDouble.mid(*offset, *length);
        }
    }
    return std::nullopt;
}

std::optional<QByteArray> ResourceFork::forkOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    // The extended attribute: its own name on a Mac, in the user name space where
    // Linux keeps what copies from a Mac bring along.
    const QByteArray native = QFile::encodeName(path);
    for (const char* name : {"com.apple.ResourceFork", "user.com.apple.ResourceFork"}) {
        const ssize_t size = getxattr(native.constData(), name, nullptr, 0);
        if (size <= 0 || size > MaxForkSize)
            continue;
        QByteArray fork(qsizetype(size), Qt::Uninitialized);
        if (getxattr(native.constData(), name, fork.data(), size_t(size)) == size)
            return fork;
    }
    // The AppleDouble companion that archives and foreign file systems keep.
    if (const auto companion = readSmallFile(info.dir().filePath(QStringLiteral("._") + info.fileName())))
        if (const auto fork = fromAppleDouble(*companion))
            return fork;
    // The named fork, where the system has them.
    if (const auto fork = readSmallFile(path + QStringLiteral("/..namedfork/rsrc")); fork && !fork->isEmpty())
        return fork;
    return std::nullopt;
}
