#pragma once

#include <QString>

// Whether the kernel can serve the handset: its cdc_acm driver is loaded, built
// into the running kernel, or installed as a module for it.
namespace DriverCheck
{

enum class CdcAcm { Loaded, BuiltIn, Installed, Missing };

// sysRoot is where sysfs is mounted; modulesDir holds the running kernel's
// modules (empty: /lib/modules/<release> of the running kernel).
CdcAcm cdcAcm(const QString& sysRoot = QStringLiteral("/sys"), const QString& modulesDir = QString());
QString runningKernelModulesDir();

} // namespace DriverCheck
