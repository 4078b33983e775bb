#pragma once

#include "support/SimulatorFixture.h"
#include "handset/VedORovavException.h"

#include <functional>

// Frames every conversation with the simulated handset (password 1234) begins and ends with.
inline const QByteArray Probe = frameBytes("E1 01 00 00 05 00 00 00 00 01 00 01 31");
inline const QByteArray Password = frameBytes("E1 01 00 01 08 00 00 00 00 02 00 01 31 32 33 34");
inline const QByteArray Logout = frameBytes("E1 01 00 FF 04 00 00 00 00 01 00 02");
inline const QByteArray Ack = frameBytes("E1 01 00 10 05 00 00 00 00 09 00 10 30");

// The VedORovavException that f raises, or one without a reason.
inline VedORovavException failureOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const VedORovavException& e) {
        return e;
    }
    return VedORovavException("");
}

// The reason of the VedORovavException that f raises, or a null string.
inline QString reasonOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const VedORovavException& e) {
        return e.reason();
    }
    return QString();
}
