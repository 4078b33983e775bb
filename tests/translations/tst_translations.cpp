#include "controllers/BookmarkController.h"
#include "controllers/MemoryNumberFormatter.h"
#include "document/MyDocument.h"
#include "handset/DriverCheck.h"
#include "handset/VedORovav.h"
#include "support/FileTestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

// Texts are looked up when they are used, in the contexts the translation was
// made from: with the Japanese translation installed, each part speaks Japanese.
class TestTranslations : public QObject
{
    Q_OBJECT
    QTranslator m_japanese;

private slots:
    void initTestCase()
    {
        QVERIFY(m_japanese.load(QStringLiteral(":/translations/edgemarks_ja.qm")));
        QCoreApplication::installTranslator(&m_japanese);
    }

    void linkReasons()
    {
        QCOMPARE(VedORovavException(LinkTexts::NotConnected).localizedReason(),
                 QStringLiteral("AIR-EDGE PHONE が接続されていません。"));
        QCOMPARE(
            VedORovavException(LinkTexts::TooManyBookmarks).reason(),
            QString(
                "Too many bookmarks exist. Up to 100 bookmarks can be registered.")); // the key stays English
        QCOMPARE(DriverCheck::humanReadableName("/nonexistent.kext"),
                 QStringLiteral("AH-K3001V USB ドライバ 1.2"));
    }

    void documentTexts()
    {
        MyDocument doc;
        BookmarkController bookmarks(&doc);
        bookmarks.add();
        QCOMPARE(doc.bookmarkList().first()->bookmarkName(), QStringLiteral("名称未設定"));
        QCOMPARE(doc.undoManager()->undoMenuItemTitle(), QStringLiteral("ブックマークの挿入 を取り消す"));
        QCoreApplication::processEvents();
        doc.bookmarkList().first()->setNumber(5);
        auto other = std::make_shared<Bookmark>();
        other->setNumber(7);
        doc.insertObjectInBookmarkList(other, 1);
        bookmarks.setSelectionIndexes({0});
        int value = 0;
        QString error;
        QVERIFY(!bookmarks.formatter()->getObjectValue(&value, "7", &error));
        QVERIFY(error.startsWith(QStringLiteral("同じメモリ番号が既に使われています。\n")));
        QString loadError;
        QVERIFY(!doc.loadDataRepresentation("not an archive at all", &loadError));
        QCOMPARE(loadError, QStringLiteral("このファイルは対応する種類の書類ではありません。"));
    }

    // The English file rewords what Linux calls otherwise; the keys stay.
    void englishSaysKeyring()
    {
        QCoreApplication::removeTranslator(&m_japanese);
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/translations/edgemarks_en.qm")));
        QCOMPARE(english.translate("PasswordController", "Save the password in the keychain"),
                 QString("Save the password in the keyring"));
        QVERIFY(english.translate("VedORovav", "The transfer was cancelled.").isEmpty()); // the key stands
        // The original's slips are mended in what is shown, and counts are plural.
        QCOMPARE(english.translate("VedORovav", "An illiegal length data was received."),
                 QString("Data of an illegal length was received."));
        QCOMPARE(
            english.translate("DocumentCommands",
                              "The bookmarks in the AIR-EDGE PHONE will be completely deleted. Are you sure "
                              "you want to export ?"),
            QString(
                "The bookmarks in the AIR-EDGE PHONE will be completely deleted. Are you sure you want to "
                "export?"));
        QCoreApplication::installTranslator(&english);
        QCOMPARE(QCoreApplication::translate("Cli", "Folder %1: %n bookmark(s)", nullptr, 1),
                 QString("Folder %1: 1 bookmark"));
        QCOMPARE(QCoreApplication::translate("Cli", "Folder %1: %n bookmark(s)", nullptr, 3),
                 QString("Folder %1: 3 bookmarks"));
        QCoreApplication::removeTranslator(&english);
        QCoreApplication::installTranslator(&m_japanese);
    }

    // The Japanese file holds every text of the sources, in the context the code
    // looks it up in: lupdate run over the sources finds nothing new, nothing
    // gone and nothing untranslated. The English one has both forms of every
    // count ("1 bookmark", "2 bookmarks").
    void everyTextIsTranslated()
    {
        QTemporaryDir dir;
        const QString ts = dir.filePath("edgemarks_ja.ts");
        const QString english = dir.filePath("edgemarks_en.ts");
        QVERIFY(QFile::copy(EDGEMARKS_SOURCE_DIR "/translations/edgemarks_ja.ts", ts));
        QVERIFY(QFile::copy(EDGEMARKS_SOURCE_DIR "/translations/edgemarks_en.ts", english));
        QFile::setPermissions(ts, QFile::ReadOwner | QFile::WriteOwner);
        QFile::setPermissions(english, QFile::ReadOwner | QFile::WriteOwner);
        QProcess lupdate;
        lupdate.setProcessChannelMode(QProcess::MergedChannels);
        lupdate.start(LUPDATE_EXECUTABLE, {EDGEMARKS_SOURCE_DIR "/src", "-ts", ts, english, "-no-obsolete"});
        // lupdate 6.4 loops on some arguments of tr() calls (see the README).
        QVERIFY2(lupdate.waitForFinished(120000), "lupdate did not finish");
        const QString said = QString::fromUtf8(lupdate.readAll());
        QVERIFY2(said.count("(0 new and") == 2 && !said.contains("obsolete"), qPrintable(said));
        QVERIFY(!readFile(ts).contains("type=\"unfinished\""));
        const QRegularExpressionMatch count =
            QRegularExpression(R"(<message numerus="yes">(?:(?!</message>).)*unfinished)",
                               QRegularExpression::DotMatchesEverythingOption)
                .match(QString::fromUtf8(readFile(english)));
        QVERIFY2(!count.hasMatch(), qPrintable(count.captured()));
    }

    // The command line's help, and Qt's own texts, in Japanese.
    void commandLineAndQtSpeakJapanese()
    {
        QVERIFY(QCoreApplication::translate("Cli", "Interrupted.") == QStringLiteral("中断しました。"));
        QTranslator qt;
        if (!qt.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QFAIL("Qt's Japanese translation is not installed (qt6-translations-l10n)");
        QVERIFY(!qt.translate("QPlatformTheme", "Cancel").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
