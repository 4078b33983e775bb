#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

// Starts edgemarks-sim in a process of its own at a device in dir, and points the
// link at it, so that the measuring process holds the link alone.
inline void startSimulator(QProcess& sim, const QTemporaryDir& dir)
{
    const QString device = dir.filePath("cu.ah-k3001v.data");
    sim.start(QCoreApplication::applicationDirPath() + "/../../src/simulator/edgemarks-sim",
              {"--device", device, "--print-env"});
    if (!sim.waitForReadyRead(5000))
        qFatal("edgemarks-sim did not start");
    qputenv("EDGEMARKS_DEVICE", QFile::encodeName(device));
}

// A raw pseudo-terminal pair for the baselines.
inline void openPtyPair(int& master, int& slave)
{
    master = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master);
    unlockpt(master);
    slave = ::open(ptsname(master), O_RDWR | O_NOCTTY);
    struct termios raw;
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
}
