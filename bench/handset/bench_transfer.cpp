// Imports and exports 100 bookmarks through the simulated handset (run as its own
// process, so that this process holds the link alone) and prints the time of each
// transfer against plain request/reply round trips over a pseudo-terminal pair,
// measured in the same run, and the read and write system calls per frame.
#include "BenchSupport.h"
#include "VedORovav.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <fcntl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {
struct IoCounts {
    long reads = 0;
    long writes = 0;
};

IoCounts ioCounts()
{
    QFile f("/proc/self/io");
    IoCounts c;
    if (!f.open(QIODevice::ReadOnly))
        return c;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith("syscr:"))
            c.reads = line.mid(6).trimmed().toLong();
        else if (line.startsWith("syscw:"))
            c.writes = line.mid(6).trimmed().toLong();
    }
    return c;
}

// Round trips of a request and a reply of the given sizes over a bare pty pair.
double pingPong(int exchanges, int requestBytes, int replyBytes)
{
    int master = -1;
    int slave = -1;
    openPtyPair(master, slave);
    std::thread echo([&] {
        QByteArray in(requestBytes, 0), out(replyBytes, 'r');
        for (int i = 0; i < exchanges; ++i) {
            int got = 0;
            while (got < requestBytes)
                got += int(::read(master, in.data() + got, size_t(requestBytes - got)));
            [[maybe_unused]] ssize_t w = ::write(master, out.constData(), size_t(replyBytes));
        }
    });
    QByteArray req(requestBytes, 'q'), rep(replyBytes, 0);
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < exchanges; ++i) {
        [[maybe_unused]] ssize_t w = ::write(slave, req.constData(), size_t(requestBytes));
        int got = 0;
        while (got < replyBytes)
            got += int(::read(slave, rep.data() + got, size_t(replyBytes - got)));
    }
    const double ms = t.nsecsElapsed() / 1e6;
    echo.join();
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

    BookmarkList list;
    for (int i = 0; i < 100; ++i) {
        auto b = std::make_shared<Bookmark>();
        b->setBookmarkName(QString("ブックマーク %1").arg(i));
        b->setLocation(QString("http://www.example.jp/%1/index.html").arg(i));
        b->setNumber(i);
        b->setFolder(i % 20);
        list << b;
    }
    NullProgress progress;

    // Export: probe, password, 2 opening exchanges, 100 entries, closing: 105 replies; 106 frames sent.
    IoCounts before = ioCounts();
    QElapsedTimer t;
    t.start();
    if (!VedORovav().writeBookmarks(list, "1234", progress))
        qFatal("export refused");
    const double exportMs = t.nsecsElapsed() / 1e6;
    IoCounts after = ioCounts();
    const double exportReads = double(after.reads - before.reads) / 105;
    const double exportWrites = double(after.writes - before.writes) / 106;

    // Import: probe, password, count, 100 entries: 103 replies; 105 frames sent.
    BookmarkList back;
    before = ioCounts();
    t.restart();
    if (!VedORovav().readBookmarks(back, "1234", progress) || back.size() != 100)
        qFatal("import failed");
    const double importMs = t.nsecsElapsed() / 1e6;
    after = ioCounts();
    const double importReads = double(after.reads - before.reads) / 103;
    const double importWrites = double(after.writes - before.writes) / 105;

    sim.terminate();
    sim.waitForFinished();

    const double baselineExport = pingPong(105, 60, 13);
    const double baselineImport = pingPong(103, 13, 60);
    std::printf("100 bookmarks through the simulated handset (no protocol pauses were needed)\n");
    std::printf("  export: %7.1f ms   bare pty round trips: %6.1f ms   ratio %.2f   reads/reply %.2f, writes/frame %.2f\n",
                exportMs, baselineExport, exportMs / baselineExport, exportReads, exportWrites);
    std::printf("  import: %7.1f ms   bare pty round trips: %6.1f ms   ratio %.2f   reads/reply %.2f, writes/frame %.2f\n",
                importMs, baselineImport, importMs / baselineImport, importReads, importWrites);
    return 0;
}
