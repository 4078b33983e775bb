#include "cli/Commands.h"
#include "cli/TerminalProgress.h"
#include "commands/BookmarkDiff.h"
#include "commands/BookmarkHistory.h"
#include "commands/BookmarkImportPlan.h"
#include "commands/DocumentCommands.h"
#include "document/BrowserBookmarks.h"
#include "document/MyDocument.h"
#include "handset/HandsetCheck.h"
#include "handset/VedORovav.h"
#include "io/AtomicFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>

namespace
{
bool isHtml(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("html") || suffix == QLatin1String("htm");
}

QString documentHelp()
{
    return QCoreApplication::translate("Cli", "The document (.edgemarks).");
}

} // namespace

void ImportCommand::declare()
{
    HandsetCommand::declare();
    addArgument(QStringLiteral("DOCUMENT"), documentHelp());
    addJsonOption();
}

int ImportCommand::work(const QStringList& arguments)
{
    const QString& path = arguments[0];
    std::unique_ptr<MyDocument> doc = openDocument(path, true);
    if (!doc)
        return Failed;
    TerminalProgress progress;
    BookmarkList list;
    int skipped = 0, announced = 0;
    const int status =
        withPassword(QT_TRANSLATE_NOOP("Cli", "Couldn't import the bookmarks."), [&](const QString& pw) {
            list.clear();
            const std::unique_ptr<VedORovav> reader = newLink();
            const auto report = qScopeGuard([&] {
                skipped = reader->entriesSkipped();
                announced = reader->entriesAnnounced();
            });
            return reader->readBookmarks(list, pw, progress);
        });
    if (status != Ok)
        return status;
    const qsizetype leftOut = MyDocument::keepWhatFits(list);
    if (leftOut > 0)
        printError(MyDocument::leftOutText(leftOut));
    doc->setBookmarkList(list);
    QString error;
    if (!doc->writeToFile(path, &error)) {
        printError(QCoreApplication::translate("Cli", "Couldn't save %1: %2").arg(path, error));
        return Failed;
    }
    if (json())
        printJson(QJsonObject{{"document", path},
                              {"imported", int(list.size())},
                              {"skipped", skipped},
                              {"announced", announced},
                              {"leftOut", int(leftOut)}});
    printError(
        QCoreApplication::translate("Cli", "Imported %n bookmark(s) into %1.", nullptr, int(list.size()))
            .arg(path));
    if (skipped > 0) {
        printError(
            QCoreApplication::translate(
                "Cli", "%1 of the %2 bookmarks in the AIR-EDGE PHONE could not be read and were left out.")
                .arg(skipped)
                .arg(announced));
    }
    return Ok;
}

void ExportCommand::declare()
{
    HandsetCommand::declare();
    addArgument(QStringLiteral("DOCUMENT"), documentHelp());
    addOption({QStringLiteral("yes"),
               QCoreApplication::translate("Cli", "Export without asking for confirmation.")});
    addOption({QStringLiteral("force"),
               QCoreApplication::translate("Cli", "Send a document that the check finds fault with.")});
    addOption({QStringLiteral("no-keep"),
               QCoreApplication::translate(
                   "Cli", "Do not read and keep the handset's list first (see the history command).")});
    addJsonOption();
}

int ExportCommand::work(const QStringList& arguments)
{
    const QString& path = arguments[0];
    std::unique_ptr<MyDocument> doc = openDocument(path, false);
    if (!doc)
        return Failed;
    // What the handset cannot take is shown before anything is sent.
    if (const QList<HandsetCheck::Finding> findings = HandsetCheck::check(doc->bookmarkList());
        !findings.isEmpty()) {
        printError(HandsetCheck::describe(findings));
        if (!isSet("force")) {
            printError(QCoreApplication::translate(
                           "Cli",
                           "Not exported: the AIR-EDGE PHONE cannot take %1 as it is (give --force to send "
                           "it anyway).")
                           .arg(path));
            return Failed;
        }
    }
    if (!isSet("yes") && !m_io.inputIsTerminal()) {
        printError(QCoreApplication::translate(
            "Cli", "Not exporting without confirmation: give --yes to replace the bookmarks in the "
                   "AIR-EDGE PHONE."));
        return Usage;
    }
    TerminalProgress progress;
    // What the handset holds is read in a conversation of its own and kept, so
    // that an export of the wrong document can be taken back.
    QString changes;
    if (!isSet("no-keep")) {
        BookmarkList held;
        const int read = withPassword(
            QT_TRANSLATE_NOOP("Cli", "Couldn't read the bookmarks in the AIR-EDGE PHONE before the export; "
                                     "nothing was exported."),
            [&](const QString& pw) { return newLink()->readBookmarks(held, pw, progress); });
        if (read != Ok)
            return read;
        QString why;
        if (!BookmarkHistory().keep(held, QDateTime::currentDateTime(), &why)) {
            printError(QCoreApplication::translate(
                "Cli", "Couldn't keep the bookmarks the AIR-EDGE PHONE holds; nothing was exported."));
            printError(why);
            return Failed;
        }
        const BookmarkDiff diff(held, doc->bookmarkList());
        changes = QStringLiteral("\n") + QCoreApplication::translate("Cli", "Changes: %1").arg(diff.summary());
        for (const QString& line : diff.details())
            changes += QStringLiteral("\n  ") + line;
    }
    if (!isSet("yes")) {
        if (!confirm(
                QCoreApplication::translate(
                    "Cli", "The bookmarks in the AIR-EDGE PHONE will be completely deleted. Are you sure you "
                           "want to export ?"),
                QCoreApplication::translate(
                    "Cli", "If you select to export then all bookmarks in the AIR-EDGE PHONE will be lost.") +
                    changes,
                QCoreApplication::translate("Cli", "Export"))) {
            printError(QCoreApplication::translate("Cli", "Not exported."));
            return Usage;
        }
    }
    int sent = 0;
    const int status =
        withPassword(QT_TRANSLATE_NOOP("Cli", "Couldn't export the bookmarks."), [&](const QString& pw) {
            const std::unique_ptr<VedORovav> writer = newLink();
            const auto report = qScopeGuard([&] { sent = writer->entriesSent(); });
            return writer->writeBookmarks(doc->bookmarkList(), pw, progress);
        });
    if (status == Ok) {
        const int unsent = int(doc->bookmarkList().size()) - sent;
        if (json())
            printJson(QJsonObject{{"document", path}, {"exported", sent}, {"notSent", unsent}});
        printError(QCoreApplication::translate("Cli", "Exported %n bookmark(s).", nullptr, sent));
        if (unsent > 0)
            printError(QCoreApplication::translate(
                "Cli", "%n bookmark(s) in folders the AIR-EDGE PHONE does not have were not sent.", nullptr,
                unsent));
    }
    return status;
}

void ShowCommand::declare()
{
    addArgument(QStringLiteral("DOCUMENT"), documentHelp());
    addJsonOption();
}

int ShowCommand::run(const QStringList& arguments)
{
    const QString& path = arguments[0];
    std::unique_ptr<MyDocument> doc = openDocument(path, false);
    if (!doc)
        return Failed;
    QTextStream& out = m_io.out();
    if (json()) {
        QJsonArray bookmarks;
        for (const BookmarkPtr& b : doc->bookmarkList())
            bookmarks.append(QJsonObject{{"name", b->bookmarkName()},
                                         {"location", b->location()},
                                         {"number", b->number()},
                                         {"folder", b->folder()}});
        printJson(QJsonObject{{"folders", QJsonArray::fromStringList(doc->folderList())},
                              {"bookmarks", bookmarks}});
        return Ok;
    }
    const QStringList& folders = doc->folderList();
    for (int f = 0; f < folders.size(); ++f) {
        QList<BookmarkPtr> inFolder;
        for (const BookmarkPtr& b : doc->bookmarkList())
            if (b->folder() == f)
                inFolder << b;
        out << QCoreApplication::translate("Cli", "Folder %1: %n bookmark(s)", nullptr, int(inFolder.size()))
                   .arg(folders[f])
            << '\n';
        for (const BookmarkPtr& b : inFolder)
            out << QStringLiteral("  %1  %2  %3\n")
                       .arg(b->number(), 2, 10, QLatin1Char('0'))
                       .arg(b->bookmarkName(), b->location());
    }
    // Bookmarks whose folder is not in the folder list are still shown.
    for (const BookmarkPtr& b : doc->bookmarkList())
        if (b->folder() < 0 || b->folder() >= folders.size())
            out << QCoreApplication::translate("Cli", "Folder index %1: ").arg(b->folder())
                << QStringLiteral("%1  %2  %3\n")
                       .arg(b->number(), 2, 10, QLatin1Char('0'))
                       .arg(b->bookmarkName(), b->location());
    return Ok;
}

void CheckCommand::declare()
{
    addArgument(QStringLiteral("DOCUMENT"), documentHelp());
    addOption({QStringLiteral("fix"),
               QCoreApplication::translate(
                   "Cli", "Replace the characters the handset cannot show, as the editor's \"Replace "
                          "Unsupported Characters\" does, and save DOCUMENT.")});
    addJsonOption();
}

int CheckCommand::run(const QStringList& arguments)
{
    const QString& path = arguments[0];
    std::unique_ptr<MyDocument> doc = openDocument(path, false);
    if (!doc)
        return Failed;
    QJsonArray changes;
    if (isSet("fix")) {
        // The records change in place: their former texts are kept apart.
        QList<std::pair<QString, QString>> before;
        for (const BookmarkPtr& b : doc->bookmarkList())
            before.append({b->bookmarkName(), b->location()});
        const QList<int> changed = DocumentCommands::replaceUnsupportedCharacters(*doc);
        // An untouched document is not written at all.
        QString error;
        if (!changed.isEmpty() && !doc->writeToFile(path, &error)) {
            printError(QCoreApplication::translate("Cli", "Couldn't save %1: %2").arg(path, error));
            return Failed;
        }
        for (int i : changed) {
            const auto& [formerName, formerLocation] = before.at(i);
            const AirHBookmark& now = *doc->bookmarkList().at(i);
            changes.append(QJsonObject{{"index", i},
                                       {"name", now.bookmarkName()},
                                       {"location", now.location()},
                                       {"formerName", formerName},
                                       {"formerLocation", formerLocation}});
            if (json())
                continue;
            for (const auto& [from, to] :
                 {std::pair(formerName, now.bookmarkName()), std::pair(formerLocation, now.location())})
                if (from != to)
                    printError(QCoreApplication::translate("Cli", "“%1” is now “%2”.").arg(from, to));
        }
        if (!json())
            printError(QCoreApplication::translate(
                "Cli", "Replaced the characters the AIR-EDGE PHONE cannot show in %n bookmark(s).", nullptr,
                int(changed.size())));
    }
    const QList<HandsetCheck::Finding> findings = HandsetCheck::check(doc->bookmarkList());
    QTextStream& out = m_io.out();
    if (json()) {
        QJsonArray array;
        for (const HandsetCheck::Finding& f : findings)
            array.append(QJsonObject{{"kind", HandsetCheck::kindName(f.kind)},
                                     {"index", f.index >= 0 ? QJsonValue(f.index) : QJsonValue()},
                                     {"message", f.message}});
        if (isSet("fix"))
            printJson(QJsonObject{{"document", path}, {"replaced", changes}, {"findings", array}});
        else
            printJson(array);
    } else if (findings.isEmpty()) {
        out << QCoreApplication::translate("Cli", "The AIR-EDGE PHONE can take %1 as it is.").arg(path)
            << '\n';
    } else {
        out << HandsetCheck::describe(findings) << '\n';
    }
    return findings.isEmpty() ? Ok : Failed;
}

void ConvertCommand::declare()
{
    addArgument(QStringLiteral("INPUT"),
                QCoreApplication::translate(
                    "Cli", "The file to read: a document, or a browser bookmark file (.html, .htm)."));
    addArgument(
        QStringLiteral("OUTPUT"),
        QCoreApplication::translate("Cli", "The file to write, of either kind, told by its extension."));
    addOption({QStringLiteral("folder"),
               QCoreApplication::translate(
                   "Cli", "Put every bookmark of a browser file into this handset folder (0-19)."),
               QCoreApplication::translate("Cli", "number")});
    addOption(
        {QStringLiteral("force"), QCoreApplication::translate("Cli", "Replace OUTPUT when it exists.")});
    addJsonOption();
}

int ConvertCommand::run(const QStringList& arguments)
{
    const QString& input = arguments[0];
    const QString& output = arguments[1];
    if (QFileInfo(output).exists() && !isSet("force")) {
        printError(QCoreApplication::translate("Cli", "%1 exists: give --force to replace it.").arg(output));
        return Failed;
    }
    int folder = 0;
    if (isSet("folder")) {
        bool ok = false;
        folder = value("folder").toInt(&ok);
        if (!ok || folder < 0 || folder >= MyDocument::FolderCount) {
            printError(QCoreApplication::translate("Cli", "--folder takes a folder number from 0 to 19."));
            return Usage;
        }
    }
    std::unique_ptr<MyDocument> doc;
    QJsonArray leftOut; // the browser file's links that did not fit
    if (isHtml(input)) {
        QString error;
        const std::optional<BrowserBookmarks> bookmarks = BrowserBookmarks::readFile(input, &error);
        if (!bookmarks) {
            printError(QCoreApplication::translate("Cli", "Couldn't read %1: %2").arg(input, error));
            return Failed;
        }
        doc = std::make_unique<MyDocument>();
        const BookmarkImportPlan plan =
            BookmarkImportPlan::make(*bookmarks, {}, doc->folderList(),
                                     isSet("folder") ? BookmarkImportPlan::Mapping::IntoFolder
                                                     : BookmarkImportPlan::Mapping::PerFolder,
                                     folder);
        printError(plan.summary());
        for (const BrowserBookmarks::Link& link : plan.leftOutLinks)
            leftOut.append(QJsonObject{{"name", link.name}, {"location", link.location}});
        doc->setFolderList(plan.folderNames);
        doc->setBookmarkList(plan.added);
    } else if (!(doc = openDocument(input, false))) {
        return Failed;
    }
    QString error;
    if (isHtml(output)) {
        if (!AtomicFile::writeAll(output, BrowserBookmarks::write(doc->bookmarkList(), doc->folderList()),
                                  &error)) {
            printError(QCoreApplication::translate("Cli", "Couldn't save %1: %2").arg(output, error));
            return Failed;
        }
    } else if (!doc->writeToFile(output, &error)) {
        printError(QCoreApplication::translate("Cli", "Couldn't save %1: %2").arg(output, error));
        return Failed;
    }
    const int written = int(doc->bookmarkList().size()); // lupdate reads no "->" inside a translate call
    if (json())
        printJson(
            QJsonObject{{"input", input}, {"output", output}, {"written", written}, {"leftOut", leftOut}});
    printError(
        QCoreApplication::translate("Cli", "Wrote %n bookmark(s) to %1.", nullptr, written).arg(output));
    return Ok;
}
