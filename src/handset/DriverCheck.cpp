#include "handset/DriverCheck.h"

#include "document/PropertyList.h"

#include <QCoreApplication>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/utsname.h>

namespace
{
// The leading integer of a version component, read as atoi reads it.
int leadingInteger(const QString& component)
{
    const QByteArray bytes = component.toUtf8();
    return std::atoi(bytes.constData());
}

// Module index files name one module a line, by its path in the modules folder,
// perhaps compressed; modules.dep follows the name with ":" and its dependencies.
bool listsCdcAcm(const QString& path)
{
    QFile file(path);
    // The indexes are a few hundred kilobytes; anything far larger is not one.
    if (!QFileInfo(path).isFile() || QFileInfo(path).size() > (64 << 20) || !file.open(QIODevice::ReadOnly))
        return false;
    static const QRegularExpression name(QStringLiteral("(^|/)cdc-acm\\.ko(\\.[a-z]+)?$"));
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(4096);
        const qsizetype colon = line.indexOf(':');
        const QByteArray module = (colon < 0 ? line : line.left(colon)).trimmed();
        if (module.contains("cdc-acm") && name.match(QString::fromLatin1(module)).hasMatch())
            return true;
    }
    return false;
}
} // namespace

QString DriverCheck::runningKernelModulesDir()
{
    struct utsname names;
    if (uname(&names) != 0)
        return QString();
    return QStringLiteral("/lib/modules/") + QString::fromLocal8Bit(names.release);
}

DriverCheck::CdcAcm DriverCheck::cdcAcm(const QString& sysRoot, const QString& modulesDir)
{
    // A registered driver shows in sysfs, whether it was loaded or is built in.
    if (QFileInfo::exists(sysRoot + QStringLiteral("/bus/usb/drivers/cdc_acm")) ||
        QFileInfo::exists(sysRoot + QStringLiteral("/module/cdc_acm")))
        return CdcAcm::Loaded;
    const QString modules = modulesDir.isEmpty() ? runningKernelModulesDir() : modulesDir;
    if (modules.isEmpty())
        return CdcAcm::Missing;
    if (listsCdcAcm(modules + QStringLiteral("/modules.builtin")))
        return CdcAcm::BuiltIn;
    if (listsCdcAcm(modules + QStringLiteral("/modules.dep")))
        return CdcAcm::Installed;
    return CdcAcm::Missing;
}

bool DriverCheck::usesBundle(const QString& bundle)
{
#ifdef Q_OS_LINUX
    return !bundle.isEmpty();
#else
    Q_UNUSED(bundle);
    return true;
#endif
}

bool DriverCheck::isAcceptedVersion(const QString& version)
{
    const QStringList components = version.split(QLatin1Char('.'));
    if (components.size() < 2)
        return false;
    const int major = leadingInteger(components[0]);
    const int minor = leadingInteger(components[1]);
    return major > 1 || (major == 1 && minor > 1);
}

bool DriverCheck::exists(const QString& bundle)
{
    if (!usesBundle(bundle))
        return DriverCheck::cdcAcm() != DriverCheck::CdcAcm::Missing;
    const QString path = bundle.isEmpty() ? QString::fromLatin1(DefaultBundle) : bundle;
    QFile info(path + QStringLiteral("/Contents/Info.plist"));
    if (!info.open(QIODevice::ReadOnly) || info.size() > (1 << 20))
        return false;
    QString version;
    try {
        const PropertyList plist = PropertyList::fromData(info.readAll());
        if (plist.type(plist.root()) == PropertyList::Type::Dictionary) {
            const PropertyList::Ref v = plist.find(plist.root(), u"CFBundleShortVersionString");
            if (v >= 0 && plist.type(v) == PropertyList::Type::String)
                version = plist.string(v);
        }
    } catch (const PropertyListError&) {
        return false;
    }
    return !version.isNull() && isAcceptedVersion(version);
}

QString DriverCheck::humanReadableName(const QString& bundle)
{
    if (!usesBundle(bundle))
        return QCoreApplication::translate("DriverCheck", "USB modem driver of the Linux kernel (cdc_acm)");
    return QCoreApplication::translate("DriverCheck", "AH-K3001V USB Driver %1.%2").arg(1).arg(2);
}

QString DriverCheck::missingText(const QString& bundle)
{
    return QCoreApplication::translate("DriverCheck",
                                       "The %1 wasn't found; the AIR-EDGE PHONE cannot be used without it.")
               .arg(humanReadableName(bundle)) +
           QLatin1Char('\n') + instructions(bundle, false);
}

QString DriverCheck::instructions(const QString& bundle, bool programQuits)
{
    if (!usesBundle(bundle)) {
        const QString modules = DriverCheck::runningKernelModulesDir();
        const QString advice =
            QCoreApplication::translate(
                "DriverCheck",
                "The running kernel has no cdc_acm module (looked for in /sys and %1). Install the modules "
                "of the running kernel (on Debian, its linux-image package) and load the driver with "
                "\"sudo modprobe cdc_acm\".")
                .arg(modules);
        return programQuits ? QCoreApplication::translate("DriverCheck", "%1 The application will now quit.")
                                  .arg(advice)
                            : advice;
    }
    if (!programQuits)
        return QCoreApplication::translate("DriverCheck", "You need to install the %1 or later.")
            .arg(humanReadableName(bundle));
    return QCoreApplication::translate("DriverCheck",
                                       "You need to install the %1 or later. The application will be quited.")
        .arg(humanReadableName(bundle));
}
