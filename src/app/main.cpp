// edgemarks: the bookmark editor for the AH-K3001V handset.
#include "app/DocumentWindow.h"
#include "app/EdgeMarksApp.h"
#include "sheets/KeychainStore.h"
#include "Translations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileOpenEvent>
#include <QMessageBox>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};

extern "C" void onSignal(int signal)
{
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

// Files handed over by the desktop (macOS) while the program runs.
class FileOpenFilter : public QObject {
public:
    explicit FileOpenFilter(EdgeMarksApp* app) : m_app(app) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FileOpen) {
            m_app->openDocument(static_cast<QFileOpenEvent*>(event)->file());
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    EdgeMarksApp* m_app;
};
} // namespace

namespace
{
void setIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("EdgeMarks"));
    QCoreApplication::setOrganizationName(QStringLiteral("EdgeMarks"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
}

struct Options {
    QCommandLineParser parser;
    QCommandLineOption simulator{
        QStringLiteral("simulator"),
        QCoreApplication::translate("main", "Use a built-in simulated handset with sample bookmarks (password 1234).")};
    Options()
    {
        parser.setApplicationDescription(QCoreApplication::translate(
            "main", "Edits the web bookmarks of the AH-K3001V handset (\"AIR-EDGE PHONE\")."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(simulator);
        parser.addPositionalArgument(QStringLiteral("files"), QCoreApplication::translate("main", "Documents to open."),
                                     QStringLiteral("[files...]"));
    }
};

// --help, --version and mistyped options are answered on the terminal, also
// where there is no display to open.
bool answersOnTheTerminal(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--")
            return false;
        if (arg.startsWith('-') && arg != "--simulator")
            return true;
    }
    return false;
}
} // namespace

int main(int argc, char** argv)
{
    if (answersOnTheTerminal(argc, argv)) {
        QCoreApplication core(argc, argv);
        setIdentity();
        installTranslations(core);
        Options options;
        options.parser.process(core); // exits after help, version or an error
        // Only options that need the windows are left: go on with a display.
    }
    QApplication app(argc, argv);
    setIdentity();
    // The desktop entry that the desktop takes the icon and name from.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.edgemarks.EdgeMarks"));
    QApplication::setQuitOnLastWindowClosed(true);

    installTranslations(app);

    Options options;
    QCommandLineParser& parser = options.parser;
    const QCommandLineOption& simulator = options.simulator;
    parser.process(app);

    // The windows hold the handset's password: no core dump, no other process of
    // the user reading this one's memory.
    prctl(PR_SET_DUMPABLE, 0);
    struct rlimit noCore {0, 0};
    setrlimit(RLIMIT_CORE, &noCore);

    SystemKeychainStore keychain;
    // The environment is read here, once; the program's links get what it said.
    EdgeMarksApp edgemarks(&keychain, LinkSettings::fromEnvironment());

    // SIGINT and SIGTERM end running transfers properly before the program ends.
    std::unique_ptr<QSocketNotifier> signalNotifier;
    if (::pipe2(signalPipe, O_CLOEXEC) == 0) {
        signalNotifier = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
        QObject::connect(signalNotifier.get(), &QSocketNotifier::activated, &edgemarks, [&edgemarks] {
            char signal = 0;
            if (::read(signalPipe[0], &signal, 1) == 1)
                edgemarks.shutDown(128 + signal);
        });
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
    }
    if (parser.isSet(simulator)) {
        QString error;
        if (!edgemarks.startSimulator(&error)) {
            QMessageBox::critical(nullptr, QStringLiteral("EdgeMarks"),
                                  QApplication::translate("main", "The simulated handset could not start.") +
                                      QStringLiteral("\n") + error);
            return 1;
        }
    }
    FileOpenFilter fileOpen(&edgemarks);
    app.installEventFilter(&fileOpen);

    // Files that fail to open show their error; the program ends with the last one.
    for (const QString& file : parser.positionalArguments())
        edgemarks.openDocument(file);
    if (parser.positionalArguments().isEmpty())
        edgemarks.newDocument();
    return app.exec();
}
