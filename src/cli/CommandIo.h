#pragma once

#include <QByteArray>
#include <QString>
#include <QTextStream>

#include <atomic>
#include <optional>

// Where a command of edgemarks-cli reads and writes: the terminal and its
// signals for the program, buffers for tests.
class CommandIo
{
public:
    virtual ~CommandIo() = default;

    virtual QTextStream& out() = 0;
    virtual QTextStream& err() = 0;
    // One line of input without its end; complete is false when the input ended
    // (or a signal came) before one.
    virtual QByteArray readLine(bool* complete) = 0;
    virtual bool inputIsTerminal() const = 0;
    // A line read without echo, after prompt; nothing when none was given.
    virtual std::optional<QString> promptHidden(const QString& prompt) = 0;
    // Set when the user asked the program to stop; transfers watch it.
    virtual const std::atomic<bool>* cancelFlag() const = 0;
    bool interrupted() const { return cancelFlag() && cancelFlag()->load(); }
    // Called before a password is looked for: the process keeps it to itself.
    virtual void protectSecrets() {}
};
