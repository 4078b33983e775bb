// Editing documents of 100, 10,000 and 100,000 bookmarks in the two tables of a
// window: an edit, its undo and a folder switch, each with the events it causes
// and the repaint; deleting a whole folder's rows (5 of 100, 5,000 of 100,000) and
// undoing it. The records stand in folder order, as an import from the handset
// leaves them. Sizes alternate within each round; medians are printed with the
// ratios to the smallest document.
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
#include <vector>

namespace
{
int Rounds = 15; // or as the first argument

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
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

// Folder 0 holds 5% of the records (the rows deleted), folders 1 and 2, those
// switched to, 30% each: enough rows to fill the table in every document, so that
// a switch paints as many rows whatever the size; the rest share the others.
int folderOf(int i, int count)
{
    const int first = count / 20, second = first + count * 3 / 10, third = second + count * 3 / 10;
    if (i < first)
        return 0;
    if (i < second)
        return 1;
    if (i < third)
        return 2;
    return 3 + (i - third) * (MyDocument::FolderCount - 3) / std::max(1, count - third);
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
        folders.setSelectionIndex(0);
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
    const char* names[] = {"edit", "undo", "folder switch", "delete folder", "undo delete"};
    std::map<int, std::vector<double>> times[5];
    for (int r = 0; r < Rounds; ++r) {
        for (int n : sizes) {
            Window& w = *windows[n];
            const QModelIndex name = w.bookmarks.index(r % w.bookmarks.rowCount(), BookmarkController::NameColumn);
            times[0][n].push_back(timed([&] { w.bookmarks.setData(name, QString("edited %1").arg(r), Qt::EditRole); }));
            times[1][n].push_back(timed([&] { w.document.undoManager()->undo(); }));
            // Between two folders that fill the table (the scroll bar stays).
            w.folders.setSelectionIndex(1 + (r + 1) % 2);
            settle();
            times[2][n].push_back(timed([&] { w.folders.setSelectionIndex(1 + r % 2); }));
            w.folders.setSelectionIndex(0);
            settle();
            std::set<int> all;
            for (int i = 0; i < w.bookmarks.rowCount(); ++i)
                all.insert(i);
            w.bookmarks.setSelectionIndexes(all);
            settle();
            times[3][n].push_back(timed([&] { w.bookmarks.remove(); }));
            times[4][n].push_back(timed([&] { w.document.undoManager()->undo(); }));
            if (w.document.bookmarkList().size() != n)
                qFatal("undo did not restore the list");
        }
    }
    std::printf("medians of %d interleaved rounds, ms (ratio to %d bookmarks)\n", Rounds, sizes.front());
    std::printf("%-14s", "");
    for (int n : sizes)
        std::printf(" %22d", n);
    std::printf("\n");
    for (int k = 0; k < 5; ++k) {
        std::printf("%-14s", names[k]);
        const double base = median(times[k][sizes.front()]);
        for (int n : sizes) {
            const double m = median(times[k][n]);
            std::printf(" %12.3f (%6.1fx)", m, m / base);
        }
        std::printf("\n");
    }
    return 0;
}
