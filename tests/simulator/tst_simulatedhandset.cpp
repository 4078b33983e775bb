#include "handset/DriverCheck.h"
#include "support/SimulatorFixture.h"
#include "handset/VedORovav.h"

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

    // Every exchange is answered in the transfer tests, which assert the frames the
    // handset received; here: what only the simulator itself shows.

    // The sample pictures come from the program's resources: a missing one would
    // leave an empty file on the simulated handset.
    void samplePicturesAreReal()
    {
        for (const SimulatedHandset::File& file : SimulatedHandset::sampleFiles())
            QVERIFY(!file.content.isEmpty() && file.content.startsWith(file.type == "jpeg"  ? "\xFF\xD8\xFF"
                                                                       : file.type == "png" ? "\x89PNG"
                                                                                            : ""));
    }

    void faultsOnEntries()
    {
        SimulatorFixture sim;
        sim->setBookmarks({{"a", "b", 1, 1}});
        SimulatedHandset::Faults faults;
        faults.wrongEcho = 0x802;
        faults.refuseEntries = true;
        sim->setFaults(faults);
        VedORovav link{testLink()};
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
        QVERIFY(DriverCheck::exists(bundle));
        {
            VedORovav link{testLink()};
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

    // A password of the user's own is not printed unless asked for.
    void thePasswordStaysOffTheScreen()
    {
        QTemporaryDir dir;
        for (bool show : {false, true}) {
            QProcess sim;
            QStringList arguments{"--device", dir.filePath(show ? "b" : "a"), "--password", "s3cr"};
            if (show)
                arguments << "--show-password";
            sim.start(QStringLiteral(EDGEMARKS_SIM), arguments);
            QVERIFY(sim.waitForReadyRead(5000));
            QByteArray out = sim.readAllStandardOutput();
            while (!out.contains("Ctrl-C") && sim.waitForReadyRead(2000))
                out += sim.readAllStandardOutput();
            QCOMPARE(out.contains("s3cr"), show);
            ::kill(pid_t(sim.processId()), SIGTERM);
            QVERIFY(sim.waitForFinished(5000));
        }
    }
};

QTEST_GUILESS_MAIN(TestSimulatedHandset)
#include "tst_simulatedhandset.moc"
