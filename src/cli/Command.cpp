#include "cli/Command.h"

#include "cli/Commands.h"
#include "handset/DriverCheck.h"
#include "sheets/KeychainStore.h"
#include "document/MyDocument.h"
#include "simulator/SimulatedHandset.h"
#include "handset/VedORovav.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

Command::~Command() = default;
HandsetCommand::~HandsetCommand() = default;

std::unique_ptr<Command> Command::create(const QString& name, const QCommandLineParser& options,
                                         CommandIo& io)
{
    if (name == QLatin1String("import"))
        return std::make_unique<ImportCommand>(options, io);
    if (name == QLatin1String("export"))
        return std::make_unique<ExportCommand>(options, io);
    if (name == QLatin1String("show"))
        return std::make_unique<ShowCommand>(options, io);
    if (name == QLatin1String("check"))
        return std::make_unique<CheckCommand>(options, io);
    if (name == QLatin1String("convert"))
        return std::make_unique<ConvertCommand>(options, io);
    if (name == QLatin1String("devices"))
        return std::make_unique<DevicesCommand>(options, io);
    if (name == QLatin1String("ls"))
        return std::make_unique<ListCommand>(options, io);
    if (name == QLatin1String("get"))
        return std::make_unique<GetCommand>(options, io);
    if (name == QLatin1String("put"))
        return std::make_unique<PutCommand>(options, io);
    return nullptr;
}

int Command::execute(const QStringList& positional, const QCommandLineParser& options, CommandIo& io)
{
    const std::unique_ptr<Command> command = create(positional.value(0), options, io);
    if (!command || !command->takes(positional.size() - 1))
        return usage(io);
    return command->run(positional.mid(1));
}

int Command::usage(CommandIo& io)
{
    io.err()
        << QCoreApplication::translate(
               "Cli",
               "Usage: edgemarks-cli [options] import|export|show|check DOCUMENT, convert INPUT OUTPUT, ls, "
               "get NAME..., put FILE..., devices (see --help)")
        << '\n';
    io.err().flush();
    return Usage;
}

void Command::describe(QCommandLineParser& parser)
{
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
}

void Command::printError(const QString& message)
{
    m_io.err() << message << '\n';
    m_io.err().flush();
}

bool Command::confirm(const QString& message, const QString& informative, const QString& action)
{
    m_io.err() << message << '\n' << informative << '\n' << action << " [y/N] ";
    m_io.err().flush();
    bool complete = false;
    const QString answer = QString::fromLocal8Bit(m_io.readLine(&complete)).trimmed().toLower();
    return !m_io.interrupted() && (answer == QLatin1String("y") || answer == QLatin1String("yes"));
}

std::unique_ptr<MyDocument> Command::openDocument(const QString& path, bool mayBeMissing)
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

int HandsetCommand::run(const QStringList& arguments)
{
    if (const int status = prepareHandset())
        return status;
    return work(arguments);
}

std::unique_ptr<VedORovav> HandsetCommand::newLink() const
{
    auto link = std::make_unique<VedORovav>();
    link->setCancelFlag(m_io.cancelFlag());
    return link;
}

// The device, the built-in simulator and the driver check, in that order.
int HandsetCommand::prepareHandset()
{
    m_io.protectSecrets();
    if (isSet("device"))
        qputenv("EDGEMARKS_DEVICE", QFile::encodeName(value("device")));
    if (isSet("simulator")) {
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
    if (!DriverCheck::exists()) {
        const QString driver = DriverCheck::humanReadableName();
        printError(
            QCoreApplication::translate("Cli", "Couldn't use this application because the %1 didn't exist.")
                .arg(driver));
        printError(DriverCheck::instructions(false));
        return NoDriver;
    }
    return Ok;
}

// The password: a file, the environment, the built-in simulator's, the keychain,
// then the terminal.
std::optional<QString> HandsetCommand::findPassword(bool retry)
{
    if (!retry && m_acceptedPassword)
        return m_acceptedPassword;
    if (!retry) {
        if (isSet("password-file"))
            return readPasswordFile(value("password-file"));
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
    if (!m_io.inputIsTerminal())
        return std::nullopt;
    return m_io.promptHidden(QCoreApplication::translate("Cli", "Password of the AIR-EDGE PHONE: "));
}

// The first line of a small file; a file that others may read is used with a warning.
std::optional<QString> HandsetCommand::readPasswordFile(const QString& path)
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
        printError(QCoreApplication::translate("Cli", "The password file %1 is not UTF-8 text.").arg(path));
    return password;
}

// Runs a transfer with the password rules; re-asks on a terminal when refused.
int HandsetCommand::withPassword(const char* failureMessage,
                                 const std::function<bool(const QString&)>& transfer)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::optional<QString> password = findPassword(attempt > 0);
        if (m_io.interrupted())
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
        if (m_io.interrupted())
            return Failed;
        printError(QCoreApplication::translate("Cli", "The AIR-EDGE PHONE refused the password."));
        if (!m_io.inputIsTerminal())
            return PasswordRefused;
    }
    return PasswordRefused;
}
