#pragma once

#include "cli/CommandIo.h"
#include "handset/LinkSettings.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonValue>
#include <QList>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class BuiltInSimulator;
class MyDocument;
class VedORovav;

// One command of edgemarks-cli. A command says what it is called, what it does
// and which arguments and options it takes; it parses its part of the command
// line with a parser of its own, answers its own --help, refuses an option it
// does not take, and talks to the user through a CommandIo only. Options may
// come before or after the command's name.
class Command
{
public:
    enum Status { Ok = 0, Failed = 1, Usage = 2, PasswordRefused = 3, NoDriver = 4 };

    // The name on the command line, the arguments as the usage line writes them
    // ("DOCUMENT"), how many arguments it takes (most -1: any number) and what
    // it does in one line (translated in the context "Cli"); every command's
    // stand in one table (Command.cpp).
    struct Identity {
        const char* name;
        const char* synopsis;
        qsizetype fewest;
        qsizetype most;
        const char* description;
    };

    Command(CommandIo& io, const Identity& identity) : m_io(io), m_identity(identity) {}
    virtual ~Command();
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    QString name() const { return QLatin1String(m_identity.name); }
    QString synopsis() const { return QLatin1String(m_identity.synopsis); }
    QString description() const { return QCoreApplication::translate("Cli", m_identity.description); }
    bool takes(qsizetype count) const
    {
        return count >= m_identity.fewest && (m_identity.most < 0 || count <= m_identity.most);
    }

    // The program: its arguments without the program's name, the link settings
    // of its environment (with the protocol log that --trace writes); the exit status.
    static int execute(const QStringList& arguments, CommandIo& io, const LinkSettings& link);
    // Every command, in the order the help lists them.
    static std::vector<std::unique_ptr<Command>> all(CommandIo& io);
    static std::unique_ptr<Command> create(const QString& name, CommandIo& io);
    // The program's help: the commands, each with its own description.
    static QString programHelp(CommandIo& io);

    // Parses arguments (the command line without the program's and the command's
    // names) and runs the command, or answers --help.
    int parseAndRun(const QStringList& arguments);
    // The command's own help: usage, description, options and arguments.
    QString helpText();
    // The options of this command that take a value, by every name they have.
    QStringList valueOptionNames();

protected:
    // Declares the command's arguments and options through addArgument and
    // addOption; a command that extends another declares the other's first.
    virtual void declare() = 0;
    virtual int run(const QStringList& arguments) = 0;

    void addArgument(const QString& name, const QString& description, const QString& syntax = QString());
    void addOption(const QCommandLineOption& option);
    // --json, for a command that reports a result.
    void addJsonOption();
    bool isSet(const char* option) const { return m_parser.isSet(QLatin1String(option)); }
    QString value(const char* option) const { return m_parser.value(QLatin1String(option)); }
    bool json() const { return isSet("json"); }

    void printError(const QString& message);
    // The result as indented JSON on standard output.
    void printJson(const QJsonValue& value);
    // Asks a yes/no question on the terminal; no unless answered yes.
    bool confirm(const QString& message, const QString& informative, const QString& action);
    // The document at path, or nothing after saying why. A missing file gives a
    // new document when mayBeMissing.
    std::unique_ptr<MyDocument> openDocument(const QString& path, bool mayBeMissing);

    CommandIo& m_io;
    // The link settings the program was started with; a command's options amend them.
    LinkSettings m_link;

private:
    void declareOnce();

    Identity m_identity;
    QCommandLineParser m_parser;
    QList<QCommandLineOption> m_options;
    bool m_declared = false;
};

// A command that talks to the handset: it finds the device (or starts the
// built-in simulated one), checks the driver and finds the password first.
class HandsetCommand : public Command
{
public:
    using Command::Command;
    ~HandsetCommand() override;

protected:
    void declare() override;
    int run(const QStringList& arguments) final;
    virtual int work(const QStringList& arguments) = 0;
    // A link the user's interrupt cancels.
    std::unique_ptr<VedORovav> newLink() const;
    // Runs a transfer with the password rules: re-asks on a terminal when the
    // handset refused it; a failure is reported under failureMessage.
    int withPassword(const char* failureMessage, const std::function<bool(const QString&)>& transfer);

private:
    // The trace file, the device, the built-in simulator and the driver check,
    // in that order.
    int prepareHandset();
    std::optional<QString> findPassword(bool retry);
    std::optional<QString> readPasswordFile(const QString& path);

    std::optional<QString> m_acceptedPassword;
    std::unique_ptr<BuiltInSimulator> m_simulator;
};
