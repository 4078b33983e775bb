// edgemarks-sim: a simulated AH-K3001V handset on a pseudo-terminal.
#include "simulator/SimulatedHandset.h"

#include "document/MyDocument.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &c, 1);
}

QList<SimulatedHandset::Bookmark> bookmarksFromDocument(const QString& path, QString* error)
{
    MyDocument doc;
    QList<SimulatedHandset::Bookmark> result;
    if (!doc.readFromFile(path, error))
        return result;
    for (const BookmarkPtr& b : doc.bookmarkList())
        result.append({b->bookmarkName(), b->location(), b->number(), b->folder()});
    return result;
}

bool saveBookmarks(const QList<SimulatedHandset::Bookmark>& bookmarks, const QString& path, QString* error)
{
    MyDocument doc;
    BookmarkList list;
    for (const auto& b : bookmarks) {
        auto record = std::make_shared<AirHBookmark>();
        record->setBookmarkName(b.name);
        record->setLocation(b.location);
        record->setNumber(b.number);
        record->setFolder(b.folder);
        list << record;
    }
    doc.setBookmarkList(list);
    return doc.writeToFile(path, error);
}

QList<SimulatedHandset::File> filesFromFolder(const QString& path)
{
    QList<SimulatedHandset::File> files;
    for (const QFileInfo& info : QDir(path).entryInfoList(QDir::Files, QDir::Name)) {
        QFile f(info.filePath());
        if (!f.open(QIODevice::ReadOnly))
            continue;
        SimulatedHandset::File file;
        file.name = info.fileName();
        file.date = info.lastModified();
        file.content = f.readAll();
        files << file;
    }
    return files;
}

bool saveFiles(const QList<SimulatedHandset::File>& files, const QString& path)
{
    QDir().mkpath(path);
    bool ok = true;
    for (const auto& file : files) {
        QFile f(QDir(path).filePath(QFileInfo(file.name).fileName()));
        if (!f.open(QIODevice::WriteOnly) || f.write(file.content) != file.content.size()) {
            ok = false;
            continue;
        }
        f.flush();
        if (file.date.isValid())
            f.setFileTime(file.date, QFileDevice::FileModificationTime);
    }
    return ok;
}

int subCommandOption(const QString& value)
{
    bool ok = false;
    const int v = value.toInt(&ok, 0);
    return ok ? v : 0;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("edgemarks-sim");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "A simulated AH-K3001V handset (\"AIR-EDGE PHONE\") on a pseudo-terminal.\n\n"
        "It makes the device path a link to a new pseudo-terminal and answers the handset's side of\n"
        "login, bookmark download and upload, and the file listing, download and upload, until it\n"
        "is stopped with Ctrl-C (SIGINT) or SIGTERM; then it removes the link and any driver bundle\n"
        "it made. Point EdgeMarks at it with the environment it prints:\n\n"
        "  edgemarks-sim --device /tmp/ahk/cu.ah-k3001v.data --driver-bundle /tmp/ahk/Driver.kext --sample\n"
        "  EDGEMARKS_DEVICE=/tmp/ahk/cu.ah-k3001v.data EDGEMARKS_DRIVER_BUNDLE=/tmp/ahk/Driver.kext edgemarks\n\n"
        "Sub-commands for the fault switches are numbers such as 0x802 (bookmark entries), 0x101 (probe),\n"
        "0x801 (bookmark count), 0x607 (directory frames), 0x602 (file download).");
    parser.addHelpOption();
    const QCommandLineOption device("device", "Device path to create (default: $EDGEMARKS_DEVICE).", "path");
    const QCommandLineOption bundle("driver-bundle", "Also make a stand-in driver bundle here.", "path");
    const QCommandLineOption version("driver-version", "Version of that bundle (default 1.2).", "version", "1.2");
    const QCommandLineOption password("password", "The handset's password (default 1234).", "password", "1234");
    const QCommandLineOption showPassword("show-password", "Print the password with the device's path.");
    const QCommandLineOption sample("sample", "Start with sample bookmarks and files.");
    const QCommandLineOption bookmarks("bookmarks", "Start with the bookmarks of this document.", "document");
    const QCommandLineOption files("files", "Start with the files of this folder.", "folder");
    const QCommandLineOption saveBookmarksTo("save-bookmarks", "On exit, save the bookmarks as a document.",
                                             "document");
    const QCommandLineOption saveFilesTo("save-files", "On exit, save the files into this folder.", "folder");
    const QCommandLineOption printEnv("print-env", "Print the environment for a client as shell assignments.");
    const QCommandLineOption noise("noise", "Send these bytes (hex) before every reply.", "hex");
    const QCommandLineOption split("split-header", "Send reply headers in several writes.");
    const QCommandLineOption wrongEcho("wrong-echo", "Answer this sub-command with another echo.", "sub");
    const QCommandLineOption shortLength("short-length", "Announce a length below 4 for this sub-command.", "sub");
    const QCommandLineOption refusePassword("refuse-password", "Refuse every password.");
    const QCommandLineOption probesNG("probes-ng", "Answer this many probes \"NG\" first (-1: all).", "count");
    const QCommandLineOption refuseEntries("refuse-entries", "Answer uploaded entries without \"0\".");
    const QCommandLineOption silentAfter("silent-after", "Stop answering after this many frames.", "count");
    const QCommandLineOption hangUp("hang-up-on", "Hang up in the middle of the reply to this sub-command.", "sub");
    parser.addOptions({device, bundle, version, password, showPassword, sample, bookmarks, files, saveBookmarksTo, saveFilesTo,
                       printEnv, noise, split, wrongEcho, shortLength, refusePassword, probesNG, refuseEntries,
                       silentAfter, hangUp});
    parser.process(app);

    QString devicePath = parser.value(device);
    if (devicePath.isEmpty())
        devicePath = qEnvironmentVariable("EDGEMARKS_DEVICE");
    if (devicePath.isEmpty()) {
        std::fprintf(stderr, "edgemarks-sim: give --device PATH or set EDGEMARKS_DEVICE\n");
        return 2;
    }

    SimulatedHandset handset;
    handset.setPassword(parser.value(password));
    if (parser.isSet(sample))
        handset.loadSampleContent();
    QString error;
    if (parser.isSet(bookmarks)) {
        const auto list = bookmarksFromDocument(parser.value(bookmarks), &error);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "edgemarks-sim: %s: %s\n", qPrintable(parser.value(bookmarks)), qPrintable(error));
            return 1;
        }
        handset.setBookmarks(list);
    }
    if (parser.isSet(files))
        handset.setFiles(filesFromFolder(parser.value(files)));

    SimulatedHandset::Faults faults;
    faults.noise = QByteArray::fromHex(parser.value(noise).toLatin1());
    faults.splitHeader = parser.isSet(split);
    faults.wrongEcho = subCommandOption(parser.value(wrongEcho));
    faults.wrongLengthOn = subCommandOption(parser.value(shortLength));
    faults.refusePassword = parser.isSet(refusePassword);
    faults.probesAnsweredNG = parser.value(probesNG).toInt();
    faults.refuseEntries = parser.isSet(refuseEntries);
    faults.silentAfter = parser.isSet(silentAfter) ? parser.value(silentAfter).toInt() : -1;
    faults.hangUpOn = subCommandOption(parser.value(hangUp));
    handset.setFaults(faults);

    // Caught before anything is made that must be cleaned up, and before the
    // handset answers: a user (or a script) may stop it the moment it serves.
    if (::pipe(signalPipe) == 0) {
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
    }

    const QString bundlePath = parser.value(bundle);
    if (!bundlePath.isEmpty()) {
        if (QFileInfo::exists(bundlePath)) {
            std::fprintf(stderr, "edgemarks-sim: %s exists; not replacing it\n", qPrintable(bundlePath));
            return 1;
        }
        if (!SimulatedHandset::createDriverBundle(bundlePath, parser.value(version), &error)) {
            std::fprintf(stderr, "edgemarks-sim: %s\n", qPrintable(error));
            return 1;
        }
    }
    if (!handset.start(devicePath, &error)) {
        std::fprintf(stderr, "edgemarks-sim: %s\n", qPrintable(error));
        if (!bundlePath.isEmpty())
            QDir(bundlePath).removeRecursively();
        return 1;
    }

    if (parser.isSet(printEnv)) {
        std::printf("EDGEMARKS_DEVICE=%s\n", qPrintable(devicePath));
        if (!bundlePath.isEmpty())
            std::printf("EDGEMARKS_DRIVER_BUNDLE=%s\n", qPrintable(bundlePath));
    } else {
        // A password of the user's own stays off the screen unless asked for.
        if (parser.isSet(showPassword) || !parser.isSet(password))
            std::printf("Simulated AIR-EDGE PHONE on %s (password %s).\n", qPrintable(devicePath),
                        qPrintable(parser.value(password)));
        else
            std::printf("Simulated AIR-EDGE PHONE on %s (the password given).\n", qPrintable(devicePath));
        std::printf("Use it with:\n  export EDGEMARKS_DEVICE=%s\n", qPrintable(devicePath));
        if (!bundlePath.isEmpty())
            std::printf("  export EDGEMARKS_DRIVER_BUNDLE=%s\n", qPrintable(bundlePath));
        std::printf("Stop with Ctrl-C.\n");
    }
    std::fflush(stdout);

    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    app.exec();

    handset.stop();
    int status = 0;
    if (!bundlePath.isEmpty())
        QDir(bundlePath).removeRecursively();
    if (parser.isSet(saveBookmarksTo) && !saveBookmarks(handset.bookmarks(), parser.value(saveBookmarksTo), &error)) {
        std::fprintf(stderr, "edgemarks-sim: %s\n", qPrintable(error));
        status = 1;
    }
    if (parser.isSet(saveFilesTo) && !saveFiles(handset.files(), parser.value(saveFilesTo))) {
        std::fprintf(stderr, "edgemarks-sim: couldn't save every file into %s\n", qPrintable(parser.value(saveFilesTo)));
        status = 1;
    }
    return status;
}
