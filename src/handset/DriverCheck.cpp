#include "handset/DriverCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/utsname.h>

namespace
{
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
