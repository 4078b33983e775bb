// Renders the document window and its sheets into PNG files, for a look at the
// layout and for the AppStream metainfo (scripts/screenshots runs it under Xvfb,
// once in English and once in Japanese). Xvfb has no window manager: the
// window's title bar, with its icon and title, is drawn above the window.
#include "controllers/BookmarkController.h"
#include "app/DocumentWindow.h"
#include "app/EdgeMarksApp.h"
#include "sheets/FindingsSheet.h"
#include "sheets/KeychainStore.h"
#include "document/MyDocument.h"
#include "sheets/PasswordController.h"
#include "sheets/ProgressController.h"
#include "simulator/SimulatedHandset.h"
#include "Translations.h"
#include "ui_MyDocument.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>

namespace
{
// The window as a desktop shows it: a title bar with the icon and the title.
QImage withTitleBar(QWidget* w)
{
    const QPixmap content = w->grab();
    const int bar = 30;
    QImage image(content.width(), content.height() + bar, QImage::Format_ARGB32);
    image.fill(QColor(0xd8, 0xdc, 0xe2));
    QPainter p(&image);
    p.drawPixmap(8, (bar - 20) / 2, w->windowIcon().pixmap(20, 20));
    QString title = w->windowTitle();
    title.replace(QStringLiteral("[*]"), w->isWindowModified() ? QStringLiteral("*") : QString());
    p.drawText(QRect(0, 0, image.width(), bar), Qt::AlignCenter, title);
    p.drawPixmap(0, bar, content);
    return image;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("EdgeMarks"));
    QApplication::setApplicationVersion(QStringLiteral("0.1.0"));
    installTranslations(app);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    // "-ja" and the like: the language of this run, in the file names.
    const QString suffix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QDir().mkpath(out);
    // A stand-in driver, so that the driver check lets the window be.
    QTemporaryDir dir;
    const QString bundle = dir.filePath("AHK3001VDriver.kext");
    SimulatedHandset::createDriverBundle(bundle, "1.2");
    LinkSettings link;
    link.driverBundle = bundle;
    MemoryKeychainStore keychain;
    EdgeMarksApp edgemarks(&keychain, link);
    edgemarks.terminate = [](int) {};
    DocumentWindow* w = edgemarks.newDocument();
    w->resize(900, 540);

    BookmarkList list;
    const QList<std::tuple<QString, QString, int>> rows{
        {"Yahoo! JAPAN", "http://mobile.yahoo.co.jp/", 0},
        {"Google", "http://www.google.co.jp/m", 0},
        {"天気予報", "http://weather.example.jp/i/", 0},
        {"乗換案内", "http://transit.example.jp/", 1},
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
    withTitleBar(w).save(out + "/window" + suffix + ".png");

    w->progressController()->openProgressForWindow(w, 3, QString());
    w->progressController()->updateProgressDoubleValue(2);
    QCoreApplication::processEvents();
    w->progressController()->sheet()->grab().save(out + "/progress-sheet" + suffix + ".png");
    w->progressController()->closeProgress();

    w->passwordController()->inputPassword([] {});
    w->passwordController()->passwordField()->setText("1234");
    QCoreApplication::processEvents();
    w->passwordController()->passwordSheet()->grab().save(out + "/password-sheet" + suffix + ".png");
    w->passwordController()->clickCancelButton();

    // The handset check before an export.
    auto twice = std::make_shared<Bookmark>();
    twice->setBookmarkName(QStringLiteral("ケーキ 🍰"));
    twice->setLocation(QStringLiteral("http://cake.example.jp/"));
    twice->setNumber(1);
    w->document()->insertObjectInBookmarkList(twice, int(w->document()->bookmarkList().size()));
    w->ui()->actionExport->trigger();
    QCoreApplication::processEvents();
    if (auto* findings = w->findChild<FindingsSheet*>(QStringLiteral("findingsSheet"))) {
        findings->grab().save(out + "/findings-sheet" + suffix + ".png");
        findings->reject();
    }
    // What an import of a browser's bookmark file will do, before it does it.
    const QString html = dir.filePath(QStringLiteral("bookmarks.html"));
    {
        QFile f(html);
        f.open(QIODevice::WriteOnly);
        f.write("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                "charset=UTF-8\">\n<DL><p>\n<DT><H3>\xE3\x83\x8B\xE3\x83\xA5\xE3\x83\xBC\xE3\x82\xB9</"
                "H3>\n<DL><p>\n"
                "<DT><A HREF=\"http://news.example.jp/\">News</A>\n<DT><A "
                "HREF=\"http://sports.example.jp/\">Sports</A>\n"
                "</DL><p>\n<DT><A HREF=\"place:sort=8\">Most Visited</A>\n<DT><A "
                "HREF=\"https://map.example.jp/\">Map</A>\n"
                "</DL><p>\n");
    }
    w->importBrowserBookmarks(html);
    QCoreApplication::processEvents();
    if (auto* sheet = w->findChild<QDialog*>(QStringLiteral("browserImportSheet"))) {
        sheet->grab().save(out + "/import-sheet" + suffix + ".png");
        sheet->reject();
    }
    w->showAbout();
    QCoreApplication::processEvents();
    if (auto* about = w->findChild<QMessageBox*>(QStringLiteral("aboutBox")))
        about->grab().save(out + "/about" + suffix + ".png");
    return 0;
}
