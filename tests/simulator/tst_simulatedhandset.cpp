#include "SimulatorFixture.h"
#include "VedORovav.h"

#include <QProcess>
#include <QTest>

#include <csignal>

namespace {
// One exchange at the frame level: the reply's payload.
QByteArray exchange(VedORovav& link, int command, int sub, const QByteArray& parameter, int* echo = nullptr)
{
    link.sendCommand(command, sub, parameter.constData(), int(parameter.size()));
    char buffer[4096];
    const int total = link.receiveData(buffer, 4096, true);
    if (echo)
        *echo = (uchar(buffer[3]) << 16) | (uchar(buffer[9]) << 8) | uchar(buffer[11]);
    return QByteArray(buffer + 12, std::min(total, 4096) - 12);
}

QByteArray receive(VedORovav& link, int* echo = nullptr)
{
    char buffer[4096];
    const int total = link.receiveData(buffer, 4096, true);
    if (echo)
        *echo = (uchar(buffer[3]) << 16) | (uchar(buffer[9]) << 8) | uchar(buffer[11]);
    return QByteArray(buffer + 12, std::min(total, 4096) - 12);
}

QByteArray entry(const QByteArray& name, const QByteArray& location, const char* number, const char* folder)
{
    QByteArray e("\x1C");
    auto field = [&e](char type, const QByteArray& data) {
        e.append('\x1E').append(type).append('\x02');
        const quint32 n = quint32(data.size());
        e.append(char(n)).append(char(n >> 8)).append(char(n >> 16)).append(char(n >> 24));
        e.append(data);
    };
    field(1, name);
    field(2, location);
    field(3, number);
    field(4, folder);
    return e;
}
} // namespace

class TestSimulatedHandset : public QObject {
    Q_OBJECT
private slots:
    void init() { qputenv("EDGEMARKS_TIMEOUT", "5"); }

    void bookmarkExchanges()
    {
        SimulatorFixture sim;
        sim->setBookmarks({{QStringLiteral("天気"), "http://w/", 7, 2}, {"b", "l", 10, 19}});
        VedORovav link;
        link.open();
        QVERIFY(link.loginWithPassword("1234"));
        QCOMPARE(exchange(link, 2, 0x801, ""), QByteArray("2"));
        // Entries come one by one: the first at once, the next after an acknowledgement.
        link.sendCommand(3, 0x802, "");
        int echo = 0;
        QCOMPARE(receive(link, &echo), entry("\x93\x56\x8b\x43", "http://w/", "07", "02"));
        QCOMPARE(echo, 0x030802);
        link.sendCommand(0x10, 0x910, "0");
        QCOMPARE(receive(link), entry("b", "l", "10", "19"));
        link.sendCommand(0x10, 0x910, "0");

        // Upload: opening exchanges replace the list, entries are stored, "0" each.
        QCOMPARE(exchange(link, 3, 0x804, "13"), QByteArray("0"));
        QCOMPARE(exchange(link, 3, 0x805, ""), QByteArray("0"));
        QCOMPARE(exchange(link, 3, 0x803, entry("abc", "a/", "07", "02")), QByteArray("0"));
        QCOMPARE(exchange(link, 3, 0x806, ""), QByteArray("0"));
        const auto stored = sim->bookmarks();
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored[0].name, QString("abc"));
        QCOMPARE(stored[0].location, QString("a/"));
        QCOMPARE(stored[0].number, 7);
        QCOMPARE(stored[0].folder, 2);
    }

    void fileExchanges()
    {
        SimulatorFixture sim;
        sim->loadSampleContent();
        VedORovav link;
        link.open();
        QVERIFY(link.loginWithPassword("1234"));
        QCOMPARE(exchange(link, 2, 0x601, ""), QByteArray("2"));
        link.sendCommand(3, 0x607, "");
        int echo = 0;
        QCOMPARE(receive(link, &echo), QByteArray("memo.txt\tother\t21\t2005/06/07/08/09"));
        QCOMPARE(echo, 0x030607);
        link.sendCommand(0x10, 0x910, "0");
        QVERIFY(receive(link).startsWith("Photo.JPG\tjpeg\t3000\t"));
        link.sendCommand(0x10, 0x910, "0");

        QCOMPARE(exchange(link, 3, 0x602, QByteArray("memo.txt\tother\t\0", 16)),
                 QByteArray("memo.txt\tother\tCall back at 18:00.\r\n"));
        QCOMPARE(exchange(link, 3, 0x602, QByteArray("memo.txt\tjpeg\t\0", 15)), QByteArray("NG"));

        // An upload frame gets no reply; the file is there afterwards.
        const QByteArray upload = QByteArray("new.bin\tother\t") + QByteArray(5000, '\x07');
        link.sendCommand(3, 0x603, nullptr, int(upload.size()));
        link.sendRawData(upload.constData(), int(upload.size()));
        QCOMPARE(exchange(link, 2, 0x601, ""), QByteArray("3"));
        const auto files = sim->files();
        QCOMPARE(files.last().name, QString("new.bin"));
        QCOMPARE(files.last().content, QByteArray(5000, '\x07'));
    }

    void faultsOnEntries()
    {
        SimulatorFixture sim;
        sim->setBookmarks({{"a", "b", 1, 1}});
        SimulatedHandset::Faults faults;
        faults.wrongEcho = 0x802;
        faults.refuseEntries = true;
        sim->setFaults(faults);
        VedORovav link;
        link.open();
        QVERIFY(link.loginWithPassword("1234"));
        link.sendCommand(3, 0x802, "");
        int echo = 0;
        receive(link, &echo);
        QCOMPARE(echo, 0x030803);
        QCOMPARE(exchange(link, 3, 0x803, entry("abc", "a/", "07", "02")), QByteArray("1"));
        QCOMPARE(sim->bookmarks().size(), 1);
    }

    void executableServesAndCleansUp()
    {
        QTemporaryDir dir;
        const QString device = dir.filePath("dev/cu.ah-k3001v.data");
        const QString bundle = dir.filePath("Driver.kext");
        const QString saved = dir.filePath("saved.bookmarks");
        QProcess sim;
        sim.start(QStringLiteral(EDGEMARKS_SIM), {"--device", device, "--driver-bundle", bundle, "--sample",
                                                  "--print-env", "--save-bookmarks", saved});
        QVERIFY(sim.waitForReadyRead(5000));
        QByteArray env = sim.readAllStandardOutput();
        while (!env.contains("EDGEMARKS_DRIVER_BUNDLE") && sim.waitForReadyRead(2000))
            env += sim.readAllStandardOutput();
        QVERIFY(env.contains("EDGEMARKS_DEVICE=" + device.toUtf8()));
        QVERIFY(env.contains("EDGEMARKS_DRIVER_BUNDLE=" + bundle.toUtf8()));

        qputenv("EDGEMARKS_DEVICE", device.toUtf8());
        qputenv("EDGEMARKS_DRIVER_BUNDLE", bundle.toUtf8());
        QVERIFY(VedORovav::existsDriver());
        {
            VedORovav link;
            link.open();
            QVERIFY(link.loginWithPassword("1234"));
            QCOMPARE(exchange(link, 2, 0x801, ""), QByteArray("6"));
        }
        ::kill(pid_t(sim.processId()), SIGTERM);
        QVERIFY(sim.waitForFinished(5000));
        QCOMPARE(sim.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(device) && !QFileInfo(device).isSymLink());
        QVERIFY(!QFileInfo::exists(bundle));
        QVERIFY(QFileInfo::exists(saved));
    }
};

QTEST_GUILESS_MAIN(TestSimulatedHandset)
#include "tst_simulatedhandset.moc"
