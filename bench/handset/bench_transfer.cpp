// Imports and exports 100 bookmarks through the simulated handset (run as its own
// process, so that this process holds the link alone) against plain
// request/reply round trips over a pseudo-terminal pair, in interleaved rounds,
// with the read and write system calls per reply; and through a minimal handset
// in memory, which tells the client's own cost and its calls (poll included).
#include "BenchSupport.h"
#include "handset/BookmarkEntry.h"
#include "support/MemoryStream.h"
#include "support/ScriptedHandset.h"
#include "handset/VedORovav.h"

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

namespace
{
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

// One transfer of the list through the link that opener gives (the simulated
// handset when none); the time in ms.
double transfer(bool isExport, const BookmarkList& list, const VedORovav::StreamOpener& opener = {})
{
    NullProgress progress;
    VedORovav link{testLink()};
    if (opener)
        link.setStreamOpener(opener);
    BookmarkList back;
    QElapsedTimer t;
    t.start();
    const bool done =
        isExport ? link.writeBookmarks(list, "1234", progress) : link.readBookmarks(back, "1234", progress);
    const double ms = t.nsecsElapsed() / 1e6;
    if (!done || (!isExport && back.size() != list.size()))
        qFatal("transfer failed");
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
    // The simulated handset holds the list once an export ran; replies per
    // transfer: export 105 (probe, password, 2 opening, 100 entries, closing),
    // import 103 (probe, password, count, 100 entries).
    transfer(true, list);

    // A minimal handset in memory with the same replies, for the client alone.
    QList<QByteArray> entries;
    for (const BookmarkPtr& b : list)
        entries << ScriptedHandset::reply(3, 0x802, BookmarkEntry::encode(*b, b->folder()));
    MemoryStream::Calls calls[2];
    auto minimal = [&](bool isExport) {
        return [&calls, &entries, isExport] {
            auto handset = std::make_shared<ScriptedHandset>();
            for (int sub : {0x804, 0x805, 0x806})
                handset->on(3, sub, {ScriptedHandset::reply(3, sub, "")});
            handset->on(3, 0x803, {ScriptedHandset::reply(3, 0x803, "0")});
            handset->on(2, 0x801, {ScriptedHandset::reply(2, 0x801, "100")});
            handset->on(3, 0x802, {entries.first()});
            handset->on(0x10, 0x910, entries.mid(1) + QList<QByteArray>{QByteArray()});
            auto stream = std::make_unique<MemoryStream>();
            stream->setResponder([handset](const QByteArray& frame) { return handset->answer(frame); });
            calls[isExport] = {};
            stream->countCallsInto(&calls[isExport]);
            return std::unique_ptr<ByteStream>(std::move(stream));
        };
    };

    constexpr int Rounds = 10;
    std::vector<double> times[2], baselines[2], ratios[2], memoryTimes[2];
    IoCounts perReply[2];
    for (int r = 0; r < Rounds; ++r) {
        for (const bool isExport : {true, false}) {
            const double baseline = isExport ? pingPong(105, 60, 13) : pingPong(103, 13, 60);
            const IoCounts before = ioCounts();
            const double ms = transfer(isExport, list);
            const IoCounts after = ioCounts();
            perReply[isExport] = {after.reads - before.reads, after.writes - before.writes};
            times[isExport].push_back(ms);
            baselines[isExport].push_back(baseline);
            ratios[isExport].push_back(ms / baseline);
            memoryTimes[isExport].push_back(transfer(isExport, list, minimal(isExport)));
        }
    }
    sim.terminate();
    sim.waitForFinished();

    std::printf(
        "100 bookmarks, %d interleaved rounds, medians (min-max): through the simulated handset against\n"
        "bare request/reply round trips over a pty pair; and against a minimal handset in memory\n",
        Rounds);
    for (const bool isExport : {true, false}) {
        const double replies = isExport ? 105 : 103;
        const auto [low, high] = spread(ratios[isExport]);
        std::printf(
            "  %s %6.1f ms  round trips %5.1f ms  ratio %.2f (%.2f-%.2f)  per reply: %.2f reads, %.2f "
            "writes\n",
            isExport ? "export:" : "import:", median(times[isExport]), median(baselines[isExport]),
            median(ratios[isExport]), low, high, perReply[isExport].reads / replies,
            perReply[isExport].writes / replies);
        std::printf("          in memory %5.2f ms  per reply: %.2f waits (poll), %.2f reads, %.2f writes\n",
                    median(memoryTimes[isExport]), calls[isExport].waits / replies,
                    calls[isExport].reads / replies, calls[isExport].writes / replies);
    }
    return 0;
}
