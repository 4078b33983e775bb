#include "cli/Command.h"

#include "cli/Commands.h"
#include "document/MyDocument.h"
#include "handset/DriverCheck.h"
#include "handset/ProtocolLog.h"
#include "handset/VedORovav.h"
#include "sheets/KeychainStore.h"
#include "simulator/BuiltInSimulator.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

Command::~Command() = default;
HandsetCommand::~HandsetCommand() = default;

namespace
{
using Maker = std::unique_ptr<Command> (*)(CommandIo&, const Command::Identity&);
template <class C> std::unique_ptr<Command> make(CommandIo& io, const Command::Identity& identity)
{
    return std::make_unique<C>(io, identity);
}
// Every command, in the order the help lists them.
constexpr struct {
    Maker make;
    Command::Identity identity;
} Commands[] = {
    {make<ImportCommand>,
     {"import", "DOCUMENT", 1, 1,
      QT_TRANSLATE_NOOP("Cli", "Read the handset's bookmarks into DOCUMENT (made when missing).")}},
    {make<ExportCommand>,
     {"export", "DOCUMENT", 1, 1,
      QT_TRANSLATE_NOOP("Cli", "Write DOCUMENT's bookmarks into the handset, replacing all it holds.")}},
    {make<ShowCommand>,
     {"show", "DOCUMENT", 1, 1, QT_TRANSLATE_NOOP("Cli", "Print the folders and bookmarks of DOCUMENT.")}},
    {make<CheckCommand>,
     {"check", "DOCUMENT", 1, 1,
      QT_TRANSLATE_NOOP("Cli",
                        "List what the handset cannot take of DOCUMENT as it is (exit 1 when anything).")}},
    {make<ConvertCommand>,
     {"convert", "INPUT OUTPUT", 2, 2,
      QT_TRANSLATE_NOOP("Cli", "Convert between documents and browser bookmark files (.html, .htm).")}},
    {make<ListCommand>,
     {"ls", "", 0, 0, QT_TRANSLATE_NOOP("Cli", "List the files on the handset (name, type, size, date).")}},
    {make<GetCommand>,
     {"get", "NAME...", 1, -1,
      QT_TRANSLATE_NOOP("Cli", "Download files by name (NAME:TYPE names the type).")}},
    {make<PutCommand>,
     {"put", "FILE...", 1, -1, QT_TRANSLATE_NOOP("Cli", "Upload files, typed by their extension.")}},
    {make<BackupCommand>,
     {"backup", "[FILE]", 0, 1,
      QT_TRANSLATE_NOOP("Cli", "Back up the handset's bookmarks and files into one archive.")}},
    {make<VerifyCommand>,
     {"verify", "FILE", 1, 1, QT_TRANSLATE_NOOP("Cli", "Check a backup: every entry against its manifest.")}},
    {make<RestoreCommand>,
     {"restore", "FILE", 1, 1,
      QT_TRANSLATE_NOOP("Cli", "Restore a backup into the handset, showing first what changes.")}},
    {make<HistoryCommand>,
     {"history", "", 0, 0,
      QT_TRANSLATE_NOOP("Cli", "List the handset's bookmark lists kept before each export.")}},
    {make<DevicesCommand>,
     {"devices", "", 0, 0,
      QT_TRANSLATE_NOOP("Cli", "List the USB serial ports, the one a transfer would use marked *.")}},
};

bool isOption(const QString& argument)
{
    return argument.size() > 1 && argument.startsWith(QLatin1Char('-'));
}
} // namespace

std::vector<std::unique_ptr<Command>> Command::all(CommandIo& io)
{
    std::vector<std::unique_ptr<Command>> commands;
    for (const auto& c : Commands)
        commands.push_back(c.make(io, c.identity));
    return commands;
}

std::unique_ptr<Command> Command::create(const QString& name, CommandIo& io)
{
    for (std::unique_ptr<Command>& c : all(io))
        if (c->name() == name)
            return std::move(c);
    return nullptr;
}

// The command's name is the first argument that is neither an option nor the
// value of one, whichever command's option it is.
int Command::execute(const QStringList& arguments, CommandIo& io, const LinkSettings& link)
{
    QStringList valued;
    for (const std::unique_ptr<Command>& c : all(io))
        valued += c->valueOptionNames();
    qsizetype at = -1;
    for (qsizetype i = 0; i < arguments.size() && at < 0; ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--"))
            at = i + 1 < arguments.size() ? i + 1 : -1;
        else if (!isOption(a))
            at = i;
        else if (!a.contains(QLatin1Char('=')) &&
                 valued.contains(a.mid(a.startsWith(QLatin1String("--")) ? 2 : 1)))
            ++i;
    }
    if (at < 0) {
        if (arguments.contains(QLatin1String("--version")) || arguments.contains(QLatin1String("-v"))) {
            io.out() << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
                     << '\n';
            return Ok;
        }
        const bool help =
            arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"));
        (help ? io.out() : io.err()) << programHelp(io);
        return help ? Ok : Usage;
    }
    const QString& name = arguments[at];
    if (name == QLatin1String("help")) {
        const std::unique_ptr<Command> command = create(arguments.value(at + 1), io);
        io.out() << (command ? command->helpText() : programHelp(io));
        return Ok;
    }
    const std::unique_ptr<Command> command = create(name, io);
    if (!command) {
        io.err() << QCoreApplication::translate("Cli",
                                                "There is no command \"%1\". See edgemarks-cli --help.")
                        .arg(name)
                 << '\n';
        return Usage;
    }
    QStringList rest = arguments;
    rest.removeAt(at);
    command->m_link = link;
    return command->parseAndRun(rest);
}

QString Command::programHelp(CommandIo& io)
{
    QString text =
        QCoreApplication::translate("Cli", "Usage: edgemarks-cli COMMAND [options] [arguments]") +
        QLatin1Char('\n') +
        QCoreApplication::translate(
            "Cli", "Reads and writes the bookmarks of the AH-K3001V handset (\"AIR-EDGE PHONE\").") +
        QStringLiteral("\n\n") + QCoreApplication::translate("Cli", "Commands:") + QLatin1Char('\n');
    for (const std::unique_ptr<Command>& c : all(io)) {
        const QString usage = (c->name() + QLatin1Char(' ') + c->synopsis()).trimmed();
        text += QStringLiteral("  %1  %2\n").arg(usage, -22).arg(c->description());
    }
    return text + QLatin1Char('\n') +
           QCoreApplication::translate(
               "Cli",
               "\"edgemarks-cli COMMAND --help\" lists the options of a command.\n"
               "The password comes from --password-file, else EDGEMARKS_PASSWORD, else the keyring,\n"
               "else a prompt on the terminal. Exit status: 0 done, 1 failed, 2 usage or not confirmed,\n"
               "3 password missing or refused, 4 USB driver missing. See edgemarks-cli(1).") +
           QLatin1Char('\n');
}

void Command::declareOnce()
{
    if (m_declared)
        return;
    m_declared = true;
    m_parser.setApplicationDescription(description());
    m_parser.addHelpOption();
    declare();
}

void Command::addArgument(const QString& name, const QString& description, const QString& syntax)
{
    m_parser.addPositionalArgument(name, description, syntax);
}

void Command::addOption(const QCommandLineOption& option)
{
    m_parser.addOption(option);
    m_options << option;
}

void Command::addJsonOption()
{
    addOption({QStringLiteral("json"), QCoreApplication::translate("Cli", "Print the result as JSON.")});
}

QStringList Command::valueOptionNames()
{
    declareOnce();
    QStringList names;
    for (const QCommandLineOption& o : std::as_const(m_options))
        if (!o.valueName().isEmpty())
            names += o.names();
    return names;
}

QString Command::helpText()
{
    declareOnce();
    // Qt's first line names the program alone; ours names the command too.
    const QString qt = m_parser.helpText();
    const QString usage = QCoreApplication::translate("Cli", "Usage: edgemarks-cli %1 [options] %2")
                              .arg(name(), synopsis())
                              .trimmed();
    return usage + qt.mid(qt.indexOf(QLatin1Char('\n')));
}

int Command::parseAndRun(const QStringList& arguments)
{
    declareOnce();
    if (!m_parser.parse(QStringList(QStringLiteral("edgemarks-cli")) + arguments)) {
        printError(QStringLiteral("edgemarks-cli %1: %2").arg(name(), m_parser.errorText()));
        printError(QCoreApplication::translate("Cli", "See edgemarks-cli %1 --help.").arg(name()));
        return Usage;
    }
    if (m_parser.isSet(QStringLiteral("help"))) {
        m_io.out() << helpText();
        return Ok;
    }
    const QStringList positional = m_parser.positionalArguments();
    if (!takes(positional.size())) {
        printError(QCoreApplication::translate("Cli", "Usage: edgemarks-cli %1 [options] %2")
                       .arg(name(), synopsis())
                       .trimmed());
        printError(QCoreApplication::translate("Cli", "See edgemarks-cli %1 --help.").arg(name()));
        return Usage;
    }
    return run(positional);
}

void Command::printError(const QString& message)
{
    m_io.err() << message << '\n';
    m_io.err().flush();
}

void Command::printJson(const QJsonValue& value)
{
    const QJsonDocument document =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    m_io.out() << document.toJson(QJsonDocument::Indented);
    m_io.out().flush();
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

void HandsetCommand::declare()
{
    addOption(
        {QStringLiteral("device"),
         QCoreApplication::translate(
             "Cli",
             "The handset's serial device (overrides EDGEMARKS_DEVICE; default: found on the USB bus)."),
         QCoreApplication::translate("Cli", "path")});
    addOption(
        {QStringLiteral("trace"),
         QCoreApplication::translate(
             "Cli", "Write every frame and step of the conversation with the handset to this file, for a bug "
                    "report (the password is masked)."),
         QCoreApplication::translate("Cli", "file")});
    addOption({QStringLiteral("password-file"),
               QCoreApplication::translate("Cli", "Read the password from the first line of this file."),
               QCoreApplication::translate("Cli", "file")});
    addOption({QStringLiteral("simulator"),
               QCoreApplication::translate(
                   "Cli", "Use a built-in simulated handset with sample content (password 1234).")});
}

int HandsetCommand::run(const QStringList& arguments)
{
    if (const int status = prepareHandset())
        return status;
    return work(arguments);
}

std::unique_ptr<VedORovav> HandsetCommand::newLink() const
{
    auto link = std::make_unique<VedORovav>(m_link);
    link->setCancelFlag(m_io.cancelFlag());
    return link;
}

// The device, the built-in simulator and the driver check, in that order.
int HandsetCommand::prepareHandset()
{
    m_io.protectSecrets();
    if (isSet("trace")) {
        QString error;
        if (!m_link.log || !m_link.log->setTraceFile(value("trace"), &error)) {
            printError(QCoreApplication::translate("Cli", "Couldn't write the trace file %1: %2")
                           .arg(value("trace"), error));
            return Failed;
        }
    }
    if (isSet("device"))
        m_link.device = value("device");
    if (isSet("simulator")) {
        QString error;
        m_simulator = BuiltInSimulator::start(&error);
        if (!m_simulator) {
            printError(error);
            return Failed;
        }
        m_simulator->pointAtIt(m_link);
    }
    if (!DriverCheck::exists(m_link.driverBundle)) {
        const QString driver = DriverCheck::humanReadableName(m_link.driverBundle);
        printError(
            QCoreApplication::translate("Cli", "Couldn't use this application because the %1 didn't exist.")
                .arg(driver));
        printError(DriverCheck::instructions(m_link.driverBundle, false));
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
