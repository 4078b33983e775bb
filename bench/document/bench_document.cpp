// Opens and saves a document of 100,000 bookmarks and compares the time with
// libplist's own binary parse and write of the same file, measured in this run.
#include "MyDocument.h"

#include <plist/plist.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

#ifndef EDGEMARKS_BENCH_COUNT
#define EDGEMARKS_BENCH_COUNT 100000
#endif
#include <sys/resource.h>

namespace {
constexpr int Count = EDGEMARKS_BENCH_COUNT;
constexpr int Rounds = 3;

template <typename F>
double bestOf(F&& f)
{
    double best = 1e300;
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

long peakKiB()
{
    struct rusage u;
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    MyDocument doc;
    BookmarkList list;
    list.reserve(Count);
    for (int i = 0; i < Count; ++i) {
        auto b = std::make_shared<Bookmark>();
        b->setBookmarkName(QString("ブックマーク %1").arg(i));
        b->setLocation(QString("http://www.example.jp/page/%1.html").arg(i));
        b->setNumber(i % 100);
        b->setFolder(i % 20);
        list << b;
    }
    doc.setBookmarkList(list);
    const long before = peakKiB();

    QByteArray bytes;
    const double save = bestOf([&] { bytes = doc.dataRepresentation(); });
    const double open = bestOf([&] {
        MyDocument other;
        if (!other.loadDataRepresentation(bytes) || other.bookmarkList().size() != Count)
            qFatal("load failed");
    });

    const double parse = bestOf([&] {
        plist_t p = nullptr;
        plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &p);
        plist_free(p);
    });
    plist_t tree = nullptr;
    plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &tree);
    const double write = bestOf([&] {
        char* out = nullptr;
        uint32_t length = 0;
        plist_to_bin(tree, &out, &length);
        plist_to_bin_free(out);
    });
    plist_free(tree);

    std::printf("document of %d bookmarks, %lld bytes (best of %d)\n", Count, (long long)bytes.size(), Rounds);
    std::printf("  open: %8.1f ms   libplist parse: %8.1f ms   ratio %.2f\n", open, parse, open / parse);
    std::printf("  save: %8.1f ms   libplist write: %8.1f ms   ratio %.2f\n", save, write, save / write);
    std::printf("  peak memory: %ld KiB with the document, %ld KiB after opening and saving\n", before, peakKiB());
    return 0;
}
