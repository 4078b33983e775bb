#pragma once

#include "cli/Command.h"

// import DOCUMENT: the handset's bookmarks into a document (made when missing).
class ImportCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;

protected:
    void declare() override;
    int work(const QStringList& arguments) override;
};

// export DOCUMENT: a document's bookmarks into the handset, after the check and
// a confirmation.
class ExportCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;

protected:
    void declare() override;
    int work(const QStringList& arguments) override;
};

// show DOCUMENT: the folders and bookmarks, as a table or JSON.
class ShowCommand : public Command
{
public:
    using Command::Command;

protected:
    void declare() override;
    int run(const QStringList& arguments) override;
};

// check DOCUMENT: what the handset cannot take as it is; with --fix the
// characters it cannot show are replaced and the document saved.
class CheckCommand : public Command
{
public:
    using Command::Command;

protected:
    void declare() override;
    int run(const QStringList& arguments) override;
};

// convert INPUT OUTPUT: between documents and browser bookmark files, by extension.
class ConvertCommand : public Command
{
public:
    using Command::Command;

protected:
    void declare() override;
    int run(const QStringList& arguments) override;
};

// ls: the files on the handset.
class ListCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;

protected:
    void declare() override;
    int work(const QStringList& arguments) override;
};

// get NAME...: files downloaded by name (NAME:TYPE names the type).
class GetCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;

protected:
    void declare() override;
    int work(const QStringList& arguments) override;
};

// put FILE...: files uploaded, typed by extension or --type.
class PutCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;

protected:
    void declare() override;
    int work(const QStringList& arguments) override;
};

// devices: the USB serial ports, the one a transfer would use marked.
class DevicesCommand : public Command
{
public:
    using Command::Command;

protected:
    void declare() override;
    int run(const QStringList& arguments) override;
};

// backup [FILE]: the bookmarks and every file in one checked archive.
class BackupCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;

protected:
    void declare() override;
    int work(const QStringList& arguments) override;
};

// verify FILE: a backup checked against its manifest, without the handset.
class VerifyCommand : public Command
{
public:
    using Command::Command;

protected:
    void declare() override;
    int run(const QStringList& arguments) override;
};

// restore FILE: a backup back into the handset, after showing what changes.
class RestoreCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;

protected:
    void declare() override;
    int work(const QStringList& arguments) override;
};

// history: the handset's lists kept before each export.
class HistoryCommand : public Command
{
public:
    using Command::Command;

protected:
    void declare() override;
    int run(const QStringList& arguments) override;
};
