#include "cli/TerminalIo.h"

#include "handset/SerialPort.h"
#include "io/AtomicFile.h"
#include "sheets/KeychainStore.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

namespace
{
std::atomic<bool> cancelRequested{false};
volatile std::sig_atomic_t signalCaught = 0;
// What the handler writes, made before any signal can come.
QByteArray stoppingNotice;
// The terminal's attributes while a prompt has turned its echo off.
struct termios echoingTerminal;
std::atomic<bool> echoIsOff{false};

void writeNotice(const QByteArray& text)
{
    for (const char *p = text.constData(), *end = p + text.size(); p < end;) {
        const ssize_t n = ::write(STDERR_FILENO, p, size_t(end - p));
        if (n <= 0 && errno != EINTR)
            return;
        p += n > 0 ? n : 0;
    }
}

extern "C" void onSignal(int signal)
{
    const int savedErrno = errno;
    if (cancelRequested.exchange(true)) {
        // The user will not wait for the handset to finish: what this process
        // changed is given back and it ends now.
        SerialPort::releaseHeldPortsNow();
        AtomicFile::removeTemporariesNow();
        if (echoIsOff.load())
            tcsetattr(STDIN_FILENO, TCSANOW, &echoingTerminal);
        _exit(128 + signal);
    }
    signalCaught = signal;
    writeNotice(stoppingNotice);
    errno = savedErrno;
}
} // namespace

TerminalIo::TerminalIo() : m_out(stdout), m_err(stderr) {}

void TerminalIo::catchSignals()
{
    stoppingNotice =
        '\n' +
        QCoreApplication::translate("Cli", "Stopping… (press Ctrl-C again to quit at once)").toLocal8Bit() +
        '\n';
    struct sigaction action {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a read at the prompt ends at once
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int TerminalIo::caughtSignal()
{
    return signalCaught;
}

const std::atomic<bool>* TerminalIo::cancelFlag() const
{
    return &cancelRequested;
}

bool TerminalIo::inputIsTerminal() const
{
    return isatty(STDIN_FILENO);
}

// Read byte by byte, so that nothing after the line is taken from the input and
// a signal ends the reading at once.
QByteArray TerminalIo::readLine(bool* complete)
{
    QByteArray line;
    *complete = false;
    for (char c; !signalCaught && line.size() <= 4096;) {
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

// The terminal's echo comes back however the prompt ends, Ctrl-C included.
std::optional<QString> TerminalIo::promptHidden(const QString& prompt)
{
    m_err << prompt;
    m_err.flush();
    struct termios saved;
    const bool terminal = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        struct termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        echoingTerminal = saved;
        echoIsOff = true;
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    bool complete = false;
    QByteArray line = readLine(&complete);
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        echoIsOff = false;
        m_err << '\n';
        m_err.flush();
    }
    if (signalCaught || (!complete && line.isEmpty()))
        return std::nullopt;
    if (line.endsWith('\r'))
        line.chop(1);
    const std::optional<QString> password = decodeUtf8Strictly(line);
    line.fill('\0');
    return password;
}

// A process that holds a password leaves no core dump behind, and no other
// process of the user may read its memory.
void TerminalIo::protectSecrets()
{
    prctl(PR_SET_DUMPABLE, 0);
    struct rlimit none {
        0, 0
    };
    setrlimit(RLIMIT_CORE, &none);
}
