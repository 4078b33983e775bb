#pragma once

#include "cli/Command.h"

// import DOCUMENT: the handset's bookmarks into a document (made when missing).
class ImportCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;
    bool takes(qsizetype count) const override { return count == 1; }

protected:
    int work(const QStringList& arguments) override;
};

// export DOCUMENT: a document's bookmarks into the handset, after the check and
// a confirmation.
class ExportCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;
    bool takes(qsizetype count) const override { return count == 1; }

protected:
    int work(const QStringList& arguments) override;
};

// show DOCUMENT: the folders and bookmarks, as a table or JSON.
class ShowCommand : public Command
{
public:
    using Command::Command;
    bool takes(qsizetype count) const override { return count == 1; }
    int run(const QStringList& arguments) override;
};

// check DOCUMENT: what the handset cannot take as it is.
class CheckCommand : public Command
{
public:
    using Command::Command;
    bool takes(qsizetype count) const override { return count == 1; }
    int run(const QStringList& arguments) override;
};

// convert INPUT OUTPUT: between documents and browser bookmark files, by extension.
class ConvertCommand : public Command
{
public:
    using Command::Command;
    bool takes(qsizetype count) const override { return count == 2; }
    int run(const QStringList& arguments) override;
};

// devices: the USB serial ports, the one a transfer would use marked.
class DevicesCommand : public Command
{
public:
    using Command::Command;
    bool takes(qsizetype count) const override { return count == 0; }
    int run(const QStringList& arguments) override;
};

// ls: the files on the handset.
class ListCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;
    bool takes(qsizetype count) const override { return count == 0; }

protected:
    int work(const QStringList& arguments) override;
};

// get NAME...: files downloaded by name (NAME:TYPE names the type).
class GetCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;
    bool takes(qsizetype count) const override { return count >= 1; }

protected:
    int work(const QStringList& arguments) override;
};

// put FILE...: files uploaded, typed by extension or --type.
class PutCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;
    bool takes(qsizetype count) const override { return count >= 1; }

protected:
    int work(const QStringList& arguments) override;
};
