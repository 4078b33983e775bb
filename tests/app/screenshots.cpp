// Renders the document window, the progress sheet and the password sheet into
// PNG files, for a look at the layout (scripts/screenshots runs it under Xvfb).
#include "BookmarkController.h"
#include "DocumentWindow.h"
#include "EdgeMarksApp.h"
#include "KeychainStore.h"
#include "MyDocument.h"
#include "PasswordController.h"
#include "ProgressController.h"
#include "SimulatedHandset.h"
#include "ui_MyDocument.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTableView>
#include <QThread>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(out);
    // A stand-in driver, so that the driver check lets the window be.
    QTemporaryDir dir;
    const QString bundle = dir.filePath("AHK3001VDriver.kext");
    SimulatedHandset::createDriverBundle(bundle, "1.2");
    qputenv("EDGEMARKS_DRIVER_BUNDLE", QFile::encodeName(bundle));
    MemoryKeychainStore keychain;
    EdgeMarksApp edgemarks(&keychain);
    edgemarks.terminate = [](int) {};
    DocumentWindow* w = edgemarks.newDocument();
    w->resize(900, 540);

    BookmarkList list;
    const QList<std::tuple<QString, QString, int>> rows{
        {"Yahoo! JAPAN", "http://mobile.yahoo.co.jp/", 0}, {"Google", "http://www.google.co.jp/m", 0},
        {"天気予報", "http://weather.example.jp/i/", 0},    {"乗換案内", "http://transit.example.jp/", 1},
        {"ニュース速報", "http://news.example.jp/headlines", 1}};
    int n = 0;
    for (const auto& [name, location, folder] : rows) {
        auto b = std::make_shared<Bookmark>();
        b->setBookmarkName(name);
        b->setLocation(location);
        b->setNumber(n++);
        b->setFolder(folder);
        list << b;
    }
    w->document()->setBookmarkList(list);
    w->bookmarkController()->setSelectionIndexes({1});
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    w->grab().save(out + "/window.png");

    w->progressController()->openProgressForWindow(w, 3, QString());
    w->progressController()->updateProgressDoubleValue(2);
    QCoreApplication::processEvents();
    w->progressController()->sheet()->grab().save(out + "/progress-sheet.png");
    w->progressController()->closeProgress();

    w->passwordController()->inputPassword([] {});
    w->passwordController()->passwordField()->setText("1234");
    QCoreApplication::processEvents();
    w->passwordController()->passwordSheet()->grab().save(out + "/password-sheet.png");
    w->passwordController()->clickCancelButton();
    return 0;
}
