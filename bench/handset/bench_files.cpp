// Upload and download of a 16 MiB file through the simulated handset (a process
// of its own), against a plain copy of the same bytes through a pseudo-terminal
// pair with the other end in another process, in the same direction. Rounds
// alternate (copy, upload, copy, download ...); medians and the spread of the
// ratios are printed, and the simulator's resident memory after every transfer.
#include "BenchSupport.h"
#include "VedORovav.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace
{
constexpr qint64 Size = 16 << 20;
constexpr int Rounds = 10; // 20 transfers in all

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Size bytes through a pty pair: written in 4096-byte pieces on one end by a
// child process, read on the other end here. toSlave: the bytes go from the
// master (the handset's side) to the slave (the program's side), as a download.
double plainCopy(bool toSlave)
{
    int master = -1, slave = -1;
    openPtyPair(master, slave);
    const int writeFd = toSlave ? master : slave;
    const int readFd = toSlave ? slave : master;
    QElapsedTimer t;
    t.start();
    const pid_t child = fork();
    if (child == 0) {
        static char piece[4096];
        for (qint64 sent = 0; sent < Size;) {
            const ssize_t n = ::write(writeFd, piece, sizeof piece);
            if (n > 0)
                sent += n;
        }
        _exit(0);
    }
    static char buffer[65536];
    for (qint64 got = 0; got < Size;) {
        const ssize_t n = ::read(readFd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        got += n;
    }
    const double ms = double(t.nsecsElapsed()) / 1e6;
    waitpid(child, nullptr, 0);
    ::close(slave);
    ::close(master);
    return ms;
}

long residentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QProcess sim;
    startSimulator(sim, dir);

    const QString source = dir.filePath("big.bin");
    {
        QFile f(source);
        f.open(QIODevice::WriteOnly);
        QByteArray chunk(1 << 20, 'x');
        for (int i = 0; i < 16; ++i)
            f.write(chunk);
    }
    NullProgress progress;
    AirHFile file;
    file.setFileName("big.bin");
    file.setFileType("other");
    const QString back = dir.filePath("back.bin");

    std::vector<double> uploads, downloads, copiesUp, copiesDown, upRatios, downRatios;
    std::vector<long> memory;
    for (int r = 0; r < Rounds; ++r) {
        const double copyUp = plainCopy(false);
        QElapsedTimer t;
        t.start();
        if (!VedORovav().writeFileFrom({source}, "1234", progress))
            qFatal("upload refused");
        const double upload = double(t.nsecsElapsed()) / 1e6;
        memory.push_back(residentKiB(sim.processId()));

        const double copyDown = plainCopy(true);
        QStringList destinations{back}; // the download may rewrite its list
        t.restart();
        if (!VedORovav().readFileFrom({file}, destinations, "1234", progress))
            qFatal("download refused");
        const double download = double(t.nsecsElapsed()) / 1e6;
        if (QFile(back).size() != Size)
            qFatal("download incomplete");
        memory.push_back(residentKiB(sim.processId()));

        uploads.push_back(upload);
        downloads.push_back(download);
        copiesUp.push_back(copyUp);
        copiesDown.push_back(copyDown);
        // Throughput against the copy: above 1 is faster than the plain copy.
        upRatios.push_back(copyUp / upload);
        downRatios.push_back(copyDown / download);
    }
    sim.terminate();
    sim.waitForFinished();

    const double mib = double(Size) / (1 << 20);
    auto [upLow, upHigh] = std::minmax_element(upRatios.begin(), upRatios.end());
    auto [downLow, downHigh] = std::minmax_element(downRatios.begin(), downRatios.end());
    std::printf(
        "16 MiB through the simulated handset, %d interleaved rounds, medians; throughput as a share of a\n"
        "plain copy through a pty pair (writer in another process, same direction), min-max\n",
        Rounds);
    std::printf("  upload:   %7.1f ms  %6.1f MiB/s   copy %6.1f ms   throughput %.2fx (%.2f-%.2f)\n",
                median(uploads), mib / median(uploads) * 1000, median(copiesUp), median(upRatios), *upLow,
                *upHigh);
    std::printf("  download: %7.1f ms  %6.1f MiB/s   copy %6.1f ms   throughput %.2fx (%.2f-%.2f)\n",
                median(downloads), mib / median(downloads) * 1000, median(copiesDown), median(downRatios),
                *downLow, *downHigh);
    std::printf("  simulator resident memory after each of the %d transfers (MiB):", int(memory.size()));
    for (long kib : memory)
        std::printf(" %ld", kib / 1024);
    std::printf("\n");
    return 0;
}
