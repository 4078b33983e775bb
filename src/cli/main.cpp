// edgemarks-cli: the handset's bookmarks (and files) from the command line.
#include "cli/Command.h"
#include "handset/ProtocolLog.h"
#include "cli/TerminalIo.h"
#include "Translations.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("edgemarks-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    installTranslations(app);

    TerminalIo io;
    QCommandLineParser parser;
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    Command::describe(parser);
    // A wrong command line is status 2, as the manual says (process() would exit 1).
    if (!parser.parse(app.arguments())) {
        io.err() << parser.errorText() << '\n'
                 << QCoreApplication::translate("Cli", "See edgemarks-cli --help.") << '\n';
        return Command::Usage;
    }
    if (parser.isSet(helpOption))
        parser.showHelp(Command::Ok);
    if (parser.isSet(versionOption))
        parser.showVersion();

    if (parser.isSet(QStringLiteral("trace"))) {
        QString error;
        if (!ProtocolLog::shared().setTraceFile(parser.value(QStringLiteral("trace")), &error)) {
            io.err() << QCoreApplication::translate("Cli", "Couldn't write the trace file %1: %2")
                            .arg(parser.value(QStringLiteral("trace")), error)
                     << '\n';
            return Command::Failed;
        }
    }
    TerminalIo::catchSignals();
    const int status = Command::execute(parser.positionalArguments(), parser, io);
    io.out().flush();
    int traced = status;
    if (parser.isSet(QStringLiteral("trace"))) {
        QString error;
        if (!ProtocolLog::shared().setTraceFile(QString(), &error)) {
            io.err() << QCoreApplication::translate("Cli", "Couldn't write the trace file %1: %2")
                            .arg(parser.value(QStringLiteral("trace")), error)
                     << '\n';
            traced = status == Command::Ok ? int(Command::Failed) : status;
        }
    }
    if (const int signal = TerminalIo::caughtSignal()) {
        io.err() << QCoreApplication::translate("Cli", "Interrupted.") << '\n';
        return 128 + signal;
    }
    return traced;
}
