#include "cli/Commands.h"
#include "cli/TerminalProgress.h"
#include "handset/AirHFileType.h"
#include "handset/DriverCheck.h"
#include "handset/HandsetDevices.h"
#include "handset/VedORovav.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <unistd.h>

namespace
{
// A handset file name made safe as a local file name: no folders, no "..".
QString localName(const QString& name)
{
    QString safe = name;
    safe.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\0'), QLatin1Char('_'));
    if (safe.isEmpty() || safe == QLatin1String(".") || safe == QLatin1String(".."))
        safe = QStringLiteral("_") + safe;
    return safe;
}

// Whether this user may open the port for reading and writing.
bool mayOpen(const QString& path)
{
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
}

} // namespace

void DevicesCommand::declare()
{
    addOption({QStringLiteral("device"),
               QCoreApplication::translate("Cli", "The port to mark as the one a transfer would use."),
               QCoreApplication::translate("Cli", "path")});
    addJsonOption();
}

// The serial ports on the USB bus, the one a transfer would use marked.
int DevicesCommand::run(const QStringList&)
{
    const QList<HandsetPort> ports = HandsetDevices::candidates();
    const HandsetDevices::Choice choice =
        HandsetDevices::chosenDevice(isSet("device") ? value("device") : m_link.device);
    const QString target = QFileInfo(choice.path).symLinkTarget();
    auto selected = [&](const HandsetPort& p) {
        return !choice.path.isEmpty() &&
               (p.path == choice.path || p.stableLink == choice.path || p.path == target);
    };
    const bool anySelected = std::any_of(ports.begin(), ports.end(), selected);
    QTextStream& out = m_io.out();
    if (json()) {
        QJsonArray array;
        for (const HandsetPort& p : ports)
            array.append(
                QJsonObject{{"path", p.path},
                            {"link", p.stableLink.isEmpty() ? QJsonValue() : QJsonValue(p.stableLink)},
                            {"usbId", p.usbId},
                            {"product", p.product},
                            {"driver", p.driver},
                            {"handset", p.handset},
                            {"accessible", p.accessible},
                            {"selected", selected(p)}});
        // A port named by hand that is not on the USB bus has every key too.
        if (!choice.path.isEmpty() && !anySelected)
            array.append(QJsonObject{{"path", choice.path},
                                     {"link", QJsonValue()},
                                     {"usbId", QJsonValue()},
                                     {"product", QJsonValue()},
                                     {"driver", QJsonValue()},
                                     {"handset", false},
                                     {"accessible", mayOpen(choice.path)},
                                     {"selected", true}});
        printJson(array);
    } else {
        for (const HandsetPort& p : ports)
            out << QStringLiteral("%1 %2  %3  %4  %5  %6\n")
                       .arg(selected(p) ? QLatin1Char('*') : QLatin1Char(' '))
                       .arg(p.path, -14)
                       .arg(p.stableLink.isEmpty() ? QStringLiteral("-") : p.stableLink, -16)
                       .arg(p.usbId)
                       .arg(p.product.isEmpty() ? QStringLiteral("-") : p.product)
                       .arg(p.accessible ? QCoreApplication::translate("Cli", "may be opened")
                                         : QCoreApplication::translate("Cli", "no permission"));
        if (!choice.path.isEmpty() && !anySelected)
            out << QStringLiteral("* %1\n").arg(choice.path);
    }
    out.flush();
    const bool handsetFound =
        std::any_of(ports.begin(), ports.end(), [](const HandsetPort& p) { return p.handset; });
    if (!handsetFound)
        printError(
            QCoreApplication::translate("Cli", "No AH-K3001V (USB ID %1:%2) was found.")
                .arg(QLatin1String(HandsetDevices::VendorId), QLatin1String(HandsetDevices::ProductId)));
    if (!DriverCheck::exists(m_link.driverBundle))
        printError(QCoreApplication::translate(
                       "Cli", "The %1 was not found; the AIR-EDGE PHONE cannot be used without it.")
                       .arg(DriverCheck::humanReadableName(m_link.driverBundle)));
    return handsetFound || !choice.path.isEmpty() ? Ok : Failed;
}

void ListCommand::declare()
{
    HandsetCommand::declare();
    addJsonOption();
}

int ListCommand::work(const QStringList&)
{
    AirHFileList files;
    TerminalProgress progress;
    const int status =
        withPassword(QT_TRANSLATE_NOOP("Cli", "Couldn't read the file list."),
                     [&](const QString& pw) { return newLink()->readDirectory(files, pw, progress); });
    if (status != Ok)
        return status;
    QTextStream& out = m_io.out();
    auto dateText = [](const AirHFile& f) {
        return f.fileDate().isValid() ? f.fileDate().toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString();
    };
    if (json()) {
        QJsonArray array;
        for (const AirHFile& f : files)
            array.append(
                QJsonObject{{"name", f.fileName()},
                            {"type", f.fileType()},
                            {"size", f.fileSize()},
                            {"date", f.fileDate().isValid() ? QJsonValue(f.fileDate().toString(Qt::ISODate))
                                                            : QJsonValue()}});
        printJson(array);
        return Ok;
    }
    for (const AirHFile& f : files)
        out << QStringLiteral("%1  %2  %3  %4\n")
                   .arg(f.fileName(), -24)
                   .arg(f.fileType(), -8)
                   .arg(f.fileSize(), 9)
                   .arg(dateText(f));
    return Ok;
}

void GetCommand::declare()
{
    HandsetCommand::declare();
    addArgument(QStringLiteral("NAME"),
                QCoreApplication::translate(
                    "Cli", "A file on the handset, as ls lists it; NAME:TYPE gives its type."),
                QStringLiteral("NAME..."));
    addOption({{QStringLiteral("o"), QStringLiteral("output")},
               QCoreApplication::translate("Cli", "The folder to download into (default: here)."),
               QCoreApplication::translate("Cli", "folder")});
    addOption({QStringLiteral("force"),
               QCoreApplication::translate(
                   "Cli", "Replace local files that exist (and write through symbolic links).")});
    addJsonOption();
}

int GetCommand::work(const QStringList& names)
{
    const QString dir = isSet("output") ? value("output") : QStringLiteral(".");
    if (!QFileInfo(dir).isDir()) {
        printError(QCoreApplication::translate("Cli", "%1 is not a folder.").arg(dir));
        return Failed;
    }
    // Types come from the listing unless given as NAME:TYPE.
    AirHFileList listing;
    bool needListing = false;
    for (const QString& n : names)
        needListing |= !n.contains(QLatin1Char(':'));
    if (needListing) {
        TerminalProgress progress;
        const int status =
            withPassword(QT_TRANSLATE_NOOP("Cli", "Couldn't read the file list."),
                         [&](const QString& pw) { return newLink()->readDirectory(listing, pw, progress); });
        if (status != Ok)
            return status;
    }
    AirHFileList files;
    QStringList destinations;
    for (const QString& n : names) {
        AirHFile file;
        const auto listed = std::find_if(listing.begin(), listing.end(),
                                         [&](const AirHFile& f) { return f.fileName() == n; });
        if (listed != listing.end()) {
            file = *listed;
        } else if (n.contains(QLatin1Char(':'))) {
            file.setFileName(n.section(QLatin1Char(':'), 0, -2));
            file.setFileType(n.section(QLatin1Char(':'), -1));
            file.setFileDate(QDateTime());
        } else {
            printError(
                QCoreApplication::translate("Cli", "There is no file %1 on the AIR-EDGE PHONE.").arg(n));
            return Failed;
        }
        const QString target = QDir(dir).filePath(localName(file.fileName()));
        const QFileInfo existing(target);
        if (existing.isSymLink() && !isSet("force")) {
            printError(
                QCoreApplication::translate("Cli", "%1 is a symbolic link; give --force to write through it.")
                    .arg(target));
            return Failed;
        }
        if (existing.exists() && !isSet("force")) {
            printError(
                QCoreApplication::translate("Cli", "%1 exists; give --force to replace it.").arg(target));
            return Failed;
        }
        files << file;
        destinations << target;
    }
    TerminalProgress progress;
    const int status =
        withPassword(QT_TRANSLATE_NOOP("Cli", "Couldn't download the files."), [&](const QString& pw) {
            QStringList left = destinations;
            return newLink()->readFileFrom(files, left, pw, progress);
        });
    if (status != Ok)
        return status;
    QJsonArray array;
    for (int k = 0; k < files.size(); ++k) {
        printError(destinations[k]);
        array.append(QJsonObject{
            {"name", files[k].fileName()}, {"type", files[k].fileType()}, {"path", destinations[k]}});
    }
    if (json())
        printJson(array);
    return Ok;
}

void PutCommand::declare()
{
    HandsetCommand::declare();
    addArgument(QStringLiteral("FILE"),
                QCoreApplication::translate("Cli", "A file to upload under its own name."),
                QStringLiteral("FILE..."));
    addOption({QStringLiteral("type"),
               QCoreApplication::translate("Cli", "Send every file with this handset type."),
               QCoreApplication::translate("Cli", "type")});
    addJsonOption();
}

int PutCommand::work(const QStringList& paths)
{
    for (const QString& p : paths) {
        if (!QFileInfo(p).isFile()) {
            printError(QCoreApplication::translate("Cli", "%1 is not a file.").arg(p));
            return Failed;
        }
    }
    TerminalProgress progress;
    const int status =
        withPassword(QT_TRANSLATE_NOOP("Cli", "Couldn't upload the files."), [&](const QString& pw) {
            return newLink()->writeFileFrom(paths, pw, progress, value("type"));
        });
    if (status == Ok && json()) {
        const AirHFileType table = AirHFileType::load(m_link.fileTypes);
        QJsonArray array;
        for (const QString& p : paths)
            array.append(QJsonObject{{"path", p},
                                     {"name", QFileInfo(p).fileName()},
                                     {"type", isSet("type") ? value("type") : table.typeForPath(p)}});
        printJson(array);
    }
    return status;
}
