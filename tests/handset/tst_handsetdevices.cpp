// Finding the handset, the driver check and a whole import against a mocked
// device tree: umockdev makes libudev and /sys see the USB devices described
// here and turns /dev/ttyACM0 into a pseudo-terminal. Runs under umockdev-wrapper.
#include <umockdev.h> // before Qt: GLib's headers use the word "signals"

#include "handset/DriverCheck.h"
#include "support/FileTestSupport.h"
#include "handset/HandsetDevices.h"
#include "support/LinkTestSupport.h"
#include "handset/ProtocolLog.h"
#include "support/RecordingProgress.h"
#include "handset/VedORovav.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace
{
const char* UsbSysPath = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2";
const char* TtySysPath = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/tty/ttyACM0";

// A USB device with its cdc_acm interface and the tty under it.
// The handset sits on USB port 1-2, anything else on 1-3.
QByteArray usbSerialDevice(const char* vendor, const char* product, const char* name, const char* tty,
                           const char* major)
{
    const bool handset = QByteArray(vendor) == "0482";
    const QString port = handset ? QStringLiteral("1-2") : QStringLiteral("1-3");
    const QString links = handset ? QStringLiteral("/dev/serial/by-id/usb-%1-if01 /dev/ah-k3001v")
                                  : QStringLiteral("/dev/serial/by-id/usb-%1-if00");
    return QStringLiteral("P: /devices/pci0000:00/0000:00:14.0/usb1/%6\n"
                          "N: bus/usb/001/00%7\n"
                          "E: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
                          "A: idVendor=%1\nA: idProduct=%2\nA: product=%3\n\n"
                          "P: /devices/pci0000:00/0000:00:14.0/usb1/%6/%6:1.1\n"
                          "E: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nE: DRIVER=cdc_acm\n"
                          "L: driver=../../../../../../bus/usb/drivers/cdc_acm\n\n"
                          "P: /devices/pci0000:00/0000:00:14.0/usb1/%6/%6:1.1/tty/%4\n"
                          "N: %4\n"
                          "E: SUBSYSTEM=tty\nE: DEVNAME=/dev/%4\n"
                          "E: DEVLINKS=%8\n"
                          "A: dev=%5:0\n")
        .arg(QLatin1String(vendor), QLatin1String(product), QLatin1String(name), QLatin1String(tty),
             QLatin1String(major), port, handset ? QStringLiteral("5") : QStringLiteral("6"),
             links.arg(QString::fromLatin1(name).replace(QLatin1Char(' '), QLatin1Char('_'))))
        .toUtf8();
}

// Runs every ioctl on the pseudo-terminal itself: the exclusive claim and the
// terminal attributes behave as on a real port.
gboolean passThrough(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer)
{
    int error = 0;
    const int result = umockdev_ioctl_client_execute(client, &error, nullptr);
    umockdev_ioctl_client_complete(client, result, error);
    return TRUE;
}
} // namespace

class TestHandsetDevices : public QObject
{
    Q_OBJECT
    UMockdevTestbed* m_testbed = nullptr;

    void add(const QByteArray& record)
    {
        GError* error = nullptr;
        QVERIFY2(umockdev_testbed_add_from_string(m_testbed, record.constData(), &error),
                 error ? error->message : "");
    }
    // The handset at /dev/ttyACM0, served by a simulated handset.
    void addServedHandset(SimulatedHandset& handset)
    {
        add(usbSerialDevice("0482", "0203", "AH-K3001V", "ttyACM0", "166"));
        UMockdevIoctlBase* handler = umockdev_ioctl_base_new();
        g_signal_connect(handler, "handle-ioctl", G_CALLBACK(passThrough), nullptr);
        GError* error = nullptr;
        QVERIFY(umockdev_testbed_attach_ioctl(m_testbed, "/dev/ttyACM0", handler, &error));
        g_object_unref(handler);
        QString why;
        QVERIFY2(handset.startOnMaster(umockdev_testbed_get_dev_fd(m_testbed, "/dev/ttyACM0"), &why),
                 qPrintable(why));
    }
    static QString sysDir() { return qEnvironmentVariable("UMOCKDEV_DIR") + QStringLiteral("/sys"); }

private slots:
    void initTestCase()
    {
        if (!qEnvironmentVariable("LD_PRELOAD").contains(QLatin1String("umockdev")))
            QSKIP("needs umockdev-wrapper");
        qputenv("EDGEMARKS_TIMEOUT", "5");
    }

    void init()
    {
        qunsetenv("EDGEMARKS_DEVICE");
        qunsetenv("EDGEMARKS_DRIVER_BUNDLE");
        m_testbed = umockdev_testbed_new();
    }

    void cleanup() { g_clear_object(&m_testbed); }

    void theHandsetIsFoundByItsUsbId()
    {
        // The machine's own serial port, on no USB device, is no candidate.
        add("P: /devices/platform/serial8250/tty/ttyS0\nN: ttyS0\nE: SUBSYSTEM=tty\nE: DEVNAME=/dev/ttyS0\nA: dev=4:64\n");
        add(usbSerialDevice("0403", "6001", "FT232R USB UART", "ttyUSB0", "188"));
        QVERIFY(HandsetDevices::candidates().first().path == QLatin1String("/dev/ttyUSB0"));
        QVERIFY(!HandsetDevices::findHandset());
        QCOMPARE(HandsetDevices::chosenDevice(QString()).source, HandsetDevices::Source::None);

        add(usbSerialDevice("0482", "0203", "AH-K3001V", "ttyACM0", "166"));
        const QList<HandsetPort> ports = HandsetDevices::candidates();
        QCOMPARE(ports.size(), 2);
        const HandsetPort& handset = ports.first(); // handsets come first
        QCOMPARE(handset.path, QString("/dev/ttyACM0"));
        QVERIFY(handset.handset);
        QCOMPARE(handset.usbId, QString("0482:0203"));
        QCOMPARE(handset.product, QString("AH-K3001V"));
        QCOMPARE(handset.driver, QString("cdc_acm"));
        QCOMPARE(handset.stableLink, QString("/dev/ah-k3001v")); // our rule's link before by-id
        QVERIFY(!ports.last().handset);
        QCOMPARE(ports.last().usbId, QString("0403:6001"));

        // Discovered unless the program's settings name a device.
        QCOMPARE(HandsetDevices::chosenDevice(QString()).source, HandsetDevices::Source::Discovered);
        QCOMPARE(HandsetDevices::chosenDevice("/dev/ttyUSB0").path, QString("/dev/ttyUSB0"));
        QCOMPARE(HandsetDevices::chosenDevice("/dev/ttyUSB0").source, HandsetDevices::Source::Given);
    }

    void withoutAHandsetOpenSaysSo()
    {
        add(usbSerialDevice("0403", "6001", "FT232R USB UART", "ttyUSB0", "188"));
        const VedORovavException e = failureOf([] { VedORovav(testLink()).open(); });
        QCOMPARE(e.reason(), QString(LinkTexts::NotConnected));
        QVERIFY2(e.details().startsWith("No AH-K3001V (USB ID 0482:0203) was found."), qPrintable(e.details()));
    }

    void aPortTheUserMayNotOpen()
    {
        SimulatedHandset handset;
        addServedHandset(handset);
        // The pseudo-terminal behind the mocked node belongs to whoever runs the test.
        char target[256] = {};
        QVERIFY(::readlink((qEnvironmentVariable("UMOCKDEV_DIR") + "/dev/ttyACM0").toLocal8Bit().constData(),
                           target, sizeof target - 1) > 0);
        QVERIFY(::chmod(target, 0) == 0);
        if (geteuid() == 0)
            QSKIP("root may open any port; the unprivileged run checks this");
        QVERIFY(!HandsetDevices::findHandset()->accessible);
        const VedORovavException e = failureOf([] { VedORovav(testLink()).open(); });
        QCOMPARE(e.reason(), QString(LinkTexts::CouldNotOpen));
        QVERIFY2(e.details().startsWith("/dev/ttyACM0: Permission denied. ") && e.details().contains("udev rule") &&
                     e.details().contains("dialout"),
                 qPrintable(e.details()));
    }

    void driverCheck_data()
    {
        QTest::addColumn<QString>("sysEntry");
        QTest::addColumn<QString>("indexFile");
        QTest::addColumn<QByteArray>("indexLine");
        QTest::addColumn<int>("expected");
        const int missing = int(DriverCheck::CdcAcm::Missing), loaded = int(DriverCheck::CdcAcm::Loaded);
        QTest::newRow("nothing") << "" << "" << QByteArray() << missing;
        QTest::newRow("loaded") << "bus/usb/drivers/cdc_acm" << "" << QByteArray() << loaded;
        QTest::newRow("module loaded") << "module/cdc_acm" << "" << QByteArray() << loaded;
        QTest::newRow("built in") << "" << "modules.builtin" << QByteArray("kernel/drivers/usb/class/cdc-acm.ko")
                                  << int(DriverCheck::CdcAcm::BuiltIn);
        QTest::newRow("installed, compressed")
            << "" << "modules.dep"
            << QByteArray("kernel/drivers/usb/class/cdc-acm.ko.xz: kernel/drivers/usb/core/usbcore.ko.xz")
            << int(DriverCheck::CdcAcm::Installed);
        QTest::newRow("another module only")
            << "" << "modules.dep" << QByteArray("kernel/drivers/usb/class/cdc-acm-extra.ko: x.ko") << missing;
        QTest::newRow("named as a dependency only")
            << "" << "modules.dep" << QByteArray("kernel/drivers/net/usb/cdc_ncm.ko: kernel/cdc-acm.ko") << missing;
    }

    void driverCheck()
    {
        QFETCH(QString, sysEntry);
        QFETCH(QString, indexFile);
        QFETCH(QByteArray, indexLine);
        QFETCH(int, expected);
        if (!sysEntry.isEmpty())
            QVERIFY(QDir().mkpath(sysDir() + QLatin1Char('/') + sysEntry));
        QTemporaryDir modules;
        if (!indexFile.isEmpty()) {
            QVERIFY(writeFile(modules.filePath(indexFile),
                              "kernel/drivers/usb/serial/usbserial.ko:\n" + indexLine + "\n"));
        }
        // /sys is the mocked one.
        QCOMPARE(int(DriverCheck::cdcAcm(QStringLiteral("/sys"), modules.path())), expected);
    }

    void existsDriverOnLinux()
    {
        if (DriverCheck::cdcAcm(QStringLiteral("/nonexistent"), DriverCheck::runningKernelModulesDir()) !=
            DriverCheck::CdcAcm::Missing)
            QSKIP("this machine has cdc_acm among the running kernel's modules");
        QVERIFY(!DriverCheck::exists(QString()));
        QVERIFY(DriverCheck::humanReadableName(QString()).contains("cdc_acm"));
        QVERIFY(DriverCheck::instructions(QString()).endsWith(
            "\"sudo modprobe cdc_acm\". The application will now quit."));
        QVERIFY(DriverCheck::instructions(QString(), false).endsWith("\"sudo modprobe cdc_acm\"."));
        QVERIFY(QDir().mkpath(sysDir() + QStringLiteral("/bus/usb/drivers/cdc_acm")));
        QVERIFY(DriverCheck::exists(QString()));
        // A bundle named in the settings is checked instead.
        QVERIFY(!DriverCheck::exists("/nonexistent.kext"));
        QCOMPARE(DriverCheck::humanReadableName("/nonexistent.kext"), QString("AH-K3001V USB Driver 1.2"));
    }

    void importsThroughTheMockedPort()
    {
        SimulatedHandset handset;
        handset.loadSampleContent();
        addServedHandset(handset);
        testLog()->clear();
        // Conversation after conversation: the port is released every time.
        for (int round = 0; round < 3; ++round) {
            BookmarkList list;
            RecordingProgress progress;
            try {
                QVERIFY(
                    VedORovav(testLink()).readBookmarks(list, SimulatedHandset::samplePassword(), progress));
            } catch (const VedORovavException& e) {
                QFAIL(qPrintable(e.reason() + " " + e.details() + "\n" + testLog()->toText()));
            }
            QCOMPARE(list.size(), 6);
            QCOMPARE(list.at(2)->bookmarkName(), QString("天気予報"));
        }
        const auto entries = testLog()->entries();
        QVERIFY(std::any_of(entries.begin(), entries.end(), [](const ProtocolLog::Entry& e) {
            return e.kind == ProtocolLog::Kind::Open && e.text == QLatin1String("/dev/ttyACM0");
        }));
        handset.stop();
    }

    void theMonitorSeesPlugAndUnplug()
    {
        HandsetMonitor monitor;
        QVERIFY(monitor.isActive());
        QSignalSpy added(&monitor, &HandsetMonitor::portAdded);
        QSignalSpy removed(&monitor, &HandsetMonitor::portRemoved);
        add(usbSerialDevice("0482", "0203", "AH-K3001V", "ttyACM0", "166"));
        umockdev_testbed_uevent(m_testbed, TtySysPath, "add");
        QVERIFY(added.wait(5000));
        const HandsetPort port = added.first().first().value<HandsetPort>();
        QCOMPARE(port.path, QString("/dev/ttyACM0"));
        QVERIFY(port.handset);
        umockdev_testbed_uevent(m_testbed, TtySysPath, "remove");
        QVERIFY(removed.wait(5000));
        QCOMPARE(removed.first().first().toString(), QString("/dev/ttyACM0"));
        // Events of other devices are not ours.
        umockdev_testbed_uevent(m_testbed, UsbSysPath, "add");
        QVERIFY(!added.wait(300));
    }

    void cliListsTheDevices()
    {
        const QString cli = qEnvironmentVariable("EDGEMARKS_CLI", QStringLiteral(EDGEMARKS_CLI));
        QProcess p;
        p.start(cli, {"devices"});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 1); // nothing found
        QVERIFY(p.readAllStandardError().contains("No AH-K3001V"));

        add(usbSerialDevice("0403", "6001", "FT232R USB UART", "ttyUSB0", "188"));
        add(usbSerialDevice("0482", "0203", "AH-K3001V", "ttyACM0", "166"));
        p.start(cli, {"devices", "--json"});
        QVERIFY(p.waitForFinished(10000));
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, p.readAllStandardError());
        const QJsonArray ports = QJsonDocument::fromJson(p.readAllStandardOutput()).array();
        QCOMPARE(ports.size(), 2);
        const QJsonObject first = ports.at(0).toObject();
        QCOMPARE(first.value("path").toString(), QString("/dev/ttyACM0"));
        QCOMPARE(first.value("link").toString(), QString("/dev/ah-k3001v"));
        QCOMPARE(first.value("usbId").toString(), QString("0482:0203"));
        QCOMPARE(first.value("product").toString(), QString("AH-K3001V"));
        QCOMPARE(first.value("handset").toBool(), true);
        QCOMPARE(first.value("selected").toBool(), true);
        QVERIFY(first.contains("accessible"));
        QCOMPARE(ports.at(1).toObject().value("selected").toBool(), false);

        // --device picks another port; the table marks it.
        p.start(cli, {"devices", "--device", "/dev/ttyUSB0"});
        QVERIFY(p.waitForFinished(10000));
        const QList<QByteArray> lines = p.readAllStandardOutput().split('\n');
        QVERIFY(std::any_of(lines.begin(), lines.end(),
                            [](const QByteArray& l) { return l.startsWith("* /dev/ttyUSB0"); }));
    }
};

QTEST_GUILESS_MAIN(TestHandsetDevices)
#include "tst_handsetdevices.moc"
