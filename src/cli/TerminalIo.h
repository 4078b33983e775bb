#pragma once

#include "cli/CommandIo.h"

#include <csignal>

// The program's own input and output. Ctrl-C and SIGTERM cancel what runs: the
// transfer ends as every transfer ends (logout, the port released and
// restored), then the program exits 128 + signal. A second one ends the program
// at once: the port and the terminal get their attributes back and unfinished
// files are removed, but the handset is left where it was.
class TerminalIo : public CommandIo
{
public:
    TerminalIo();

    QTextStream& out() override { return m_out; }
    QTextStream& err() override { return m_err; }
    QByteArray readLine(bool* complete) override;
    bool inputIsTerminal() const override;
    std::optional<QString> promptHidden(const QString& prompt) override;
    const std::atomic<bool>* cancelFlag() const override;
    void protectSecrets() override;

    // Catches SIGINT and SIGTERM from now on (call it once the translations are
    // installed: what a signal prints is made here); the signal caught, or 0.
    static void catchSignals();
    static int caughtSignal();

private:
    QTextStream m_out;
    QTextStream m_err;
};
