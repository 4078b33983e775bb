#pragma once

#include "cli/Command.h"

#include <QCoreApplication>

// import DOCUMENT: the handset's bookmarks into a document (made when missing).
class ImportCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;
    QString name() const override { return QStringLiteral("import"); }
    QString synopsis() const override { return QStringLiteral("DOCUMENT"); }
    QString description() const override
    {
        return QCoreApplication::translate("Cli",
                                           "Read the handset's bookmarks into DOCUMENT (made when missing).");
    }
    bool takes(qsizetype count) const override { return count == 1; }

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
    QString name() const override { return QStringLiteral("export"); }
    QString synopsis() const override { return QStringLiteral("DOCUMENT"); }
    QString description() const override
    {
        return QCoreApplication::translate(
            "Cli", "Write DOCUMENT's bookmarks into the handset, replacing all it holds.");
    }
    bool takes(qsizetype count) const override { return count == 1; }

protected:
    void declare() override;
    int work(const QStringList& arguments) override;
};

// show DOCUMENT: the folders and bookmarks, as a table or JSON.
class ShowCommand : public Command
{
public:
    using Command::Command;
    QString name() const override { return QStringLiteral("show"); }
    QString synopsis() const override { return QStringLiteral("DOCUMENT"); }
    QString description() const override
    {
        return QCoreApplication::translate("Cli", "Print the folders and bookmarks of DOCUMENT.");
    }
    bool takes(qsizetype count) const override { return count == 1; }

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
    QString name() const override { return QStringLiteral("check"); }
    QString synopsis() const override { return QStringLiteral("DOCUMENT"); }
    QString description() const override
    {
        return QCoreApplication::translate(
            "Cli", "List what the handset cannot take of DOCUMENT as it is (exit 1 when anything).");
    }
    bool takes(qsizetype count) const override { return count == 1; }

protected:
    void declare() override;
    int run(const QStringList& arguments) override;
};

// convert INPUT OUTPUT: between documents and browser bookmark files, by extension.
class ConvertCommand : public Command
{
public:
    using Command::Command;
    QString name() const override { return QStringLiteral("convert"); }
    QString synopsis() const override { return QStringLiteral("INPUT OUTPUT"); }
    QString description() const override
    {
        return QCoreApplication::translate(
            "Cli", "Convert between documents and browser bookmark files (.html, .htm).");
    }
    bool takes(qsizetype count) const override { return count == 2; }

protected:
    void declare() override;
    int run(const QStringList& arguments) override;
};

// ls: the files on the handset.
class ListCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;
    QString name() const override { return QStringLiteral("ls"); }
    QString description() const override
    {
        return QCoreApplication::translate("Cli", "List the files on the handset (name, type, size, date).");
    }
    bool takes(qsizetype count) const override { return count == 0; }

protected:
    void declare() override;
    int work(const QStringList& arguments) override;
};

// get NAME...: files downloaded by name (NAME:TYPE names the type).
class GetCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;
    QString name() const override { return QStringLiteral("get"); }
    QString synopsis() const override { return QStringLiteral("NAME..."); }
    QString description() const override
    {
        return QCoreApplication::translate("Cli", "Download files by name (NAME:TYPE names the type).");
    }
    bool takes(qsizetype count) const override { return count >= 1; }

protected:
    void declare() override;
    int work(const QStringList& arguments) override;
};

// put FILE...: files uploaded, typed by extension or --type.
class PutCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;
    QString name() const override { return QStringLiteral("put"); }
    QString synopsis() const override { return QStringLiteral("FILE..."); }
    QString description() const override
    {
        return QCoreApplication::translate("Cli", "Upload files, typed by their extension.");
    }
    bool takes(qsizetype count) const override { return count >= 1; }

protected:
    void declare() override;
    int work(const QStringList& arguments) override;
};

// devices: the USB serial ports, the one a transfer would use marked.
class DevicesCommand : public Command
{
public:
    using Command::Command;
    QString name() const override { return QStringLiteral("devices"); }
    QString description() const override
    {
        return QCoreApplication::translate(
            "Cli", "List the USB serial ports, the one a transfer would use marked *.");
    }
    bool takes(qsizetype count) const override { return count == 0; }

protected:
    void declare() override;
    int run(const QStringList& arguments) override;
};

// backup [FILE]: the bookmarks and every file in one checked archive.
class BackupCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;
    QString name() const override { return QStringLiteral("backup"); }
    QString synopsis() const override { return QStringLiteral("[FILE]"); }
    QString description() const override
    {
        return QCoreApplication::translate("Cli", "Back up the handset's bookmarks and files into one archive.");
    }
    bool takes(qsizetype count) const override { return count <= 1; }

protected:
    void declare() override;
    int work(const QStringList& arguments) override;
};

// verify FILE: a backup checked against its manifest, without the handset.
class VerifyCommand : public Command
{
public:
    using Command::Command;
    QString name() const override { return QStringLiteral("verify"); }
    QString synopsis() const override { return QStringLiteral("FILE"); }
    QString description() const override
    {
        return QCoreApplication::translate("Cli", "Check a backup: every entry against its manifest.");
    }
    bool takes(qsizetype count) const override { return count == 1; }

protected:
    void declare() override;
    int run(const QStringList& arguments) override;
};

// restore FILE: a backup back into the handset, after showing what changes.
class RestoreCommand : public HandsetCommand
{
public:
    using HandsetCommand::HandsetCommand;
    QString name() const override { return QStringLiteral("restore"); }
    QString synopsis() const override { return QStringLiteral("FILE"); }
    QString description() const override
    {
        return QCoreApplication::translate("Cli", "Restore a backup into the handset, showing first what changes.");
    }
    bool takes(qsizetype count) const override { return count == 1; }

protected:
    void declare() override;
    int work(const QStringList& arguments) override;
};

// history: the handset's lists kept before each export.
class HistoryCommand : public Command
{
public:
    using Command::Command;
    QString name() const override { return QStringLiteral("history"); }
    QString description() const override
    {
        return QCoreApplication::translate("Cli", "List the handset's bookmark lists kept before each export.");
    }
    bool takes(qsizetype count) const override { return count == 0; }

protected:
    void declare() override;
    int run(const QStringList& arguments) override;
};
