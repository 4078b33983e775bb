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

#include "handset/ProgressProtocol.h"

#include <QElapsedTimer>

#include <algorithm>
#include <utility>
#include <vector>

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The middle half of the values: from the first quartile to the third.
inline std::pair<double, double> middleHalf(std::vector<double> v)
{
    if (v.empty())
        return {0, 0};
    std::sort(v.begin(), v.end());
    return {v[v.size() / 4], v[(v.size() * 3) / 4]};
}

inline std::pair<double, double> spread(const std::vector<double>& v)
{
    const auto [low, high] = std::minmax_element(v.begin(), v.end());
    return {*low, *high};
}

// Progress that notes when the data began and stopped moving: the time between
// the first and the last step is the transfer of the content alone.
class TimingProgress : public ProgressProtocol
{
public:
    void openProgressForWindow(QObject*, double, const QString&) override
    {
        m_clock.start();
        m_steps = 0;
    }
    void updateProgressDoubleValue(double value) override
    {
        const qint64 now = m_clock.nsecsElapsed();
        if (m_steps++ == 0) {
            m_first = now;
            m_firstValue = value;
        }
        m_last = now;
        m_lastValue = value;
    }
    void notifyException(const VedORovavException&) override {}
    void closeProgress() override {}
    // Milliseconds between the first and the last step, and the share of the
    // content (0 to 1) that moved in between.
    double dataMs() const { return double(m_last - m_first) / 1e6; }
    double dataShare() const { return m_lastValue - m_firstValue; }

private:
    QElapsedTimer m_clock;
    qint64 m_steps = 0, m_first = 0, m_last = 0;
    double m_firstValue = 0, m_lastValue = 0;
};
