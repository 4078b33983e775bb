#pragma once

#include <QByteArray>
#include <QString>

// A disk that fails on purpose, for the files of one folder: linked into a test
// program, it stands in for the system's write() and fsync(). While a WriteFault
// lives, a file in that folder takes `room` bytes (a write that reaches past them
// is cut short, the next one fails with `error`), and every fsync fails with EIO
// when syncFails is set. Files elsewhere are untouched.
struct WriteFault {
    WriteFault(const QString& folder, qint64 room, bool syncFails = false, int error = 28 /* ENOSPC */);
    ~WriteFault();
    WriteFault(const WriteFault&) = delete;
    WriteFault& operator=(const WriteFault&) = delete;
};

// The kinds of failure each writer is tried with: the disk full at the first
// write, in the middle, at the last byte, and a failing flush.
struct FaultCase {
    const char* name;
    double roomShare; // of the file's size; -1 for no limit
    bool syncFails;
};
inline constexpr FaultCase FaultCases[] = {
    {"first write", 0.0, false},
    {"middle write", 0.5, false},
    {"last byte", 1.0, false},
    {"flush", -1, true},
};
// The room for a file of size bytes in a case (the last byte: one short).
inline qint64 roomFor(const FaultCase& c, qint64 size)
{
    return c.roomShare < 0 ? -1 : c.roomShare >= 1 ? size - 1 : qint64(double(size) * c.roomShare);
}
