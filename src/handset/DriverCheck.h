#pragma once

#include <QString>

// Whether this host can serve the handset: the kernel's cdc_acm driver is
// loaded, built into the running kernel, or installed as a module for it; or a
// driver bundle of an accepted version.
namespace DriverCheck
{

enum class CdcAcm { Loaded, BuiltIn, Installed, Missing };

// The driver check. bundle is the driver bundle the program's settings name
// (LinkSettings::driverBundle), empty for none. On Linux without a bundle: the
// kernel's cdc_acm driver is there (loaded, built in or installed for the
// running kernel). Elsewhere, and whenever a bundle is named: the bundle's
// CFBundleShortVersionString is 1.2 or later.
bool exists(const QString& bundle);
QString humanReadableName(const QString& bundle);
// What to do when the driver is missing: the alert's informative text, which
// ends by saying that the program quits, or the advice alone.
QString instructions(const QString& bundle, bool programQuits = true);
// That the driver is missing and what to do, for a command that needs it.
QString missingText(const QString& bundle);
// The version rule alone, for a version text.
bool isAcceptedVersion(const QString& version);
inline constexpr const char* DefaultBundle = "/System/Library/Extensions/AHK3001VDriver.kext";
// Whether a driver bundle is checked instead of the kernel's driver.
bool usesBundle(const QString& bundle);

// sysRoot is where sysfs is mounted; modulesDir holds the running kernel's
// modules (empty: /lib/modules/<release> of the running kernel).
CdcAcm cdcAcm(const QString& sysRoot = QStringLiteral("/sys"), const QString& modulesDir = QString());
QString runningKernelModulesDir();

} // namespace DriverCheck
