#pragma once

#include "handset/LinkSettings.h"
#include "simulator/SimulatedHandset.h"

#include <QTemporaryDir>

#include <memory>

// The simulated handset a program starts for a trial run (--simulator): sample
// content, password 1234, its device and a stand-in driver bundle in a
// temporary folder of its own, gone with it.
class BuiltInSimulator
{
public:
    // A started one, or nothing after saying why in error.
    static std::unique_ptr<BuiltInSimulator> start(QString* error = nullptr);

    SimulatedHandset& handset() { return m_handset; }
    QString devicePath() const { return m_handset.devicePath(); }
    // Points settings at this handset and its driver bundle.
    void pointAtIt(LinkSettings& settings) const;

private:
    BuiltInSimulator() = default;

    QTemporaryDir m_dir;
    SimulatedHandset m_handset;
    QString m_bundle;
};
