#include "Translations.h"
#include "support/BookmarkTestSupport.h"
#include "support/CraftedInputs.h"
#include "cli/Command.h"
#include "cli/TerminalProgress.h"
#include "document/MyDocument.h"
#include "support/FileTestSupport.h"
#include "support/LinkTestSupport.h"
#include "support/PeakMemory.h"
#include "support/WriteFaults.h"
#include "handset/ProtocolLog.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>

#include <array>
#include <csignal>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace
{
// A command's input and output in memory; input lines come as from a terminal.
class BufferIo : public CommandIo
{
public:
    explicit BufferIo(const QList<QByteArray>& input) : m_input(input), m_terminal(!input.isEmpty()) {}
    QString outText, errText;

    QTextStream& out() override { return m_out; }
    QTextStream& err() override { return m_err; }
    QByteArray readLine(bool* complete) override
    {
        *complete = !m_input.isEmpty();
        return m_input.isEmpty() ? QByteArray() : m_input.takeFirst();
    }
    bool inputIsTerminal() const override { return m_terminal; }
    std::optional<QString> promptHidden(const QString& prompt) override
    {
        m_err << prompt;
        if (m_input.isEmpty())
            return std::nullopt;
        return QString::fromUtf8(m_input.takeFirst());
    }
    const std::atomic<bool>* cancelFlag() const override { return &m_cancel; }

private:
    QList<QByteArray> m_input;
    bool m_terminal;
    std::atomic<bool> m_cancel{false};
    QTextStream m_out{&outText};
    QTextStream m_err{&errText};
};

struct Result {
    int status = -1;
    QString out;
    QString err;
};

class TestCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_bundle;

    // Runs a command in this process, as the program would with that command line,
    // environment and input (a terminal when input is given).
    Result cli(const QStringList& arguments, const QStringList& extraEnv = {},
               const QList<QByteArray>& input = {})
    {
        const QStringList names{"EDGEMARKS_NO_KEYCHAIN", "EDGEMARKS_DRIVER_BUNDLE", "EDGEMARKS_TIMEOUT",
                                "EDGEMARKS_PASSWORD", "EDGEMARKS_DEVICE"};
        QMap<QString, std::optional<QByteArray>> saved;
        for (const QString& name : names)
            saved[name] = qEnvironmentVariableIsSet(qPrintable(name))
                              ? std::optional<QByteArray>(qgetenv(qPrintable(name)))
                              : std::nullopt;
        qputenv("EDGEMARKS_NO_KEYCHAIN", "1");
        qputenv("EDGEMARKS_DRIVER_BUNDLE", QFile::encodeName(m_bundle));
        qputenv("EDGEMARKS_TIMEOUT", "5");
        qunsetenv("EDGEMARKS_PASSWORD");
        for (const QString& kv : extraEnv)
            qputenv(qPrintable(kv.section('=', 0, 0)), kv.section('=', 1).toUtf8());

        BufferIo io(input);
        Result r;
        r.status = Command::execute(arguments, io, testLink());
        io.out().flush();
        io.err().flush();
        r.out = io.outText;
        r.err = io.errText;
        for (auto it = saved.cbegin(); it != saved.cend(); ++it) {
            if (it.value())
                qputenv(qPrintable(it.key()), *it.value());
            else
                qunsetenv(qPrintable(it.key()));
        }
        return r;
    }

    // Runs the program itself.
    Result binary(const QStringList& arguments, const QStringList& extraEnv = {})
    {
        QProcess p;
        start(p, arguments, extraEnv);
        if (!p.waitForFinished(60000))
            qFatal("edgemarks-cli did not finish");
        return result(p);
    }

    static Result result(QProcess& p)
    {
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

    // Standard input is empty unless input names a file.
    void start(QProcess& p, const QStringList& arguments, const QStringList& extraEnv = {},
               const QString& input = QString())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("EDGEMARKS_NO_KEYCHAIN", "1");
        env.insert("EDGEMARKS_DRIVER_BUNDLE", m_bundle);
        env.insert("EDGEMARKS_TIMEOUT", "5");
        env.remove("EDGEMARKS_PASSWORD");
        for (const QString& kv : extraEnv)
            env.insert(kv.section('=', 0, 0), kv.section('=', 1));
        p.setProcessEnvironment(env);
        p.setStandardInputFile(input.isEmpty() ? QProcess::nullDevice() : input);
        p.start(qEnvironmentVariable("EDGEMARKS_CLI", QStringLiteral(EDGEMARKS_CLI)), arguments);
        if (!p.waitForStarted())
            qFatal("edgemarks-cli did not start");
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    static void writeDocument(const QString& file, int count, const QStringList& folders = {})
    {
        MyDocument doc;
        BookmarkList list;
        for (int i = 0; i < count; ++i)
            list << makeBookmark(QStringLiteral("名前%1").arg(i),
                                 QStringLiteral("http://example.jp/%1").arg(i), i, i % 20);
        doc.setBookmarkList(list);
        if (!folders.isEmpty())
            doc.setFolderList(folders);
        QVERIFY(doc.writeToFile(file));
    }

private slots:
    void initTestCase()
    {
        installTranslations(*QCoreApplication::instance());
        m_bundle = m_dir.filePath("AHK3001VDriver.kext");
        QVERIFY(SimulatedHandset::createDriverBundle(m_bundle, "1.2"));
        // The lists an export keeps go into the user's data folder: this one.
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath("data")));
    }

    void importCreatesOrUpdatesTheDocument()
    {
        SimulatorFixture sim;
        sim->loadSampleContent();
        const QString doc = path("new.bookmarks");
        Result r = cli({"import", doc}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 0);
        MyDocument loaded;
        QVERIFY(loaded.readFromFile(doc));
        QCOMPARE(loaded.bookmarkList().size(), 6);
        QCOMPARE(loaded.bookmarkList()[2]->bookmarkName(), QStringLiteral("天気予報"));

        // An existing document keeps its folder names; the password comes from a file.
        QStringList folders = MyDocument::defaultFolderList();
        folders[1] = QStringLiteral("旅行");
        const QString existing = path("existing.bookmarks");
        writeDocument(existing, 30, folders);
        QVERIFY(writeFile(path("password"), "1234\n"));
        r = cli({"import", existing, "--password-file", path("password")});
        QCOMPARE(r.status, 0);
        QVERIFY(loaded.readFromFile(existing));
        QCOMPARE(loaded.bookmarkList().size(), 6);
        QCOMPARE(loaded.folderList()[1], QStringLiteral("旅行"));

        // A handset that announces more than a document holds: the first 100 are kept, and said so.
        QList<SimulatedHandset::Bookmark> many;
        for (int i = 0; i < 103; ++i)
            many.append({QString("b%1").arg(i), QString("http://example.jp/%1").arg(i), i % 100, 0});
        sim->setBookmarks(many);
        r = cli({"import", existing}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.contains("3 bookmarks were left out: the AIR-EDGE PHONE holds at most 100."),
                 qPrintable(r.err));
        QVERIFY(loaded.readFromFile(existing));
        QCOMPARE(loaded.bookmarkList().size(), 100);
        QCOMPARE(loaded.bookmarkList().last()->bookmarkName(), QString("b99"));
    }

    void exportNeedsConfirmation()
    {
        SimulatorFixture sim;
        const QString doc = path("export.bookmarks");
        writeDocument(doc, 25);
        Result r = cli({"export", doc}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 2);
        QVERIFY(r.err.contains("--yes"));
        QVERIFY(sim->receivedFrames().isEmpty()); // no connection was made

        // A list that cannot be kept stops the export before the handset is touched.
        const QDir kept(m_dir.filePath("data/EdgeMarks/history"));
        QVERIFY(kept.mkpath("."));
        const QStringList keptBefore = kept.entryList(QDir::Files | QDir::Hidden);
        {
            WriteFault disk(kept.path(), 0);
            r = cli({"--yes", "export", doc}, {"EDGEMARKS_PASSWORD=1234"});
        }
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains("nothing was exported.\nThe disk is full: "), qPrintable(r.err));
        QCOMPARE(kept.entryList(QDir::Files | QDir::Hidden), keptBefore);
        QVERIFY(sim->bookmarks().isEmpty());

        // On a terminal the question is asked, with what the export changes;
        // only "y" or "yes" goes on.
        const auto held = sim->bookmarks();
        r = cli({"export", doc}, {"EDGEMARKS_PASSWORD=1234"}, {"n"});
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains("Changes: 25 added, 0 removed, 0 changed"), qPrintable(r.err));
        QVERIFY(r.err.contains("[y/N] Not exported."));
        QCOMPARE(sim->bookmarks().size(), held.size());
        r = cli({"export", doc}, {"EDGEMARKS_PASSWORD=1234"}, {" Yes "});
        QCOMPARE(r.status, 0);
        QCOMPARE(sim->bookmarks().size(), 25);

        r = cli({"--yes", "export", doc}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 0);
        const auto stored = sim->bookmarks();
        QCOMPARE(stored.size(), 25);
        QCOMPARE(stored[0].name, QStringLiteral("名前0"));
        QCOMPARE(stored[1].name, QStringLiteral("名前20")); // folder 0 first
    }

    // The handset check: check lists the findings, export refuses such a
    // document unless forced, and tells how many bookmarks were really sent.
    void checkBeforeExport()
    {
        SimulatorFixture sim;
        const QString doc = path("faulty.bookmarks");
        {
            MyDocument d;
            d.setBookmarkList({makeBookmark("one", "http://a.jp/", 1, 0),
                               makeBookmark("two", "http://b.jp/", 1, 0),
                               makeBookmark("lost", "http://c.jp/", 2, 42)});
            QVERIFY(d.writeToFile(doc));
        }
        Result r = cli({"check", doc});
        QCOMPARE(r.status, 1);
        QVERIFY(r.out.contains("“two”"));
        QVERIFY(r.out.contains("folder 42"));
        r = cli({"check", "--json", doc});
        QCOMPARE(r.status, 1);
        const QJsonArray findings = QJsonDocument::fromJson(r.out.toUtf8()).array();
        QCOMPARE(findings.size(), 2);
        QCOMPARE(findings[0].toObject()["kind"].toString(), QString("number-used-twice"));
        QCOMPARE(findings[0].toObject()["index"].toInt(), 1);

        r = cli({"--yes", "export", doc}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("--force"));
        QVERIFY(sim->receivedFrames().isEmpty());

        r = cli({"--yes", "--force", "export", doc}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.contains("Exported 2 bookmarks."), qPrintable(r.err));
        QVERIFY(r.err.contains("1 bookmark in a folder the AIR-EDGE PHONE does not have was not sent."));
        QCOMPARE(sim->bookmarks().size(), 2);

        writeDocument(doc, 3);
        r = cli({"check", doc});
        QCOMPARE(r.status, 0);

        // --fix replaces what the handset cannot show and names each change;
        // the other records and findings stay, and a document with nothing to
        // replace is not written again.
        MyDocument d;
        d.setBookmarkList({makeBookmark("天気予報 000 🍣", "http://c.jp/é", 3, 0), makeBookmark("two", "", 1, 0),
                           makeBookmark("twice", "", 1, 1)});
        QVERIFY(d.writeToFile(doc));
        r = cli({"check", "--fix", doc});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains("“天気予報 000 🍣” is now “天気予報 000 ?”.\n“http://c.jp/é” is now "
                                "“http://c.jp/%C3%A9”.\nReplaced the characters the AIR-EDGE PHONE cannot show "
                                "in 1 bookmark."),
                 qPrintable(r.err));
        QVERIFY(r.out.contains("“twice”") && r.out.count('\n') == 1);
        QVERIFY(d.readFromFile(doc));
        QCOMPARE(names(d.bookmarkList()), QString("天気予報 000 ?, two, twice"));
        QCOMPARE(d.bookmarkList()[2]->folder(), 1);
        struct stat before, after;
        QVERIFY(::stat(QFile::encodeName(doc).constData(), &before) == 0);
        r = cli({"check", "--fix", "--json", doc});
        QCOMPARE(QJsonDocument::fromJson(r.out.toUtf8())["replaced"].toArray().size(), 0);
        QVERIFY(::stat(QFile::encodeName(doc).constData(), &after) == 0 && after.st_ino == before.st_ino);
    }

    void convertBetweenDocumentsAndBrowserFiles()
    {
        const QString html = QStringLiteral(EDGEMARKS_FIXTURES "/netscape-html/netscape_nested.htm");
        const QString doc = path("nested.edgemarks");
        Result r = cli({"convert", html, doc});
        QCOMPARE(r.status, 0);
        QVERIFY(r.err.contains("8 bookmarks will be added."));
        MyDocument loaded;
        QVERIFY(loaded.readFromFile(doc));
        QCOMPARE(loaded.bookmarkList().size(), 8);
        QCOMPARE(loaded.folderList().at(1), QString("Folder1"));

        // Back to HTML and again to a document: the same list.
        const QString back = path("nested.html"), again = path("again.edgemarks");
        QCOMPARE(cli({"convert", doc, back}).status, 0);
        QCOMPARE(cli({"convert", back, again}).status, 0);
        QCOMPARE(cli({"show", again}).out, cli({"show", doc}).out);

        // An existing output is kept unless forced; --folder puts everything into one folder.
        r = cli({"convert", "--folder", "7", html, doc});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("--force"));
        QCOMPARE(cli({"convert", "--force", "--folder", "7", html, doc}).status, 0);
        QVERIFY(loaded.readFromFile(doc));
        for (const BookmarkPtr& b : loaded.bookmarkList())
            QCOMPARE(b->folder(), 7);
        QCOMPARE(cli({"convert", "--folder", "20", html, path("x.edgemarks")}).status, 2);

        // Not a bookmark file: one clear line, nothing written.
        const QString junk = path("junk.html");
        QVERIFY(writeFile(junk, "no links here"));
        r = cli({"convert", junk, path("junk.edgemarks")});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("not a browser bookmark file"));
        QVERIFY(!QFile::exists(path("junk.edgemarks")));
    }

    void showPrintsTableAndJson()
    {
        const QString doc = path("show.bookmarks");
        writeDocument(doc, 3);
        Result r = cli({"show", doc});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains(QStringLiteral("Folder 00: 1 bookmark\n  00  名前0  http://example.jp/0\n")));
        r = cli({"show", "--json", doc});
        QCOMPARE(r.status, 0);
        const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8()).object();
        QCOMPARE(json["folders"].toArray().size(), 20);
        QCOMPARE(json["bookmarks"].toArray()[2].toObject()["location"].toString(),
                 QString("http://example.jp/2"));
        QCOMPARE(json["bookmarks"].toArray()[2].toObject()["folder"].toInt(), 2);

        QCOMPARE(cli({"show", path("missing.bookmarks")}).status, 1);
    }

    // Each command takes its own options only and answers its own --help; the
    // program's help lists the commands.
    void commandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QList<std::tuple<const char*, QStringList, int, const char*, const char*>> rows{
            {"an option of another command", {"show", "doc", "--yes"}, 2, "", "edgemarks-cli show: Unknown option 'yes'."},
            {"a value option of another command", {"--type", "jpeg", "show", "doc"}, 2, "", "Unknown option 'type'."},
            {"too many arguments", {"ls", "x"}, 2, "", "Usage: edgemarks-cli ls"},
            {"a command's help", {"ls", "--help"}, 0, "Usage: edgemarks-cli ls [options]", ""},
            {"help before the command", {"--help", "get"}, 0, "--output <folder>", ""},
            {"the program's help", {"--help"}, 0, "  put FILE...             Upload files", ""},
            {"no such command", {"frobnicate"}, 2, "", "There is no command"},
            {"no command", {}, 2, "", "Commands:"}};
        for (const auto& [name, arguments, status, out, err] : rows)
            QTest::newRow(name) << arguments << status << QString(out) << QString(err);
    }

    void commandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const Result r = cli(arguments);
        QCOMPARE(r.status, status);
        QVERIFY2(r.out.contains(out), qPrintable(r.out));
        QVERIFY2(r.err.contains(err), qPrintable(r.err));
        if (arguments == QStringList{"ls", "--help"}) // ls's help alone
            QVERIFY(r.out.contains("--password-file") && !r.out.contains("--output"));
    }

    // A transfer reports every few kilobytes; the bar is redrawn ten times a second at most.
    void progressRedrawsAreBounded()
    {
        char* text = nullptr;
        size_t size = 0;
        std::FILE* stream = open_memstream(&text, &size);
        QElapsedTimer timer;
        timer.start();
        {
            TerminalProgress progress(stream, true);
            progress.openProgressForWindow(nullptr, 1.0, "Sending...");
            for (int i = 1; i <= 20000; ++i)
                progress.updateProgressDoubleValue(i / 20000.0);
            progress.closeProgress();
        }
        const qint64 elapsed = timer.elapsed();
        std::fclose(stream);
        const qsizetype draws = QByteArray(text, qsizetype(size)).count('\r') - 1; // the last clears the line
        std::free(text);
        QVERIFY2(draws >= 1 && draws <= 2 + elapsed / TerminalProgress::RedrawMilliseconds,
                 qPrintable(QString::number(draws)));
    }

    void refusedPassword()
    {
        SimulatorFixture sim;
        const QString doc = path("refused.bookmarks");
        Result r = cli({"import", doc}, {"EDGEMARKS_PASSWORD=0000"});
        QCOMPARE(r.status, 3);
        QVERIFY(r.err.contains("refused the password"));
        QVERIFY(!QFileInfo::exists(doc));
        r = cli({"import", doc}); // no password at all, no terminal
        QCOMPARE(r.status, 3);
        // On a terminal a refused password is asked for again, up to three times.
        r = cli({"import", doc}, {"EDGEMARKS_PASSWORD=0000"}, {"9999", "1234"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.err.count("Password of the AIR-EDGE PHONE: "), 2);
        QCOMPARE(r.err.count("refused the password"), 2);
        r = cli({"import", doc}, {}, {"1", "2", "3", "4"});
        QCOMPARE(r.status, 3);
        QCOMPARE(r.err.count("refused the password"), 3);
    }

    // --trace writes the conversation for a bug report: every frame, for the user alone.
    void traceFile()
    {
        SimulatorFixture sim;
        sim->loadSampleContent();
        const QString trace = path("trace.log");
        Result r =
            binary({"--trace", trace, "import", path("traced.bookmarks")}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 0);
        sim.settle();
        const QString text = QString::fromUtf8(readFile(trace));
        QCOMPARE(text.count(" sent "), sim->receivedFrames().size());
        QVERIFY(text.contains(" close "));
        QCOMPARE(QFile(trace).permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
    }

    void failuresLeaveTheDocumentAlone()
    {
        const QString doc = path("kept.bookmarks");
        writeDocument(doc, 7);
        const QByteArray before = readFile(doc);

        SimulatorFixture sim;
        sim->loadSampleContent();
        SimulatedHandset::Faults faults;
        faults.hangUpOn = 0x802;
        sim->setFaults(faults);
        // --device reaches the port, whatever the environment named.
        QCOMPARE(cli({"ls", "--device", sim.devicePath()},
                     {"EDGEMARKS_PASSWORD=1234", "EDGEMARKS_DEVICE=" + path("no-such-device")})
                     .status,
                 0);
        Result r = cli({"import", doc}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.startsWith("Couldn't import the bookmarks.\n"), qPrintable(r.err));
        QCOMPARE(readFile(doc), before);
        QCOMPARE(QDir(m_dir.path()).entryList({"kept.bookmarks*"}, QDir::Files), QStringList({"kept.bookmarks"}));

        // A file that is no document is not overwritten by an import.
        QVERIFY(writeFile(path("junk.bookmarks"), "not a document"));
        r = cli({"--simulator", "import", path("junk.bookmarks")});
        QCOMPARE(r.status, 1);
        QCOMPARE(readFile(path("junk.bookmarks")), QByteArray("not a document"));
    }

    void driverCheckComesFirst()
    {
        SimulatorFixture sim;
        Result r = cli({"import", path("d.bookmarks")},
                       {"EDGEMARKS_PASSWORD=1234", "EDGEMARKS_DRIVER_BUNDLE=" + path("none.kext")});
        QCOMPARE(r.status, 4);
        QVERIFY(r.err.contains(
            "Couldn't use this application because the AH-K3001V USB Driver 1.2 didn't exist."));
        QVERIFY(r.err.contains("You need to install the AH-K3001V USB Driver 1.2 or later.\n"));
        QVERIFY(!r.err.contains("quit")); // the editor's alert says it quits; a command just fails
        QVERIFY(sim->receivedFrames().isEmpty());
    }

    void files()
    {
        SimulatorFixture sim;
        sim->loadSampleContent();
        Result r = cli({"ls", "--json"}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 0);
        const QJsonArray listing = QJsonDocument::fromJson(r.out.toUtf8()).array();
        QCOMPARE(listing.size(), SimulatedHandset::sampleFiles().size());
        QCOMPARE(listing[0].toObject()["name"].toString(), QString("memo.txt"));
        QCOMPARE(listing[0].toObject()["size"].toInt(), 21);

        const QString out = path("downloads");
        QDir().mkpath(out);
        r = cli({"get", "memo.txt", "Photo.JPG:jpeg", "-o", out}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 0);
        QCOMPARE(readFile(out + "/memo.txt"), QByteArray("Call back at 18:00.\r\n"));
        QCOMPARE(readFile(out + "/Photo.JPG"), SimulatedHandset::sampleFiles().at(1).content);
        QCOMPARE(QFileInfo(out + "/memo.txt").lastModified(), QDateTime(QDate(2005, 6, 7), QTime(8, 9)));
        // An existing file is replaced only with --force; nothing is fetched before that.
        r = cli({"get", "memo.txt", "-o", out}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("--force"));
        r = cli({"get", "nothing.bin", "-o", out}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 1);
        r = cli({"get", "memo.txt", "-o", out, "--force"}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 0);

        const QString upload = path("新しいメモ.mid");
        QVERIFY(writeFile(upload, "MThd"));
        r = cli({"put", upload}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 0);
        sim.settle(); // an upload frame gets no reply to wait for
        QCOMPARE(sim->files().last().name, QStringLiteral("新しいメモ.mid"));
        QCOMPARE(sim->files().last().type, QString("midi"));
        r = cli({"put", "--type", "melody", upload}, {"EDGEMARKS_PASSWORD=1234"});
        sim.settle();
        QCOMPARE(sim->files().last().type, QString("melody"));
        r = cli({"put", path("no-such-file")}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 1);
    }

    // A whole handset through the command line: backed up, checked, emptied and
    // restored, the same bookmarks and byte-identical files come back, names
    // that are no file names included; a damaged backup reaches nothing.
    void backupAndRestore()
    {
        SimulatorFixture sim;
        sim->setRecordingFrames(false);
        QList<SimulatedHandset::Bookmark> bookmarks;
        for (int i = 0; i < 100; ++i)
            bookmarks.append({QStringLiteral("サイト %1").arg(i), QStringLiteral("http://example.jp/%1").arg(i), i, i % 20});
        sim->setBookmarks(bookmarks);
        QList<SimulatedHandset::File> files;
        for (int i = 0; i < 40; ++i) {
            QByteArray content(i == 0 ? 64 << 20 : i * 997, Qt::Uninitialized);
            for (qsizetype k = 0; k < content.size(); ++k)
                content[k] = char((k * 31 + i) ^ (k >> 9));
            files.append({QStringLiteral("f%1.bin").arg(i), QStringLiteral("other"),
                          QDateTime(QDate(2005, 1 + i % 12, 1 + i % 28), QTime(i % 24, i)), content});
        }
        files[1].name = QStringLiteral("a/b?.txt");
        files[2].name = QStringLiteral("F1.BIN");
        sim->setFiles(files);
        // What the handset holds; an upload carries no date (the handset stamps its own).
        auto holdings = [&] {
            QStringList lines;
            for (const auto& b : sim->bookmarks())
                lines << QStringLiteral("%1 %2 %3 %4").arg(b.number).arg(b.folder).arg(b.name, b.location);
            for (const auto& f : sim->files())
                lines << f.name + ' ' + f.type + ' ' + QCryptographicHash::hash(f.content, QCryptographicHash::Sha256).toHex();
            lines.sort();
            return lines;
        };
        const QStringList before = holdings();

        const QString backup = path("handset.tar");
        Result r = cli({"backup", backup, "--json"}, {"EDGEMARKS_PASSWORD=1234"});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QCOMPARE(QJsonDocument::fromJson(r.out.toUtf8())["files"].toInt(), 40);
        QCOMPARE(cli({"verify", backup}).status, 0);

        sim->setBookmarks({});
        sim->setFiles({});
        r = cli({"restore", backup, "--yes"}, {"EDGEMARKS_PASSWORD=1234"});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QVERIFY(r.out.contains("Files to upload: 40"));
        // The last upload gets no reply: the handset may still be taking it in.
        QVERIFY(QTest::qWaitFor([&] { return sim->files().size() == 40; }, 60000));
        QCOMPARE(holdings(), before);

        QByteArray cut = readFile(backup);
        cut.chop(cut.size() / 3);
        QVERIFY(writeFile(backup, cut));
        sim->setRecordingFrames(true);
        r = cli({"restore", backup, "--yes"}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains("is not a sound backup; nothing was restored."), qPrintable(r.err));
        QVERIFY(sim->receivedFrames().isEmpty());
    }

    // Ctrl-C in the middle of a download or an upload: the conversation ends
    // properly, the local file is as it was, and the next command works at once.
    void interruptedTransfers_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("silent");
        QTest::newRow("get, Ctrl-C") << "get" << SIGINT << false;
        QTest::newRow("put, Ctrl-C") << "put" << SIGINT << false;
        QTest::newRow("get, SIGTERM") << "get" << SIGTERM << false;
        QTest::newRow("import, Ctrl-C") << "import" << SIGINT << false;
        QTest::newRow("backup over an old one, Ctrl-C") << "backup" << SIGINT << false;
        // A handset that stopped answering under a reply limit of ten minutes:
        // only the short grace after a cancel lets this end within the wait below.
        QTest::newRow("export, Ctrl-C, silent handset") << "export" << SIGINT << true;
    }

    void interruptedTransfers()
    {
        QFETCH(QString, command);
        QFETCH(int, signal);
        QFETCH(bool, silent);
        SimulatorFixture sim;
        sim->loadSampleContent();
        sim->setFiles({{"big.bin", "other", QDateTime(), QByteArray(512 << 10, 'b')}});
        SimulatedHandset::Faults faults;
        faults.pauseMs = silent ? 0 : 40;
        faults.silentAfter = silent ? 2 : -1; // answers the login only
        sim->setFaults(faults);
        const QString out = path("interrupted");
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        QVERIFY(writeFile(out + "/big.bin", "the old content"));
        const QString upload = out + "/upload.bin";
        QVERIFY(writeFile(upload, QByteArray(256 << 10, 'u')));
        const QString doc = out + "/kept.bookmarks";
        writeDocument(doc, 3);
        const QByteArray docBefore = readFile(doc);

        QProcess p;
        p.setProcessChannelMode(QProcess::SeparateChannels);
        QStringList arguments{command};
        if (command == "get")
            arguments << "big.bin:other"
                      << "-o" << out << "--force";
        else if (command == "put")
            arguments << upload;
        else if (command == "backup")
            arguments << out + "/big.bin"; // the old backup, which stays as it was
        else
            arguments << doc;
        if (command == "export")
            arguments << "--yes";
        start(p, arguments, {"EDGEMARKS_PASSWORD=1234", "EDGEMARKS_TIMEOUT=600"});
        sim->receivedFrames(2, 10000); // logged in
        QTest::qWait(400);             // and well into the transfer
        QVERIFY2(p.state() == QProcess::Running, qPrintable(result(p).err));
        ::kill(pid_t(p.processId()), signal);
        QVERIFY(p.waitForFinished(10000));
        const Result r = result(p);
        QCOMPARE(r.status, 128 + signal);
        QVERIFY2(r.err.contains("The transfer was cancelled."), qPrintable(r.err));
        QVERIFY(r.err.contains("Interrupted."));
        QCOMPARE(readFile(out + "/big.bin"), QByteArray("the old content"));
        QCOMPARE(readFile(doc), docBefore);
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), 3); // no temporary file left
        if (command == "put")
            QVERIFY(r.err.contains("incomplete copy of upload.bin"));

        // The handset heard the end of the conversation: the next one works at once.
        sim->setFaults({});
        QElapsedTimer timer;
        timer.start();
        const Result next = cli({"ls"}, {"EDGEMARKS_PASSWORD=1234", "EDGEMARKS_TIMEOUT=2"});
        QVERIFY2(next.status == 0, qPrintable(next.err));
        QVERIFY(next.out.contains("big.bin"));
    }

    // Each kind of file the program writes, on a disk that refuses it at the first
    // write, in the middle, at the last byte or at the flush: the old file stays
    // byte for byte, no temporary file is left, the failure is said and the
    // status is 1.
    void writeFailures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("fault");
        for (const char* kind : {"document", "browser file", "download", "trace", "backup"})
            for (int f = 0; f < int(std::size(FaultCases)); ++f)
                QTest::addRow("%s, %s", kind, FaultCases[f].name) << kind << f;
    }

    void writeFailures()
    {
        QFETCH(QString, kind);
        QFETCH(int, fault);
        SimulatorFixture sim;
        sim->setFiles({{"big.bin", "other", QDateTime(), QByteArray(200 << 10, 'd')}});
        const QString doc = path("source.edgemarks");
        writeDocument(doc, 100);
        QTemporaryDir out;
        const QString name = kind == "document"       ? "doc.edgemarks"
                             : kind == "browser file" ? "doc.html"
                             : kind == "download"     ? "big.bin"
                             : kind == "backup"       ? "handset.tar"
                                                      : "trace.log";
        const QString target = out.filePath(name);
        // The whole of what is written, from a run on a sound disk.
        auto run = [&](const QString& to) {
            if (kind == "download")
                return cli({"get", "big.bin:other", "-o", QFileInfo(to).path(), "--force"},
                           {"EDGEMARKS_PASSWORD=1234"});
            if (kind == "backup")
                return cli({"backup", to}, {"EDGEMARKS_PASSWORD=1234"});
            if (kind != "trace")
                return cli({"convert", "--force", doc, to});
            Result r;
            QString error;
            testLog()->setTraceFile(to);
            cli({"ls"}, {"EDGEMARKS_PASSWORD=1234"});
            r.status = testLog()->setTraceFile(QString(), &error) ? 0 : 1;
            r.err = error;
            return r;
        };
        QTemporaryDir sound;
        QCOMPARE(run(sound.filePath(name)).status, 0);
        // A trace's times may differ in length from run to run.
        const qint64 size = QFileInfo(sound.filePath(name)).size() - (kind == "trace" ? 200 : 0);

        const QByteArray old = "the old version";
        QVERIFY(writeFile(target, old));
        Result r;
        {
            WriteFault disk(out.path(), roomFor(FaultCases[fault], size), FaultCases[fault].syncFails);
            r = run(target);
        }
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains((FaultCases[fault].syncFails ? "The disk reported an error: " : "The disk is full: ") +
                                name + " was not saved; the old version is kept."),
                 qPrintable(r.err));
        QCOMPARE(readFile(target), old);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
    }

    // Files that are not what their names say, through show and convert: one
    // line that says what is wrong, at once, and memory within what the file's
    // size allows.
    void craftedInputs_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("says");
        QTest::addColumn<qint64>("size");
        for (const char* command : {"show", "convert"})
            for (const CraftedInput& input : allCraftedInputs())
                QTest::addRow("%s %s", command, input.name) << command << input.name << input.says << input.size;
    }

    void craftedInputs()
    {
        QFETCH(QString, command);
        QFETCH(QString, name);
        QFETCH(QString, says);
        QFETCH(qint64, size);
        const QString folder = craftedInputsFolder();
        QVERIFY(!folder.isEmpty());
        const QString input = QDir(folder).filePath(name);
        const QStringList arguments = command == "show" ? QStringList{"show", input}
                                                        : QStringList{"convert", input, path("crafted.html")};
        PeakMemory peak;
        const Result r = cli(arguments);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(says) && r.err.trimmed().count('\n') == 0, qPrintable(r.err));
        if (peak.valid())
            QVERIFY2(peak.rise() < memoryBoundFor(std::min<qint64>(size, MyDocument::MaxDocumentFileSize)),
                     qPrintable(QString::number(peak.rise())));
    }

    // Starts a command that downloads a 64 MiB file and returns once the handset is sending it.
    void startHugeDownload(SimulatorFixture& sim, QProcess& p, const QStringList& arguments)
    {
        sim->setFiles({{"huge.bin", "other", QDateTime(), QByteArray(64 << 20, 'h')}});
        start(p, arguments, {"EDGEMARKS_PASSWORD=1234"});
        const auto isDownload = [](const QByteArray& frame) {
            return frame.size() > 11 && frame[3] == 0x03 && frame[9] == 0x06 && frame[11] == 0x02;
        };
        QList<QByteArray> frames;
        for (int i = 0; i < 100 && std::none_of(frames.cbegin(), frames.cend(), isDownload); ++i)
            frames = sim->receivedFrames(int(frames.size()) + 1, 1000);
        QVERIFY(std::any_of(frames.cbegin(), frames.cend(), isDownload));
    }

    // A backup killed outright while a file comes in leaves the old backup as
    // it was and nothing else in its folder; the handset goes on sending the
    // rest of the file: the next command waits for it, says so, and then works.
    void killedBackup()
    {
        SimulatorFixture sim;
        QTemporaryDir out;
        const QString old = out.filePath("handset.tar");
        QVERIFY(writeFile(old, "the old backup"));
        QProcess backup;
        startHugeDownload(sim, backup, {"backup", old});
        ::kill(pid_t(backup.processId()), SIGKILL);
        QVERIFY(backup.waitForFinished(10000));
        QCOMPARE(readFile(old), QByteArray("the old backup"));
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"handset.tar"});

        const Result ls = binary({"ls"}, {"EDGEMARKS_PASSWORD=1234"});
        QVERIFY2(ls.status == 0, qPrintable(ls.err));
        QVERIFY2(ls.err.contains("The AIR-EDGE PHONE is still sending data from an interrupted transfer…"),
                 qPrintable(ls.err));
        QVERIFY(ls.out.contains("huge.bin"));
    }

    // After the first Ctrl-C the rest of a slow handset's frame would take
    // minutes: a second one ends the program at once, with the port's claim and
    // attributes given back and no temporary file left.
    void aSecondInterruptEndsAtOnce()
    {
        SimulatorFixture sim;
        SimulatedHandset::Faults slow;
        slow.pauseMs = 40;
        sim->setFaults(slow);
        const int port = ::open(QFile::encodeName(sim->slavePath()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        const auto closePort = qScopeGuard([&] { ::close(port); });
        struct termios before, after;
        QVERIFY(tcgetattr(port, &before) == 0);
        QTemporaryDir out;
        QProcess get;
        startHugeDownload(sim, get, {"get", "huge.bin:other", "-o", out.path()});
        // The file's bytes are coming: a cancel now reads the rest of the frame.
        QVERIFY(QTest::qWaitFor(
            [&] { return QDir(out.path()).entryInfoList(QDir::Files | QDir::Hidden).value(0).size() > 0; }, 20000));
        ::kill(pid_t(get.processId()), SIGINT);
        QByteArray err;
        QVERIFY(QTest::qWaitFor([&] { return (err += get.readAllStandardError()).contains("Ctrl-C again"); }, 20000));
        ::kill(pid_t(get.processId()), SIGINT);
        QVERIFY(get.waitForFinished(20000));
        QCOMPARE(get.exitCode(), 130);
        int exclusive = 1;
        QVERIFY(tcgetattr(port, &after) == 0 && ioctl(port, TIOCGEXCL, &exclusive) == 0);
        QVERIFY(after.c_cflag == before.c_cflag && after.c_lflag == before.c_lflag && exclusive == 0);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // Bytes an interrupted conversation left on the line are never taken for a reply.
    void staleBytesBeforeALogin()
    {
        SimulatorFixture sim;
        sim->loadSampleContent();
        // An "OK" with the wrong echo and the tail of a listing, waiting on the line.
        sim->leaveOnLine(frameBytes("E1 02 00 03 06 00 00 00 00 08 00 02 4F 4B") +
                         frameBytes("E1 02 00 02 05 00 00 00 00 06 00 01 30"));
        const Result r = cli({"ls", "--json"}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 0);
        QCOMPARE(QJsonDocument::fromJson(r.out.toUtf8()).array().size(), SimulatedHandset::sampleFiles().size());
    }

    void passwordFiles()
    {
        SimulatorFixture sim;
        auto passwordFile = [&](const QByteArray& bytes, QFile::Permissions permissions) {
            const QString file = path("password");
            QFile::remove(file);
            if (!writeFile(file, bytes) || !QFile::setPermissions(file, permissions))
                qFatal("cannot write the password file");
            return file;
        };
        const QFile::Permissions mine = QFile::ReadOwner | QFile::WriteOwner;
        // The first line only.
        Result r = cli({"ls", "--password-file", passwordFile("1234\nsecond line\n", mine)});
        QCOMPARE(r.status, 0);
        QVERIFY(!r.err.contains("Warning"));
        r = cli({"ls", "--password-file", passwordFile("1234\r\n", mine | QFile::ReadOther)});
        QCOMPARE(r.status, 0);
        QVERIFY(r.err.contains("Warning: others may read the password file"));
        r = cli({"ls", "--password-file", passwordFile(QByteArray(5000, '1'), mine)});
        QCOMPARE(r.status, 3);
        QVERIFY(r.err.contains("larger than 4 KiB"));
        r = cli({"ls", "--password-file", path("nothing-there")});
        QCOMPARE(r.status, 3);
        sim.settle();
        QCOMPARE(sim->receivedFrames().size(), 2 * 4); // two conversations of four frames
    }

    // Ctrl-C at the password prompt gives the terminal its echo back.
    void interruptedPrompt()
    {
        SimulatorFixture sim;
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master != -1 && grantpt(master) == 0 && unlockpt(master) == 0);
        const QString terminal = QString::fromLocal8Bit(ptsname(master));
        const int slave = ::open(ptsname(master), O_RDWR | O_NOCTTY);
        QVERIFY(slave != -1);
        QProcess p;
        start(p, {"ls"}, {}, terminal);
        QVERIFY(p.processId() > 0);
        QVERIFY(QTest::qWaitFor(
            [&] {
                struct termios now;
                return tcgetattr(slave, &now) == 0 && !(now.c_lflag & ECHO);
            },
            10000));
        QVERIFY(p.state() == QProcess::Running);
        // A process that may hold a password leaves no core dump.
        QFile limits(QString("/proc/%1/limits").arg(p.processId()));
        QVERIFY(limits.open(QIODevice::ReadOnly));
        QVERIFY(limits.readAll().contains("Max core file size        0                    0"));
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 130);
        struct termios after;
        QVERIFY(tcgetattr(slave, &after) == 0);
        QVERIFY(after.c_lflag & ECHO);
        ::close(slave);
        ::close(master);
    }

    // The destination of a download: a link is not written through without
    // --force, and a file that cannot be written whole leaves the old one.
    void downloadDestinations()
    {
        SimulatorFixture sim;
        sim->loadSampleContent();
        const QString out = path("destinations");
        QDir().mkpath(out);
        QVERIFY(QFile::link(path("elsewhere.txt"), out + "/memo.txt"));
        Result r = cli({"get", "memo.txt:other", "-o", out}, {"EDGEMARKS_PASSWORD=1234"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("is a symbolic link; give --force"));
        QVERIFY(!QFileInfo::exists(path("elsewhere.txt")));

        QFile::remove(out + "/memo.txt");
        QVERIFY(writeFile(out + "/memo.txt", "old"));
        // The files the command may write are limited to 8 bytes, as on a full disk.
        QProcess p;
        p.setChildProcessModifier([] {
            std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit small {
                8, 8
            };
            setrlimit(RLIMIT_FSIZE, &small);
        });
        start(p, {"get", "memo.txt:other", "-o", out, "--force"}, {"EDGEMARKS_PASSWORD=1234"});
        QVERIFY(p.waitForFinished(20000));
        r = result(p);
        QVERIFY2(r.status == 1, qPrintable(r.err));
        QVERIFY2(r.err.contains("Couldn't write a file.\nThe file is larger than the disk allows: memo.txt was not "
                                "saved; the old version is kept."),
                 qPrintable(r.err));
        QCOMPARE(readFile(out + "/memo.txt"), QByteArray("old"));
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList({"memo.txt"}));
    }

    // One fault of the simulated handset for each command and failing exit status
    // (the link's own suites go through every fault and those it rides out): one
    // that ends it with a clear message and status 1, a refused password; the
    // session logged out where it had logged in, and the user's document and files
    // as they were.
    void faultMatrix_data()
    {
        QTest::addColumn<QString>("transfer");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("status");
        const QList<std::array<const char*, 2>> rows{{"import", "never the top screen"},
                                                     {"export", "entries refused"},
                                                     {"ls", "count without digits"},
                                                     {"get", "another file's content"},
                                                     {"put", "hang-up"}};
        for (const auto& [t, failing] : rows) {
            QTest::addRow("%s, %s", t, failing) << t << failing << 1;
            QTest::addRow("%s, password refused", t) << t << "password refused" << 3;
        }
    }

    void faultMatrix()
    {
        QFETCH(QString, transfer);
        QFETCH(QString, fault);
        QFETCH(int, status);
        SimulatorFixture sim;
        sim->loadSampleContent();
        SimulatedHandset::Faults faults;
        if (fault == "never the top screen")
            faults.probesAnsweredNG = -1;
        else if (fault == "password refused")
            faults.refusePassword = true;
        else if (fault == "hang-up")
            faults.hangUpOn = 0x101; // an upload's frame gets no reply: the login probe's
        else if (fault == "count without digits")
            faults.emptyPayloadOn = 0x601;
        else if (fault == "entries refused")
            faults.refuseEntries = true;
        else if (fault == "another file's content")
            faults.downloadPayload = "other.txt\tother\tcontent";
        sim->setFaults(faults);

        // What the user has: a document, a downloaded file, a file to upload.
        const QString dir = path("matrix");
        QDir(dir).removeRecursively();
        QDir().mkpath(dir);
        const QString doc = dir + "/mine.bookmarks";
        writeDocument(doc, 4);
        const QByteArray docBefore = readFile(doc);
        QVERIFY(writeFile(dir + "/memo.txt", "kept"));
        const QStringList filesBefore = QDir(dir).entryList(QDir::Files | QDir::Hidden);

        QStringList arguments{transfer};
        if (transfer == "import" || transfer == "export")
            arguments << doc;
        if (transfer == "export")
            arguments << "--yes";
        if (transfer == "get")
            arguments << "memo.txt:other"
                      << "-o" << dir << "--force";
        if (transfer == "put")
            arguments << dir + "/memo.txt";
        const Result r = cli(arguments, {"EDGEMARKS_PASSWORD=1234", "EDGEMARKS_TIMEOUT=2"});
        QVERIFY2(r.status == status, qPrintable(QString("status %1: %2").arg(r.status).arg(r.err)));

        sim.settle();
        const QList<QByteArray> frames = sim->receivedFrames();
        // Logged out where logged in: not when the probe failed.
        QVERIFY(!frames.isEmpty());
        QCOMPARE(frames.last() == Logout, fault != "never the top screen" && fault != "hang-up");
        // A failure says what failed and why, and damages nothing.
        QVERIFY2(r.err.startsWith("Couldn't ") || r.err.contains("refused the password"), qPrintable(r.err));
        QVERIFY(r.err.trimmed().count('\n') >= 1 || status == 3);
        QCOMPARE(readFile(doc), docBefore);
        QCOMPARE(readFile(dir + "/memo.txt"), QByteArray("kept"));
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), filesBefore);
        if (transfer == "ls")
            QVERIFY(r.out.isEmpty()); // never an empty listing for a failed one
    }

    void builtInSimulator()
    {
        const QString doc = path("demo.bookmarks");
        Result r =
            cli({"--simulator", "import", "--json", doc}, {"EDGEMARKS_DRIVER_BUNDLE=" + path("none.kext")});
        QCOMPARE(r.status, 0);
        const QJsonObject imported = QJsonDocument::fromJson(r.out.toUtf8()).object();
        QCOMPARE(imported["document"].toString(), doc);
        QVERIFY(imported["imported"].toInt() > 0);
        r = cli({"show", doc});
        QVERIFY(r.out.contains("Wikipedia"));
        r = binary({"import", "--help"});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains("--password-file"));
    }
};
} // namespace

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
