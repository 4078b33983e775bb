#pragma once

#include "cli/CommandIo.h"

#include <QCommandLineParser>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class MyDocument;
class QTemporaryDir;
class SimulatedHandset;
class VedORovav;

// One command of edgemarks-cli. A command reads its options from the parsed
// command line, its arguments from what follows its name, and talks to the user
// through a CommandIo only; run() returns the exit status.
class Command
{
public:
    enum Status { Ok = 0, Failed = 1, Usage = 2, PasswordRefused = 3, NoDriver = 4 };

    Command(const QCommandLineParser& options, CommandIo& io) : m_options(options), m_io(io) {}
    virtual ~Command();
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    // Whether the command takes that many arguments.
    virtual bool takes(qsizetype count) const = 0;
    virtual int run(const QStringList& arguments) = 0;

    // The command named by the first positional argument, run with the rest;
    // Usage when there is no such command or it takes other arguments.
    static int execute(const QStringList& positional, const QCommandLineParser& options, CommandIo& io);
    static std::unique_ptr<Command> create(const QString& name, const QCommandLineParser& options,
                                           CommandIo& io);
    // The program's options and help text, for the parser.
    static void describe(QCommandLineParser& parser);
    static int usage(CommandIo& io);

protected:
    bool isSet(const char* option) const { return m_options.isSet(QLatin1String(option)); }
    QString value(const char* option) const { return m_options.value(QLatin1String(option)); }
    void printError(const QString& message);
    // Asks a yes/no question on the terminal; no unless answered yes.
    bool confirm(const QString& message, const QString& informative, const QString& action);
    // The document at path, or nothing after saying why. A missing file gives a
    // new document when mayBeMissing.
    std::unique_ptr<MyDocument> openDocument(const QString& path, bool mayBeMissing);

    const QCommandLineParser& m_options;
    CommandIo& m_io;
};

// A command that talks to the handset: it finds the device (or starts the
// built-in simulated one), checks the driver and finds the password first.
class HandsetCommand : public Command
{
public:
    using Command::Command;
    ~HandsetCommand() override;

    int run(const QStringList& arguments) final;

protected:
    virtual int work(const QStringList& arguments) = 0;
    // A link the user's interrupt cancels.
    std::unique_ptr<VedORovav> newLink() const;
    // Runs a transfer with the password rules: re-asks on a terminal when the
    // handset refused it; a failure is reported under failureMessage.
    int withPassword(const char* failureMessage, const std::function<bool(const QString&)>& transfer);

private:
    // The device, the built-in simulator and the driver check, in that order.
    int prepareHandset();
    std::optional<QString> findPassword(bool retry);
    std::optional<QString> readPasswordFile(const QString& path);

    std::optional<QString> m_acceptedPassword;
    std::unique_ptr<QTemporaryDir> m_simulatorDir;
    std::unique_ptr<SimulatedHandset> m_simulator;
};
