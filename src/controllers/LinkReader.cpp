#include "controllers/LinkReader.h"

#include "controllers/ResourceFork.h"

#include "document/PropertyList.h"
#include "io/OutsideFile.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QStringDecoder>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::optional<QString> utf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<QUrl> parseUrl(const QString& text)
{
    const QUrl url(text.trimmed(), QUrl::TolerantMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return std::nullopt;
    return url;
}

// The string at ref, or a null string.
QString plistString(const PropertyList& plist, PropertyList::Ref ref)
{
    return ref >= 0 && plist.type(ref) == PropertyList::Type::String ? plist.string(ref) : QString();
}

// The first member of an array, or -1.
PropertyList::Ref firstItem(const PropertyList& plist, PropertyList::Ref ref)
{
    return ref >= 0 && plist.type(ref) == PropertyList::Type::Array && plist.size(ref) >= 1 ? plist.item(ref, 0) : -1;
}

// The two-array list: [[URL], [title]]; its size is checked by the caller.
std::optional<DroppedLink> fromWebURLsWithTitles(const QByteArray& bytes)
{
    try {
        const PropertyList plist = PropertyList::fromData(bytes);
        const PropertyList::Ref root = plist.root();
        const auto url = parseUrl(plistString(plist, firstItem(plist, firstItem(plist, root))));
        if (!url)
            return std::nullopt;
        DroppedLink link{*url, QString()};
        if (plist.size(root) >= 2)
            link.title = plistString(plist, firstItem(plist, plist.item(root, 1)));
        return link;
    } catch (const PropertyListError&) {
        return std::nullopt;
    }
}

// "key=value" lines of one [section] of an INI-style file.
QString iniValue(const QByteArray& bytes, const QByteArray& section, const QByteArray& key)
{
    bool inSection = false;
    for (QByteArray line : bytes.split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[')) {
            inSection = line == '[' + section + ']';
            continue;
        }
        if (inSection && line.startsWith(key + '='))
            return QString::fromUtf8(line.mid(key.size() + 1)).trimmed();
    }
    return QString();
}

} // namespace

std::optional<QByteArray> LinkReader::readSmallRegularFile(const QString& path, qint64 limit)
{
    return OutsideFile::read(path, limit);
}

std::optional<QUrl> LinkReader::webUrlFromText(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.contains(QLatin1Char('\n')) || trimmed.contains(QLatin1Char(' ')))
        return std::nullopt;
    const auto url = parseUrl(trimmed);
    if (!url || url->host().isEmpty())
        return std::nullopt;
    const QString scheme = url->scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https") && scheme != QLatin1String("ftp"))
        return std::nullopt;
    return url;
}

std::optional<DroppedLink> LinkReader::fromWebloc(const QByteArray& bytes)
{
    if (bytes.size() > MaxLinkBytes)
        return std::nullopt;
    try {
        const PropertyList plist = PropertyList::fromData(bytes);
        const PropertyList::Ref root = plist.root();
        if (plist.type(root) != PropertyList::Type::Dictionary)
            return std::nullopt;
        if (const auto url = parseUrl(plistString(plist, plist.find(root, u"URL"))))
            return DroppedLink{*url, QString()};
    } catch (const PropertyListError&) {
    }
    return std::nullopt;
}

std::optional<DroppedLink> LinkReader::fromInternetShortcut(const QByteArray& bytes)
{
    if (const auto url = parseUrl(iniValue(bytes, "InternetShortcut", "URL")))
        return DroppedLink{*url, QString()};
    return std::nullopt;
}

std::optional<DroppedLink> LinkReader::fromDesktopEntry(const QByteArray& bytes)
{
    if (iniValue(bytes, "Desktop Entry", "Type") != QLatin1String("Link"))
        return std::nullopt;
    const auto url = parseUrl(iniValue(bytes, "Desktop Entry", "URL"));
    if (!url)
        return std::nullopt;
    const QString name = iniValue(bytes, "Desktop Entry", "Name");
    return DroppedLink{*url, name.isEmpty() ? QString() : name};
}

DroppedLink LinkReader::fromClippingFork(const QByteArray& fork)
{
    DroppedLink link;
    const ResourceFork resources(fork);
    if (const auto location = resources.firstResource("url "))
        if (const auto text = utf8(*location))
            if (const auto url = parseUrl(*text))
                link.url = *url;
    if (const auto title = resources.firstResource("urln"))
        if (const auto text = utf8(*title))
            link.title = *text;
    return link;
}

DroppedLink LinkReader::fromFile(const QString& path)
{
    const QUrl own = QUrl::fromLocalFile(path);
    DroppedLink clipping;
    if (const auto fork = ResourceFork::forkOf(path))
        clipping = fromClippingFork(*fork);
    if (clipping.url.isValid())
        return clipping;

    if (const std::optional<QByteArray> contents = readSmallRegularFile(path)) {
        const QByteArray& bytes = *contents;
        const QString suffix = QFileInfo(path).suffix().toLower();
        std::optional<DroppedLink> link;
        if (suffix == QLatin1String("webloc"))
            link = fromWebloc(bytes);
        else if (suffix == QLatin1String("url"))
            link = fromInternetShortcut(bytes);
        else if (suffix == QLatin1String("desktop"))
            link = fromDesktopEntry(bytes);
        if (link) {
            if (link->title.isNull())
                link->title = QFileInfo(path).completeBaseName();
            return *link;
        }
    }
    // Nothing readable: the file itself, with a clipping's title if there was one.
    return DroppedLink{own, clipping.title};
}

std::optional<DroppedLink> LinkReader::fromMimeData(const QMimeData& data)
{
    // Data too large to be a link is not looked at.
    for (const QString& format : data.formats())
        if (data.data(format).size() > MaxLinkBytes)
            return std::nullopt;
    if (data.hasFormat(QStringLiteral("WebURLsWithTitlesPboardType")))
        if (auto link = fromWebURLsWithTitles(data.data(QStringLiteral("WebURLsWithTitlesPboardType"))))
            return link;
    if (data.hasFormat(QStringLiteral("text/x-moz-url"))) {
        const QByteArray raw = data.data(QStringLiteral("text/x-moz-url"));
        QStringDecoder decoder(QStringDecoder::Utf16, QStringDecoder::Flag::Stateless);
        const QString text = decoder.decode(raw);
        const QStringList lines = text.split(QLatin1Char('\n'));
        if (const auto url = parseUrl(lines.value(0).remove(QChar(0))))
            return DroppedLink{*url, lines.size() > 1 ? lines.at(1).trimmed().remove(QChar(0)) : QString()};
    }
    if (data.hasFormat(QStringLiteral("_NETSCAPE_URL"))) {
        const QStringList lines = QString::fromUtf8(data.data(QStringLiteral("_NETSCAPE_URL"))).split(QLatin1Char('\n'));
        if (const auto url = parseUrl(lines.value(0)))
            return DroppedLink{*url, lines.size() > 1 ? lines.at(1).trimmed() : QString()};
    }
    if (data.hasUrls()) {
        for (const QUrl& url : data.urls()) {
            if (url.isLocalFile())
                return fromFile(url.toLocalFile());
            if (url.isValid() && !url.scheme().isEmpty())
                return DroppedLink{url, QString()};
        }
    }
    if (data.hasText())
        if (const auto url = webUrlFromText(data.text()))
            return DroppedLink{*url, QString()};
    return std::nullopt;
}
