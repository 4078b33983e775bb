// edgemarks-cli: the handset's bookmarks (and files) from the command line.
#include "Translations.h"
#include "cli/Command.h"
#include "cli/TerminalIo.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("edgemarks-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    installTranslations(app);

    TerminalIo io;
    TerminalIo::catchSignals();
    const int status = Command::execute(app.arguments().mid(1), io);
    io.out().flush();
    if (const int signal = TerminalIo::caughtSignal()) {
        io.err() << QCoreApplication::translate("Cli", "Interrupted.") << '\n';
        return 128 + signal;
    }
    return status;
}
