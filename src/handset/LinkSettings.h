#pragma once

#include <QString>

#include <memory>
#include <optional>

class ProtocolLog;

// Where and how the link reaches the handset. Each program builds this value
// once, at its edge, from its options, the environment and its saved settings,
// and hands it to every link it makes; nothing below reads the environment.
struct LinkSettings {
    static constexpr int DefaultTimeoutSeconds = 10;

    // The handset's serial device; empty: our udev rule's link, else the handset
    // found on the USB bus (HandsetDevices).
    QString device;
    // A USB driver bundle to check instead of the kernel's cdc_acm driver; empty: none.
    QString driverBundle;
    // The time limit of one reply in milliseconds, -1 for none; nothing when the
    // setting was not a number of seconds (timeoutSource says what it was).
    std::optional<int> replyTimeoutMs = DefaultTimeoutSeconds * 1000;
    QString timeoutSource;
    // A file-type table to use instead of the built-in one and the user's rows
    // (AirHFileType); empty: those.
    QString fileTypes;
    // Where the byte stream writes what was said on the link; none: nowhere.
    std::shared_ptr<ProtocolLog> log;

    // EDGEMARKS_DEVICE, EDGEMARKS_DRIVER_BUNDLE, EDGEMARKS_TIMEOUT (seconds;
    // 0 waits for ever) and EDGEMARKS_FILE_TYPES; no log.
    static LinkSettings fromEnvironment();
    // A time limit in seconds as a setting gives it: nothing when it is not one.
    static std::optional<int> timeoutFromSeconds(const QString& text);
};
