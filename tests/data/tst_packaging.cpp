// What the desktop and Debian get: the files as their own tools judge them, the
// install step into a temporary prefix, and the Debian package under lintian.
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace
{
struct Run {
    int status = -1;
    QString out;
};

Run run(const QString& program, const QStringList& arguments, int timeoutMs = 300000)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForFinished(timeoutMs))
        return {-1, QStringLiteral("did not finish")};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAll())};
}

QString tool(const char* name)
{
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (path.isEmpty())
        qFatal("%s is not installed (scripts/install-deps brings it)", name);
    return path;
}

const QString Source = QStringLiteral(EDGEMARKS_SOURCE_DIR);
const QString Build = QStringLiteral(EDGEMARKS_BUILD_DIR);
const QString Id = QStringLiteral("io.github.edgemarks.EdgeMarks");
} // namespace

class TestPackaging : public QObject
{
    Q_OBJECT
private slots:
    void desktopEntry()
    {
        const Run r = run(tool("desktop-file-validate"), {Source + "/data/" + Id + ".desktop"});
        QVERIFY2(r.status == 0 && r.out.trimmed().isEmpty(), qPrintable(r.out));
    }

    void metainfo()
    {
        const Run r = run(tool("appstreamcli"),
                          {"validate", "--no-net", "--pedantic", Build + "/data/" + Id + ".metainfo.xml"});
        QVERIFY2(r.status == 0, qPrintable(r.out));
    }

    void mimeType()
    {
        const Run r = run(tool("xmllint"), {"--noout", Source + "/data/edgemarks-mime.xml"});
        QVERIFY2(r.status == 0 && r.out.isEmpty(), qPrintable(r.out));
    }

    void manualPages_data()
    {
        QTest::addColumn<QString>("page");
        for (const char* page : {"edgemarks.1", "edgemarks-cli.1", "edgemarks-sim.1"})
            QTest::newRow(page) << Source + "/docs/" + page;
    }
    void manualPages()
    {
        QFETCH(QString, page);
        QProcess man;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("MANWIDTH", "80");
        man.setProcessEnvironment(env);
        man.start(tool("man"), {"--warnings", "-E", "UTF-8", "-l", page});
        QVERIFY(man.waitForFinished(60000));
        const QString warnings = QString::fromUtf8(man.readAllStandardError());
        QCOMPARE(man.exitCode(), 0);
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
        QVERIFY(!man.readAllStandardOutput().isEmpty());
    }

    void installStep()
    {
        QTemporaryDir prefix;
        const Run r = run(tool("cmake"), {"--install", Build, "--prefix", prefix.path()});
        QVERIFY2(r.status == 0, qPrintable(r.out));
        const QStringList expected{
            "bin/edgemarks",
            "bin/edgemarks-cli",
            "bin/edgemarks-sim",
            "share/man/man1/edgemarks.1.gz",
            "share/man/man1/edgemarks-cli.1.gz",
            "share/man/man1/edgemarks-sim.1.gz",
            "share/applications/" + Id + ".desktop",
            "share/mime/packages/edgemarks.xml",
            "share/metainfo/" + Id + ".metainfo.xml",
            "share/icons/hicolor/scalable/apps/" + Id + ".svg",
            "share/icons/hicolor/16x16/apps/" + Id + ".png",
            "share/icons/hicolor/48x48/apps/" + Id + ".png",
            "share/icons/hicolor/256x256/apps/" + Id + ".png",
            "share/edgemarks/translations/edgemarks_ja.qm",
            "share/edgemarks/translations/edgemarks_en.qm",
            "lib/udev/rules.d/70-edgemarks-ah-k3001v.rules",
            "share/doc/edgemarks/copyright",
            "share/doc/edgemarks/changelog.gz",
        };
        for (const QString& file : expected)
            QVERIFY2(QFileInfo::exists(prefix.filePath(file)), qPrintable(file));
        QVERIFY(QFileInfo(prefix.filePath("bin/edgemarks-cli")).isExecutable());
        // The installed command line tool works on its own.
        const Run ls = run(prefix.filePath("bin/edgemarks-cli"), {"--simulator", "ls"});
        QVERIFY2(ls.status == 0, qPrintable(ls.out));
    }

    void debianPackage()
    {
        QTemporaryDir out;
        const Run pack = run(
            tool("cpack"), {"-G", "DEB", "-B", out.path(), "--config", Build + "/CPackConfig.cmake"}, 900000);
        QVERIFY2(pack.status == 0, qPrintable(pack.out));
        const QStringList debs = QDir(out.path()).entryList({"*.deb"});
        QCOMPARE(debs.size(), 1);
        const QString deb = out.filePath(debs.first());
        const Run contents = run(tool("dpkg-deb"), {"--contents", deb});
        QVERIFY(contents.out.contains("./usr/bin/edgemarks-cli"));
        QVERIFY(contents.out.contains("./usr/share/applications/" + Id + ".desktop"));
        const Run fields = run(tool("dpkg-deb"), {"--field", deb, "Depends"});
        QVERIFY2(fields.out.contains("libqt6widgets6"), qPrintable(fields.out));
        // lintian as root refuses nothing it needs; errors fail, warnings are shown.
        const Run lint =
            run(tool("lintian"), {"--fail-on", "error", "--tag-display-limit", "0", deb}, 900000);
        QVERIFY2(lint.status == 0, qPrintable(lint.out));
        if (!lint.out.trimmed().isEmpty())
            qInfo("%s", qPrintable(lint.out));
    }
};

QTEST_GUILESS_MAIN(TestPackaging)
#include "tst_packaging.moc"
