// Opening and saving documents of 1,000 to 100,000 bookmarks, against the bare
// parse of the same file by libplist (plist_from_bin, without freeing its tree)
// measured in the same run. Each measurement
// alternates with its baseline (A B A B ...); the medians and the spread of the
// ratios are printed. Memory: a fresh run of this program opens the document and
// reports its peak above the size it had just before, as a multiple of the file's size.
#include "document/MyDocument.h"

#include <plist/plist.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
constexpr int Rounds = 7;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Each measurement starts on a settled heap: the small blocks that the step
// before freed are merged first (glibc does it on the next request for a large
// block), so that its cost is not charged to the next step. Nothing is handed
// back to the system: neither side pays for fresh pages that the other would not.
void settleHeap()
{
    auto* volatile block = static_cast<char*>(std::malloc(64 * 1024));
    block[0] = 1;
    std::free(block);
}

template <typename F> double timed(F&& f)
{
    settleHeap();
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

// libplist's plist_from_bin alone, the tree freed after the clock stops.
double bareParse(const QByteArray& bytes)
{
    plist_t p = nullptr;
    const double ms = timed([&] { plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &p); });
    if (!p)
        qFatal("libplist could not parse the document");
    plist_free(p);
    return ms;
}

BookmarkList bookmarks(int count)
{
    BookmarkList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i) {
        auto b = std::make_shared<Bookmark>();
        b->setBookmarkName(QString("ブックマーク %1").arg(i));
        b->setLocation(QString("http://www.example.jp/page/%1.html").arg(i));
        b->setNumber(i % 100);
        b->setFolder(i % 20);
        list << b;
    }
    return list;
}

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM").
long statusKiB(const char* field)
{
    long value = -1;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        const size_t n = std::strlen(field);
        while (std::fgets(line, sizeof line, f))
            if (std::strncmp(line, field, n) == 0 && line[n] == ':')
                value = std::atol(line + n + 1);
        std::fclose(f);
    }
    return value;
}

// The peak memory of opening bytes, above what a fresh process held just before
// (the file already read), in KiB: measured by this program run again.
long openingPeakKiB(const QByteArray& bytes)
{
    QTemporaryFile file;
    if (!file.open() || file.write(bytes) != bytes.size())
        return -1;
    file.close();
    QProcess self;
    self.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--open-peak"), file.fileName()});
    if (!self.waitForFinished(600000))
        return -1;
    return self.readAllStandardOutput().trimmed().toLong();
}

int openPeak(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = file.readAll();
    const long before = statusKiB("VmRSS");
    MyDocument doc;
    if (!doc.loadDataRepresentation(bytes))
        return 1;
    std::printf("%ld\n", statusKiB("VmHWM") - before);
    return 0;
}

struct Result {
    int count;
    qint64 bytes;
    double open, save, parse;
    double openLow, openHigh, saveLow, saveHigh;
    long peakKiB;
};

Result measure(int count)
{
    MyDocument doc;
    doc.setBookmarkList(bookmarks(count));
    const QByteArray bytes = doc.dataRepresentation();
    std::vector<double> opens, saves, parses, openRatios, saveRatios;
    for (int r = 0; r < Rounds; ++r) {
        // Opening and parsing are timed without the freeing that follows them.
        const double parse = bareParse(bytes);
        double open;
        {
            MyDocument other;
            open = timed([&] {
                if (!other.loadDataRepresentation(bytes) || other.bookmarkList().size() != count)
                    qFatal("load failed");
            });
        }
        const double parse2 = bareParse(bytes);
        const double save = timed([&] {
            if (doc.dataRepresentation().size() != bytes.size())
                qFatal("save differs");
        });
        parses.push_back(parse);
        parses.push_back(parse2);
        opens.push_back(open);
        saves.push_back(save);
        openRatios.push_back(open / parse);
        saveRatios.push_back(save / parse2);
    }
    auto [openLow, openHigh] = std::minmax_element(openRatios.begin(), openRatios.end());
    auto [saveLow, saveHigh] = std::minmax_element(saveRatios.begin(), saveRatios.end());
    return {count,    bytes.size(), median(opens), median(saves), median(parses),
            *openLow, *openHigh,    *saveLow,      *saveHigh,     openingPeakKiB(bytes)};
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--open-peak") == 0)
        return openPeak(QString::fromLocal8Bit(argv[2]));
    // Other sizes may be named on the command line (to profile one of them).
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        if (const int n = std::atoi(argv[i]); n > 0)
            counts.push_back(n);
    if (counts.empty())
        counts = {1000, 10000, 100000};
    std::vector<Result> results;
    for (int count : counts)
        results.push_back(measure(count));
    std::printf(
        "medians of %d interleaved rounds; ratios to libplist's bare parse of the same file (min-max)\n",
        Rounds);
    std::printf("%9s %11s %9s %9s %9s %18s %18s %10s\n", "bookmarks", "bytes", "open ms", "save ms",
                "parse ms", "open/parse", "save/parse", "peak/file");
    for (const Result& r : results)
        std::printf("%9d %11lld %9.1f %9.1f %9.1f %5.2f (%4.2f-%4.2f) %5.2f (%4.2f-%4.2f) %10.2f\n", r.count,
                    (long long)r.bytes, r.open, r.save, r.parse, r.open / r.parse, r.openLow, r.openHigh,
                    r.save / r.parse, r.saveLow, r.saveHigh, double(r.peakKiB) * 1024 / double(r.bytes));
    for (size_t i = 1; i < results.size(); ++i)
        std::printf("%dx the bookmarks (%d to %d): open %.1fx the time, save %.1fx\n",
                    results[i].count / results[i - 1].count, results[i - 1].count, results[i].count,
                    results[i].open / results[i - 1].open, results[i].save / results[i - 1].save);
    return 0;
}
