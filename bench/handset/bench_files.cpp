// Upload and download of a 16 MiB file through the simulated handset (a process
// of its own), against a plain copy of the same bytes through a pseudo-terminal
// pair with the other end in another process, in the same direction. Rounds
// alternate (copy, upload, copy, download ...); medians and the middle half of
// the ratios are printed, and the simulator's resident memory after every transfer.
#include "BenchSupport.h"
#include "support/MemoryStream.h"
#include "support/ScriptedHandset.h"
#include "handset/VedORovav.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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
constexpr int Rounds = 60; // 120 transfers in all

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

// The same transfers against a minimal handset in memory (a MemoryStream answered
// by a script): what the client costs alone, and the calls it makes on its
// stream, each of which is one system call on a port.
void minimalHandset(const QString& source, const QString& back, const AirHFile& file)
{
    const QByteArray name = VedORovav(testLink()).dataFileName(file.fileName(), file.fileType());
    // The download's reply: header, the name echo (name TAB type TAB), the content.
    const QByteArray download =
        ScriptedHandset::reply(3, 0x602, name.left(name.size() - 1) + QByteArray(Size, 'x'));
    std::vector<double> times[2];
    MemoryStream::Calls calls[2];
    for (int r = 0; r < Rounds; ++r) {
        for (const bool upload : {true, false}) {
            ScriptedHandset handset;
            handset.on(3, 0x602, {download});
            MemoryStream::Calls counted;
            VedORovav link{testLink()};
            link.setStreamOpener([&] {
                auto stream = handset.stream();
                stream->countCallsInto(&counted);
                return stream;
            });
            NullProgress progress;
            QStringList destinations{back};
            QElapsedTimer t;
            t.start();
            const bool done = upload ? link.writeFileFrom({source}, "1234", progress)
                                     : link.readFileFrom({file}, destinations, "1234", progress);
            times[upload].push_back(double(t.nsecsElapsed()) / 1e6);
            if (!done)
                qFatal("refused");
            calls[upload] = counted;
        }
    }
    const double mib = double(Size) / (1 << 20), pieces = double(Size) / 4096;
    std::printf("The same against a minimal handset in memory (the client alone), medians of %d:\n", Rounds);
    for (const bool upload : {true, false})
        std::printf("  %s %7.1f ms  %7.1f MiB/s   per 4 KiB of content: %.2f waits (poll), %.2f reads, "
                    "%.2f writes\n",
                    upload ? "upload:  " : "download:", median(times[upload]),
                    mib / median(times[upload]) * 1000, double(calls[upload].waits) / pieces,
                    double(calls[upload].reads) / pieces, double(calls[upload].writes) / pieces);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Files live in memory (/dev/shm) when it can: the disk's own speed, and the
    // flush that makes a downloaded file durable, are not what is measured.
    const QString base =
        QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    QTemporaryDir dir(base + QStringLiteral("/bench_files-XXXXXX"));
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
    AirHFile file;
    file.setFileName("big.bin");
    file.setFileType("other");
    const QString back = dir.filePath("back.bin");

    // [0] download, [1] upload
    std::vector<double> whole[2], copies[2], wholeRatios[2], dataRatios[2];
    std::vector<long> memory;
    TimingProgress progress;
    for (int r = 0; r < Rounds; ++r) {
        for (const bool upload : {true, false}) {
            const double copy = plainCopy(!upload);
            QElapsedTimer t;
            t.start();
            QStringList destinations{back}; // the download may rewrite its list
            const bool done =
                upload ? VedORovav(testLink()).writeFileFrom({source}, "1234", progress)
                       : VedORovav(testLink()).readFileFrom({file}, destinations, "1234", progress);
            const double ms = double(t.nsecsElapsed()) / 1e6;
            if (!done || (!upload && QFile(back).size() != Size))
                qFatal("transfer failed");
            memory.push_back(residentKiB(sim.processId()));
            whole[upload].push_back(ms);
            copies[upload].push_back(copy);
            // Throughput against the copy: above 1 is faster than the plain copy.
            wholeRatios[upload].push_back(copy / ms);
            dataRatios[upload].push_back(copy * progress.dataShare() / progress.dataMs());
        }
    }
    sim.terminate();
    sim.waitForFinished();

    const double mib = double(Size) / (1 << 20);
    std::printf(
        "16 MiB through the simulated handset, %d interleaved rounds, medians (middle half); throughput as a "
        "share\n"
        "of a plain copy through a pty pair (writer in another process, same direction): of the whole\n"
        "conversation (open and the wait for a quiet line, login, transfer, logout), and of the content "
        "alone\n",
        Rounds);
    for (const bool upload : {true, false}) {
        const auto [wLow, wHigh] = middleHalf(wholeRatios[upload]);
        const auto [dLow, dHigh] = middleHalf(dataRatios[upload]);
        std::printf(
            "  %s %7.1f ms %6.1f MiB/s  copy %5.1f ms  whole %.2fx (%.2f-%.2f)  content %.2fx (%.2f-%.2f)\n",
            upload ? "upload:  " : "download:", median(whole[upload]), mib / median(whole[upload]) * 1000,
            median(copies[upload]), median(wholeRatios[upload]), wLow, wHigh, median(dataRatios[upload]),
            dLow, dHigh);
    }
    // Growth shows over the first transfers and stays visible at wide steps.
    std::printf("  simulator resident memory (MiB) after transfer");
    for (size_t n = 1; n <= memory.size(); n = n < 5 ? n + 1 : n * 2)
        std::printf(" %zu: %ld,", n, memory[n - 1] / 1024);
    const auto [least, most] = std::minmax_element(memory.begin() + long(memory.size() / 2), memory.end());
    std::printf(" the last half between %ld and %ld\n", *least / 1024, *most / 1024);
    minimalHandset(source, back, file);
    return 0;
}
