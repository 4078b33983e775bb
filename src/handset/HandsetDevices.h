#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class QSocketNotifier;
struct udev;
struct udev_monitor;

// A serial port on the USB bus that the handset may be on.
struct HandsetPort {
    QString path;            // the device node, /dev/ttyACM0
    QString stableLink;      // our udev rule's link, else a /dev/serial/by-id/ link
    QString usbId;           // vendor:product, "0482:0203"
    QString product;         // the product name the device gives
    QString driver;          // the kernel driver of its interface, "cdc_acm"
    bool handset = false;    // an AH-K3001V
    bool accessible = false; // this user may open it for reading and writing

    // The name to open and to remember: the stable link when there is one.
    QString preferredPath() const { return stableLink.isEmpty() ? path : stableLink; }
};

Q_DECLARE_METATYPE(HandsetPort)

// Finding the handset through the system's device database (udev). The handset
// is the tty whose USB device has the ID 0482:0203; the device that the link
// opens is, in this order: the one the program's settings give (chosen in the
// editor, --device, EDGEMARKS_DEVICE), the link made by our udev rule, the
// first handset found.
class HandsetDevices
{
public:
    static constexpr const char* VendorId = "0482";
    static constexpr const char* ProductId = "0203";
    static constexpr const char* RuleLink = "/dev/ah-k3001v";

    enum class Source { Given, RuleLink, Discovered, None };
    struct Choice {
        QString path; // empty with Source::None
        Source source = Source::None;
    };

    // Every tty on the USB bus, handsets first.
    static QList<HandsetPort> candidates();
    // The first handset, the one with our rule's link before others.
    static std::optional<HandsetPort> findHandset();
    // The device given, else the one found. Without discover, a handset found
    // only by asking udev is not looked for.
    static Choice chosenDevice(const QString& given, bool discover = true);
};

// Tells when a USB serial port comes or goes, from udev's events, without polling.
class HandsetMonitor : public QObject
{
    Q_OBJECT
public:
    explicit HandsetMonitor(QObject* parent = nullptr);
    ~HandsetMonitor() override;
    bool isActive() const { return m_monitor != nullptr; }

signals:
    void portAdded(const HandsetPort& port);
    void portRemoved(const QString& path);

private:
    void receive();

    struct udev* m_udev = nullptr;
    struct udev_monitor* m_monitor = nullptr;
    QSocketNotifier* m_notifier = nullptr;
};
