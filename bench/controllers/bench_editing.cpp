// Editing documents of 100, 10,000 and 100,000 bookmarks in the two tables of a
// window: an edit, its undo and a folder switch, each with the events it causes
// and the repaint; deleting 5% of the records (5 of 100, 5,000 of 100,000) and
// undoing it. The records stand in folder order, as an import from the handset
// leaves them. Every operation leaves the table as full as it finds it in every
// document, so that each size paints as many rows and a ratio is what the size
// costs. Sizes take turns within each round, the first one changing from round to
// round; medians are printed with the ratios to the smallest document and the
// middle half of the rounds' own ratios, which tells how steady the figure is.
#include "controllers/BookmarkController.h"
#include "controllers/FolderController.h"
#include "document/MyDocument.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableView>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace
{
int Rounds = 15; // or as the first argument

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The first and third quartile.
std::pair<double, double> middleHalf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v[v.size() / 4], v[v.size() * 3 / 4]};
}

// Everything the operation set off, painted.
void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

template <typename F> double timed(F&& f)
{
    QElapsedTimer t;
    t.start();
    f();
    settle();
    return double(t.nsecsElapsed()) / 1e6;
}

// Folders 1 and 2, those switched to and deleted from, hold 40% of the records
// each: enough rows to fill the table in every document, also once 5% of all
// records are gone from one of them; folders 3 to 19 share the rest.
int folderOf(int i, int count)
{
    const int second = count * 4 / 10, rest = count * 8 / 10;
    if (i < second)
        return 1;
    if (i < rest)
        return 2;
    return 3 + (i - rest) * (MyDocument::FolderCount - 3) / std::max(1, count - rest);
}

struct Window {
    MyDocument document;
    BookmarkController bookmarks{&document};
    FolderController folders{&document, &bookmarks};
    QWidget widget;
    QTableView folderTable;
    QTableView bookmarkTable;

    explicit Window(int count)
    {
        BookmarkList list;
        list.reserve(count);
        for (int i = 0; i < count; ++i) {
            auto b = std::make_shared<Bookmark>();
            b->setBookmarkName(QString("ブックマーク %1").arg(i));
            b->setLocation(QString("http://www.example.jp/page/%1.html").arg(i));
            b->setNumber(i % 100);
            b->setFolder(folderOf(i, count));
            list << b;
        }
        document.setBookmarkList(list);
        auto* layout = new QHBoxLayout(&widget);
        layout->addWidget(&folderTable);
        layout->addWidget(&bookmarkTable);
        folderTable.setModel(&folders);
        bookmarkTable.setModel(&bookmarks);
        bookmarkTable.setSelectionModel(bookmarks.selectionModel());
        // As the window sets its tables up: no row numbers, rows of one height.
        for (QTableView* table : {&folderTable, &bookmarkTable}) {
            table->verticalHeader()->hide();
            table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
            table->horizontalHeader()->setStretchLastSection(true);
        }
        widget.resize(900, 600);
        widget.show();
        folders.setSelectionIndex(1);
        settle();
    }
};
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc > 1)
        Rounds = std::max(1, std::atoi(argv[1]));
    const std::vector<int> sizes{100, 10000, 100000};
    std::map<int, std::unique_ptr<Window>> windows;
    for (int n : sizes)
        windows[n] = std::make_unique<Window>(n);
    const char* names[] = {"edit", "undo", "folder switch", "delete 5%", "undo delete"};
    std::map<int, std::vector<double>> times[5];
    for (int r = 0; r < Rounds; ++r) {
        for (size_t k = 0; k < sizes.size(); ++k) {
            const int n = sizes[(k + size_t(r)) % sizes.size()];
            Window& w = *windows[n];
            // A row on screen in every document.
            const QModelIndex name = w.bookmarks.index(r % 20, BookmarkController::NameColumn);
            times[0][n].push_back(timed([&] { w.bookmarks.setData(name, QString("edited %1").arg(r), Qt::EditRole); }));
            times[1][n].push_back(timed([&] { w.document.undoManager()->undo(); }));
            // Between two folders that fill the table (the scroll bar stays).
            w.folders.setSelectionIndex(1 + (r + 1) % 2);
            settle();
            times[2][n].push_back(timed([&] { w.folders.setSelectionIndex(1 + r % 2); }));
            // The folder's first rows, 5% of all, from the top of the table down.
            std::set<int> doomed;
            for (int i = 0; i < n / 20; ++i)
                doomed.insert(i);
            w.bookmarks.setSelectionIndexes(doomed);
            settle();
            times[3][n].push_back(timed([&] { w.bookmarks.remove(); }));
            times[4][n].push_back(timed([&] { w.document.undoManager()->undo(); }));
            if (w.document.bookmarkList().size() != n)
                qFatal("undo did not restore the list");
            // The undo keeps the current row in view, which scrolls a long table down:
            // the next round edits at the top again.
            w.bookmarkTable.scrollToTop();
            settle();
        }
    }
    std::printf("medians of %d interleaved rounds, ms (ratio to %d bookmarks; middle half of the rounds' "
                "ratios)\n",
                Rounds, sizes.front());
    std::printf("%-14s", "");
    for (int n : sizes)
        std::printf(" %30d", n);
    std::printf("\n");
    for (int k = 0; k < 5; ++k) {
        std::printf("%-14s", names[k]);
        const std::vector<double>& base = times[k][sizes.front()];
        for (int n : sizes) {
            std::vector<double> ratios;
            for (size_t r = 0; r < base.size(); ++r)
                ratios.push_back(times[k][n][r] / base[r]);
            const auto [low, high] = middleHalf(ratios);
            std::printf(" %8.3f (%5.1fx; %5.1f-%5.1f)", median(times[k][n]), median(times[k][n]) / median(base),
                        low, high);
        }
        std::printf("\n");
    }
    return 0;
}
