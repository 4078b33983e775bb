#include "document/BrowserBookmarks.h"

#include "io/OutsideFile.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QUrl>

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace
{

[[noreturn]] void fail(const char* reason)
{
    throw BrowserBookmarksError(reason);
}

// ---------------------------------------------------------------------------
// Character sets

// The iconv name for a charset a file declares; empty when it is not one we know.
QByteArray iconvName(QByteArray declared)
{
    declared = declared.trimmed().toLower();
    static const std::unordered_map<std::string, const char*> names{
        {"utf-8", "UTF-8"},
        {"utf8", "UTF-8"},
        {"unicode-1-1-utf-8", "UTF-8"},
        {"shift_jis", "CP932"},
        {"shift-jis", "CP932"},
        {"sjis", "CP932"},
        {"x-sjis", "CP932"},
        {"ms_kanji", "CP932"},
        {"windows-31j", "CP932"},
        {"cp932", "CP932"},
        {"csshiftjis", "CP932"},
        {"euc-jp", "EUC-JP"},
        {"x-euc-jp", "EUC-JP"},
        {"eucjp", "EUC-JP"},
        {"iso-2022-jp", "ISO-2022-JP"},
        {"csiso2022jp", "ISO-2022-JP"},
        {"iso-8859-1", "WINDOWS-1252"},
        {"latin1", "WINDOWS-1252"},
        {"us-ascii", "WINDOWS-1252"},
        {"windows-1252", "WINDOWS-1252"},
        {"utf-16", "UTF-16"},
        {"utf-16le", "UTF-16LE"},
        {"utf-16be", "UTF-16BE"},
    };
    const auto it = names.find(declared.toStdString());
    return it == names.end() ? QByteArray() : QByteArray(it->second);
}

// The charset named in the file's first bytes: a byte order mark, or a meta
// element's "charset=" (both forms of it).
QByteArray declaredCharset(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return "UTF-8";
    if (bytes.startsWith("\xFF\xFE"))
        return "UTF-16LE";
    if (bytes.startsWith("\xFE\xFF"))
        return "UTF-16BE";
    const QByteArray head = bytes.left(64 * 1024).toLower();
    qsizetype at = 0;
    while ((at = head.indexOf("charset", at)) >= 0) {
        at += 7;
        qsizetype i = at;
        while (i < head.size() && (head[i] == ' ' || head[i] == '\t'))
            ++i;
        if (i >= head.size() || head[i] != '=')
            continue;
        ++i;
        while (i < head.size() && (head[i] == ' ' || head[i] == '"' || head[i] == '\''))
            ++i;
        qsizetype end = i;
        while (end < head.size() && (std::isalnum(uchar(head[end])) || std::strchr("-_.:", head[end])))
            ++end;
        if (end > i)
            return head.mid(i, end - i);
    }
    return {};
}

// The bytes in UTF-8. Strict: nullopt at the first byte that does not convert.
// Otherwise each such byte becomes U+FFFD and the rest is read on.
std::optional<QByteArray> toUtf8(const QByteArray& bytes, const char* charset, bool strict)
{
    if (std::strcmp(charset, "UTF-8") == 0 && strict) {
        QStringDecoder decoder(QStringConverter::Utf8);
        const QString text = decoder(bytes);
        if (decoder.hasError())
            return std::nullopt;
        return bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    }
    iconv_t cd = iconv_open("UTF-8", charset);
    if (cd == iconv_t(-1))
        return std::nullopt;
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 2 + 16);
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char buffer[16384];
    bool ok = true;
    while (inLeft > 0) {
        char* o = buffer;
        size_t oLeft = sizeof buffer;
        const size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buffer, qsizetype(o - buffer));
        if (r != size_t(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL (a sequence cut off at the end)
        if (strict) {
            ok = false;
            break;
        }
        out.append("\xEF\xBF\xBD");
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    return out;
}

// ---------------------------------------------------------------------------
// Parsing

// Whitespace written as a character reference is kept, literal whitespace is
// folded as a browser folds it. libxml2 hands both over alike, so before parsing
// each such reference becomes a noncharacter of its own (U+FDD0...), which
// folding passes over and restoring turns back; a reference to a control
// character becomes Dropped. Noncharacters are not text: any in the file are
// replaced first.
constexpr char32_t Marked = 0xFDD0;
constexpr char32_t Dropped = 0xFDDF;
constexpr char32_t MarkedCharacters[] = {U' ', U'\t', U'\n', U'\r', U'\f'};

bool isControl(char32_t c)
{
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f') || c == 0x7F;
}

// In place: every marker is no longer than what it replaces.
void markReferences(QByteArray& utf8)
{
    auto put = [](char* to, char32_t c) {
        to[0] = char(0xE0 | (c >> 12));
        to[1] = char(0x80 | ((c >> 6) & 0x3F));
        to[2] = char(0x80 | (c & 0x3F));
    };
    char* const begin = utf8.data();
    const qsizetype size = utf8.size();
    qsizetype out = 0;
    for (qsizetype in = 0; in < size;) {
        const uchar c = uchar(begin[in]);
        if (c == 0xEF && in + 2 < size && uchar(begin[in + 1]) == 0xB7 && uchar(begin[in + 2]) >= 0x90 &&
            uchar(begin[in + 2]) <= 0xAF) {
            put(begin + out, 0xFFFD);
            out += 3;
            in += 3;
            continue;
        }
        if (c == '&' && in + 3 < size && begin[in + 1] == '#') {
            const bool hex = begin[in + 2] == 'x' || begin[in + 2] == 'X';
            qsizetype at = in + (hex ? 3 : 2);
            quint32 value = 0;
            const qsizetype digits = at;
            while (at < size && at - digits < 8 && std::isxdigit(uchar(begin[at])) &&
                   (hex || std::isdigit(uchar(begin[at])))) {
                value = value * (hex ? 16 : 10) + quint32(QByteArrayView("0123456789abcdef").indexOf(char(std::tolower(uchar(begin[at])))));
                ++at;
            }
            if (at > digits && at < size && begin[at] == ';' && value < 0x80) {
                const char32_t* marked = std::find(std::begin(MarkedCharacters), std::end(MarkedCharacters), value);
                if (marked != std::end(MarkedCharacters) || isControl(value) || value == 0) {
                    put(begin + out, marked != std::end(MarkedCharacters)
                                         ? Marked + char32_t(marked - MarkedCharacters)
                                         : Dropped);
                    out += 3;
                    in = at + 1;
                    continue;
                }
            }
        }
        begin[out++] = begin[in++];
    }
    utf8.truncate(out);
}

// A control character written as it is (not as a reference) becomes Dropped
// too; such files are rare, so only they are copied.
void markControls(QByteArray& utf8)
{
    if (std::none_of(utf8.cbegin(), utf8.cend(), [](char c) { return isControl(uchar(c)) || c == 0; }))
        return;
    QByteArray marked;
    marked.reserve(utf8.size());
    for (const char c : std::as_const(utf8)) {
        if (isControl(uchar(c)) || c == 0)
            marked += "\xEF\xB7\x9F";
        else
            marked += c;
    }
    utf8 = std::move(marked);
}

QString restored(QString text)
{
    for (QChar& c : text)
        if (c.unicode() >= Marked && c.unicode() < Marked + std::size(MarkedCharacters))
            c = QChar(MarkedCharacters[c.unicode() - Marked]);
    return text.remove(QChar(Dropped));
}

// A title as a browser shows it: literal whitespace folded; what the file wrote
// as references kept; control characters dropped (cleaned set when there were).
QString folded(const QByteArray& utf8, bool* cleaned)
{
    const QString text = QString::fromUtf8(utf8);
    QString out;
    out.reserve(text.size());
    bool space = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == ' ' || u == '\t' || u == '\n' || u == '\r' || u == '\f') {
            space = !out.isEmpty();
            continue;
        }
        if (u == Dropped || isControl(u)) {
            *cleaned = true;
            continue;
        }
        if (space)
            out += QLatin1Char(' ');
        space = false;
        out += c;
    }
    return restored(out);
}

// Why the handset cannot take a location, or an empty string when it can.
QString unsupportedLocation(const QString& location)
{
    if (location.isEmpty())
        return QCoreApplication::translate("BrowserBookmarks", "It has no location.");
    const QUrl url(location);
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return url.host().isEmpty()
                   ? QCoreApplication::translate("BrowserBookmarks", "Its location names no web server.")
                   : QString();
    if (scheme.isEmpty())
        return QCoreApplication::translate("BrowserBookmarks", "Its location is not a whole web address.");
    if (scheme == QLatin1String("place"))
        return QCoreApplication::translate("BrowserBookmarks",
                                           "It is a saved search of the browser (place:), not a web page.");
    if (scheme == QLatin1String("javascript"))
        return QCoreApplication::translate(
            "BrowserBookmarks", "It is a script (javascript:), which the AIR-EDGE PHONE cannot run.");
    if (scheme == QLatin1String("data"))
        return QCoreApplication::translate(
            "BrowserBookmarks",
            "It holds its page inside the link (data:), which the AIR-EDGE PHONE cannot open.");
    if (scheme == QLatin1String("file"))
        return QCoreApplication::translate("BrowserBookmarks", "It is a file on this computer (file:).");
    return QCoreApplication::translate(
               "BrowserBookmarks",
               "The AIR-EDGE PHONE opens only web pages (http: and https:), not %1: locations.")
        .arg(scheme);
}

struct Reader {
    BrowserBookmarks result;
    // The folder that each open DL belongs to.
    std::vector<int> lists;
    // Text being collected: an A's title or an H3's.
    enum class Collecting { Nothing, Link, Folder } collecting = Collecting::Nothing;
    QByteArray text;
    QByteArray href;
    bool hasHref = false;
    int memory = -1;
    int folderNumber = -1;
    int pendingFolder = -1; // an H3 read, waiting for its DL
    bool sawStructure = false;

    int currentFolder() const { return lists.empty() ? -1 : lists.back(); }

    void finishLink()
    {
        const QString location = restored(QString::fromUtf8(href)).trimmed();
        bool cleaned = false;
        QString name = folded(text, &cleaned);
        collecting = Collecting::Nothing;
        text.clear();
        if (const QString reason = unsupportedLocation(location); !reason.isEmpty()) {
            if (result.skipped.size() < BrowserBookmarks::MaxKept)
                result.skipped.append({name, location, reason});
            return;
        }
        if (name.isEmpty())
            name = location;
        if (result.links.size() >= BrowserBookmarks::MaxKept) {
            ++result.notKept;
            return;
        }
        result.cleaned += cleaned;
        result.links.append({name, location, currentFolder(), memory});
    }

    static bool is(const xmlChar* name, const char* tag) { return xmlStrcasecmp(name, BAD_CAST tag) == 0; }

    // A small whole number in an attribute, or -1.
    static int number(const xmlChar** attributes, const char* name)
    {
        for (const xmlChar** a = attributes; a && a[0]; a += 2)
            if (is(a[0], name) && a[1]) {
                bool ok = false;
                const int n = QByteArray(reinterpret_cast<const char*>(a[1])).trimmed().toInt(&ok);
                return ok && n >= 0 && n < 100 ? n : -1;
            }
        return -1;
    }

    static void start(void* self, const xmlChar* name, const xmlChar** attributes)
    {
        auto* r = static_cast<Reader*>(self);
        if (is(name, "a")) {
            if (r->collecting == Collecting::Link)
                r->finishLink();
            r->hasHref = false;
            r->href.clear();
            for (const xmlChar** a = attributes; a && a[0]; a += 2)
                if (is(a[0], "href")) {
                    r->hasHref = true;
                    r->href = a[1] ? QByteArray(reinterpret_cast<const char*>(a[1])) : QByteArray();
                }
            r->memory = number(attributes, "handset_memory");
            if (r->hasHref) {
                r->collecting = Collecting::Link;
                r->text.clear();
                r->sawStructure = true;
            }
        } else if (is(name, "h3")) {
            r->collecting = Collecting::Folder;
            r->text.clear();
            r->folderNumber = number(attributes, "handset_folder");
        } else if (is(name, "dl")) {
            r->sawStructure = true;
            if (r->pendingFolder >= 0) {
                r->lists.push_back(r->pendingFolder);
                r->pendingFolder = -1;
            } else {
                r->lists.push_back(r->currentFolder());
            }
        }
    }

    static void end(void* self, const xmlChar* name)
    {
        auto* r = static_cast<Reader*>(self);
        if (is(name, "a")) {
            if (r->collecting == Collecting::Link)
                r->finishLink();
        } else if (is(name, "h3")) {
            if (r->collecting == Collecting::Folder) {
                bool cleaned = false;
                QString title = folded(r->text, &cleaned);
                r->result.cleaned += cleaned;
                r->collecting = Collecting::Nothing;
                r->text.clear();
                r->result.folders.append(title);
                r->result.folderNumbers.append(r->folderNumber);
                r->pendingFolder = int(r->result.folders.size() - 1);
                r->sawStructure = true;
            }
        } else if (is(name, "dl")) {
            if (!r->lists.empty())
                r->lists.pop_back();
            r->pendingFolder = -1;
        }
    }

    static void characters(void* self, const xmlChar* chars, int length)
    {
        auto* r = static_cast<Reader*>(self);
        // A title longer than any handset entry is cut: the text of a broken file
        // could otherwise run on to its end.
        if (r->collecting != Collecting::Nothing && r->text.size() < 64 * 1024)
            r->text.append(reinterpret_cast<const char*>(chars), length);
    }

    static void quiet(void*, const char*, ...) {}
};

} // namespace

BrowserBookmarks BrowserBookmarks::read(const QByteArray& bytes)
{
    if (bytes.size() > MaxFileSize)
        fail(QT_TRANSLATE_NOOP("BrowserBookmarks", "The bookmark file is larger than 64 MB."));
    // The declared character set, or the first that reads the whole file cleanly.
    QByteArray charset = declaredCharset(bytes);
    QByteArray name = iconvName(charset);
    std::optional<QByteArray> utf8;
    if (!name.isEmpty())
        utf8 = toUtf8(bytes, name.constData(), false);
    if (!utf8) {
        for (const char* guess : {"UTF-8", "CP932", "EUC-JP"})
            if ((utf8 = toUtf8(bytes, guess, true))) {
                name = guess;
                break;
            }
    }
    if (!utf8) {
        name = "WINDOWS-1252";
        utf8 = toUtf8(bytes, "WINDOWS-1252", false);
    }
    if (!utf8)
        fail(QT_TRANSLATE_NOOP("BrowserBookmarks", "The bookmark file's characters cannot be read."));

    markReferences(*utf8); // first: it replaces any noncharacter the file holds
    markControls(*utf8);
    xmlInitParser();
    Reader reader;
    reader.result.charset = QString::fromLatin1(name);
    htmlSAXHandler sax;
    std::memset(&sax, 0, sizeof sax);
    sax.startElement = &Reader::start;
    sax.endElement = &Reader::end;
    sax.characters = &Reader::characters;
    sax.warning = &Reader::quiet;
    sax.error = &Reader::quiet;
    sax.fatalError = &Reader::quiet;
    htmlParserCtxtPtr context =
        htmlCreatePushParserCtxt(&sax, &reader, nullptr, 0, nullptr, XML_CHAR_ENCODING_UTF8);
    if (!context)
        fail(QT_TRANSLATE_NOOP("BrowserBookmarks", "The bookmark file could not be read."));
    htmlCtxtUseOptions(context, HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                                    HTML_PARSE_NONET | HTML_PARSE_IGNORE_ENC | HTML_PARSE_NODEFDTD);
    // The libxml2 reader takes the bytes in pieces: one long text node need not
    // be held twice, and each piece is parsed as it comes.
    constexpr int Chunk = 256 * 1024;
    const char* p = utf8->constData();
    qsizetype left = utf8->size();
    while (left > 0) {
        const int n = int(std::min<qsizetype>(left, Chunk));
        htmlParseChunk(context, p, n, 0);
        p += n;
        left -= n;
    }
    htmlParseChunk(context, nullptr, 0, 1);
    htmlFreeParserCtxt(context);
    if (reader.collecting == Reader::Collecting::Link) // cut off inside its title
        reader.finishLink();

    if (!reader.sawStructure)
        fail(QT_TRANSLATE_NOOP("BrowserBookmarks",
                               "The file is not a browser bookmark file: it holds no links."));
    return std::move(reader.result);
}

std::optional<BrowserBookmarks> BrowserBookmarks::readFile(const QString& path, QString* error)
{
    const std::optional<QByteArray> bytes = OutsideFile::read(path, MaxFileSize, error);
    if (!bytes)
        return std::nullopt;
    try {
        return read(*bytes);
    } catch (const BrowserBookmarksError& e) {
        if (error)
            *error = QCoreApplication::translate("BrowserBookmarks", e.what());
        return std::nullopt;
    }
}

// ---------------------------------------------------------------------------
// Writing

namespace
{
QByteArray escaped(const QString& text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('\''), QLatin1String("&#39;")).toUtf8();
}

// A name as element text that reads back the same: what a parser folds or may
// take for something else (runs of spaces, spaces at either end, line breaks,
// tabs, no-break spaces, U+FEFF, control characters) goes as a reference.
QByteArray escapedText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        const bool loneSpace = u == ' ' && i > 0 && i + 1 < text.size() && text.at(i - 1) != QLatin1Char(' ') &&
                               !text.at(i - 1).isSpace() && !text.at(i + 1).isSpace();
        if ((u < 0x20 || u == 0x7F || u == 0xA0 || u == 0xFEFF || u == ' ') && !loneSpace)
            out += QStringLiteral("&#%1;").arg(int(u));
        else if (u == '&' || u == '<' || u == '>' || u == '"' || u == '\'')
            out += QString(text.at(i)).toHtmlEscaped().replace(QLatin1Char('\''), QLatin1String("&#39;"));
        else
            out += text.at(i);
    }
    return out.toUtf8();
}
} // namespace

QByteArray BrowserBookmarks::write(const BookmarkList& bookmarks, const QStringList& folderNames)
{
    QByteArray out;
    out += "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
           "<!-- This is an automatically generated file.\n"
           "     It will be read and overwritten.\n"
           "     DO NOT EDIT! -->\n"
           "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
           "<TITLE>Bookmarks</TITLE>\n"
           "<H1>Bookmarks</H1>\n"
           "<DL><p>\n";
    std::vector<qint32> folders;
    for (const BookmarkPtr& b : bookmarks)
        folders.push_back(b->folder());
    std::sort(folders.begin(), folders.end());
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
    for (const qint32 f : folders) {
        const QString title = f >= 0 && f < folderNames.size() ? folderNames.at(f) : QString::number(f);
        out += "    <DT><H3 HANDSET_FOLDER=\"" + QByteArray::number(f) + "\">" + escapedText(title) +
               "</H3>\n    <DL><p>\n";
        for (const BookmarkPtr& b : bookmarks)
            if (b->folder() == f)
                out += "        <DT><A HREF=\"" + escaped(b->location()) + "\" HANDSET_MEMORY=\"" +
                       QByteArray::number(b->number()) + "\">" + escapedText(b->bookmarkName()) + "</A>\n";
        out += "    </DL><p>\n";
    }
    out += "</DL><p>\n";
    return out;
}
