#include "handset/HandsetDevices.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <libudev.h>
#include <unistd.h>

namespace
{
QString text(const char* s)
{
    return s ? QString::fromUtf8(s) : QString();
}

// What udev knows of one tty, when it sits on a USB device.
std::optional<HandsetPort> portOf(struct udev_device* tty)
{
    const char* node = udev_device_get_devnode(tty);
    struct udev_device* usb = udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_device");
    if (!node || !usb)
        return std::nullopt;
    HandsetPort port;
    port.path = text(node);
    const QString vendor = text(udev_device_get_sysattr_value(usb, "idVendor")).toLower();
    const QString product = text(udev_device_get_sysattr_value(usb, "idProduct")).toLower();
    port.usbId = vendor + QLatin1Char(':') + product;
    port.handset = vendor == QLatin1String(HandsetDevices::VendorId) &&
                   product == QLatin1String(HandsetDevices::ProductId);
    port.product = text(udev_device_get_sysattr_value(usb, "product")).trimmed();
    if (port.product.isEmpty())
        port.product =
            text(udev_device_get_property_value(tty, "ID_MODEL")).replace(QLatin1Char('_'), QLatin1Char(' '));
    if (struct udev_device* iface =
            udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_interface"))
        port.driver = udev_device_get_driver(iface) ? text(udev_device_get_driver(iface))
                                                    : text(udev_device_get_property_value(iface, "DRIVER"));

    QStringList links;
    struct udev_list_entry* link;
    udev_list_entry_foreach(link, udev_device_get_devlinks_list_entry(tty)) links
        << text(udev_list_entry_get_name(link));
    // Without udev's database only the uevent's properties are there.
    if (links.isEmpty())
        links =
            text(udev_device_get_property_value(tty, "DEVLINKS")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString byId;
    for (const QString& name : std::as_const(links)) {
        if (name == QLatin1String(HandsetDevices::RuleLink))
            port.stableLink = name;
        else if (name.startsWith(QLatin1String("/dev/serial/by-id/")) && byId.isEmpty())
            byId = name;
    }
    if (port.stableLink.isEmpty())
        port.stableLink = byId;
    port.accessible = ::access(node, R_OK | W_OK) == 0;
    return port;
}
} // namespace

QList<HandsetPort> HandsetDevices::candidates()
{
    QList<HandsetPort> handsets, others;
    struct udev* u = udev_new();
    if (!u)
        return {};
    struct udev_enumerate* e = udev_enumerate_new(u);
    if (e) {
        udev_enumerate_add_match_subsystem(e, "tty");
        udev_enumerate_scan_devices(e);
        struct udev_list_entry* entry;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e))
        {
            struct udev_device* tty = udev_device_new_from_syspath(u, udev_list_entry_get_name(entry));
            if (!tty)
                continue;
            if (std::optional<HandsetPort> port = portOf(tty))
                (port->handset ? handsets : others) << *port;
            udev_device_unref(tty);
        }
        udev_enumerate_unref(e);
    }
    udev_unref(u);
    auto byPath = [](const HandsetPort& a, const HandsetPort& b) { return a.path < b.path; };
    std::sort(handsets.begin(), handsets.end(), [](const HandsetPort& a, const HandsetPort& b) {
        // Ours first, then by name.
        const bool aRule = a.stableLink == QLatin1String(RuleLink),
                   bRule = b.stableLink == QLatin1String(RuleLink);
        return aRule != bRule ? aRule : a.path < b.path;
    });
    std::sort(others.begin(), others.end(), byPath);
    return handsets + others;
}

std::optional<HandsetPort> HandsetDevices::findHandset()
{
    for (const HandsetPort& port : candidates())
        if (port.handset)
            return port;
    return std::nullopt;
}

HandsetDevices::Choice HandsetDevices::chosenDevice(const QString& given, bool discover)
{
    if (!given.isEmpty())
        return {given, Source::Given};
    // The rule's link is there even when the udev database is not readable.
    if (QFileInfo(QLatin1String(RuleLink)).exists())
        return {QLatin1String(RuleLink), Source::RuleLink};
    if (!discover)
        return {};
    if (const std::optional<HandsetPort> port = findHandset())
        return {port->path, Source::Discovered};
    return {};
}

HandsetMonitor::HandsetMonitor(QObject* parent) : QObject(parent)
{
    m_udev = udev_new();
    if (!m_udev)
        return;
    m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor || udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "tty", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0) {
        if (m_monitor)
            udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
        return;
    }
    m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &HandsetMonitor::receive);
}

HandsetMonitor::~HandsetMonitor()
{
    delete m_notifier;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
}

void HandsetMonitor::receive()
{
    while (struct udev_device* device = udev_monitor_receive_device(m_monitor)) {
        const QString action = text(udev_device_get_action(device));
        if (action == QLatin1String("add")) {
            if (std::optional<HandsetPort> port = portOf(device))
                emit portAdded(*port);
        } else if (action == QLatin1String("remove")) {
            const QString node = text(udev_device_get_devnode(device));
            if (!node.isEmpty())
                emit portRemoved(node);
        }
        udev_device_unref(device);
    }
}
