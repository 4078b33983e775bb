#include "cli/Commands.h"

#include "cli/TerminalProgress.h"
#include "commands/BookmarkHistory.h"
#include "commands/HandsetBackup.h"
#include "handset/VedORovav.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>

namespace
{
QString sizeText(qint64 bytes)
{
    return QLocale().formattedDataSize(bytes);
}
} // namespace

void BackupCommand::declare()
{
    HandsetCommand::declare();
    addArgument(QStringLiteral("FILE"),
                QCoreApplication::translate("Cli", "The archive to write (default: the handset's name and the time, in this folder)."),
                QStringLiteral("[FILE]"));
    addJsonOption();
}

int BackupCommand::work(const QStringList& arguments)
{
    const QString path = arguments.isEmpty() ? HandsetBackup::defaultFileName(QDateTime::currentDateTime())
                                             : arguments[0];
    TerminalProgress progress;
    HandsetBackup::Summary summary;
    int status = Failed;
    try {
        status = withPassword(QT_TRANSLATE_NOOP("Cli", "Couldn't back up the AIR-EDGE PHONE."),
                              [&](const QString& pw) {
                                  return HandsetBackup::backUp(*newLink(), path, pw, progress, &summary);
                              });
    } catch (const BackupError& e) {
        printError(QCoreApplication::translate("Cli", "Couldn't back up the AIR-EDGE PHONE."));
        printError(e.message());
        return Failed;
    }
    if (status != Ok)
        return status;
    if (json())
        printJson(QJsonObject{{"path", path},
                              {"bookmarks", summary.bookmarks},
                              {"files", summary.files},
                              {"bytes", double(summary.bytes)}});
    printError(QCoreApplication::translate("Cli", "Backed up %1 bookmarks and %2 files (%3) to %4.")
                   .arg(summary.bookmarks)
                   .arg(summary.files)
                   .arg(sizeText(summary.bytes), path));
    return Ok;
}

void VerifyCommand::declare()
{
    addArgument(QStringLiteral("FILE"), QCoreApplication::translate("Cli", "The backup to check."));
    addJsonOption();
}

int VerifyCommand::run(const QStringList& arguments)
{
    const QString& path = arguments[0];
    try {
        const BackupContents contents = BackupReader::readFile(path);
        qint64 bytes = 0;
        for (const BackupFile& f : contents.manifest.files)
            bytes += f.size;
        if (json()) {
            printJson(QJsonObject{{"path", path},
                                  {"handset", contents.manifest.handset},
                                  {"created", contents.manifest.created.toString(Qt::ISODate)},
                                  {"bookmarks", int(contents.bookmarks.size())},
                                  {"files", int(contents.manifest.files.size())},
                                  {"bytes", double(bytes)}});
        } else {
            m_io.out() << QCoreApplication::translate("Cli", "%1: a backup of the %2 made %3: %4 bookmarks, %5 files (%6); every file matches "
                             "its checksum.")
                              .arg(path, contents.manifest.handset,
                                   QLocale().toString(contents.manifest.created.toLocalTime(), QLocale::ShortFormat))
                              .arg(contents.bookmarks.size())
                              .arg(contents.manifest.files.size())
                              .arg(sizeText(bytes))
                       << '\n';
        }
        return Ok;
    } catch (const BackupError& e) {
        printError(QCoreApplication::translate("Cli", "%1 is not a sound backup.").arg(path));
        printError(e.message());
        return Failed;
    }
}

void RestoreCommand::declare()
{
    HandsetCommand::declare();
    addArgument(QStringLiteral("FILE"), QCoreApplication::translate("Cli", "The backup to restore."));
    addOption({QStringLiteral("bookmarks-only"), QCoreApplication::translate("Cli", "Restore the bookmarks only.")});
    addOption({QStringLiteral("files-only"), QCoreApplication::translate("Cli", "Restore the files only.")});
    addOption({QStringLiteral("dry-run"), QCoreApplication::translate("Cli", "Show what would change and write nothing.")});
    addOption({QStringLiteral("replace-files"), QCoreApplication::translate("Cli", "Also upload the files the handset already holds.")});
    addOption({QStringLiteral("yes"), QCoreApplication::translate("Cli", "Restore without asking for confirmation.")});
}

int RestoreCommand::work(const QStringList& arguments)
{
    const QString& path = arguments[0];
    if (isSet("bookmarks-only") && isSet("files-only")) {
        printError(QCoreApplication::translate("Cli", "Give --bookmarks-only or --files-only, not both."));
        return Usage;
    }
    const int parts = isSet("bookmarks-only") ? RestorePlan::Bookmarks
                      : isSet("files-only")   ? RestorePlan::Files
                                              : RestorePlan::Everything;
    const bool replace = isSet("replace-files");
    std::unique_ptr<RestorePlan> plan;
    try {
        // The whole archive is checked before the handset hears anything.
        plan = std::make_unique<RestorePlan>(path);
    } catch (const BackupError& e) {
        printError(QCoreApplication::translate("Cli", "%1 is not a sound backup; nothing was restored.").arg(path));
        printError(e.message());
        return Failed;
    }

    TerminalProgress progress;
    BookmarkList bookmarks;
    AirHFileList files;
    int status = withPassword(QT_TRANSLATE_NOOP("Cli", "Couldn't read what the AIR-EDGE PHONE holds."),
                              [&](const QString& pw) {
                                  const std::unique_ptr<VedORovav> link = newLink();
                                  if ((parts & RestorePlan::Bookmarks) && !link->readBookmarks(bookmarks, pw, progress))
                                      return false;
                                  return !(parts & RestorePlan::Files) || link->readDirectory(files, pw, progress);
                              });
    if (status != Ok)
        return status;
    plan->compareWith(bookmarks, files);
    for (const QString& line : plan->preview(parts, replace))
        m_io.out() << line << '\n';
    m_io.out().flush();
    if (isSet("dry-run"))
        return Ok;
    if (!isSet("yes")) {
        if (!m_io.inputIsTerminal()) {
            printError(QCoreApplication::translate("Cli", "Not restoring without confirmation: give --yes to write into the AIR-EDGE PHONE."));
            return Usage;
        }
        if (!confirm(QCoreApplication::translate("Cli", "The AIR-EDGE PHONE will be changed as listed above. Are you sure you want to restore?"),
                     (parts & RestorePlan::Bookmarks)
                         ? QCoreApplication::translate("Cli", "All bookmarks in the AIR-EDGE PHONE will be replaced by those of the backup.")
                         : QCoreApplication::translate("Cli", "The files are uploaded; the bookmarks stay as they are."),
                     QCoreApplication::translate("Cli", "Restore"))) {
            printError(QCoreApplication::translate("Cli", "Not restored."));
            return Usage;
        }
    }
    const std::unique_ptr<VedORovav> link = newLink();
    status = withPassword(QT_TRANSLATE_NOOP("Cli", "Couldn't restore the backup."), [&](const QString& pw) {
        return plan->apply(*link, parts, replace, pw, progress);
    });
    const int sent = int(plan->sentFiles().size());
    const int planned = (parts & RestorePlan::Files) ? int(plan->filesToSend(replace).size()) : 0;
    if (status != Ok) {
        if (planned > 0)
            printError(QCoreApplication::translate("Cli", "%1 of %2 files reached the AIR-EDGE PHONE: %3")
                           .arg(sent)
                           .arg(planned)
                           .arg(sent ? plan->sentFiles().join(QStringLiteral(", ")) : QCoreApplication::translate("Cli", "none")));
        return status;
    }
    printError(QCoreApplication::translate("Cli", "Restored %1 bookmarks and %2 files.")
                   .arg((parts & RestorePlan::Bookmarks) ? plan->contents().bookmarks.size() : 0)
                   .arg(sent));
    return Ok;
}

void HistoryCommand::declare()
{
    addJsonOption();
}

int HistoryCommand::run(const QStringList&)
{
    const QList<BookmarkHistory::Entry> entries = BookmarkHistory().entries();
    if (json()) {
        QJsonArray array;
        for (const BookmarkHistory::Entry& e : entries)
            array.append(QJsonObject{{"path", e.path}, {"date", e.date.toString(Qt::ISODate)}, {"bookmarks", e.count}});
        printJson(array);
        return Ok;
    }
    for (const BookmarkHistory::Entry& e : entries)
        m_io.out() << QStringLiteral("%1  %2  %3\n")
                          .arg(QLocale().toString(e.date, QLocale::ShortFormat), -20)
                          .arg(QCoreApplication::translate("Cli", "%1 bookmarks").arg(e.count), -14)
                          .arg(e.path);
    if (entries.isEmpty())
        printError(QCoreApplication::translate("Cli", "No lists are kept yet: each export keeps the list the AIR-EDGE PHONE held before it."));
    return Ok;
}
