// edgemarks-cli: the handset's bookmarks (and files) from the command line.
#include "BrowserBookmarks.h"
#include "HandsetCheck.h"
#include "HandsetDevices.h"
#include "KeychainStore.h"
#include "MyDocument.h"
#include "ProtocolLog.h"
#include "SimulatedHandset.h"
#include "TerminalProgress.h"
#include "Translations.h"
#include "VedORovav.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTextStream>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

namespace
{

enum Status { Ok = 0, Failed = 1, Usage = 2, PasswordRefused = 3, NoDriver = 4 };

void printError(const QString& message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

bool stdinIsTerminal()
{
    return isatty(STDIN_FILENO);
}

// Ctrl-C and SIGTERM cancel what runs: the transfer ends as every transfer ends
// (logout, the port released and restored), then the program exits 128 + signal.
std::atomic<bool> cancelRequested{false};
volatile std::sig_atomic_t caughtSignal = 0;

extern "C" void onSignal(int signal)
{
    caughtSignal = signal;
    cancelRequested = true;
}

void catchSignals()
{
    struct sigaction action {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a read at the prompt ends at once
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// A link that a signal cancels.
struct Link : VedORovav {
    Link() { setCancelFlag(&cancelRequested); }
};

// One line of standard input, without its end; a signal ends the reading at once.
QByteArray readLine(bool* complete)
{
    QByteArray line;
    *complete = false;
    for (char c; !caughtSignal && line.size() <= 4096;) {
        const ssize_t n = ::read(STDIN_FILENO, &c, 1);
        if (n == 1 && c == '\n') {
            *complete = true;
            break;
        }
        if (n == 1)
            line.append(c);
        else if (n == 0 || errno != EINTR)
            break;
    }
    return line;
}

// Reads one line from the terminal without echoing it. The terminal's echo comes
// back however the prompt ends, Ctrl-C included.
std::optional<QString> promptHidden(const QString& prompt)
{
    std::fprintf(stderr, "%s", qPrintable(prompt));
    std::fflush(stderr);
    struct termios saved;
    const bool terminal = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        struct termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    bool complete = false;
    QByteArray line = readLine(&complete);
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fprintf(stderr, "\n");
    }
    if (caughtSignal || (!complete && line.isEmpty()))
        return std::nullopt;
    if (line.endsWith('\r'))
        line.chop(1);
    const std::optional<QString> password = decodeUtf8Strictly(line);
    line.fill('\0');
    return password;
}

// A process that holds a password leaves no core dump behind, and no other
// process of the user may read its memory.
void protectPasswords()
{
    prctl(PR_SET_DUMPABLE, 0);
    struct rlimit none {
        0, 0
    };
    setrlimit(RLIMIT_CORE, &none);
}

bool confirm(const QString& message, const QString& informative, const QString& action)
{
    std::fprintf(stderr, "%s\n%s\n%s [y/N] ", qPrintable(message), qPrintable(informative),
                 qPrintable(action));
    std::fflush(stderr);
    bool complete = false;
    const QString answer = QString::fromLocal8Bit(readLine(&complete)).trimmed().toLower();
    return !caughtSignal && (answer == QLatin1String("y") || answer == QLatin1String("yes"));
}

class Cli
{
public:
    Cli(QCommandLineParser& parser) : m_parser(parser) {}

    int run(const QStringList& arguments)
    {
        const QString command = arguments.value(0);
        if (command == QLatin1String("show"))
            return arguments.size() == 2 ? show(arguments[1]) : usage();
        if (command == QLatin1String("check"))
            return arguments.size() == 2 ? check(arguments[1]) : usage();
        if (command == QLatin1String("convert"))
            return arguments.size() == 3 ? convert(arguments[1], arguments[2]) : usage();
        if (command == QLatin1String("import") || command == QLatin1String("export")) {
            if (arguments.size() != 2)
                return usage();
            if (const int status = prepareHandset())
                return status;
            return command == QLatin1String("import") ? importInto(arguments[1]) : exportFrom(arguments[1]);
        }
        if (command == QLatin1String("devices") && arguments.size() == 1)
            return devices();
        if (command == QLatin1String("ls") && arguments.size() == 1) {
            if (const int status = prepareHandset())
                return status;
            return list();
        }
        if ((command == QLatin1String("get") || command == QLatin1String("put")) && arguments.size() >= 2) {
            if (const int status = prepareHandset())
                return status;
            return command == QLatin1String("get") ? get(arguments.mid(1)) : put(arguments.mid(1));
        }
        return usage();
    }

private:
    int usage()
    {
        printError(QCoreApplication::translate(
            "Cli",
            "Usage: edgemarks-cli [options] import|export|show|check DOCUMENT, convert INPUT OUTPUT, ls, "
            "get NAME..., put FILE..., devices (see --help)"));
        return Usage;
    }

    // The device, the built-in simulator and the driver check, in that order.
    int prepareHandset()
    {
        protectPasswords();
        if (m_parser.isSet(QStringLiteral("device")))
            qputenv("EDGEMARKS_DEVICE", QFile::encodeName(m_parser.value(QStringLiteral("device"))));
        if (m_parser.isSet(QStringLiteral("simulator"))) {
            m_simulatorDir = std::make_unique<QTemporaryDir>();
            m_simulator = std::make_unique<SimulatedHandset>();
            m_simulator->loadSampleContent();
            const QString device = m_simulatorDir->filePath(QStringLiteral("cu.ah-k3001v.data"));
            const QString bundle = m_simulatorDir->filePath(QStringLiteral("AHK3001VDriver.kext"));
            QString error;
            if (!SimulatedHandset::createDriverBundle(bundle, QStringLiteral("1.2"), &error) ||
                !m_simulator->start(device, &error)) {
                printError(error);
                return Failed;
            }
            qputenv("EDGEMARKS_DEVICE", QFile::encodeName(device));
            qputenv("EDGEMARKS_DRIVER_BUNDLE", QFile::encodeName(bundle));
        }
        if (!VedORovav::existsDriver()) {
            const QString driver = VedORovav::humanReadableDriverName();
            printError(QCoreApplication::translate(
                           "Cli", "Couldn't use this application because the %1 didn't exist.")
                           .arg(driver));
            printError(VedORovav::driverInstructions());
            return NoDriver;
        }
        return Ok;
    }

    // The serial ports on the USB bus, the one a transfer would use marked.
    int devices()
    {
        if (m_parser.isSet(QStringLiteral("device")))
            qputenv("EDGEMARKS_DEVICE", QFile::encodeName(m_parser.value(QStringLiteral("device"))));
        const QList<HandsetPort> ports = HandsetDevices::candidates();
        const HandsetDevices::Choice choice = HandsetDevices::chosenDevice();
        const QString target = QFileInfo(choice.path).symLinkTarget();
        auto selected = [&](const HandsetPort& p) {
            return !choice.path.isEmpty() &&
                   (p.path == choice.path || p.stableLink == choice.path || p.path == target);
        };
        const bool anySelected = std::any_of(ports.begin(), ports.end(), selected);
        QTextStream out(stdout);
        if (m_parser.isSet(QStringLiteral("json"))) {
            QJsonArray array;
            for (const HandsetPort& p : ports)
                array.append(
                    QJsonObject{{"path", p.path},
                                {"link", p.stableLink.isEmpty() ? QJsonValue() : QJsonValue(p.stableLink)},
                                {"usbId", p.usbId},
                                {"product", p.product},
                                {"driver", p.driver},
                                {"handset", p.handset},
                                {"accessible", p.accessible},
                                {"selected", selected(p)}});
            if (!choice.path.isEmpty() && !anySelected)
                array.append(QJsonObject{{"path", choice.path}, {"selected", true}});
            out << QJsonDocument(array).toJson(QJsonDocument::Indented);
        } else {
            for (const HandsetPort& p : ports)
                out << QStringLiteral("%1 %2  %3  %4  %5  %6\n")
                           .arg(selected(p) ? QLatin1Char('*') : QLatin1Char(' '))
                           .arg(p.path, -14)
                           .arg(p.stableLink.isEmpty() ? QStringLiteral("-") : p.stableLink, -16)
                           .arg(p.usbId)
                           .arg(p.product.isEmpty() ? QStringLiteral("-") : p.product)
                           .arg(p.accessible ? QCoreApplication::translate("Cli", "may be opened")
                                             : QCoreApplication::translate("Cli", "no permission"));
            if (!choice.path.isEmpty() && !anySelected)
                out << QStringLiteral("* %1\n").arg(choice.path);
        }
        out.flush();
        const bool handsetFound =
            std::any_of(ports.begin(), ports.end(), [](const HandsetPort& p) { return p.handset; });
        if (!handsetFound)
            printError(
                QCoreApplication::translate("Cli", "No AH-K3001V (USB ID %1:%2) was found.")
                    .arg(QLatin1String(HandsetDevices::VendorId), QLatin1String(HandsetDevices::ProductId)));
        if (!VedORovav::existsDriver())
            printError(QCoreApplication::translate(
                           "Cli", "The %1 was not found; the AIR-EDGE PHONE cannot be used without it.")
                           .arg(VedORovav::humanReadableDriverName()));
        return handsetFound || !choice.path.isEmpty() ? Ok : Failed;
    }

    // The password: a file, the environment, the built-in simulator's, the keychain,
    // then the terminal.
    std::optional<QString> findPassword(bool retry)
    {
        if (!retry && m_acceptedPassword)
            return m_acceptedPassword;
        if (!retry) {
            if (m_parser.isSet(QStringLiteral("password-file")))
                return readPasswordFile(m_parser.value(QStringLiteral("password-file")));
            if (qEnvironmentVariableIsSet("EDGEMARKS_PASSWORD"))
                return qEnvironmentVariable("EDGEMARKS_PASSWORD");
            if (m_simulator)
                return SimulatedHandset::samplePassword();
            if (!qEnvironmentVariableIsSet("EDGEMARKS_NO_KEYCHAIN")) {
                SystemKeychainStore keychain;
                if (auto found = keychain.findPassword())
                    return found;
            }
        }
        if (!stdinIsTerminal())
            return std::nullopt;
        return promptHidden(QCoreApplication::translate("Cli", "Password of the AIR-EDGE PHONE: "));
    }

    // The first line of a small file; a file that others may read is used with a warning.
    static std::optional<QString> readPasswordFile(const QString& path)
    {
        constexpr qint64 Limit = 4096;
        QFile file(path);
        const QFileInfo info(path);
        if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
            printError(QCoreApplication::translate("Cli", "Couldn't read the password file %1.").arg(path));
            return std::nullopt;
        }
        if (info.size() > Limit) {
            printError(QCoreApplication::translate("Cli", "The password file %1 is larger than 4 KiB; it "
                                                          "should hold the password on its first line.")
                           .arg(path));
            return std::nullopt;
        }
        if (file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther))
            printError(QCoreApplication::translate(
                           "Cli", "Warning: others may read the password file %1 (chmod 600 it).")
                           .arg(path));
        QByteArray bytes = file.read(Limit);
        const qsizetype end = bytes.indexOf('\n');
        QByteArray line = end < 0 ? bytes : bytes.left(end);
        if (line.endsWith('\r'))
            line.chop(1);
        const std::optional<QString> password = decodeUtf8Strictly(line);
        bytes.fill('\0');
        line.fill('\0');
        if (!password)
            printError(
                QCoreApplication::translate("Cli", "The password file %1 is not UTF-8 text.").arg(path));
        return password;
    }

    // Runs a transfer with the password rules; re-asks on a terminal when refused.
    int withPassword(const char* failureMessage, const std::function<bool(const QString&)>& transfer)
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            const std::optional<QString> password = findPassword(attempt > 0);
            if (caughtSignal)
                return Failed; // the caller reports the signal
            if (!password) {
                printError(QCoreApplication::translate(
                    "Cli", "No password for the AIR-EDGE PHONE: give --password-file, set EDGEMARKS_PASSWORD "
                           "or save it in the keychain."));
                return PasswordRefused;
            }
            try {
                if (transfer(*password)) {
                    m_acceptedPassword = password;
                    return Ok;
                }
            } catch (const VedORovavException& e) {
                printError(QCoreApplication::translate("Cli", failureMessage));
                printError(e.localizedMessage());
                return Failed;
            }
            if (caughtSignal)
                return Failed;
            printError(QCoreApplication::translate("Cli", "The AIR-EDGE PHONE refused the password."));
            if (!stdinIsTerminal())
                return PasswordRefused;
        }
        return PasswordRefused;
    }

    std::unique_ptr<MyDocument> openDocument(const QString& path, bool mayBeMissing)
    {
        auto doc = std::make_unique<MyDocument>();
        if (mayBeMissing && !QFileInfo::exists(path))
            return doc;
        QString error;
        if (!doc->readFromFile(path, &error)) {
            printError(QCoreApplication::translate("Cli", "Couldn't open %1: %2").arg(path, error));
            return nullptr;
        }
        return doc;
    }

    int importInto(const QString& path)
    {
        std::unique_ptr<MyDocument> doc = openDocument(path, true);
        if (!doc)
            return Failed;
        TerminalProgress progress;
        BookmarkList list;
        int skipped = 0, announced = 0;
        const int status =
            withPassword(QT_TRANSLATE_NOOP("Cli", "Couldn't import the bookmarks."), [&](const QString& pw) {
                list.clear();
                Link reader;
                const auto report = qScopeGuard([&] {
                    skipped = reader.entriesSkipped();
                    announced = reader.entriesAnnounced();
                });
                return reader.readBookmarks(list, pw, progress);
            });
        if (status != Ok)
            return status;
        if (list.size() > VedORovav::MaxBookmarks) {
            const int leftOut = int(list.size()) - VedORovav::MaxBookmarks;
            printError(QCoreApplication::translate(
                "Cli", "%n bookmark(s) left out: a document holds at most 100.", nullptr, leftOut));
            list.resize(VedORovav::MaxBookmarks);
        }
        doc->setBookmarkList(list);
        QString error;
        if (!doc->writeToFile(path, &error)) {
            printError(QCoreApplication::translate("Cli", "Couldn't save %1: %2").arg(path, error));
            return Failed;
        }
        std::fprintf(stderr, "%s\n",
                     qPrintable(QCoreApplication::translate("Cli", "Imported %n bookmark(s) into %1.",
                                                            nullptr, int(list.size()))
                                    .arg(path)));
        if (skipped > 0) {
            printError(
                QCoreApplication::translate(
                    "Cli",
                    "%1 of the %2 bookmarks in the AIR-EDGE PHONE could not be read and were left out.")
                    .arg(skipped)
                    .arg(announced));
        }
        return Ok;
    }

    int exportFrom(const QString& path)
    {
        std::unique_ptr<MyDocument> doc = openDocument(path, false);
        if (!doc)
            return Failed;
        // What the handset cannot take is shown before anything is sent.
        if (const QList<HandsetCheck::Finding> findings = HandsetCheck::check(doc->bookmarkList());
            !findings.isEmpty()) {
            printError(HandsetCheck::describe(findings));
            if (!m_parser.isSet(QStringLiteral("force"))) {
                printError(
                    QCoreApplication::translate(
                        "Cli",
                        "Not exported: the AIR-EDGE PHONE cannot take %1 as it is (give --force to send "
                        "it anyway).")
                        .arg(path));
                return Failed;
            }
        }
        if (!m_parser.isSet(QStringLiteral("yes"))) {
            if (!stdinIsTerminal()) {
                printError(QCoreApplication::translate(
                    "Cli", "Not exporting without confirmation: give --yes to replace the bookmarks in the "
                           "AIR-EDGE PHONE."));
                return Usage;
            }
            if (!confirm(
                    QCoreApplication::translate(
                        "Cli",
                        "The bookmarks in the AIR-EDGE PHONE will be completely deleted. Are you sure you "
                        "want to export ?"),
                    QCoreApplication::translate(
                        "Cli",
                        "If you select to export then all bookmarks in the AIR-EDGE PHONE will be lost."),
                    QCoreApplication::translate("Cli", "Export"))) {
                printError(QCoreApplication::translate("Cli", "Not exported."));
                return Usage;
            }
        }
        TerminalProgress progress;
        int sent = 0;
        const int status =
            withPassword(QT_TRANSLATE_NOOP("Cli", "Couldn't export the bookmarks."), [&](const QString& pw) {
                Link writer;
                const auto report = qScopeGuard([&] { sent = writer.entriesSent(); });
                return writer.writeBookmarks(doc->bookmarkList(), pw, progress);
            });
        if (status == Ok) {
            std::fprintf(
                stderr, "%s\n",
                qPrintable(QCoreApplication::translate("Cli", "Exported %n bookmark(s).", nullptr, sent)));
            if (const int unsent = int(doc->bookmarkList().size()) - sent; unsent > 0)
                printError(QCoreApplication::translate(
                    "Cli", "%n bookmark(s) in folders the AIR-EDGE PHONE does not have were not sent.",
                    nullptr, unsent));
        }
        return status;
    }

    int show(const QString& path)
    {
        std::unique_ptr<MyDocument> doc = openDocument(path, false);
        if (!doc)
            return Failed;
        QTextStream out(stdout);
        if (m_parser.isSet(QStringLiteral("json"))) {
            QJsonArray bookmarks;
            for (const BookmarkPtr& b : doc->bookmarkList())
                bookmarks.append(QJsonObject{{"name", b->bookmarkName()},
                                             {"location", b->location()},
                                             {"number", b->number()},
                                             {"folder", b->folder()}});
            out << QJsonDocument(QJsonObject{{"folders", QJsonArray::fromStringList(doc->folderList())},
                                             {"bookmarks", bookmarks}})
                       .toJson(QJsonDocument::Indented);
            return Ok;
        }
        const QStringList& folders = doc->folderList();
        for (int f = 0; f < folders.size(); ++f) {
            QList<BookmarkPtr> inFolder;
            for (const BookmarkPtr& b : doc->bookmarkList())
                if (b->folder() == f)
                    inFolder << b;
            out << QCoreApplication::translate("Cli", "Folder %1: %n bookmark(s)", nullptr,
                                               int(inFolder.size()))
                       .arg(folders[f])
                << '\n';
            for (const BookmarkPtr& b : inFolder)
                out << QStringLiteral("  %1  %2  %3\n")
                           .arg(b->number(), 2, 10, QLatin1Char('0'))
                           .arg(b->bookmarkName(), b->location());
        }
        // Bookmarks whose folder is not in the folder list are still shown.
        for (const BookmarkPtr& b : doc->bookmarkList())
            if (b->folder() < 0 || b->folder() >= folders.size())
                out << QCoreApplication::translate("Cli", "Folder index %1: ").arg(b->folder())
                    << QStringLiteral("%1  %2  %3\n")
                           .arg(b->number(), 2, 10, QLatin1Char('0'))
                           .arg(b->bookmarkName(), b->location());
        return Ok;
    }

    int check(const QString& path)
    {
        std::unique_ptr<MyDocument> doc = openDocument(path, false);
        if (!doc)
            return Failed;
        const QList<HandsetCheck::Finding> findings = HandsetCheck::check(doc->bookmarkList());
        QTextStream out(stdout);
        if (m_parser.isSet(QStringLiteral("json"))) {
            QJsonArray array;
            for (const HandsetCheck::Finding& f : findings)
                array.append(QJsonObject{{"kind", HandsetCheck::kindName(f.kind)},
                                         {"index", f.index >= 0 ? QJsonValue(f.index) : QJsonValue()},
                                         {"message", f.message}});
            out << QJsonDocument(array).toJson(QJsonDocument::Indented);
        } else if (findings.isEmpty()) {
            out << QCoreApplication::translate("Cli", "The AIR-EDGE PHONE can take %1 as it is.").arg(path)
                << '\n';
        } else {
            out << HandsetCheck::describe(findings) << '\n';
        }
        return findings.isEmpty() ? Ok : Failed;
    }

    static bool isHtml(const QString& path)
    {
        const QString suffix = QFileInfo(path).suffix().toLower();
        return suffix == QLatin1String("html") || suffix == QLatin1String("htm");
    }

    // Between documents and browser bookmark files, by extension.
    int convert(const QString& input, const QString& output)
    {
        if (QFileInfo(output).exists() && !m_parser.isSet(QStringLiteral("force"))) {
            printError(
                QCoreApplication::translate("Cli", "%1 exists: give --force to replace it.").arg(output));
            return Failed;
        }
        int folder = 0;
        if (m_parser.isSet(QStringLiteral("folder"))) {
            bool ok = false;
            folder = m_parser.value(QStringLiteral("folder")).toInt(&ok);
            if (!ok || folder < 0 || folder >= MyDocument::FolderCount) {
                printError(
                    QCoreApplication::translate("Cli", "--folder takes a folder number from 0 to 19."));
                return Usage;
            }
        }
        std::unique_ptr<MyDocument> doc;
        if (isHtml(input)) {
            QString error;
            const std::optional<BrowserBookmarks> bookmarks = BrowserBookmarks::readFile(input, &error);
            if (!bookmarks) {
                printError(QCoreApplication::translate("Cli", "Couldn't read %1: %2").arg(input, error));
                return Failed;
            }
            doc = std::make_unique<MyDocument>();
            const BookmarkImportPlan plan = BookmarkImportPlan::make(
                *bookmarks, {}, doc->folderList(),
                m_parser.isSet(QStringLiteral("folder")) ? BookmarkImportPlan::Mapping::IntoFolder
                                                         : BookmarkImportPlan::Mapping::PerFolder,
                folder);
            std::fprintf(stderr, "%s\n", qPrintable(plan.summary()));
            doc->setFolderList(plan.folderNames);
            doc->setBookmarkList(plan.added);
        } else if (!(doc = openDocument(input, false))) {
            return Failed;
        }
        QString error;
        if (isHtml(output)) {
            QSaveFile file(output);
            if (!file.open(QIODevice::WriteOnly) ||
                file.write(BrowserBookmarks::write(doc->bookmarkList(), doc->folderList())) < 0 ||
                !file.commit()) {
                printError(QCoreApplication::translate("Cli", "Couldn't save %1: %2")
                               .arg(output, file.errorString()));
                return Failed;
            }
        } else if (!doc->writeToFile(output, &error)) {
            printError(QCoreApplication::translate("Cli", "Couldn't save %1: %2").arg(output, error));
            return Failed;
        }
        const int written = int(doc->bookmarkList().size()); // lupdate reads no "->" inside a translate call
        std::fprintf(
            stderr, "%s\n",
            qPrintable(QCoreApplication::translate("Cli", "Wrote %n bookmark(s) to %1.", nullptr, written)
                           .arg(output)));
        return Ok;
    }

    int list()
    {
        AirHFileList files;
        TerminalProgress progress;
        const int status =
            withPassword(QT_TRANSLATE_NOOP("Cli", "Couldn't read the file list."),
                         [&](const QString& pw) { return Link().readDirectory(files, pw, progress); });
        if (status != Ok)
            return status;
        QTextStream out(stdout);
        auto dateText = [](const AirHFile& f) {
            return f.fileDate().isValid() ? f.fileDate().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                                          : QString();
        };
        if (m_parser.isSet(QStringLiteral("json"))) {
            QJsonArray array;
            for (const AirHFile& f : files)
                array.append(QJsonObject{{"name", f.fileName()},
                                         {"type", f.fileType()},
                                         {"size", f.fileSize()},
                                         {"date", f.fileDate().isValid()
                                                      ? QJsonValue(f.fileDate().toString(Qt::ISODate))
                                                      : QJsonValue()}});
            out << QJsonDocument(array).toJson(QJsonDocument::Indented);
            return Ok;
        }
        for (const AirHFile& f : files)
            out << QStringLiteral("%1  %2  %3  %4\n")
                       .arg(f.fileName(), -24)
                       .arg(f.fileType(), -8)
                       .arg(f.fileSize(), 9)
                       .arg(dateText(f));
        return Ok;
    }

    // A handset file name made safe as a local file name: no folders, no "..".
    static QString localName(const QString& name)
    {
        QString safe = name;
        safe.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\0'), QLatin1Char('_'));
        if (safe.isEmpty() || safe == QLatin1String(".") || safe == QLatin1String(".."))
            safe = QStringLiteral("_") + safe;
        return safe;
    }

    int get(const QStringList& names)
    {
        const QString dir = m_parser.isSet(QStringLiteral("output"))
                                ? m_parser.value(QStringLiteral("output"))
                                : QStringLiteral(".");
        if (!QFileInfo(dir).isDir()) {
            printError(QCoreApplication::translate("Cli", "%1 is not a folder.").arg(dir));
            return Failed;
        }
        // Types come from the listing unless given as NAME:TYPE.
        AirHFileList listing;
        bool needListing = false;
        for (const QString& n : names)
            needListing |= !n.contains(QLatin1Char(':'));
        if (needListing) {
            TerminalProgress progress;
            const int status =
                withPassword(QT_TRANSLATE_NOOP("Cli", "Couldn't read the file list."),
                             [&](const QString& pw) { return Link().readDirectory(listing, pw, progress); });
            if (status != Ok)
                return status;
        }
        AirHFileList files;
        QStringList destinations;
        for (const QString& n : names) {
            AirHFile file;
            const auto listed = std::find_if(listing.begin(), listing.end(),
                                             [&](const AirHFile& f) { return f.fileName() == n; });
            if (listed != listing.end()) {
                file = *listed;
            } else if (n.contains(QLatin1Char(':'))) {
                file.setFileName(n.section(QLatin1Char(':'), 0, -2));
                file.setFileType(n.section(QLatin1Char(':'), -1));
                file.setFileDate(QDateTime());
            } else {
                printError(
                    QCoreApplication::translate("Cli", "There is no file %1 on the AIR-EDGE PHONE.").arg(n));
                return Failed;
            }
            const QString target = QDir(dir).filePath(localName(file.fileName()));
            const QFileInfo existing(target);
            if (existing.isSymLink() && !m_parser.isSet(QStringLiteral("force"))) {
                printError(QCoreApplication::translate(
                               "Cli", "%1 is a symbolic link; give --force to write through it.")
                               .arg(target));
                return Failed;
            }
            if (existing.exists() && !m_parser.isSet(QStringLiteral("force"))) {
                printError(
                    QCoreApplication::translate("Cli", "%1 exists; give --force to replace it.").arg(target));
                return Failed;
            }
            files << file;
            destinations << target;
        }
        TerminalProgress progress;
        const int status =
            withPassword(QT_TRANSLATE_NOOP("Cli", "Couldn't download the files."), [&](const QString& pw) {
                QStringList left = destinations;
                return Link().readFileFrom(files, left, pw, progress);
            });
        if (status == Ok)
            for (const QString& d : destinations)
                std::fprintf(stderr, "%s\n", qPrintable(d));
        return status;
    }

    int put(const QStringList& paths)
    {
        for (const QString& p : paths) {
            if (!QFileInfo(p).isFile()) {
                printError(QCoreApplication::translate("Cli", "%1 is not a file.").arg(p));
                return Failed;
            }
        }
        TerminalProgress progress;
        return withPassword(QT_TRANSLATE_NOOP("Cli", "Couldn't upload the files."), [&](const QString& pw) {
            return Link().writeFileFrom(paths, pw, progress, m_parser.value(QStringLiteral("type")));
        });
    }

    QCommandLineParser& m_parser;
    std::optional<QString> m_acceptedPassword;
    std::unique_ptr<QTemporaryDir> m_simulatorDir;
    std::unique_ptr<SimulatedHandset> m_simulator;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("edgemarks-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    installTranslations(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "Cli", "Reads and writes the bookmarks of the AH-K3001V handset (\"AIR-EDGE PHONE\").\n\n"
               "Commands:\n"
               "  import DOCUMENT   read the handset's bookmarks into DOCUMENT (made when missing;\n"
               "                    an existing one keeps its folder names)\n"
               "  export DOCUMENT   write DOCUMENT's bookmarks into the handset, replacing all it holds\n"
               "  show DOCUMENT     print the folders and bookmarks of DOCUMENT\n"
               "  check DOCUMENT    list what the handset cannot take as it is (exit 1 when anything)\n"
               "  convert INPUT OUTPUT\n"
               "                    between documents and browser bookmark files (.html, .htm)\n"
               "  ls                list the files on the handset (name, type, size, date)\n"
               "  get NAME...       download files by name (NAME:TYPE names the type) into -o DIR\n"
               "  put FILE...       upload files, typed by extension (or --type)\n"
               "  devices           list the USB serial ports, the one that would be used marked *\n\n"
               "The password comes from --password-file, else EDGEMARKS_PASSWORD, else the keychain,\n"
               "else a prompt on the terminal. Exit status: 0 done, 1 failed, 2 usage or not confirmed,\n"
               "3 password missing or refused, 4 USB driver missing. See edgemarks-cli(1)."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("device"),
         QCoreApplication::translate(
             "Cli",
             "The handset's serial device (overrides EDGEMARKS_DEVICE; default: found on the USB bus)."),
         QCoreApplication::translate("Cli", "path")},
        {QStringLiteral("trace"),
         QCoreApplication::translate(
             "Cli", "Write every frame and step of the conversation with the handset to this file, for a bug "
                    "report (the password is masked)."),
         QCoreApplication::translate("Cli", "file")},
        {QStringLiteral("password-file"),
         QCoreApplication::translate("Cli", "Read the password from the first line of this file."),
         QCoreApplication::translate("Cli", "file")},
        {QStringLiteral("simulator"),
         QCoreApplication::translate(
             "Cli", "Use a built-in simulated handset with sample content (password 1234).")},
        {QStringLiteral("yes"),
         QCoreApplication::translate("Cli", "Export without asking for confirmation.")},
        {QStringLiteral("json"), QCoreApplication::translate("Cli", "show, check, ls, devices: print JSON.")},
        {QStringLiteral("folder"),
         QCoreApplication::translate("Cli", "convert: put every bookmark into this handset folder (0-19)."),
         QCoreApplication::translate("Cli", "number")},
        {{QStringLiteral("o"), QStringLiteral("output")},
         QCoreApplication::translate("Cli", "get: the folder to download into (default: here)."),
         QCoreApplication::translate("Cli", "folder")},
        {QStringLiteral("force"),
         QCoreApplication::translate("Cli", "get, convert: replace local files that exist; export: send a "
                                            "document the check finds fault with.")},
        {QStringLiteral("type"),
         QCoreApplication::translate("Cli", "put: send every file with this handset type."),
         QCoreApplication::translate("Cli", "type")},
    });
    parser.addPositionalArgument(
        QStringLiteral("command"),
        QCoreApplication::translate("Cli", "import, export, show, check, convert, ls, get, put or devices"));
    parser.addPositionalArgument(QStringLiteral("arguments"),
                                 QCoreApplication::translate("Cli", "the document, or the files"),
                                 QStringLiteral("[arguments...]"));
    // A wrong command line is status 2, as the manual says (process() would exit 1).
    if (!parser.parse(app.arguments())) {
        printError(parser.errorText());
        printError(QCoreApplication::translate("Cli", "See edgemarks-cli --help."));
        return Usage;
    }
    if (parser.isSet(helpOption))
        parser.showHelp(Ok);
    if (parser.isSet(versionOption))
        parser.showVersion();

    if (parser.isSet(QStringLiteral("trace"))) {
        QString error;
        if (!ProtocolLog::shared().setTraceFile(parser.value(QStringLiteral("trace")), &error)) {
            printError(QCoreApplication::translate("Cli", "Couldn't write the trace file %1: %2")
                           .arg(parser.value(QStringLiteral("trace")), error));
            return Failed;
        }
    }
    catchSignals();
    Cli cli(parser);
    const int status = cli.run(parser.positionalArguments());
    if (caughtSignal) {
        printError(QCoreApplication::translate("Cli", "Interrupted."));
        return 128 + caughtSignal;
    }
    return status;
}
