// A backup of the simulated handset (a process of its own) against what it
// stands for: the bookmark import plus the downloads of the same files, in the
// same run, rounds interleaved; verifying the backup against the backup; and
// this process's memory during a backup of one 256 MiB file, above its idle size.
#include "../handset/BenchSupport.h"
#include "commands/HandsetBackup.h"
#include "handset/VedORovav.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace
{

long statusKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLong();
    return -1;
}

void makeFiles(const QString& folder, const QList<qint64>& sizes)
{
    QDir().mkpath(folder);
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (qsizetype i = 0; i < chunk.size(); ++i)
        chunk[i] = char(i * 131 + (i >> 9));
    for (int k = 0; k < sizes.size(); ++k) {
        QFile f(QDir(folder).filePath(QStringLiteral("file%1.bin").arg(k)));
        f.open(QIODevice::WriteOnly);
        for (qint64 left = sizes[k]; left > 0; left -= chunk.size())
            f.write(chunk.constData(), std::min<qint64>(left, chunk.size()));
    }
}

void startWith(QProcess& sim, const QTemporaryDir& dir, const QString& files)
{
    const QString device = dir.filePath("cu.ah-k3001v.data");
    sim.start(QCoreApplication::applicationDirPath() + "/../../src/simulator/edgemarks-sim",
              {"--device", device, "--print-env", "--sample", "--files", files});
    if (!sim.waitForReadyRead(20000))
        qFatal("edgemarks-sim did not start");
    qputenv("EDGEMARKS_DEVICE", QFile::encodeName(device));
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    const QString base =
        QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    QTemporaryDir dir(base + QStringLiteral("/bench_backup-XXXXXX"));
    const QString files = dir.filePath("files");
    makeFiles(files, {16 << 20, 8 << 20, 4 << 20, 1 << 20, 300000, 40000, 5000, 100});
    const QString backup = dir.filePath("backup.tar");
    const QString downloads = dir.filePath("downloads");
    QDir().mkpath(downloads);

    QProcess sim;
    startWith(sim, dir, files);
    std::vector<double> plain, backups, verifies, ratios, verifyRatios;
    NullProgress progress;
    VedORovav link{LinkSettings::fromEnvironment()};
    auto importAndDownload = [&] {
        BookmarkList bookmarks;
        AirHFileList listed;
        if (!link.readBookmarks(bookmarks, "1234", progress) || !link.readDirectory(listed, "1234", progress))
            qFatal("refused");
        QStringList destinations;
        for (const AirHFile& f : listed)
            destinations << QDir(downloads).filePath(f.fileName());
        if (!link.readFileFrom(listed, destinations, "1234", progress))
            qFatal("refused");
    };
    auto backUp = [&] {
        if (!HandsetBackup::backUp(link, backup, "1234", progress))
            qFatal("refused");
    };
    auto verify = [&] { BackupReader::readFile(backup); };
    auto timed = [](const auto& step) {
        QElapsedTimer t;
        t.start();
        step();
        return double(t.nsecsElapsed()) / 1e6;
    };
    for (int r = 0; r < rounds; ++r) {
        // Every other round the backup goes first, so that neither gains from the other's traces.
        double p = 0, b = 0;
        if (r % 2)
            b = timed(backUp), p = timed(importAndDownload);
        else
            p = timed(importAndDownload), b = timed(backUp);
        const double v = timed(verify);
        plain.push_back(p);
        backups.push_back(b);
        verifies.push_back(v);
        ratios.push_back(b / p);
        verifyRatios.push_back(v / b);
    }
    sim.terminate();
    sim.waitForFinished();
    const auto [low, high] = middleHalf(ratios);
    const auto [vLow, vHigh] = middleHalf(verifyRatios);
    std::printf("Backup of %d bookmarks and %lld MiB in 8 files through the simulated handset, %d interleaved "
                "rounds, medians (middle half):\n",
                6, (long long)(29), rounds);
    std::printf("  import + downloads %7.1f ms   backup %7.1f ms   backup / (import + downloads) %.2fx (%.2f-%.2f)\n",
                median(plain), median(backups), median(ratios), low, high);
    std::printf("  verify %7.1f ms   verify / backup %.2fx (%.2f-%.2f)\n", median(verifies), median(verifyRatios),
                vLow, vHigh);

    // Memory: a backup of one 256 MiB file; the peak above the size before it.
    QFile::remove(backup);
    QDir(files).removeRecursively();
    makeFiles(files, {qint64(256) << 20});
    startWith(sim, dir, files);
    BookmarkList warm;
    link.readBookmarks(warm, "1234", progress); // the link's own first-use allocations
    const long idle = statusKiB("VmRSS:");
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5"); // resets the peak to the current size
    clear.close();
    if (!HandsetBackup::backUp(link, backup, "1234", progress))
        qFatal("refused");
    const long peak = statusKiB("VmHWM:");
    sim.terminate();
    sim.waitForFinished();
    std::printf("  backup of one 256 MiB file: resident %ld KiB before, peak %ld KiB, %.2f MiB above idle\n", idle,
                peak, double(peak - idle) / 1024);
    return 0;
}
