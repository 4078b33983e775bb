// The baseline of the first-paint benchmark: a bare Qt Widgets window with a
// menu bar and two table views, as small as such a program gets.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char* title : {"File", "Edit", "Handset", "Window", "Help"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Item"));
    QStandardItemModel folders(20, 1), bookmarks(0, 3);
    auto* splitter = new QSplitter;
    auto* left = new QTableView;
    left->setModel(&folders);
    auto* right = new QTableView;
    right->setModel(&bookmarks);
    splitter->addWidget(left);
    splitter->addWidget(right);
    window.setCentralWidget(splitter);
    window.resize(860, 520); // the editor's own first size: both paint as much
    window.show();
    return app.exec();
}
