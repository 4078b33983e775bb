// edgemarks-cli: the handset's bookmarks (and files) from the command line.
#include "Translations.h"
#include "cli/Command.h"
#include "cli/TerminalIo.h"
#include "handset/ProtocolLog.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("edgemarks-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    installTranslations(app);

    TerminalIo io;
    TerminalIo::catchSignals();
    // The environment is read here, once; every command's link gets what it said.
    LinkSettings link = LinkSettings::fromEnvironment();
    link.log = std::make_shared<ProtocolLog>();
    const int status = Command::execute(app.arguments().mid(1), io, link);
    io.out().flush();
    int traced = status;
    // A trace is kept only when it reached the disk whole.
    QString error;
    if (!link.log->setTraceFile(QString(), &error)) {
        io.err() << QCoreApplication::translate("Cli", "Couldn't write the trace file: %1").arg(error) << '\n';
        traced = status == Command::Ok ? int(Command::Failed) : status;
    }
    if (const int signal = TerminalIo::caughtSignal()) {
        io.err() << QCoreApplication::translate("Cli", "Interrupted.") << '\n';
        return 128 + signal;
    }
    return traced;
}
