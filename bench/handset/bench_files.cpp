// Upload and download of a 16 MiB file through the simulated handset (its own
// process) against a plain copy of the same bytes through a pseudo-terminal pair,
// measured in the same run.
#include "BenchSupport.h"
#include "VedORovav.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {
constexpr qint64 Size = 16 << 20;

// Writes Size bytes into one end of a pty pair in 4096-byte pieces while a thread
// reads them from the other end; returns the milliseconds taken.
double plainCopy()
{
    int master = -1;
    int slave = -1;
    openPtyPair(master, slave);
    QElapsedTimer t;
    t.start();
    std::thread reader([&] {
        char buffer[65536];
        qint64 got = 0;
        while (got < Size) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            got += n;
        }
    });
    static char piece[4096];
    for (qint64 sent = 0; sent < Size; sent += sizeof piece)
        [[maybe_unused]] ssize_t w = ::write(slave, piece, sizeof piece);
    reader.join();
    const double ms = t.nsecsElapsed() / 1e6;
    ::close(slave);
    ::close(master);
    return ms;
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
    QElapsedTimer t;
    t.start();
    if (!VedORovav().writeFileFrom({source}, "1234", progress))
        qFatal("upload refused");
    const double upload = t.nsecsElapsed() / 1e6;

    AirHFile file;
    file.setFileName("big.bin");
    file.setFileType("other");
    QStringList destinations{dir.filePath("back.bin")};
    t.restart();
    if (!VedORovav().readFileFrom({file}, destinations, "1234", progress))
        qFatal("download refused");
    const double download = t.nsecsElapsed() / 1e6;
    if (QFile(dir.filePath("back.bin")).size() != Size)
        qFatal("download incomplete");
    sim.terminate();
    sim.waitForFinished();

    const double copy = plainCopy();
    const double mib = double(Size) / (1 << 20);
    std::printf("16 MiB through the simulated handset, against a plain pty copy of the same bytes\n");
    std::printf("  plain copy: %7.1f ms  %7.1f MiB/s\n", copy, mib / copy * 1000);
    std::printf("  upload:     %7.1f ms  %7.1f MiB/s  ratio %.2f\n", upload, mib / upload * 1000, upload / copy);
    std::printf("  download:   %7.1f ms  %7.1f MiB/s  ratio %.2f\n", download, mib / download * 1000,
                download / copy);
    return 0;
}
